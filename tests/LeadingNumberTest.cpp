#include "LeadingNumber.h"

#include <gtest/gtest.h>

using namespace lumawrite;

TEST(LeadingNumber, ReadsTheLeadingNumberLeniently)
{
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"2000", 2000}, {"2000abc", 2000}, {"abc", 0},    {"", 0},        {"  42 ", 42},
        {"1 2 3", 123}, {"\t-7", -7},      {"+5", 5},     {"12.5", 12.5}, {".5", 0.5},
        {"5.", 5},      {"1e3", 1000},     {"2D2", 200},  {"1e", 1},      {"1e+", 1},
        {"-", 0},       {"&H7FFF", 32767}, {"&hff", 255}, {"&O17", 15},   {"&Hxyz", 0},
        {"3,5", 3},     {"1\n0", 10},      {"--1", 0},    {"1.2.3", 1.2},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(LeadingNumber, RoundsHalvesToEvenWithinSixteenBits)
{
    const struct {
        const char *text;
        int value;
    } cases[] = {{"12.5", 12}, {"13.5", 14},     {"2000.5", 2000},   {"2001.5", 2002},  {"-0.5", 0},
                 {"-1.5", -2}, {"32767", 32767}, {"-32768", -32768}, {"32767.4", 32767}};
    for (const auto &c : cases) {
        const auto n = roundToInt16(leadingNumber(QString::fromUtf8(c.text)));
        ASSERT_TRUE(n.has_value()) << c.text;
        EXPECT_EQ(*n, c.value) << c.text;
    }
    for (const char *text : {"32767.5", "40000", "-32769", "1e999", "&HFFFF"})
        EXPECT_FALSE(roundToInt16(leadingNumber(QString::fromUtf8(text))).has_value()) << text;

    // A width past 16 bits reads as itself, not as nothing.
    EXPECT_EQ(roundToInt(leadingNumber(QStringLiteral("36000"))), 36000);
    EXPECT_EQ(roundToInt(leadingNumber(QStringLiteral("40000.5"))), 40000);
    EXPECT_EQ(roundToInt(leadingNumber(QStringLiteral("2147483647"))), 2147483647);
    for (const char *text : {"2147483648", "-2147483649", "1e999"})
        EXPECT_FALSE(roundToInt(leadingNumber(QString::fromUtf8(text))).has_value()) << text;

    EXPECT_EQ(leadingNumberIn(QStringLiteral("2000x"), 0, 32767), qint16(2000));
    EXPECT_FALSE(leadingNumberIn(QStringLiteral("-1"), 0, 32767).has_value());
    EXPECT_FALSE(leadingNumberIn(QStringLiteral("1e-999"), 1, 32767).has_value());
}
