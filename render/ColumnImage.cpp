#include "ColumnImage.h"

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

std::vector<quint8> CreateBitMap(Surface &surface, const RenderRequest &request)
{
    applyFont(surface, request);

    const int blocks = blockCountForWidth(request.width);
    std::vector<quint8> bytes(std::size_t(blocks) * BytesPerBlock, 0);
    for (int i = 0; i < blocks; ++i) {
        surface.clear();
        surface.setPosition(-ColumnsPerBlock * i, request.offset);
        surface.drawText(request.text);
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

struct InkBox {
    bool any = false;
    int top = 0, bottom = 0, left = 0; // relative to the drawing position
};

// Draws the text once at (pad, pad) on a strip tall enough for all its lines and finds its ink.
InkBox inkBox(StripSurface &strip, const RenderRequest &r, int pointSize, int *width = nullptr)
{
    RenderRequest sized = r;
    sized.pointSize = pointSize;
    applyFont(strip, sized);
    const int pad = margin(pointSize);
    const int w = strip.measureText(r.text);
    if (width)
        *width = w;
    const int lines = int(splitLines(r.text).size());
    // Each line gets two ems, more than any typeface's line spacing.
    strip.resize(w + 2 * pad, lines * 2 * pixelSize(pointSize) + 2 * pad);
    strip.clear();
    strip.setPosition(pad, pad);
    strip.drawText(r.text);
    const QRect ink = strip.inkBounds();
    if (ink.isEmpty())
        return {};
    return {true, ink.top() - pad, ink.bottom() - pad, ink.left() - pad};
}

} // namespace

std::vector<quint8> renderColumns(StripSurface &strip, const RenderRequest &request)
{
    applyFont(strip, request);
    const int blocks = blockCountForWidth(request.width);
    const int columns = blocks * ColumnsPerBlock;
    strip.resize(columns, RowsPerColumn);
    strip.clear();
    strip.setPosition(0, request.offset);
    strip.drawText(request.text);

    std::vector<quint8> bytes(std::size_t(blocks) * BytesPerBlock, 0);
    for (int c = 0; c < columns; ++c)
        for (int row = 0; row < RowsPerColumn; ++row)
            if (strip.pixel(c, row) == 0)
                bytes[std::size_t(2 * c + row / 8)] |= quint8(1 << (row % 8));
    return bytes;
}

FitReport checkFit(StripSurface &strip, const RenderRequest &request)
{
    FitReport report;
    int width = 0;
    const InkBox box = inkBox(strip, request, request.pointSize, &width);
    report.hasInk = box.any;
    if (box.any) {
        report.rowsAbove = qMax(0, -(box.top + request.offset));
        report.rowsBelow = qMax(0, box.bottom + request.offset - (RowsPerColumn - 1));
        report.columnsLeft = qMax(0, -box.left);
    }
    report.excessColumns = qMax(0, width - MaxUploadWidth);
    report.missingCharacters = strip.missingCharacters(request.text);
    return report;
}

namespace {

// Each line cut down to its distinct characters: the same glyphs at the same heights, so the
// same rows of ink, at a fraction of the width.
QString distinctCharactersByLine(const QString &text)
{
    QStringList lines = splitLines(text);
    for (QString &line : lines) {
        QString distinct;
        for (const uint c : line.toUcs4()) {
            const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
            if (!distinct.contains(character))
                distinct += character;
        }
        line = distinct;
    }
    return lines.join(QStringLiteral("\r\n"));
}

std::optional<FitChoice> fitFor(StripSurface &strip, const RenderRequest &request, int largest)
{
    for (int size = largest; size >= 6; --size) {
        const InkBox box = inkBox(strip, request, size);
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

} // namespace

std::optional<FitChoice> bestFit(StripSurface &strip, const RenderRequest &request)
{
    // Search on the distinct characters, then confirm on the whole text; a size the short
    // text cannot fit, the whole text cannot either.
    RenderRequest shortText = request;
    shortText.text = distinctCharactersByLine(request.text);
    for (int largest = 60; largest >= 6;) {
        const auto candidate = fitFor(strip, shortText, largest);
        if (!candidate)
            return std::nullopt;
        RenderRequest whole = request;
        whole.pointSize = candidate->pointSize;
        whole.offset = candidate->offset;
        const FitReport check = checkFit(strip, whole);
        if (check.rowsAbove == 0 && check.rowsBelow == 0)
            return candidate;
        largest = candidate->pointSize - 1;
    }
    return std::nullopt;
}

} // namespace lumawrite::render
