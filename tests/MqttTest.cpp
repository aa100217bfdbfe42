#include "Discovery.h"
#include "MqttService.h"
#include "SendOptions.h"
#include "SignFleet.h"
#include "TestSupport.h"
#include "UploadHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

// The frames that end an upload to address 07: the parameters of one message block (and the
// five blank ones behind it: 6 blocks, 0x0180 columns) at a speed code, then the restart.
QByteArray parameters(const char *speedCode)
{
    return QByteArray::fromHex(QByteArray("aacc00103037001001000004018000") + speedCode);
}
const QByteArray Restart = QByteArray::fromHex("aacc000830370020");

TEST(MqttPayload, PlainTextAndJsonChoicesAreRead)
{
    const QStringList fonts = knownFonts();
    send::Payload plain = send::readPayload("Gr\xc3\xbc\xc3\x9f Gott\n", fonts);
    EXPECT_EQ(plain.error, QString());
    EXPECT_EQ(plain.text, QString::fromUtf8("Grüß Gott"));

    const send::Payload json = send::readPayload(
        "  {\"text\":\"Sale\",\"font\":\"DejaVu Sans\",\"size\":20,\"bold\":true,"
        "\"italic\":false,\"strikethrough\":true,\"underline\":false,\"offset\":-3,\"speed\":4}",
        fonts);
    ASSERT_EQ(json.error, QString());
    EXPECT_EQ(json.text, QStringLiteral("Sale"));
    EXPECT_EQ(json.choices.font, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(json.choices.size, 20);
    EXPECT_EQ(json.choices.bold, true);
    EXPECT_EQ(json.choices.italic, false);
    EXPECT_EQ(json.choices.strikethrough, true);
    EXPECT_EQ(json.choices.offset, -3);
    EXPECT_EQ(json.choices.speed, 4);
    EXPECT_FALSE(send::readPayload("{\"text\":\"x\"}", fonts).choices.size.has_value());
    // A saved message by its name, with choices of its own on top.
    const send::Payload saved =
        send::readPayload("{\"saved\": \"Closed for lunch\", \"bold\": true}", fonts);
    ASSERT_EQ(saved.error, QString());
    EXPECT_EQ(saved.saved, QStringLiteral("Closed for lunch"));
    EXPECT_EQ(saved.text, QString());
    EXPECT_EQ(saved.choices.bold, true);
    // A text may start with a picture, or with a literal brace, and is no JSON then.
    for (const char *text : {"{arrow-right} Entrance", " {logo 2}\t{heart}", "{{ braces }}"}) {
        const send::Payload picture = send::readPayload(text, fonts);
        EXPECT_EQ(picture.error, QString()) << text;
        EXPECT_EQ(picture.text, QString::fromUtf8(text));
    }
    // Blanks blank the sign only when the message says so.
    EXPECT_FALSE(send::readPayload("   ", fonts).allowEmpty);
    EXPECT_TRUE(send::readPayload("{\"text\":\"  \",\"allow_empty\":true}", fonts).allowEmpty);
}

TEST(MqttPayload, RefusalsSayWhy)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {QByteArray(64 * 1024 + 1, 'x'), "65537 bytes"},
        {"caf\xc3", "not valid UTF-8"},
        {"\xff\xfe", "not valid UTF-8"},
        {"{\"text\": \"x\"", "invalid JSON"},
        {"{\"text\":\"x\",\"colour\":\"red\"}", "unknown field \"colour\""},
        {"{\"font\":\"DejaVu Sans\"}", "\"text\" must be given"},
        {"{\"text\":5}", "\"text\" must be given"},
        {"{\"saved\":\"Open\",\"text\":\"Open\"}", "give \"text\" or \"saved\", not both"},
        {"{\"saved\":5}", "\"saved\" must name a saved message: it is not a string"},
        {"{\"saved\":\"\"}", "\"saved\" must name a saved message: a saved message needs a name"},
        {"{\"text\":\"x\",\"size\":\"20\"}", "\"size\" must be a whole number"},
        {"{\"text\":\"x\",\"size\":20.5}", "\"size\" must be a whole number"},
        {"{\"text\":\"x\",\"size\":61}", "\"size\" must be from 6 to 60"},
        {"{\"text\":\"x\",\"offset\":-11}", "\"offset\" must be from -10 to 10"},
        {"{\"text\":\"x\",\"speed\":0}", "\"speed\" must be from 1 to 10"},
        {"{\"text\":\"x\",\"bold\":1}", "\"bold\" must be true or false"},
        {"{\"text\":\"x\",\"font\":\"Comic Sans\"}", "Comic Sans"},
        {"{\"text\":\"x\"} {}", "invalid JSON"},
        // JSON gone wrong is no text that starts with a picture.
        {"{text: \"x\"}", "invalid JSON"},
        {"{ \"text\" }", "invalid JSON"},
        {"{ }", "\"text\" must be given"},
        {"{}", "\"text\" must be given"},
        {"{\"text\":\"x\\ud800y\"}", "half of a character pair"},
        // What a message names is repeated in log lines with its control characters shown.
        {"{\"text\":\"x\",\"\\u001b[2J\\u0000\":1}", "unknown field \"\\x1b[2J\\x00\""},
        {"{\"text\":\"x\",\"font\":\"A\\u001b]0;owned\\u0007\"}", "\"A\\x1b]0;owned\\x07\""},
    };
    for (const auto &[payload, why] : cases) {
        const send::Payload read = send::readPayload(payload, knownFonts());
        EXPECT_TRUE(read.error.contains(QString::fromUtf8(why)))
            << payload.left(40).toStdString() << " -> " << read.error.toStdString();
        EXPECT_TRUE(read.text.isEmpty());
        EXPECT_TRUE(read.saved.isEmpty());
    }
    // Exactly 64 KiB is taken.
    EXPECT_EQ(send::readPayload(QByteArray(64 * 1024, 'x'), {}).error, QString());
}

