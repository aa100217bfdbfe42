#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct mosquitto;

namespace lumawrite::platform {

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
    // A message above this many bytes is refused where it arrives, never copied (0: no limit).
    qsizetype maxPayloadBytes = 0;
};

// A connection to an MQTT broker through libmosquitto. A network thread of its own connects, and
// after a failed try or a loss tries again with a back-off from 1 s doubling to 60 s; the
// session is kept (clean session off). Everything it reports is handed to the thread that owns
// this object, as queued signals, so that nothing here ever waits for the network.
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
    // Why a TLS handshake failed, from what the client library reported of it: a certificate
    // for another host name, one no trusted authority signed, or no TLS on the port at all.
    static QString tlsFailureText(const QStringList &libraryErrors, const BrokerAccess &access);

signals:
    void connected();
    void refused(int code, const QString &reason); // the broker answered the connect with no
    void disconnected(int code);                   // lost; the thread reconnects by itself
    // retained: the broker kept it and hands it on at every subscription. messageId is the
    // broker's for this delivery: a QoS 1 message it hands on again (its acknowledgement was
    // lost) comes with the same id.
    void messageReceived(const QByteArray &topic, const QByteArray &payload, bool retained,
                         int messageId);
    // A message above maxPayloadBytes: only its size is handed on.
    void messageTooLarge(const QByteArray &topic, qsizetype bytes);
    void published(int messageId);
    // A try to connect failed before the broker could answer (port closed, host not found,
    // TLS refused) or the connection was lost; it is tried again with back-off.
    void unreachable(const QString &reason);

private:
    void run();
    bool stopping();

    BrokerAccess m_access;
    mosquitto *m_mosq = nullptr;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;                 // guarded by m_mutex
    std::atomic<bool> m_goodbye = false;     // a DISCONNECT is on its way out
    std::atomic<bool> m_accepted = false;    // the broker took the last connect
    std::atomic<long long> m_acceptedAt = 0; // when, on the steady clock
    bool m_connected = false;                // as this object's thread last heard
    std::mutex m_errorsMutex;
    QStringList m_libraryErrors; // of the try under way, guarded by m_errorsMutex
};

} // namespace lumawrite::platform
