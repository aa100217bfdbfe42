#include "MessageEdit.h"
#include "Startup.h"
#include "TerminationSignals.h"
#include "TestSupport.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

// The windows with short pauses and a sign on loopback, for things going wrong.
class FaultTest : public WindowsTest {
protected:
    void start(ui::Services services, Settings s = safeSettings())
    {
        startMain(s, {10, 20}, std::move(services));
    }

    void upload(const QString &text)
    {
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        main->design()->txtMsg->setPlainText(text);
        QTest::mouseClick(main->design()->cmdInsert, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!main->transfer().running(), 10000);
    }

    Settings saved() const
    {
        const auto s = decodeSettings(file.read());
        EXPECT_TRUE(s);
        return s.value_or(Settings{});
    }
};

} // namespace

TEST_F(FaultTest, SettingsThatCannotBeWrittenAreReportedAndTheOldFileStays)
{
    // At start: an unreadable file, and no room to write the defaults.
    file.write(QByteArray("damaged"));
    {
        FileSizeLimit limit(8);
        app::startUp(file.store(), shared, notifier);
    }
    ASSERT_EQ(notifier.count(QStringLiteral("Settings Not Saved")), 1);
    EXPECT_TRUE(notifier.messages[0].text.contains(file.path()));
    EXPECT_EQ(file.read(), QByteArray("damaged"));
    EXPECT_EQ(shared.settings, defaultSettings());

    // After an upload: the message went out, the file keeps the previous settings.
    start(services());
    const QByteArray before = file.read();
    {
        FileSizeLimit limit(8);
        upload(QStringLiteral("Not saved"));
    }
    EXPECT_EQ(notifier.count(QStringLiteral("Settings Not Saved")), 1);
    EXPECT_EQ(file.read(), before);
    EXPECT_EQ(sign.received().size(), shared.BlockCount + 2);
    // The next save that can be written keeps the message.
    main->close();
    EXPECT_EQ(saved().MessageText, QStringLiteral("Not saved"));
}

TEST_F(FaultTest, UdpSendFailureEndsTheUploadWithItsCount)
{
    ui::Services services = this->services();
    int calls = 0;
    services.datagramSender = [&calls](const QByteArray &, const QHostAddress &, quint16) {
        return ++calls == 3 ? QStringLiteral("Network is unreachable") : QString();
    };
    start(services);
    upload(QStringLiteral("Injected"));
    ASSERT_EQ(notifier.count(QStringLiteral("Upload Failed")), 1);
    const QString text = notifier.messages.last().text;
    EXPECT_TRUE(text.contains(QStringLiteral("Network is unreachable")));
    EXPECT_TRUE(text.contains(QStringLiteral("2 of %1 frames").arg(shared.BlockCount + 2)));
    EXPECT_TRUE(main->lblMsg->text().isEmpty());
    EXPECT_TRUE(main->cmdModify->isEnabled());
    EXPECT_EQ(saved().MessageText, QStringLiteral("Injected"));
}

TEST_F(FaultTest, SerialPeerDisappearingMidUploadIsReportedOnce)
{
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(pty->ready()) << "socat is needed for this test";
    ui::Services services = this->services();
    const QString device = pty->a();
    services.comPorts = [device](int) { return device; };
    Settings s = safeSettings();
    s.LinkType = 2;
    start(services, s);
    ASSERT_TRUE(shared.SerialPortOpen);
    QObject::connect(&main->transfer(), &link::MessageTransfer::statusChanged, main.get(),
                     [&pty](const QString &text) {
                         if (text.startsWith(QStringLiteral("Sending 3 of")))
                             pty.reset(); // the adapter is pulled out
                     });
    upload(QStringLiteral("Pulled"));
    EXPECT_EQ(notifier.count(QStringLiteral("Upload Failed")), 1);
    EXPECT_EQ(notifier.count(QStringLiteral("Communication Port Error!")), 0);
    EXPECT_FALSE(shared.SerialPortOpen);
    EXPECT_EQ(saved().MessageText, QStringLiteral("Pulled"));

    // The next upload over the dead line is refused at the start.
    upload(QStringLiteral("Again"));
    EXPECT_EQ(notifier.count(QStringLiteral("Upload Not Started")), 1);
}

TEST_F(FaultTest, TerminationSignalsAndCtrlCCloseTheWindowAndSave)
{
    // As when the close box is clicked, the typed receive port and link type 3 (stored back as
    // 2) reach the file. An unhandled signal would end this program, so that is checked first.
    struct sigaction byDefault = {}, ignore = {}, before = {}, now = {};
    byDefault.sa_handler = SIG_DFL;
    ignore.sa_handler = SIG_IGN;
    for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(number);
        sigaction(number, &byDefault, &before);
        Settings s = safeSettings();
        s.LinkType = 3;
        start(services(), s);
        new platform::TerminationSignals(main.get(), [window = main.get()] { window->quitNow(); });
        main->txtLocalPort->setText(QStringLiteral("4321"));
        sigaction(number, nullptr, &now);
        if (now.sa_handler != SIG_DFL && ::raise(number) == 0)
            QTRY_VERIFY_WITH_TIMEOUT(!main->isVisible(), 5000);
        else
            ADD_FAILURE() << "the signal would end the program without saving";
        EXPECT_EQ(saved().LocalPort, 4321);
        EXPECT_EQ(saved().LinkType, 2);
        main.reset(); // gives back the handling it found
        sigaction(number, &before, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }

    // Started with Ctrl+C ignored (a background job of a script), the window stays open.
    sigaction(SIGINT, &ignore, &before);
    start(services());
    new platform::TerminationSignals(main.get(), [window = main.get()] { window->quitNow(); });
    ::raise(SIGINT);
    QTest::qWait(50);
    EXPECT_TRUE(main->isVisible());
    main.reset();
    sigaction(SIGINT, &before, nullptr);
}