TEST(MqttPayload, BrokerAddressesStatusAndPasswordFile)
{
    platform::BrokerAccess access;
    EXPECT_EQ(send::readBrokerUrl("mqtt://broker.example", access), QString());
    EXPECT_EQ(access.host, QStringLiteral("broker.example"));
    EXPECT_EQ(access.port, 1883);
    EXPECT_FALSE(access.tls);
    EXPECT_EQ(send::readBrokerUrl("mqtts://127.0.0.5:9999", access), QString());
    EXPECT_EQ(access.port, 9999);
    EXPECT_TRUE(access.tls);
    EXPECT_EQ(send::readBrokerUrl("mqtts://127.0.0.5", access), QString());
    EXPECT_EQ(access.port, 8883);
    for (const char *bad :
         {"http://h", "mqtt://", "broker:1883", "mqtt://u:p@h", "mqtt://h/x", "mqtt://h:0"})
        EXPECT_FALSE(send::readBrokerUrl(QString::fromUtf8(bad), access).isEmpty()) << bad;

    EXPECT_EQ(send::statusDocument("sending", 10, 57, "Open", {},
                                   QDateTime(QDate(2026, 3, 1), QTime(8, 5, 9), Qt::UTC)),
              QByteArray("{\"at\":\"2026-03-01T08:05:09Z\",\"error\":\"\",\"frames\":10,\"of\":57,"
                         "\"state\":\"sending\",\"text\":\"Open\"}"));

    QTemporaryDir dir;
    writeFile(dir.filePath("pw"), "s3cret word\r\nsecond line\n");
    QString password;
    EXPECT_EQ(send::readPasswordFile(dir.filePath("pw"), password), QString());
    EXPECT_EQ(password, QStringLiteral("s3cret word"));
    // A FIFO would hold the start up; a folder is no file either.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    EXPECT_TRUE(send::readPasswordFile(dir.filePath("fifo"), password).contains("regular file"));
    EXPECT_TRUE(send::readPasswordFile(dir.path(), password).contains("regular file"));
    EXPECT_FALSE(send::readPasswordFile(dir.filePath("none"), password).isEmpty());
}

TEST(MqttPayload, ServiceOptionsAreChecked)
{
    const auto parse = [](QStringList arguments) {
        arguments.prepend("lumawrite-send");
        return send::parseArguments(arguments, {});
    };
    const send::ParsedArguments ok =
        parse({"--mqtt", "mqtt://127.0.0.1:2000", "--topic", "signs/a", "--topic", "all"});
    ASSERT_EQ(ok.error, QString());
    EXPECT_EQ(ok.options.mode, send::SendOptions::Mode::Mqtt);
    EXPECT_EQ(ok.options.mqttTopics, QStringList({"signs/a", "all"}));
    // One id for each service: its host and its settings files, the same at every start.
    const QString id = ok.options.mqttClientId;
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^lumawrite-send/%1/[0-9a-f]{8}$")
                               .arg(QRegularExpression::escape(QSysInfo::machineHostName())))
            .match(id)
            .hasMatch())
        << id.toStdString();
    const auto idWith = [&](const QString &settings) {
        return parse({"--mqtt", "mqtt://h", "--topic", "signs/a", "--settings", settings})
            .options.mqttClientId;
    };
    EXPECT_EQ(idWith("/etc/lumawrite/a.cfg"), idWith("/etc/lumawrite/a.cfg"));
    EXPECT_NE(idWith("/etc/lumawrite/a.cfg"), idWith("/etc/lumawrite/b.cfg"));
    EXPECT_EQ(parse({"--mqtt", "mqtt://h", "--topic", "t", "--mqtt-client-id", "shop"})
                  .options.mqttClientId,
              QStringLiteral("shop"));
    const QStringList bad[] = {
        {"--mqtt", "mqtt://h"},                                               // no topic
        {"--mqtt", "mqtt://h", "--topic", "t", "Hello"},                      // a message as well
        {"--mqtt", "mqtt://h", "--topic", "signs/#"},                         // a wildcard
        {"--mqtt", "mqtt://h", "--topic", "t", "--mqtt-cafile", "ca.pem"},    // no TLS
        {"--mqtt", "mqtt://h", "--topic", "t", "--mqtt-password-file", "pw"}, // no user
        {"--topic", "t", "Hello"},                                            // no broker
        {"--mqtt", "ftp://h", "--topic", "t"},
    };
    for (const QStringList &arguments : bad)
        EXPECT_FALSE(parse(arguments).error.isEmpty()) << arguments.join(' ').toStdString();
}

// The service's status of several signs, and a message's own choices, from the fleet itself.
TEST(MqttPayload, SeveralSignsAreSummedAndAFailureNamesItsSign)
{
    LoopbackSign a, b;
    TempSettings file;
    Settings settings = safeSettings();
    settings.SerialAddress = 7;
    file.write(settings);
    QList<send::SignTarget> signs;
    for (const auto &[host, port] :
         {std::pair{"127.0.0.1", a.port()}, std::pair{"nosuch.invalid", quint16(12346)},
          std::pair{"127.0.0.1", b.port()}}) {
        signs.append({file.path(), {}, port});
        signs.last().overrides.host = QString(host);
    }
    signs::LinkServices link;
    link.timing = {40, 5};
    link.comPorts = noSuchDevice;
    link.hostResolver = [](const QString &, QObject *, auto done) {
        done(QHostAddress(), QStringLiteral("Host not found"));
    };
    signs::SignFleet fleet({}, signs, knownFonts(), link);
    using State = signs::SignFleet::Status::State;
    EXPECT_EQ(fleet.status().state, State::Idle);
    QSignalSpy done(&fleet, &signs::SignFleet::messageDone);
    QList<signs::SignFleet::Status> seen;
    QObject::connect(&fleet, &signs::SignFleet::statusChanged,
                     [&] { seen.append(fleet.status()); });
    send::Overrides speed3;
    speed3.speed = 3;
    fleet.submit("Hi", speed3);
    ASSERT_TRUE(done.wait(5000));
    // Sending while any sends, the frames of all three summed: 8 each.
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first().state, State::Sending);
    EXPECT_EQ(seen.first().text, QStringLiteral("Hi"));
    const auto midway = std::find_if(seen.cbegin(), seen.cend(), [](const auto &s) {
        return s.state == State::Sending && s.frames > 4;
    });
    ASSERT_NE(midway, seen.cend());
    EXPECT_EQ(midway->of, 24);
    const signs::SignFleet::Status last = fleet.status();
    EXPECT_EQ(last.state, State::Failed);
    EXPECT_EQ(last.frames, 16);
    EXPECT_EQ(last.error, QStringLiteral("nosuch.invalid (address 7): failed after 0 of 8 "
                                         "frames: The sign address \"nosuch.invalid\" could not "
                                         "be found: Host not found"));
    // The message's own speed, 3, is code 175 at both signs.
    EXPECT_EQ(a.waitFor(8, 1000).value(6), parameters("af"));
    EXPECT_EQ(b.waitFor(8, 1000).value(6), parameters("af"));

    // A refusal at every sign, too wide at 60 points: refused, naming each sign.
    send::Overrides large;
    large.size = 60;
    fleet.submit(QString(200, QLatin1Char('W')), large);
    ASSERT_TRUE(QTest::qWaitFor([&] { return done.size() == 2; }, 5000));
    EXPECT_EQ(fleet.status().state, State::Refused);
    EXPECT_EQ(fleet.status().error.count(": refused: "), 3) << fleet.status().error.toStdString();
}

