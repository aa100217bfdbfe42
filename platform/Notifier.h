#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class QScreen;
class QWidget;

namespace lumawrite::platform {

// Every message box of the program goes through here, so that a test can see what an operator
// would be shown without a modal box blocking it.
class Notifier {
public:
    enum class Kind { Critical, Warning, Information };

    virtual ~Notifier() = default;
    virtual void show(QWidget *parent, Kind kind, const QString &title, const QString &text) = 0;

    void critical(QWidget *parent, const QString &title, const QString &text)
    {
        show(parent, Kind::Critical, title, text);
    }
    void warning(QWidget *parent, const QString &title, const QString &text)
    {
        show(parent, Kind::Warning, title, text);
    }
    // A question with Yes and No; true for Yes.
    virtual bool ask(QWidget *parent, const QString &title, const QString &text) = 0;
};

// Where a window of this size stands centred on the available area of a screen (the primary
// screen when none is given): its top-left corner. The main window opens there.
QPoint centredOnScreen(QSize size, const QScreen *screen = nullptr);

// Shows a modal message box with a single OK button, centred on its parent's window. A box
// raised before that window is first shown is centred where the window stands already, and a
// box without a parent where the main window stands when first shown: on the screen.
class MessageBoxNotifier : public Notifier {
public:
    void show(QWidget *parent, Kind kind, const QString &title, const QString &text) override;
    bool ask(QWidget *parent, const QString &title, const QString &text) override;
};

} // namespace lumawrite::platform
