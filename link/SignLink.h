#pragma once

#include "SerialLine.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace lumawrite::platform {
class UdpReceiver;
class UdpSender;
} // namespace lumawrite::platform

namespace lumawrite::link {

// The two ways to a sign, opened once when the main window loads: UDP datagrams to the sign's
// address on port 12346 (with a receiver for its replies on the local port), and the RS-485
// serial line. Replies are stored, never interpreted.
class SignLink : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 SignUdpPort = 12346;

    explicit SignLink(platform::ComPortResolver resolver, QObject *parent = nullptr);
    ~SignLink() override;

    // The sign's address as stored in the settings (dotted address or host name).
    void setDestination(const QString &ipAddress);
    const QString &destination() const { return m_destination; }

    // Each returns an empty string on success, else a sentence for the operator.
    QString openReceiver(qint16 localPort);
    QString openSerial(qint16 comPort);

    bool receiverOpen() const;
    quint16 receiverPort() const;
    bool serialOpen() const;
    QString serialDevice() const;

    // The latest reply from a sign, from either transport; each arrival replaces it.
    const QByteArray &RxData() const { return m_rxData; }

signals:
    void serialFailed(const QString &reason);

private:
    platform::ComPortResolver m_resolver;
    platform::UdpSender *m_udpClient;
    platform::UdpReceiver *m_udpServer;
    platform::SerialLine *m_serial;
    QString m_destination;
    QByteArray m_rxData;
};

} // namespace lumawrite::link