quint16 freeTcpPort()
{
    QTcpServer server;
    EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    return server.serverPort();
}

// Debian's mosquitto on 127.0.0.1 at a port of its own, with users, an ACL and persistence, in
// a temporary folder: "central" may write every message topic; site-N reads its own and the
// group's, and writes its own status.
class Broker {
public:
    Broker() : m_port(freeTcpPort())
    {
        const QString passwords = m_dir.filePath("passwd");
        for (const char *user : {"central", "site-1", "site-2"}) {
            QStringList arguments = {"-b", passwords, user, password(user)};
            if (!QFile::exists(passwords))
                arguments.prepend("-c");
            EXPECT_EQ(QProcess::execute("mosquitto_passwd", arguments), 0);
        }
        QByteArray acl = "user central\ntopic readwrite #\n";
        for (const char *site : {"site-1", "site-2"})
            acl += QByteArray("user ") + site + "\ntopic read signs/" + site +
                   "/message\ntopic read all/message\ntopic write signs/" + site + "/status\n";
        // A service announces its entities under its own client id.
        acl += "pattern write homeassistant/+/%c/#\n";
        writeFile(m_dir.filePath("acl"), acl);
        // Started as root, the broker would otherwise become the mosquitto user, who cannot
        // write its persistence here.
        const passwd *me = ::getpwuid(::geteuid());
        writeFile(m_dir.filePath("mosquitto.conf"),
                  QStringLiteral("listener %1 127.0.0.1\nallow_anonymous false\n"
                                 "password_file %2\nacl_file %3\npersistence true\n"
                                 "persistence_location %4/\nuser %5\nlog_type all\n")
                      .arg(m_port)
                      .arg(passwords, m_dir.filePath("acl"), m_dir.path(),
                           QString::fromLocal8Bit(me ? me->pw_name : "root"))
                      .toUtf8());
        start();
    }
    ~Broker() { stop(); }
    static QString password(const QString &user) { return user + QStringLiteral("-pw"); }
    quint16 port() const { return m_port; }
    QString url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(m_port); }

    void start()
    {
        m_log.clear();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start("/usr/sbin/mosquitto", {"-c", m_dir.filePath("mosquitto.conf")});
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return (m_log += m_process.readAll()).contains(" running"); }, 10000))
            << m_log.toStdString();
    }
    // As a system stop does: the broker writes its persistence first.
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        EXPECT_TRUE(m_process.waitForFinished(10000));
    }
    // What the broker keeps, retained, under a topic filter: topic -> payload.
    QMap<QByteArray, QByteArray> retained(const QString &filter)
    {
        QProcess sub;
        sub.start("mosquitto_sub",
                  {"-h", "127.0.0.1", "-p", QString::number(m_port), "-u", "central", "-P",
                   password("central"), "-t", filter, "-v", "--retained-only", "-W", "1"});
        EXPECT_TRUE(sub.waitForFinished(10000));
        QMap<QByteArray, QByteArray> kept;
        for (const QByteArray &line : sub.readAllStandardOutput().split('\n')) {
            const qsizetype blank = line.indexOf(' ');
            if (blank > 0)
                kept.insert(line.left(blank), line.mid(blank + 1));
        }
        return kept;
    }
    // A publisher's exit code; the payload goes through standard input.
    int publish(const QString &user, const QString &topic, const QByteArray &payload,
                bool retain = false)
    {
        QProcess pub;
        // An empty message is published as such (-n); standard input must hold something.
        QStringList arguments{"-h",
                              "127.0.0.1",
                              "-p",
                              QString::number(m_port),
                              "-u",
                              user,
                              "-P",
                              password(user),
                              "-q",
                              "1",
                              "-t",
                              topic,
                              payload.isEmpty() ? "-n" : "-s"};
        if (retain)
            arguments << "-r";
        pub.start("mosquitto_pub", arguments);
        pub.write(payload);
        pub.closeWriteChannel();
        EXPECT_TRUE(pub.waitForFinished(10000));
        return pub.exitCode();
    }

private:
    QTemporaryDir m_dir;
    quint16 m_port;
    QProcess m_process;
    QByteArray m_log;
};

// Every status document published to a topic, as "central" sees them.
class StatusWatch {
public:
    StatusWatch(const Broker &broker, const QString &topic)
    {
        m_process.start("mosquitto_sub",
                        {"-h", "127.0.0.1", "-p", QString::number(broker.port()), "-u", "central",
                         "-P", Broker::password("central"), "-q", "1", "-t", topic});
        EXPECT_TRUE(m_process.waitForStarted(5000));
    }
    ~StatusWatch()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    QList<QJsonObject> documents()
    {
        m_text += m_process.readAllStandardOutput();
        QList<QJsonObject> all;
        for (const QByteArray &line : m_text.split('\n'))
            if (!line.isEmpty())
                all.append(QJsonDocument::fromJson(line).object());
        return all;
    }
    QStringList states()
    {
        QStringList names;
        for (const QJsonObject &document : documents())
            names.append(document.value("state").toString());
        return names;
    }
    // Waits until a document of that state has come; returns the last such one.
    QJsonObject waitFor(const QString &state, int timeoutMs = 15000)
    {
        QJsonObject found;
        (void)QTest::qWaitFor(
            [&] {
                for (const QJsonObject &document : documents())
                    if (document.value("state").toString() == state)
                        found = document;
                return !found.isEmpty();
            },
            timeoutMs);
        return found;
    }

private:
    QProcess m_process;
    QByteArray m_text;
};

