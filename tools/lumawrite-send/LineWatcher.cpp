#include "LineWatcher.h"

#include <QFile>
#include <QFileInfo>

namespace lumawrite::send {
namespace {
constexpr qint64 MaxLineBytes = 64 * 1024; // far beyond any message the sign takes
}

LineWatcher::LineWatcher(QString path, int settleMs, QObject *parent)
    : QObject(parent), m_path(QFileInfo(path).absoluteFilePath())
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &LineWatcher::settled);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &LineWatcher::changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &LineWatcher::changed);
}

QString LineWatcher::firstLine(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    QByteArray line = file.readLine(MaxLineBytes);
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    error->clear();
    return QString::fromUtf8(line);
}

QString LineWatcher::start()
{
    QString error;
    m_last = firstLine(m_path, &error);
    if (!error.isEmpty())
        return error;
    m_watcher.addPath(m_path);
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    const QString line = m_last;
    QTimer::singleShot(0, this, [this, line] { emit lineChanged(line); });
    return {};
}

void LineWatcher::changed()
{
    // A file replaced by a rename is no longer watched under its name: watch the new one.
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    m_settle.start();
}

void LineWatcher::settled()
{
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    QString error;
    const QString line = firstLine(m_path, &error);
    // A file that is away for the moment (between an editor's delete and rename) keeps the
    // sign as it is.
    if (!error.isEmpty() || line == m_last)
        return;
    m_last = line;
    emit lineChanged(line);
}

} // namespace lumawrite::send
