#include "ImageSurface.h"
#include "PictureFiles.h"
#include "Pictures.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace lumawrite;
using render::Picture;
using test::writeFile;

namespace {

// The picture's columns as the sign gets them: two bytes a column, rows 0-7 then 8-15.
std::vector<quint8> bytesOf(const Picture &picture)
{
    std::vector<quint8> bytes;
    for (const quint16 dots : picture.columns) {
        bytes.push_back(quint8(dots & 0xff));
        bytes.push_back(quint8(dots >> 8));
    }
    return bytes;
}

QImage blank(int width, int height, QColor fill = Qt::white)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

} // namespace

TEST(Pictures, HandMadeImagesGiveTheseColumns)
{
    // 8 wide, 16 high: an X, row x and row 15 - x lit in column x.
    QImage cross = blank(8, 16);
    for (int x = 0; x < 8; ++x) {
        cross.setPixelColor(x, x, Qt::black);
        cross.setPixelColor(x, 15 - x, Qt::black);
    }
    EXPECT_EQ(bytesOf(render::pictureFromImage("x", cross)),
              (std::vector<quint8>{0x01, 0x80, 0x02, 0x40, 0x04, 0x20, 0x08, 0x10, 0x10, 0x08, 0x20,
                                   0x04, 0x40, 0x02, 0x80, 0x01}));

    // A 32-row logo, 16 wide: the top half black on the left, the bottom half on the right.
    // Halved to 16 rows and 8 columns.
    QImage logo = blank(16, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x)
            if ((y < 16) == (x < 8))
                logo.setPixelColor(x, y, Qt::black);
    const Picture halved = render::pictureFromImage("logo", logo);
    EXPECT_EQ(halved.sourceRows, 32);
    EXPECT_EQ(bytesOf(halved), (std::vector<quint8>{0xff, 0, 0xff, 0, 0xff, 0, 0xff, 0, 0, 0xff, 0,
                                                    0xff, 0, 0xff, 0, 0xff}));

    // Black in four strengths of opacity: only the half-opaque or more are lit; inverted,
    // only opaque white is.
    QImage glass = blank(5, 16, Qt::transparent);
    const int alphas[] = {255, 0, 100, 200};
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 16; ++y)
            glass.setPixelColor(x, y, QColor(0, 0, 0, alphas[x]));
    for (int y = 0; y < 16; ++y)
        glass.setPixelColor(4, y, y < 4 ? QColor(Qt::white) : QColor(60, 60, 60));
    EXPECT_EQ(bytesOf(render::pictureFromImage("glass", glass)),
              (std::vector<quint8>{0xff, 0xff, 0, 0, 0, 0, 0xff, 0xff, 0xf0, 0xff}));
    EXPECT_EQ(bytesOf(render::pictureFromImage("glass", glass, true)),
              (std::vector<quint8>{0, 0, 0, 0, 0, 0, 0, 0, 0x0f, 0}));

    // Wider than 256 columns once at 16 rows: held to 256, its rows centred.
    const Picture banner = render::pictureFromImage("banner", blank(1024, 16, Qt::black));
    EXPECT_EQ(banner.width(), 256);
    EXPECT_EQ(banner.columns[0], 0x03c0); // 4 rows, rows 6 to 9
}

TEST(Pictures, NamesInBracesArePicturesAndEverythingElseStaysText)
{
    const QList<Picture> pictures = render::builtinPictures();
    QStringList names;
    for (const Picture &p : pictures) {
        names.append(p.name);
        EXPECT_GT(p.width(), 0);
        EXPECT_LE(p.width(), 16);
    }
    EXPECT_EQ(names, QStringList({"arrow-up", "arrow-down", "arrow-left", "arrow-right", "heart",
                                  "star", "euro", "clock", "warning", "check", "cross", "smile"}));
    const auto shown = [&](const QString &text) {
        QStringList parts;
        for (const render::MessagePart &part : render::splitMessage(text, pictures))
            parts.append(part.picture >= 0 ? "[" + pictures[part.picture].name + "]" : part.text);
        return parts.join('|');
    };
    EXPECT_EQ(shown("{arrow-right} Entrance"), "[arrow-right]| Entrance");
    EXPECT_EQ(shown("Wet {warning}{warning} floor"), "Wet |[warning]|[warning]| floor");
    EXPECT_EQ(shown("{{heart} and {nothing} {heart"), "{heart} and {nothing} {heart");
    EXPECT_EQ(shown("{{{heart}}"), "{|[heart]|}");
    EXPECT_EQ(shown("Open 9-18"), "Open 9-18");
}