// lumawrite-send as site-N's service, its sign at address 07, speed 10, on a loopback port.
class Service {
public:
    Service(Broker &broker, LoopbackSign &sign, const QString &site,
            const QString &pacing = "10,10", const QString &passwordText = {},
            const QStringList &more = {})
        : Service(broker.url(), sign, site, pacing, passwordText, more)
    {
    }
    Service(const QString &brokerUrl, LoopbackSign &sign, const QString &site,
            const QString &pacing = "10,10", const QString &passwordText = {},
            const QStringList &more = {})
    {
        Settings settings = safeSettings();
        settings.SerialAddress = 7;
        settings.Speed = 10;
        m_settings.write(settings);
        writeFile(m_dir.filePath("pw"),
                  (passwordText.isEmpty() ? Broker::password(site) : passwordText).toUtf8() + "\n");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_dir.path());
        env.insert("XDG_STATE_HOME", m_dir.filePath("state"));
        env.insert("LUMAWRITE_SEND_PACING_MS", pacing);
        env.insert("LC_ALL", "C.UTF-8");
        env.remove("LANGUAGE");
        m_process.setProcessEnvironment(env);
        m_arguments = QStringList{"--settings",
                                  m_settings.path(),
                                  "--port",
                                  QString::number(sign.port()),
                                  "--mqtt",
                                  brokerUrl,
                                  "--topic",
                                  "signs/" + site,
                                  "--topic",
                                  "all",
                                  "--mqtt-user",
                                  site,
                                  "--mqtt-password-file",
                                  m_dir.filePath("pw")} +
                      more;
        m_process.start(LUMAWRITE_SEND_PATH, m_arguments);
    }
    // Stopped as a system stop does (or killed, as in a crash), and started again with what it
    // keeps.
    void restart(bool crash = false)
    {
        if (crash)
            m_process.kill();
        else
            m_process.terminate();
        EXPECT_TRUE(m_process.waitForFinished(10000));
        m_err.clear();
        m_process.start(LUMAWRITE_SEND_PATH, m_arguments);
    }
    ~Service()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    // Waits until standard error has said it; all it said so far.
    QString waitToSay(const QString &what, int timeoutMs = 15000)
    {
        (void)QTest::qWaitFor([&] { return errors().contains(what); }, timeoutMs);
        return m_err;
    }
    QString errors() { return m_err += QString::fromUtf8(m_process.readAllStandardError()); }
    QProcess &process() { return m_process; }
    // The saved messages beside its settings file, and its uploads.
    QString savedMessagesPath() const
    {
        return QFileInfo(m_settings.path()).dir().filePath("messages.json");
    }
    QList<signs::HistoryEntry> history() const
    {
        return signs::readHistory(readFile(m_dir.filePath("state/lumawrite/history.json")));
    }

private:
    QTemporaryDir m_dir;
    TempSettings m_settings;
    QProcess m_process;
    QStringList m_arguments;
    QString m_err;
};

// A broker of one connection that says yes to everything and publishes what the test gives
// it, with the packet id and duplicate flag of its choosing: a QoS 1 delivery handed on again.
class ScriptedBroker {
public:
    ScriptedBroker()
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            m_client = m_server.nextPendingConnection();
            QObject::connect(m_client, &QTcpSocket::readyRead, [this] { answer(); });
        });
    }
    QString url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(m_server.serverPort()); }
    bool waitForSubscriptions(int count)
    {
        return QTest::qWaitFor([&] { return m_subscriptions >= count; }, 10000);
    }
    void publish(const QByteArray &topic, const QByteArray &payload, quint16 id, bool again)
    {
        QByteArray body;
        body += char(topic.size() >> 8);
        body += char(topic.size() & 0xff);
        body += topic;
        body += char(id >> 8);
        body += char(id & 0xff);
        body += payload;
        send(char(again ? 0x3a : 0x32), body); // PUBLISH, QoS 1, DUP when again
    }

private:
    void send(char type, const QByteArray &body)
    {
        m_client->write(QByteArray(1, type) + char(body.size()) + body); // bodies under 128
    }
    void answer()
    {
        m_in += m_client->readAll();
        for (;;) {
            // A type byte, the length in 7-bit groups (lowest first), the body.
            qsizetype at = 1;
            int length = 0;
            for (int shift = 0; at < m_in.size(); shift += 7) {
                const quint8 byte = quint8(m_in[at++]);
                length |= (byte & 0x7f) << shift;
                if (!(byte & 0x80))
                    break;
            }
            if (m_in.size() < 2 || (quint8(m_in[at - 1]) & 0x80) || m_in.size() < at + length)
                return;
            const quint8 type = quint8(m_in[0]) >> 4;
            const QByteArray body = m_in.mid(at, length);
            m_in.remove(0, at + length);
            if (type == 1) { // CONNECT: accepted
                send(0x20, QByteArray::fromHex("0000"));
            } else if (type == 8) { // SUBSCRIBE: granted QoS 1
                send(char(0x90), body.left(2) + char(1));
                ++m_subscriptions;
            } else if (type == 3) { // the service's status, QoS 1: acknowledged by its id
                const int topicLength = (quint8(body[0]) << 8) | quint8(body[1]);
                send(0x40, body.mid(2 + topicLength, 2));
            } else if (type == 12) { // PINGREQ
                send(char(0xd0), {});
            }
        }
    }

    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_in;
    int m_subscriptions = 0;
};

std::string text(const QList<QJsonObject> &documents)
{
    QStringList lines;
    for (const QJsonObject &document : documents)
        lines.append(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Compact)));
    return lines.join('\n').toStdString();
}

TEST(BrokerService, TextAndJsonMessagesReachTheSignAndTheStatusFollows)
{
    Broker broker;
    LoopbackSign sign;
    StatusWatch status(broker, "signs/site-1/status");
    Service service(broker, sign, "site-1");
    service.waitToSay("connected to the broker");
    EXPECT_FALSE(status.waitFor("idle").isEmpty()) << text(status.documents());

    ASSERT_EQ(broker.publish("central", "signs/site-1/message", "Hi"), 0);
    // One block of text, five blank blocks, the parameters, the restart.
    QList<QByteArray> frames = sign.waitFor(8);
    ASSERT_EQ(frames.size(), 8) << service.errors().toStdString();
    EXPECT_TRUE(frames[0].startsWith(QByteArray::fromHex("aacc008c3037001002000080")));
    EXPECT_EQ(frames[6], parameters("0a"));
    EXPECT_EQ(frames[7], Restart);
    const QJsonObject sent = status.waitFor("sent");
    EXPECT_EQ(sent.value("text").toString(), QStringLiteral("Hi"));
    EXPECT_EQ(sent.value("frames").toInt(), 8);
    EXPECT_EQ(sent.value("of").toInt(), 8);
    EXPECT_TRUE(QDateTime::fromString(sent.value("at").toString(), Qt::ISODate).isValid());
    QStringList states = status.states();
    EXPECT_EQ(states.mid(states.indexOf("sending")), QStringList({"sending", "sent"}));

    // The group topic, with choices of its own: speed 3 is code 175.
    sign.take();
    ASSERT_EQ(broker.publish("central", "all/message", "{\"text\": \"Hi\", \"speed\": 3}"), 0);
    frames = sign.waitFor(8);
    ASSERT_EQ(frames.size(), 8);
    EXPECT_EQ(frames[6], parameters("af"));
    EXPECT_EQ(frames[7], Restart);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status.states().count("sent") == 2; }, 10000))
        << text(status.documents());

    // A saved message, looked up when it comes, with its own choices: 60 points make "Hi" two
    // blocks (7 with the blank ones, 0x01c0 columns). Choices given with it win: 12 points are
    // one block, speed 3 is code 175.
    writeFile(
        service.savedMessagesPath(),
        R"({"messages": [{"name": "Big", "text": "Hi", "font": "DejaVu Sans", "size": 60}]})");
    const std::pair<QByteArray, QByteArray> savedMessages[] = {
        {"{\"saved\": \"Big\"}", QByteArray::fromHex("aacc0010303700100100000401c0000a")},
        {"{\"saved\": \"Big\", \"size\": 12, \"speed\": 3}", parameters("af")}};
    for (const auto &[payload, parameterFrame] : savedMessages) {
        sign.take();
        ASSERT_EQ(broker.publish("central", "signs/site-1/message", payload), 0);
        frames = sign.waitFor(parameterFrame == parameters("af") ? 8 : 9);
        ASSERT_GE(frames.size(), 8) << service.errors().toStdString();
        EXPECT_EQ(frames[frames.size() - 2], parameterFrame) << payload.toStdString();
        EXPECT_EQ(frames.last(), Restart);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return status.states().count("sent") == 4; }, 10000))
        << text(status.documents());
    EXPECT_EQ(status.documents().last().value("text").toString(), QStringLiteral("Hi"));
}

