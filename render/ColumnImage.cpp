#include "ColumnImage.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

namespace lumawrite::render {

int blockCountForWidth(int width)
{
    return (width > 0 ? width : 0) / ColumnsPerBlock + 1;
}

void applyFont(Surface &surface, const RenderRequest &request)
{
    surface.setFontName(request.family);
    surface.setFontSize(request.pointSize);
    surface.setBold(request.bold);
    surface.setItalic(request.italic);
    surface.setStrikethrough(request.strikethrough);
    surface.setUnderline(request.underline);
}

bool dotLit(const QByteArray &columns, int column, int row)
{
    if (column < 0 || column >= columns.size() / 2 || row < 0 || row >= RowsPerColumn)
        return false;
    return quint8(columns[2 * column + row / 8]) & (1 << (row % 8));
}

QImage columnPixels(const QByteArray &columns)
{
    const int width = int(columns.size() / 2);
    QImage image(qMax(width, 1), RowsPerColumn, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int c = 0; c < width; ++c)
        for (int row = 0; row < RowsPerColumn; ++row)
            if (dotLit(columns, c, row))
                image.setPixel(c, row, LitDot);
    return image;
}

void drawMessage(Surface &surface, const RenderRequest &request, int x)
{
    applyFont(surface, request);
    surface.clear();
    surface.setPosition(x, request.offset);
    surface.drawText(request.text);
}

std::vector<quint8> CreateBitMap(Surface &surface, const RenderRequest &request)
{
    const int blocks = blockCountForWidth(request.width);
    std::vector<quint8> bytes(std::size_t(blocks) * BytesPerBlock, 0);
    for (int i = 0; i < blocks; ++i) {
        drawMessage(surface, request, -ColumnsPerBlock * i);
        quint8 *block = bytes.data() + std::size_t(i) * BytesPerBlock;
        for (int j = 0; j < ColumnsPerBlock; ++j) {
            for (int k = 0; k < 2; ++k) {
                quint8 accumulator = 0;
                for (int b = 7; b >= 0; --b) {
                    accumulator = quint8(accumulator << 1);
                    if (surface.pixel(j, 8 * k + b) == 0)
                        accumulator |= 1;
                }
                block[2 * j + k] = accumulator;
            }
        }
    }
    return bytes;
}

} // namespace lumawrite::render

namespace lumawrite::render {
namespace {

// Pixels per em at 96 dots per inch.
int pixelSize(int pointSize)
{
    return pointSize * 96 / 72;
}

// Room around the text for ink that leaves its line box (accents, slants, swashes).
int margin(int pointSize)
{
    return pixelSize(pointSize) / 2 + 8;
}

// A line drawn in one piece costs time that grows with the square of its length (250 wide
// glyphs at 60 points: half a second). The rows a glyph inks do not depend on where along its
// line it stands, so the rows are found from each line's distinct grapheme clusters, drawn a
// few at a time on the line's own baseline.
constexpr int ClustersPerPiece = 8;

// The grapheme clusters of a line, each once, in the order they first appear.
QStringList distinctClusters(const QString &line)
{
    QStringList clusters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    qsizetype from = 0;
    for (qsizetype to = finder.toNextBoundary(); to > 0; to = finder.toNextBoundary()) {
        const QString cluster = line.mid(from, to - from);
        if (!clusters.contains(cluster))
            clusters.append(cluster);
        from = to;
    }
    return clusters;
}

struct InkRows {
    bool any = false;
    int top = 0, bottom = 0; // relative to the drawing position
};

// Pieces of text drawn at (pad, pad), one over another, on a strip tall enough for all the
// lines; each piece is drawn on the baseline of its line (the line breaks before it).
QRect piecesInk(StripSurface &strip, const QStringList &pieces, int lines, int pointSize)
{
    const int pad = margin(pointSize);
    int widest = 0;
    for (const QString &piece : pieces)
        widest = qMax(widest, strip.measureText(piece));
    // Each line gets two ems, more than any typeface's line spacing.
    strip.resize(widest + 2 * pad, lines * 2 * pixelSize(pointSize) + 2 * pad);
    strip.clear();
    for (const QString &piece : pieces) {
        strip.setPosition(pad, pad);
        strip.drawText(piece);
    }
    const QRect ink = strip.inkBounds();
    return ink.isEmpty() ? ink : ink.translated(-pad, -pad);
}

// The rows the text inks at this size, in the request's typeface and styles.
InkRows inkRows(StripSurface &strip, const RenderRequest &r, int pointSize)
{
    RenderRequest sized = r;
    sized.pointSize = pointSize;
    applyFont(strip, sized);
    const QStringList lines = splitLines(r.text);
    QStringList pieces;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString above = QStringLiteral("\r\n").repeated(n);
        const QStringList clusters = distinctClusters(lines[n]);
        for (qsizetype i = 0; i < clusters.size(); i += ClustersPerPiece)
            pieces.append(above + clusters.mid(i, ClustersPerPiece).join(QString()));
    }
    const QRect ink = piecesInk(strip, pieces, int(lines.size()), pointSize);
    if (ink.isEmpty())
        return {};
    return {true, ink.top(), ink.bottom()};
}

// The first column of ink, relative to the drawing position. Only the first glyphs of a line
// can reach left of it (an italic slant, a swash), so each line is drawn up to two ems, at most
// one piece.
int inkLeft(StripSurface &strip, const RenderRequest &r)
{
    applyFont(strip, r);
    const QStringList lines = splitLines(r.text);
    QStringList starts;
    for (const QString &line : lines) {
        QString start;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
        int clusters = 0;
        for (qsizetype to = finder.toNextBoundary(); to > 0 && clusters < ClustersPerPiece;
             to = finder.toNextBoundary(), ++clusters) {
            start = line.left(to);
            if (strip.measureText(start) >= 2 * pixelSize(r.pointSize))
                break;
        }
        starts.append(start);
    }
    const QRect ink =
        piecesInk(strip, {starts.join(QStringLiteral("\r\n"))}, int(lines.size()), r.pointSize);
    return ink.isEmpty() ? 0 : ink.left();
}

} // namespace

