#include "SignLink.h"

#include "Udp.h"

#include <QHostInfo>
#include <QTimer>

namespace lumawrite::link {

void systemResolver(const QString &host, QObject *context,
                    std::function<void(const QHostAddress &, const QString &)> done)
{
    QHostInfo::lookupHost(host, context, [done = std::move(done)](const QHostInfo &info) {
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            done({}, info.errorString());
            return;
        }
        // Signs speak IPv4; prefer it when a name has both.
        for (const QHostAddress &a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                done(a, {});
                return;
            }
        }
        done(info.addresses().first(), {});
    });
}

SignLink::SignLink(platform::ComPortResolver comPorts, LinkTiming timing, quint16 signPort,
                   HostResolver resolver, QObject *parent)
    : QObject(parent), m_comPorts(std::move(comPorts)), m_timing(timing), m_signPort(signPort),
      m_resolver(std::move(resolver)), m_udpClient(new platform::UdpSender(this)),
      m_udpServer(new platform::UdpReceiver(this)), m_serial(new platform::SerialLine(this)),
      tmrDelay(new QTimer(this)), tmrTout(new QTimer(this))
{
    tmrDelay->setSingleShot(true);
    tmrDelay->setTimerType(Qt::PreciseTimer);
    tmrDelay->setInterval(m_timing.delayMs);
    tmrTout->setSingleShot(true);
    tmrTout->setTimerType(Qt::PreciseTimer);
    tmrTout->setInterval(m_timing.replyMs);

    connect(tmrDelay, &QTimer::timeout, this, [this] {
        if (WaitDone done = std::exchange(m_pauseDone, nullptr))
            done();
    });
    connect(tmrTout, &QTimer::timeout, this, &SignLink::replyWindowEnded);
    connect(m_udpServer, &platform::UdpReceiver::datagramReceived, this,
            [this](const QByteArray &payload) { m_rxData = payload; });
    connect(m_serial, &platform::SerialLine::failed, this, &SignLink::serialPortFailed);
}

SignLink::~SignLink() = default;

void SignLink::setDestination(const QString &ipAddress)
{
    m_destination = ipAddress.trimmed();
    m_address.clear();
    m_lookupError.clear();
    m_lookupPending = false;
    const quint64 generation = ++m_lookupGeneration;

    if (m_destination.isEmpty()) {
        m_lookupError = tr("No sign address is set.");
    } else if (!m_address.setAddress(m_destination)) {
        m_lookupPending = true;
        m_resolver(m_destination, this,
                   [this, generation](const QHostAddress &address, const QString &error) {
                       if (generation != m_lookupGeneration)
                           return; // a newer address replaced this one
                       m_lookupPending = false;
                       m_address = address;
                       m_lookupError = error;
                       for (auto &done : std::exchange(m_waitingForAddress, {}))
                           done(m_lookupError.isEmpty() ? QString()
                                                        : tr("The sign address \"%1\" could not be "
                                                             "found: %2")
                                                              .arg(m_destination, m_lookupError));
                   });
    }
}

void SignLink::whenDestinationReady(std::function<void(const QString &error)> done)
{
    if (m_lookupPending) {
        m_waitingForAddress.push_back(std::move(done));
        return;
    }
    if (m_address.isNull())
        done(
            tr("The sign address \"%1\" could not be found: %2").arg(m_destination, m_lookupError));
    else
        done({});
}

QString SignLink::openReceiver(qint16 localPort)
{
    if (localPort < 0)
        return tr("The receive port %1 is not a valid UDP port; replies from the "
                  "sign will not be received.")
            .arg(localPort);
    return m_udpServer->bind(localPort);
}

QString SignLink::openSerial(qint16 comPort)
{
    return m_serial->open(comPort, m_comPorts);
}

bool SignLink::receiverOpen() const
{
    return m_udpServer->isBound();
}
quint16 SignLink::receiverPort() const
{
    return m_udpServer->localPort();
}
bool SignLink::serialOpen() const
{
    return m_serial->isOpen();
}
QString SignLink::serialDevice() const
{
    return m_serial->deviceName();
}

bool SignLink::busy() const
{
    return m_datagramDone || m_replyDone || m_pauseDone;
}

void SignLink::setUdpSender(platform::UdpSender *shared)
{
    if (m_udpClient->parent() == this)
        delete m_udpClient;
    m_udpClient = shared;
}

void SignLink::Send(const QByteArray &TxBuffer, bool lan, SendDone done)
{
    if (lan) {
        SendResult result;
        if (m_address.isNull()) {
            result.error = tr("The sign address \"%1\" is not known.").arg(m_destination);
            result.kind = LinkError::AddressUnknown;
        } else if (m_datagramSender) {
            result.error = m_datagramSender(TxBuffer, m_address, m_signPort);
            if (!result.error.isEmpty())
                result.kind = LinkError::DatagramFailed;
        } else {
            m_datagramDone = std::move(done);
            m_udpClient->send(TxBuffer, m_address, m_signPort, this, [this](const QString &error) {
                if (SendDone sent = std::exchange(m_datagramDone, nullptr))
                    sent({error, error.isEmpty(),
                          error.isEmpty() ? LinkError::None : LinkError::DatagramFailed});
            });
            return;
        }
        result.sent = result.error.isEmpty();
        done(result);
        return;
    }
    if (m_serial->isOpen()) {
        Send485(TxBuffer, std::move(done));
        return;
    }
    done({}); // serial chosen, port not open: nothing goes out
}

void SignLink::Send485(const QByteArray &TxData, SendDone done)
{
    if (!m_serial->isOpen()) {
        done({tr("The serial port is not open."), false, LinkError::SerialNotOpen});
        return;
    }
    const qint64 written = m_serial->write(TxData);
    if (written != TxData.size()) {
        done({tr("Writing to the serial port %1 failed: %2")
                  .arg(m_serial->deviceName(), m_serial->errorString()),
              false, LinkError::SerialWriteFailed});
        return;
    }
    m_replyDone = std::move(done);
    tmrTout->start();
}

void SignLink::replyWindowEnded()
{
    // Whatever the sign sent in the window; reading it also empties the port's input.
    const QByteArray reply = m_serial->readAll();
    if (!reply.isEmpty())
        m_rxData = reply;
    if (SendDone done = std::exchange(m_replyDone, nullptr))
        done({{}, true});
}

void SignLink::pause(WaitDone done)
{
    m_pauseDone = std::move(done);
    tmrDelay->start();
}

void SignLink::cancel()
{
    tmrDelay->stop();
    tmrTout->stop();
    m_pauseDone = nullptr;
    m_replyDone = nullptr;
    m_datagramDone = nullptr;
}

void SignLink::serialPortFailed(const QString &reason)
{
    const QString message = tr("The serial port %1 failed: %2").arg(m_serial->deviceName(), reason);
    emit serialFailed(message);
    // A write still waiting its reply window (nobody took the failure over) ends with it.
    if (SendDone done = std::exchange(m_replyDone, nullptr)) {
        tmrTout->stop();
        done({message, false, LinkError::SerialPortFailed});
    }
}

} // namespace lumawrite::link
