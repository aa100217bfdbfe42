// The virtual sign's parser fed a serial byte stream: no crash, no write outside the sign's
// memory, bounded buffering, and the same frames whichever way the bytes are split up.
#include "SignProtocol.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
std::vector<QByteArray> framesOf(const std::vector<vsign::Parsed> &results)
{
    std::vector<QByteArray> frames;
    for (const vsign::Parsed &p : results) {
        if (p.frame) {
            QByteArray key = vsign::kindName(p.frame->kind).toLatin1();
            key += char(p.frame->address);
            key += QByteArray::number(p.frame->memoryAddress) + p.frame->data;
            frames.push_back(key);
        }
    }
    return frames;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses how the rest is cut into pieces, as a slow line delivers it.
    const int piece = 1 + data[0] % 23;
    const QByteArray stream(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    vsign::StreamParser whole;
    std::vector<vsign::Parsed> all = whole.feed(stream);
    for (auto &p : whole.flush())
        all.push_back(p);

    vsign::StreamParser pieces;
    vsign::SignState sign(20);
    std::vector<vsign::Parsed> chunked;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        for (auto &p : pieces.feed(stream.mid(at, piece))) {
            if (p.frame)
                sign.apply(*p.frame);
            chunked.push_back(p);
        }
        if (pieces.buffered() > vsign::MaxFrameLength + piece)
            std::abort();
    }
    for (auto &p : pieces.flush())
        chunked.push_back(p);

    if (framesOf(all) != framesOf(chunked))
        std::abort();
    if (sign.memory().size() != vsign::MemorySize || sign.image().size() > vsign::MemorySize)
        std::abort();

    // The same bytes as one datagram.
    const vsign::Parsed datagram = vsign::parseFrame(stream);
    if (datagram.frame)
        sign.apply(*datagram.frame);
    return 0;
}
