#include "MessageEdit.h"
#include "SerialLine.h"
#include "SettingsStore.h"
#include "SignPorts.h"
#include "TestSupport.h"
#include "frmConfig.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QComboBox>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

// The virtual sign as a separate, headless process, with its JSON log in a temporary folder.
class SignProcess {
public:
    explicit SignProcess(QStringList arguments)
    {
        if (!arguments.contains(QStringLiteral("--log")))
            arguments << QStringLiteral("--log") << logPath();
        arguments << QStringLiteral("--headless") << QStringLiteral("--dump-image") << imagePath();
        process.setProgram(QStringLiteral(VIRTUAL_SIGN_PATH));
        process.setArguments(arguments);
        // Ctrl+C reaches it even when this test runs as a background job, which ignores it.
        process.setChildProcessModifier([] { std::signal(SIGINT, SIG_DFL); });
        process.start();
    }
    ~SignProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(3000);
        }
    }

    // Waits for a line of its output that starts with the prefix; returns the rest.
    QString waitForLine(const QString &prefix)
    {
        QString found;
        (void)QTest::qWaitFor(
            [&] {
                output += QString::fromUtf8(process.readAllStandardOutput());
                for (const QString &line : output.split(QLatin1Char('\n'))) {
                    if (line.startsWith(prefix) && output.contains(line + QLatin1Char('\n'))) {
                        found = line.mid(prefix.size());
                        return true;
                    }
                }
                return false;
            },
            10000);
        return found;
    }

    QList<QJsonObject> records() const
    {
        QFile file(logPath());
        QList<QJsonObject> all;
        if (!file.open(QIODevice::ReadOnly))
            return all;
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                all.append(QJsonDocument::fromJson(line).object());
        return all;
    }

    QString logPath() const { return dir.filePath(QStringLiteral("sign.jsonl")); }
    QString imagePath() const { return dir.filePath(QStringLiteral("sign.png")); }

    QTemporaryDir dir;
    QProcess process;
    QString output;
};

int countStatus(const QList<QJsonObject> &records, const QString &status)
{
    int n = 0;
    for (const QJsonObject &r : records)
        n += r[QStringLiteral("status")].toString() == status;
    return n;
}

class EndToEndTest : public WindowsTest {
protected:
    // The main window, shown, with short pauses; uploads over the LAN go to the given port.
    void openMain(const Settings &s, quint16 signPort,
                  platform::ComPortResolver ports = noSuchDevice)
    {
        ui::Services services = this->services();
        services.timing = {15, 30};
        services.signPort = signPort;
        services.comPorts = std::move(ports);
        main = makeMain(s, services);
        main->show();
    }

    void upload(const QString &text)
    {
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        ui::frmDesign1 *d = main->design();
        d->txtMsg->setPlainText(text);
        d->cmbFonts->setCurrentIndex(0);    // DejaVu Sans
        d->cmbFontSize->setCurrentIndex(6); // 12 points: 16 pixels, all on the sign
        d->cmbOffset->setCurrentIndex(10);  // 0
        QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    }

    // What the sign assembled equals the rendered column image, five blank blocks included.
    void expectSignHoldsTheUpload(SignProcess &sign)
    {
        // Wait with the event loop turning: the upload runs on it.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return sign.process.state() == QProcess::NotRunning; }, 20000))
            << "the sign saw no restart";
        QTRY_VERIFY(!main->transfer().running());
        const int blocks = shared.BlockCount;
        const QList<QJsonObject> records = sign.records();
        EXPECT_EQ(records.size(), blocks + 2);
        EXPECT_EQ(countStatus(records, QStringLiteral("accepted")), blocks + 2);
        const QJsonObject restart = records.last();
        EXPECT_EQ(restart[QStringLiteral("kind")].toString(), QStringLiteral("restart"));
        EXPECT_EQ(restart[QStringLiteral("columns")].toInt(), blocks * 64);
        EXPECT_EQ(restart[QStringLiteral("speed")].toInt(), 10);

        const QImage image(sign.imagePath());
        ASSERT_EQ(image.width(), blocks * 64);
        ASSERT_EQ(image.height(), 16);
        int lit = 0;
        for (int c = 0; c < image.width(); ++c)
            for (int r = 0; r < 16; ++r) {
                const bool on = qRed(image.pixel(c, r)) > 128;
                const bool expected = shared.ColumnBuffer[2 * c + r / 8] & (1 << (r % 8));
                ASSERT_EQ(on, expected) << "column " << c << " row " << r;
                lit += on;
                if (c >= (blocks - 5) * 64) {
                    ASSERT_FALSE(on) << "blank block column " << c;
                }
            }
        EXPECT_GT(lit, 100);
        EXPECT_TRUE(notifier.messages.isEmpty() ||
                    notifier.count(QStringLiteral("Communication Port Error!")) ==
                        notifier.messages.size());
    }
};

} // namespace

