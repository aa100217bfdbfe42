#include "ColumnImage.h"

namespace lumawrite::render {

int blockCountForWidth(int width)
{
    return (width > 0 ? width : 0) / ColumnsPerBlock + 1;
}

std::vector<quint8> CreateBitMap(Surface &surface, const RenderRequest &request)
{
    surface.setFontName(request.family);
    surface.setFontSize(request.pointSize);
    surface.setBold(request.bold);
    surface.setItalic(request.italic);
    surface.setStrikethrough(request.strikethrough);
    surface.setUnderline(request.underline);

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
