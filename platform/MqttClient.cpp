#include "MqttClient.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cerrno>
#include <chrono>
#include <cstring>

#include <mosquitto.h>

namespace lumawrite::platform {
namespace {

constexpr int KeepAliveSeconds = 30;
// The back-off between tries: from 1 s, doubling, to at most 60 s. A connection the broker
// ends sooner than StableS after taking it (another client with the same id takes it over,
// say) does not start the back-off anew.
constexpr int MaxRetryDelayS = 60;
constexpr int StableS = 30;

MqttClient *clientOf(void *data)
{
    return static_cast<MqttClient *>(data);
}

} // namespace

MqttClient::MqttClient(BrokerAccess access, QObject *parent)
    : QObject(parent), m_access(std::move(access))
{
    static const int initialised = mosquitto_lib_init();
    Q_UNUSED(initialised);
}

MqttClient::~MqttClient()
{
    disconnectFromBroker();
    if (m_mosq)
        mosquitto_destroy(m_mosq);
}

QString MqttClient::start()
{
    const QByteArray id = m_access.clientId.toUtf8();
    m_mosq = mosquitto_new(id.constData(), false, this);
    if (!m_mosq)
        return QCoreApplication::translate("lumawrite::platform::MqttClient",
                                           "the MQTT client could not be made");
    // The network thread's reports go to the thread of this object, which handles them in
    // turn; the object outlives the network thread (the destructor ends it first).
    mosquitto_connect_callback_set(m_mosq, [](mosquitto *, void *data, int code) {
        MqttClient *self = clientOf(data);
        self->m_accepted = code == 0;
        self->m_acceptedAt = std::chrono::steady_clock::now().time_since_epoch().count();
        QMetaObject::invokeMethod(
            self,
            [self, code] {
                if (code == 0)
                    emit self->connected();
                else
                    emit self->refused(code, connackText(code));
            },
            Qt::QueuedConnection);
    });
    mosquitto_disconnect_callback_set(m_mosq, [](mosquitto *, void *data, int code) {
        MqttClient *self = clientOf(data);
        QMetaObject::invokeMethod(
            self, [self, code] { emit self->disconnected(code); }, Qt::QueuedConnection);
    });
    mosquitto_message_callback_set(m_mosq, [](mosquitto *, void *data,
                                              const mosquitto_message *message) {
        MqttClient *self = clientOf(data);
        const QByteArray topic(message->topic);
        const qsizetype bytes = message->payloadlen;
        if (self->m_access.maxPayloadBytes > 0 && bytes > self->m_access.maxPayloadBytes) {
            // Not copied: a publish of hundreds of MB would be held several times over.
            QMetaObject::invokeMethod(
                self, [self, topic, bytes] { emit self->messageTooLarge(topic, bytes); },
                Qt::QueuedConnection);
            return;
        }
        const QByteArray payload(static_cast<const char *>(message->payload), message->payloadlen);
        const bool retained = message->retain;
        const int id = message->mid;
        QMetaObject::invokeMethod(
            self,
            [self, topic, payload, retained, id] {
                emit self->messageReceived(topic, payload, retained, id);
            },
            Qt::QueuedConnection);
    });
    // What the library says of a failed handshake, for the reason it is reported with.
    mosquitto_log_callback_set(m_mosq, [](mosquitto *, void *data, int level, const char *text) {
        if (level != MOSQ_LOG_ERR)
            return;
        MqttClient *self = clientOf(data);
        std::lock_guard errorsLock(self->m_errorsMutex);
        self->m_libraryErrors.append(QString::fromUtf8(text));
    });
    mosquitto_publish_callback_set(m_mosq, [](mosquitto *, void *data, int mid) {
        MqttClient *self = clientOf(data);
        QMetaObject::invokeMethod(
            self, [self, mid] { emit self->published(mid); }, Qt::QueuedConnection);
    });

    // Published to from this thread while the network thread runs.
    int rc = mosquitto_threaded_set(m_mosq, true);
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    if (!m_access.user.isEmpty() && rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_username_pw_set(m_mosq, m_access.user.toUtf8().constData(),
                                       m_access.password.toUtf8().constData());
    if (m_access.tls && rc == MOSQ_ERR_SUCCESS) {
        const QByteArray caFile = m_access.caFile.toLocal8Bit();
        rc = mosquitto_tls_set(m_mosq, caFile.isEmpty() ? nullptr : caFile.constData(),
                               caFile.isEmpty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr,
                               nullptr);
    }
    if (!m_access.willTopic.isEmpty() && rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_will_set(m_mosq, m_access.willTopic.constData(),
                                int(m_access.willPayload.size()), m_access.willPayload.constData(),
                                1, true);
    if (rc != MOSQ_ERR_SUCCESS)
        return QString::fromUtf8(mosquitto_strerror(rc));
    connect(this, &MqttClient::connected, this, [this] { m_connected = true; });
    connect(this, &MqttClient::disconnected, this, [this] { m_connected = false; });
    m_thread = std::thread([this] { run(); });
    return {};
}

void MqttClient::run()
{
    const QByteArray host = m_access.host.toUtf8();
    int delayS = 1;
    bool first = true;
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        lock.unlock();
        m_accepted = false;
        {
            std::lock_guard errorsLock(m_errorsMutex);
            m_libraryErrors.clear();
        }
        // The TCP connection is not waited for: the loop below sees it through.
        errno = 0;
        int rc = first ? mosquitto_connect_async(m_mosq, host.constData(), m_access.port,
                                                 KeepAliveSeconds)
                       : mosquitto_reconnect_async(m_mosq);
        int error = errno;
        first = false;
        // Until the connection ends; every second it looks whether it is to stop. A goodbye
        // (DISCONNECT) is seen out first, for a few rounds at most.
        int roundsLeft = 3;
        while (rc == MOSQ_ERR_SUCCESS && (!stopping() || (m_goodbye && roundsLeft-- > 0))) {
            errno = 0;
            rc = mosquitto_loop(m_mosq, 1000, 1);
            error = errno;
        }
        lock.lock();
        if (m_stopping)
            break;
        // A broker that took the connection resets the back-off; one that refused it has
        // said why through the connect callback.
        if (m_accepted) {
            const auto lasted = std::chrono::steady_clock::now() -
                                std::chrono::steady_clock::time_point(
                                    std::chrono::steady_clock::duration(m_acceptedAt.load()));
            if (lasted >= std::chrono::seconds(StableS))
                delayS = 1;
        }
        if (rc != MOSQ_ERR_CONN_REFUSED && rc != MOSQ_ERR_AUTH && !m_accepted) {
            std::unique_lock errorsLock(m_errorsMutex);
            const QString reason = rc == MOSQ_ERR_TLS ? tlsFailureText(m_libraryErrors, m_access)
                                   : rc == MOSQ_ERR_ERRNO && error != 0
                                       ? QString::fromLocal8Bit(std::strerror(error))
                                       : QString::fromUtf8(mosquitto_strerror(rc));
            QMetaObject::invokeMethod(
                this, [this, reason] { emit unreachable(reason); }, Qt::QueuedConnection);
        }
        m_wake.wait_for(lock, std::chrono::seconds(delayS), [this] { return m_stopping; });
        delayS = qMin(delayS * 2, MaxRetryDelayS);
    }
}

bool MqttClient::stopping()
{
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

int MqttClient::publish(const QByteArray &topic, const QByteArray &payload, bool retain)
{
    if (!m_mosq)
        return -1;
    int mid = 0;
    const int rc = mosquitto_publish(m_mosq, &mid, topic.constData(), int(payload.size()),
                                     payload.constData(), 1, retain);
    return rc == MOSQ_ERR_SUCCESS ? mid : -1;
}

void MqttClient::subscribe(const QByteArray &topic)
{
    if (m_mosq)
        mosquitto_subscribe(m_mosq, nullptr, topic.constData(), 1);
}

void MqttClient::disconnectFromBroker()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    // A connected client says goodbye (the will is not published); the network thread sees
    // the stop within a second, or at once when it waits to try again.
    if (m_connected) {
        m_goodbye = true;
        mosquitto_disconnect(m_mosq);
    }
    m_wake.notify_all();
    m_thread.join();
}

QString MqttClient::tlsFailureText(const QStringList &libraryErrors, const BrokerAccess &access)
{
    const QString said = libraryErrors.join(QLatin1Char(' '));
    const auto mentions = [&said](const char *what) {
        return said.contains(QLatin1String(what), Qt::CaseInsensitive);
    };
    if (mentions("host name verification failed"))
        return QCoreApplication::translate("lumawrite::platform::MqttClient",
                                           "the broker's certificate is not for the host name "
                                           "\"%1\"")
            .arg(access.host);
    if (mentions("certificate verify failed"))
        return access.caFile.isEmpty()
                   ? QCoreApplication::translate(
                         "lumawrite::platform::MqttClient",
                         "the broker's certificate is not signed by an authority this system "
                         "trusts, or has expired; give its authority with --mqtt-cafile")
                   : QCoreApplication::translate("lumawrite::platform::MqttClient",
                                                 "the broker's certificate is not signed by the "
                                                 "authority in %1, or has expired")
                         .arg(access.caFile);
    // A plain MQTT port closes the connection on the first TLS bytes, or answers in MQTT.
    if (mentions("unexpected eof") || mentions("wrong version number") ||
        mentions("packet length too long") || mentions("record layer failure") ||
        mentions("http request"))
        return QCoreApplication::translate("lumawrite::platform::MqttClient",
                                           "the broker does not speak TLS on port %1; is it a "
                                           "plain MQTT port (mqtt://)?")
            .arg(access.port);
    const qsizetype colon = said.lastIndexOf(QLatin1String("::"));
    return QCoreApplication::translate("lumawrite::platform::MqttClient", "TLS failed: %1")
        .arg(colon >= 0 ? said.mid(colon + 2)
                        : QString::fromUtf8(mosquitto_strerror(MOSQ_ERR_TLS)));
}

QString MqttClient::connackText(int code)
{
    return QString::fromUtf8(mosquitto_connack_string(code));
}

} // namespace lumawrite::platform
