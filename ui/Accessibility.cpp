#include "Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

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
        auto *button = qobject_cast<QAbstractButton *>(watched);
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
    for (QToolButton *button : window->findChildren<QToolButton *>())
        button->installEventFilter(filter);
}

namespace {

const char NotSpoken[] = "lumawrite_notSpoken";

// A caption whose words a value label beside it already says: a screen reader skips it.
class UnspokenCaption : public QAccessibleWidget {
public:
    explicit UnspokenCaption(QWidget *label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface *unspokenCaptions(const QString &, QObject *object)
{
    if (object && object->isWidgetType() && object->property(NotSpoken).toBool())
        return new UnspokenCaption(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void leaveUnspoken(QLabel *caption)
{
    static const bool installed = [] {
        QAccessible::installFactory(unspokenCaptions);
        return true;
    }();
    Q_UNUSED(installed);
    caption->setProperty(NotSpoken, true);
    // An interface made for it before (its text was set) is made anew, unspoken.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(caption))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace lumawrite::ui
