#include "MqttService.h"

#include "MessagePlan.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumawrite::send {
namespace {

const QByteArray OfflineDocument = QByteArrayLiteral("{\"state\":\"offline\"}");

// How long a stop waits for the broker to take the "offline" status.
constexpr int OfflineWaitMs = 3000;

// Messages that arrive within this of each other are taken as one, the newest.
constexpr int GatherMs = 250;

// Where a service keeps what it last took from each topic: the XDG state folder
// ($XDG_STATE_HOME, else ~/.local/state), a file for each client id.
QString takenFilePath(const QString &clientId)
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + QStringLiteral("/.local/state");
    const QByteArray name =
        QCryptographicHash::hash(clientId.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return state + QStringLiteral("/lumawrite/mqtt-taken-%1.json").arg(QString::fromLatin1(name));
}

// A connection the broker ends sooner than this after taking it was taken away.
constexpr qint64 ShortConnectionMs = 10000;

QString stateName(signs::SignFleet::Status::State state)
{
    switch (state) {
    case signs::SignFleet::Status::State::Sending:
        return QStringLiteral("sending");
    case signs::SignFleet::Status::State::Sent:
        return QStringLiteral("sent");
    case signs::SignFleet::Status::State::Failed:
        return QStringLiteral("failed");
    case signs::SignFleet::Status::State::Refused:
        return QStringLiteral("refused");
    default:
        return QStringLiteral("idle");
    }
}

signs::SignFleet::Status::State stateNamed(const QString &name)
{
    using State = signs::SignFleet::Status::State;
    for (const State state :
         {State::Idle, State::Sending, State::Sent, State::Failed, State::Refused})
        if (stateName(state) == name)
            return state;
    return State::Idle;
}

// A whole number in [low, high] or a refusal naming the field.
QString wholeNumber(const QJsonObject &object, const QString &name, int low, int high,
                    std::optional<int> &into)
{
    if (!object.contains(name))
        return {};
    const QJsonValue value = object.value(name);
    const double number = value.toDouble();
    if (!value.isDouble() || std::floor(number) != number)
        return QCoreApplication::translate("lumawrite::send::MqttService",
                                           "\"%1\" must be a whole number")
            .arg(name);
    if (number < low || number > high)
        return QCoreApplication::translate("lumawrite::send::MqttService",
                                           "\"%1\" must be from %2 to %3, not %4")
            .arg(name)
            .arg(low)
            .arg(high)
            .arg(number);
    into = int(number);
    return {};
}

QString truth(const QJsonObject &object, const QString &name, std::optional<bool> &into)
{
    if (!object.contains(name))
        return {};
    if (!object.value(name).isBool())
        return QCoreApplication::translate("lumawrite::send::MqttService",
                                           "\"%1\" must be true or false")
            .arg(name);
    into = object.value(name).toBool();
    return {};
}

} // namespace

QString readBrokerUrl(const QString &url, platform::BrokerAccess &into)
{
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme();
    if (!parsed.isValid() ||
        (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts")) ||
        parsed.host().isEmpty() || !parsed.userInfo().isEmpty() || parsed.port() == 0 ||
        !(parsed.path().isEmpty() || parsed.path() == QLatin1String("/")) || parsed.hasQuery() ||
        parsed.hasFragment())
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt takes mqtt://HOST[:PORT] or "
                                           "mqtts://HOST[:PORT], not \"%1\".")
            .arg(url);
    into.tls = scheme == QLatin1String("mqtts");
    into.host = parsed.host();
    into.port = quint16(parsed.port(into.tls ? 8883 : 1883));
    return {};
}

QString readPasswordFile(const QString &path, QString &password)
{
    // Opened without waiting, so that a FIFO cannot hold the start up; then it must be a file.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt-password-file %1 cannot be read: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt-password-file %1 is not a regular file.")
            .arg(path);
    }
    QByteArray data(4096, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, std::size_t(data.size() - got));
        if (n > 0)
            got += n;
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(fd);
    data.truncate(got);
    const qsizetype end = data.indexOf('\n');
    QByteArray line = end < 0 ? data : data.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    password = QString::fromUtf8(line);
    return {};
}

QString tooLargeText(qsizetype bytes)
{
    return QCoreApplication::translate("lumawrite::send::MqttService",
                                       "the message holds %1 bytes; at most %2 are taken")
        .arg(bytes)
        .arg(MaxPayloadBytes);
}

