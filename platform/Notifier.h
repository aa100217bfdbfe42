#pragma once

#include <QString>

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
};

// Shows a modal message box with a single OK button.
class MessageBoxNotifier : public Notifier {
public:
    void show(QWidget *parent, Kind kind, const QString &title, const QString &text) override;
};

} // namespace lumawrite::platform
