#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace lumawrite::app {
namespace {

constexpr int AnswerMs = 1000; // a running copy answers at once; a stale socket refuses at once
const QByteArray RaiseRequest("raise\n");

} // namespace

SingleInstance::SingleInstance(const QString &settingsPath, QObject *parent) : QObject(parent)
{
    // Keyed to the settings folder and to the user.
    const QByteArray key =
        (QDir::homePath() + QLatin1Char('\n') + QFileInfo(settingsPath).absolutePath()).toUtf8();
    m_name = QStringLiteral("lumawrite-") +
             QString::fromLatin1(
                 QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(RaiseRequest.trimmed()))
                    emit raiseRequested();
                socket->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::askRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(AnswerMs))
        return false;
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(AnswerMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::handOverToRunningCopy()
{
    if (askRunningCopy())
        return true;
    if (m_server.listen(m_name))
        return false;
    // Two starts at once: the other one listens now. Else a socket that a copy which ended
    // badly left behind, which nobody answers on.
    if (askRunningCopy())
        return true;
    QLocalServer::removeServer(m_name);
    m_server.listen(m_name);
    return false;
}

} // namespace lumawrite::app