std::vector<quint8> renderColumns(StripSurface &strip, const RenderRequest &request)
{
    const int blocks = blockCountForWidth(request.width);
    const int columns = blocks * ColumnsPerBlock;
    strip.resize(columns, RowsPerColumn);
    drawMessage(strip, request);

    std::vector<quint8> bytes(std::size_t(blocks) * BytesPerBlock, 0);
    for (int c = 0; c < columns; ++c)
        for (int row = 0; row < RowsPerColumn; ++row)
            if (strip.pixel(c, row) == 0)
                bytes[std::size_t(2 * c + row / 8)] |= quint8(1 << (row % 8));
    return bytes;
}

FitReport checkFit(StripSurface &strip, const RenderRequest &request, int maxColumns)
{
    FitReport report;
    report.maxColumns = maxColumns;
    const InkRows rows = inkRows(strip, request, request.pointSize);
    report.hasInk = rows.any;
    if (rows.any) {
        report.rowsAbove = qMax(0, -(rows.top + request.offset));
        report.rowsBelow = qMax(0, rows.bottom + request.offset - (RowsPerColumn - 1));
        report.columnsLeft = qMax(0, -inkLeft(strip, request));
    }
    applyFont(strip, request);
    report.excessColumns = qMax(0, strip.measureText(request.text) - maxColumns);
    report.missingCharacters = strip.missingCharacters(request.text);
    if (strip.drawsSymbols())
        report.symbolFont = request.family;
    return report;
}

QStringList fitFindings(const FitReport &report)
{
    QStringList lines;
    if (!report.symbolFont.isEmpty())
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "%1 draws symbols, not letters.")
                     .arg(report.symbolFont);
    if (report.rowsAbove == 1)
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "1 row of the text cut off at the top.");
    else if (report.rowsAbove > 1)
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "%1 rows of the text cut off at the top.")
                     .arg(report.rowsAbove);
    if (report.rowsBelow == 1)
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "1 row of the text cut off at the bottom.");
    else if (report.rowsBelow > 1)
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "%1 rows of the text cut off at the bottom.")
                     .arg(report.rowsBelow);
    if (report.columnsLeft == 1)
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "1 column of the slant cut off at the left.");
    else if (report.columnsLeft > 1)
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "%1 columns of the slant cut off at the left.")
                     .arg(report.columnsLeft);
    if (!report.missingCharacters.isEmpty())
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "This typeface cannot draw: %1")
                     .arg(report.missingCharacters);
    if (report.excessColumns > 0)
        lines << QCoreApplication::translate("lumawrite::render::FitCheck",
                                             "%1 columns too wide to upload (at most %2).")
                     .arg(report.excessColumns)
                     .arg(report.maxColumns);
    return lines;
}

std::optional<FitChoice> bestFit(StripSurface &strip, const RenderRequest &request)
{
    for (int size = 60; size >= 6; --size) {
        const InkRows box = inkRows(strip, request, size);
        if (!box.any)
            return std::nullopt;
        const int height = box.bottom - box.top + 1;
        if (height > RowsPerColumn)
            continue;
        // Centre the ink in the 16 rows, within the offsets the list offers.
        const int centred = -box.top + (RowsPerColumn - height) / 2;
        const int low = qMax(-box.top, -10);                       // ink starts on row 0
        const int high = qMin(RowsPerColumn - 1 - box.bottom, 10); // ink ends on row 15
        if (low > high)
            continue;
        return FitChoice{size, qBound(low, centred, high)};
    }
    return std::nullopt;
}

} // namespace lumawrite::render
