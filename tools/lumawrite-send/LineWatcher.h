#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lumawrite::send {

// Watches a text file and reports its first line whenever the file has changed and then stayed
// unchanged for the settle time, or at the latest some time after the first change that has
// not been reported, however often the file is written meanwhile; only a line that differs
// from the one reported before. Editors that save by writing a new file and renaming it over
// the old one are followed, and so is a folder removed and made again: the nearest folder of
// the path that exists is watched too, and the file is watched again when it reappears. A
// folder on the path that is moved away or swapped for another (release folders switched by
// "ln -sfn") is noticed by looking at where the path leads every second.
class LineWatcher : public QObject {
    Q_OBJECT
public:
    // The longest first line that is reported, in bytes without its line break.
    static constexpr qsizetype MaxLineBytes = 4096;

    explicit LineWatcher(QString path, int settleMs = 300, int latestMs = 2000,
                         QObject *parent = nullptr);

    // Reads the file and starts watching; the first line is reported from the event loop.
    // Returns why the file cannot be read (and watches nothing), or an empty string.
    QString start();

signals:
    void lineChanged(const QString &line);
    // The first line changed but is not reported; the reason, for the user.
    void lineSkipped(const QString &reason);

private:
    // The first line without its line break, read no further than one byte past the longest
    // one reported; an error when the file cannot be read.
    static QByteArray firstLine(const QString &path, QString *error);
    void changed();
    void settled();
    void follow();
    void report(const QByteArray &line);
    // Where the path leads now: the real file it names, with its identity on the disk.
    static QString whereItLeads(const QString &path);

    QString m_path;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QTimer m_latest;    // runs from the first change not yet read
    QTimer m_lookAgain; // every second: has the path come to lead elsewhere?
    QString m_leadsTo;
    QByteArray m_last;
};

} // namespace lumawrite::send
