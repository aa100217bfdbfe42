#include "AppIcon.h"
#include "Fonts.h"
#include "MessageEdit.h"
#include "PortsConf.h"
#include "SignLink.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TestSupport.h"
#include "UploadHistory.h"
#include "WindowScale.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

const QString SerialError = QStringLiteral("Communication Port Error!");

class MainWindowTest : public WindowsTest {
protected:
    std::unique_ptr<ui::frmMain> open(const Settings &settings)
    {
        return makeMain(settings, services());
    }

    // Opens Text Entry from the fixture's main window, as Modify does.
    ui::frmDesign1 *openEntry()
    {
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        focusOn(main->design()->txtMsg);
        return main->design();
    }
    // Ctrl+Enter in Text Entry, with what ends the upload meanwhile (Esc, Ctrl+Q) once two
    // frames are out; the frames the sign received, all of them where whole.
    QList<QByteArray> upload(ui::frmDesign1 *d, QKeyCombination end = {}, bool whole = false)
    {
        QTest::keyClick(d->txtMsg, Qt::Key_Return, Qt::ControlModifier);
        if (end.key() != Qt::Key_unknown) {
            sign.waitFor(2);
            focusOn(main->cmdStop);
            QTest::keyClick(main->cmdStop, end.key(), end.keyboardModifiers());
        }
        EXPECT_TRUE(QTest::qWaitFor([this] { return !main->transfer().running(); }, 10000));
        if (whole)
            sign.waitFor(shared.BlockCount + 2);
        return sign.take();
    }
};

int countYellow(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == 0xFFFF00 ? 1 : 0;
    return n;
}

} // namespace

