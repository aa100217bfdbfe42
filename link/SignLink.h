#pragma once

#include "SerialLine.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;

namespace lumawrite::platform {
class UdpReceiver;
class UdpSender;
} // namespace lumawrite::platform

namespace lumawrite::link {

// The kind of failure on the way to a sign, beside the sentence that tells it.
enum class LinkError {
    None,
    AddressUnknown,    // the sign's address is not set or could not be found
    DatagramFailed,    // the datagram did not go out
    SerialNotOpen,     // the serial port is not open
    SerialWriteFailed, // writing to the serial port failed
    SerialPortFailed,  // the serial port stopped working after it was opened
    LineBusy,          // an upload is using the line
};

// Fixed waits of the link: the pause after every frame and the reply window after every
// serial write. The program always uses 2000 ms and 200 ms; tests shorten them.
struct LinkTiming {
    int delayMs = 2000;
    int replyMs = 200;
};

// Looks a host name up and calls back on the GUI thread with an address, or an error.
using HostResolver =
    std::function<void(const QString &host, QObject *context,
                       std::function<void(const QHostAddress &, const QString &error)>)>;
void systemResolver(const QString &host, QObject *context,
                    std::function<void(const QHostAddress &, const QString &error)> done);

// The ways to a sign, opened once when the main window loads: UDP datagrams to the sign's
// address on port 12346 (with a receiver for its replies on the local port), and the RS-485
// serial line. All waits are one-shot timers on the GUI thread; replies are stored, never
// interpreted. Only one send or wait is under way at a time.
class SignLink : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 SignUdpPort = 12346;

    struct SendResult {
        QString error;     // empty unless the transport failed
        bool sent = false; // false when serial was chosen but the port is not open
        LinkError kind = LinkError::None;
    };
    using SendDone = std::function<void(const SendResult &)>;
    using WaitDone = std::function<void()>;

    explicit SignLink(platform::ComPortResolver comPorts, LinkTiming timing = {},
                      quint16 signPort = SignUdpPort, HostResolver resolver = systemResolver,
                      QObject *parent = nullptr);
    ~SignLink() override;

    // The sign's address as stored in the settings: a dotted address or a host name, which is
    // looked up in the background.
    void setDestination(const QString &ipAddress);
    const QString &destination() const { return m_destination; }
    // Calls back once the address is known: an empty error, or why it cannot be used.
    void whenDestinationReady(std::function<void(const QString &error)> done);

    // Each returns an empty string on success, else a sentence for the operator.
    QString openReceiver(qint16 localPort);
    QString openSerial(qint16 comPort);

    bool receiverOpen() const;
    quint16 receiverPort() const;
    bool serialOpen() const;
    QString serialDevice() const;
    const LinkTiming &timing() const { return m_timing; }

    // One frame over the chosen transport: a datagram to the sign over the LAN; over the
    // serial line a write followed by the reply window; nothing when serial is chosen but the
    // port is not open.
    void Send(const QByteArray &TxBuffer, bool lan, SendDone done);
    // Writes the frame to the serial port, waits the reply window and stores what came back.
    void Send485(const QByteArray &TxData, SendDone done);
    // The pause after a frame.
    void pause(WaitDone done);
    // Drops the wait under way; its callback is never called.
    void cancel();
    bool busy() const;

    // Replaces the datagram sender (tests inject failures); it returns an empty string on
    // success, else why the datagram did not go out.
    using DatagramSender =
        std::function<QString(const QByteArray &, const QHostAddress &, quint16)>;
    void setDatagramSender(DatagramSender sender) { m_datagramSender = std::move(sender); }
    // Sends datagrams through a sender shared with other links (one socket for any number of
    // signs) instead of one of its own; the shared sender outlives this link.
    void setUdpSender(platform::UdpSender *shared);

    // The latest reply from a sign, from either transport; each arrival replaces it.
    const QByteArray &RxData() const { return m_rxData; }

signals:
    // The serial port stopped working after it was opened (reported once), a failure of the
    // kind LinkError::SerialPortFailed; the reason is a whole sentence naming the port.
    void serialFailed(const QString &reason);

private:
    void replyWindowEnded();
    void serialPortFailed(const QString &reason);

    platform::ComPortResolver m_comPorts;
    LinkTiming m_timing;
    quint16 m_signPort;
    HostResolver m_resolver;
    platform::UdpSender *m_udpClient;
    DatagramSender m_datagramSender;
    platform::UdpReceiver *m_udpServer;
    platform::SerialLine *m_serial;
    QTimer *tmrDelay; // the pause after a frame: timing().delayMs
    QTimer *tmrTout;  // the reply window after a serial write: timing().replyMs

    QString m_destination;
    QHostAddress m_address;
    QString m_lookupError;
    bool m_lookupPending = false;
    quint64 m_lookupGeneration = 0;
    std::vector<std::function<void(const QString &)>> m_waitingForAddress;

    SendDone m_datagramDone; // a datagram waiting for room in the send buffer
    SendDone m_replyDone;
    WaitDone m_pauseDone;
    QByteArray m_rxData;
};

} // namespace lumawrite::link
