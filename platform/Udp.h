#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class QTimer;
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
// send, and an absent sign is not an error. One sender may serve any number of signs, since
// each datagram names its destination; when the system's send buffer is full for a moment
// (many signs paced alike), a datagram waits its turn for up to a second instead of failing.
class UdpSender : public QObject {
    Q_OBJECT
public:
    explicit UdpSender(QObject *parent = nullptr);
    ~UdpSender() override;

    // Sends one datagram and calls done with an empty string once it went out, else with the
    // reason; at once unless it had to wait. done is never called once context is gone.
    using Done = std::function<void(const QString &error)>;
    void send(const QByteArray &payload, const QHostAddress &address, quint16 port,
              QObject *context, Done done);
    // How long a datagram may wait for room in the send buffer.
    static constexpr int MaxWaitMs = 1000;

private:
    struct Waiting;
    QString write(const QByteArray &payload, const QHostAddress &address, quint16 port, bool *full);
    void sendWaiting();

    QUdpSocket *m_socket;
    QTimer *m_retry;
    std::deque<Waiting> m_waiting; // in the order they were sent
};

} // namespace lumawrite::platform