TEST_F(MainWindowTest, ListsAndSelectionsComeFromTheSettings)
{
    Settings s = safeSettings();
    auto w = open(s);

    ASSERT_EQ(w->cmbSpeed->count(), 10);
    EXPECT_EQ(w->cmbSpeed->itemText(0), QStringLiteral("1 - Slowest"));
    EXPECT_EQ(w->cmbSpeed->itemText(4), QStringLiteral("5"));
    EXPECT_EQ(w->cmbSpeed->itemText(9), QStringLiteral("10 - Fastest"));
    EXPECT_EQ(w->cmbSpeed->currentIndex(), 9);
    ASSERT_EQ(w->cmbSA->count(), 50);
    EXPECT_EQ(w->cmbSA->itemText(0), QStringLiteral("01"));
    EXPECT_EQ(w->cmbSA->itemText(49), QStringLiteral("50"));
    EXPECT_EQ(w->cmbSA->currentText(), QStringLiteral("20"));
    ASSERT_EQ(w->cmbPort->count(), 250);
    EXPECT_EQ(w->cmbPort->itemText(0), QStringLiteral("COM 1"));
    EXPECT_EQ(w->cmbPort->itemText(249), QStringLiteral("COM 250"));
    EXPECT_EQ(w->cmbPort->currentIndex(), 0);
    EXPECT_TRUE(w->optLAN->isChecked());
    EXPECT_EQ(w->txtIP->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(w->txtLocalPort->text(), QStringLiteral("0"));
    for (QComboBox *box : {w->cmbSpeed, w->cmbSA, w->cmbPort})
        EXPECT_FALSE(box->isEditable());

    // The preview strip shows the stored message in yellow, drawn two pixels above its top.
    EXPECT_GT(countYellow(w->previewSurface().image()), 100);
    EXPECT_EQ(w->previewSurface().font().family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(w->previewSurface().font().pointSizeF(), 19.0);
    EXPECT_TRUE(w->previewSurface().font().bold());

    // The text entry window exists already, hidden.
    ASSERT_NE(w->design(), nullptr);
    EXPECT_FALSE(w->design()->isVisible());

    // Other stored values select their entries.
    s.Speed = 1;
    s.SerialAddress = 7;
    s.ComPort = 250;
    s.LinkType = 2;
    auto w2 = open(s);
    EXPECT_EQ(w2->cmbSpeed->currentIndex(), 0);
    EXPECT_EQ(w2->cmbSA->currentText(), QStringLiteral("07"));
    EXPECT_EQ(w2->cmbPort->currentText(), QStringLiteral("COM 250"));
    EXPECT_TRUE(w2->opt485->isChecked());
}

TEST_F(MainWindowTest, OutOfRangeValuesFallBackOneByOne)
{
    Settings s = safeSettings();
    s.SerialAddress = 60;
    s.Speed = 0;
    s.ComPort = 300;
    s.FontIndex = 999;
    s.FontSize = 99;
    s.Offset = -11;
    s.Bold = 2;
    s.Italic = 1;
    auto w = open(s);
    EXPECT_EQ(w->cmbSA->currentText(), QStringLiteral("20"));
    EXPECT_EQ(w->cmbSpeed->currentIndex(), 9);
    EXPECT_EQ(w->cmbPort->currentText(), QStringLiteral("COM 1"));
    ui::frmDesign1 *d = w->design();
    EXPECT_EQ(d->cmbFonts->currentIndex(), 0);
    EXPECT_EQ(d->cmbFontSize->currentText(), QStringLiteral("12"));
    EXPECT_EQ(d->cmbOffset->currentText(), QStringLiteral("0"));
    EXPECT_FALSE(d->chkBold->isChecked());
    EXPECT_TRUE(d->chkItalic->isChecked());
    // The stored record itself is left alone: no recovery happened.
    EXPECT_EQ(shared.settings.FontSize, 99);
    EXPECT_EQ(shared.settings.MessageText, s.MessageText);
}

TEST_F(MainWindowTest, CloseStoresWhatTheControlsHold)
{
    Settings s = safeSettings();
    s.LinkType = 3;
    auto w = open(s);
    notifier.messages.clear(); // the serial port of the test cannot open
    EXPECT_TRUE(w->opt485->isChecked());

    w->show();
    w->cmbSA->setCurrentIndex(49);
    w->cmbSpeed->setCurrentIndex(0);
    w->cmbPort->setCurrentIndex(9);
    w->txtLocalPort->setText(QStringLiteral("13.5"));
    w->txtIP->setText(QStringLiteral("127.0.0.2"));
    w->close();

    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.SerialAddress, 50);
    EXPECT_EQ(saved.Speed, 1);
    EXPECT_EQ(saved.ComPort, 10);
    EXPECT_EQ(saved.LinkType, 2);
    EXPECT_EQ(saved.LocalPort, 14);
    EXPECT_EQ(saved.IpAddress, QStringLiteral("127.0.0.2")); // the typed address is kept
    EXPECT_EQ(saved.MessageText, s.MessageText);
    EXPECT_TRUE(notifier.messages.isEmpty());
}

TEST_F(MainWindowTest, ReceivePortTextFollowsTheLeadingNumberRule)
{
    const struct {
        const char *text;
        qint16 stored;
        int warnings;
    } cases[] = {{"12.5", 12, 0},     {"2000abc", 2000, 0}, {"abc", 0, 0},  {"", 0, 0},
                 {"32767", 32767, 0}, {"40000", 1234, 1},   {"-1", 1234, 1}};
    for (const auto &c : cases) {
        Settings s = safeSettings();
        s.LocalPort = 1234;
        s.LinkType = 1;
        RecordingNotifier quiet;
        ui::Services services = this->services();
        services.notifier = &quiet;
        auto w = makeMain(s, services);
        quiet.messages.clear(); // the port 1234 may be taken on this machine
        w->txtLocalPort->setText(QString::fromUtf8(c.text));
        w->close();
        Settings saved;
        ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
        EXPECT_EQ(saved.LocalPort, c.stored) << c.text;
        EXPECT_EQ(quiet.count(QStringLiteral("Rx Port")), c.warnings) << c.text;
    }
}

TEST_F(MainWindowTest, SerialPortThatCannotOpenIsReportedOnceAndTheWindowOpens)
{
    Settings s = safeSettings();
    s.ComPort = 5;
    auto w = open(s);
    ASSERT_EQ(notifier.count(SerialError), 1);
    EXPECT_EQ(notifier.messages[0].kind, platform::Notifier::Kind::Critical);
    EXPECT_EQ(notifier.messages[0].text,
              QStringLiteral("COM 5 (/nonexistent/ttyTEST5) could not be opened: there is no such "
                             "device.\nCheck that the serial adapter is plugged in and that COM 5 "
                             "is its port, then start Luma Write again."))
        << notifier.messages[0].text.toStdString();
    EXPECT_FALSE(shared.SerialPortOpen);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_EQ(notifier.count(SerialError), 1);
    w->close();

    // The Linux names of the COM list, and a number that has no device.
    EXPECT_EQ(platform::comPortDevice(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(platform::comPortDevice(33), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(platform::comPortDevice(96), QStringLiteral("/dev/ttyACM31"));
    EXPECT_TRUE(platform::comPortDevice(97).isEmpty());
    platform::SerialLine line;
    EXPECT_TRUE(line.open(97, platform::comPortDevice).contains(QStringLiteral("COM 97")));
}

TEST_F(MainWindowTest, SerialPortOpensOnAPseudoTerminal)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready()) << "socat is needed for this test";
    Settings s = safeSettings();
    s.ComPort = 3;
    ui::Services services = this->services();
    const QString device = pty.a();
    services.comPorts = [device](int n) { return n == 3 ? device : QString(); };
    auto w = makeMain(s, services);
    EXPECT_TRUE(notifier.messages.isEmpty());
    EXPECT_TRUE(shared.SerialPortOpen);
    EXPECT_EQ(w->signLink().serialDevice(), device);
    EXPECT_EQ(w->cmbPort->toolTip(), device + QStringLiteral(" (present)"));
}

TEST_F(MainWindowTest, PortsConfBesideTheSettingsMapsAComPortAndAnUploadArrives)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready()) << "socat is needed for this test";
    writeFile(portsConfBeside(file.path()),
              QStringLiteral("# the shop's adapter\ncom7 = %1\n").arg(pty.a()).toUtf8());
    QSerialPort peer(pty.b());
    ASSERT_TRUE(peer.open(QIODevice::ReadWrite));
    QByteArray received;
    QObject::connect(&peer, &QSerialPort::readyRead, &peer, [&] { received += peer.readAll(); });

    Settings s = safeSettings();
    s.ComPort = 7;
    s.LinkType = 2;
    startMain(s, {10, 20});
    ASSERT_TRUE(shared.SerialPortOpen);
    EXPECT_EQ(main->signLink().serialDevice(), pty.a());
    EXPECT_EQ(main->cmbPort->toolTip(), pty.a() + QStringLiteral(" (present)"));
    EXPECT_EQ(main->cmbPort->itemData(0, Qt::ToolTipRole).toString(),
              QStringLiteral("/nonexistent/ttyTEST1")); // unmapped: the fixture's fallback

    QTest::mouseClick(main->cmdModify, Qt::LeftButton);
    main->design()->txtMsg->setPlainText(QStringLiteral("Mapped"));
    QTest::mouseClick(main->design()->cmdInsert, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!main->transfer().running(), 10000);
    EXPECT_TRUE(notifier.messages.isEmpty());
    // The first block frame to sign 20, block address 0x0200; the restart frame last.
    const QByteArray restart = bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20});
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.endsWith(restart); }, 3000));
    EXPECT_TRUE(
        received.startsWith(bytes({0xAA, 0xCC, 0x00, 0x8C, 0x32, 0x30, 0x00, 0x10, 0x02, 0x00})));
    EXPECT_EQ(received.size(), (shared.BlockCount) * 140 + 16 + 8);
}

