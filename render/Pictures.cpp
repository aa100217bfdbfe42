#include "Pictures.h"

#include <QPainter>

namespace lumawrite::render {
namespace {

// The program's own pictures, a row of text a row of dots ("#" lit), 16 rows each.
struct Drawn {
    const char *name;
    const char *rows[RowsPerColumn];
};
const Drawn Drawings[] = {
    {"arrow-up",
     {".....##.....", "....####....", "...######...", "..########..", ".##########.",
      "############", "....####....", "....####....", "....####....", "....####....",
      "....####....", "....####....", "....####....", "....####....", "....####....",
      "............"}},
    {"arrow-down",
     {"............", "....####....", "....####....", "....####....", "....####....",
      "....####....", "....####....", "....####....", "....####....", "....####....",
      "############", ".##########.", "..########..", "...######...", "....####....",
      ".....##....."}},
    {"arrow-left",
     {"................", "................", ".....#..........", "....##..........",
      "...###..........", "..##############", ".###############", "################",
      "################", ".###############", "..##############", "...###..........",
      "....##..........", ".....#..........", "................", "................"}},
    {"arrow-right",
     {"................", "................", "..........#.....", "..........##....",
      "..........###...", "##############..", "###############.", "################",
      "################", "###############.", "##############..", "..........###...",
      "..........##....", "..........#.....", "................", "................"}},
    {"heart",
     {".............", ".............", "..###...###..", ".#####.#####.", "#############",
      "#############", "#############", ".###########.", "..#########..", "...#######...",
      "....#####....", ".....###.....", "......#......", ".............", ".............",
      "............."}},
    {"star",
     {".......#.......", ".......#.......", "......###......", "......###......", ".....#####.....",
      "###############", ".#############.", "..###########..", "...#########...", "....#######....",
      "...####.####...", "...###...###...", "..###.....###..", "..##.......##..", ".#...........#.",
      "..............."}},
    {"euro",
     {"...........", "....#####..", "...##...##.", "..##.......", "..##.......", "#######....",
      "..##.......", "#######....", "..##.......", "..##.......", "...##...##.", "....#####..",
      "...........", "...........", "...........", "..........."}},
    {"clock",
     {".....#####.....", "...##.....##...", "..#.........#..", ".#.....#.....#.", ".#.....#.....#.",
      "#......#......#", "#......#......#", "#......####...#", "#.............#", "#.............#",
      ".#...........#.", ".#...........#.", "..#.........#..", "...##.....##...", ".....#####.....",
      "..............."}},
    {"warning",
     {".......#.......", "......###......", "......#.#......", ".....#...#.....", ".....#.#.#.....",
      "....#..#..#....", "....#..#..#....", "...#...#...#...", "...#...#...#...", "..#.........#..",
      "..#....#....#..", ".#...........#.", ".#############.", "...............", "...............",
      "..............."}},
    {"check",
     {".............", ".............", "............#", "...........##", "..........##.",
      ".........##..", "#.......##...", "##.....##....", ".##...##.....", "..##.##......",
      "...###.......", "....#........", ".............", ".............", ".............",
      "............."}},
    {"cross",
     {"...........", "...........", "##.......##", ".##.....##.", "..##...##..", "...##.##...",
      "....###....", "...##.##...", "..##...##..", ".##.....##.", "##.......##", "...........",
      "...........", "...........", "...........", "..........."}},
    {"smile",
     {".....#####.....", "...##.....##...", "..#.........#..", ".#...........#.", ".#...#...#...#.",
      "#....#...#....#", "#.............#", "#.............#", "#..#.......#..#", "#...#.....#...#",
      ".#...#####...#.", ".#...........#.", "..#.........#..", "...##.....##...", ".....#####.....",
      "..............."}},
};

Picture drawn(const Drawn &d)
{
    Picture picture;
    picture.name = QString::fromLatin1(d.name);
    const int width = int(qstrlen(d.rows[0]));
    picture.columns.assign(std::size_t(width), 0);
    for (int row = 0; row < RowsPerColumn; ++row)
        for (int c = 0; c < width && d.rows[row][c]; ++c)
            if (d.rows[row][c] == '#')
                picture.columns[std::size_t(c)] |= quint16(1u << row);
    return picture;
}

} // namespace

Picture pictureFromImage(const QString &name, const QImage &image, bool invert)
{
    Picture picture;
    picture.name = name;
    picture.sourceRows = image.height();
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        return picture;
    // The sign's 16 rows, the proportions kept; a very wide picture is held to 256 columns.
    int width =
        qMax(1, int((qint64(image.width()) * RowsPerColumn + image.height() / 2) / image.height()));
    int height = RowsPerColumn;
    if (width > MaxPictureColumns) {
        width = MaxPictureColumns;
        height = qBound(
            1,
            int((qint64(image.height()) * MaxPictureColumns + image.width() / 2) / image.width()),
            RowsPerColumn);
    }
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.size() != QSize(width, height))
        argb = argb.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int top = (RowsPerColumn - height) / 2;
    picture.columns.assign(std::size_t(width), 0);
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            const bool opaque = qAlpha(p) >= 128;
            const bool dark = qGray(p) < 128;
            if (opaque && dark != invert)
                picture.columns[std::size_t(x)] |= quint16(1u << (top + y));
        }
    }
    return picture;
}

