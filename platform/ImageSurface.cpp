#include "ImageSurface.h"

#include <QFontMetrics>
#include <QPainter>

namespace lumawrite::platform {

ImageSurface::ImageSurface(QSize size, QColor background, QColor text)
    : m_image(size, QImage::Format_RGB32), m_background(background), m_text(text)
{
    const int dotsPerMetre = qRound(DotsPerInch / 0.0254);
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(dotsPerMetre);
    m_font.setStyleStrategy(QFont::NoAntialias);
    m_font.setHintingPreference(QFont::PreferFullHinting);
    m_font.setKerning(true);
    clear();
}

void ImageSurface::clear()
{
    m_image.fill(m_background);
    m_position = QPoint(0, 0);
}

void ImageSurface::setFontName(const QString &family)
{
    m_font.setFamily(family);
}
void ImageSurface::setFontSize(double points)
{
    m_font.setPointSizeF(points);
}
void ImageSurface::setBold(bool on)
{
    m_font.setBold(on);
}
void ImageSurface::setItalic(bool on)
{
    m_font.setItalic(on);
}
void ImageSurface::setStrikethrough(bool on)
{
    m_font.setStrikeOut(on);
}
void ImageSurface::setUnderline(bool on)
{
    m_font.setUnderline(on);
}
void ImageSurface::setPosition(int x, int y)
{
    m_position = QPoint(x, y);
}

void ImageSurface::drawText(const QString &text)
{
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(m_font);
    painter.setPen(m_text);
    const QFontMetrics metrics(m_font, &m_image);
    int baseline = m_position.y() + metrics.ascent();
    for (const QString &line : render::splitLines(text)) {
        painter.drawText(QPoint(m_position.x(), baseline), line);
        baseline += metrics.lineSpacing();
    }
}

int ImageSurface::measureText(const QString &text) const
{
    const QFontMetrics metrics(m_font, &m_image);
    int widest = 0;
    for (const QString &line : render::splitLines(text))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

QRgb ImageSurface::pixel(int x, int y) const
{
    if (!m_image.valid(x, y))
        return m_background.rgb() & 0xFFFFFF;
    return m_image.pixel(x, y) & 0xFFFFFF;
}

} // namespace lumawrite::platform
