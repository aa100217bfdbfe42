#include "Fonts.h"
#include "Frames.h"
#include "LineWatcher.h"
#include "MessageEdit.h"
#include "MessageTransfer.h"
#include "PortsConf.h"
#include "SavedMessages.h"
#include "SendOptions.h"
#include "SignFleet.h"
#include "SignLink.h"
#include "TerminalView.h"
#include "TestSupport.h"
#include "UploadHistory.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

QStringList hexLines(const QList<QByteArray> &frames)
{
    QStringList lines;
    for (const QByteArray &frame : frames)
        lines.append(QString::fromLatin1(frame.toHex()));
    return lines;
}

// Frame lists compare as text, one frame a line, so a failure shows the frames.
std::string lines(const QStringList &frames)
{
    return frames.join('\n').toStdString();
}
std::string lines(const QList<QByteArray> &frames)
{
    return lines(hexLines(frames));
}

// Settings that send to loopback, with values the windows must correct.
Settings loopbackSettings()
{
    Settings s = safeSettings();
    s.FontIndex = 999;   // beyond the list: its first font
    s.FontSize = 99;     // 12
    s.Bold = 2;          // off
    s.Offset = 40;       // 0
    s.SerialAddress = 0; // 20
    s.Speed = 11;        // 10
    return s;
}

struct SendRun {
    int exitCode = -1;
    QStringList out; // lines
    QString err;
};

// The state folder (the upload history) of the runs with this settings file: in its temporary
// folder, beside the configuration folder.
QString stateHomeOf(const TempSettings &file)
{
    return QFileInfo(QFileInfo(file.path()).absolutePath()).absolutePath() + "/state";
}

// lumawrite-send's surroundings: the settings file of the test, its own state folder and short
// pacing.
QProcessEnvironment sendEnvironment(const TempSettings &file, const QString &pacing)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QFileInfo(QFileInfo(file.path()).absolutePath()).absolutePath());
    env.insert("XDG_STATE_HOME", stateHomeOf(file));
    env.insert("LUMAWRITE_SEND_PACING_MS", pacing);
    // English messages whatever the desktop of the test machine speaks.
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("LANGUAGE");
    return env;
}

// prepare may redirect the process or change it in the child before it runs.
SendRun runSend(const TempSettings &file, const QStringList &arguments,
                const QByteArray &input = QByteArray(),
                const std::function<void(QProcess &)> &prepare = {})
{
    QProcess process;
    process.setProcessEnvironment(sendEnvironment(file, "10,10"));
    if (prepare)
        prepare(process);
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(QStringLiteral(LUMAWRITE_SEND_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    SendRun run;
    if (!finished.wait(30000)) {
        process.kill();
        ADD_FAILURE() << "lumawrite-send did not end: " << arguments.join(' ').toStdString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// lumawrite-send's signs and what it prints of them, in this process: one sign as a fleet of one
// with its progress bar, several with a line each.
struct InProcessSend {
    InProcessSend(const send::SendOptions &options, const QList<signs::SignTarget> &targets,
                  const signs::LinkServices &link, bool terminal = false)
        : fleet(send::fleetOptions(options), targets, knownFonts(), link),
          view(fleet, options,
               {[this](const QString &t) { out += t.split('\n', Qt::SkipEmptyParts); },
                [this](const QString &t) {
                    err += t;
                    if (onErr)
                        onErr(t);
                },
                terminal},
               targets.size() > 1 ? send::TerminalView::Style::Signs
                                  : send::TerminalView::Style::OneSign),
          done(&view, &send::TerminalView::messageDone)
    {
    }
    // One sign with the settings file at path.
    InProcessSend(send::SendOptions options, const QString &path, const signs::LinkServices &link)
        : InProcessSend(withSettings(options, path), send::signsFor(withSettings(options, path)),
                        link)
    {
    }
    static send::SendOptions withSettings(send::SendOptions options, const QString &path)
    {
        options.settingsFile = path;
        options.settingsFiles = QStringList{path};
        return options;
    }
    int exitCode(int message = 0) const { return done.value(message).value(0).toInt(); }

    signs::SignFleet fleet;
    send::TerminalView view;
    QStringList out;
    QString err;
    std::function<void(const QString &)> onErr;
    QSignalSpy done;
};

} // namespace

TEST(SendFrames, HandWrittenFramesForTwoAddressesAndSpeeds)
{
    std::vector<quint8> columns(2 * 128);
    for (int i = 0; i < 256; ++i)
        columns[i] = quint8(i);
    const std::vector<quint8> first(columns.begin(), columns.begin() + 128);

    // Address 20, speed 10, one block: the block, five blank blocks, parameters, restart.
    const QStringList one = hexLines(link::frames::messageFrames(first, 19, 9));
    ASSERT_EQ(one.size(), 8);
    QString block0 = "aacc008c3230001002000080";
    for (int i = 0; i < 128; ++i)
        block0 += QStringLiteral("%1").arg(i, 2, 16, QLatin1Char('0'));
    EXPECT_EQ(one[0], block0);
    EXPECT_EQ(one[1], "aacc008c3230001002800080" + QString(256, '0'));
    EXPECT_EQ(one[5], "aacc008c3230001004800080" + QString(256, '0'));
    EXPECT_EQ(one[6], "aacc001032300010010000040180000a"); // 6 blocks = 384 columns, code 10
    EXPECT_EQ(one[7], "aacc000832300020");

    // Address 01, speed 1, two blocks: 7 blocks = 448 columns, code 250.
    const QStringList two = hexLines(link::frames::messageFrames(columns, 0, 0));
    ASSERT_EQ(two.size(), 9);
    EXPECT_TRUE(two[1].startsWith("aacc008c3031001002800080"
                                  "80818283"));
    EXPECT_EQ(two[7], "aacc0010303100100100000401c000fa");
    EXPECT_EQ(two[8], "aacc000830310020");
}

TEST(SendFrames, TransferSendsExactlyTheseFrames)
{
    LoopbackSign sign;
    link::SignLink signLink(noSuchDevice, {5, 5}, sign.port());
    signLink.setDestination(QStringLiteral("127.0.0.1"));
    std::vector<quint8> columns(3 * 128);
    for (int i = 0; i < 3 * 128; ++i)
        columns[i] = quint8(i * 7 + 3);
    const QStringList expected = hexLines(link::frames::messageFrames(columns, 6, 3));
    link::MessageTransfer transfer(signLink, {[] { return true; }, [] { return 3; }});
    QSignalSpy finished(&transfer, &link::MessageTransfer::finished);
    transfer.SendMessage(columns, 6);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(hexLines(sign.waitFor(expected.size())), expected);
}

TEST(SendFonts, ListShowsEachFamilyOnceAndAFoundryTagNamesItsFamily)
{
    // --list-fonts prints the Text Entry window's list; --font may carry a foundry tag.
    const QStringList list = platform::fontListOrder(
        {"Nimbus Sans [URW ]", "C059 [UKWN]", "DejaVu Sans", "C059 [urw]", "Nimbus Sans [UKWN]"});
    EXPECT_EQ(send::fontListing(list), QStringLiteral("0\tC059\n1\tDejaVu Sans\n2\tNimbus Sans\n"));
    const std::pair<const char *, int> lookups[] = {
        {"C059 [urw]", 0}, {"nimbus sans [URW ]", 2}, {"DejaVu Sans", 1}, {"Nimbus", -1}};
    for (const auto &[name, position] : lookups)
        EXPECT_EQ(signs::fontPosition(list, QString::fromUtf8(name)), position) << name;
}

TEST(SendOptions, ValuesOutsideTheirListsAndContradictionsAreRefused)
{
    const QProcessEnvironment none;
    // One command line a case, the cases separated by "|".
    const QStringList bad = QString("--size 61 x|--size 5 x|--offset 11 x|--offset -11 x|"
                                    "--offset two x|--address 0 x|--address 51 x|--speed 0 x|"
                                    "--speed 11 x|--serial 251 x|--port 0 x|--bold --no-bold x|"
                                    "--lan --serial 3 x|--dry-run --save x|--watch f x||one two|"
                                    "--font= x|--no-such-option x|--list-fonts x|"
                                    "--list-fonts x y|--settings= x|--history 0|--history 101|"
                                    "--history x|--history 1 2|--history=|--keep= x|--saved= x|"
                                    "--saved a x|--saved a -|--saved a --watch f|"
                                    "--keep a --mqtt mqtt://h --topic t|--list-saved x|"
                                    "--list-saved --keep a|--history --saved a|"
                                    "--picture f x|--picture f -|--picture=|--picture f --saved a|"
                                    "--picture f --keep a|--picture f --save|"
                                    "--picture f --watch g|--picture f --mqtt mqtt://h --topic t|"
                                    "--list-pictures x|--list-pictures --picture f|"
                                    "--list-pictures --settings a --settings b")
                                .split('|');
    for (const QString &line : bad) {
        const QStringList arguments = QString(line).split(' ', Qt::SkipEmptyParts);
        const auto parsed = send::parseArguments(QStringList{"lumawrite-send"} + arguments, none);
        EXPECT_FALSE(parsed.error.isEmpty()) << line.toStdString();
        // The message names the option at fault.
        if (!arguments.isEmpty() && arguments[0].startsWith("--")) {
            EXPECT_TRUE(parsed.error.contains(
                arguments[0].mid(2).section(QRegularExpression("[-=]"), 0, 0)))
                << parsed.error.toStdString();
        }
    }

    // The ends of every list are accepted; the pacing hook comes from the environment.
    QProcessEnvironment env;
    env.insert("LUMAWRITE_SEND_PACING_MS", "20,30");
    const auto good = send::parseArguments({"lumawrite-send", "--size", "60", "--offset", "-10",
                                            "--address", "50", "--speed", "1", "--serial", "250",
                                            "--port", "65535", "--no-bold", "--italic", "-"},
                                           env);
    ASSERT_TRUE(good.error.isEmpty()) << good.error.toStdString();
    const send::Overrides &o = good.options.overrides;
    EXPECT_EQ(o.lan, false);
    EXPECT_EQ(o.comPort, 250);
    EXPECT_EQ(o.bold, false);
    EXPECT_EQ(o.italic, true);
    EXPECT_FALSE(o.underline.has_value());
    EXPECT_TRUE(good.options.textFromStdin);
    EXPECT_EQ(good.options.timing.delayMs, 20);
    EXPECT_EQ(good.options.timing.replyMs, 30);

    env.insert("LUMAWRITE_SEND_PACING_MS", "20");
    EXPECT_FALSE(send::parseArguments({"lumawrite-send", "x"}, env).error.isEmpty());

    // An address that would break line 1 of the settings file: a double quote, a comma, a
    // control character (even one at the end that trimming would drop).
    for (const QString &ip : {QString("127.0.0.2\""), QString("127.0.0.2,3"), QString("127.0.\t2"),
                              QString("127.0.0.2\n"), QString("127.0.0.2\x7f")}) {
        const auto parsed = send::parseArguments({"lumawrite-send", "--ip", ip, "x"}, none);
        EXPECT_TRUE(parsed.error.startsWith("--ip ")) << parsed.error.toStdString();
    }
}

namespace {

// The windows next to the command: the same settings file contents, the same fonts.
class SendToolTest : public WindowsTest {
protected:
    // The window on its own settings file, or on the command's, read as at start-up.
    void openWindow(const Settings &s) { openWindow(s, file); }
    void openWindow(const Settings &s, TempSettings &settingsFile)
    {
        ui::Services services = servicesFor(settingsFile, notifier);
        services.fontFamilies = platform::screenFontFamilies; // the list the command uses
        services.timing = {5, 5};
        services.signPort = sign.port();
        main = makeMain(s, services);
        main->show();
    }

    // Presses "^^Upload ^^" with the text and waits until the transfer is over.
    void uploadFromWindow(const QString &text, const std::function<void(ui::frmDesign1 *)> &choose)
    {
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        ui::frmDesign1 *d = main->design();
        d->txtMsg->setPlainText(text);
        if (choose)
            choose(d);
        QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !main->transfer().running(); }, 15000));
    }

    TempSettings commandFile;
};

} // namespace

