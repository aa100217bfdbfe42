#include "TestSupport.h"
#include "WindowScale.h"
#include "frmConfig.h"
#include "frmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>

#include <gtest/gtest.h>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

class ConfigTest : public WindowsTest {
protected:
    void open(const Settings &s, platform::ComPortResolver ports = noSuchDevice)
    {
        ui::Services services = this->services();
        services.comPorts = std::move(ports);
        startMain(s, {15, 30}, services);
        QTest::mouseClick(main->cmdConfig, Qt::LeftButton);
        config = main->findChild<ui::frmConfig *>();
        ASSERT_NE(config, nullptr);
        EXPECT_TRUE(config->isVisible());
        EXPECT_TRUE(config->isModal());
    }

    ui::frmConfig *config = nullptr;
};

} // namespace

TEST_F(ConfigTest, OpensWithTheStoredAddressAndPort)
{
    Settings s = safeSettings();
    s.SerialAddress = 7;
    s.LocalPort = 2000;
    open(s);
    EXPECT_EQ(config->windowTitle(), QStringLiteral("Configuration"));
    ASSERT_EQ(config->cmbSA->count(), 50);
    EXPECT_EQ(config->cmbSA->itemText(49), QStringLiteral("50"));
    EXPECT_EQ(config->cmbSA->currentText(), QStringLiteral("07"));
    EXPECT_FALSE(config->cmbSA->isEditable());
    EXPECT_EQ(config->txtTxPort->text(), QStringLiteral("2000"));
    QTest::mouseClick(config->cmdClose, Qt::LeftButton);
    QTRY_VERIFY(main->findChild<ui::frmConfig *>() == nullptr);

    s.SerialAddress = 0; // outside the list: "20"
    main.reset();
    open(s);
    EXPECT_EQ(config->cmbSA->currentText(), QStringLiteral("20"));
}

TEST_F(ConfigTest, OpensCentredOnTheScreenWhereverTheMainWindowStands)
{
    // 341 x 194 centred on the offscreen 800 x 800 screen stands at (229, 303), its inside 2
    // pixels further in the frame.
    open(safeSettings());
    EXPECT_EQ(config->geometry(), QRect(231, 305, 341, 194));
    config->close();
    main->move(0, 0);
    QTest::mouseClick(main->cmdConfig, Qt::LeftButton);
    QTRY_COMPARE(main->findChildren<ui::frmConfig *>().size(), 1); // the first one is gone
    EXPECT_EQ(main->findChild<ui::frmConfig *>()->geometry(), QRect(231, 305, 341, 194));
}

TEST_F(ConfigTest, FramesGoOutOnTheSerialLineExactly)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready()) << "socat is needed for this test";
    const QString device = pty.a();
    Settings s = safeSettings();
    s.LinkType = 1; // LAN chosen: configuration still goes out on the serial line
    open(s, [device](int) { return device; });
    ASSERT_TRUE(shared.SerialPortOpen);
    QSerialPort peer(pty.b());
    ASSERT_TRUE(peer.open(QIODevice::ReadWrite));

    auto sendAndRead = [&](QPushButton *button) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(config->cmdUpdateSID->isEnabled()); // waiting its reply window
        EXPECT_TRUE(QTest::qWaitFor([&] { return config->cmdUpdateSID->isEnabled(); }));
        QByteArray got;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (got += peer.readAll()).size() >= 10; }));
        return got;
    };

    config->cmbSA->setCurrentIndex(4);
    EXPECT_EQ(sendAndRead(config->cmdUpdateSID),
              bytes({0xAA, 0xCC, 0x00, 0x0A, 0x30, 0x35, 0x01, 0x10, 0x30, 0x35}));

    config->cmbSA->setCurrentIndex(19);
    const std::pair<const char *, QByteArray> ports[] = {
        {"2000", bytes({0x07, 0xD0})},   {"2000 Hz", bytes({0x07, 0xD0})},
        {"", bytes({0x00, 0x00})},       {"32767", bytes({0x7F, 0xFF})},
        {"2000.5", bytes({0x07, 0xD0})}, {"2001.5", bytes({0x07, 0xD2})}};
    for (const auto &[text, port] : ports) {
        config->txtTxPort->setText(QString::fromUtf8(text));
        EXPECT_EQ(sendAndRead(config->cmdUpdateTxPort),
                  bytes({0xAA, 0xCC, 0x00, 0x0A, 0x32, 0x30, 0x01, 0x20}) + port)
            << text;
    }
    EXPECT_TRUE(notifier.messages.isEmpty());

    // Ports the frame cannot carry are refused and nothing is written.
    for (const char *text : {"40000", "-1", "65535"}) {
        config->txtTxPort->setText(QString::fromUtf8(text));
        QTest::mouseClick(config->cmdUpdateTxPort, Qt::LeftButton);
    }
    EXPECT_EQ(notifier.count(QStringLiteral("Transmit Port")), 3);
    QTest::qWait(100);
    EXPECT_TRUE(peer.readAll().isEmpty());
    // Nothing the window did reached the settings.
    EXPECT_EQ(shared.settings, s);
}

