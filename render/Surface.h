#pragma once

#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <vector>

namespace lumawrite::render {

// The drawing surface that text is rendered on and read back from, in pixels: origin at the
// top-left corner, x to the right, y downward; positions may be negative.
class Surface {
public:
    virtual ~Surface() = default;

    // Fills the whole surface with the background colour; the drawing position goes to (0, 0).
    virtual void clear() = 0;

    // Each changes one attribute of the current font and leaves the others as they are.
    virtual void setFontName(const QString &family) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;
    virtual void setStrikethrough(bool on) = 0;
    virtual void setUnderline(bool on) = 0;

    virtual void setPosition(int x, int y) = 0;

    // Draws the text with the top-left corner of its first line box at the drawing position,
    // in the text colour only. Each further line stands one line height below the last.
    virtual void drawText(const QString &text) = 0;

    // Lights dots in the text colour, as a picture on the sign: bit r of columns[i] is the
    // pixel at (x + i, y + r) from the drawing position. What falls off the surface is lost.
    virtual void drawDots(const std::vector<quint16> &columns) = 0;

    // Width in whole pixels of the text in the current font; the widest line for several.
    virtual int measureText(const QString &text) const = 0;

    // The colour at (x, y) as 0xRRGGBB; 0 is black.
    virtual QRgb pixel(int x, int y) const = 0;
};

// A surface that can be made as large as a whole message, so that the text is drawn once and
// every column read from the one drawing.
class StripSurface : public Surface {
public:
    // Resizes the drawing area (its content is lost until the next clear).
    virtual void resize(int width, int height) = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // The characters of the text that the current font itself has no glyph for (they are
    // drawn from another font or as a box), each once.
    virtual QString missingCharacters(const QString &text) const = 0;
    // The smallest rectangle holding every pixel of exact text colour (empty when none).
    virtual QRect inkBounds() const = 0;
    // Whether the current font draws symbols in the place of letters.
    virtual bool drawsSymbols() const { return false; }
};

// The lines of a text, split at CR LF, LF or a lone CR.
QStringList splitLines(const QString &text);

} // namespace lumawrite::render