TEST_F(SendToolTest, DryRunPrintsWhatTheWindowsSendForTheSameChoices)
{
    commandFile.write(loopbackSettings());
    openWindow(loopbackSettings());

    // The stored choices, corrected as the windows correct them.
    const SendRun stored = runSend(commandFile, {"--dry-run", "Fresh bread 7 days"});
    ASSERT_EQ(stored.exitCode, 0) << stored.err.toStdString();
    uploadFromWindow("Fresh bread 7 days", {});
    EXPECT_EQ(lines(sign.waitFor(stored.out.size())), lines(stored.out));
    ASSERT_GE(stored.out.size(), 1 + 7);
    const QString parameters = stored.out[stored.out.size() - 2];
    EXPECT_TRUE(parameters.startsWith("aacc00103230")) << "address 20";
    EXPECT_TRUE(parameters.endsWith("000a")) << "speed 10";

    // Every choice given on the command line, and two lines read from a pipe.
    sign.take(); // done with the first upload's frames
    const SendRun chosen =
        runSend(commandFile,
                {"--dry-run", "--font", "dejavu serif", "--size", "14", "--italic", "--underline",
                 "--strikethrough", "--offset", "3", "--address", "7", "--speed", "4", "-"},
                "Two\nlines, the second below the sign\n");
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    main->cmbSA->setCurrentIndex(6);
    main->cmbSpeed->setCurrentIndex(3);
    uploadFromWindow("Two\nlines, the second below the sign", [](ui::frmDesign1 *d) {
        d->cmbFonts->setCurrentIndex(d->cmbFonts->findText("DejaVu Serif"));
        d->cmbFontSize->setCurrentIndex(14 - 6);
        d->chkItalic->setChecked(true);
        d->chkUL->setChecked(true);
        d->chkST->setChecked(true);
        d->cmbOffset->setCurrentIndex(3 + 10);
    });
    EXPECT_EQ(lines(sign.waitFor(chosen.out.size())), lines(chosen.out));
    EXPECT_GE(chosen.out.size(), 1 + 7);
    EXPECT_NE(chosen.out[0], stored.out[0]);
    EXPECT_TRUE(notifier.messages.isEmpty() ||
                notifier.count("Communication Port Error!") == notifier.messages.size());
}

TEST_F(SendToolTest, SaveStoresWhatAWindowUploadStoresForOneSignAndForSeveral)
{
    Settings before = loopbackSettings();
    before.LinkType = 2;
    before.ComPort = 5;
    before.MessageText = "Old message";
    openWindow(before);

    // The same choices in the windows; the link chosen there is not stored by an upload.
    main->optLAN->setChecked(true);
    uploadFromWindow("Back at 3", [](ui::frmDesign1 *d) {
        d->cmbFonts->setCurrentIndex(d->cmbFonts->findText("DejaVu Sans Mono"));
        d->cmbFontSize->setCurrentIndex(20 - 6);
        d->chkItalic->setChecked(true);
        d->cmbOffset->setCurrentIndex(-3 + 10);
    });
    Settings expected;
    ASSERT_TRUE(file.store().LoadSettings(expected).isEmpty());
    EXPECT_EQ(expected.MessageText, "Back at 3");
    // The communication choices given, and the address from --ip.
    expected.IpAddress = "localhost";
    expected.SerialAddress = 7;
    expected.Speed = 4;
    expected.LinkType = 1;

    // One sign with the command's settings file, then two signs with a settings file each.
    TempSettings second;
    for (const QList<TempSettings *> &files :
         {QList<TempSettings *>{&commandFile}, {&commandFile, &second}}) {
        SCOPED_TRACE(files.size());
        QStringList arguments{"--save",
                              "--port",
                              QString::number(sign.port()),
                              "--ip",
                              "localhost",
                              "--lan",
                              "--font",
                              "DejaVu Sans Mono",
                              "--size",
                              "20",
                              "--italic",
                              "--offset",
                              "-3",
                              "--address",
                              "7",
                              "--speed",
                              "4"};
        for (TempSettings *settings : files) {
            settings->write(before);
            arguments << "--settings" << settings->path();
        }
        sign.take();
        const SendRun run = runSend(commandFile, arguments << "Back at 3");
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(hexLines(sign.waitFor(8 * int(files.size()))).last().toStdString(),
                  "aacc000830370020"); // restart, address 07
        for (TempSettings *settings : files) {
            Settings saved;
            ASSERT_TRUE(settings->store().LoadSettings(saved).isEmpty());
            EXPECT_EQ(saved, expected);
            EXPECT_TRUE(settings->read().startsWith("\"localhost\"\r\n0\r\n7\r\n1\r\n5\r\n4\r\n"));
        }
    }
}

TEST_F(SendToolTest, TheWindowsKeepWhatTheCommandSavedMeanwhile)
{
    Settings before = loopbackSettings();
    before.MessageText = "Old message";
    openWindow(before, commandFile);
    const QString port = QString::number(sign.port());

    // Closing the window stores only its own choices over the command's save.
    ASSERT_EQ(
        runSend(commandFile, {"--save", "--port", port, "--size", "20", "--speed", "4", "New"})
            .exitCode,
        0);
    main->cmbSpeed->setCurrentIndex(1);
    main->close();
    auto saved = decodeSettings(commandFile.read());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->MessageText, "New");
    EXPECT_EQ(saved->FontSize, 20);
    EXPECT_EQ(saved->Speed, 2);
    EXPECT_EQ(saved->SerialAddress, 20); // what the window showed for the stored 0

    // An upload from the window stores only Text Entry's choices over the command's save.
    openWindow(*saved, commandFile);
    ASSERT_EQ(runSend(commandFile, {"--save", "--port", port, "--address", "9", "Newer"}).exitCode,
              0);
    uploadFromWindow("From the window",
                     [](ui::frmDesign1 *d) { d->cmbFontSize->setCurrentIndex(14 - 6); });
    saved = decodeSettings(commandFile.read());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->MessageText, "From the window");
    EXPECT_EQ(saved->FontSize, 14);
    EXPECT_EQ(saved->SerialAddress, 9);
    EXPECT_EQ(saved->Speed, 2);
}

TEST(SendTool, UploadReachesTheVirtualSign)
{
    const quint16 port = freeUdpPort();
    QTemporaryDir dir;
    QProcess sign;
    sign.start(QStringLiteral(VIRTUAL_SIGN_PATH),
               {"--headless", "--listen", QStringLiteral("127.0.0.1:%1").arg(port),
                "--exit-after-restart", "--dump-image", dir.filePath("sign.png")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return sign.canReadLine(); }, 10000));
    ASSERT_TRUE(sign.readLine().startsWith("listening on UDP"));

    TempSettings file;
    file.write(safeSettings());
    const QString picture = dir.filePath("send.png");
    const SendRun run = runSend(file, {"--port", QString::number(port), "--font", "DejaVu Sans",
                                       "--size", "12", "--offset", "0", "--no-bold", "--image",
                                       picture, "--verbose", "Open 9 to 5, closed Sunday"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sign.state() == QProcess::NotRunning; }, 10000));

    const QImage sent(picture), held(dir.filePath("sign.png"));
    ASSERT_EQ(sent.height(), 16);
    ASSERT_EQ(sent.width() % 64, 0);
    ASSERT_EQ(held.width(), sent.width() + 5 * 64);
    const int frames = sent.width() / 64 + 7;
    EXPECT_EQ(
        run.err.count(QRegularExpression("^frame \\d+/\\d+ ", QRegularExpression::MultilineOption)),
        frames);
    int lit = 0;
    for (int c = 0; c < held.width(); ++c)
        for (int r = 0; r < 16; ++r) {
            const bool on = qRed(held.pixel(c, r)) > 128;
            const bool expected = c < sent.width() && qRed(sent.pixel(c, r)) > 128;
            ASSERT_EQ(on, expected) << "column " << c << " row " << r;
            lit += on;
        }
    EXPECT_GT(lit, 150);
}