TEST_F(MainWindowTest, UnreadablePortsConfLinesAreToldOnceAndInThePortBox)
{
    const QString conf = portsConfBeside(file.path());
    const QString absent = QFileInfo(file.path()).dir().filePath(QStringLiteral("unplugged"));
    writeFile(
        conf,
        QStringLiteral("COM 9 = %1\nCOM 4 /dev/ttyUSB0\nCOM 300 = /dev/x\n").arg(absent).toUtf8());
    const QString report =
        conf +
        QStringLiteral(", line 2: there is no \"=\" (write COM n = /dev/...); the line is "
                       "ignored\n") +
        conf +
        QStringLiteral(", line 3: COM 300 is not one of COM 1 to COM 250; the line is ignored");

    // At start, on standard error, once.
    std::FILE *errors = std::tmpfile();
    ASSERT_NE(errors, nullptr);
    ui::Services services = this->services();
    app::useComPorts(file.path(), services, errors);
    std::rewind(errors);
    char buffer[1024] = {};
    const std::size_t length = std::fread(buffer, 1, sizeof buffer - 1, errors);
    std::fclose(errors);
    EXPECT_EQ(QString::fromLocal8Bit(buffer, qsizetype(length)), report + QLatin1Char('\n'));
    EXPECT_EQ(services.comPorts(9), absent);
    EXPECT_EQ(services.comPorts(4), QStringLiteral("/dev/ttyS3")); // the fixed table
    EXPECT_EQ(services.portsReport, report);

    // The box of the mapped port that does not open holds the report.
    Settings s = safeSettings();
    s.ComPort = 9;
    auto w = open(s);
    ASSERT_EQ(notifier.count(SerialError), 1);
    EXPECT_EQ(notifier.messages[0].text,
              QStringLiteral("COM 9 (%1) could not be opened: there is no such device.\nCheck "
                             "that the serial adapter is plugged in and that COM 9 is its port, "
                             "then start Luma Write again.\n\n")
                      .arg(absent) +
                  report);
    EXPECT_EQ(w->cmbPort->toolTip(), absent); // not there now: not marked
}

TEST_F(MainWindowTest, SerialPortInUseIsToldApartFromNoPermissionAndNoDevice)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready()) << "socat is needed for this test";
    const QString device = pty.a();
    const platform::ComPortResolver toPty = [device](int) { return device; };
    platform::SerialLine holder; // the other program
    ASSERT_TRUE(holder.open(3, toPty).isEmpty());

    Settings s = safeSettings();
    s.ComPort = 3;
    ui::Services services = this->services();
    services.comPorts = toPty;
    auto w = makeMain(s, services);
    ASSERT_EQ(notifier.count(SerialError), 1);
    EXPECT_EQ(notifier.messages[0].text,
              QStringLiteral("COM 3 (%1) could not be opened: another program is using it.\n"
                             "Close that program (a terminal program, another copy of Luma Write) "
                             "and start Luma Write again.")
                  .arg(device))
        << notifier.messages[0].text.toStdString();
    EXPECT_FALSE(shared.SerialPortOpen);
    EXPECT_TRUE(holder.isOpen());

    // Root may use every device, so the permission case is told from given facts.
    using platform::openFailureText;
    EXPECT_EQ(openFailureText(1, device, {true, false, true, QStringLiteral("Permission denied")}),
              QStringLiteral("COM 1 (%1) could not be opened: this user may not use it.\n"
                             "To use serial ports, add your user to the \"dialout\" group (sudo "
                             "usermod -aG dialout $USER) and log in again.")
                  .arg(device));
    EXPECT_EQ(openFailureText(1, device, {true, true, false, QStringLiteral("Not a tty")}),
              QStringLiteral("COM 1 (%1) could not be opened: Not a tty").arg(device));
}

