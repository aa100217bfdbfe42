#include "SavedMessages.h"

#include "MessageText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLockFile>

namespace lumawrite::signs {
namespace {

const QString MessagesKey = QStringLiteral("messages");
const QStringList BoolKeys = {QStringLiteral("bold"), QStringLiteral("italic"),
                              QStringLiteral("strikethrough"), QStringLiteral("underline")};
// How long a change waits for another program's change to the same file.
constexpr int LockWaitMs = 5000;

std::optional<bool> &styleOf(Overrides &o, int i)
{
    return i == 0 ? o.bold : i == 1 ? o.italic : i == 2 ? o.strikethrough : o.underline;
}

// One entry of the list, or why it is left out.
QString readEntry(const QJsonValue &value, SavedMessage &m)
{
    if (!value.isObject())
        return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                           "an entry is not a JSON object");
    QJsonObject o = value.toObject();
    m.name = o.take(QStringLiteral("name")).toString();
    if (const QString problem = savedNameProblem(m.name); !problem.isEmpty())
        return problem;
    const QJsonValue text = o.take(QStringLiteral("text"));
    if (!text.isString() || text.toString().size() > render::MaxMessageChars ||
        !text.toString().isValidUtf16())
        return QCoreApplication::translate(
                   "lumawrite::signs::SavedMessages",
                   "\"%1\": the text is missing or longer than %2 characters")
            .arg(m.name)
            .arg(render::MaxMessageChars);
    m.text = text.toString();
    if (o.contains(QStringLiteral("font"))) {
        const QJsonValue font = o.take(QStringLiteral("font"));
        if (!font.isString() || font.toString().trimmed().isEmpty())
            return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                               "\"%1\": \"font\" is not a typeface name")
                .arg(m.name);
        m.choices.font = font.toString().trimmed();
    }
    const auto number = [&](const QString &key, int low, int high,
                            std::optional<int> &into) -> QString {
        if (!o.contains(key))
            return {};
        const QJsonValue v = o.take(key);
        const double d = v.toDouble();
        if (!v.isDouble() || d != double(int(d)) || d < low || d > high)
            return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                               "\"%1\": \"%2\" is not a whole number from %3 to %4")
                .arg(m.name, key)
                .arg(low)
                .arg(high);
        into = int(d);
        return {};
    };
    for (const QString &problem : {number(QStringLiteral("size"), SettingsRange::MinFontSize,
                                          SettingsRange::MaxFontSize, m.choices.size),
                                   number(QStringLiteral("offset"), SettingsRange::MinOffset,
                                          SettingsRange::MaxOffset, m.choices.offset)})
        if (!problem.isEmpty())
            return problem;
    for (int i = 0; i < BoolKeys.size(); ++i) {
        if (!o.contains(BoolKeys[i]))
            continue;
        const QJsonValue v = o.take(BoolKeys[i]);
        if (!v.isBool())
            return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                               "\"%1\": \"%2\" is not true or false")
                .arg(m.name, BoolKeys[i]);
        styleOf(m.choices, i) = v.toBool();
    }
    m.extra = o;
    return {};
}

QJsonObject writeEntry(const SavedMessage &m)
{
    QJsonObject o = m.extra;
    o.insert(QStringLiteral("name"), m.name);
    o.insert(QStringLiteral("text"), m.text);
    if (m.choices.font)
        o.insert(QStringLiteral("font"), *m.choices.font);
    if (m.choices.size)
        o.insert(QStringLiteral("size"), *m.choices.size);
    Overrides choices = m.choices;
    for (int i = 0; i < BoolKeys.size(); ++i)
        if (const std::optional<bool> &style = styleOf(choices, i))
            o.insert(BoolKeys[i], *style);
    if (m.choices.offset)
        o.insert(QStringLiteral("offset"), *m.choices.offset);
    return o;
}

qsizetype indexOf(const QList<SavedMessage> &messages, const QString &name)
{
    for (qsizetype i = 0; i < messages.size(); ++i)
        if (messages[i].name == name)
            return i;
    return -1;
}

} // namespace