TEST(SendTool, VersionIsTheVersionOfTheBuild)
{
    TempSettings file;
    const SendRun run = runSend(file, {"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringList{QStringLiteral("lumawrite-send " LUMAWRITE_PROJECT_VERSION)});
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(SendTool, RefusalsExitWithTheirReasonAndSendNothing)
{
    LoopbackSign sign;
    TempSettings file;
    file.write(safeSettings());
    const QString toSign = QString::number(sign.port());
    QTemporaryDir dir;
    const QString capped = dir.filePath("capped.png");
    const QString fifo = dir.filePath("ca.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString hugePicture = dir.filePath("huge.png");
    writeFile(hugePicture, QByteArray((4 << 20) + 1, 'x'));
    const QStringList service{"--mqtt", "mqtts://127.0.0.1:1", "--topic", "t", "--mqtt-cafile"};
    const std::function<void(QProcess &)> closedInput = [](QProcess &p) {
        p.setChildProcessModifier([] { ::close(STDIN_FILENO); });
    };
    // No file may grow past `bytes`, as on a full disk, and the signal that would end the run
    // is the default.
    const auto filesUpTo = [](rlim_t bytes) {
        return [bytes] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = bytes;
            setrlimit(RLIMIT_FSIZE, &limit);
        };
    };
    const std::function<void(QProcess &)> smallFiles = [&](QProcess &p) {
        p.setChildProcessModifier(filesUpTo(100));
    };
    // Standard output is a file of the test's own that cannot grow at all.
    const std::function<void(QProcess &)> fullOutput = [&](QProcess &p) {
        p.setStandardOutputFile(dir.filePath("out.txt"));
        p.setChildProcessModifier(filesUpTo(0));
    };
    const QString empty = "lumawrite-send: empty message; nothing sent\n";
    const QString full = "File too large";
    struct Case {
        QStringList arguments;
        int exitCode;
        QString reason;
        QByteArray input = {};
        std::function<void(QProcess &)> prepare = {};
    };
    const QList<Case> cases = {
        {{"--font", "No Such Face", "x"}, 2, "Unknown font \"No Such Face\""},
        {{"--size", "61", "x"}, 2, "--size takes a whole number from 6 to 60"},
        {{"--offset", "11", "x"}, 2, "--offset takes a whole number from -10 to 10"},
        {{"--address", "0", "x"}, 2, "--address takes a whole number from 1 to 50"},
        {{"--size", "60", "--bold", QString(250, 'W')}, 3, "columns wide"},
        {{QString(200, 'i') + QString(26, '\n')}, 3, "The message has 252 characters"},
        {{"--serial", "200", "x"}, 4, "COM 200 has no serial device"},
        {{"--image", "/nonexistent/folder/x.png", "x"}, 5, "/nonexistent/folder/x.png"},
        {{"--list-fonts", "x"}, 2, "--list-fonts takes no TEXT"},
        // A picture that cannot be used: not there, too large, a folder.
        {{"--picture", dir.filePath("none.png")},
         3,
         "lumawrite-send: The picture " + dir.filePath("none.png") +
             " cannot be used: No such file or directory. Nothing was sent.\n"},
        {{"--picture", hugePicture}, 3, hugePicture + " cannot be used: it is larger than 4 MiB."},
        {{"--picture", dir.path()}, 3, "neither a regular file nor a link to one"},
        // A certificate authority that is not there, or a FIFO that would hold the start up.
        {service + QStringList{dir.filePath("none.pem")}, 2,
         "none.pem cannot be read: No such file"},
        {service + QStringList{fifo}, 2, "neither a regular file nor a link to one"},
        // Empty, past 4096 bytes, closed (<&-); one trailing line break is dropped.
        {{""}, 3, empty},
        {{"-"}, 3, empty, ""},
        {{"-"}, 3, empty, "\r\n"},
        {{"   "}, 3, "a message of blanks only blanks the sign; nothing sent"},
        {{"-"}, 3, "blanks only", " \t \n"},
        {{"-"}, 3, "standard input holds more than 4096 bytes", QByteArray(4097, 'y')},
        {{"-"}, 3, "The message has 4096 characters", QByteArray(4096, 'y')},
        {{"--allow-empty", "-"}, 2, "standard input could not be read", {}, closedInput},
        // A full disk and a file-size limit.
        {{"--dry-run", "x"}, 5, "standard output could not be written: " + full, {}, fullOutput},
        {{"--list-fonts"}, 5, "standard output could not be written: " + full, {}, fullOutput},
        {{"--image", dir.path(), "x"},
         5,
         "could not be written to " + dir.path() + ": Is a directory"},
        {{"--image", capped, "x"}, 5, capped + ": File too large", {}, smallFiles},
        // The fit check's findings with --strict.
        {{"--strict", "--offset", "10", "x"},
         3,
         "cut off at the bottom.\nlumawrite-send: --strict refuses a message with warnings; "
         "nothing sent\n"},
    };
    for (const Case &c : cases) {
        const SendRun run =
            runSend(file, QStringList{"--port", toSign} + c.arguments, c.input, c.prepare);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.reason.toStdString();
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    // The too-wide message gives its width against the limit.
    const SendRun wide = runSend(file, {"--dry-run", "--size", "60", "--bold", QString(250, 'W')});
    const auto match = QRegularExpression("is (\\d+) columns wide.*at most 9663").match(wide.err);
    ASSERT_TRUE(match.hasMatch()) << wide.err.toStdString();
    EXPECT_GT(match.captured(1).toInt(), 9663);

    QTest::qWait(50);
    EXPECT_TRUE(sign.received().isEmpty());
    EXPECT_EQ(file.read(), encodeSettings(safeSettings())); // nothing saved
}

TEST(SendTool, EndlessInputEndsAtOnceAndAllowEmptyBlanksTheSign)
{
    TempSettings file;
    file.write(safeSettings());
    QProcess yes, endless;
    yes.setStandardOutputProcess(&endless);
    endless.setProcessEnvironment(sendEnvironment(file, "10,10"));
    QSignalSpy ended(&endless, &QProcess::finished);
    yes.start("yes", {"Open all night"});
    endless.start(QStringLiteral(LUMAWRITE_SEND_PATH), {"--dry-run", "-"});
    EXPECT_TRUE(ended.wait(10000));
    EXPECT_EQ(endless.exitCode(), 3);
    yes.kill();
    yes.waitForFinished(3000);

    // One blank block, the five behind it, parameters (6 blocks, speed code 10), restart;
    // address 20.
    const SendRun blank = runSend(file, {"--dry-run", "--allow-empty", ""});
    ASSERT_EQ(blank.exitCode, 0) << blank.err.toStdString();
    QStringList expected;
    for (const char *at : {"0200", "0280", "0300", "0380", "0400", "0480"})
        expected << "aacc008c32300010" + QString(at) + "0080" + QString(256, '0');
    expected << "aacc001032300010010000040180000a"
             << "aacc000832300020";
    EXPECT_EQ(lines(blank.out), lines(expected));
}

TEST(SendTool, FitFindingsAreWarnedBeforeSending)
{
    LoopbackSign sign;
    TempSettings file;
    file.write(safeSettings());
    const QStringList chosen = {"--port",    QString::number(sign.port()),
                                "--font",    "DejaVu Sans",
                                "--size",    "12",
                                "--no-bold", "--offset",
                                "-2",        "--verbose"};
    const SendRun warned = runSend(file, chosen + QStringList{"A\u5b57B"});
    ASSERT_EQ(warned.exitCode, 0) << warned.err.toStdString();
    EXPECT_TRUE(warned.err.startsWith("lumawrite-send: warning: This typeface cannot draw: "
                                      "\u5b57\nSending 8 frames"))
        << warned.err.toStdString();
    EXPECT_EQ(sign.waitFor(8).size(), 8);
    // What fits passes --strict without a word of warning.
    const SendRun fits = runSend(file, chosen + QStringList{"--strict", "Open"});
    EXPECT_EQ(fits.exitCode, 0);
    EXPECT_FALSE(fits.err.contains("warning")) << fits.err.toStdString();
}

TEST(SendTool, APulledAdapterEndsTheUploadWithTheFramesSent)
{
    TempSettings file;
    file.write(safeSettings());
    send::SendOptions options;
    options.verbose = true;
    // The serial adapter is pulled out during the third frame.
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(pty->ready()) << "socat is needed for this test";
    signs::LinkServices serial;
    serial.timing = {20, 20};
    const QString device = pty->a();
    serial.comPorts = [device](int) { return device; };
    options.overrides = {};
    options.overrides.lan = false;
    options.overrides.comPort = 3;
    InProcessSend line(options, file.path(), serial);
    line.onErr = [&pty](const QString &t) {
        if (t.startsWith("frame 3/"))
            pty.reset();
    };
    line.fleet.submit("Unplugged");
    ASSERT_TRUE(line.done.wait(10000));
    EXPECT_EQ(line.exitCode(), 1);
    EXPECT_TRUE(QRegularExpression("[23] of \\d+ frames had been sent").match(line.err).hasMatch())
        << line.err.toStdString();
}

TEST(SendTool, WatchSendsOncePerChangeAndSkipsLinesItCannotSend)
{
    LoopbackSign sign;
    TempSettings file;
    file.write(safeSettings());
    QTemporaryDir dir;
    const QString watched = dir.filePath("queue.txt");
    auto replace = [&](const QByteArray &content) { // as an editor saves: new file, rename
        QSaveFile save(watched);
        save.open(QIODevice::WriteOnly);
        save.write(content);
        ASSERT_TRUE(save.commit());
    };
    auto framesOf = [&](const QString &text) { return runSend(file, {"--dry-run", text}).out; };
    const QStringList n41 = framesOf("Number 41"), n44 = framesOf("Number 44");
    replace("Number 41\nsecond line is not sent\n");

    QProcess watch;
    watch.setProcessEnvironment(sendEnvironment(file, "20,10"));
    watch.start(QStringLiteral(LUMAWRITE_SEND_PATH),
                {"--port", QString::number(sign.port()), "--watch", watched});

    EXPECT_EQ(lines(sign.waitFor(n41.size())), lines(n41));
    replace("Number 44\n");
    EXPECT_EQ(lines(sign.waitFor(n41.size() + n44.size())), lines(n41 + n44));
    // The same first line again sends nothing.
    replace("Number 44\nother second line\n");
    QTest::qWait(800);
    EXPECT_EQ(sign.received().size(), n41.size() + n44.size());
    // An overlong or empty first line is skipped with the reason, and watching goes on.
    const qsizetype sent = n41.size() + n44.size();
    QString err;
    auto told = [&](const char *what) {
        return QTest::qWaitFor([&] { return (err += watch.readAllStandardError()).contains(what); },
                               10000);
    };
    replace(QByteArray(5000, 'x') + "\n");
    EXPECT_TRUE(told("is longer than 4096 bytes")) << err.toStdString();
    replace("\n");
    EXPECT_TRUE(told("empty message; nothing sent")) << err.toStdString();
    replace("Number 41\n");
    EXPECT_EQ(lines(sign.waitFor(sent + n41.size()).mid(sent)), lines(n41)) << err.toStdString();
    // Without a terminal, a line for every change that went out, for the logs.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (err += watch.readAllStandardError()).count(": sent\n") >= 3; }, 5000))
        << err.toStdString();
    EXPECT_EQ(watch.state(), QProcess::Running) << watch.readAllStandardError().toStdString();
    watch.kill();
    watch.waitForFinished(3000);
}

namespace {

// What lumawrite-send says when the settings cannot be read and nothing names the sign.
QString addressUnknown(const QString &path, const QString &reason)
{
    return QStringLiteral("cannot read the settings at %1 (%2) and no --ip or --serial given: "
                          "the sign's address is unknown\n")
        .arg(path, reason);
}

} // namespace

TEST(SendTool, UnreadableSettingsSendNothingUnlessTheSignIsNamed)
{
    LoopbackSign sign;
    TempSettings missing, broken;
    const QByteArray garbage("\"127.0.0.1\"\r\n12346\r\n");
    broken.write(garbage);

    // A dry run says what the run itself would do: nothing.
    const SendRun none = runSend(missing, {"--dry-run", "x"});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.err,
              "lumawrite-send: " + addressUnknown(missing.path(), "No such file or directory"));
    EXPECT_TRUE(none.out.isEmpty());
    // --serial or --ip names the sign; the rest are the defaults (serial address 20).
    const SendRun serial = runSend(missing, {"--dry-run", "--serial", "3", "x"});
    EXPECT_EQ(serial.out.value(serial.out.size() - 1), "aacc000832300020");
    // --save never writes over the file it could not read.
    const SendRun ip = runSend(
        broken, {"--save", "--ip", "127.0.0.1", "--port", QString::number(sign.port()), "x"});
    EXPECT_EQ(ip.exitCode, 5);
    EXPECT_TRUE(
        ip.err.contains("(it ends before line 3 (the serial address)); it is left as it was."))
        << ip.err.toStdString();
    EXPECT_EQ(hexLines(sign.received()).value(0).left(24), "aacc008c3230001002000080");
    EXPECT_EQ(broken.read(), garbage);
}

TEST(SendTool, WatchSkipsAChangeWhileTheSettingsCannotBeRead)
{
    TempSettings file;
    Settings good = safeSettings();
    good.SerialAddress = 7;
    send::SendOptions options;
    options.mode = send::SendOptions::Mode::Watch;
    options.dryRun = true;
    signs::LinkServices link;
    link.comPorts = noSuchDevice;
    InProcessSend session(options, file.path(), link);
    for (const QByteArray &settings :
         {encodeSettings(good), QByteArray("\"127.0.0.1\"\r\n"), encodeSettings(good)}) {
        file.write(settings); // broken between the first and the last change
        session.fleet.submit("Number 4" + QString::number(session.done.size()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !session.fleet.busy(); }, 5000));
    }
    EXPECT_EQ(session.exitCode(1), 2);
    const QStringList &out = session.out;
    const QString &err = session.err;
    EXPECT_EQ(out.filter(QRegularExpression("^aacc00083[0-9]3[0-9]0020$")),
              QStringList(2, "aacc000830370020"));
    EXPECT_TRUE(
        err.contains(addressUnknown(file.path(), "it ends before line 2 (the receive port)") +
                     "lumawrite-send: this change was not sent"))
        << err.toStdString();
}

TEST(SendTool, SettingsFileOfOneSignTakesTheAddressFromSave)
{
    LoopbackSign sign;
    TempSettings program; // the program's own file, which these runs leave alone
    program.write(safeSettings());
    QTemporaryDir dir;
    const QString door = dir.filePath("front-door.cfg");

    // A missing file is made by --save, with the address from --ip.
    const SendRun made =
        runSend(program, {"--settings", door, "--save", "--ip", "localhost", "--port",
                          QString::number(sign.port()), "--address", "7", "Open"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_FALSE(made.err.contains("Cannot open")) << made.err.toStdString(); // it is new
    EXPECT_EQ(hexLines(sign.received()).value(0).left(24), "aacc008c3037001002000080");
    QFile saved(door);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("\"localhost\"\r\n2000\r\n7\r\n1\r\n"));
    EXPECT_EQ(program.read(), encodeSettings(safeSettings()));
    // The defaults chose no typeface: the one stored draws letters, whatever the font set.
    Settings madeSettings;
    ASSERT_TRUE(SettingsStore(door).LoadSettings(madeSettings).isEmpty());
    const QStringList fonts = platform::fontListOrder(platform::screenFontFamilies());
    ASSERT_TRUE(madeSettings.FontIndex >= 0 && madeSettings.FontIndex < fonts.size());
    EXPECT_FALSE(platform::drawsSymbols(fonts[madeSettings.FontIndex]))
        << fonts[madeSettings.FontIndex].toStdString();
    // The file keeps a sign's address, not its UDP port: --save says so.
    const SendRun withPort = runSend(program, {"--settings", door, "--save", "--ip",
                                               QStringLiteral("127.0.0.1:%1").arg(sign.port()),
                                               "--address", "7", "Port"});
    EXPECT_EQ(withPort.exitCode, 0) << withPort.err.toStdString();
    EXPECT_TRUE(withPort.err.contains(
        QStringLiteral("keeps the sign's address 127.0.0.1; it has no place for the UDP port %1")
            .arg(sign.port())))
        << withPort.err.toStdString();
    // A symbol font is warned of, and --strict refuses it.
    const SendRun symbols =
        runSend(program, {"--settings", door, "--font", "D050000L", "--strict", "--dry-run", "x"});
    EXPECT_EQ(symbols.exitCode, 3);
    EXPECT_TRUE(symbols.err.contains("warning: D050000L draws symbols, not letters.\n"))
        << symbols.err.toStdString();

    // Each run reads the file it is given: address 07 there, 20 in the program's.
    const SendRun door7 = runSend(program, {"--settings", door, "--dry-run", "x"});
    const SendRun own20 = runSend(program, {"--dry-run", "x"});
    EXPECT_EQ(door7.out.value(door7.out.size() - 1), "aacc000830370020");
    EXPECT_EQ(own20.out.value(own20.out.size() - 1), "aacc000832300020");
}

TEST(SendWatch, SendsDuringEndlessRewritesAndFollowsAFolderMadeAgain)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("queue"), watched = folder + "/line.txt";
    auto put = [&](const QString &line) {
        QFile f(watched);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(line.toUtf8() + "\n");
    };
    ASSERT_TRUE(QDir().mkpath(folder));
    put("First");
    // Settles after 100 ms of quiet, reports at the latest 400 ms after the first change.
    send::LineWatcher watcher(watched, 100, 400);
    QStringList seen;
    QObject::connect(&watcher, &send::LineWatcher::lineChanged,
                     [&](const QString &line) { seen << line; });
    ASSERT_TRUE(watcher.start().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 1; }, 3000));

    // Rewritten every 40 ms for 1.6 s: lines go out while the writes go on (after about 440,
    // 920 and 1400 ms), and the last one once they stop.
    int written = 0;
    QTimer writer;
    writer.setInterval(40);
    QObject::connect(&writer, &QTimer::timeout,
                     [&] { put(QStringLiteral("Busy %1").arg(++written)); });
    writer.start();
    QTest::qWait(1600);
    writer.stop();
    EXPECT_GE(seen.size(), 1 + 2) << seen.join(", ").toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return seen.last() == QStringLiteral("Busy %1").arg(written); }, 3000));

    // The folder is removed, then made again with a new line in it.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QTest::qWait(200);
    ASSERT_TRUE(QDir().mkpath(folder));
    put("Second");
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.last() == "Second"; }, 3000));
}

