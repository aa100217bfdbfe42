#include "SignProtocol.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using lumawrite::test::bytes;

using namespace vsign;

namespace {
const QByteArray Restart20 = bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20});
const QByteArray Parameters20 = bytes({0xAA, 0xCC, 0x00, 0x10, 0x32, 0x30, 0x00, 0x10, 0x01, 0x00,
                                       0x00, 0x04, 0x01, 0x80, 0x00, 0x0A});
} // namespace

TEST(SignProtocol, ParsesTheFourFrameKinds)
{
    auto p = parseFrame(Parameters20);
    ASSERT_TRUE(p.frame) << p.error.toStdString();
    EXPECT_EQ(p.frame->kind, Kind::MemoryWrite);
    EXPECT_EQ(p.frame->address, 20);
    EXPECT_EQ(p.frame->memoryAddress, 0x0100);
    EXPECT_EQ(p.frame->data, bytes({0x01, 0x80, 0x00, 0x0A}));

    p = parseFrame(Restart20);
    ASSERT_TRUE(p.frame);
    EXPECT_EQ(p.frame->kind, Kind::Restart);

    p = parseFrame(bytes({0xAA, 0xCC, 0x00, 0x0A, 0x30, 0x35, 0x01, 0x10, 0x30, 0x35}));
    ASSERT_TRUE(p.frame);
    EXPECT_EQ(p.frame->kind, Kind::SetSerialId);
    EXPECT_EQ(p.frame->newId, 5);

    p = parseFrame(bytes({0xAA, 0xCC, 0x00, 0x0A, 0x32, 0x30, 0x01, 0x20, 0x07, 0xD0}));
    ASSERT_TRUE(p.frame);
    EXPECT_EQ(p.frame->kind, Kind::SetTransmitPort);
    EXPECT_EQ(p.frame->port, 2000);

    // A set-serial-ID to 00 or 51, a restart with a tail, a write of nothing.
    for (const QByteArray &bad :
         {bytes({0xAA, 0xCC, 0x00, 0x0A, 0x30, 0x30, 0x01, 0x10, 0x30, 0x30}),
          bytes({0xAA, 0xCC, 0x00, 0x0A, 0x35, 0x31, 0x01, 0x10, 0x35, 0x31}),
          bytes({0xAA, 0xCC, 0x00, 0x09, 0x32, 0x30, 0x00, 0x20, 0x00}),
          bytes({0xAA, 0xCC, 0x00, 0x0C, 0x32, 0x30, 0x00, 0x10, 0x02, 0x00, 0x00, 0x00})}) {
        p = parseFrame(bad);
        EXPECT_FALSE(p.frame) << bad.toHex().toStdString();
        EXPECT_FALSE(p.error.isEmpty());
    }
}

TEST(SignProtocol, StreamFindsFramesInPiecesAndSkipsNoise)
{
    StreamParser stream;
    const QByteArray line = QByteArray("zz") + Restart20 + bytes({0xAA, 0xCC, 0x00, 0x03}) +
                            Parameters20 + QByteArray("\xAA");
    std::vector<Parsed> found;
    for (char c : line) // one byte at a time, as a slow line delivers them
        for (Parsed &p : stream.feed(QByteArray(1, c)))
            found.push_back(p);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_FALSE(found[0].frame); // "zz", reported once as one run
    EXPECT_EQ(found[0].size, 2);
    ASSERT_TRUE(found[1].frame);
    EXPECT_EQ(found[1].frame->kind, Kind::Restart);
    EXPECT_FALSE(found[2].frame); // length 3 cannot be a frame
    EXPECT_FALSE(found[3].frame); // what followed it, up to the next start bytes
    EXPECT_EQ(found[3].size, 2);
    ASSERT_TRUE(found[4].frame);
    EXPECT_EQ(found[4].frame->memoryAddress, 0x0100);
    EXPECT_EQ(stream.buffered(), 1); // a lone 0xAA may start the next frame
    const auto rest = stream.flush();
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_FALSE(rest[0].frame);
    EXPECT_EQ(stream.buffered(), 0);
}