TEST_F(MainWindowTest, ReceivePortInUseIsReportedAndChangesNoSetting)
{
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::Any, 0, QAbstractSocket::DontShareAddress));
    Settings s = safeSettings();
    s.LocalPort = qint16(holder.localPort());
    auto w = open(s);
    ASSERT_EQ(notifier.count(QStringLiteral("Rx Port Error")), 1);
    EXPECT_FALSE(w->signLink().receiverOpen());
    EXPECT_EQ(shared.settings, s);
    w->close();
    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.LocalPort, s.LocalPort);

    // With a free port, replies are stored and each one replaces the last.
    s.LocalPort = 0;
    auto w2 = open(s);
    ASSERT_TRUE(w2->signLink().receiverOpen());
    EXPECT_EQ(notifier.count(QStringLiteral("Rx Port Error")), 1);
    const quint16 port = w2->signLink().receiverPort();
    sign.socket().writeDatagram(QByteArray("\x01\xFF first", 8), QHostAddress::LocalHost, port);
    QTRY_COMPARE(w2->signLink().RxData(), QByteArray("\x01\xFF first", 8));
    sign.socket().writeDatagram(QByteArray("ok"), QHostAddress::LocalHost, port);
    QTRY_COMPARE(w2->signLink().RxData(), QByteArray("ok"));
}

TEST_F(MainWindowTest, FailedSaveAtCloseIsReportedAndKeepsTheOldFile)
{
    auto w = open(safeSettings());
    const QByteArray before = file.read();
    w->cmbSA->setCurrentIndex(0);

    {
        FileSizeLimit limit(8);
        w->close();
    }

    ASSERT_EQ(notifier.count(QStringLiteral("Settings Not Saved")), 1);
    EXPECT_TRUE(notifier.messages.last().text.contains(file.path()));
    EXPECT_EQ(file.read(), before);
}

TEST_F(MainWindowTest, StartUpKeepsAnUnreadableFileAndTakesATextTypeface)
{
    // A font set whose first two families draw symbols: the second is the old default position,
    // the first where a position beyond the list used to lead.
    const QStringList families = {"URW Gothic", "Standard Symbols PS", "D050000L"};
    ASSERT_TRUE(platform::drawsSymbols(QStringLiteral("D050000L")))
        << "fonts-urw-base35 is needed for this test";
    Settings valid = safeSettings();
    valid.FontIndex = 999;
    valid.MessageText = QStringLiteral("Menu");
    QByteArray port40023 = encodeSettings(valid);
    port40023.replace("\r\n0\r\n20\r\n", "\r\n40023\r\n20\r\n"); // beyond 16 bits
    Settings symbols = valid;
    symbols.FontIndex = 1; // chosen by the operator: it stays
    struct Case {
        const char *what;
        QByteArray content; // empty: no file
        QByteArray olderCopy;
        QString box;  // its title; empty for none
        QString said; // in the box
        QString typeface;
        QString finding; // of the fit check
    };
    const QString kept = unreadableCopyPath(file.path());
    const Case cases[] = {
        {"first run", {}, {}, {}, {}, "URW Gothic", {}},
        {"receive port 40023",
         port40023,
         "an older copy",
         "Settings Not Readable",
         "line 2 (the receive port) holds \"40023\", not a whole number from -32768 to 32767.\n"
         "The old file was kept as " +
             kept + ".\nLuma Write starts with its default settings.",
         "URW Gothic",
         {}},
        {"typeface beyond the list", encodeSettings(valid), {}, {}, {}, "URW Gothic", {}},
        {"a symbol font chosen",
         encodeSettings(symbols),
         {},
         {},
         {},
         "Standard Symbols PS",
         "Standard Symbols PS draws symbols, not letters."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(file.path());
        QFile::remove(kept);
        if (!c.content.isEmpty())
            file.write(c.content);
        if (!c.olderCopy.isEmpty()) {
            QFile older(kept);
            ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write(c.olderCopy) > 0);
        }
        notifier.messages.clear();
        shared = modMain();
        app::startUp(file.store(), shared, notifier);
        ASSERT_EQ(notifier.messages.size(), c.box.isEmpty() ? 0 : 1);
        if (!c.box.isEmpty()) {
            EXPECT_EQ(notifier.messages[0].title, c.box);
            EXPECT_TRUE(notifier.messages[0].text.endsWith(c.said))
                << notifier.messages[0].text.toStdString();
            QFile copy(kept);
            ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
            EXPECT_EQ(copy.readAll(), c.content);
            EXPECT_EQ(decodeSettings(file.read()), defaultSettings());
        }
        ui::Services services = this->services();
        services.fontFamilies = [families] { return families; };
        // Whatever was recovered, the window points at loopback only.
        shared.settings.IpAddress = QStringLiteral("127.0.0.1");
        shared.settings.LocalPort = 0;
        auto w = makeMain(shared.settings, services);
        ui::frmDesign1 *d = w->design();
        EXPECT_EQ(d->cmbFonts->currentText(), c.typeface);
        d->refreshSignView();
        if (!c.finding.isEmpty())
            EXPECT_TRUE(d->lblFit->text().startsWith(c.finding)) << d->lblFit->text().toStdString();
        else
            EXPECT_FALSE(d->lblFit->text().contains("symbols")) << d->lblFit->text().toStdString();
    }
}

