// The picture reader on arbitrary bytes: no crash, and a picture it takes is at most 256
// columns wide.
#include "PictureFiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumawrite::signs::PictureRead read =
        lumawrite::signs::readPictureBytes(content, QStringLiteral("fuzz"));
    if (read.picture &&
        (read.picture->width() > lumawrite::render::MaxPictureColumns || read.picture->width() < 1))
        std::abort();
    return 0;
}
