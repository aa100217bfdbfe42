#include "MessageEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace lumawrite::ui {

MessageEdit::MessageEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

int MessageEdit::countChars(const QString &plainText)
{
    return int(plainText.size() + plainText.count(QLatin1Char('\n')));
}

QString MessageEdit::normalized(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    s.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return s;
}

QString MessageEdit::fit(const QString &text, int room)
{
    int used = 0;
    qsizetype n = 0;
    for (; n < text.size(); ++n) {
        const int cost = text[n] == QLatin1Char('\n') ? 2 : 1;
        if (used + cost > room)
            break;
        used += cost;
    }
    // Never split a surrogate pair.
    if (n > 0 && n < text.size() && text[n - 1].isHighSurrogate())
        --n;
    return text.left(n);
}

QString MessageEdit::messageText() const
{
    QString s = toPlainText();
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

void MessageEdit::setMessageText(const QString &text)
{
    setPlainText(fit(normalized(text), MaxChars));
}

int MessageEdit::room() const
{
    const int selected = countChars(normalized(textCursor().selectedText()));
    return MaxChars - countChars(toPlainText()) + selected;
}

void MessageEdit::keyPressEvent(QKeyEvent *event)
{
    QString inserted;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        inserted = QStringLiteral("\n");
    else if (!event->text().isEmpty() &&
             (event->text()[0].isPrint() || event->key() == Qt::Key_Tab) &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        inserted = event->text();

    if (!inserted.isEmpty() && countChars(inserted) > room()) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MessageEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    const QString text = fit(normalized(source->text()), room());
    if (text.isEmpty()) {
        QApplication::beep();
        return;
    }
    textCursor().insertText(text);
    ensureCursorVisible();
}

void MessageEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty()) {
        const QString committed = normalized(event->commitString());
        const QString fitted = fit(committed, room());
        if (fitted != committed)
            event->setCommitString(fitted, event->replacementStart(), event->replacementLength());
    }
    QPlainTextEdit::inputMethodEvent(event);
}

} // namespace lumawrite::ui