namespace {

// Puts a file in place anew, as a release or an editor does: its folder made, whatever stood at
// the path (a FIFO, say) gone first.
bool put(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

} // namespace

TEST(SendWatch, FollowsThePathWhenItsFolderIsMovedAwayOrItsLinkSwapped)
{
    // Release folders, "current" a link to one; and a queue folder moved away and made anew.
    QTemporaryDir dir;
    struct Case {
        const char *what;
        QString watched;
        std::function<bool()> change;
    };
    const QString current = dir.filePath("current");
    const Case cases[] = {
        {"ln -sfn to the next release", current + "/line.txt",
         [&] {
             // As ln -sfn does it: a new link renamed over the old one.
             return put(dir.filePath("release-2/line.txt"), "Two\n") &&
                    QFile::link(dir.filePath("release-2"), dir.filePath("next")) &&
                    ::rename(QFile::encodeName(dir.filePath("next")).constData(),
                             QFile::encodeName(current).constData()) == 0;
         }},
        {"folder moved away, a new one made", dir.filePath("queue/line.txt"),
         [&] {
             return QDir().rename(dir.filePath("queue"), dir.filePath("queue-old")) &&
                    put(dir.filePath("queue/line.txt"), "Two\n");
         }},
    };
    ASSERT_TRUE(put(dir.filePath("release-1/line.txt"), "One\n"));
    ASSERT_TRUE(QFile::link(dir.filePath("release-1"), current));
    ASSERT_TRUE(put(dir.filePath("queue/line.txt"), "One\n"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        send::LineWatcher watcher(c.watched, 100, 400);
        QStringList seen;
        QObject::connect(&watcher, &send::LineWatcher::lineChanged,
                         [&](const QString &line) { seen << line; });
        ASSERT_TRUE(watcher.start().isEmpty());
        ASSERT_TRUE(QTest::qWaitFor([&] { return seen == QStringList{"One"}; }, 3000));
        ASSERT_TRUE(c.change());
        EXPECT_TRUE(QTest::qWaitFor([&] { return seen.value(1) == "Two"; }, 4000))
            << seen.join(", ").toStdString();
    }
}

TEST(SendWatch, AFifoInThePlaceOfTheFileHoldsNothingUp)
{
    LoopbackSign sign;
    TempSettings file;
    file.write(safeSettings());
    QTemporaryDir dir;
    const QString watched = dir.filePath("line.txt");
    const auto makeFifo = [&] {
        QFile::remove(watched);
        return ::mkfifo(QFile::encodeName(watched).constData(), 0600) == 0;
    };

    // Started on a FIFO: refused at once with the reason (exit 2), as an unreadable file is.
    ASSERT_TRUE(makeFifo());
    const SendRun fifo = runSend(file, {"--watch", watched});
    EXPECT_EQ(fifo.exitCode, 2);
    EXPECT_TRUE(fifo.err.contains("neither a regular file nor a link to one"))
        << fifo.err.toStdString();

    // A FIFO put in the file's place while watching is passed over; the next file is sent.
    ASSERT_TRUE(put(watched, "Number 41\n"));
    QProcess watch;
    watch.setProcessEnvironment(sendEnvironment(file, "20,10"));
    watch.start(QStringLiteral(LUMAWRITE_SEND_PATH),
                {"--port", QString::number(sign.port()), "--watch", watched});
    EXPECT_EQ(sign.waitFor(8, 10000).size(), 8);
    sign.take();
    ASSERT_TRUE(makeFifo());
    QTest::qWait(2600); // past the watcher's latest report after a change
    ASSERT_TRUE(put(watched, "Number 44\n"));
    EXPECT_EQ(sign.waitFor(8, 10000).size(), 8) << watch.readAllStandardError().toStdString();
    EXPECT_EQ(watch.state(), QProcess::Running);
    watch.kill();
    watch.waitForFinished(3000);
}

TEST(SendTool, GermanDesktopTranslatesMessagesButNotWhatScriptsRead)
{
    TempSettings file;
    file.write(safeSettings());
    const auto german = [](QProcess &process) {
        QProcessEnvironment env = process.processEnvironment();
        env.insert("LC_ALL", "de_DE.UTF-8");
        env.insert("LANGUAGE", "de");
        process.setProcessEnvironment(env);
    };
    const SendRun usage = runSend(file, {"--size", "99", "x"}, {}, german);
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.err, QStringLiteral("lumawrite-send: --size nimmt eine ganze Zahl von 6 bis "
                                        "60, nicht \u201E99\u201C.\n\u201Elumawrite-send --help"
                                        "\u201C zeigt die Hilfe.\n"));
    // English first in the list of languages: English, the texts' own language.
    const SendRun englishFirst = runSend(file, {"--size", "99", "x"}, {}, [](QProcess &process) {
        QProcessEnvironment env = process.processEnvironment();
        env.insert("LC_ALL", "de_DE.UTF-8");
        env.insert("LANGUAGE", "en:de");
        process.setProcessEnvironment(env);
    });
    EXPECT_TRUE(englishFirst.err.startsWith(
        QStringLiteral("lumawrite-send: --size takes a whole number from 6 to 60")))
        << englishFirst.err.toStdString();
    // French before German, and only Qt has French: Qt's own texts follow ours into German,
    // so a line never mixes two languages.
    const SendRun frenchFirst = runSend(file, {"--bogus"}, {}, [](QProcess &process) {
        QProcessEnvironment env = process.processEnvironment();
        env.insert("LC_ALL", "fr_FR.UTF-8");
        env.insert("LANGUAGE", "fr:de");
        process.setProcessEnvironment(env);
    });
    EXPECT_TRUE(frenchFirst.err.startsWith(QStringLiteral("lumawrite-send: Unbekannte Option")))
        << frenchFirst.err.toStdString();
    const SendRun help = runSend(file, {"--help"}, {}, german);
    EXPECT_TRUE(help.out.contains(QStringLiteral("Exit-Status:")));
    // The description's column depends on the longest option name.
    EXPECT_TRUE(help.out.join('\n').contains(
        QRegularExpression(QStringLiteral("  --size <N> +Gr\u00F6\u00DFe in Punkt, 6 bis 60\\."))));

    // Frames and the font list are the same bytes as on an English desktop.
    for (const QStringList &arguments :
         {QStringList{"--dry-run", "Fresh bread"}, QStringList{"--list-fonts"}}) {
        const SendRun english = runSend(file, arguments);
        const SendRun translated = runSend(file, arguments, {}, german);
        EXPECT_EQ(translated.exitCode, 0);
        EXPECT_FALSE(english.out.isEmpty());
        EXPECT_EQ(translated.out, english.out) << arguments.join(' ').toStdString();
        EXPECT_EQ(translated.err.isEmpty(), english.err.isEmpty());
    }
    const SendRun frames = runSend(file, {"--dry-run", "Fresh bread"}, {}, german);
    ASSERT_FALSE(frames.out.isEmpty());
    EXPECT_EQ(frames.out.last(), QStringLiteral("aacc000832300020")); // restart, address 20
    // The fit check's warning, meant for people, is German.
    EXPECT_TRUE(frames.err.startsWith(QStringLiteral("lumawrite-send: Warnung: ")));
    EXPECT_TRUE(frames.err.contains(QStringLiteral(" Zeilen des Textes unten abgeschnitten.\n")))
        << frames.err.toStdString();
}

// Several signs from one command.
namespace {

// The frames of a message of this many blocks at speed 10 to the sign with this serial address
// (its two ASCII digits in hex), written out by hand: the message's blocks (only their headers,
// since their columns are the rendered text), five blank blocks, the parameters (the columns of
// all the blocks) and the restart.
QStringList messageFrames(const QString &address, int blocks = 1)
{
    QStringList frames;
    for (int block = 0; block < blocks + 5; ++block) {
        const QString start = QStringLiteral("%1").arg(0x200 + block * 0x80, 4, 16, QChar('0'));
        frames.append("aacc008c" + address + "0010" + start + "0080" +
                      (block < blocks ? QString() : QString(256, '0')));
    }
    frames.append("aacc0010" + address + "001001000004" +
                  QStringLiteral("%1").arg((blocks + 5) * 64, 4, 16, QChar('0')) + "000a");
    frames.append("aacc0008" + address + "0020");
    return frames;
}

// The frames match the hand-written ones; the message's columns are compared elsewhere.
void expectFrames(const QStringList &got, const QString &address, int blocks = 1)
{
    const QStringList expected = messageFrames(address, blocks);
    ASSERT_EQ(got.size(), expected.size()) << lines(got);
    for (int i = 0; i < blocks; ++i)
        EXPECT_EQ(got[i].left(24), expected[i]);
    EXPECT_EQ(got.mid(blocks), expected.mid(blocks));
}

// A serial byte stream cut into frames by the length in their third and fourth bytes.
QStringList serialFrames(const QByteArray &stream)
{
    QStringList frames;
    for (qsizetype at = 0; at + 4 <= stream.size();) {
        const int length = (quint8(stream[at + 2]) << 8) | quint8(stream[at + 3]);
        if (length < 8 || at + length > stream.size())
            break;
        frames.append(QString::fromLatin1(stream.mid(at, length).toHex()));
        at += length;
    }
    return frames;
}

// A settings file of a sign: LAN to loopback, or serial on a COM port.
void writeSign(TempSettings &file, int serialAddress, int comPort = 0)
{
    Settings s = safeSettings();
    s.SerialAddress = qint16(serialAddress);
    s.Speed = 10;
    s.LinkType = comPort > 0 ? 2 : 1;
    s.ComPort = qint16(comPort > 0 ? comPort : 1);
    file.write(s);
}

// runSend's preparation for these pauses and COM devices ("N=DEVICE,...").
std::function<void(QProcess &)> pacedWith(const QString &pacing, const QString &devices = {})
{
    return [pacing, devices](QProcess &process) {
        QProcessEnvironment env = process.processEnvironment();
        env.insert("LUMAWRITE_SEND_PACING_MS", pacing);
        if (!devices.isEmpty())
            env.insert("LUMAWRITE_SEND_SERIAL_DEVICE", devices);
        process.setProcessEnvironment(env);
    };
}

QString at(const LoopbackSign &sign)
{
    return QStringLiteral("127.0.0.1:%1").arg(sign.port());
}

} // namespace

TEST(SendOptions, SeveralSignsTheirPortsAndTheCombinationsRefused)
{
    const QProcessEnvironment none;
    auto parse = [&](const QString &line) {
        return send::parseArguments(
            QStringList{"lumawrite-send"} + line.split(' ', Qt::SkipEmptyParts), none);
    };
    // HOST:PORT, [IPv6]:PORT, a bare IPv6 address (no port), a name; --port for the rest.
    const auto four = parse("--port 4000 --ip 127.0.0.1:5000 --ip [::1]:5001 --ip ::1 "
                            "--ip sign.example x");
    ASSERT_TRUE(four.error.isEmpty()) << four.error.toStdString();
    const QList<send::SignTarget> signs = send::signsFor(four.options);
    ASSERT_EQ(signs.size(), 4);
    const std::pair<const char *, int> expected[] = {
        {"127.0.0.1", 5000}, {"::1", 5001}, {"::1", 4000}, {"sign.example", 4000}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(signs[i].overrides.host, QString(expected[i].first)) << i;
        EXPECT_EQ(signs[i].port, expected[i].second) << i;
    }
    // One --ip with a port is one sign, as before.
    const auto one = parse("--ip [::1]:7000 x");
    EXPECT_EQ(one.options.overrides.host, QString("::1"));
    EXPECT_EQ(one.options.signPort, 7000);
    EXPECT_EQ(send::signsFor(one.options).size(), 1);
    // Several settings files: one sign each, with the one --ip (if any) for all.
    const auto files = parse("--save --settings a.cfg --settings b.cfg --ip 127.0.0.1:9 x");
    ASSERT_TRUE(files.error.isEmpty()) << files.error.toStdString();
    const QList<send::SignTarget> fromFiles = send::signsFor(files.options);
    ASSERT_EQ(fromFiles.size(), 2);
    EXPECT_EQ(fromFiles[1].settingsPath, QString("b.cfg"));
    EXPECT_EQ(fromFiles[1].overrides.host, QString("127.0.0.1"));
    EXPECT_EQ(fromFiles[1].port, 9);

    const char *bad[] = {"--ip 127.0.0.1:0 x",
                         "--ip 127.0.0.1:65536 x",
                         "--ip host:port x",
                         "--ip [::1 x",
                         "--ip [::1]x x",
                         "--ip :80 x",
                         "--settings a --settings b --ip h1 --ip h2 x",
                         "--save --ip h1 --ip h2 x",
                         "--save --settings a --ip h1 --ip h2 x",
                         "--image p.png --ip h1 --ip h2 x"};
    for (const char *line : bad) {
        const auto parsed = parse(line);
        EXPECT_FALSE(parsed.error.isEmpty()) << line;
    }
    EXPECT_TRUE(parse("--settings a --settings b --ip h1 --ip h2 x").error.contains("--settings"));
    EXPECT_TRUE(parse("--save --ip h1 --ip h2 x").error.contains("--save"));

    // The serial hook: one device for every COM number, or one for each named.
    QProcessEnvironment env;
    env.insert("LUMAWRITE_SEND_SERIAL_DEVICE", "3=/tmp/x/a,12=/tmp/x/b");
    const auto mapped = send::parseArguments({"lumawrite-send", "x"}, env);
    ASSERT_TRUE(mapped.error.isEmpty()) << mapped.error.toStdString();
    EXPECT_EQ(mapped.options.serialDevices.value(3), QString("/tmp/x/a"));
    EXPECT_EQ(mapped.options.serialDevices.value(12), QString("/tmp/x/b"));
    EXPECT_EQ(mapped.options.serialDevices.size(), 2);
    for (const char *wrong : {"3=", "x=/tmp/a", "0=/tmp/a", "3=/tmp/a,,4=/tmp/b"}) {
        env.insert("LUMAWRITE_SEND_SERIAL_DEVICE", wrong);
        EXPECT_FALSE(send::parseArguments({"lumawrite-send", "x"}, env).error.isEmpty()) << wrong;
    }
}

TEST(SendSigns, ThreeSignsGetTheSameCompleteFramesAtOnce)
{
    // Three --ip with one settings file: serial address 17 for all.
    LoopbackSign a, b, c;
    TempSettings file;
    writeSign(file, 17);
    QElapsedTimer clock;
    clock.start();
    const SendRun run =
        runSend(file, {"--ip", at(a), "--ip", at(b), "--ip", at(c), "Hi"}, {}, pacedWith("150,10"));
    const qint64 took = clock.elapsed();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList first = hexLines(a.waitFor(8, 3000));
    for (LoopbackSign *sign : {&a, &b, &c}) {
        const QStringList got = hexLines(sign->waitFor(8, 3000));
        expectFrames(got, "3137");
        EXPECT_EQ(got.value(0), first.value(0));
        EXPECT_TRUE(run.err.contains(at(*sign) + " (address 17): sent\n")) << run.err.toStdString();
    }
    // One upload is 8 pauses of 150 ms; one sign after another would take three times that.
    EXPECT_LT(took, 2400);

    // Three settings files, three serial addresses, one loopback sign: each address gets its
    // whole message.
    LoopbackSign shared;
    TempSettings s3, s42;
    writeSign(s3, 3);
    writeSign(s42, 42);
    const SendRun files =
        runSend(file, {"--port", QString::number(shared.port()), "--settings", s3.path(),
                       "--settings", file.path(), "--settings", s42.path(), "Hi"});
    EXPECT_EQ(files.exitCode, 0) << files.err.toStdString();
    const QStringList all = hexLines(shared.waitFor(24, 3000));
    for (const QString address : {"3033", "3137", "3432"}) {
        const QStringList mine = all.filter(QRegularExpression("^aacc00..(" + address + ")"));
        expectFrames(mine, address);
        EXPECT_EQ(mine.value(0).mid(24), first.value(0).mid(24));
    }
    EXPECT_EQ(all.size(), 24);
}

TEST(SendSigns, LanSignsShareOneSocketSoTheirNumberIsNotBoundByOpenFiles)
{
    // 120 signs from a sender that may hold only 64 files open: a socket for each would run
    // out of them.
    constexpr int Signs = 120;
    std::vector<std::unique_ptr<LoopbackSign>> signs;
    QStringList arguments;
    for (int i = 0; i < Signs; ++i) {
        signs.push_back(std::make_unique<LoopbackSign>());
        arguments << "--ip" << at(*signs.back());
    }
    TempSettings file;
    writeSign(file, 17);
    const SendRun run = runSend(file, arguments << "Hi", {}, [](QProcess &process) {
        process.setChildProcessModifier([] {
            const rlimit files{64, 64};
            ::setrlimit(RLIMIT_NOFILE, &files);
        });
    });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count("(address 17): sent\n"), Signs) << run.err.toStdString();
    for (const auto &sign : signs)
        expectFrames(hexLines(sign->waitFor(8, 3000)), "3137");
}

