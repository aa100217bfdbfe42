#include "LineWatcher.h"

#include "MessageText.h"
#include "SettingsStore.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace lumawrite::send {

LineWatcher::LineWatcher(QString path, int settleMs, int latestMs, QObject *parent)
    : QObject(parent), m_path(QFileInfo(path).absoluteFilePath())
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &LineWatcher::settled);
    m_latest.setSingleShot(true);
    m_latest.setInterval(latestMs);
    connect(&m_latest, &QTimer::timeout, this, &LineWatcher::settled);
    m_lookAgain.setInterval(1000);
    connect(&m_lookAgain, &QTimer::timeout, this, [this] {
        // A watch follows a folder, not a name: a folder moved away or a link swapped leaves
        // the name leading elsewhere without a word from the watcher.
        const QString now = whereItLeads(m_path);
        if (now != m_leadsTo) {
            m_leadsTo = now;
            changed();
        }
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &LineWatcher::changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &LineWatcher::changed);
}

QByteArray LineWatcher::firstLine(const QString &path, QString *error)
{
    // Read as the settings file is: a regular file only, never waiting for an open (a FIFO put
    // in its place would hold the whole program up).
    QByteArray content;
    ReadFailure failure;
    if (!readRegularFile(path, content, failure)) {
        *error = tr("Cannot read %1: %2").arg(path, failure.reason);
        return {};
    }
    // The longest line with its CR LF, or one byte more than the longest without them.
    QByteArray line = content.left(MaxLineBytes + 2);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    if (line.endsWith('\r'))
        line.chop(1);
    error->clear();
    return line;
}

QString LineWatcher::start()
{
    QString error;
    m_last = firstLine(m_path, &error);
    if (!error.isEmpty())
        return error;
    follow();
    m_leadsTo = whereItLeads(m_path);
    m_lookAgain.start();
    const QByteArray line = m_last;
    QTimer::singleShot(0, this, [this, line] { report(line); });
    return {};
}

QString LineWatcher::whereItLeads(const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    struct stat info {};
    if (real.isEmpty() || ::stat(QFile::encodeName(real).constData(), &info) != 0)
        return {};
    return QStringLiteral("%1 %2:%3").arg(real).arg(info.st_dev).arg(info.st_ino);
}

void LineWatcher::follow()
{
    // A file replaced by a rename is no longer watched under its name: watch the new one.
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    // While the file's folder is away, the folder it will be made in again is watched.
    QString folder = QFileInfo(m_path).absolutePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    const QStringList folders = m_watcher.directories();
    for (const QString &watched : folders)
        if (watched != folder)
            m_watcher.removePath(watched);
    if (!folders.contains(folder))
        m_watcher.addPath(folder);
}

void LineWatcher::changed()
{
    follow();
    m_settle.start();
    if (!m_latest.isActive())
        m_latest.start();
}

void LineWatcher::settled()
{
    m_settle.stop();
    m_latest.stop();
    follow();
    QString error;
    const QByteArray line = firstLine(m_path, &error);
    // A file that is away for the moment (between an editor's delete and rename) keeps the
    // sign as it is.
    if (!error.isEmpty() || line == m_last)
        return;
    m_last = line;
    report(line);
}

void LineWatcher::report(const QByteArray &line)
{
    if (line.size() > MaxLineBytes)
        emit lineSkipped(tr("The first line of %1 is longer than %2 bytes; the sign "
                            "takes at most %3 characters. Nothing was sent.")
                             .arg(m_path)
                             .arg(MaxLineBytes)
                             .arg(render::MaxMessageChars));
    else
        emit lineChanged(QString::fromUtf8(line));
}

} // namespace lumawrite::send
