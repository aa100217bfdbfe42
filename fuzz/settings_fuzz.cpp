// The settings file reader on arbitrary bytes: no crash, and whatever it reads, the writer
// writes back so that it reads the same again.
#include "SettingsStore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto settings = lumawrite::decodeSettings(content);
    if (!settings)
        return 0;
    // An address typed by hand without quotes may hold a double quote; no file written by the
    // program can, so only such an address may not survive a save.
    if (settings->IpAddress.contains(QLatin1Char('"')))
        return 0;
    const auto again = lumawrite::decodeSettings(lumawrite::encodeSettings(*settings));
    if (!again || *again != *settings)
        std::abort();
    return 0;
}
