#include "Frames.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using lumawrite::test::bytes;

using namespace lumawrite::link;

TEST(Frames, WorkedExampleForAddressTwentySixBlocksFastest)
{
    const AddressDigits a = frames::addressDigits(19); // "20"
    quint8 block[128];
    for (int i = 0; i < 128; ++i)
        block[i] = quint8(0x80 + i); // 0x80 to 0xFF must arrive unchanged

    const QByteArray first = frames::blockFrame(a, 1, block);
    ASSERT_EQ(first.size(), 140);
    EXPECT_EQ(first.left(12),
              bytes({0xAA, 0xCC, 0x00, 0x8C, 0x32, 0x30, 0x00, 0x10, 0x02, 0x80, 0x00, 0x80}));
    EXPECT_EQ(quint8(first[12]), 0x80);
    EXPECT_EQ(quint8(first[139]), 0xFF);

    EXPECT_EQ(frames::parameterFrame(a, 6, frames::speedCode(9)),
              bytes({0xAA, 0xCC, 0x00, 0x10, 0x32, 0x30, 0x00, 0x10, 0x01, 0x00, 0x00, 0x04, 0x01,
                     0x80, 0x00, 0x0A}));
    EXPECT_EQ(frames::restartFrame(a), bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20}));
}

TEST(Frames, BlockAddressesRiseBy128)
{
    const quint8 zero[128] = {};
    const AddressDigits a = frames::addressDigits(0);
    const std::pair<int, QByteArray> cases[] = {{0, bytes({0x02, 0x00})},
                                                {2, bytes({0x03, 0x00})},
                                                {5, bytes({0x04, 0x80})},
                                                {155, bytes({0x4F, 0x80})}};
    for (const auto &[n, address] : cases)
        EXPECT_EQ(frames::blockFrame(a, n, zero).mid(8, 2), address) << n;
    // 156 blocks of 64 columns: 9984 = 0x2700.
    EXPECT_EQ(frames::parameterFrame(a, 156, 0).mid(12, 2), bytes({0x27, 0x00}));
}

TEST(Frames, AddressDigitsAndSpeedCodes)
{
    const std::pair<int, QByteArray> addresses[] = {
        {49, "50"}, {8, "09"}, {6, "07"}, {0, "01"}, {-1, "00"}};
    for (const auto &[index, digits] : addresses) {
        const AddressDigits a = frames::addressDigits(index);
        EXPECT_EQ(QByteArray() + a.tens + a.units, digits) << index;
        EXPECT_EQ(frames::restartFrame(a).mid(4, 2), digits) << index;
    }
    const int codes[] = {250, 200, 175, 150, 125, 100, 80, 50, 25, 10};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(frames::speedCode(i), codes[i]) << i;
    EXPECT_EQ(frames::speedCode(-1), 0);
    EXPECT_EQ(frames::speedCode(10), 0);
    EXPECT_EQ(
        quint8(frames::parameterFrame(frames::addressDigits(19), 6, frames::speedCode(-1))[15]), 0);
}
