#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lumawrite::send {

// Watches a text file and reports its first line whenever the file has changed and then stayed
// unchanged for the settle time, and the line differs from the one reported before. Editors
// that save by writing a new file and renaming it over the old one are followed: the folder is
// watched too, and the file is watched again when it reappears.
class LineWatcher : public QObject {
    Q_OBJECT
public:
    explicit LineWatcher(QString path, int settleMs = 300, QObject *parent = nullptr);

    // Reads the file and starts watching; the first line is reported from the event loop.
    // Returns why the file cannot be read (and watches nothing), or an empty string.
    QString start();

    // The first line of a file, without its line break; an error when it cannot be read.
    static QString firstLine(const QString &path, QString *error);

signals:
    void lineChanged(const QString &line);

private:
    void changed();
    void settled();

    QString m_path;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_last;
};

} // namespace lumawrite::send