TEST(BrokerService, APictureInAMessageReachesTheSignWhereItStands)
{
    Broker broker;
    LoopbackSign sign;
    Service service(broker, sign, "site-1");
    service.waitToSay("connected to the broker");
    // The columns of the first block that reaches the sign: its frame after the 12 bytes of its
    // head.
    const auto firstBlock = [&](const QByteArray &payload) {
        sign.take();
        EXPECT_EQ(broker.publish("central", "signs/site-1/message", payload), 0);
        const QList<QByteArray> frames = sign.waitFor(8);
        EXPECT_EQ(frames.size(), 8) << payload.toStdString() << service.errors().toStdString();
        EXPECT_EQ(frames.value(7), Restart);
        return frames.value(0).mid(12);
    };
    // arrow-right: ten columns of the shaft (rows 5 to 10), then the head.
    const QByteArray arrow = QByteArray::fromHex("e007e007e007e007e007e007e007e007e007e007"
                                                 "fc3ff81ff00fe007c0038001");
    const QByteArray text = firstBlock("Go ");
    const QByteArray after = firstBlock("Go {arrow-right}");
    const QByteArray before = firstBlock("{arrow-right}Go ");
    ASSERT_EQ(text.size(), 128);
    // First, the text moves on by the arrow's 16 columns.
    EXPECT_EQ(before.toHex(), (arrow + text.left(128 - 32)).toHex());
    // Last, it stands where the text's columns end: blank ones in the text alone.
    qsizetype at = 0;
    while (at < 128 && text[at] == after[at])
        ++at;
    ASSERT_GT(at, 0);
    ASSERT_EQ(at % 2, 0);
    EXPECT_EQ(text.mid(at), QByteArray(128 - at, 0));
    EXPECT_EQ(after.toHex(), (text.left(at) + arrow + QByteArray(128 - at - 32, 0)).toHex());
}

TEST(BrokerService, AWrongPasswordIsRefusedAndSaidSo)
{
    Broker broker;
    LoopbackSign sign;
    Service service(broker, sign, "site-1", "10,10", "not-the-password");
    const QString err = service.waitToSay("refused the connection");
    EXPECT_TRUE(err.contains("not authorised") || err.contains("not authorized"))
        << err.toStdString();
    EXPECT_TRUE(err.contains("--mqtt-password-file")) << err.toStdString();
    EXPECT_FALSE(err.contains("connected to the broker")) << err.toStdString();
    // It keeps trying rather than ending; a systemd unit would restart it anyway.
    EXPECT_EQ(service.process().state(), QProcess::Running);
}

TEST(BrokerService, ASiteCannotPublishToAnotherSitesTopicAndBadMessagesAreRefused)
{
    Broker broker;
    LoopbackSign sign;
    StatusWatch status(broker, "signs/site-1/status");
    Service service(broker, sign, "site-1");
    service.waitToSay("connected to the broker");

    // The broker drops what site-2 publishes to site-1's topic.
    broker.publish("site-2", "signs/site-1/message", "Intruder");
    const std::pair<QByteArray, const char *> refused[] = {
        {QByteArray(70000, 'x'), "70000 bytes"},
        {"{\"text\": \"Open\"", "invalid JSON"},
        // Refused by the signs after a refusal of the service's own, both of the same (empty) text.
        {"", "empty"},
        {"{\"text\": \"Open\", \"font\": \"No Such Face\"}", "No Such Face"},
        {"{\"text\": \"" + QByteArray(200, 'W') + "\", \"size\": 60}", "columns"},
        {"{\"saved\": \"Nope\"}", "no message is saved as \"Nope\""},
        {"{\"saved\": \"Nope\", \"text\": \"Open\"}", "not both"},
    };
    int count = 0;
    for (const auto &[payload, why] : refused) {
        ASSERT_EQ(broker.publish("central", "signs/site-1/message", payload), 0);
        ++count;
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return status.states().count("refused") == count; }, 10000))
            << why << "\n"
            << text(status.documents());
        const QJsonObject last = status.documents().last();
        EXPECT_TRUE(last.value("error").toString().contains(why)) << text(status.documents());
    }
    QTest::qWait(300);
    EXPECT_EQ(sign.received().size(), 0);
    EXPECT_FALSE(status.states().contains("sending")) << text(status.documents());
}

TEST(BrokerService, MessagesQueuedWhileTheBrokerRestartedArriveAfterTheReconnect)
{
    Broker broker;
    LoopbackSign sign;
    Service service(broker, sign, "site-1");
    service.waitToSay("connected to the broker");
    broker.stop();
    service.waitToSay("connection to the broker was lost");
    broker.start();
    // Published before the service is back: the broker keeps them for the service's session,
    // and only the newest goes to the sign.
    for (const char *message : {"Old", "Older news", "Back again"})
        ASSERT_EQ(broker.publish("central", "signs/site-1/message", message), 0);
    EXPECT_EQ(service.errors().count("connected to the broker"), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sign.received().contains(Restart); }, 20000))
        << service.errors().toStdString();
    QTest::qWait(1000);
    const QList<QByteArray> frames = sign.received();
    EXPECT_EQ(frames.count(Restart), 1);
    EXPECT_EQ(frames.last(), Restart);
    EXPECT_EQ(StatusWatch(broker, "signs/site-1/status").waitFor("sent").value("text"),
              "Back again");
    EXPECT_EQ(service.errors().count("connected to the broker"), 2);
}

