#include "UploadHistory.h"

#include "MessageText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

namespace lumawrite::signs {
namespace {

constexpr int LockWaitMs = 5000;

const QList<std::pair<HistoryEntry::Outcome, QString>> &outcomeNames()
{
    static const QList<std::pair<HistoryEntry::Outcome, QString>> names = {
        {HistoryEntry::Outcome::Sent, QStringLiteral("sent")},
        {HistoryEntry::Outcome::Stopped, QStringLiteral("stopped")},
        {HistoryEntry::Outcome::Failed, QStringLiteral("failed")}};
    return names;
}

} // namespace

bool operator==(const HistoryEntry &a, const HistoryEntry &b)
{
    return a.at == b.at && a.text == b.text && a.choices == b.choices && a.link == b.link &&
           a.sign == b.sign && a.outcome == b.outcome && a.framesSent == b.framesSent &&
           a.framesTotal == b.framesTotal && a.reason == b.reason;
}

QString outcomeName(HistoryEntry::Outcome outcome)
{
    for (const auto &[value, name] : outcomeNames())
        if (value == outcome)
            return name;
    return {};
}

QList<HistoryEntry> readHistory(const QByteArray &content)
{
    QList<HistoryEntry> entries;
    const QJsonArray list = QJsonDocument::fromJson(content).object().value("uploads").toArray();
    for (const QJsonValue &value : list) {
        const QJsonObject o = value.toObject();
        HistoryEntry e;
        e.at = QDateTime::fromString(o.value("at").toString(), Qt::ISODate);
        const QString outcome = o.value("outcome").toString();
        const auto named = std::find_if(outcomeNames().cbegin(), outcomeNames().cend(),
                                        [&](const auto &pair) { return pair.second == outcome; });
        if (!e.at.isValid() || named == outcomeNames().cend() || !o.value("text").isString())
            continue;
        e.outcome = named->first;
        e.text = o.value("text").toString().left(render::MaxMessageChars);
        if (o.value("font").isString())
            e.choices.font = o.value("font").toString();
        if (o.value("size").isDouble())
            e.choices.size = o.value("size").toInt();
        if (o.value("offset").isDouble())
            e.choices.offset = o.value("offset").toInt();
        for (const char *style : {"bold", "italic", "strikethrough", "underline"}) {
            if (!o.value(style).isBool())
                continue;
            const bool on = o.value(style).toBool();
            (qstrcmp(style, "bold") == 0        ? e.choices.bold
             : qstrcmp(style, "italic") == 0    ? e.choices.italic
             : qstrcmp(style, "underline") == 0 ? e.choices.underline
                                                : e.choices.strikethrough) = on;
        }
        e.link = o.value("link").toString();
        e.sign = o.value("sign").toString();
        e.framesSent = qMax(0, o.value("frames").toInt());
        e.framesTotal = qMax(0, o.value("of").toInt());
        e.reason = o.value("reason").toString();
        entries.append(e);
    }
    if (entries.size() > HistoryLength)
        entries = entries.mid(entries.size() - HistoryLength);
    return entries;
}

QByteArray writeHistory(const QList<HistoryEntry> &entries)
{
    QJsonArray list;
    for (const HistoryEntry &e : entries) {
        QJsonObject o{{"at", e.at.toUTC().toString(Qt::ISODate)},
                      {"outcome", outcomeName(e.outcome)},
                      {"text", e.text},
                      {"link", e.link},
                      {"sign", e.sign},
                      {"frames", e.framesSent},
                      {"of", e.framesTotal}};
        if (e.choices.font)
            o.insert("font", *e.choices.font);
        if (e.choices.size)
            o.insert("size", *e.choices.size);
        if (e.choices.offset)
            o.insert("offset", *e.choices.offset);
        for (const auto &[name, style] :
             {std::pair{"bold", e.choices.bold}, std::pair{"italic", e.choices.italic},
              std::pair{"strikethrough", e.choices.strikethrough},
              std::pair{"underline", e.choices.underline}})
            if (style)
                o.insert(name, *style);
        if (!e.reason.isEmpty())
            o.insert("reason", e.reason);
        list.append(o);
    }
    return QJsonDocument(QJsonObject{{"uploads", list}}).toJson(QJsonDocument::Compact);
}

QString historyFilePath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/lumawrite/history.json");
}

QString historyLine(const HistoryEntry &e)
{
    const auto field = [](QString text) {
        return visibleControls(text.replace(QLatin1Char('\\'), QStringLiteral("\\\\")));
    };
    return QStringList{e.at.toUTC().toString(Qt::ISODate),
                       outcomeName(e.outcome),
                       QStringLiteral("%1/%2").arg(e.framesSent).arg(e.framesTotal),
                       field(e.link),
                       field(e.sign),
                       field(e.text)}
        .join(QLatin1Char('\t'));
}

UploadHistory::UploadHistory(QString path) : m_path(std::move(path)) {}

QString UploadHistory::add(const HistoryEntry &entry)
{
    return add(QList<HistoryEntry>{entry});
}

QString UploadHistory::add(const QList<HistoryEntry> &added)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs))
        return QCoreApplication::translate("lumawrite::signs::UploadHistory",
                                           "%1 is being changed by another program")
            .arg(m_path);
    QByteArray content;
    ReadFailure failure;
    QList<HistoryEntry> entries;
    if (readRegularFile(m_path, content, failure))
        entries = readHistory(content);
    else if (!failure.missing)
        return QCoreApplication::translate("lumawrite::signs::UploadHistory",
                                           "%1 could not be read: %2")
            .arg(m_path, failure.reason);
    entries.append(added);
    if (entries.size() > HistoryLength)
        entries = entries.mid(entries.size() - HistoryLength);
    const QString why = writeRegularFile(m_path, writeHistory(entries));
    return why.isEmpty() ? QString()
                         : QCoreApplication::translate("lumawrite::signs::UploadHistory",
                                                       "%1 could not be written: %2")
                               .arg(m_path, why);
}

QString UploadHistory::read(QList<HistoryEntry> &newestFirst, int count) const
{
    newestFirst.clear();
    QByteArray content;
    ReadFailure failure;
    if (!readRegularFile(m_path, content, failure))
        return failure.missing ? QString()
                               : QCoreApplication::translate("lumawrite::signs::UploadHistory",
                                                             "%1 could not be read: %2")
                                     .arg(m_path, failure.reason);
    const QList<HistoryEntry> entries = readHistory(content);
    for (qsizetype i = entries.size() - 1; i >= 0 && newestFirst.size() < count; --i)
        newestFirst.append(entries[i]);
    return {};
}

HistoryEntry historyEntry(const MessageChoices &choices, const QString &sign,
                          HistoryEntry::Outcome outcome, int framesSent, int framesTotal,
                          const QString &reason)
{
    const render::RenderRequest &r = choices.request;
    HistoryEntry e;
    e.at = QDateTime::currentDateTimeUtc();
    e.text = r.text;
    e.choices = messageChoicesOf(r);
    e.link = choices.lan ? QStringLiteral("LAN") : QStringLiteral("COM %1").arg(choices.comPort);
    e.sign = sign;
    e.outcome = outcome;
    e.framesSent = framesSent;
    e.framesTotal = framesTotal;
    e.reason = reason;
    return e;
}

} // namespace lumawrite::signs