TEST_F(EndToEndTest, UdpUploadReachesTheSign)
{
    const quint16 port = freeUdpPort();
    SignProcess sign({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                      QStringLiteral("--exit-after-restart")});
    ASSERT_FALSE(sign.waitForLine(QStringLiteral("listening on UDP")).isEmpty());
    openMain(safeSettings(), port);
    upload(QStringLiteral("Fresh bread 7 days"));
    expectSignHoldsTheUpload(sign);
}

TEST_F(EndToEndTest, SerialUploadReachesTheSign)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready()) << "socat is needed for this test";
    SignProcess sign({QStringLiteral("--serial"), pty.b(), QStringLiteral("--exit-after-restart")});
    ASSERT_FALSE(sign.waitForLine(QStringLiteral("listening on serial")).isEmpty());
    Settings s = safeSettings();
    s.LinkType = 2;
    const QString device = pty.a();
    openMain(s, freeUdpPort(), [device](int) { return device; });
    ASSERT_TRUE(shared.SerialPortOpen);
    upload(QStringLiteral("Open late"));
    expectSignHoldsTheUpload(sign);
}

TEST_F(EndToEndTest, ConfigurationFramesChangeTheSign)
{
    SignProcess sign({QStringLiteral("--pty")});
    const QString device = sign.waitForLine(QStringLiteral("pty: "));
    ASSERT_FALSE(device.isEmpty());
    openMain(safeSettings(), freeUdpPort(), [device](int) { return device; });
    ASSERT_TRUE(shared.SerialPortOpen);

    QTest::mouseClick(main->cmdConfig, Qt::LeftButton);
    auto *config = main->findChild<ui::frmConfig *>();
    ASSERT_NE(config, nullptr);
    auto update = [&](QPushButton *button) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return config->cmdUpdateSID->isEnabled(); }));
    };
    config->cmbSA->setCurrentIndex(4); // the sign becomes 05
    update(config->cmdUpdateSID);
    config->txtTxPort->setText(QStringLiteral("3000"));
    update(config->cmdUpdateTxPort); // to 05: taken
    config->cmbSA->setCurrentIndex(19);
    config->txtTxPort->setText(QStringLiteral("4000"));
    update(config->cmdUpdateTxPort); // to 20: no longer this sign
    config->close();

    QList<QJsonObject> records;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (records = sign.records()).size() == 3; }, 5000));
    EXPECT_EQ(records[0][QStringLiteral("kind")].toString(), QStringLiteral("set-serial-id"));
    EXPECT_EQ(records[0][QStringLiteral("newId")].toInt(), 5);
    EXPECT_EQ(records[0][QStringLiteral("status")].toString(), QStringLiteral("accepted"));
    EXPECT_EQ(records[1][QStringLiteral("port")].toInt(), 3000);
    EXPECT_EQ(records[1][QStringLiteral("status")].toString(), QStringLiteral("accepted"));
    EXPECT_EQ(records[2][QStringLiteral("port")].toInt(), 4000);
    EXPECT_EQ(records[2][QStringLiteral("status")].toString(), QStringLiteral("ignored"));
    EXPECT_TRUE(notifier.messages.isEmpty());
}