TEST(SendSigns, AnAbsentSignNeitherDelaysNorFailsTheOthers)
{
    LoopbackSign sign;
    TempSettings lan1, lan2, serial;
    writeSign(lan1, 1);
    writeSign(lan2, 2);
    writeSign(serial, 3, 9); // COM 9 has no device
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    const SendRun run = runSend(lan1,
                                {"--port", QString::number(sign.port()), "--settings", lan1.path(),
                                 "--settings", serial.path(), "--settings", lan2.path(), "Hi"},
                                {}, pacedWith("150,10", "9=" + dir.filePath("no-such-tty")));
    EXPECT_LT(clock.elapsed(), 2400);
    EXPECT_EQ(run.exitCode, 1);
    const QStringList all = hexLines(sign.waitFor(16, 3000));
    expectFrames(all.filter(QRegularExpression("^aacc00..3031")), "3031");
    expectFrames(all.filter(QRegularExpression("^aacc00..3032")), "3032");
    EXPECT_TRUE(QRegularExpression("^lumawrite-send: COM 9 \\(address 3\\): failed after 0 of 8 "
                                   "frames: .*no-such-tty",
                                   QRegularExpression::MultilineOption)
                    .match(run.err)
                    .hasMatch())
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("127.0.0.1:%1 (address 2): sent").arg(sign.port())))
        << run.err.toStdString();
}

TEST(SendSigns, AnUnknownHostFailsOnlyItsOwnSignAndSaysWhy)
{
    LoopbackSign a, b;
    TempSettings file;
    writeSign(file, 20);
    // The name is never looked up for real: the resolver says it does not exist.
    signs::LinkServices link;
    link.timing = {150, 5};
    link.comPorts = noSuchDevice;
    link.hostResolver = [](const QString &, QObject *, auto done) {
        done(QHostAddress(), QStringLiteral("Host not found"));
    };
    struct Case {
        QList<std::pair<QString, quint16>> signs;
        int exitCode;
        QStringList said;
        QList<LoopbackSign *> sent;
    };
    const QString unknown("The sign address \"%1\" could not be found: Host not found");
    const Case cases[] = {
        // One sign says all of it, and that nothing went.
        {{{"sign.shop.example", 12346}},
         4,
         {"lumawrite-send: " + unknown.arg("sign.shop.example") + "\nNothing was sent.\n"},
         {}},
        // Of three signs, the one whose host is unknown fails on its own line; the others are
        // sent to at once.
        {{{"127.0.0.1", a.port()}, {"nosuch.invalid", 12346}, {"127.0.0.1", b.port()}},
         1,
         {"lumawrite-send: nosuch.invalid (address 20): failed after 0 of 8 frames: " +
              unknown.arg("nosuch.invalid") + "\n",
          QStringLiteral("127.0.0.1:%1 (address 20): sent\n").arg(a.port()),
          QStringLiteral("127.0.0.1:%1 (address 20): sent\n").arg(b.port())},
         {&a, &b}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.signs.size());
        QList<send::SignTarget> signs;
        for (const auto &[host, port] : c.signs) {
            signs.append({file.path(), {}, port});
            signs.last().overrides.host = host;
            signs.last().overrides.font = QStringLiteral("DejaVu Sans Mono");
        }
        InProcessSend run({}, signs, link);
        QElapsedTimer clock;
        clock.start();
        run.fleet.submit("Hi");
        ASSERT_TRUE(run.done.wait(5000));
        EXPECT_LT(clock.elapsed(), 1800); // one upload: 8 pauses of 150 ms
        EXPECT_EQ(run.exitCode(), c.exitCode);
        for (const QString &line : c.said)
            EXPECT_TRUE(run.err.contains(line)) << run.err.toStdString();
        for (LoopbackSign *sign : c.sent)
            expectFrames(hexLines(sign->waitFor(8, 1000)), "3230");
    }
}