QString savedNameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                           "a saved message needs a name");
    if (name.size() > MaxSavedNameChars)
        return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                           "the name \"%1...\" is longer than %2 characters")
            .arg(visibleControls(name.left(20)))
            .arg(MaxSavedNameChars);
    if (name != name.trimmed() || !name.isValidUtf16() ||
        std::any_of(name.cbegin(), name.cend(),
                    [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QCoreApplication::translate(
                   "lumawrite::signs::SavedMessages",
                   "the name \"%1\" begins or ends with a blank or holds a control character")
            .arg(visibleControls(name));
    return {};
}

SavedMessagesRead readSavedMessages(const QByteArray &content)
{
    SavedMessagesRead read;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(content, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        read.error = QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                 "invalid JSON at byte %1: %2")
                         .arg(parseError.offset)
                         .arg(parseError.errorString());
        return read;
    }
    read.extra = document.object();
    const QJsonValue list = read.extra.take(MessagesKey);
    if (!document.isObject() || !list.isArray()) {
        read.error = QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                 "it holds no \"messages\" list");
        return read;
    }
    for (const QJsonValue &value : list.toArray()) {
        SavedMessage message;
        QString problem = readEntry(value, message);
        if (problem.isEmpty() && indexOf(read.messages, message.name) >= 0)
            problem = QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                  "\"%1\" is given twice; the first counts")
                          .arg(message.name);
        if (problem.isEmpty() && read.messages.size() >= MaxSavedMessages)
            problem = QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                  "more than %1 messages; the rest are left out")
                          .arg(MaxSavedMessages);
        if (problem.isEmpty())
            read.messages.append(message);
        else
            read.skipped.append(problem);
    }
    return read;
}

QByteArray writeSavedMessages(const QList<SavedMessage> &messages, const QJsonObject &extra)
{
    QJsonArray list;
    for (const SavedMessage &message : messages)
        list.append(writeEntry(message));
    QJsonObject file = extra;
    file.insert(MessagesKey, list);
    return QJsonDocument(file).toJson(QJsonDocument::Indented);
}

QString savedMessagesBeside(const QString &settingsPath)
{
    return QFileInfo(settingsPath).dir().filePath(QStringLiteral("messages.json"));
}

SavedMessages::SavedMessages(QString path) : m_path(std::move(path)) {}

QString SavedMessages::unreadableCopyPath() const
{
    return m_path + QStringLiteral(".unreadable");
}

QString SavedMessages::load(QList<SavedMessage> &messages) const
{
    messages.clear();
    QByteArray content;
    ReadFailure failure;
    if (!readRegularFile(m_path, content, failure))
        return failure.missing ? QString()
                               : QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                             "%1 could not be read: %2")
                                     .arg(m_path, failure.reason);
    SavedMessagesRead read = readSavedMessages(content);
    if (!read.error.isEmpty())
        return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                           "%1 could not be read: %2")
            .arg(m_path, read.error);
    messages = std::move(read.messages);
    return {};
}

std::optional<SavedMessage> SavedMessages::find(const QString &name, QString *error) const
{
    QList<SavedMessage> messages;
    const QString problem = load(messages);
    if (error)
        *error = problem;
    const qsizetype at = indexOf(messages, name);
    return at < 0 ? std::nullopt : std::optional<SavedMessage>(messages[at]);
}