TEST_F(MainWindowTest, StartUpBoxesStandWhereTheMainWindowWillStand)
{
    // On the offscreen 800 x 800 screen the 772 x 234 main window stands at (14, 283), its
    // inside 2 pixels further in the frame: centred at (401, 401), as is every start-up box.
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 800, 800));
    platform::MessageBoxNotifier boxes;
    BoxWatcher watcher;
    file.write(QByteArray("damaged"));
    {
        FileSizeLimit limit(8); // a failed save before the main window exists
        app::startUp(file.store(), shared, boxes);
    }
    QUdpSocket holder; // and both ports failing in the main window's load
    ASSERT_TRUE(holder.bind(QHostAddress::Any, 0, QAbstractSocket::DontShareAddress));
    shared.settings = safeSettings();
    shared.settings.LocalPort = qint16(holder.localPort());
    ui::Services services = this->services();
    services.notifier = &boxes;
    auto w = std::make_unique<ui::frmMain>(shared, services);
    ASSERT_EQ(watcher.boxes.size(), 3); // all before the main window is shown
    EXPECT_EQ(watcher.boxes[0].first, QStringLiteral("Settings Not Saved"));
    EXPECT_EQ(watcher.boxes[1].first, QStringLiteral("Rx Port Error"));
    EXPECT_EQ(watcher.boxes[2].first, SerialError);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_EQ(w->frameGeometry().topLeft(), QPoint(14, 283));
    EXPECT_EQ(w->geometry(), QRect(16, 285, 772, 234));
    for (const auto &[title, geometry] : watcher.boxes)
        EXPECT_EQ(geometry.center(), QPoint(401, 401)) << title.toStdString();
}