TEST(SendSigns, ANewerTextWaitsForTheUploadUnderWayAndTheNewestWinsAtEachSign)
{
    // One sign, then two: while "Hi" (one block) goes out, a text of two blocks comes and then
    // one of four, which replaces it before its turn.
    LoopbackSign a, b;
    TempSettings file;
    writeSign(file, 20);
    signs::LinkServices link;
    link.timing = {60, 5};
    link.comPorts = noSuchDevice;
    for (const QList<LoopbackSign *> &loopback : {QList<LoopbackSign *>{&a}, {&a, &b}}) {
        SCOPED_TRACE(loopback.size());
        QList<send::SignTarget> targets;
        for (LoopbackSign *sign : loopback) {
            targets.append({file.path(), {}, sign->port()});
            targets.last().overrides.font = QStringLiteral("DejaVu Sans Mono");
            targets.last().overrides.size = 12;
            targets.last().overrides.host = QStringLiteral("127.0.0.1");
        }
        signs::SignFleet fleet({}, targets, knownFonts(), link);
        QSignalSpy done(&fleet, &signs::SignFleet::messageDone);
        fleet.submit("Hi");
        QTest::qWait(100);
        EXPECT_TRUE(fleet.busy());
        fleet.submit("Number 42");
        fleet.submit("Now serving number 43");
        ASSERT_TRUE(done.wait(5000));
        EXPECT_EQ(done.size(), 1);
        EXPECT_TRUE(done.first().first().toBool());
        for (LoopbackSign *sign : loopback) {
            const QStringList got = hexLines(sign->waitFor(19, 1000));
            ASSERT_EQ(got.size(), 19) << lines(got);
            expectFrames(got.mid(0, 8), "3230");
            expectFrames(got.mid(8), "3230", 4);
            sign->take();
        }
        EXPECT_FALSE(fleet.busy());
    }
}

TEST(SendSigns, OnATerminalEachSignHasALineDrawnOverAFewTimesASecond)
{
    LoopbackSign a, b, c;
    TempSettings file;
    writeSign(file, 20);
    QList<send::SignTarget> signs;
    for (LoopbackSign *sign : {&a, &b, &c}) {
        signs.append({file.path(), {}, sign->port()});
        signs.last().overrides.host = QStringLiteral("127.0.0.1");
    }
    signs::LinkServices link;
    link.timing = {100, 5};
    link.comPorts = noSuchDevice;
    InProcessSend run({}, signs, link, true);
    const QString &err = run.err;
    run.fleet.submit("Hi");
    ASSERT_TRUE(run.done.wait(5000));
    // 8 frames to each of 3 signs in 0.8 s: drawn over every 250 ms at most, never per frame.
    const int drawings = int(err.count("\x1b[3A"));
    EXPECT_GE(drawings, 1) << err.toStdString();
    EXPECT_LE(drawings, 5) << err.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\r\x1b\\[K127\\.0\\.0\\.1:%1 \\(address 20\\): "
                                                  "[1-7]/8 frames, 0:0[01] left\n")
                                       .arg(b.port()))
                    .match(err)
                    .hasMatch())
        << err.toStdString();
    // The last drawing holds the summary lines.
    EXPECT_TRUE(
        err.endsWith(QStringLiteral("\x1b[3A"
                                    "\r\x1b[Klumawrite-send: 127.0.0.1:%1 (address 20): sent\n"
                                    "\r\x1b[Klumawrite-send: 127.0.0.1:%2 (address 20): sent\n"
                                    "\r\x1b[Klumawrite-send: 127.0.0.1:%3 (address 20): sent\n")
                         .arg(a.port())
                         .arg(b.port())
                         .arg(c.port())))
        << err.toStdString();
}

namespace {

// What one serial line carried for two signs of 8 frames each: all of the first's frames (its
// address in hex digits), then all of the second's, never mixed.
void expectTakingTurns(const QByteArray &line, const char *first, const char *second)
{
    const QStringList frames = serialFrames(line);
    ASSERT_EQ(frames.size(), 16) << lines(frames);
    expectFrames(frames.mid(0, 8), first);
    expectFrames(frames.mid(8), second);
}

} // namespace

TEST(SendSigns, SignsOnOneLineTakeTurnsAndADyingLineFailsOnlyItsSigns)
{
    PtyPair line5, line6;
    ASSERT_TRUE(line5.ready() && line6.ready()) << "socat is needed for this test";
    QSerialPort peer5(line5.b()), peer6(line6.b());
    ASSERT_TRUE(peer5.open(QIODevice::ReadWrite));
    ASSERT_TRUE(peer6.open(QIODevice::ReadWrite));
    QByteArray on5, on6;
    QObject::connect(&peer5, &QSerialPort::readyRead, [&] { on5 += peer5.readAll(); });
    QObject::connect(&peer6, &QSerialPort::readyRead, [&] {
        on6 += peer6.readAll();
        if (on6.size() >= 2 * 140) // the adapter of COM 6 is pulled during the third frame
            line6.vanish();
    });
    LoopbackSign sign;
    TempSettings a7, a8, b9, b10, lan;
    writeSign(a7, 7, 5);
    writeSign(a8, 8, 5);
    writeSign(b9, 9, 6);
    writeSign(b10, 10, 6);
    writeSign(lan, 11);
    const SendRun run = runSend(lan,
                                {"--port", QString::number(sign.port()), "--settings", a7.path(),
                                 "--settings", b9.path(), "--settings", a8.path(), "--settings",
                                 b10.path(), "--settings", lan.path(), "Hi"},
                                {}, pacedWith("40,20", "5=" + line5.a() + ",6=" + line6.a()));
    EXPECT_EQ(run.exitCode, 1);
    QTest::qWait(100);
    on5 += peer5.readAll();

    // COM 5: all of address 7's frames, then all of address 8's.
    expectTakingTurns(on5, "3037", "3038");
    EXPECT_TRUE(run.err.contains("COM 5 (address 7): sent\n")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("COM 5 (address 8): sent\n")) << run.err.toStdString();
    // COM 6 died under address 9; address 10, behind it, found no port. The LAN sign is whole.
    EXPECT_TRUE(QRegularExpression("COM 6 \\(address 9\\): failed after [23] of 8 frames: ")
                    .match(run.err)
                    .hasMatch())
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("COM 6 (address 10): failed after 0 of 8 frames: "))
        << run.err.toStdString();
    expectFrames(hexLines(sign.waitFor(8, 3000)), "3131");
}

TEST(SendSigns, TwoComNumbersForOneAdapterStillTakeTurns)
{
    // COM 3 names the adapter by its device, COM 4 by a link to it, as ports.conf may: one wire.
    PtyPair line;
    ASSERT_TRUE(line.ready()) << "socat is needed for this test";
    QTemporaryDir folder;
    const QString byId = folder.filePath(QStringLiteral("usb-adapter-port0"));
    ASSERT_TRUE(QFile::link(line.a(), byId));
    QSerialPort peer(line.b());
    ASSERT_TRUE(peer.open(QIODevice::ReadWrite));
    QByteArray received;
    QObject::connect(&peer, &QSerialPort::readyRead, [&] { received += peer.readAll(); });
    TempSettings a7, a8;
    writeSign(a7, 7, 3);
    writeSign(a8, 8, 4);
    const SendRun run = runSend(a7, {"--settings", a7.path(), "--settings", a8.path(), "Hi"}, {},
                                pacedWith("40,20", "3=" + line.a() + ",4=" + byId));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QTest::qWait(100);
    received += peer.readAll();
    expectTakingTurns(received, "3037", "3038");
}

TEST(SendSigns, SaveKeepsWhatAnotherProgramSavedDuringTheUpload)
{
    // The main window saves address 07 and receive port 4321 while the upload runs; the upload
    // then saves only its message, its choices and what it was given.
    struct Case {
        const char *what;
        std::optional<int> address; // --address
        int savedAddress;
    };
    for (const Case &c : {Case{"nothing given", {}, 7}, Case{"--address 9", 9, 9}}) {
        SCOPED_TRACE(c.what);
        LoopbackSign sign;
        TempSettings file;
        writeSign(file, 20);
        signs::LinkServices link;
        link.timing = {40, 5};
        link.comPorts = noSuchDevice;
        signs::FleetOptions options;
        options.save = true;
        signs::SignTarget target{file.path(), {}, sign.port()};
        target.overrides.address = c.address;
        target.overrides.size = 14;
        signs::SignFleet fleet(options, {target}, knownFonts(), link);
        QSignalSpy done(&fleet, &signs::SignFleet::messageDone);
        QObject::connect(&fleet, &signs::SignFleet::frameProgress, [&](int, int framesDone) {
            if (framesDone != 2)
                return;
            SettingsStore window(file.path());
            Settings s;
            ASSERT_TRUE(window.LoadSettings(s).isEmpty());
            s.SerialAddress = 7;
            s.LocalPort = 4321;
            ASSERT_TRUE(window.SaveFields(s, SettingsField::MainWindow).isEmpty());
        });
        fleet.submit("second");
        ASSERT_TRUE(done.wait(5000));
        EXPECT_TRUE(done.first().first().toBool());
        Settings saved;
        ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
        EXPECT_EQ(saved.MessageText, QStringLiteral("second"));
        EXPECT_EQ(saved.FontSize, 14);
        EXPECT_EQ(saved.SerialAddress, c.savedAddress);
        EXPECT_EQ(saved.LocalPort, 4321);
    }
}

TEST(SendSigns, AMessagesOwnChoicesAreNotSavedAndAnUnsavedUploadIsStillSent)
{
    LoopbackSign sign;
    TempSettings file;
    writeSign(file, 20); // 19 points, bold
    signs::LinkServices link;
    link.timing = {5, 5};
    link.comPorts = noSuchDevice;
    signs::FleetOptions options;
    options.save = true;
    signs::SignTarget target{file.path(), {}, sign.port()};
    target.overrides.size = 14; // the run's own: saved
    signs::SignFleet fleet(options, {target}, knownFonts(), link);
    QSignalSpy done(&fleet, &signs::SignFleet::messageDone);

    // The message brings its size and no bold: they are for it alone.
    signs::Overrides own;
    own.size = 30;
    own.bold = false;
    fleet.submit("Hi", own);
    ASSERT_TRUE(done.wait(5000));
    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.MessageText, QStringLiteral("Hi"));
    EXPECT_EQ(saved.FontSize, 14);
    EXPECT_EQ(saved.Bold, 1);

    // Sent, but no room to save: the status says sent, and why it was not saved.
    {
        FileSizeLimit full(8);
        fleet.submit("Again");
        ASSERT_TRUE(done.wait(5000));
    }
    const signs::SignFleet::Status status = fleet.status();
    EXPECT_EQ(status.state, signs::SignFleet::Status::State::Sent);
    EXPECT_TRUE(status.error.contains(": sent; the settings were not saved: "))
        << status.error.toStdString();

    // Blanks are refused (at once), unless this message may blank the sign.
    const qsizetype before = done.size();
    fleet.submit("   ");
    ASSERT_EQ(done.size(), before + 1);
    EXPECT_EQ(fleet.status().state, signs::SignFleet::Status::State::Refused);
    fleet.submit("   ", {}, true);
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(fleet.status().state, signs::SignFleet::Status::State::Sent);
}

TEST(SendSigns, OneSignNamedTwiceGetsOneUploadAtATime)
{
    LoopbackSign sign;
    TempSettings file, same;
    writeSign(file, 20);
    Settings bold = safeSettings();
    bold.Bold = 1;
    same.write(bold);
    // --ip H:P twice is one sign: sent to once, said once.
    const SendRun twice = runSend(file, {"--ip", at(sign), "--ip", at(sign), "Hi"});
    EXPECT_EQ(twice.exitCode, 0) << twice.err.toStdString();
    EXPECT_EQ(twice.err.count(": sent\n"), 1) << twice.err.toStdString();
    QTest::qWait(100);
    expectFrames(hexLines(sign.received()), "3230");

    // Two settings files that name the same host, port and address, with other choices: each
    // upload is whole, one after the other, never frames of both mixed.
    LoopbackSign shared;
    const SendRun files = runSend(file, {"--port", QString::number(shared.port()), "--settings",
                                         file.path(), "--settings", same.path(), "Hi"});
    EXPECT_EQ(files.exitCode, 0) << files.err.toStdString();
    const QStringList got = hexLines(shared.waitFor(16, 3000));
    ASSERT_EQ(got.size(), 16) << lines(got);
    expectFrames(got.mid(0, 8), "3230");
    expectFrames(got.mid(8), "3230");
}

