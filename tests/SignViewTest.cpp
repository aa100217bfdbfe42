#include "ColumnImage.h"
#include "ImageSurface.h"
#include "LedView.h"
#include "MessageEdit.h"
#include "MessagePlan.h"
#include "SignPanel.h"
#include "TestSupport.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>

using namespace lumawrite;
using namespace lumawrite::test;
using render::RenderRequest;

namespace {

// A strip whose "text" is a set of ink pixels around the drawing position.
class InkStrip : public render::StripSurface {
public:
    std::vector<std::pair<int, int>> ink; // (x, y) relative to the drawing position
    int textWidth = 10;
    QString missing;
    qsizetype longestLine = 0; // the most characters drawn on one line in one go

    void clear() override { m_pixels.clear(); }
    void setFontName(const QString &) override {}
    void setFontSize(double) override {}
    void setBold(bool) override {}
    void setItalic(bool) override {}
    void setStrikethrough(bool) override {}
    void setUnderline(bool) override {}
    void setPosition(int x, int y) override { m_at = {x, y}; }
    void drawText(const QString &text) override
    {
        for (const QString &line : render::splitLines(text))
            longestLine = qMax(longestLine, line.size());
        for (const auto &[x, y] : ink)
            if (m_at.first + x >= 0 && m_at.first + x < m_w && m_at.second + y >= 0 &&
                m_at.second + y < m_h)
                m_pixels[{m_at.first + x, m_at.second + y}] = true;
    }
    void drawDots(const std::vector<quint16> &columns) override
    {
        for (int i = 0; i < int(columns.size()); ++i)
            for (int r = 0; r < 16; ++r)
                if (columns[std::size_t(i)] >> r & 1)
                    m_pixels[{m_at.first + i, m_at.second + r}] = true;
    }
    int measureText(const QString &) const override { return textWidth; }
    QRgb pixel(int x, int y) const override { return m_pixels.count({x, y}) ? 0 : 0xFFFFC0; }
    void resize(int w, int h) override
    {
        m_w = w;
        m_h = h;
    }
    int width() const override { return m_w; }
    int height() const override { return m_h; }
    QString missingCharacters(const QString &) const override { return missing; }
    QRect inkBounds() const override
    {
        QRect r;
        for (const auto &[at, on] : m_pixels)
            r = r.united(QRect(at.first, at.second, 1, 1));
        return r;
    }

private:
    std::map<std::pair<int, int>, bool> m_pixels;
    std::pair<int, int> m_at{0, 0};
    int m_w = 64, m_h = 16;
};

RenderRequest request(int size, int offset, const QString &text, bool italic = false)
{
    RenderRequest r;
    r.family = QStringLiteral("DejaVu Sans");
    r.pointSize = size;
    r.offset = offset;
    r.italic = italic;
    r.text = text;
    return r;
}

} // namespace

TEST(FitCheck, CountsInkOutsideTheRowsOnHandMadeCases)
{
    InkStrip strip;
    // Ink on line-box rows -3 and 20, and two columns left of the origin.
    strip.ink = {{0, -3}, {0, 20}, {-2, 5}, {4, 8}};
    strip.textWidth = 9700;
    strip.missing = QStringLiteral("\u5b57");
    render::FitReport fit = signs::checkFit(strip, request(12, 0, QStringLiteral("x")));
    EXPECT_TRUE(fit.hasInk);
    EXPECT_EQ(fit.rowsAbove, 3);
    EXPECT_EQ(fit.rowsBelow, 5); // rows 16 to 20
    EXPECT_EQ(fit.columnsLeft, 2);
    EXPECT_EQ(fit.excessColumns, 37); // 9700 - 9663
    EXPECT_EQ(fit.missingCharacters, QStringLiteral("\u5b57"));
    EXPECT_FALSE(fit.fits());
    // The findings as the window lists them and lumawrite-send warns of them.
    EXPECT_EQ(render::fitFindings(fit).join('\n'),
              QStringLiteral("3 rows of the text cut off at the top.\n"
                             "5 rows of the text cut off at the bottom.\n"
                             "2 columns of the slant cut off at the left.\n"
                             "This typeface cannot draw: \u5b57\n"
                             "37 columns too wide to upload (at most 9663)."));

    // The offset moves the rows: +4 puts row -3 on row 1 and row 20 on row 24.
    fit = signs::checkFit(strip, request(12, 4, QStringLiteral("x")));
    EXPECT_EQ(fit.rowsAbove, 0);
    EXPECT_EQ(fit.rowsBelow, 9);

    strip.ink = {{0, 0}, {63, 15}};
    strip.textWidth = 64;
    strip.missing.clear();
    EXPECT_TRUE(signs::checkFit(strip, request(12, 0, QStringLiteral("x"))).fits());
    EXPECT_TRUE(render::fitFindings(signs::checkFit(strip, request(12, 0, "x"))).isEmpty());
    strip.ink.clear();
    EXPECT_FALSE(signs::checkFit(strip, request(12, 0, QString())).hasInk);
}