TEST_F(EndToEndTest, MalformedFramesAreRejectedAndTheSignKeepsRunning)
{
    const quint16 port = freeUdpPort();
    SignProcess sign({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                      QStringLiteral("--pty")});
    const QString device = sign.waitForLine(QStringLiteral("pty: "));
    ASSERT_FALSE(device.isEmpty());

    auto frame = [](std::initializer_list<int> values) {
        QByteArray b;
        for (int v : values)
            b.append(char(v));
        return b;
    };
    const QList<QByteArray> bad = {
        frame({0xAA, 0xCC, 0x00}),                               // too short
        frame({0xAB, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20}), // start byte
        frame({0xAA, 0xCC, 0x00, 0x09, 0x32, 0x30, 0x00, 0x20}), // length field
        frame({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x3A, 0x00, 0x20}), // not a digit
        frame({0xAA, 0xCC, 0x00, 0x08, 0x35, 0x31, 0x00, 0x20}), // address 51
        frame({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x02, 0x10}), // unknown command
        frame({0xAA, 0xCC, 0x00, 0x10, 0x32, 0x30, 0x00, 0x10, 0x01, 0x00, 0x00, 0x05, 0, 0, 0,
               0}), // count 5, 4 bytes
        frame({0xAA, 0xCC, 0x00, 0x0E, 0x32, 0x30, 0x00, 0x10, 0xFF, 0xFF, 0x00, 0x02, 1, 2}),
    };
    QUdpSocket peer;
    for (const QByteArray &b : bad)
        peer.writeDatagram(b, QHostAddress::LocalHost, port);

    // On the line: noise, a good restart, then a frame cut short.
    QSerialPort line(device);
    ASSERT_TRUE(line.open(QIODevice::ReadWrite));
    line.write(QByteArray("\x01\x02 noise ") +
               frame({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20}) +
               frame({0xAA, 0xCC, 0x00, 0x8C, 0x32, 0x30, 0x00, 0x10, 0x02, 0x00}));
    line.flush();

    QList<QJsonObject> records;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (records = sign.records()).size() >= 11; }, 5000))
        << records.size();
    EXPECT_EQ(countStatus(records, QStringLiteral("rejected")), 10);
    EXPECT_EQ(countStatus(records, QStringLiteral("accepted")), 1);
    EXPECT_EQ(sign.process.state(), QProcess::Running);

    // Still listening: a good frame after all that is taken.
    peer.writeDatagram(frame({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20}),
                       QHostAddress::LocalHost, port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return (records = sign.records()).size() == 12; }, 5000));
    EXPECT_EQ(records.last()[QStringLiteral("status")].toString(), QStringLiteral("accepted"));
}

// CPU time the process has used so far, in clock ticks: utime and stime.
long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const QList<QByteArray> fields = stat.open(QIODevice::ReadOnly)
                                         ? stat.readAll().split(')').last().split(' ')
                                         : QList<QByteArray>{};
    return fields.value(12).toLong() + fields.value(13).toLong();
}

// The process ends by itself with the status, and its output says so.
void expectEnded(QProcess &process, int status, const QByteArray &says)
{
    ASSERT_TRUE(process.waitForFinished(5000)) << "still running: " << says.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << says.toStdString();
    EXPECT_EQ(process.exitCode(), status) << says.toStdString();
    const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
    EXPECT_TRUE(output.contains(says)) << output.toStdString();
}

TEST(VirtualSignTest, VanishedSerialPeerEndsItOrWithItsOwnPtyIsWaitedFor)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready()) << "socat is needed for this test";
    SignProcess serial({QStringLiteral("--serial"), pty.b()});
    ASSERT_FALSE(serial.waitForLine(QStringLiteral("listening on serial")).isEmpty());
    pty.vanish();
    expectEnded(serial.process, 1,
                "lost the serial line " + pty.b().toUtf8() +
                    ": the device or its other end went away");

    // Its own pty outlives each program that opens it: a new one is heard, and in between the
    // sign waits at no CPU cost.
    SignProcess own({QStringLiteral("--pty")});
    const QString device = own.waitForLine(QStringLiteral("pty: "));
    const QByteArray restart = bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20});
    for (int peer = 1; peer <= 2; ++peer) {
        QSerialPort line(device);
        ASSERT_TRUE(line.open(QIODevice::ReadWrite));
        line.write(restart);
        ASSERT_TRUE(line.waitForBytesWritten(1000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return own.records().size() == peer; }, 5000));
        line.close();
        const long before = cpuTicks(own.process.processId());
        QTest::qWait(1000);
        EXPECT_LE(cpuTicks(own.process.processId()) - before, 5) << "ticks in 1 s";
    }
    EXPECT_EQ(countStatus(own.records(), QStringLiteral("accepted")), 2);
}