// Line noise whose start bytes promise a frame that never comes: the frame after it is found
// (every byte reported once, the same whichever way the bytes arrive).
TEST(SignProtocol, FrameAfterAFalseStartIsFound)
{
    struct Case {
        QByteArray noise;
        int rejected; // bytes of the noise reported before the frames
        QString reason;
    };
    const Case cases[] = {
        // Length 1000, and the next bytes are no address: rejected as soon as they are seen.
        {bytes({0xAA, 0xCC, 0x03, 0xE8}), 4, QStringLiteral("address is not two ASCII digits")},
        // A memory write of 144 bytes cut short: found when the line goes quiet.
        {bytes({0xAA, 0xCC, 0x00, 0x90, 0x32, 0x30, 0x00, 0x10, 0x02, 0x00, 0x00, 0x84}), 12,
         QStringLiteral("truncated frame (12 bytes)")},
        // A set-serial-ID whose two ID bytes are the start bytes of the frame after it.
        {bytes({0xAA, 0xCC, 0x00, 0x0A, 0x32, 0x30, 0x01, 0x10}), 8,
         QStringLiteral("new serial ID is not two ASCII digits")},
    };
    for (const Case &c : cases) {
        for (const int piece : {1, 1000}) {
            SCOPED_TRACE(c.noise.toHex().toStdString() + " in pieces of " + std::to_string(piece));
            const QByteArray line = c.noise + Parameters20 + Restart20;
            StreamParser stream;
            std::vector<Parsed> found;
            for (int at = 0; at < line.size(); at += piece)
                for (Parsed &p : stream.feed(line.mid(at, piece)))
                    found.push_back(p);
            for (Parsed &p : stream.flush())
                found.push_back(p);
            ASSERT_EQ(found.size(), 3u);
            EXPECT_FALSE(found[0].frame);
            EXPECT_EQ(found[0].error, c.reason);
            EXPECT_EQ(found[0].size, c.rejected);
            ASSERT_TRUE(found[1].frame && found[2].frame);
            EXPECT_EQ(found[1].frame->data, bytes({0x01, 0x80, 0x00, 0x0A}));
            EXPECT_EQ(found[2].frame->kind, Kind::Restart);
        }
    }
}

TEST(SignProtocol, SignKeepsItsMemoryAndAddress)
{
    SignState sign(20);
    QByteArray block =
        bytes({0xAA, 0xCC, 0x00, 0x8C, 0x32, 0x30, 0x00, 0x10, 0x02, 0x80, 0x00, 0x80});
    block.append(QByteArray(128, char(0x81)));
    ASSERT_EQ(sign.apply(*parseFrame(block).frame), SignState::Action::Accepted);
    ASSERT_EQ(sign.apply(*parseFrame(Parameters20).frame), SignState::Action::Accepted);
    EXPECT_EQ(sign.columns(), 384);
    EXPECT_EQ(sign.speedCode(), 10);
    const QByteArray image = sign.image();
    ASSERT_EQ(image.size(), 768);
    EXPECT_EQ(image.mid(128, 128), QByteArray(128, char(0x81)));
    EXPECT_EQ(image.left(128), QByteArray(128, '\0'));

    // Frames for another address are ignored; a new serial ID is taken by whichever sign hears it.
    const auto other = parseFrame(bytes({0xAA, 0xCC, 0x00, 0x08, 0x30, 0x37, 0x00, 0x20}));
    EXPECT_EQ(sign.apply(*other.frame), SignState::Action::Ignored);
    sign.apply(
        *parseFrame(bytes({0xAA, 0xCC, 0x00, 0x0A, 0x30, 0x37, 0x01, 0x10, 0x30, 0x37})).frame);
    EXPECT_EQ(sign.address(), 7);
    EXPECT_EQ(sign.apply(*other.frame), SignState::Action::Accepted);
}