TEST(Pictures, APictureSitsBetweenTheTextsColumnsOnRowsZeroToFifteen)
{
    platform::ImageSurface strip(QSize(64, 16), QColor(255, 255, 192), Qt::black);
    render::RenderRequest r;
    r.family = QStringLiteral("DejaVu Sans");
    r.pointSize = 9;
    r.offset = 3; // moves the text, never the picture
    const QList<Picture> pictures = {render::pictureFromImage("bar", blank(2, 16, Qt::black))};
    const auto columnsOf = [&](const QString &text) {
        render::RenderRequest t = r;
        t.text = text;
        t.width = render::measureMessage(strip, t, pictures);
        return std::pair{t.width, render::renderMessageColumns(strip, t, pictures)};
    };
    const auto [aWidth, a] = columnsOf("A");
    const auto [bWidth, b] = columnsOf("B");
    const auto [width, both] = columnsOf("A{bar}B");
    ASSERT_EQ(width, aWidth + 2 + bWidth);
    std::vector<quint8> expected(both.size(), 0);
    for (int c = 0; c < aWidth; ++c)
        for (int k = 0; k < 2; ++k)
            expected[std::size_t(2 * c + k)] = a[std::size_t(2 * c + k)];
    for (int k = 0; k < 4; ++k)
        expected[std::size_t(2 * aWidth + k)] = 0xff; // the bar: every row of two columns
    for (int c = 0; c < bWidth; ++c)
        for (int k = 0; k < 2; ++k)
            expected[std::size_t(2 * (aWidth + 2 + c) + k)] |= b[std::size_t(2 * c + k)];
    EXPECT_EQ(both, expected);
    // Drawn on the Text Entry window's strip, the message shows the same dots in rows 0-15.
    platform::ImageSurface shown(QSize(870, 26), QColor(255, 255, 192), Qt::black);
    render::RenderRequest t = r;
    t.text = QStringLiteral("A{bar}B");
    render::drawMessage(shown, t, pictures);
    std::vector<quint8> read(both.size(), 0);
    for (int c = 0; c < int(both.size() / 2); ++c)
        for (int row = 0; row < 16; ++row)
            if (shown.pixel(c, row) == 0)
                read[std::size_t(2 * c + row / 8)] |= quint8(1 << (row % 8));
    EXPECT_EQ(read, both);
    // A message without pictures is drawn as it always was.
    render::RenderRequest plain = r;
    plain.text = QStringLiteral("{bar} is no picture here");
    render::applyFont(strip, plain);
    plain.width = strip.measureText(plain.text);
    EXPECT_EQ(render::renderMessageColumns(strip, plain, {}), render::renderColumns(strip, plain));
}

TEST(Pictures, TheFolderBesideTheSettingsAddsItsImagesAndRefusesWhatItCannotUse)
{
    QTemporaryDir dir;
    const QDir folder(dir.filePath("pictures"));
    ASSERT_TRUE(folder.mkpath("."));
    QImage cross = blank(8, 16);
    for (int x = 0; x < 8; ++x)
        cross.setPixelColor(x, x, Qt::black);
    ASSERT_TRUE(cross.save(folder.filePath("diagonal.png")));
    // An SVG drawn by hand: a black square in the left half of a 32 x 32 view, at 16 rows.
    writeFile(folder.filePath("half.svg"),
              "<svg xmlns='http://www.w3.org/2000/svg' width='32' height='32'>"
              "<rect x='0' y='0' width='16' height='32' fill='black'/></svg>");
    ASSERT_TRUE(blank(4097, 2).save(folder.filePath("wide.png")));
    writeFile(folder.filePath("notes.txt"), "not a picture");
    writeFile(folder.filePath("huge.png"), QByteArray((4 << 20) + 1, 'x'));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath("pipe.png")).constData(), 0600), 0);
    ASSERT_TRUE(blank(16, 16, Qt::black).save(folder.filePath("heart.png"))); // replaces ours

    const signs::PictureSet set = signs::readPictures(folder.path());
    QStringList names;
    for (const Picture &p : set.pictures)
        names.append(p.name);
    EXPECT_EQ(names.mid(12), QStringList({"diagonal", "half"})) << names.join(' ').toStdString();
    EXPECT_EQ(names.count("heart"), 1);
    const Picture heart = set.pictures[names.indexOf("heart")];
    EXPECT_EQ(heart.columns, std::vector<quint16>(16, 0xffff));
    EXPECT_EQ(bytesOf(set.pictures[12]),
              (std::vector<quint8>{1, 0, 2, 0, 4, 0, 8, 0, 0x10, 0, 0x20, 0, 0x40, 0, 0x80, 0}));
    EXPECT_EQ(set.pictures[13].columns,
              (std::vector<quint16>{0xffff, 0xffff, 0xffff, 0xffff, 0xffff, 0xffff, 0xffff, 0xffff,
                                    0, 0, 0, 0, 0, 0, 0, 0}));
    const QString at = folder.path() + '/';
    EXPECT_EQ(set.problems, QStringList({"The picture " + at +
                                             "huge.png cannot be used: it is larger than 4 MiB.",
                                         "The picture " + at +
                                             "notes.txt cannot be used: it is no picture "
                                             "that can be read (Unsupported image format).",
                                         "The picture " + at +
                                             "pipe.png cannot be used: it is neither a "
                                             "regular file nor a link to one.",
                                         "The picture " + at +
                                             "wide.png cannot be used: it is 4097 x 2 "
                                             "pixels; at most 4096 x 4096 are taken."}));
    EXPECT_EQ(set.unread, QStringList({"huge", "notes", "pipe", "wide"}));
    EXPECT_EQ(signs::pictureFindings("{half} and {diagonal}{half}", set.pictures),
              QStringList({"picture half is 32 rows high, scaled to 16"}));
}