TEST(BrokerService, TheNewestOfQuickMessagesIsShownLastAndSigtermSaysOffline)
{
    Broker broker;
    LoopbackSign sign;
    StatusWatch status(broker, "signs/site-1/status");
    Service service(broker, sign, "site-1", "100,10"); // about a second an upload
    service.waitToSay("connected to the broker");
    ASSERT_EQ(broker.publish("central", "signs/site-1/message", "First"), 0);
    ASSERT_GE(sign.waitFor(1).size(), 1);
    for (const char *message : {"Second", "Third", "Fourth"})
        ASSERT_EQ(broker.publish("central", "signs/site-1/message", message), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sign.received().count(Restart) == 2; }, 15000));
    // Two uploads only: the first, then the newest.
    QTest::qWait(500);
    EXPECT_EQ(sign.received().count(Restart), 2);
    EXPECT_EQ(sign.received().last(), Restart);
    EXPECT_FALSE(status.waitFor("sent").isEmpty());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status.documents().last().value("text").toString() == "Fourth"; }, 5000))
        << text(status.documents());
    EXPECT_EQ(status.documents().last().value("state").toString(), QStringLiteral("sent"));

    // SIGTERM in the middle of an upload: it stops between frames, and says "offline".
    sign.take();
    ASSERT_EQ(broker.publish("central", "signs/site-1/message", "Closing"), 0);
    ASSERT_GE(sign.waitFor(2).size(), 2);
    QSignalSpy ended(&service.process(), &QProcess::finished);
    service.process().terminate();
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(service.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(service.process().exitCode(), 0);
    EXPECT_LT(sign.received().size(), 8);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status.states().endsWith("offline"); }, 5000))
        << text(status.documents());
}

TEST(BrokerService, TlsTrustsTheBrokerThroughTheCaFileAndSaysWhyAHandshakeFailed)
{
    // A certificate authority and a broker certificate for 127.0.0.1, made here.
    QTemporaryDir dir;
    const auto run = [&](const QStringList &arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(dir.path());
        openssl.start("openssl", arguments);
        return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
    };
    writeFile(dir.filePath("san"), "subjectAltName=IP:127.0.0.1\n");
    ASSERT_TRUE(run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out",
                     "ca.pem", "-days", "2", "-subj", "/CN=Test CA"}));
    ASSERT_TRUE(run({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "broker.key", "-out",
                     "broker.csr", "-subj", "/CN=127.0.0.1"}));
    ASSERT_TRUE(run({"x509", "-req", "-in", "broker.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                     "-CAcreateserial", "-out", "broker.pem", "-days", "2", "-extfile", "san"}));
    ASSERT_TRUE(run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "other.key",
                     "-out", "other.pem", "-days", "2", "-subj", "/CN=Other CA"}));
    const quint16 port = freeTcpPort(), plainPort = freeTcpPort();
    const passwd *me = ::getpwuid(::geteuid());
    writeFile(dir.filePath("mosquitto.conf"),
              QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\ncafile %2/ca.pem\n"
                             "certfile %2/broker.pem\nkeyfile %2/broker.key\nuser %3\n"
                             "listener %4 127.0.0.1\n") // a plain port beside it
                  .arg(port)
                  .arg(dir.path(), QString::fromLocal8Bit(me ? me->pw_name : "root"))
                  .arg(plainPort)
                  .toUtf8());
    QProcess broker;
    broker.setProcessChannelMode(QProcess::MergedChannels);
    broker.start("/usr/sbin/mosquitto", {"-c", dir.filePath("mosquitto.conf")});
    QByteArray log;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (log += broker.readAll()).contains(" running"); }, 10000))
        << log.toStdString();

    TempSettings settings;
    settings.write(safeSettings());
    const auto service = [&](const QStringList &extra, const QString &url = {}) {
        auto process = std::make_unique<QProcess>();
        process->start(
            LUMAWRITE_SEND_PATH,
            QStringList{"--settings", settings.path(), "--mqtt",
                        url.isEmpty() ? QStringLiteral("mqtts://127.0.0.1:%1").arg(port) : url,
                        "--topic", "tls"} +
                extra);
        return process;
    };
    const auto said = [](QProcess &process, const QString &what) {
        QByteArray err;
        const bool found = QTest::qWaitFor(
            [&] { return QString::fromUtf8(err += process.readAllStandardError()).contains(what); },
            10000);
        EXPECT_TRUE(found) << what.toStdString() << "\n" << err.toStdString();
        return found;
    };
    // Each failed handshake says why.
    const QString ca = dir.filePath("ca.pem"), other = dir.filePath("other.pem");
    const struct {
        QStringList extra;
        QString url;
        QString why;
    } failures[] = {
        {{}, {}, "the broker's certificate is not signed by an authority this system trusts"},
        {{"--mqtt-cafile", other},
         {},
         "the broker's certificate is not signed by the authority in " + other},
        {{"--mqtt-cafile", ca},
         QStringLiteral("mqtts://localhost:%1").arg(port),
         "the broker's certificate is not for the host name \"localhost\""},
        {{"--mqtt-cafile", ca},
         QStringLiteral("mqtts://127.0.0.1:%1").arg(plainPort),
         QStringLiteral("the broker does not speak TLS on port %1").arg(plainPort)},
    };
    for (const auto &failure : failures) {
        auto untrusting = service(failure.extra, failure.url);
        said(*untrusting, "the broker cannot be reached (" + failure.why);
        untrusting->kill();
        untrusting->waitForFinished(3000);
    }
    auto trusting = service({"--mqtt-cafile", ca});
    said(*trusting, "connected to the broker");
    trusting->terminate();
    EXPECT_TRUE(trusting->waitForFinished(5000));
    EXPECT_EQ(trusting->exitCode(), 0);
    broker.terminate();
    broker.waitForFinished(5000);
}

} // namespace

TEST(BrokerService, TwoServicesUnderOneClientIdAreToldAndBackOff)
{
    // Under their own ids (the default) two services of one site both stay connected.
    Broker broker;
    LoopbackSign sign;
    {
        Service one(broker, sign, "site-1"), two(broker, sign, "site-1");
        one.waitToSay("connected to the broker");
        two.waitToSay("connected to the broker");
        QTest::qWait(3000);
        EXPECT_FALSE(one.errors().contains("was lost")) << one.errors().toStdString();
        EXPECT_FALSE(two.errors().contains("was lost")) << two.errors().toStdString();
    }
    // Under one id given twice they take the connection from each other: said, and backed off.
    Service one(broker, sign, "site-1", "10,10", {}, {"--mqtt-client-id", "shop"});
    Service two(broker, sign, "site-1", "10,10", {}, {"--mqtt-client-id", "shop"});
    const auto told = [&] {
        return (one.errors() + two.errors()).contains("another client may use the client id");
    };
    EXPECT_TRUE(QTest::qWaitFor(told, 40000))
        << one.errors().toStdString() << two.errors().toStdString();
}

