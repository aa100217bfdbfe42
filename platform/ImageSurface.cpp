#include "ImageSurface.h"

#include "Fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRawFont>

#include <algorithm>

namespace lumawrite::platform {

namespace {
void setFixedResolution(QImage &image)
{
    const int dotsPerMetre = qRound(ImageSurface::DotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
}
} // namespace

ImageSurface::ImageSurface(QSize size, QColor background, QColor text)
    : m_image(size, QImage::Format_RGB32), m_background(background), m_text(text)
{
    setFixedResolution(m_image);
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

void ImageSurface::drawDots(const std::vector<quint16> &columns)
{
    const QRgb lit = m_text.rgb();
    for (int i = 0; i < int(columns.size()); ++i) {
        const int x = m_position.x() + i;
        for (int r = 0; r < 16; ++r) {
            const int y = m_position.y() + r;
            if ((columns[std::size_t(i)] >> r & 1) && m_image.rect().contains(x, y))
                m_image.setPixel(x, y, lit);
        }
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

void ImageSurface::resize(int width, int height)
{
    if (width == m_image.width() && height == m_image.height())
        return;
    m_image = QImage(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    setFixedResolution(m_image);
}

QString ImageSurface::missingCharacters(const QString &text) const
{
    const QRawFont raw = QRawFont::fromFont(m_font);
    QString missing;
    for (const uint c : text.toUcs4()) {
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t')
            continue;
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
        if (!raw.supportsCharacter(c) && !missing.contains(character))
            missing += character;
    }
    return missing;
}

QRect ImageSurface::inkBounds() const
{
    const QRgb ink = m_text.rgb() | 0xFF000000;
    const int width = m_image.width();
    const int height = m_image.height();
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(m_image.constScanLine(y));
        const QRgb *firstInk = std::find(line, line + width, ink);
        if (firstInk == line + width)
            continue;
        const int first = int(firstInk - line);
        int last = width - 1;
        while (line[last] != ink)
            --last;
        if (top < 0)
            top = y;
        bottom = y;
        left = qMin(left, first);
        right = qMax(right, last);
    }
    if (top < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool ImageSurface::drawsSymbols() const
{
    return platform::drawsSymbols(m_font.family());
}

} // namespace lumawrite::platform
