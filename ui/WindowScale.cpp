#include "WindowScale.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace lumawrite::ui {
namespace {

int scaled(int value, double scale)
{
    return int(std::lround(value * scale));
}

QRect scaledRect(const QRect &r, double scale)
{
    const int left = scaled(r.left(), scale);
    const int top = scaled(r.top(), scale);
    return {left, top, scaled(r.left() + r.width(), scale) - left,
            scaled(r.top() + r.height(), scale) - top};
}

// Controls whose children are placed by the window: a group box or a plain frame or widget.
// Anything else (a text box, a list, a scroll area) arranges its own inner parts.
bool holdsPlacedControls(const QWidget *widget)
{
    const QMetaObject *type = widget->metaObject();
    return type == &QGroupBox::staticMetaObject || type == &QFrame::staticMetaObject ||
           type == &QWidget::staticMetaObject;
}

void scaleChildren(QWidget *parent, double scale, const QList<QWidget *> &keepSize)
{
    if (parent->layout())
        return;
    const auto children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->isWindow())
            continue;
        if (keepSize.contains(child)) {
            const QRect place = scaledRect(child->geometry(), scale);
            child->move(place.left() + (place.width() - child->width()) / 2,
                        place.top() + (place.height() - child->height()) / 2);
            continue;
        }
        const bool fixedSize = child->minimumSize() == child->maximumSize();
        if (fixedSize || !child->testAttribute(Qt::WA_Resized)) {
            child->move(scaled(child->x(), scale), scaled(child->y(), scale));
        } else {
            child->setGeometry(scaledRect(child->geometry(), scale));
        }
        if (!fixedSize && holdsPlacedControls(child))
            scaleChildren(child, scale, keepSize);
    }
}

} // namespace

double fontPixelSize(const QFont &font, double logicalDpiY)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return font.pointSizeF() * logicalDpiY / 72.0;
}

double windowScale(double desktopFontPixels)
{
    const double reference = ReferenceFontPointSize * ReferenceDpi / 72.0;
    return std::max(1.0, desktopFontPixels / reference);
}

double desktopWindowScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : ReferenceDpi;
    return windowScale(fontPixelSize(QApplication::font(), dpi));
}

void scaleWindow(QWidget *window, double scale, const QList<QWidget *> &keepSize)
{
    if (scale <= 1.0)
        return;
    const QSize size = window->size();
    const QSize larger(scaled(size.width(), scale), scaled(size.height(), scale));
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(larger);
    else
        window->resize(larger);
    scaleChildren(window, scale, keepSize);
}

double fittedScale(double scale, QSize windowSize, QSize available)
{
    if (windowSize.isEmpty() || available.isEmpty())
        return std::max(1.0, scale);
    const double room = std::min(double(available.width()) / windowSize.width(),
                                 double(available.height()) / windowSize.height());
    return std::max(1.0, std::min(scale, room));
}

namespace {

QSize screenArea(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}

ScreenArea g_screenArea = screenArea;

} // namespace

ScreenArea setScreenArea(ScreenArea area)
{
    ScreenArea previous = g_screenArea;
    g_screenArea = area ? std::move(area) : ScreenArea(screenArea);
    return previous;
}

void scaleToDesktopFont(QWidget *window, const QList<QWidget *> &keepSize)
{
    const double wanted = desktopWindowScale();
    const double scale = fittedScale(wanted, window->size(), g_screenArea(window));
    if (scale < wanted) {
        QFont smaller = window->font();
        if (smaller.pixelSize() > 0)
            smaller.setPixelSize(std::max(1, int(smaller.pixelSize() * scale / wanted)));
        else
            smaller.setPointSizeF(smaller.pointSizeF() * scale / wanted);
        window->setFont(smaller);
    }
    scaleWindow(window, scale, keepSize);
}

} // namespace lumawrite::ui