TEST(FitCheck, RealTextOffsetsOverhangsAndMissingGlyphs)
{
    platform::ImageSurface strip(QSize(64, 16), QColor(255, 255, 192), Qt::black);
    // Each step of offset past the bottom cuts one more row.
    const auto at9 = signs::checkFit(strip, request(12, 9, QStringLiteral("Hg")));
    const auto at10 = signs::checkFit(strip, request(12, 10, QStringLiteral("Hg")));
    EXPECT_GT(at10.rowsBelow, 0);
    EXPECT_EQ(at10.rowsBelow, at9.rowsBelow + 1);
    EXPECT_EQ(at10.rowsAbove, 0);

    // An oblique "j" reaches left of its origin; the upright one does not.
    EXPECT_GT(signs::checkFit(strip, request(40, 0, QStringLiteral("j"), true)).columnsLeft, 0);
    EXPECT_EQ(signs::checkFit(strip, request(40, 0, QStringLiteral("H"))).columnsLeft, 0);

    const auto missing = signs::checkFit(strip, request(12, 0, QStringLiteral("A\u5b57B\u5b57")));
    EXPECT_EQ(missing.missingCharacters, QStringLiteral("\u5b57"));
}

// Drawing a long line whole takes time that grows with the square of its length; the check
// draws a few distinct characters at a time and still sees every row and the line's start.
TEST(FitCheck, LongLinesAreCheckedAFewCharactersAtATime)
{
    InkStrip fake;
    fake.ink = {{0, -3}, {0, 20}, {-2, 5}};
    render::FitReport fit = signs::checkFit(
        fake, request(60, 0, QString(250, QLatin1Char('W')) + QStringLiteral("\r\nabcdefghijkl")));
    EXPECT_LE(fake.longestLine, 8);
    EXPECT_EQ(fit.rowsAbove, 3);
    EXPECT_EQ(fit.rowsBelow, 5);
    EXPECT_EQ(fit.columnsLeft, 2);

    platform::ImageSurface strip(QSize(64, 16), QColor(255, 255, 192), Qt::black);
    const QString xs(200, QLatin1Char('x'));
    for (int offset : {-8, 6}) {
        // An accent and a descender at the end of a long line count as they do alone.
        const auto alone = signs::checkFit(strip, request(30, offset, QStringLiteral("\u00c9g")));
        const auto late =
            signs::checkFit(strip, request(30, offset, xs + QStringLiteral("\u00c9g")));
        EXPECT_GT(alone.rowsAbove + alone.rowsBelow, 0) << offset;
        EXPECT_EQ(late.rowsAbove, alone.rowsAbove) << offset;
        EXPECT_EQ(late.rowsBelow, alone.rowsBelow) << offset;
    }
    // Only a line's start can reach left of the first column.
    const auto j = signs::checkFit(strip, request(40, 0, QStringLiteral("j"), true));
    ASSERT_GT(j.columnsLeft, 0);
    EXPECT_EQ(signs::checkFit(strip, request(40, 0, QStringLiteral("j") + xs, true)).columnsLeft,
              j.columnsLeft);
    EXPECT_EQ(
        signs::checkFit(strip, request(40, 0, xs + QStringLiteral("\r\nj"), true)).columnsLeft,
        j.columnsLeft);
    const auto x = signs::checkFit(strip, request(40, 0, QStringLiteral("x"), true));
    ASSERT_LT(x.columnsLeft, j.columnsLeft);
    EXPECT_EQ(signs::checkFit(strip, request(40, 0, xs + QStringLiteral("j"), true)).columnsLeft,
              x.columnsLeft);
}

TEST(FitCheck, FitChoosesTheLargestSizeThatKeepsAllInk)
{
    platform::ImageSurface strip(QSize(64, 16), QColor(255, 255, 192), Qt::black);
    for (const QString &text : {QStringLiteral("Hg|"), QStringLiteral("menu"),
                                QStringLiteral("OPEN\r\n9-5"), QStringLiteral("...")}) {
        RenderRequest r = request(30, 0, text);
        r.bold = true;
        const auto choice = render::bestFit(strip, r);
        ASSERT_TRUE(choice.has_value()) << text.toStdString();
        r.pointSize = choice->pointSize;
        r.offset = choice->offset;
        const auto fit = signs::checkFit(strip, r);
        EXPECT_TRUE(fit.fits()) << text.toStdString();
        // One size larger fits at no offset of the list.
        if (choice->pointSize < 60) {
            r.pointSize = choice->pointSize + 1;
            for (int offset = -10; offset <= 10; ++offset) {
                r.offset = offset;
                const auto larger = signs::checkFit(strip, r);
                EXPECT_TRUE(larger.rowsAbove > 0 || larger.rowsBelow > 0)
                    << text.toStdString() << " size " << r.pointSize << " offset " << offset;
            }
        }
    }
    EXPECT_FALSE(render::bestFit(strip, request(12, 0, QStringLiteral("   "))).has_value());
}

