// The lenient leading-number reading on arbitrary text: no crash or undefined behaviour,
// results inside their ranges, and text after the number never changes it.
#include "LeadingNumber.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = lumawrite::leadingNumber(text);
    if (std::isnan(value))
        std::abort();
    if (lumawrite::leadingNumber(text + QStringLiteral("z")) != value)
        std::abort();
    if (const auto n = lumawrite::roundToInt16(value)) {
        if (std::abs(double(*n) - value) > 0.5)
            std::abort();
    }
    if (const auto port = lumawrite::leadingNumberIn(text, 0, 32767)) {
        if (*port < 0)
            std::abort();
    }
    return 0;
}
