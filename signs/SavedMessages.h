#pragma once

#include "MessagePlan.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Messages kept under a name, each with its own choices, for the windows and lumawrite-send
// alike. They live in messages.json beside the settings file:
//   {"messages": [{"name": "Open", "text": "Open", "font": "DejaVu Sans", "size": 24,
//                  "bold": false, "italic": false, "strikethrough": false, "underline": false,
//                  "offset": 0}, ...]}
// The typeface is kept by its family name, so that it survives a change of installed fonts;
// a choice left out is the stored one's when the message is used. Keys this program does not
// know, in the file and in a message, are kept as they are.
namespace lumawrite::signs {

struct SavedMessage {
    QString name;
    QString text;
    Overrides choices; // only font, size, styles and offset
    QJsonObject extra; // keys this program does not know

    friend bool operator==(const SavedMessage &a, const SavedMessage &b)
    {
        return a.name == b.name && a.text == b.text && a.choices == b.choices && a.extra == b.extra;
    }
};

// The limits of the file: a name of 1 to 64 characters with no control character, a text of at
// most 250 characters, at most 500 messages, and a file of at most 1 MiB.
constexpr int MaxSavedNameChars = 64;
constexpr int MaxSavedMessages = 500;

// Why a name cannot be used, or empty.
QString savedNameProblem(const QString &name);

// The messages of a file's content, in its order, or why it cannot be read. Entries that do
// not fit (no name, a second entry of a name, a value out of range) are left out and told in
// skipped; a file that is not a JSON object with a "messages" list is unreadable as a whole.
struct SavedMessagesRead {
    QList<SavedMessage> messages;
    QJsonObject extra; // the file's keys besides "messages"
    QString error;     // the whole file is unreadable
    QStringList skipped;
};
SavedMessagesRead readSavedMessages(const QByteArray &content);
QByteArray writeSavedMessages(const QList<SavedMessage> &messages, const QJsonObject &extra);

// messages.json in the folder of the settings file.
QString savedMessagesBeside(const QString &settingsPath);

// The file of saved messages. Every change reads the file again under a lock, changes only
// the message it names and writes the file whole in its place (through a temporary file), so
// that another program's change to another name stays. Only a regular file is read or
// replaced. A file that cannot be read is never replaced: it is reported, and kept aside (as
// messages.json.unreadable) only when the operator saves over it.
class SavedMessages {
public:
    explicit SavedMessages(QString path);
    const QString &path() const { return m_path; }

    // The messages in the file's order; an empty list where there is no file. Why the file
    // cannot be read, or empty.
    QString load(QList<SavedMessage> &messages) const;
    std::optional<SavedMessage> find(const QString &name, QString *error = nullptr) const;

    // How a change went: why nothing was changed (error), or what the operator should know
    // besides (notice: the unreadable file that was kept aside).
    struct Change {
        QString error;
        QString notice;
        bool ok() const { return error.isEmpty(); }
    };
    // Keeps the message under its name, replacing one of that name.
    Change save(const SavedMessage &message);
    Change rename(const QString &from, const QString &to);
    Change remove(const QString &name);

    // Where an unreadable file is moved when the operator saves over it.
    QString unreadableCopyPath() const;

private:
    // Reads the file as it is now, lets change() alter the list, and writes it back.
    Change change(const std::function<QString(QList<SavedMessage> &)> &edit);

    QString m_path;
};

// The message with its own choices on top of the run's: options given for the run still win.
Overrides savedMessageChoices(const SavedMessage &message, const Overrides &run);

} // namespace lumawrite::signs
