#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace lumawrite::app {

// One copy of Luma Write for each settings folder: a second start hands over to the first
// (which raises its window) and ends. Copies with settings folders of their own (their own
// XDG_CONFIG_HOME, as the demo and the tests use) do not meet.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &settingsPath, QObject *parent = nullptr);

    // True when a copy runs for these settings already: it was asked to raise its window, and
    // this one is to end. Otherwise this copy answers the next ones from now on.
    bool handOverToRunningCopy();

    const QString &serverName() const { return m_name; }

signals:
    // A later start asked for this copy's window.
    void raiseRequested();

private:
    bool askRunningCopy();

    QString m_name;
    QLocalServer m_server;
};

} // namespace lumawrite::app
