#include "ColumnImage.h"
#include "ImageSurface.h"
#include "MessageText.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace lumawrite;
using render::CreateBitMap;
using render::RenderRequest;

namespace {

// A surface whose "text" is a fixed set of pixels around the drawing position, so that the
// expected bytes can be worked out by hand.
class DotSurface : public render::Surface {
public:
    std::map<std::pair<int, int>, QRgb> ink; // (x, y) relative to the drawing position
    int draws = 0;
    QString lastFamily;
    double lastSize = 0;

    void clear() override
    {
        m_pixels.clear();
        m_position = {0, 0};
    }
    void setFontName(const QString &family) override { lastFamily = family; }
    void setFontSize(double points) override { lastSize = points; }
    void setBold(bool) override {}
    void setItalic(bool) override {}
    void setStrikethrough(bool) override {}
    void setUnderline(bool) override {}
    void setPosition(int x, int y) override { m_position = {x, y}; }
    void drawText(const QString &) override
    {
        ++draws;
        for (const auto &[at, colour] : ink) {
            const int x = m_position.first + at.first;
            const int y = m_position.second + at.second;
            if (x >= 0 && x < 870 && y >= 0 && y < 26) // what falls off the surface is lost
                m_pixels[{x, y}] = colour;
        }
    }
    void drawDots(const std::vector<quint16> &columns) override
    {
        for (int i = 0; i < int(columns.size()); ++i)
            for (int r = 0; r < 16; ++r)
                if (columns[std::size_t(i)] >> r & 1)
                    m_pixels[{m_position.first + i, m_position.second + r}] = 0;
    }
    int measureText(const QString &) const override { return 0; }
    QRgb pixel(int x, int y) const override
    {
        const auto it = m_pixels.find({x, y});
        return it == m_pixels.end() ? 0xFFFFC0 : it->second;
    }

private:
    std::map<std::pair<int, int>, QRgb> m_pixels;
    std::pair<int, int> m_position{0, 0};
};

RenderRequest request(int width, int offset = 0)
{
    RenderRequest r;
    r.family = QStringLiteral("DejaVu Sans");
    r.pointSize = 19;
    r.offset = offset;
    r.text = QStringLiteral("x");
    r.width = width;
    return r;
}

std::vector<quint8> renderDots(DotSurface &s, int width, int offset = 0)
{
    return CreateBitMap(s, request(width, offset));
}

} // namespace

TEST(Render, RowBIsBitBOfTheFirstByteAndRow8PlusBOfTheSecond)
{
    DotSurface s;
    s.ink = {{{0, 0}, 0}};
    auto bytes = renderDots(s, 10);
    ASSERT_EQ(bytes.size(), 128u);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[1], 0x00);

    s.ink = {{{0, 15}, 0}};
    bytes = renderDots(s, 10);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x80);

    s.ink = {{{1, 8}, 0}};
    bytes = renderDots(s, 10);
    EXPECT_EQ(bytes[2], 0x00);
    EXPECT_EQ(bytes[3], 0x01);

    s.ink.clear();
    for (int y = 0; y < 20; ++y)
        s.ink[{5, y}] = 0;
    bytes = renderDots(s, 10);
    EXPECT_EQ(bytes[10], 0xFF);
    EXPECT_EQ(bytes[11], 0xFF);

    // Rows 3 and 9 of column 63, the last column of block 0.
    s.ink = {{{63, 3}, 0}, {{63, 9}, 0}};
    bytes = renderDots(s, 10);
    EXPECT_EQ(bytes[126], 0x08);
    EXPECT_EQ(bytes[127], 0x02);

    // Only exact black counts: a near-black or background pixel is a clear bit.
    s.ink = {{{0, 0}, 0x010101}, {{0, 1}, 0x000001}, {{0, 2}, 0xFFFFC0}, {{0, 3}, 0}};
    bytes = renderDots(s, 10);
    EXPECT_EQ(bytes[0], 0x08);
    // Everything else of the block is blank.
    for (std::size_t i = 1; i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i], 0) << i;
}

TEST(Render, BlockCountFollowsTheMeasuredWidth)
{
    const std::pair<int, int> cases[] = {{0, 1}, {63, 1}, {64, 2}, {127, 2}, {128, 3}, {9663, 151}};
    for (const auto &[width, blocks] : cases) {
        DotSurface s;
        EXPECT_EQ(render::blockCountForWidth(width), blocks) << width;
        EXPECT_EQ(renderDots(s, width).size(), std::size_t(blocks) * 128) << width;
        EXPECT_EQ(s.draws, blocks) << width; // the whole text is drawn once per block
    }

    // Column 64 + j of the text is column j of block 1; ink left of the origin is lost.
    DotSurface s;
    s.ink = {{{64, 0}, 0}, {{127, 15}, 0}, {{-1, 0}, 0}, {{128, 0}, 0}};
    const auto bytes = renderDots(s, 127);
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(bytes[128], 0x01);
    EXPECT_EQ(bytes[255], 0x80);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(s.lastFamily, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(s.lastSize, 19.0);
}

TEST(Render, OffsetMovesTheSampledRows)
{
    DotSurface s;
    // Offset +10: line-box row 0 lands on row 10 and row 5 on row 15; row 6 falls below.
    s.ink = {{{0, 0}, 0}, {{1, 5}, 0}, {{2, 6}, 0}};
    auto bytes = renderDots(s, 10, +10);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x04);
    EXPECT_EQ(bytes[3], 0x80);
    EXPECT_EQ(bytes[4], 0x00);
    EXPECT_EQ(bytes[5], 0x00);

    // Offset -10: line-box rows 0 to 9 are cut off; row 10 is row 0, row 25 is row 15.
    s.ink = {{{0, 9}, 0}, {{0, 10}, 0}, {{1, 25}, 0}};
    bytes = renderDots(s, 10, -10);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[3], 0x80);
}

