#include "Notifier.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <optional>

namespace lumawrite::platform {
namespace {

// A message box centred on a given area. The platform centres a box on its parent as it
// stands, which before the parent's first showing is not where the parent will be seen.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    std::optional<QRect> area;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event); // sizes the box and places it on its parent
        if (area && !event->spontaneous())
            move(area->center() - rect().center());
    }
};

QMessageBox::Icon iconOf(Notifier::Kind kind)
{
    switch (kind) {
    case Notifier::Kind::Critical:
        return QMessageBox::Critical;
    case Notifier::Kind::Warning:
        return QMessageBox::Warning;
    case Notifier::Kind::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

QPoint centredOnScreen(QSize size, const QScreen *screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return screen->availableGeometry().center() - QRect(QPoint(), size).center();
}

void MessageBoxNotifier::show(QWidget *parent, Kind kind, const QString &title, const QString &text)
{
    CentredMessageBox box(iconOf(kind), title, text, QMessageBox::NoButton, parent);
    box.setDefaultButton(box.addButton(QMessageBox::Ok));
    if (!parent) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            box.area = screen->availableGeometry();
    } else if (!parent->window()->isVisible()) {
        box.area = parent->window()->geometry();
    }
    box.exec();
}

bool MessageBoxNotifier::ask(QWidget *parent, const QString &title, const QString &text)
{
    CentredMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QMessageBox::Yes);
    box.setDefaultButton(box.addButton(QMessageBox::No));
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace lumawrite::platform