namespace {

class SignViewTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        startMain(safeSettings(), {5, 5});
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        d = main->design();
    }

    ui::frmDesign1 *d = nullptr;
};

} // namespace

TEST_F(SignViewTest, ViewShowsTheBytesThatAreUploaded)
{
    d->txtMsg->setPlainText(QStringLiteral("Closing down sale, everything must go"));
    d->cmbFonts->setCurrentIndex(0);
    d->chkItalic->setChecked(true);
    d->cmbOffset->setCurrentIndex(7);
    // The view follows the edit after a short pause, not on every keystroke.
    QTRY_VERIFY(!d->signPanel->view()->image().isEmpty() &&
                d->signPanel->view()->image().size() ==
                    (d->lblMsg[1]->text().toInt() / 64 + 1) * 128);
    const QByteArray view = d->signPanel->view()->image();

    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(shared.ColumnBuffer.data()), view.size()),
              view);
    QTRY_VERIFY(!main->transfer().running());

    // Play scrolls it in from the right edge; Stop returns to the scroll bar's place.
    d = main->design();
    QTest::mouseClick(main->cmdModify, Qt::LeftButton);
    QTest::mouseClick(d->signPanel->playButton(), Qt::LeftButton);
    EXPECT_TRUE(d->signPanel->playing());
    const int first = d->signPanel->view()->firstColumn();
    QTRY_VERIFY(d->signPanel->view()->firstColumn() > first);
    QTest::mouseClick(d->signPanel->playButton(), Qt::LeftButton);
    EXPECT_FALSE(d->signPanel->playing());
    d->signPanel->scrollBar()->setValue(64);
    EXPECT_EQ(d->signPanel->view()->firstColumn(), 64);
    EXPECT_EQ(d->signPanel->view()->lit(0, 3), bool(view[2 * 64] & (1 << 3)));
    d->reject();
}

TEST_F(SignViewTest, FitButtonSelectsThroughTheListsAndColsTurnsRed)
{
    d->txtMsg->setPlainText(QStringLiteral("Hg"));
    d->cmbFonts->setCurrentIndex(0);
    d->cmbFontSize->setCurrentIndex(54); // 60 points: far too tall
    d->refreshSignView();
    EXPECT_FALSE(d->fitReport().fits());
    EXPECT_TRUE(d->lblFit->text().contains(QStringLiteral("cut off")));
    const QString wideCols = d->lblMsg[1]->text();

    QTest::mouseClick(d->cmdFit, Qt::LeftButton);
    EXPECT_LT(d->cmbFontSize->currentIndex(), 54);
    EXPECT_NE(d->lblMsg[1]->text(), wideCols); // the counter followed the new size
    EXPECT_TRUE(d->fitReport().fits());
    EXPECT_TRUE(d->lblFit->text().contains(QStringLiteral("fits")));
    EXPECT_EQ(d->txtMsg->font().pointSizeF(), d->cmbFontSize->currentIndex() + 6.0);

    const QColor normal = d->lblMsg[1]->palette().color(QPalette::Window);
    d->txtMsg->setPlainText(QString(250, QLatin1Char('W')));
    d->cmbFontSize->setCurrentIndex(54);
    EXPECT_GT(d->lblMsg[1]->text().toInt(), 9663);
    EXPECT_EQ(d->lblMsg[1]->palette().color(QPalette::Window), QColor(192, 0, 0));
    d->refreshSignView();
    EXPECT_TRUE(d->lblFit->text().contains(QStringLiteral("too wide")));
    d->txtMsg->setPlainText(QStringLiteral("short"));
    EXPECT_EQ(d->lblMsg[1]->palette().color(QPalette::Window), normal);
    d->reject();
}

// The longest texts the box holds, at 60 points bold, refresh the view in a few milliseconds
// (a long line drawn whole for the fit check took half a second and more). A sanitizer build
// runs several times slower, so it gets a wider bound that still tells the two apart.
TEST_F(SignViewTest, LongestTextsRefreshQuickly)
{
#if defined(__SANITIZE_ADDRESS__)
    const qint64 limitMs = 1500;
#else
    const qint64 limitMs = 200;
#endif
    d->cmbFonts->setCurrentIndex(0);
    d->cmbFontSize->setCurrentIndex(54);
    d->chkBold->setChecked(true);
    for (const QString &text : {QString(250, QLatin1Char('W')), QString(250, QChar(0x2031))}) {
        d->txtMsg->setPlainText(text);
        qint64 fastest = std::numeric_limits<qint64>::max();
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            d->refreshSignView();
            fastest = qMin(fastest, timer.elapsed());
        }
        EXPECT_LT(fastest, limitMs);
        const int width = d->lblMsg[1]->text().toInt();
        EXPECT_EQ(d->fitReport().excessColumns, width - 9663);
        EXPECT_EQ(d->signPanel->view()->image().size(), (width / 64 + 1) * 128);
    }
    d->reject();
}