TEST(VirtualSignTest, UnwritableLogSignalsAndNoDisplayAreReported)
{
    const QByteArray restart = bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20});
    // A log that cannot be opened (a folder), or that fills up on the first frame.
    const QTemporaryDir folder;
    SignProcess unwritable({QStringLiteral("--log"), folder.path()});
    expectEnded(unwritable.process, 1, "cannot write " + folder.path().toUtf8() + ": ");
    std::unique_ptr<SignProcess> full;
    {
        const FileSizeLimit limit(16);
        full = std::make_unique<SignProcess>(
            QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
        full->process.waitForStarted();
    }
    const quint16 port =
        full->waitForLine(QStringLiteral("listening on UDP 127.0.0.1:")).toUShort();
    QUdpSocket().writeDatagram(restart, QHostAddress::LocalHost, port);
    expectEnded(full->process, 1, "cannot write " + full->logPath().toUtf8() + ": File too large");

    // SIGTERM and Ctrl+C end it with the summary.
    for (const int number : {SIGTERM, SIGINT}) {
        SignProcess sign({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
        const quint16 at =
            sign.waitForLine(QStringLiteral("listening on UDP 127.0.0.1:")).toUShort();
        QUdpSocket().writeDatagram(restart, QHostAddress::LocalHost, at);
        ASSERT_TRUE(QTest::qWaitFor([&] { return sign.records().size() == 1; }, 5000));
        ::kill(pid_t(sign.process.processId()), number);
        expectEnded(sign.process, 0, "frames: 1 accepted, 0 ignored, 0 rejected\n");
    }

    // Without a display: help and version as text, and a plain start says what is missing.
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        noDisplay.remove(QString::fromLatin1(name));
    const std::pair<QString, QByteArray> starts[] = {
        {QStringLiteral("--help"), "  --exit-after-restart"},
        {QStringLiteral("--version"), "virtual-sign " LUMAWRITE_PROJECT_VERSION "\n"},
        {QStringLiteral("--pty"), "virtual-sign: no display to show the sign on"}};
    for (const auto &[argument, says] : starts) {
        QProcess sign;
        sign.setProcessEnvironment(noDisplay);
        sign.start(QStringLiteral(VIRTUAL_SIGN_PATH), {argument});
        expectEnded(sign, argument == QStringLiteral("--pty") ? 1 : 0, says);
    }
}

TEST_F(EndToEndTest, DemoSetUpMapsItsComPortToTheSignsPseudoTerminalAndBothLinksReachIt)
{
    // The demo's set-up with a made-up terminal: the program's own resolver (the fixed table
    // behind the mapping) gives that terminal for the demo's COM port, no serial port of this
    // computer.
    QTemporaryDir folder;
    const QString fake = folder.filePath(QStringLiteral("pts-7"));
    ASSERT_EQ(QProcess::execute(QStringLiteral(DEMO_SETUP_PATH), {folder.path(), fake}), 0);
    const QString settingsPath = folder.filePath(QStringLiteral("lumawrite/tabro.cfg"));
    SettingsStore demoStore(settingsPath);
    Settings demo;
    ASSERT_TRUE(demoStore.LoadSettings(demo).isEmpty());
    EXPECT_EQ(demo.IpAddress, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(demo.ComPort, 1);
    platform::ComPorts ports = signs::comPortsBeside(settingsPath);
    EXPECT_TRUE(ports.report.isEmpty()) << ports.report.toStdString();
    EXPECT_EQ(ports.resolver(demo.ComPort), fake);
    EXPECT_EQ(ports.resolver(2), QStringLiteral("/dev/ttyS1")); // only COM 1 is mapped

    // Set up again on a sign's own terminal, the demo's settings reach the sign over both links.
    const quint16 port = freeUdpPort();
    SignProcess sign({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                      QStringLiteral("--pty")});
    const QString pty = sign.waitForLine(QStringLiteral("pty: "));
    ASSERT_FALSE(pty.isEmpty());
    ASSERT_EQ(QProcess::execute(QStringLiteral(DEMO_SETUP_PATH), {folder.path(), pty}), 0);
    ASSERT_TRUE(demoStore.LoadSettings(demo).isEmpty());
    demo.LocalPort = 0; // any free receive port
    ports = signs::comPortsBeside(settingsPath, noSuchDevice);
    openMain(demo, port, ports.resolver);
    ASSERT_TRUE(shared.SerialPortOpen);
    auto restarts = [&](const QString &via) {
        int n = 0;
        for (const QJsonObject &r : sign.records())
            n += r[QStringLiteral("via")].toString() == via &&
                 r[QStringLiteral("kind")].toString() == QStringLiteral("restart") &&
                 r[QStringLiteral("status")].toString() == QStringLiteral("accepted");
        return n;
    };
    ASSERT_TRUE(main->optLAN->isChecked());
    upload(QStringLiteral("Over the LAN"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return restarts(QStringLiteral("udp")) == 1; }, 10000));
    QTRY_VERIFY_WITH_TIMEOUT(!main->transfer().running(), 10000);
    main->opt485->setChecked(true);
    upload(QStringLiteral("Over the serial line"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return restarts(QStringLiteral("serial")) == 1; }, 10000));
    EXPECT_EQ(restarts(QStringLiteral("udp")), 1);
}