TEST_F(ConfigTest, UpdateWithoutAnOpenPortSaysNothingWasSent)
{
    open(safeSettings());
    ASSERT_FALSE(shared.SerialPortOpen);
    QTest::mouseClick(config->cmdUpdateSID, Qt::LeftButton);
    QTest::mouseClick(config->cmdUpdateTxPort, Qt::LeftButton);
    ASSERT_EQ(notifier.count(QStringLiteral("Serial Port Not Open")), 2);
    EXPECT_TRUE(notifier.messages[0].text.contains(QStringLiteral("not sent")));
    EXPECT_TRUE(config->isVisible());
    config->close();
}

TEST_F(ConfigTest, EnterPressesTheFocusedButton)
{
    open(safeSettings());
    ASSERT_FALSE(shared.SerialPortOpen);
    for (QPushButton *button : config->findChildren<QPushButton *>()) {
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    }
    // Enter in the port box presses nothing.
    focusOn(config->txtTxPort);
    QTest::keyClick(config->txtTxPort, Qt::Key_Return);
    EXPECT_TRUE(notifier.messages.isEmpty());
    EXPECT_TRUE(config->isVisible());

    focusOn(config->cmdUpdateSID);
    QTest::keyClick(config->cmdUpdateSID, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(notifier.count(QStringLiteral("Serial Port Not Open")), 1);
    focusOn(config->cmdClose);
    QTest::keyClick(config->cmdClose, Qt::Key_Return);
    QTRY_VERIFY(main->findChild<ui::frmConfig *>() == nullptr);
}

TEST_F(ConfigTest, GeometryIsTheUsualOneAtTheUsualFontAndGrowsSoNoCaptionIsCut)
{
    open(safeSettings());
    EXPECT_EQ(config->size(), QSize(341, 194));
    EXPECT_EQ(config->txtTxPort->geometry(), QRect(112, 26, 73, 24));
    EXPECT_EQ(config->cmdClose->geometry(), QRect(118, 154, 105, 26));
    EXPECT_EQ(cutCaptions(config).join(QLatin1Char('\n')).toStdString(), "");
    config->close();
    QTRY_VERIFY(main->findChild<ui::frmConfig *>() == nullptr);
    main.reset();

    LargerDesktopFont larger(1.4);
    open(safeSettings());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(config));
    // 341 x 194 -> 477 x 272; 112..185 -> 157..259, 26..50 -> 36..70; 118..223 -> 165..312.
    EXPECT_EQ(config->size(), QSize(477, 272));
    EXPECT_EQ(config->txtTxPort->geometry(), QRect(157, 36, 102, 34));
    EXPECT_EQ(config->cmdClose->geometry(), QRect(165, 216, 147, 36));
    EXPECT_EQ(cutCaptions(config).join(QLatin1Char('\n')).toStdString(), "");
    config->close();
    QTRY_VERIFY(main->findChild<ui::frmConfig *>() == nullptr);
    main.reset();
}
