#pragma once

#include <QString>

class QAccessibleEvent;
class QLabel;
class QWidget;

namespace lumawrite::ui {

// Where the windows send their accessibility notices; the platform's bridge unless replaced.
using AccessibleSink = void (*)(QAccessibleEvent *event);
// Replaces the sink and returns the one it replaced (a test records the notices this way).
AccessibleSink setAccessibleSink(AccessibleSink sink);

// Shows text in a label that a screen reader reads by its name "<what>: <text>" (just <what>
// while the label is empty). A change of the name is announced, an unchanged one is not.
void showSpokenText(QLabel *label, const QString &what, const QString &text);

// Sets a widget's accessible description, announcing a change.
void describe(QWidget *widget, const QString &description);

// Enter and Return on a focused push or tool button of the window press it, as Space does. No
// button becomes a default button that Enter would press from another control.
void pressButtonsOnEnter(QWidget *window);

// A caption that a screen reader need not read: the value label beside it names the same (the
// counters' "Chars." beside "Characters: 20").
void leaveUnspoken(QLabel *caption);

} // namespace lumawrite::ui
