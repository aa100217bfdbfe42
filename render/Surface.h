#pragma once

#include <QRgb>
#include <QString>
#include <QStringList>

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

    // Width in whole pixels of the text in the current font; the widest line for several.
    virtual int measureText(const QString &text) const = 0;

    // The colour at (x, y) as 0xRRGGBB; 0 is black.
    virtual QRgb pixel(int x, int y) const = 0;
};

// The lines of a text, split at CR LF, LF or a lone CR.
QStringList splitLines(const QString &text);

} // namespace lumawrite::render
