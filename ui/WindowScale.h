#pragma once

#include <QList>

#include <functional>

#include <QSize>

class QFont;
class QWidget;

namespace lumawrite::ui {

// The windows are laid out in pixels measured with this desktop font size, at 96 dots per inch
// (12 pixels). A larger desktop font makes every window that much larger.
constexpr double ReferenceFontPointSize = 9;
constexpr double ReferenceDpi = 96;

// The font's size in pixels on a screen of the given logical resolution: its pixel size when it
// is set in pixels, else its point size times dpi / 72.
double fontPixelSize(const QFont &font, double logicalDpiY);

// How much larger the windows are drawn for a desktop font of that many pixels: its ratio to the
// reference font's pixels, never below 1.
double windowScale(double desktopFontPixels);

// The scale for the application's font on the primary screen, as the windows are built.
double desktopWindowScale();

// The scale, lowered where needed so that a window of windowSize at scale 1 fits the available
// area of the screen at the scale; never below 1 (a window larger than the screen at 1 keeps 1).
double fittedScale(double scale, QSize windowSize, QSize available);

// Scales the window's fixed size and the geometry of every control in it. Each edge is scaled
// and rounded on its own, so that controls that meet still meet. A control placed without a
// size only moves (it takes its size from its contents when shown), and so does one of a fixed
// size (the sign view with its dots), with all inside it. The controls in keepSize keep their
// pixels and are centred in their scaled place. At a scale of 1 nothing is touched.
void scaleWindow(QWidget *window, double scale, const QList<QWidget *> &keepSize = {});

// Where a window's screen has room for it: the available geometry of its screen (the primary
// one before it is shown) unless replaced. Returns the source it replaced; an empty one restores
// the screen's.
using ScreenArea = std::function<QSize(const QWidget *window)>;
ScreenArea setScreenArea(ScreenArea area);

// scaleWindow with desktopWindowScale(), fitted to the window's screen area. A window that had to
// be drawn smaller than the desktop font asks for takes a font smaller by as much, so that its
// captions still fit.
void scaleToDesktopFont(QWidget *window, const QList<QWidget *> &keepSize = {});

} // namespace lumawrite::ui
