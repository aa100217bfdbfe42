#pragma once

#include "MessagePlan.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What went to the signs, newest last: the last 100 uploads of the windows and of
// lumawrite-send alike, in history.json in the user's state folder ($XDG_STATE_HOME/lumawrite/,
// by default ~/.local/state/lumawrite/).
namespace lumawrite::signs {

struct HistoryEntry {
    enum class Outcome { Sent, Stopped, Failed };
    QDateTime at; // when the upload ended
    QString text;
    Overrides choices; // the font by family name, size, styles and offset it was sent with
    QString link;      // "LAN" or "COM n"
    QString sign;      // the sign as its line names it: "10.0.0.21 (address 20)"
    Outcome outcome = Outcome::Sent;
    int framesSent = 0;
    int framesTotal = 0;
    QString reason; // why it stopped or failed

    friend bool operator==(const HistoryEntry &a, const HistoryEntry &b);
};

constexpr int HistoryLength = 100;

QString outcomeName(HistoryEntry::Outcome outcome); // "sent", "stopped", "failed"

// The entries of a file's content, oldest first; entries that cannot be read are left out.
QList<HistoryEntry> readHistory(const QByteArray &content);
QByteArray writeHistory(const QList<HistoryEntry> &entries);

// The history in the user's state folder.
QString historyFilePath();

// One line of --history: time (ISO 8601, UTC), outcome, frames, link, sign, text, tab-separated,
// with tabs and line breaks in the text shown as \xNN.
QString historyLine(const HistoryEntry &entry);

class UploadHistory {
public:
    explicit UploadHistory(QString path = historyFilePath());
    const QString &path() const { return m_path; }

    // Adds an upload, keeping the last 100; another program's entry added meanwhile stays.
    // Why it could not be kept, or empty.
    QString add(const HistoryEntry &entry);
    // Several at once, in the order given, with one write of the file.
    QString add(const QList<HistoryEntry> &entries);
    // The last count uploads, newest first; why the file cannot be read, or empty.
    QString read(QList<HistoryEntry> &newestFirst, int count = HistoryLength) const;

private:
    QString m_path;
};

// The history entry of an upload from its choices and how it ended.
HistoryEntry historyEntry(const MessageChoices &choices, const QString &sign,
                          HistoryEntry::Outcome outcome, int framesSent, int framesTotal,
                          const QString &reason);

} // namespace lumawrite::signs