TEST(BrokerService, ARetainedMessageIsTakenOnceAcrossReconnectsAndRestarts)
{
    Broker broker;
    LoopbackSign sign;
    Service service(broker, sign, "site-1");
    service.waitToSay("connected to the broker");
    // A retained group message, then a newer one of the site's own.
    ASSERT_EQ(broker.publish("central", "all/message", "Group", true), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sign.received().count(Restart) == 1; }, 15000));
    ASSERT_EQ(broker.publish("central", "signs/site-1/message", "Own"), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sign.received().count(Restart) == 2; }, 15000));

    // The broker restarts and hands the retained message on again; then the service restarts.
    broker.stop();
    service.waitToSay("connection to the broker was lost");
    broker.start();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return service.errors().count("connected to the broker") == 2; }, 20000));
    QTest::qWait(1500);
    service.restart();
    service.waitToSay("connected to the broker");
    QTest::qWait(1500);
    // Neither brought the older group text back over the newer one.
    EXPECT_EQ(sign.received().count(Restart), 2) << service.errors().toStdString();

    // A new retained message is taken as any new one.
    ASSERT_EQ(broker.publish("central", "all/message", "Group again", true), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sign.received().count(Restart) == 3; }, 15000));
}

TEST(BrokerService, AStopOrCrashMidUploadIsToldAndTheNextStartSendsTheMessageAgain)
{
    Broker broker;
    LoopbackSign sign;
    StatusWatch status(broker, "signs/site-1/status");
    Service service(broker, sign, "site-1", "300,10"); // 8 frames in about 2.4 s
    service.waitToSay("connected to the broker");
    const auto interrupted = [&](bool crash) {
        sign.take();
        ASSERT_EQ(broker.publish("central", "signs/site-1/message", crash ? "Yo" : "Hi"), 0);
        ASSERT_GE(sign.waitFor(3).size(), 3);
        service.restart(crash);
        sign.take();
        service.waitToSay("connected to the broker");
        // The sign is half written: the message goes again, whole.
        EXPECT_TRUE(service.waitToSay("did not finish").contains("did not finish ("))
            << crash << service.errors().toStdString();
        const QList<QByteArray> again = sign.waitFor(8, 15000);
        ASSERT_GE(again.size(), 8) << service.errors().toStdString();
        EXPECT_EQ(again.last(), Restart);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return status.documents().last().value("state").toString() == "sent"; }, 10000));
        EXPECT_EQ(status.documents().last().value("text").toString(), crash ? "Yo" : "Hi");
    };

    // SIGTERM: "offline" says how far the upload had come.
    interrupted(false);
    QJsonObject offline;
    for (const QJsonObject &document : status.documents())
        if (document.value("state") == "offline")
            offline = document;
    EXPECT_EQ(offline.value("text").toString(), "Hi") << text(status.documents());
    EXPECT_EQ(offline.value("of").toInt(), 8);
    const int frames = offline.value("frames").toInt();
    EXPECT_GE(frames, 2);
    EXPECT_EQ(offline.value("error").toString(),
              QStringLiteral("stopped after %1 of 8 frames").arg(frames));

    // A crash (SIGKILL) leaves only the broker's last will; the message goes again all the same.
    interrupted(true);
    // The history keeps the stopped upload with the frames that went out; the crash left none.
    // It is written a moment after the upload ends.
    QStringList uploads;
    (void)QTest::qWaitFor(
        [&] {
            uploads.clear();
            for (const signs::HistoryEntry &entry : service.history())
                uploads.append(QStringLiteral("%1 %2/%3 %4")
                                   .arg(signs::outcomeName(entry.outcome))
                                   .arg(entry.framesSent)
                                   .arg(entry.framesTotal)
                                   .arg(entry.text));
            return uploads.size() >= 3;
        },
        5000);
    EXPECT_EQ(uploads,
              QStringList({QString("stopped %1/8 Hi").arg(frames), "sent 8/8 Hi", "sent 8/8 Yo"}));

    // After a finished upload a start sends nothing and shows the state the sign was left in.
    const QString sentAt = status.documents().last().value("at").toString();
    sign.take();
    service.restart();
    service.waitToSay("connected to the broker");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status.documents().last().value("state").toString() != "offline"; }, 5000));
    const QJsonObject shown = status.documents().last();
    EXPECT_EQ(shown.value("state").toString(), "sent") << text(status.documents());
    EXPECT_EQ(shown.value("text").toString(), "Yo");
    EXPECT_EQ(shown.value("at").toString(), sentAt);
    QTest::qWait(1000);
    EXPECT_TRUE(sign.received().isEmpty());
}

TEST(BrokerService, AHugeMessageIsRefusedWithoutBeingHeldInMemory)
{
    Broker broker;
    LoopbackSign sign;
    StatusWatch status(broker, "signs/site-1/status");
    Service service(broker, sign, "site-1");
    service.waitToSay("connected to the broker");
    const auto peakKiB = [&] {
        QFile file(QStringLiteral("/proc/%1/status").arg(service.process().processId()));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QRegularExpressionMatch peak =
            QRegularExpression("VmHWM:\\s+(\\d+) kB").match(QString::fromLatin1(file.readAll()));
        return peak.captured(1).toLongLong();
    };
    const qint64 before = peakKiB();
    constexpr qint64 Bytes = 48 << 20;
    ASSERT_EQ(broker.publish("central", "signs/site-1/message", QByteArray(Bytes, 'x')), 0);
    EXPECT_TRUE(
        service.waitToSay("message refused")
            .contains("the message holds 50331648 bytes; at most 65536 are taken; nothing sent"));
    EXPECT_EQ(status.waitFor("refused").value("error").toString(),
              "the message holds 50331648 bytes; at most 65536 are taken");
    // The client library holds it twice (as read, and as its message); it is never copied
    // beside that.
    EXPECT_LT(peakKiB() - before, Bytes * 5 / 2 / 1024);
    EXPECT_TRUE(sign.received().isEmpty());
}

