#include "MessageEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace lumawrite::ui {

using render::countChars;

MessageEdit::MessageEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(document(), &QTextDocument::contentsChange, this, &MessageEdit::keepWithinLimit);
}

void MessageEdit::keepWithinLimit(int position, int, int charsAdded)
{
    const int excess = countChars(toPlainText()) - MaxChars;
    if (excess <= 0)
        return;
    // Cut the end of the inserted text, a line break counting two, never half a surrogate
    // pair. The document's last paragraph mark is not text.
    QTextDocument *doc = document();
    const int end = qMin(position + charsAdded, doc->characterCount() - 1);
    int from = end;
    for (int freed = 0; from > 0 && freed < excess;) {
        const QChar c = doc->characterAt(--from);
        freed += c == QChar::ParagraphSeparator || c == QChar::LineSeparator ? 2 : 1;
    }
    if (from > 0 && doc->characterAt(from).isLowSurrogate())
        --from;

    QTextCursor cut(doc);
    cut.setPosition(from);
    cut.setPosition(end, QTextCursor::KeepAnchor);
#if QT_CONFIG(accessibility)
    const QString removed = cut.selectedText();
#endif
    cut.removeSelectedText();
    // Undoing the cut alone would bring the excess back (and this would cut it again), and an
    // insertion made outside an edit block cannot share one undo step with the cut: the
    // history starts afresh from the text as cut.
    doc->clearUndoRedoStacks();
#if QT_CONFIG(accessibility)
    // The document reports only the insertion; a screen reader learns of the cut here.
    if (QAccessible::isActive()) {
        QAccessibleTextRemoveEvent event(this, from, removed);
        QAccessible::updateAccessibility(&event);
    }
#endif
}

QString MessageEdit::messageText() const
{
    QString s = toPlainText();
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

void MessageEdit::setMessageText(const QString &text)
{
    setPlainText(render::fitChars(render::plainLineBreaks(text), MaxChars));
}

bool MessageEdit::insertWhole(const QString &text)
{
    const QString plain = render::plainLineBreaks(text);
    if (countChars(plain) > room())
        return false;
    QTextCursor cursor = textCursor();
    cursor.insertText(plain);
    setTextCursor(cursor);
    return true;
}

int MessageEdit::room() const
{
    const int selected = countChars(render::plainLineBreaks(textCursor().selectedText()));
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
    const QString text = render::fitChars(render::plainLineBreaks(source->text()), room());
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
        const QString committed = render::plainLineBreaks(event->commitString());
        const QString fitted = render::fitChars(committed, room());
        if (fitted != committed)
            event->setCommitString(fitted, event->replacementStart(), event->replacementLength());
    }
    QPlainTextEdit::inputMethodEvent(event);
}

} // namespace lumawrite::ui