TEST(SendSigns, DryRunNamesEachSign)
{
    TempSettings a, b;
    writeSign(a, 4);
    writeSign(b, 5, 3);
    const SendRun run =
        runSend(a, {"--dry-run", "--settings", a.path(), "--settings", b.path(), "Hi"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.out.size(), 18);
    EXPECT_EQ(run.out[0], "# 127.0.0.1 (address 4)");
    EXPECT_EQ(run.out[9], "# COM 3 (address 5)");
    expectFrames(run.out.mid(1, 8), "3034");
    expectFrames(run.out.mid(10), "3035");
}

TEST(SendTool, PortsConfBesideEachSettingsFileMapsItsComPortsAndListPortsShowsThem)
{
    PtyPair first, second;
    ASSERT_TRUE(first.ready() && second.ready()) << "socat is needed for this test";
    TempSettings file; // the program's own settings file, and a ports.conf beside it
    writeFile(portsConfBeside(file.path()), "COM 10 = " + second.a().toUtf8() + "\n");
    QTemporaryDir shop, hall;
    const QString shopSettings = shop.filePath("shop.cfg"),
                  hallSettings = hall.filePath("hall.cfg");
    Settings s = loopbackSettings();
    s.LinkType = 2;
    s.ComPort = 7;
    writeFile(shopSettings, encodeSettings(s));
    writeFile(hallSettings, encodeSettings(s));
    const QString shopConf = portsConfBeside(shopSettings);
    writeFile(shopConf, QStringLiteral("COM 7 = %1  # the shop's adapter\nCOM 8 = %2\nCOM 9 /x\n")
                            .arg(first.a(), shop.filePath("unplugged"))
                            .toUtf8());
    writeFile(portsConfBeside(hallSettings), "com7=" + second.a().toUtf8() + "\n");
    const QString unreadable =
        shopConf + ", line 3: there is no \"=\" (write COM n = /dev/...); the line is ignored\n";

    // Only the ports.conf beside --settings FILE counts; a mapped device that is not there now
    // is left out, and the unreadable line is told on standard error.
    SendRun run = runSend(file, {"--settings", shopSettings, "--list-ports"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("COM 7\t%1\t\tCOM 7 = %1").arg(first.a())))
        << run.out.join('\n').toStdString();
    for (const QString &line : run.out) {
        EXPECT_FALSE(line.startsWith("COM 8\t") || line.startsWith("COM 10\t"))
            << line.toStdString();
        EXPECT_EQ(line.count('\t'), 3) << line.toStdString();
    }
    EXPECT_EQ(run.err, unreadable);
    run = runSend(file, {"--list-ports"});
    EXPECT_TRUE(run.out.contains(QStringLiteral("COM 10\t%1\t\tCOM 10 = %1").arg(second.a())))
        << run.out.join('\n').toStdString();
    EXPECT_EQ(
        runSend(file, {"--settings", shopSettings, "--settings", hallSettings, "--list-ports"})
            .exitCode,
        2);

    // Two signs on COM 7, each through the ports.conf beside its own settings file.
    QSerialPort shopPeer(first.b()), hallPeer(second.b());
    ASSERT_TRUE(shopPeer.open(QIODevice::ReadWrite) && hallPeer.open(QIODevice::ReadWrite));
    QByteArray shopGot, hallGot;
    QObject::connect(&shopPeer, &QSerialPort::readyRead, [&] { shopGot += shopPeer.readAll(); });
    QObject::connect(&hallPeer, &QSerialPort::readyRead, [&] { hallGot += hallPeer.readAll(); });
    run = runSend(file, {"--settings", shopSettings, "--settings", hallSettings, "Hi"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count(unreadable), 1) << run.err.toStdString(); // told once
    // Each line ends with the restart frame to sign 20.
    const QByteArray restart = bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20});
    EXPECT_TRUE(QTest::qWaitFor([&] { return shopGot.endsWith(restart); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return hallGot.endsWith(restart); }, 3000));
}

TEST(SendPorts, ListingNamesTheAdapterAndPinsItByIdWithoutOpeningIt)
{
    // A stand-in for /dev, /dev/serial/by-id and /sys: a USB adapter (product and serial number
    // on its USB device folder) behind ttyUSB7, and a port the system knows nothing of.
    QTemporaryDir root;
    const QDir r(root.path());
    for (const char *folder :
         {"dev", "by-id", "sys/devices/usb1/1-2/1-2:1.0/ttyUSB7", "sys/class/tty"})
        ASSERT_TRUE(r.mkpath(folder));
    // Device nodes of their own (the kind of /dev/null, never opened); only root may make them.
    for (const char *node : {"dev/ttyUSB7", "dev/ttyS4", "dev/tty\tS\r5"}) {
        if (::mknod(QFile::encodeName(r.filePath(node)).constData(), S_IFCHR | 0600,
                    makedev(1, 3)) != 0)
            GTEST_SKIP() << "making a device node needs root: " << std::strerror(errno);
    }
    writeFile(r.filePath("dev/ttyS9"), ""); // a regular file is no port
    ASSERT_TRUE(r.mkpath("dev/ttyS10"));    // nor is a folder
    writeFile(r.filePath("sys/devices/usb1/1-2/idVendor"), "0403\n");
    writeFile(r.filePath("sys/devices/usb1/1-2/product"), "FT232R USB UART\n");
    writeFile(r.filePath("sys/devices/usb1/1-2/serial"), "A12345\n");
    const QString byId = r.filePath("by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0");
    ASSERT_TRUE(QFile::link(r.filePath("dev/ttyUSB7"), byId));
    ASSERT_TRUE(r.mkpath("sys/class/tty/ttyUSB7"));
    ASSERT_TRUE(QFile::link(r.filePath("sys/devices/usb1/1-2/1-2:1.0/ttyUSB7"),
                            r.filePath("sys/class/tty/ttyUSB7/device")));
    const platform::SerialDevices devices(r.filePath("by-id"), r.filePath("sys/class/tty"));

    const platform::SerialDevice usb = devices.find(byId);
    EXPECT_TRUE(usb.present);
    EXPECT_EQ(usb.description, QStringLiteral("FT232R USB UART"));
    EXPECT_EQ(usb.serialNumber, QStringLiteral("A12345"));
    EXPECT_EQ(usb.byId, byId);
    EXPECT_FALSE(devices.find(r.filePath("dev/ttyUSB8")).present);

    // COM 2 by its by-id link, COM 5 by the plain path, COM 6 not there, COM 7 and 8 not
    // devices; COM 9's tab and CR are escaped, so that each line keeps its four fields.
    const QMap<int, QString> map{{2, byId},
                                 {5, r.filePath("dev/ttyS4")},
                                 {6, r.filePath("dev/ttyUSB8")},
                                 {7, r.filePath("dev/ttyS9")},
                                 {8, r.filePath("dev/ttyS10")},
                                 {9, r.filePath("dev/tty\tS\r5")}};
    const QString listing =
        send::portListing(platform::mappedComPorts(map, test::noSuchDevice), devices);
    EXPECT_EQ(listing, QStringLiteral("COM 2\t%1\tFT232R USB UART\tCOM 2 = %1\n"
                                      "COM 5\t%2\t\tCOM 5 = %2\n"
                                      "COM 9\t%3\t\tCOM 9 = %3\n")
                           .arg(byId, r.filePath("dev/ttyS4"), r.filePath("dev/tty\\x09S\\x0d5")));
    // The plain path of the adapter is pinned by its link.
    EXPECT_EQ(send::portListing(
                  platform::mappedComPorts({{3, r.filePath("dev/ttyUSB7")}}, test::noSuchDevice),
                  devices),
              QStringLiteral("COM 3\t%1\tFT232R USB UART\tCOM 3 = %2\n")
                  .arg(r.filePath("dev/ttyUSB7"), byId));
}