TEST_F(MainWindowTest, LogoCaptionNamesTheMajorAndMinorVersionOfTheBuild)
{
    auto w = open(safeSettings());
    const QStringList version = QStringLiteral(LUMAWRITE_PROJECT_VERSION).split(QLatin1Char('.'));
    ASSERT_EQ(version.size(), 3);
    const auto *caption = w->findChild<QLabel *>(QStringLiteral("Label1_1"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("Ver.%1.%2").arg(version[0], version[1]));
}

TEST(AppIcon, HoldsTheLedPanelAtTheFourMenuSizes)
{
    const QIcon icon = ui::appIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    // At 256 pixels: outside the rounded corner nothing, the panel dark above the first row of
    // dots, the top dot of the "L" (second column, second row, at 60.5, 60.5) lit amber and
    // the dot beside it (87.5, 60.5) unlit.
    const QImage image = icon.pixmap(QSize(256, 256)).toImage();
    ASSERT_EQ(image.size(), QSize(256, 256));
    EXPECT_EQ(qAlpha(image.pixel(2, 2)), 0);
    const QColor panel = image.pixelColor(128, 18);
    EXPECT_EQ(panel.alpha(), 255);
    EXPECT_LT(panel.value(), 70);
    const QColor lit = image.pixelColor(60, 60);
    EXPECT_GT(lit.red(), 230);
    EXPECT_GT(lit.green(), 150);
    EXPECT_LT(lit.blue(), 140);
    const QColor unlit = image.pixelColor(87, 60);
    EXPECT_LT(unlit.value(), 90);
}

TEST_F(MainWindowTest, UploadStatusIsReadAndEnterPressesTheFocusedButton)
{
    main = makeMain(safeSettings(), services());
    notifier.messages.clear();
    AccessibleNotices notices;
    const QString described = main->pic->accessibleDescription();
    EXPECT_TRUE(described.startsWith(
        QStringLiteral("Message preview: \"%1\", the message last sent to the sign; ")
            .arg(safeSettings().MessageText.simplified())))
        << described.toStdString();
    main->design()->refreshSignView(); // the same message, so the same findings
    EXPECT_TRUE(described.endsWith(main->design()->lblFit->text().simplified()))
        << described.toStdString();

    emit main->transfer().statusChanged(QStringLiteral("Sending 1 of 3"));
    EXPECT_EQ(main->lblMsg->text(), QStringLiteral("Sending 1 of 3"));
    EXPECT_EQ(main->lblMsg->accessibleName(), QStringLiteral("Upload status: Sending 1 of 3"));
    emit main->transfer().statusChanged(QStringLiteral("Sending 1 of 3"));
    EXPECT_EQ(notices.count(QStringLiteral("lblMsg"), QAccessible::NameChanged), 1);

    // Enter on "Modify" opens the text entry window, as a click does.
    focusOn(main->cmdModify);
    QTest::keyClick(main->cmdModify, Qt::Key_Return);
    ui::frmDesign1 *entry = main->design();
    EXPECT_TRUE(entry->isVisible());
    entry->reject();
    EXPECT_FALSE(entry->isVisible());
    EXPECT_TRUE(notifier.messages.isEmpty());
}

TEST(WindowScale, GrowsWithTheDesktopFontFromNinePointsAtNinetySixDpiUp)
{
    EXPECT_EQ(ui::ReferenceFontPointSize, 9);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    EXPECT_DOUBLE_EQ(ui::fontPixelSize(font, 96), 12.0);
    EXPECT_DOUBLE_EQ(ui::windowScale(ui::fontPixelSize(font, 96)), 1.0);
    font.setPointSizeF(8); // smaller: never shrinks
    EXPECT_DOUBLE_EQ(ui::windowScale(ui::fontPixelSize(font, 96)), 1.0);
    font.setPointSizeF(12.6);
    EXPECT_DOUBLE_EQ(ui::fontPixelSize(font, 96), 16.8);
    EXPECT_DOUBLE_EQ(ui::windowScale(ui::fontPixelSize(font, 96)), 1.4);
    font.setPointSizeF(13);
    EXPECT_DOUBLE_EQ(ui::windowScale(ui::fontPixelSize(font, 96)), 13.0 / 9.0);
    // 9 points on a 120-dpi screen are 15 pixels.
    font.setPointSizeF(9);
    EXPECT_DOUBLE_EQ(ui::fontPixelSize(font, 120), 15.0);
    EXPECT_DOUBLE_EQ(ui::windowScale(ui::fontPixelSize(font, 120)), 1.25);
    // A font set in pixels is taken at its pixels, whatever the screen.
    font.setPixelSize(18);
    EXPECT_DOUBLE_EQ(ui::fontPixelSize(font, 120), 18.0);
    EXPECT_DOUBLE_EQ(ui::windowScale(ui::fontPixelSize(font, 96)), 1.5);
    font.setPixelSize(11);
    EXPECT_DOUBLE_EQ(ui::windowScale(ui::fontPixelSize(font, 96)), 1.0);
}

TEST_F(MainWindowTest, GeometryIsTheUsualOneAtTheUsualFontAndGrowsSoNoCaptionIsCut)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_DOUBLE_EQ(ui::fontPixelSize(QApplication::font(), screen->logicalDotsPerInchY()), 12.0);
    auto w = open(safeSettings());
    w->show();
    EXPECT_EQ(w->size(), QSize(772, 234));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(w->cmbSA->geometry(), QRect(116, 54, 57, 24));
    EXPECT_EQ(w->optLAN->geometry(), QRect(12, 84, 150, 22));
    EXPECT_EQ(w->cmdConfig->geometry(), QRect(88, 196, 169, 25));
    EXPECT_EQ(w->pic->geometry(), QRect(8, 8, 753, 33));
    EXPECT_EQ(cutCaptions(w.get()).join(QLatin1Char('\n')).toStdString(), "");
    w.reset();

    LargerDesktopFont larger(1.4);
    w = open(safeSettings());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    // Each edge times 1.4, rounded: 772 x 234 -> 1081 x 328; 116..173 -> 162..242, 54..78
    // -> 76..109.
    EXPECT_EQ(w->size(), QSize(1081, 328));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(w->cmbSA->geometry(), QRect(162, 76, 80, 33));
    EXPECT_EQ(w->txtLocalPort->geometry(), QRect(342, 76, 79, 33)); // 244..301 -> 342..421
    // The preview strip keeps its pixels, centred in its place 11..1065 x 11..57:
    // 11 + (1054 - 753) / 2 = 161, 11 + (46 - 33) / 2 = 17.
    EXPECT_EQ(w->pic->geometry(), QRect(161, 17, 753, 33));
    EXPECT_EQ(cutCaptions(w.get()).join(QLatin1Char('\n')).toStdString(), "");
}

