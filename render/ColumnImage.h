#pragma once

#include "Surface.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace lumawrite::render {

constexpr int ColumnsPerBlock = 64;
constexpr int RowsPerColumn = 16;
constexpr int BytesPerBlock = 128;
// The widest message whose blocks, with the five blank blocks sent behind it, still fit the
// sign memory image: 151 blocks.
constexpr int MaxUploadBlocks = 151;
constexpr int MaxUploadWidth = MaxUploadBlocks * ColumnsPerBlock - 1; // 9663 columns

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

// Blocks of 64 columns that a message of this width occupies: width div 64, plus one.
int blockCountForWidth(int width);

// Renders the message one 64-column block at a time: for block i the surface is cleared, the
// whole text is drawn at (-64 i, offset), and columns 0..63, rows 0..15 are read back. Each
// column is two bytes: bit b of the first byte is row b, bit b of the second is row 8 + b; a
// bit is set exactly when the pixel is black. Returns blockCountForWidth(width) * 128 bytes.
std::vector<quint8> CreateBitMap(Surface &surface, const RenderRequest &request);

} // namespace lumawrite::render