TEST(SendTool, SavedMessagesAreKeptListedAndSentWithTheirOwnChoices)
{
    LoopbackSign sign;
    TempSettings file;
    writeSign(file, 20);
    const QString port = QString::number(sign.port());
    const QString messages = QFileInfo(file.path()).dir().filePath("messages.json");
    const QString lunch = "Closed\nfor lunch";

    // Kept with --dry-run: printed, not sent. The typeface by its name in the font list, and of
    // the choices only those given for the message: not the sign's address.
    const SendRun kept = runSend(file, {"--dry-run", "--keep", "Lunch", "--font", "dejavu serif",
                                        "--size", "14", "--bold", "--address", "7", lunch});
    ASSERT_EQ(kept.exitCode, 0) << kept.err.toStdString();
    EXPECT_FALSE(kept.out.isEmpty());
    ASSERT_EQ(
        runSend(file, {"--dry-run", "--keep", "Open", "--offset", "-2", "Open\tnow"}).exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(readFile(messages)), QJsonDocument::fromJson(R"({"messages": [
                  {"name": "Lunch", "text": "Closed\nfor lunch", "font": "DejaVu Serif",
                   "size": 14, "bold": true},
                  {"name": "Open", "text": "Open\tnow", "offset": -2}]})"));
    QTest::qWait(50);
    EXPECT_TRUE(sign.received().isEmpty());
    const SendRun listed = runSend(file, {"--list-saved"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, QStringList({"Lunch\tClosed\\x0afor lunch", "Open\tOpen\\x09now"}));

    // Sent by name: the frames of the same message typed with the same choices; an option given
    // wins over the saved one.
    const QStringList typed = {"--dry-run", "--font", "DejaVu Serif", "--size", "14", "--bold"};
    const SendRun saved = runSend(file, {"--dry-run", "--saved", "Lunch"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_EQ(lines(saved.out), lines(runSend(file, typed + QStringList{lunch}).out));
    expectFrames(saved.out, "3230", int(saved.out.size()) - 7);
    const SendRun larger = runSend(file, {"--dry-run", "--saved", "Lunch", "--size", "20"});
    EXPECT_EQ(lines(larger.out), lines(runSend(file, {"--dry-run", "--font", "DejaVu Serif",
                                                      "--size", "20", "--bold", lunch})
                                           .out));
    EXPECT_NE(lines(larger.out), lines(saved.out));
    // And to the sign.
    const SendRun sent = runSend(file, {"--port", port, "--saved", "Lunch"});
    ASSERT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_EQ(lines(sign.waitFor(int(saved.out.size()))), lines(saved.out));
    sign.take();

    // Refused as a typed message is, nothing sent and nothing kept: a name no message has, a
    // typeface that is gone, a message that no longer fits.
    signs::SavedMessages store(messages);
    signs::SavedMessage gone{"Gone", "Old face", {}, {}}, wide{"Wide", QString(250, 'W'), {}, {}};
    gone.choices.font = "No Such Face";
    wide.choices.size = 60;
    wide.choices.bold = true;
    ASSERT_TRUE(store.save(gone).ok());
    ASSERT_TRUE(store.save(wide).ok());
    const std::tuple<QStringList, int, QString> refused[] = {
        {{"--saved", "Nope"},
         2,
         "lumawrite-send: no message is saved as \"Nope\"\n\"lumawrite-send --list-saved\" lists "
         "the saved messages.\n"},
        {{"--saved", "Gone"}, 2, "Unknown font \"No Such Face\""},
        {{"--saved", "Wide"}, 3, "columns wide"},
        {{"--keep", "Refused", "--size", "60", "--bold", QString(250, 'W')}, 3, "columns wide"},
    };
    for (const auto &[arguments, exitCode, said] : refused) {
        const SendRun run = runSend(file, QStringList{"--port", port} + arguments);
        EXPECT_EQ(run.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(said)) << run.err.toStdString();
    }
    EXPECT_EQ(runSend(file, {"--list-saved"}).out.size(), 4);
    QTest::qWait(50);
    EXPECT_TRUE(sign.received().isEmpty());

    // A file of saved messages that cannot be read is said; a message that cannot be kept is sent
    // all the same, and says so.
    writeFile(messages, "{\"messages\": [");
    for (const QStringList &arguments : {QStringList{"--list-saved"}, {"--saved", "Lunch"}}) {
        const SendRun run = runSend(file, arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(messages + " could not be read")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    QFile::remove(messages);
    ASSERT_TRUE(QDir().mkdir(messages));
    const SendRun notKept = runSend(file, {"--port", port, "--keep", "Later", "Hi"});
    EXPECT_EQ(notKept.exitCode, 5);
    EXPECT_TRUE(notKept.err.contains("the message was not kept as \"Later\": " + messages))
        << notKept.err.toStdString();
    expectFrames(hexLines(sign.waitFor(8)), "3230");
}

TEST(SendTool, HistoryKeepsEveryUploadSentStoppedOrFailedNewestFirst)
{
    LoopbackSign sign;
    TempSettings file;
    writeSign(file, 17);
    QTemporaryDir dir;
    const QString port = QString::number(sign.port());
    EXPECT_EQ(runSend(file, {"--history"}).out, QStringList());

    ASSERT_EQ(runSend(file, {"--port", port, "Hi"}).exitCode, 0);
    // COM 9 leads to no device: failed before the first frame.
    ASSERT_EQ(runSend(file, {"--serial", "9", "Ho"}, {},
                      pacedWith("10,10", "9=" + dir.filePath("no-such-tty")))
                  .exitCode,
              4);
    // A dry run and a refused message went to no sign.
    ASSERT_EQ(runSend(file, {"--port", port, "--dry-run", "Ha"}).exitCode, 0);
    ASSERT_EQ(runSend(file, {"--port", port, ""}).exitCode, 3);
    // SIGTERM stops the upload between two frames.
    sign.take();
    QProcess stopping;
    stopping.setProcessEnvironment(sendEnvironment(file, "300,10"));
    stopping.start(QStringLiteral(LUMAWRITE_SEND_PATH), {"--port", port, "He"});
    ASSERT_GE(sign.waitFor(2).size(), 2);
    stopping.terminate();
    ASSERT_TRUE(stopping.waitForFinished(5000));
    EXPECT_EQ(stopping.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(stopping.exitCode(), 1);
    QTest::qWait(400);
    const qsizetype arrived = sign.received().size();
    EXPECT_LT(arrived, 8);
    EXPECT_TRUE(stopping.readAllStandardError().contains(
        QStringLiteral("lumawrite-send: stopped by SIGTERM, SIGHUP or Ctrl+C\n%1 of 8 frames had "
                       "been sent when the upload stopped.\n")
            .arg(arrived)
            .toUtf8()));

    const SendRun history = runSend(file, {"--history"});
    ASSERT_EQ(history.exitCode, 0) << history.err.toStdString();
    QStringList uploads; // without the time
    for (const QString &line : history.out) {
        EXPECT_TRUE(QDateTime::fromString(line.section('\t', 0, 0), Qt::ISODate).isValid());
        uploads.append(line.section('\t', 1));
    }
    const QString lanSign = at(sign) + " (address 17)";
    EXPECT_EQ(uploads, QStringList({QString("stopped\t%1/8\tLAN\t%2\tHe").arg(arrived).arg(lanSign),
                                    "failed\t0/8\tCOM 9\tCOM 9 (address 17)\tHo",
                                    "sent\t8/8\tLAN\t" + lanSign + "\tHi"}));
    EXPECT_EQ(runSend(file, {"--history", "2"}).out, history.out.mid(0, 2));
    EXPECT_EQ(runSend(file, {"--history=1"}).out, history.out.mid(0, 1));

    // A history that cannot be written is said once, and the signs are sent to all the same.
    const QString kept = stateHomeOf(file) + "/lumawrite/history.json";
    ASSERT_TRUE(QFile::remove(kept));
    ASSERT_TRUE(QDir().mkdir(kept));
    LoopbackSign other;
    const SendRun unkept = runSend(file, {"--ip", at(sign), "--ip", at(other), "Hu"});
    EXPECT_EQ(unkept.exitCode, 0) << unkept.err.toStdString();
    EXPECT_EQ(unkept.err.count("lumawrite-send: the upload history was not kept: " + kept), 1)
        << unkept.err.toStdString();
    expectFrames(hexLines(other.waitFor(8)), "3137");
    // A watch stopped mid-upload ends as it should; a second entry for the same sign, waiting
    // for its turn, ends with nothing sent, and only the upload that went out is kept.
    ASSERT_TRUE(QDir().rmdir(kept));
    TempSettings same;
    writeSign(same, 17);
    const QString watched = dir.filePath("now.txt");
    writeFile(watched, "Hw\n");
    sign.take();
    QProcess watch;
    watch.setProcessEnvironment(sendEnvironment(file, "300,10"));
    watch.start(
        QStringLiteral(LUMAWRITE_SEND_PATH),
        {"--port", port, "--settings", file.path(), "--settings", same.path(), "--watch", watched});
    ASSERT_GE(sign.waitFor(2).size(), 2);
    watch.terminate();
    ASSERT_TRUE(watch.waitForFinished(5000));
    EXPECT_EQ(watch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(watch.exitCode(), 0);
    QTest::qWait(400);
    const QString stopped =
        QString("stopped\t%1/8\tLAN\t%2\tHw").arg(sign.received().size()).arg(lanSign);
    EXPECT_TRUE(watch.readAllStandardError().contains(lanSign.toUtf8() +
                                                      ": stopped after 0 of 8 frames\n"));
    const QStringList now = runSend(file, {"--history"}).out;
    ASSERT_EQ(now.size(), 1); // begun anew, once the folder in its place was gone
    EXPECT_EQ(now.first().section('\t', 1), stopped);
}

// Pictures in a message: the pictures/ folder beside the settings file, and --picture.
namespace {

// An image of white pixels with the dark ones where dark(x, y) says.
QImage drawnImage(int width, int height, const std::function<bool(int, int)> &dark)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, dark(x, y) ? Qt::black : Qt::white);
    return image;
}

// The columns of the first block of a dry run, in hex: its frame after the 12 bytes of its head.
QString firstBlock(const SendRun &run)
{
    return run.out.value(0).mid(24);
}

} // namespace

TEST(SendPictures, TheFoldersPicturesAndAPictureFileGoWhereTheyStand)
{
    TempSettings file;
    file.write(safeSettings());
    const QDir folder(QFileInfo(file.path()).dir().filePath("pictures"));
    ASSERT_TRUE(folder.mkpath("."));
    // A bar of two columns, every row; an X of 8 columns (column c has rows c and 15 - c); an
    // image of 32 rows; a file that is no picture.
    ASSERT_TRUE(drawnImage(2, 16, [](int, int) { return true; }).save(folder.filePath("bar.png")));
    ASSERT_TRUE(drawnImage(8, 16, [](int x, int y) {
                    return y == x || y == 15 - x;
                }).save(folder.filePath("x.png")));
    ASSERT_TRUE(
        drawnImage(16, 32, [](int, int) { return true; }).save(folder.filePath("tall.png")));
    writeFile(folder.filePath("notes.txt"), "not a picture");
    const QString notes = "lumawrite-send: The picture " + folder.filePath("notes.txt") +
                          " cannot be used: it is no picture that can be read (Unsupported "
                          "image format).\n";
    // Outside the folder, of the same name as one in it: a checkerboard of 4 columns.
    QTemporaryDir elsewhere;
    const QString checker = elsewhere.filePath("x.png");
    ASSERT_TRUE(drawnImage(4, 16, [](int x, int y) { return (x + y) % 2 == 0; }).save(checker));

    // The picture in the text's place: the columns of the text alone, then the bar's.
    const SendRun text = runSend(file, {"--dry-run", "A"});
    const SendRun withBar = runSend(file, {"--dry-run", "A{bar}"});
    ASSERT_EQ(withBar.exitCode, 0) << withBar.err.toStdString();
    expectFrames(withBar.out, "3230");
    EXPECT_EQ(withBar.out.mid(1), text.out.mid(1));
    const QString alone = firstBlock(text), both = firstBlock(withBar);
    qsizetype at = 0;
    while (at < alone.size() && alone[at] == both[at])
        ++at;
    at -= at % 4; // the first column that differs, as 4 hex digits a column
    const qsizetype lastLit = alone.lastIndexOf(QRegularExpression("[^0]"));
    EXPECT_GT(at, lastLit); // after every dot of the text
    EXPECT_LE(at, lastLit + 4 * 4) << both.toStdString();
    EXPECT_EQ(both, alone.left(at) + "ffffffff" + alone.mid(at + 8)) << both.toStdString();
    // Unreadable files are told, and refuse nothing; a name of one stays text.
    EXPECT_EQ(withBar.err.count(notes), 1) << withBar.err.toStdString();
    const SendRun unread = runSend(file, {"--dry-run", "{notes} A"});
    EXPECT_EQ(unread.exitCode, 0);
    TempSettings noPictures;
    noPictures.write(safeSettings());
    EXPECT_EQ(unread.out, runSend(noPictures, {"--dry-run", "{notes} A"}).out);
    EXPECT_EQ(unread.err.count(notes), 1) << unread.err.toStdString();

    // A message of nothing but one picture: one block, its columns written out by hand.
    const QString cross = "01800240042008101008200440028001";
    const QString crossInverted = "fe7ffdbffbdff7efeff7dffbbffd7ffe";
    const std::pair<QStringList, QString> pictures[] = {
        {{"{x}"}, cross},
        {{"--invert", "{x}"}, crossInverted},
        {{"{bar}"}, "ffffffff"},
        {{"{tall}"}, QString(32, 'f')}, // scaled to 16 rows: 8 columns
        // The file given wins over the folder's picture of its name.
        {{"--picture", checker}, "5555aaaa5555aaaa"},
        {{"--picture", checker, "--invert"}, "aaaa5555aaaa5555"},
        {{"--picture", folder.filePath("x.png")}, cross},
    };
    for (const auto &[arguments, columns] : pictures) {
        const SendRun run = runSend(file, QStringList{"--dry-run"} + arguments);
        ASSERT_EQ(run.exitCode, 0) << arguments.join(' ').toStdString() << run.err.toStdString();
        expectFrames(run.out, "3230");
        EXPECT_EQ(firstBlock(run), columns + QString(256 - columns.size(), '0'))
            << arguments.join(' ').toStdString();
    }
    // An image of another height is scaled with a warning, which --strict refuses.
    const QString scaled = "lumawrite-send: warning: picture tall is 32 rows high, scaled to 16\n";
    EXPECT_EQ(runSend(file, {"--dry-run", "{tall}"}).err.count(scaled), 1);
    const SendRun strict = runSend(file, {"--dry-run", "--strict", "A{tall}"});
    EXPECT_EQ(strict.exitCode, 3);
    EXPECT_TRUE(strict.err.contains(scaled)) << strict.err.toStdString();
    EXPECT_TRUE(strict.out.isEmpty());

    // Ours, then the folder's by name; what cannot be read on standard error.
    const SendRun listed = runSend(file, {"--list-pictures"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out,
              QStringList({"arrow-up\t12", "arrow-down\t12", "arrow-left\t16", "arrow-right\t16",
                           "heart\t13", "star\t15", "euro\t11", "clock\t15", "warning\t15",
                           "check\t13", "cross\t11", "smile\t15", "bar\t2", "tall\t8", "x\t8"}));
    EXPECT_EQ(listed.err, notes);

    // In one run the folder's problem is said once, for two signs as for one, and again with
    // a text that names the file.
    send::SendOptions options;
    options.dryRun = true;
    signs::LinkServices link;
    link.comPorts = noSuchDevice;
    const QList<signs::SignTarget> twoSigns = {{file.path(), {}, freeUdpPort()},
                                               {file.path(), {}, freeUdpPort()}};
    InProcessSend run(options, twoSigns, link);
    for (const auto &[message, told] :
         {std::pair{"A{bar}", 1}, {"B", 1}, {"{notes}", 2}, {"{heart}", 2}}) {
        run.fleet.submit(QString::fromUtf8(message));
        EXPECT_TRUE(run.done.count() > 0 || run.done.wait(5000)) << message;
        run.done.clear();
        EXPECT_EQ(run.err.count(notes), told) << message << "\n" << run.err.toStdString();
    }
}
