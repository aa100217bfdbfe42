#include "SignLink.h"

#include "Udp.h"

namespace lumawrite::link {

SignLink::SignLink(platform::ComPortResolver resolver, QObject *parent)
    : QObject(parent), m_resolver(std::move(resolver)), m_udpClient(new platform::UdpSender(this)),
      m_udpServer(new platform::UdpReceiver(this)), m_serial(new platform::SerialLine(this)) {
    connect(m_udpServer, &platform::UdpReceiver::datagramReceived, this,
            [this](const QByteArray &payload) { m_rxData = payload; });
    connect(m_serial, &platform::SerialLine::failed, this, &SignLink::serialFailed);
}

SignLink::~SignLink() = default;

void SignLink::setDestination(const QString &ipAddress) {
    m_destination = ipAddress.trimmed();
}

QString SignLink::openReceiver(qint16 localPort) {
    if (localPort < 0)
        return QStringLiteral("The receive port %1 is not a valid UDP port; replies from the "
                              "sign will not be received.")
            .arg(localPort);
    return m_udpServer->bind(localPort);
}

QString SignLink::openSerial(qint16 comPort) {
    return m_serial->open(comPort, m_resolver);
}

bool SignLink::receiverOpen() const {
    return m_udpServer->isBound();
}
quint16 SignLink::receiverPort() const { return m_udpServer->localPort(); }
bool SignLink::serialOpen() const {
    return m_serial->isOpen();
}
QString SignLink::serialDevice() const {
    return m_serial->deviceName();
}

} // namespace lumawrite::link
