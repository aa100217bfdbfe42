#pragma once

#include "Surface.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>

namespace lumawrite::platform {

// An off-screen image that text is drawn on and read back from. It works at a fixed 96 dots
// per inch, so a point size means the same number of pixels on every screen, and draws without
// antialiasing, so a glyph pixel is exactly the text colour.
class ImageSurface : public render::StripSurface {
public:
    static constexpr int DotsPerInch = 96;

    ImageSurface(QSize size, QColor background, QColor text);

    void clear() override;
    void setFontName(const QString &family) override;
    void setFontSize(double points) override;
    void setBold(bool on) override;
    void setItalic(bool on) override;
    void setStrikethrough(bool on) override;
    void setUnderline(bool on) override;
    void setPosition(int x, int y) override;
    void drawText(const QString &text) override;
    void drawDots(const std::vector<quint16> &columns) override;
    int measureText(const QString &text) const override;
    QRgb pixel(int x, int y) const override;
    void resize(int width, int height) override;
    int width() const override { return m_image.width(); }
    int height() const override { return m_image.height(); }
    QString missingCharacters(const QString &text) const override;
    QRect inkBounds() const override;
    bool drawsSymbols() const override;

    const QImage &image() const { return m_image; }
    const QFont &font() const { return m_font; }

private:
    QImage m_image;
    QColor m_background;
    QColor m_text;
    QFont m_font;
    QPoint m_position;
};

} // namespace lumawrite::platform