TEST(Render, RealTextIsDeterministicAndSitsInsideItsBlocks)
{
    platform::ImageSurface surface(QSize(870, 26), QColor(255, 255, 192), Qt::black);
    RenderRequest r;
    r.family = QStringLiteral("DejaVu Sans");
    r.pointSize = 12;
    r.bold = true;
    r.offset = 0;
    r.text = QStringLiteral("Open 9 to 5, Mon-Sat");
    surface.setFontName(r.family);
    surface.setFontSize(r.pointSize);
    surface.setBold(true);
    r.width = surface.measureText(r.text);
    ASSERT_GT(r.width, 64);

    const auto first = CreateBitMap(surface, r);
    const auto second = CreateBitMap(surface, r);
    EXPECT_EQ(first, second);
    ASSERT_EQ(first.size(), std::size_t(r.width / 64 + 1) * 128);
    int lit = 0;
    for (quint8 b : first)
        lit += b != 0;
    EXPECT_GT(lit, 20);

    // 12-point DejaVu Sans at 96 dpi is 16 pixels: the offset moves ink off the bottom rows.
    r.offset = 10;
    const auto low = CreateBitMap(surface, r);
    for (std::size_t col = 0; col < low.size(); col += 2)
        EXPECT_EQ(low[col] & 0xFF, 0) << "rows 0 to 7 of column " << col / 2;
}

// The single drawing must give exactly the bytes of the block-by-block rendering, whatever the
// typeface, size, styles, offset and text.
TEST(Render, DrawingOnceGivesTheSameBytesAsBlockByBlock)
{
    platform::ImageSurface blockSurface(QSize(870, 26), QColor(255, 255, 192), Qt::black);
    platform::ImageSurface strip(QSize(64, 16), QColor(255, 255, 192), Qt::black);
    const QStringList families = {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif"),
                                  QStringLiteral("DejaVu Sans Mono")};
    const QStringList texts = {
        QStringLiteral("Fresh bread daily"),
        QStringLiteral("WAVE AVA Ty. fi fl ffi -- 1/2 \u00e9\u00e8 \u20ac9.99"),
        QStringLiteral("ab\r\ncdefgh"),
        QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii!"),
        QString(),
        QStringLiteral(" "),
    };
    int cases = 0;
    for (int f = 0; f < families.size(); ++f)
        for (int t = 0; t < texts.size(); ++t)
            for (int size : {6, 9, 12, 19, 33, 60}) {
                RenderRequest r;
                r.family = families[f];
                r.pointSize = size;
                // Walk the styles and offsets with the cases rather than all combinations.
                const int k = f * 7 + t * 3 + size;
                r.bold = k & 1;
                r.italic = k & 2;
                r.underline = k & 4;
                r.strikethrough = k & 8;
                r.offset = (k % 21) - 10;
                r.text = texts[t];
                render::applyFont(blockSurface, r);
                r.width = blockSurface.measureText(r.text);
                ASSERT_EQ(render::renderColumns(strip, r), CreateBitMap(blockSurface, r))
                    << r.family.toStdString() << " " << size << " " << r.text.toStdString()
                    << " bold " << r.bold << " italic " << r.italic << " offset " << r.offset;
                ++cases;
            }
    EXPECT_EQ(cases, 108);
}

TEST(Render, ColumnImageBecomesOnePixelADot)
{
    // Column 0: rows 0 and 9 (bytes 0x01, 0x02); column 1: row 7 and row 15 (0x80, 0x80).
    const QByteArray columns("\x01\x02\x80\x80", 4);
    const QImage image = render::columnPixels(columns);
    ASSERT_EQ(image.size(), QSize(2, 16));
    for (int c = 0; c < 2; ++c)
        for (int row = 0; row < 16; ++row) {
            const bool lit =
                (c == 0 && (row == 0 || row == 9)) || (c == 1 && (row == 7 || row == 15));
            EXPECT_EQ(image.pixel(c, row) & 0xFFFFFF, lit ? 0xFFB000u : 0u) << c << "," << row;
            EXPECT_EQ(render::dotLit(columns, c, row), lit) << c << "," << row;
        }
    EXPECT_FALSE(render::dotLit(columns, 2, 0));
    EXPECT_FALSE(render::dotLit(columns, -1, 0));
    EXPECT_FALSE(render::dotLit(columns, 0, 16));
    EXPECT_EQ(render::columnPixels({}).size(), QSize(1, 16)); // an empty image is one dark column
}

TEST(Render, MessageRulesCountALineBreakAsTwo)
{
    const QString mixed = QStringLiteral("a\r\nb\rc\nd") + QChar::LineSeparator + "e" +
                          QChar::ParagraphSeparator + "f";
    EXPECT_EQ(render::plainLineBreaks(mixed), QStringLiteral("a\nb\nc\nd\ne\nf"));
    EXPECT_EQ(render::storedMessageText(mixed), QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf"));
    EXPECT_EQ(render::countChars(QStringLiteral("ab\ncd")), 6);
    EXPECT_EQ(render::fitChars(QStringLiteral("ab\ncd"), 3), QStringLiteral("ab"));
    EXPECT_EQ(render::fitChars(QStringLiteral("ab\ncd"), 4), QStringLiteral("ab\n"));
    const QString pair = QStringLiteral("x") + QChar(0xD83D) + QChar(0xDE00); // x and an emoji
    EXPECT_EQ(render::fitChars(pair, 2), QStringLiteral("x"));
    EXPECT_EQ(render::fitChars(pair, 3), pair);
    EXPECT_EQ(render::MaxMessageChars, 250);
}
