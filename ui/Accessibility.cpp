#include "Accessibility.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace lumawrite::ui {
namespace {

AccessibleSink g_sink = &QAccessible::updateAccessibility;

void announce(QWidget *widget, QAccessible::Event type)
{
    QAccessibleEvent event(widget, type);
    g_sink(&event);
}

// Turns Enter on a focused, enabled push button into a click; everything else passes.
class EnterPress : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        // Taken here, so that a dialog's own Enter handling never sees it.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

} // namespace

AccessibleSink setAccessibleSink(AccessibleSink sink)
{
    AccessibleSink previous = g_sink;
    g_sink = sink ? sink : &QAccessible::updateAccessibility;
    return previous;
}

void showSpokenText(QLabel *label, const QString &what, const QString &text)
{
    label->setText(text);
    QString spoken = text.simplified();
    const QString name = spoken.isEmpty() ? what : what + QStringLiteral(": ") + spoken;
    if (label->accessibleName() == name)
        return;
    label->setAccessibleName(name);
    announce(label, QAccessible::NameChanged);
}

void describe(QWidget *widget, const QString &description)
{
    if (widget->accessibleDescription() == description)
        return;
    widget->setAccessibleDescription(description);
    announce(widget, QAccessible::DescriptionChanged);
}

void pressButtonsOnEnter(QWidget *window)
{
    auto *filter = new EnterPress(window);
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(filter);
    }
}

} // namespace lumawrite::ui