const QList<Picture> &builtinPictures()
{
    static const QList<Picture> pictures = [] {
        QList<Picture> all;
        for (const Drawn &d : Drawings)
            all.append(drawn(d));
        return all;
    }();
    return pictures;
}

QList<MessagePart> splitMessage(const QString &text, const QList<Picture> &pictures)
{
    QList<MessagePart> parts;
    QString run;
    const auto flush = [&] {
        if (!run.isEmpty())
            parts.append({run, -1});
        run.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('{')) {
            run += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == QLatin1Char('{')) {
            run += QLatin1Char('{');
            ++i;
            continue;
        }
        const qsizetype close = text.indexOf(QLatin1Char('}'), i + 1);
        const QString name = close < 0 ? QString() : text.mid(i + 1, close - i - 1);
        int found = -1;
        for (int p = 0; p < pictures.size() && !name.isEmpty(); ++p)
            if (pictures[p].name == name) {
                found = p;
                break;
            }
        if (found < 0) {
            run += text[i]; // no picture of that name: it stays text
            continue;
        }
        flush();
        parts.append({QString(), found});
        i = close;
    }
    flush();
    return parts;
}

bool holdsPictures(const QList<MessagePart> &parts)
{
    return std::any_of(parts.cbegin(), parts.cend(),
                       [](const MessagePart &part) { return part.picture >= 0; });
}

int measureMessage(Surface &surface, const RenderRequest &request, const QList<Picture> &pictures)
{
    applyFont(surface, request);
    const QList<MessagePart> parts = splitMessage(request.text, pictures);
    if (!holdsPictures(parts))
        return surface.measureText(request.text);
    int width = 0;
    for (const MessagePart &part : parts)
        width +=
            part.picture >= 0 ? pictures[part.picture].width() : surface.measureText(part.text);
    return width;
}

void drawMessage(Surface &surface, const RenderRequest &request, const QList<Picture> &pictures,
                 int x)
{
    const QList<MessagePart> parts = splitMessage(request.text, pictures);
    if (!holdsPictures(parts)) {
        drawMessage(surface, request, x);
        return;
    }
    applyFont(surface, request);
    surface.clear();
    for (const MessagePart &part : parts) {
        if (part.picture >= 0) {
            surface.setPosition(x, 0);
            surface.drawDots(pictures[part.picture].columns);
            x += pictures[part.picture].width();
            continue;
        }
        surface.setPosition(x, request.offset);
        surface.drawText(part.text);
        x += surface.measureText(part.text);
    }
}

std::vector<quint8> renderMessageColumns(StripSurface &strip, const RenderRequest &request,
                                         const QList<Picture> &pictures)
{
    const QList<MessagePart> parts = splitMessage(request.text, pictures);
    if (!holdsPictures(parts))
        return renderColumns(strip, request);

    const int blocks = blockCountForWidth(request.width);
    const int columns = blocks * ColumnsPerBlock;
    strip.resize(columns, RowsPerColumn);
    applyFont(strip, request);
    strip.clear();
    // The text of each part where the part before ended, at the offset; the pictures are put
    // in after the text is read back.
    QList<std::pair<int, int>> placed; // column, picture
    int x = 0;
    for (const MessagePart &part : parts) {
        if (part.picture >= 0) {
            placed.append({x, part.picture});
            x += pictures[part.picture].width();
            continue;
        }
        strip.setPosition(x, request.offset);
        strip.drawText(part.text);
        x += strip.measureText(part.text);
    }
    std::vector<quint8> bytes(std::size_t(blocks) * BytesPerBlock, 0);
    for (int c = 0; c < columns; ++c)
        for (int row = 0; row < RowsPerColumn; ++row)
            if (strip.pixel(c, row) == 0)
                bytes[std::size_t(2 * c + row / 8)] |= quint8(1 << (row % 8));
    for (const auto &[at, p] : placed) {
        const Picture &picture = pictures[p];
        for (int c = 0; c < picture.width() && at + c < columns; ++c) {
            const quint16 dots = picture.columns[std::size_t(c)];
            bytes[std::size_t(2 * (at + c))] |= quint8(dots & 0xff);
            bytes[std::size_t(2 * (at + c) + 1)] |= quint8(dots >> 8);
        }
    }
    return bytes;
}

} // namespace lumawrite::render