TEST(WindowScale, ScalesEdgesSoNeighboursStillMeetAndLeavesFixedSizesAlone)
{
    QWidget window;
    window.setFixedSize(101, 40);
    auto *box = new QGroupBox(&window);
    box->setGeometry(0, 0, 5, 10);
    auto *next = new QLabel(QStringLiteral("x"), &window);
    next->setGeometry(5, 0, 5, 10);
    auto *inner = new QLabel(box); // inside a group box: scaled too
    inner->setGeometry(1, 3, 3, 3);
    auto *moved = new QCheckBox(&window); // placed without a size
    moved->move(10, 21);
    auto *fixed = new QWidget(&window);
    fixed->setGeometry(20, 5, 30, 20);
    fixed->setFixedSize(30, 20);
    auto *kept = new QLabel(&window);
    kept->setGeometry(60, 10, 20, 10);

    ui::scaleWindow(&window, 1.5, {kept});
    EXPECT_EQ(window.size(), QSize(152, 60)); // 151.5 and 60
    // 0..5 -> 0..8 (7.5 rounded), 5..10 -> 8..15: they still meet.
    EXPECT_EQ(box->geometry(), QRect(0, 0, 8, 15));
    EXPECT_EQ(next->geometry(), QRect(8, 0, 7, 15));
    EXPECT_EQ(inner->geometry(), QRect(2, 5, 4, 4)); // 1.5..6 -> 2..6, 4.5..9 -> 5..9
    EXPECT_EQ(moved->pos(), QPoint(15, 32));
    EXPECT_FALSE(moved->testAttribute(Qt::WA_Resized));
    EXPECT_EQ(fixed->geometry(), QRect(30, 8, 30, 20));
    // 60..80 x 10..20 -> 90..120 x 15..30, the 20 x 10 centred in it: 90 + 5, 15 + 2.
    EXPECT_EQ(kept->geometry(), QRect(95, 17, 20, 10));

    ui::scaleWindow(&window, 1.0);
    EXPECT_EQ(window.size(), QSize(152, 60));
}

TEST(SingleInstance, ASecondStartRaisesTheFirstAndEndsUnlessItsSettingsAreItsOwn)
{
    // In this process: the second copy for one settings folder hands over and the first is
    // asked to raise its window; another folder, or the folder after its copy ended, starts.
    TempSettings file, other;
    auto first = std::make_unique<app::SingleInstance>(file.path());
    ASSERT_FALSE(first->handOverToRunningCopy());
    QSignalSpy raised(first.get(), &app::SingleInstance::raiseRequested);
    EXPECT_TRUE(app::SingleInstance(file.path()).handOverToRunningCopy());
    EXPECT_TRUE(raised.wait(3000));
    EXPECT_FALSE(app::SingleInstance(other.path()).handOverToRunningCopy());
    first.reset();
    EXPECT_FALSE(app::SingleInstance(file.path()).handOverToRunningCopy());

    // The program: a second start with the same settings ends at once with status 0, and the
    // first runs on; its receive port was never contended.
    Settings s = safeSettings();
    s.ComPort = 250; // no device
    file.write(s);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QFileInfo(QFileInfo(file.path()).absolutePath()).absolutePath());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess running, second;
    running.setProcessEnvironment(env);
    second.setProcessEnvironment(env);
    running.start(QStringLiteral(LUMAWRITE_PATH), QStringList());
    ASSERT_TRUE(running.waitForStarted(5000));
    // Up once it answers on its socket.
    app::SingleInstance probe(file.path());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QLocalSocket socket;
            socket.connectToServer(probe.serverName());
            return socket.waitForConnected(100);
        },
        10000));
    second.start(QStringLiteral(LUMAWRITE_PATH), QStringList());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(second.readAllStandardError().contains("Rx Port"));
    EXPECT_EQ(running.state(), QProcess::Running);
    running.terminate(); // closes as at a shutdown
    EXPECT_TRUE(running.waitForFinished(10000));
}

TEST_F(MainWindowTest, ASavedMessageUploadsTheFramesOfTheSameMessageTyped)
{
    startMain(safeSettings(), {15, 20});
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("Sale\n9 to 5"));
    d->cmbFonts->setCurrentIndex(2);
    d->cmbFontSize->setCurrentIndex(8);
    d->cmbOffset->setCurrentIndex(12);
    d->chkUL->setChecked(true);
    pressWithName(d->cmdSave, "Sale");
    const QList<QByteArray> typed = upload(d, {}, true);
    ASSERT_GE(typed.size(), 8);
    // Every choice otherwise, then the saved message chosen and sent.
    d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("Something else"));
    d->cmbFonts->setCurrentIndex(0);
    d->cmbFontSize->setCurrentIndex(30);
    d->cmbOffset->setCurrentIndex(0);
    for (QCheckBox *box : {d->chkBold, d->chkItalic, d->chkST, d->chkUL})
        box->setChecked(!box->isChecked());
    chooseFromList(d->cmbSaved, QStringLiteral("Sale"));
    focusOn(d->txtMsg);
    EXPECT_EQ(upload(d, {}, true), typed);
    EXPECT_TRUE(notifier.messages.isEmpty());
}

