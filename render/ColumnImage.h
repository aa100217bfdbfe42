#pragma once

#include "Surface.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace lumawrite::render {

constexpr int ColumnsPerBlock = 64;
constexpr int RowsPerColumn = 16;
constexpr int BytesPerBlock = 128;

// What the message is drawn with; plain values, taken from the text entry window.
struct RenderRequest {
    QString family;
    int pointSize = 12;
    bool bold = false;
    bool italic = false;
    bool strikethrough = false;
    bool underline = false;
    int offset = 0; // vertical drawing position in pixels
    QString text;
    int width = 0; // the measured width in pixels
};

// A message ready for the sign: what it was drawn with and its column image, whole blocks of
// 128 bytes as CreateBitMap gives them.
struct UploadPlan {
    RenderRequest request;
    std::vector<quint8> columns;
    int blocks() const { return int(columns.size() / BytesPerBlock); }
};

// Gives the surface the request's typeface, size and four styles.
void applyFont(Surface &surface, const RenderRequest &request);

// Draws the message on the surface: the request's font, the surface cleared, the text placed
// at (x, offset). x is 0 for the start of the message, -64 i to bring block i to column 0.
void drawMessage(Surface &surface, const RenderRequest &request, int x = 0);

// Blocks of 64 columns that a message of this width occupies: width div 64, plus one.
int blockCountForWidth(int width);

// Renders the message one 64-column block at a time: for block i the surface is cleared, the
// whole text is drawn at (-64 i, offset), and columns 0..63, rows 0..15 are read back. Each
// column is two bytes: bit b of the first byte is row b, bit b of the second is row 8 + b; a
// bit is set exactly when the pixel is black. Returns blockCountForWidth(width) * 128 bytes.
std::vector<quint8> CreateBitMap(Surface &surface, const RenderRequest &request);

// The same bytes as CreateBitMap, from a single drawing of the whole message on a strip as wide
// as all its blocks: the text lands on the same pixels, only shifted by whole blocks.
std::vector<quint8> renderColumns(StripSurface &strip, const RenderRequest &request);

// The colour of a lit dot in a picture of a column image: amber.
constexpr QRgb LitDot = 0xFFB000;

// Whether a dot of a column image is lit (two bytes a column: bit b of the first byte is row b,
// of the second row 8 + b); false outside the image.
bool dotLit(const QByteArray &columns, int column, int row);

// The column image as a picture, one pixel a dot: lit dots amber, the others black; at least
// one pixel wide.
QImage columnPixels(const QByteArray &columns);

// Where the text's ink falls against the 16 rows and the first column the sign takes.
struct FitReport {
    int rowsAbove = 0;     // rows of ink above row 0
    int rowsBelow = 0;     // rows of ink below row 15
    int columnsLeft = 0;   // columns of ink left of column 0 (an italic overhang)
    int excessColumns = 0; // columns beyond the widest message that may be uploaded
    int maxColumns = 0;    // that widest message
    bool hasInk = false;
    QString missingCharacters; // characters the typeface has no glyph for
    QString symbolFont;        // the typeface, when it draws symbols instead of letters
    bool fits() const { return rowsAbove == 0 && rowsBelow == 0 && columnsLeft == 0; }
};
// maxColumns is the widest message that may be uploaded.
FitReport checkFit(StripSurface &strip, const RenderRequest &request, int maxColumns);

// The report's findings, one sentence each, as the text entry window lists them: rows cut off
// at the top and bottom, slant cut off at the left, characters the typeface cannot draw,
// columns too wide. Empty when the text fits.
QStringList fitFindings(const FitReport &report);

// The largest size, and an offset for it, at which all ink of the text lies within the 16
// rows, in the request's typeface and styles. None when no size fits or the text has no ink.
struct FitChoice {
    int pointSize = 0;
    int offset = 0;
};
std::optional<FitChoice> bestFit(StripSurface &strip, const RenderRequest &request);

} // namespace lumawrite::render