namespace {

// A text that starts as a message with pictures does: "{{", or "{NAME}" with a name that no
// JSON object starts with (one without quotes, colons or blanks at its ends). A broken JSON
// object stays JSON, and is refused.
bool startsWithPicture(const QString &text)
{
    if (text.startsWith(QStringLiteral("{{")))
        return true;
    const qsizetype close = text.indexOf(QLatin1Char('}'));
    if (close < 2)
        return false;
    const QString name = text.mid(1, close - 1);
    return name.trimmed() == name && !name.contains(QLatin1Char('"')) &&
           !name.contains(QLatin1Char(':')) && !name.contains(QLatin1Char('{'));
}

} // namespace

Payload readPayload(const QByteArray &payload, const QStringList &fonts)
{
    Payload result;
    if (payload.size() > MaxPayloadBytes) {
        result.error = tooLargeText(payload.size());
        return result;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(payload);
    if (utf8.hasError()) {
        result.error = QCoreApplication::translate("lumawrite::send::MqttService",
                                                   "the message is not valid UTF-8");
        return result;
    }
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QLatin1Char('{')) || startsWithPicture(trimmed)) {
        result.text = text;
        // As a line read from standard input: its one line break is not part of it.
        if (result.text.endsWith(QStringLiteral("\r\n")))
            result.text.chop(2);
        else if (result.text.endsWith(QLatin1Char('\n')))
            result.text.chop(1);
        return result;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(payload, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error = QCoreApplication::translate("lumawrite::send::MqttService",
                                                   "invalid JSON at byte %1: %2")
                           .arg(parseError.offset)
                           .arg(parseError.errorString());
        return result;
    }
    const QJsonObject object = document.object();
    static const QStringList known = {
        QStringLiteral("text"),          QStringLiteral("font"),   QStringLiteral("size"),
        QStringLiteral("bold"),          QStringLiteral("italic"), QStringLiteral("underline"),
        QStringLiteral("strikethrough"), QStringLiteral("offset"), QStringLiteral("speed"),
        QStringLiteral("allow_empty"),   QStringLiteral("saved")};
    for (const QString &key : object.keys()) {
        if (!known.contains(key)) {
            result.error =
                QCoreApplication::translate("lumawrite::send::MqttService", "unknown field \"%1\"")
                    .arg(signs::visibleControls(key));
            return result;
        }
    }
    // A saved message instead of a text.
    const QJsonValue saved = object.value(QStringLiteral("saved"));
    if (object.contains(QStringLiteral("saved"))) {
        if (object.contains(QStringLiteral("text"))) {
            result.error = QCoreApplication::translate(
                "lumawrite::send::MqttService",
                "give \"text\" or \"saved\", not both: a saved message brings its own text");
            return result;
        }
        const QString problem =
            saved.isString()
                ? signs::savedNameProblem(saved.toString())
                : QCoreApplication::translate("lumawrite::send::MqttService", "it is not a string");
        if (!problem.isEmpty()) {
            result.error = QCoreApplication::translate("lumawrite::send::MqttService",
                                                       "\"saved\" must name a saved message: %1")
                               .arg(problem);
            return result;
        }
    } else if (!object.value(QStringLiteral("text")).isString()) {
        result.error = QCoreApplication::translate("lumawrite::send::MqttService",
                                                   "\"text\" must be given, as a string");
        return result;
    }
    Overrides &v = result.choices;
    std::optional<bool> allowEmpty;
    for (const QString &error :
         {wholeNumber(object, QStringLiteral("size"), SettingsRange::MinFontSize,
                      SettingsRange::MaxFontSize, v.size),
          wholeNumber(object, QStringLiteral("offset"), SettingsRange::MinOffset,
                      SettingsRange::MaxOffset, v.offset),
          wholeNumber(object, QStringLiteral("speed"), 1, 10, v.speed),
          truth(object, QStringLiteral("bold"), v.bold),
          truth(object, QStringLiteral("italic"), v.italic),
          truth(object, QStringLiteral("strikethrough"), v.strikethrough),
          truth(object, QStringLiteral("underline"), v.underline),
          truth(object, QStringLiteral("allow_empty"), allowEmpty)}) {
        if (!error.isEmpty()) {
            result.error = error;
            return result;
        }
    }
    if (object.contains(QStringLiteral("font"))) {
        const QJsonValue font = object.value(QStringLiteral("font"));
        if (!font.isString()) {
            result.error = QCoreApplication::translate("lumawrite::send::MqttService",
                                                       "\"font\" must be a string");
            return result;
        }
        if (signs::fontPosition(fonts, font.toString().trimmed()) < 0) {
            result.error = signs::unknownFontMessage(font.toString());
            return result;
        }
        v.font = font.toString().trimmed();
    }
    const QString messageText = object.value(QStringLiteral("text")).toString();
    // A "\ud800" with no partner is no character: the sign cannot show it, and strict readers
    // of the status, where the text is repeated, refuse it.
    if (!messageText.isValidUtf16()) {
        result.error = QCoreApplication::translate("lumawrite::send::MqttService",
                                                   "\"text\" holds half of a character pair");
        return result;
    }
    result.text = messageText;
    result.saved = saved.toString();
    result.allowEmpty = allowEmpty.value_or(false);
    return result;
}

