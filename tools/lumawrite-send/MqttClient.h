#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

struct mosquitto;

namespace lumawrite::send {

// Where the broker is and who we are to it.
struct BrokerAccess {
    QString host;
    quint16 port = 1883;
    bool tls = false;
    QString caFile;   // with tls; the system's certificates when empty
    QString clientId; // fixed, so that the broker keeps the subscriptions and queues for us
    QString user;     // none when empty
    QString password;
    QByteArray willTopic; // retained, QoS 1
    QByteArray willPayload;
};

// A connection to an MQTT broker through libmosquitto. Its network thread connects, reconnects
// after a loss with a back-off from 1 s doubling to 60 s, and keeps the session (clean session
// off); everything it reports is handed to the thread that owns this object, as queued signals,
// so that nothing here ever waits for the network.
class MqttClient : public QObject {
    Q_OBJECT
public:
    explicit MqttClient(BrokerAccess access, QObject *parent = nullptr);
    ~MqttClient() override;

    // Starts the network thread; an error when the connection cannot even be tried.
    QString start();
    // QoS 1; the message id, or -1 when it could not be queued.
    int publish(const QByteArray &topic, const QByteArray &payload, bool retain);
    void subscribe(const QByteArray &topic);
    // Ends the connection as a client that leaves on purpose (the will is not published) and
    // stops the network thread.
    void disconnectFromBroker();

    // libmosquitto's reason for a refused connection or a lost one.
    static QString connackText(int code);

signals:
    void connected();
    void refused(int code, const QString &reason); // the broker answered the connect with no
    void disconnected(int code);                   // lost; the thread reconnects by itself
    void messageReceived(const QByteArray &topic, const QByteArray &payload);
    void published(int messageId);
    // The first connection could not even be tried (the broker's port is closed); it is tried
    // again with back-off.
    void unreachable(const QString &reason);

private:
    void retryFirstConnection(int rc);

    BrokerAccess m_access;
    mosquitto *m_mosq = nullptr;
    bool m_looping = false;
    bool m_connected = false;
    int m_retryDelayS = 1;
};

} // namespace lumawrite::send