TEST(BrokerService, AQos1MessageHandedOnAgainIsNotSentTwice)
{
    ScriptedBroker broker;
    LoopbackSign sign;
    Service service(broker.url(), sign, "site-1");
    ASSERT_TRUE(broker.waitForSubscriptions(2)) << service.errors().toStdString();
    const auto uploads = [&](int count) {
        return QTest::qWaitFor([&] { return sign.received().count(Restart) == count; }, 5000);
    };
    broker.publish("signs/site-1/message", "Hi", 5, false);
    ASSERT_TRUE(uploads(1)) << service.errors().toStdString();
    // The same delivery again (its acknowledgement was lost on the way): nothing is sent.
    broker.publish("signs/site-1/message", "Hi", 5, true);
    QTest::qWait(1000);
    EXPECT_EQ(sign.received().count(Restart), 1);
    // The same text published anew has an id of its own: it is sent again.
    broker.publish("signs/site-1/message", "Hi", 6, false);
    EXPECT_TRUE(uploads(2)) << service.errors().toStdString();
}

TEST(MqttDiscovery, ConfigsFollowTheDiscoverySchemaWithIdsOfTheService)
{
    send::DiscoveryService service;
    service.clientId = "lumawrite-send/shop pc/1a2b3c4d";
    service.firstTopic = "signs/shop-1";
    service.statusTopic = "signs/shop-1/status";
    service.version = "1.0.0";
    const QList<send::DiscoveryConfig> configs = send::discoveryConfigs(service);
    ASSERT_EQ(configs.size(), 3);
    const QByteArray node = "lumawrite-send_shop_pc_1a2b3c4d";
    EXPECT_EQ(configs[0].topic, "homeassistant/text/" + node + "/message/config");
    EXPECT_EQ(configs[1].topic, "homeassistant/sensor/" + node + "/upload/config");
    EXPECT_EQ(configs[2].topic, "homeassistant/sensor/" + node + "/progress/config");
    const QJsonObject availability = QJsonDocument::fromJson(R"({"topic": "signs/shop-1/status",
        "value_template": "{{ 'offline' if value_json.state == 'offline' else 'online' }}"})")
                                         .object();
    const QJsonObject device = QJsonDocument::fromJson(R"({
        "identifiers": ["lumawrite-send_shop_pc_1a2b3c4d"], "name": "shop-1",
        "manufacturer": "Luma Write", "model": "Luma Write", "sw_version": "1.0.0"})")
                                   .object();
    const QJsonObject message = QJsonDocument::fromJson(configs[0].payload).object();
    EXPECT_EQ(message.value("name"), "Message");
    EXPECT_EQ(message.value("unique_id"), "lumawrite-send_shop_pc_1a2b3c4d_message");
    EXPECT_EQ(message.value("command_topic"), "signs/shop-1/message");
    EXPECT_EQ(message.value("state_topic"), "signs/shop-1/status");
    EXPECT_EQ(message.value("value_template"), "{{ value_json.text }}");
    EXPECT_EQ(message.value("max"), 250);
    EXPECT_EQ(message.value("mode"), "text");
    for (const send::DiscoveryConfig &config : configs) {
        const QJsonObject o = QJsonDocument::fromJson(config.payload).object();
        EXPECT_EQ(o.value("availability").toArray(), QJsonArray{availability})
            << config.topic.data();
        EXPECT_EQ(o.value("device").toObject(), device) << config.topic.data();
    }
    const QJsonObject upload = QJsonDocument::fromJson(configs[1].payload).object();
    EXPECT_EQ(upload.value("value_template"), "{{ value_json.state }}");
    EXPECT_EQ(upload.value("json_attributes_topic"), "signs/shop-1/status");
    EXPECT_EQ(QJsonDocument::fromJson(configs[2].payload).object().value("unit_of_measurement"),
              "%");

    // A name of its own, another prefix; removals are the same topics, empty.
    service.prefix = "automation";
    service.deviceName = "Shop window";
    EXPECT_EQ(QJsonDocument::fromJson(send::discoveryConfigs(service)[1].payload)
                  .object()
                  .value("device")
                  .toObject()
                  .value("name"),
              "Shop window");
    const QList<send::DiscoveryConfig> removals = send::discoveryRemovals(service);
    ASSERT_EQ(removals.size(), 3);
    EXPECT_EQ(removals[2].topic, "automation/sensor/" + node + "/progress/config");
    EXPECT_TRUE(removals[2].payload.isEmpty());
}

TEST(BrokerService, DiscoveryAnnouncesTheEntitiesWhichSendAndFollowTheUploadAndCanBeRemoved)
{
    Broker broker;
    LoopbackSign sign;
    StatusWatch status(broker, "signs/site-1/status");
    auto service =
        std::make_unique<Service>(broker, sign, "site-1", "10,10", QString(),
                                  QStringList{"--mqtt-client-id", "site-1-sign", "--discovery",
                                              "--discovery-name", "Shop window"});
    service->waitToSay("connected to the broker");
    QMap<QByteArray, QByteArray> configs;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (configs = broker.retained("homeassistant/#")).size() == 3; }, 5000))
        << service->errors().toStdString();
    const QJsonObject message =
        QJsonDocument::fromJson(configs.value("homeassistant/text/site-1-sign/message/config"))
            .object();
    EXPECT_EQ(message.value("device").toObject().value("name"), "Shop window");
    EXPECT_EQ(message.value("device").toObject().value("sw_version"), LUMAWRITE_PROJECT_VERSION);
    for (const QByteArray object : {"upload", "progress"})
        EXPECT_FALSE(QJsonDocument::fromJson(
                         configs.value("homeassistant/sensor/site-1-sign/" + object + "/config"))
                         .object()
                         .isEmpty())
            << object.data();

    // The text entity's command topic is the service's: what the automation sets is sent.
    const QString command = message.value("command_topic").toString();
    ASSERT_EQ(broker.publish("central", command, "Fire drill at 14:00"), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sign.received().contains(Restart); }, 10000));
    // The sensor reads the state from the status topic it names.
    EXPECT_EQ(message.value("state_topic"), "signs/site-1/status");
    EXPECT_EQ(status.waitFor("sent").value("text"), "Fire drill at 14:00");

    // A stop leaves them; --discovery-remove takes them away.
    service->process().terminate();
    EXPECT_TRUE(service->process().waitForFinished(10000));
    service.reset();
    EXPECT_EQ(broker.retained("homeassistant/#").size(), 3);
    Service remover(broker, sign, "site-1", "10,10", QString(),
                    {"--mqtt-client-id", "site-1-sign", "--discovery", "--discovery-remove"});
    remover.waitToSay("connected to the broker");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return broker.retained("homeassistant/#").isEmpty(); }, 5000));
}
