#include "Udp.h"

#include <QDeadlineTimer>
#include <QNetworkDatagram>
#include <QPointer>
#include <QTimer>
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

struct UdpSender::Waiting {
    QByteArray payload;
    QHostAddress address;
    quint16 port = 0;
    QPointer<QObject> context;
    Done done;
    QDeadlineTimer deadline;
};

UdpSender::UdpSender(QObject *parent)
    : QObject(parent), m_socket(new QUdpSocket(this)), m_retry(new QTimer(this))
{
    m_retry->setInterval(1);
    connect(m_retry, &QTimer::timeout, this, &UdpSender::sendWaiting);
}

UdpSender::~UdpSender() = default;

QString UdpSender::write(const QByteArray &payload, const QHostAddress &address, quint16 port,
                         bool *full)
{
    const qint64 sent = m_socket->writeDatagram(payload, address, port);
    *full = false;
    if (sent == payload.size())
        return {};
    // EAGAIN or ENOBUFS: the buffer empties as the system sends what it holds.
    *full = m_socket->error() == QAbstractSocket::TemporaryError;
    return tr("The datagram to %1:%2 could not be sent: %3")
        .arg(address.toString())
        .arg(port)
        .arg(m_socket->errorString());
}

void UdpSender::send(const QByteArray &payload, const QHostAddress &address, quint16 port,
                     QObject *context, Done done)
{
    if (m_waiting.empty()) {
        bool full = false;
        const QString error = write(payload, address, port, &full);
        if (!full) {
            done(error);
            return;
        }
    }
    m_waiting.push_back(
        {payload, address, port, context, std::move(done), QDeadlineTimer(MaxWaitMs)});
    m_retry->start();
}

void UdpSender::sendWaiting()
{
    while (!m_waiting.empty()) {
        Waiting &next = m_waiting.front();
        if (next.context) {
            bool full = false;
            const QString error = write(next.payload, next.address, next.port, &full);
            if (full && !next.deadline.hasExpired())
                return; // the timer tries again
            const Done done = std::move(next.done);
            const QPointer<QObject> context = next.context;
            m_waiting.pop_front();
            if (context)
                done(error);
        } else {
            m_waiting.pop_front(); // its upload is gone
        }
    }
    m_retry->stop();
}

} // namespace lumawrite::platform