TEST_F(MainWindowTest, HistoryKeepsEveryUploadWithHowItEndedAndItsFrames)
{
    const struct {
        const char *text;
        QKeyCombination end; // pressed after two frames
        int delayMs;         // between frames: room for that key
        int failAt;          // the datagram that cannot be sent; 0 for none
        QString kept;        // outcome and frames; %1: all of them
        QString reason;
    } cases[] = {
        {"All", {}, 15, 0, "sent\t%1/%1", ""},
        {"Esc", Qt::Key_Escape, 500, 0, "stopped\t2/%1", "Stopped by the operator"},
        {"Quit", Qt::CTRL | Qt::Key_Q, 500, 0, "stopped\t2/%1",
         "Luma Write was closed during the upload"},
        {"Lost", {}, 15, 3, "failed\t2/%1", "Network is unreachable"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        ui::Services services = this->services();
        int datagrams = 0;
        if (c.failAt)
            services.datagramSender = [&](const QByteArray &, const QHostAddress &, quint16) {
                return ++datagrams == c.failAt ? QStringLiteral("Network is unreachable")
                                               : QString();
            };
        startMain(safeSettings(), {c.delayMs, 20}, services);
        ui::frmDesign1 *d = openEntry();
        d->txtMsg->setPlainText(QString::fromUtf8(c.text));
        upload(d, c.end);
        QList<signs::HistoryEntry> kept;
        ASSERT_EQ(signs::UploadHistory(services.historyPath).read(kept, 1), QString());
        ASSERT_EQ(kept.size(), 1);
        // The history's line without its time: outcome, frames sent of all, link, sign, text.
        EXPECT_EQ(signs::historyLine(kept[0]).section('\t', 1),
                  c.kept.arg(shared.BlockCount + 2) +
                      QStringLiteral("\tLAN\t127.0.0.1:%1 (address 20)\t").arg(sign.port()) +
                      c.text);
        EXPECT_EQ(kept[0].reason, c.reason);
        EXPECT_EQ(kept[0].choices.font, QStringLiteral("DejaVu Sans Mono"));
    }

    // A history that cannot be written is said once a run, after the upload's own message.
    ui::Services services = this->services();
    services.historyPath = file.path() + QStringLiteral("/history.json"); // under a file
    services.datagramSender = [](const QByteArray &, const QHostAddress &, quint16) {
        return QStringLiteral("Network is unreachable");
    };
    startMain(safeSettings(), {15, 20}, services);
    upload(openEntry());
    upload(openEntry());
    QStringList titles;
    for (const auto &m : notifier.messages)
        titles << m.title;
    // Text Entry cannot list the recent uploads either, and says so when it first opens.
    EXPECT_EQ(titles.join(", ").toStdString(),
              "Messages Not Read, Upload Failed, History Not Kept, Upload Failed");
}

TEST_F(MainWindowTest, AMessageWithPicturesGoesOutAsLumawriteSendSendsIt)
{
    // A picture of the folder beside the settings file: a dark column, then a light one.
    const QDir folder(QFileInfo(file.path()).dir().filePath("pictures"));
    ASSERT_TRUE(folder.mkpath("."));
    QImage dot(2, 16, QImage::Format_RGB32);
    dot.fill(Qt::white);
    for (int y = 0; y < 16; ++y)
        dot.setPixelColor(0, y, Qt::black);
    ASSERT_TRUE(dot.save(folder.filePath("dot.png")));
    startMain(safeSettings(), {15, 20});
    // The message, Invert, and the first two columns of the main window's preview afterwards.
    const std::tuple<const char *, bool, const char *> cases[] = {
        {"{dot}Open", false, "ffff0000"},
        {"{dot}{heart} Open", true, "0000ffff"},
        {"{arrow-left}\n9 to 5", false, "8001c003"}, // rows 7-8, then 6-9
    };
    for (const auto &[text, invert, preview] : cases) {
        ui::frmDesign1 *d = openEntry();
        d->txtMsg->setPlainText(QString::fromUtf8(text));
        d->chkInvert->setChecked(invert);
        // The typeface by its name: the command's font list is this computer's; the other
        // choices are the stored ones, as in the window.
        QStringList arguments{"--font", d->cmbFonts->currentText(), QString::fromUtf8(text)};
        if (invert)
            arguments.prepend("--invert");
        const QStringList expected = dryRunFrames(file, arguments);
        QStringList sent;
        for (const QByteArray &frame : upload(d, {}, true))
            sent << QString::fromLatin1(frame.toHex());
        EXPECT_EQ(sent.join('\n').toStdString(), expected.join('\n').toStdString()) << text;
        QString shown;
        for (int column = 0; column < 4; ++column) {
            int dots = 0;
            for (int bit = 0; bit < 8; ++bit)
                dots |= main->previewSurface().pixel(column / 2, 8 * (column % 2) + bit) == 0xFFFF00
                            ? 1 << bit
                            : 0;
            shown += QString::asprintf("%02x", dots);
        }
        EXPECT_EQ(shown, preview) << text;
    }
    EXPECT_TRUE(notifier.messages.isEmpty());
}
