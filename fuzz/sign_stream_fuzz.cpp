// The virtual sign's parser fed a serial byte stream: no crash, no write outside the sign's
// memory, bounded buffering, every byte reported once, the same frames whichever way the bytes
// are split up, and a valid frame after any noise is found.
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

// Feeds the stream in pieces and lets the line go quiet at the end.
std::vector<vsign::Parsed> parseInPieces(const QByteArray &stream, int piece)
{
    vsign::StreamParser parser;
    std::vector<vsign::Parsed> found;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        for (auto &p : parser.feed(stream.mid(at, piece)))
            found.push_back(p);
        if (parser.buffered() > vsign::MaxFrameLength + piece)
            std::abort();
    }
    for (auto &p : parser.flush())
        found.push_back(p);
    qsizetype reported = 0;
    for (const auto &p : found)
        reported += p.size;
    if (reported != stream.size())
        std::abort();
    return found;
}

// Valid frames for sign 20, written out by hand: a restart, a parameter record, a transmit port.
const QByteArray validFrames[] = {
    QByteArray("\xAA\xCC\x00\x08\x32\x30\x00\x20", 8),
    QByteArray("\xAA\xCC\x00\x10\x32\x30\x00\x10\x01\x00\x00\x04\x01\x80\x00\x0A", 16),
    QByteArray("\xAA\xCC\x00\x0A\x32\x30\x01\x20\x07\xD0", 10),
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses how the rest is cut into pieces, as a slow line delivers it.
    const int piece = 1 + data[0] % 23;
    const QByteArray stream(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const std::vector<vsign::Parsed> all = parseInPieces(stream, int(stream.size()) + 1);
    const std::vector<vsign::Parsed> chunked = parseInPieces(stream, piece);
    if (framesOf(all) != framesOf(chunked))
        std::abort();
    vsign::SignState sign(20);
    for (const auto &p : chunked)
        if (p.frame)
            sign.apply(*p.frame);
    if (sign.memory().size() != vsign::MemorySize || sign.image().size() > vsign::MemorySize)
        std::abort();

    // The same bytes as noise before a valid frame: the frame is found where it starts, unless
    // a frame that begins in the noise takes some of its bytes (then it was not noise).
    const QByteArray frame = validFrames[data[0] / 23 % 3];
    qsizetype at = 0;
    bool found = false;
    for (const auto &p : parseInPieces(stream + frame, piece)) {
        const bool overlaps = at < stream.size() && at + p.size > stream.size();
        found = found || (p.frame && (at == stream.size() || overlaps));
        at += p.size;
    }
    if (!found)
        std::abort();

    // The same bytes as one datagram.
    const vsign::Parsed datagram = vsign::parseFrame(stream);
    if (datagram.frame)
        sign.apply(*datagram.frame);
    return 0;
}
