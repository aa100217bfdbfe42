// One message published to a group topic that N lumawrite-send services share, each driving a
// sign of its own: the time from the publish to the last sign's restart frame, against one
// service's upload to one sign.
//
//   mqtt-fanout [N] [--pacing PAUSE,REPLY]
//
// It starts Debian's mosquitto on 127.0.0.1 at a free port (anonymous, no persistence) in a
// temporary folder, and N services with --topic site-K --topic all, each with a UDP socket of
// this program on 127.0.0.1 as its sign and its own settings file (IpAddress 127.0.0.1) in a
// temporary XDG_CONFIG_HOME; their history and state go to a temporary XDG_STATE_HOME, never the
// user's. Nothing is sent anywhere else. Without --pacing the real pacing
// (2000 ms between frames) is used.
#include "Settings.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace {

// 21 characters of DejaVu Sans Mono at 12 points: four blocks, so eleven frames, the last the
// restart.
const char *const Message = "Now serving number 43";
constexpr int FramesPerSign = 4 + 5 + 2;

struct Sign {
    QUdpSocket socket;
    int frames = 0;
    qint64 restartNs = -1; // when the last frame came
};

// Turns the event loop until done() holds or the time is up.
bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    tick.start(5);
    if (!done())
        loop.exec();
    return done();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int count = 20;
    QString pacing;
    const QStringList arguments = app.arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--pacing") && i + 1 < arguments.size())
            pacing = arguments[++i];
        else
            count = arguments[i].toInt();
    }
    if (count < 1) {
        std::fprintf(stderr, "usage: mqtt-fanout [N] [--pacing PAUSE,REPLY]\n");
        return 2;
    }

    QTemporaryDir dir;
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
    }
    QFile conf(dir.filePath(QStringLiteral("mosquitto.conf")));
    conf.open(QIODevice::WriteOnly);
    conf.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n"
                              "max_queued_messages 1000\n")
                   .arg(port)
                   .toUtf8());
    conf.close();
    QProcess broker;
    broker.setProcessChannelMode(QProcess::MergedChannels);
    broker.start(QStringLiteral("/usr/sbin/mosquitto"), {QStringLiteral("-c"), conf.fileName()});
    QByteArray brokerLog;
    if (!waitUntil([&] { return (brokerLog += broker.readAll()).contains(" running"); }, 10000)) {
        std::fprintf(stderr, "mqtt-fanout: mosquitto did not start: %s\n", brokerLog.constData());
        return 2;
    }

    lumawrite::Settings settings = lumawrite::defaultSettings();
    settings.IpAddress = QStringLiteral("127.0.0.1");
    settings.LocalPort = 0;
    settings.LinkType = 1;
    QDir(dir.path()).mkpath(QStringLiteral("lumawrite"));
    const QString error =
        lumawrite::SettingsStore(dir.filePath(QStringLiteral("lumawrite/tabro.cfg")))
            .SaveSettings(settings);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "mqtt-fanout: the settings file could not be written: %s\n",
                     qPrintable(error));
        return 2;
    }

    QElapsedTimer clock;
    clock.start();
    std::vector<std::unique_ptr<Sign>> signs;
    std::vector<std::unique_ptr<QProcess>> services;
    QList<QByteArray> said(count);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LUMAWRITE_SEND_SERIAL_DEVICE"));
    if (pacing.isEmpty())
        env.remove(QStringLiteral("LUMAWRITE_SEND_PACING_MS"));
    else
        env.insert(QStringLiteral("LUMAWRITE_SEND_PACING_MS"), pacing);
    const QString url = QStringLiteral("mqtt://127.0.0.1:%1").arg(port);
    for (int i = 0; i < count; ++i) {
        auto sign = std::make_unique<Sign>();
        sign->socket.bind(QHostAddress::LocalHost, 0);
        Sign *s = sign.get();
        QObject::connect(&s->socket, &QUdpSocket::readyRead, [s, &clock] {
            while (s->socket.hasPendingDatagrams()) {
                s->socket.receiveDatagram();
                if (++s->frames == FramesPerSign)
                    s->restartNs = clock.nsecsElapsed();
            }
        });
        auto service = std::make_unique<QProcess>();
        service->setProcessEnvironment(env);
        service->start(LUMAWRITE_SEND_PATH,
                       {"--font", "DejaVu Sans Mono", "--size", "12", "--ip",
                        QStringLiteral("127.0.0.1:%1").arg(s->socket.localPort()), "--mqtt", url,
                        "--topic", QStringLiteral("site-%1").arg(i + 1), "--topic", "all"});
        signs.push_back(std::move(sign));
        services.push_back(std::move(service));
    }
    const bool connected = waitUntil(
        [&] {
            for (int i = 0; i < count; ++i) {
                said[i] += services[i]->readAllStandardError();
                if (!said[i].contains("connected to the broker"))
                    return false;
            }
            return true;
        },
        30000);
    if (!connected) {
        std::fprintf(stderr, "mqtt-fanout: not every service connected\n");
        return 2;
    }

    // Each run starts when mosquitto_pub is started, and ends at a restart frame.
    const auto publish = [&](const QString &topic) {
        const qint64 start = clock.nsecsElapsed();
        QProcess::startDetached(QStringLiteral("mosquitto_pub"),
                                {"-h", "127.0.0.1", "-p", QString::number(port), "-q", "1", "-t",
                                 topic, "-m", Message});
        return start;
    };
    const int timeoutMs = pacing.isEmpty() ? 60000 : 20000;
    const qint64 oneStart = publish(QStringLiteral("site-1/message"));
    const bool oneDone = waitUntil([&] { return signs[0]->restartNs >= 0; }, timeoutMs);
    const double oneMs = double(signs[0]->restartNs - oneStart) / 1e6;
    // The upload ends a pause after the restart frame; the group's message must find every
    // service idle.
    waitUntil([&] { return (said[0] += services[0]->readAllStandardError()).contains(": sent"); },
              timeoutMs);
    for (auto &sign : signs)
        sign->frames = 0, sign->restartNs = -1;

    const qint64 allStart = publish(QStringLiteral("all/message"));
    const bool allDone = waitUntil(
        [&] {
            return std::all_of(signs.cbegin(), signs.cend(),
                               [](const std::unique_ptr<Sign> &s) { return s->restartNs >= 0; });
        },
        timeoutMs);
    qint64 first = std::numeric_limits<qint64>::max(), last = 0;
    for (const auto &sign : signs) {
        first = std::min(first, sign->restartNs);
        last = std::max(last, sign->restartNs);
    }
    const double firstMs = double(first - allStart) / 1e6, lastMs = double(last - allStart) / 1e6;

    std::printf("pacing: %s\n", pacing.isEmpty() ? "real (2000 ms a frame)"
                                                 : qPrintable(pacing + QStringLiteral(" ms")));
    std::printf("one service, one sign:  publish -> restart frame %9.1f ms\n", oneMs);
    std::printf("%d services, group topic: publish -> first restart %9.1f ms, last %9.1f ms\n",
                count, firstMs, lastMs);
    std::printf("last of %d against one: %.3f (%+.1f ms)%s\n", count, lastMs / oneMs,
                lastMs - oneMs, oneDone && allDone ? "" : "  INCOMPLETE");

    for (auto &service : services)
        service->terminate();
    for (auto &service : services)
        service->waitForFinished(5000);
    broker.terminate();
    broker.waitForFinished(5000);
    return oneDone && allDone ? 0 : 1;
}