SavedMessages::Change
SavedMessages::change(const std::function<QString(QList<SavedMessage> &)> &edit)
{
    Change result;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs)) {
        result.error =
            QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                        "%1 is being changed by another program; try again")
                .arg(m_path);
        return result;
    }
    QByteArray content;
    ReadFailure failure;
    SavedMessagesRead read;
    if (readRegularFile(m_path, content, failure)) {
        read = readSavedMessages(content);
    } else if (!failure.missing) {
        result.error = QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                   "%1 could not be read: %2")
                           .arg(m_path, failure.reason);
        return result;
    }
    if (!read.error.isEmpty()) {
        // The operator's file, not understood: it is kept whole beside the new one.
        QString kept = unreadableCopyPath();
        for (int n = 2; QFileInfo::exists(kept) && n < 100; ++n)
            kept = unreadableCopyPath() + QLatin1Char('.') + QString::number(n);
        if (QFileInfo::exists(kept) || !QFile::rename(m_path, kept)) {
            result.error = QCoreApplication::translate(
                               "lumawrite::signs::SavedMessages",
                               "%1 could not be read (%2), nor be kept aside; nothing was saved")
                               .arg(m_path, read.error);
            return result;
        }
        result.notice = QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                    "%1 could not be read (%2); it was kept as %3")
                            .arg(m_path, read.error, kept);
        read = {};
    }
    result.error = edit(read.messages);
    if (!result.error.isEmpty())
        return result;
    if (read.messages.size() > MaxSavedMessages) {
        result.error =
            QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                        "at most %1 messages can be saved; delete one first")
                .arg(MaxSavedMessages);
        return result;
    }
    const QByteArray written = writeSavedMessages(read.messages, read.extra);
    if (written.size() > (1 << 20)) {
        result.error = QCoreApplication::translate(
            "lumawrite::signs::SavedMessages",
            "the saved messages would be larger than 1 MiB; delete some first");
        return result;
    }
    if (const QString why = writeRegularFile(m_path, written); !why.isEmpty())
        result.error = QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                                   "%1 could not be written: %2")
                           .arg(m_path, why);
    return result;
}

SavedMessages::Change SavedMessages::save(const SavedMessage &message)
{
    if (const QString problem = savedNameProblem(message.name); !problem.isEmpty())
        return {problem, {}};
    if (message.text.size() > render::MaxMessageChars)
        return {QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                            "the text is longer than %1 characters")
                    .arg(render::MaxMessageChars),
                {}};
    return change([&message](QList<SavedMessage> &messages) {
        SavedMessage kept = message;
        // Only the message's own choices are kept.
        kept.choices.host.reset();
        kept.choices.lan.reset();
        kept.choices.comPort.reset();
        kept.choices.address.reset();
        kept.choices.speed.reset();
        const qsizetype at = indexOf(messages, message.name);
        if (at >= 0) {
            // What another version of the program keeps with it stays.
            for (auto it = messages[at].extra.begin(); it != messages[at].extra.end(); ++it)
                if (!kept.extra.contains(it.key()))
                    kept.extra.insert(it.key(), it.value());
            messages[at] = kept;
        } else {
            messages.append(kept);
        }
        return QString();
    });
}

SavedMessages::Change SavedMessages::rename(const QString &from, const QString &to)
{
    if (const QString problem = savedNameProblem(to); !problem.isEmpty())
        return {problem, {}};
    return change([&](QList<SavedMessage> &messages) {
        const qsizetype at = indexOf(messages, from);
        if (at < 0)
            return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                               "no message is saved as \"%1\"")
                .arg(visibleControls(from));
        if (from != to && indexOf(messages, to) >= 0)
            return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                               "a message is already saved as \"%1\"")
                .arg(to);
        messages[at].name = to;
        return QString();
    });
}

SavedMessages::Change SavedMessages::remove(const QString &name)
{
    return change([&](QList<SavedMessage> &messages) {
        const qsizetype at = indexOf(messages, name);
        if (at < 0)
            return QCoreApplication::translate("lumawrite::signs::SavedMessages",
                                               "no message is saved as \"%1\"")
                .arg(visibleControls(name));
        messages.removeAt(at);
        return QString();
    });
}

Overrides savedMessageChoices(const SavedMessage &message, const Overrides &run)
{
    Overrides choices = run;
    const auto under = [](auto &runs, const auto &saved) {
        if (!runs)
            runs = saved;
    };
    under(choices.font, message.choices.font);
    under(choices.size, message.choices.size);
    under(choices.bold, message.choices.bold);
    under(choices.italic, message.choices.italic);
    under(choices.strikethrough, message.choices.strikethrough);
    under(choices.underline, message.choices.underline);
    under(choices.offset, message.choices.offset);
    return choices;
}

} // namespace lumawrite::signs
