#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QUdpSocket;

namespace lumawrite::platform {

// Receives the datagrams that a sign sends back, on one local port of all local addresses.
class UdpReceiver : public QObject {
    Q_OBJECT
public:
    explicit UdpReceiver(QObject *parent = nullptr);

    // Returns an empty string on success, else why the port could not be bound.
    QString bind(int port);
    bool isBound() const;
    quint16 localPort() const;

signals:
    void datagramReceived(const QByteArray &payload);

private:
    void readPending();

    QUdpSocket *m_socket;
};

// Sends datagrams to an explicit address and port. The socket is never connected: a connected
// UDP socket turns an ICMP "port unreachable" from an absent sign into an error on the next
// send, and an absent sign is not an error.
class UdpSender : public QObject {
    Q_OBJECT
public:
    explicit UdpSender(QObject *parent = nullptr);

    // Sends one datagram; returns an empty string on success, else the reason.
    QString send(const QByteArray &payload, const QHostAddress &address, quint16 port);

private:
    QUdpSocket *m_socket;
};

} // namespace lumawrite::platform
