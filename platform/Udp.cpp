#include "Udp.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

namespace lumawrite::platform {

UdpReceiver::UdpReceiver(QObject *parent) : QObject(parent), m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpReceiver::readPending);
}

QString UdpReceiver::bind(int port)
{
    if (port < 0 || port > 65535)
        return tr("%1 is not a UDP port number.").arg(port);
    if (!m_socket->bind(QHostAddress::Any, quint16(port), QAbstractSocket::DontShareAddress))
        return tr("UDP port %1 could not be opened for receiving: %2")
            .arg(port)
            .arg(m_socket->errorString());
    return {};
}

bool UdpReceiver::isBound() const
{
    return m_socket->state() == QAbstractSocket::BoundState;
}
quint16 UdpReceiver::localPort() const
{
    return m_socket->localPort();
}

void UdpReceiver::readPending()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        emit datagramReceived(datagram.data());
    }
}

UdpSender::UdpSender(QObject *parent) : QObject(parent), m_socket(new QUdpSocket(this)) {}

QString UdpSender::send(const QByteArray &payload, const QHostAddress &address, quint16 port)
{
    const qint64 sent = m_socket->writeDatagram(payload, address, port);
    if (sent == payload.size())
        return {};
    return tr("The datagram to %1:%2 could not be sent: %3")
        .arg(address.toString())
        .arg(port)
        .arg(m_socket->errorString());
}

} // namespace lumawrite::platform
