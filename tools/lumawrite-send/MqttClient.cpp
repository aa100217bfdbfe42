#include "MqttClient.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <mosquitto.h>

namespace lumawrite::send {
namespace {

constexpr int KeepAliveSeconds = 30;
// The back-off between tries: from 1 s, doubling, to at most 60 s.
constexpr int MaxRetryDelayS = 60;

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
    if (m_mosq) {
        if (m_looping)
            disconnectFromBroker();
        mosquitto_destroy(m_mosq);
    }
}

QString MqttClient::start()
{
    const QByteArray id = m_access.clientId.toUtf8();
    m_mosq = mosquitto_new(id.constData(), false, this);
    if (!m_mosq)
        return QCoreApplication::translate("lumawrite::send::MqttClient",
                                           "the MQTT client could not be made");
    // The network thread's reports go to the thread of this object, which handles them in
    // turn; the object outlives the thread (the destructor stops it first).
    mosquitto_connect_callback_set(m_mosq, [](mosquitto *, void *data, int code) {
        MqttClient *self = clientOf(data);
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
        const QByteArray payload(static_cast<const char *>(message->payload), message->payloadlen);
        QMetaObject::invokeMethod(
            self, [self, topic, payload] { emit self->messageReceived(topic, payload); },
            Qt::QueuedConnection);
    });
    mosquitto_publish_callback_set(m_mosq, [](mosquitto *, void *data, int mid) {
        MqttClient *self = clientOf(data);
        QMetaObject::invokeMethod(
            self, [self, mid] { emit self->published(mid); }, Qt::QueuedConnection);
    });

    const auto failed = [](int rc) { return QString::fromUtf8(mosquitto_strerror(rc)); };
    int rc = mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
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
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_reconnect_delay_set(m_mosq, 1, 60, true);
    if (rc != MOSQ_ERR_SUCCESS)
        return failed(rc);
    // The network thread waits for the first connection to be under way; once it is, the
    // thread reconnects by itself. A first try that fails at once (the broker's port closed)
    // is tried again from here with the same back-off.
    rc = mosquitto_connect_async(m_mosq, m_access.host.toUtf8().constData(), m_access.port,
                                 KeepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS)
        retryFirstConnection(rc);
    rc = mosquitto_loop_start(m_mosq);
    if (rc != MOSQ_ERR_SUCCESS)
        return failed(rc);
    m_looping = true;
    connect(this, &MqttClient::connected, this, [this] { m_connected = true; });
    connect(this, &MqttClient::disconnected, this, [this] { m_connected = false; });
    return {};
}

void MqttClient::retryFirstConnection(int rc)
{
    emit unreachable(rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(std::strerror(errno))
                                          : QString::fromUtf8(mosquitto_strerror(rc)));
    QTimer::singleShot(m_retryDelayS * 1000, this, [this] {
        if (!m_looping)
            return;
        const int rc = mosquitto_reconnect_async(m_mosq);
        if (rc != MOSQ_ERR_SUCCESS)
            retryFirstConnection(rc);
    });
    m_retryDelayS = qMin(m_retryDelayS * 2, MaxRetryDelayS);
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
    if (!m_mosq || !m_looping)
        return;
    mosquitto_disconnect(m_mosq);
    // Connected, the thread ends once the disconnect is out; else it may be asleep until its
    // next try, which it need not finish.
    mosquitto_loop_stop(m_mosq, !m_connected);
    m_looping = false;
}

QString MqttClient::connackText(int code)
{
    return QString::fromUtf8(mosquitto_connack_string(code));
}

} // namespace lumawrite::send
