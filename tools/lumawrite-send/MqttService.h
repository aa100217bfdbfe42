#pragma once

#include "Discovery.h"
#include "MqttClient.h"
#include "SendOptions.h"
#include "SignFleet.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <memory>

namespace lumawrite::send {

// The most a message may hold.
constexpr qsizetype MaxPayloadBytes = 64 * 1024;

// mqtt://HOST[:PORT] (1883) or mqtts://HOST[:PORT] (8883, TLS); an error when it is neither.
QString readBrokerUrl(const QString &url, platform::BrokerAccess &into);

// The first line of a password file, which must be a regular file; an error when it is not.
QString readPasswordFile(const QString &path, QString &password);

// A message as it came from the broker: plain UTF-8 text, or a JSON object (its first
// character other than a blank is "{") with "text", or "saved" with the name of a saved message,
// and the choices the options make. Text may start with a picture, "{NAME}" (a NAME without
// quotes, colons or braces), or with "{{".
struct Payload {
    QString text;
    QString saved; // the saved message to send, with its own choices under those given here
    Overrides choices;
    bool allowEmpty = false; // "allow_empty": an empty message (or blanks) blanks the signs
    QString error;           // why it is refused; nothing is sent
};
Payload readPayload(const QByteArray &payload, const QStringList &fonts);
// Why a message of that many bytes, above MaxPayloadBytes, is refused.
QString tooLargeText(qsizetype bytes);

// The status document, {"state": ..., "frames": n, "of": m, "text": ..., "error": ...,
// "at": ...}.
QByteArray statusDocument(const QString &state, int frames, int of, const QString &text,
                          const QString &error, const QDateTime &at);

// What a service keeps in its state file: what it last took from each topic (a digest of the
// message and the broker's id for its delivery), and the last message taken with how its upload
// went. The file is the service's own, but it is read back as any outside input is: anything
// that does not fit is left out.
struct ServiceState {
    struct Taken {
        QByteArray digest;
        int messageId = -1;
    };
    QHash<QByteArray, Taken> taken;
    struct LastUpload {
        QByteArray payload; // empty: none
        bool finished = true;
        signs::SignFleet::Status status;
        QDateTime at;
    };
    LastUpload last;
};
ServiceState readServiceState(const QByteArray &content);
QByteArray writeServiceState(const ServiceState &state);

// lumawrite-send as a service: the messages published to PREFIX/message (for every --topic) go
// to its signs, the newest winning, and its state is published, retained, to
// FIRSTPREFIX/status, at every change of state and every 10 frames.
class MqttService : public QObject {
    Q_OBJECT
public:
    MqttService(const SendOptions &options, platform::BrokerAccess access,
                std::unique_ptr<signs::SignFleet> fleet, QStringList fonts,
                std::function<void(const QString &)> err, QObject *parent = nullptr);
    ~MqttService() override;

    QString start();
    // Between frames: no further frame is sent, "offline" is published, and the connection
    // ends; stopped() follows.
    void stop();

signals:
    void stopped();

private:
    void received(const QByteArray &topic, const QByteArray &payload, bool retained, int messageId);
    void refuse(const QString &why);
    void take(const QByteArray &payload);
    void messageDone();
    void loadTaken();
    void saveTaken();
    void publishStatus(bool force = false);
    void finishStop();
    bool stopping() const { return m_state == State::Stopping || m_state == State::Stopped; }

    QStringList m_topics;
    QByteArray m_statusTopic;
    std::optional<DiscoveryService> m_discovery; // announced (or taken away) at every connect
    bool m_discoveryRemove = false;
    std::unique_ptr<signs::SignFleet> m_fleet;
    QStringList m_fonts;
    std::function<void(const QString &)> m_err;
    QString m_clientId;
    SendOptions m_options; // where its saved messages are
    platform::MqttClient m_client;
    // Shown until the next message is sent: a refusal, or after a start the last state known.
    std::optional<signs::SignFleet::Status> m_refusal;
    QDateTime m_refusalAt;
    QString m_shownState;
    int m_shownTens = -1;
    QString m_shownText;
    QString m_shownError;
    // Where the service is with its broker. What goes wrong with the connection is said once
    // for each stretch of it, not at every try.
    enum class State {
        Connecting,  // no answer from the broker yet
        Unreachable, // the tries fail before the broker answers
        Refused,     // the broker said no
        Connected,
        Lost,     // the connection went; it is tried again
        Stopping, // "offline" is on its way out
        Stopped,
    };
    State m_state = State::Connecting;
    // What was last taken from each topic (a digest of it), kept across restarts in the state
    // file: a retained message the broker hands on again is not taken twice.
    QString m_takenFile;
    ServiceState m_kept;
    bool m_takenUnsaved = false; // said once
    // After a stop or a crash mid-upload, a new start sends the last message again; after a
    // finished one it shows its state.
    bool m_resend = false; // the last upload did not finish: it goes again once connected
    // Messages that come close together (a queue handed on after an absence) are taken as one:
    // the newest.
    QTimer m_gather;
    QByteArray m_newest;
    QElapsedTimer m_connectedFor; // since the broker last took the connection
    int m_shortConnections = 0;   // ended by the broker within seconds, one after another
    int m_offlineId = -1;         // the message id of "offline", while stopping
};

} // namespace lumawrite::send
