#pragma once

#include "MessageText.h"

#include <QPlainTextEdit>

namespace lumawrite::ui {

// The message text box: multi-line, holding at most 250 characters, where a line break counts
// as two (carriage return and line feed) as it does in the stored message. Typing, pasting,
// dropping and input methods all stop at the limit; nothing is inserted past it. Text that
// reaches the document any other way (the accessibility interface, a program setting it) is
// cut right after the change, from the end of what was inserted.
class MessageEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int MaxChars = render::MaxMessageChars;

    explicit MessageEdit(QWidget *parent = nullptr);

    // The text with CR LF line breaks, as it is stored.
    QString messageText() const;
    // Sets the text from its stored form; a longer text is cut to its first 250 characters.
    void setMessageText(const QString &text);
    // Puts the text in at the cursor, over the selection, when all of it fits; false, with
    // nothing changed, when it does not.
    bool insertWhole(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    void keepWithinLimit(int position, int charsRemoved, int charsAdded);
    int room() const;
};

} // namespace lumawrite::ui