QByteArray statusDocument(const QString &state, int frames, int of, const QString &text,
                          const QString &error, const QDateTime &at)
{
    const QJsonObject object{
        {QStringLiteral("state"), state}, {QStringLiteral("frames"), frames},
        {QStringLiteral("of"), of},       {QStringLiteral("text"), text},
        {QStringLiteral("error"), error}, {QStringLiteral("at"), at.toUTC().toString(Qt::ISODate)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

MqttService::MqttService(const SendOptions &options, platform::BrokerAccess access,
                         std::unique_ptr<signs::SignFleet> fleet, QStringList fonts,
                         std::function<void(const QString &)> err, QObject *parent)
    : QObject(parent), m_topics(options.mqttTopics),
      m_statusTopic((options.mqttTopics.value(0) + QStringLiteral("/status")).toUtf8()),
      m_fleet(std::move(fleet)), m_fonts(std::move(fonts)), m_err(std::move(err)),
      m_clientId(access.clientId), m_options(options), m_client([&] {
          access.willTopic = m_statusTopic;
          access.willPayload = OfflineDocument;
          return access;
      }())
{
    connect(m_fleet.get(), &signs::SignFleet::statusChanged, this, [this] {
        m_refusal.reset();
        publishStatus();
    });
    if (!options.discoveryPrefix.isEmpty()) {
        DiscoveryService discovery;
        discovery.prefix = options.discoveryPrefix;
        discovery.deviceName = options.discoveryName;
        discovery.clientId = m_clientId;
        discovery.firstTopic = m_topics.value(0);
        discovery.statusTopic = m_statusTopic;
        discovery.version = QCoreApplication::applicationVersion();
        m_discovery = discovery;
        m_discoveryRemove = options.discoveryRemove;
    }
    connect(&m_client, &platform::MqttClient::messageReceived, this, &MqttService::received);
    connect(&m_client, &platform::MqttClient::messageTooLarge, this,
            [this](const QByteArray &, qsizetype bytes) {
                if (!stopping())
                    refuse(tooLargeText(bytes));
            });
    connect(m_fleet.get(), &signs::SignFleet::messageDone, this, &MqttService::messageDone);
    m_gather.setSingleShot(true);
    m_gather.setInterval(GatherMs);
    connect(&m_gather, &QTimer::timeout, this, [this] { take(std::exchange(m_newest, {})); });
    m_takenFile = takenFilePath(m_clientId);
    loadTaken();
    connect(&m_client, &platform::MqttClient::connected, this, [this] {
        if (stopping())
            return;
        m_state = State::Connected;
        m_connectedFor.start();
        m_err(QCoreApplication::translate("lumawrite::send::MqttService",
                                          "lumawrite-send: connected to the broker\n"));
        // The session is kept by the broker; subscribing again changes nothing there, and
        // covers a broker that lost it.
        for (const QString &topic : std::as_const(m_topics))
            m_client.subscribe((topic + QStringLiteral("/message")).toUtf8());
        // Retained, so that an automation system that starts later finds the entities; they
        // stay when the service stops (shown unavailable through its "offline").
        if (m_discovery)
            for (const DiscoveryConfig &config : m_discoveryRemove ? discoveryRemovals(*m_discovery)
                                                                   : discoveryConfigs(*m_discovery))
                m_client.publish(config.topic, config.payload, true);
        // The last will may have said "offline" meanwhile.
        publishStatus(true);
        if (std::exchange(m_resend, false)) {
            m_err(QCoreApplication::translate(
                      "lumawrite::send::MqttService",
                      "lumawrite-send: the last upload did not finish (%1 of %2 frames); it is "
                      "sent again\n")
                      .arg(m_kept.last.status.frames)
                      .arg(m_kept.last.status.of));
            take(m_kept.last.payload);
        }
    });
    connect(&m_client, &platform::MqttClient::refused, this,
            [this](int code, const QString &reason) {
                // Said once until the next success; the tries go on with their back-off, in case
                // the broker's password file is mended.
                if (stopping() || std::exchange(m_state, State::Refused) == State::Refused)
                    return;
                const bool credentials = code == 4 || code == 5;
                m_err((credentials
                           ? QCoreApplication::translate(
                                 "lumawrite::send::MqttService",
                                 "lumawrite-send: the broker refused the connection: %1; check "
                                 "--mqtt-user and --mqtt-password-file. Trying again with "
                                 "back-off.\n")
                           : QCoreApplication::translate(
                                 "lumawrite::send::MqttService",
                                 "lumawrite-send: the broker refused the connection: %1. Trying "
                                 "again with back-off.\n"))
                          .arg(reason));
            });
    connect(&m_client, &platform::MqttClient::disconnected, this, [this](int code) {
        // Only a connection that was there is lost; a refused or failed try ends this way too.
        if (m_state != State::Connected)
            return;
        m_state = State::Lost;
        // Taken away again and again soon after it was made: most likely another client with
        // the same id, each taking it from the other. Said once, when it is clear.
        m_shortConnections =
            m_connectedFor.elapsed() < ShortConnectionMs ? m_shortConnections + 1 : 0;
        if (m_shortConnections == 3)
            m_err(QCoreApplication::translate(
                      "lumawrite::send::MqttService",
                      "lumawrite-send: the broker ended the connection within seconds %1 times "
                      "running: another client may use the client id \"%2\" (give each service "
                      "its own --mqtt-client-id); trying again with back-off\n")
                      .arg(m_shortConnections)
                      .arg(signs::visibleControls(m_clientId)));
        m_err(QCoreApplication::translate(
                  "lumawrite::send::MqttService",
                  "lumawrite-send: the connection to the broker was lost (%1); reconnecting "
                  "with back-off\n")
                  .arg(code));
    });
    connect(&m_client, &platform::MqttClient::unreachable, this, [this](const QString &reason) {
        if (stopping() || std::exchange(m_state, State::Unreachable) == State::Unreachable)
            return;
        m_err(QCoreApplication::translate(
                  "lumawrite::send::MqttService",
                  "lumawrite-send: the broker cannot be reached (%1); trying again with "
                  "back-off\n")
                  .arg(reason));
    });
    connect(&m_client, &platform::MqttClient::published, this, [this](int id) {
        if (m_state == State::Stopping && id == m_offlineId)
            finishStop();
    });
}

MqttService::~MqttService() = default;

QString MqttService::start()
{
    return m_client.start();
}

void MqttService::received(const QByteArray &topic, const QByteArray &payload, bool retained,
                           int messageId)
{
    if (stopping())
        return;
    const QByteArray digest = QCryptographicHash::hash(payload, QCryptographicHash::Sha256).toHex();
    const ServiceState::Taken last = m_kept.taken.value(topic);
    // The broker hands a retained message on at every subscription, after every reconnect and
    // restart: the one already taken from its topic is not taken again, so that an older group
    // message never replaces a newer one. A QoS 1 message whose acknowledgement was lost comes
    // again under the same id: it is the same delivery, not the same text sent again.
    if (last.digest == digest && (retained || last.messageId == messageId))
        return;
    m_kept.taken.insert(topic, {digest, messageId});
    // Kept at once: the broker counts it as delivered, and a stop or a crash from here on
    // sends it on the next start.
    m_kept.last = {payload, false, {}, QDateTime::currentDateTimeUtc()};
    m_kept.last.status.state = signs::SignFleet::Status::State::Sending;
    saveTaken();
    m_newest = payload;
    m_gather.start();
}

void MqttService::refuse(const QString &why)
{
    m_err(QCoreApplication::translate("lumawrite::send::MqttService",
                                      "lumawrite-send: message refused: %1; nothing sent\n")
              .arg(why));
    signs::SignFleet::Status refusal;
    refusal.state = signs::SignFleet::Status::State::Refused;
    refusal.error = why;
    m_refusal = refusal;
    m_refusalAt = QDateTime::currentDateTimeUtc();
    publishStatus(true);
}

void MqttService::take(const QByteArray &payload)
{
    Payload message = readPayload(payload, m_fonts);
    // A saved message is looked up when it is sent: the file may have changed since the last
    // start. Its own choices come under those of the payload.
    signs::SavedMessage saved;
    if (message.error.isEmpty() && !message.saved.isEmpty())
        message.error = findSavedMessage(m_options, message.saved, saved);
    if (message.error.isEmpty() && !message.saved.isEmpty()) {
        message.text = saved.text;
        message.choices = signs::savedMessageChoices(saved, message.choices);
    }
    m_kept.last = {payload, !message.error.isEmpty(), {}, QDateTime::currentDateTimeUtc()};
    if (!message.error.isEmpty()) {
        refuse(message.error);
        m_kept.last.status = *m_refusal;
        saveTaken();
        return;
    }
    m_kept.last.status.state = signs::SignFleet::Status::State::Sending;
    m_kept.last.status.text = message.text;
    saveTaken();
    m_fleet->submit(message.text, message.choices, message.allowEmpty);
}

void MqttService::messageDone()
{
    if (m_kept.last.payload.isEmpty() || m_kept.last.finished)
        return;
    m_kept.last.finished = true;
    m_kept.last.status = m_fleet->status();
    m_kept.last.at = QDateTime::currentDateTimeUtc();
    saveTaken();
}

void MqttService::publishStatus(bool force)
{
    if (stopping())
        return;
    const signs::SignFleet::Status status = m_refusal.value_or(m_fleet->status());
    const QString state = stateName(status.state);
    const int tens = status.frames / 10;
    // A refusal after another of the same text is told too: its reason is another.
    if (!force && state == m_shownState && status.text == m_shownText &&
        status.error == m_shownError && (state != QLatin1String("sending") || tens == m_shownTens))
        return;
    m_shownState = state;
    m_shownTens = tens;
    m_shownText = status.text;
    m_shownError = status.error;
    m_client.publish(m_statusTopic,
                     statusDocument(state, status.frames, status.of, status.text, status.error,
                                    m_refusal && m_refusalAt.isValid()
                                        ? m_refusalAt
                                        : QDateTime::currentDateTimeUtc()),
                     true);
}

void MqttService::stop()
{
    if (stopping())
        return;
    const bool connected = std::exchange(m_state, State::Stopping) == State::Connected;
    // The event loop runs between frames: no frame is cut; the fleet's uploads end here, as
    // stopped (in the history too), and "offline" says how far the one under way had come. The
    // service's own state keeps the message unfinished, to be sent again at the next start.
    signs::SignFleet::Status status = m_fleet->status();
    const bool sending = status.state == signs::SignFleet::Status::State::Sending;
    disconnect(m_fleet.get(), nullptr, this, nullptr);
    m_fleet->stop(
        QCoreApplication::translate("lumawrite-send", "stopped by SIGTERM, SIGHUP or Ctrl+C"));
    QByteArray offline = OfflineDocument;
    if (sending) {
        status.frames = m_fleet->status().frames; // those that went out
        offline = statusDocument(QStringLiteral("offline"), status.frames, status.of, status.text,
                                 QCoreApplication::translate("lumawrite::send::MqttService",
                                                             "stopped after %1 of %2 frames")
                                     .arg(status.frames)
                                     .arg(status.of),
                                 QDateTime::currentDateTimeUtc());
        m_kept.last.status = status;
        saveTaken();
    }
    m_fleet.reset();
    m_offlineId = connected ? m_client.publish(m_statusTopic, offline, true) : -1;
    if (m_offlineId < 0) {
        QTimer::singleShot(0, this, &MqttService::finishStop);
        return;
    }
    QTimer::singleShot(OfflineWaitMs, this, &MqttService::finishStop);
}

void MqttService::finishStop()
{
    if (m_state == State::Stopped)
        return;
    m_state = State::Stopped;
    m_client.disconnectFromBroker();
    emit stopped();
}

void MqttService::loadTaken()
{
    QByteArray content;
    ReadFailure failure;
    if (!readRegularFile(m_takenFile, content, failure))
        return; // none yet: nothing taken
    m_kept = readServiceState(content);
    if (m_kept.last.payload.isEmpty())
        return;
    if (!m_kept.last.finished) {
        m_resend = true;
    } else {
        // Until the next message: the state the signs were last left in.
        m_refusal = m_kept.last.status;
        m_refusalAt = m_kept.last.at;
    }
}

void MqttService::saveTaken()
{
    QDir().mkpath(QFileInfo(m_takenFile).path());
    QSaveFile out(m_takenFile);
    if (out.open(QIODevice::WriteOnly) && out.write(writeServiceState(m_kept)) >= 0 && out.commit())
        return;
    if (!std::exchange(m_takenUnsaved, true))
        m_err(QCoreApplication::translate("lumawrite::send::MqttService",
                                          "lumawrite-send: %1 could not be written (%2): a "
                                          "retained message may be taken again after a restart\n")
                  .arg(m_takenFile, out.errorString()));
}

ServiceState readServiceState(const QByteArray &content)
{
    ServiceState state;
    const QJsonObject file = QJsonDocument::fromJson(content).object();
    // {"taken": {TOPIC: {"digest": ..., "id": n}}, "last": {...}}; before, only {TOPIC: digest}.
    const bool topicsOnly = !file.contains(QStringLiteral("taken"));
    const QJsonObject taken = topicsOnly ? file : file.value(QStringLiteral("taken")).toObject();
    for (auto it = taken.begin(); it != taken.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        const QString digest = it.value().isString()
                                   ? it.value().toString()
                                   : entry.value(QStringLiteral("digest")).toString();
        if (!digest.isEmpty())
            state.taken.insert(it.key().toUtf8(),
                               {digest.toLatin1(), entry.value(QStringLiteral("id")).toInt(-1)});
    }
    const QJsonObject last = file.value(QStringLiteral("last")).toObject();
    const QByteArray payload =
        QByteArray::fromBase64(last.value(QStringLiteral("payload")).toString().toLatin1());
    if (topicsOnly || payload.isEmpty() || payload.size() > MaxPayloadBytes)
        return state;
    ServiceState::LastUpload &kept = state.last;
    kept.payload = payload;
    kept.finished = last.value(QStringLiteral("finished")).toBool(true);
    kept.status.state = stateNamed(last.value(QStringLiteral("state")).toString());
    kept.status.frames = qMax(0, last.value(QStringLiteral("frames")).toInt());
    kept.status.of = qMax(0, last.value(QStringLiteral("of")).toInt());
    kept.status.text = last.value(QStringLiteral("text")).toString();
    kept.status.error = last.value(QStringLiteral("error")).toString();
    kept.at = QDateTime::fromString(last.value(QStringLiteral("at")).toString(), Qt::ISODate);
    return state;
}

QByteArray writeServiceState(const ServiceState &state)
{
    QJsonObject taken;
    for (auto it = state.taken.cbegin(); it != state.taken.cend(); ++it)
        taken.insert(QString::fromUtf8(it.key()),
                     QJsonObject{{QStringLiteral("digest"), QString::fromLatin1(it->digest)},
                                 {QStringLiteral("id"), it->messageId}});
    QJsonObject file{{QStringLiteral("taken"), taken}};
    const ServiceState::LastUpload &last = state.last;
    if (!last.payload.isEmpty())
        file.insert(
            QStringLiteral("last"),
            QJsonObject{{QStringLiteral("payload"), QString::fromLatin1(last.payload.toBase64())},
                        {QStringLiteral("finished"), last.finished},
                        {QStringLiteral("state"), stateName(last.status.state)},
                        {QStringLiteral("frames"), last.status.frames},
                        {QStringLiteral("of"), last.status.of},
                        {QStringLiteral("text"), last.status.text},
                        {QStringLiteral("error"), last.status.error},
                        {QStringLiteral("at"), last.at.toString(Qt::ISODate)}});
    return QJsonDocument(file).toJson(QJsonDocument::Compact);
}

} // namespace lumawrite::send
