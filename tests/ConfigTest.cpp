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
    // The places given in twips, 15 to a pixel: the window 5115 x 2910; Frame1 360, 120, 4335,
    // 855 with Label1 360, 360, 735, 255, cmbSA 1560, 360, 1095, 315 and cmdUpdateSID 3000, 360,
    // 1095, 375 in it; Frame2 360, 1080, 4335, 1095 with Label2 240, 480, 1095, 255, txtTxPort
    // 1560, 480, 1095, 285 and cmdUpdateTxPort 3000, 360, 1095, 375; cmdClose 1800, 2400, 1575,
    // 375. The labels keep their place and reach on to their caption's width.
    EXPECT_EQ(config->size(), QSize(341, 194));
    const std::pair<const char *, QRect> given[] = {
        {"Frame1", QRect(24, 8, 289, 57)},        {"cmbSA", QRect(104, 24, 73, 21)},
        {"cmdUpdateSID", QRect(200, 24, 73, 25)}, {"Frame2", QRect(24, 72, 289, 73)},
        {"txtTxPort", QRect(104, 32, 73, 19)},    {"cmdUpdateTxPort", QRect(200, 24, 73, 25)},
        {"cmdClose", QRect(120, 160, 105, 25)},
    };
    for (const auto &[name, rect] : given) {
        const auto *control = config->findChild<QWidget *>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->geometry(), rect) << name;
    }
    for (const auto &[name, place] :
         {std::pair{"Label1", QRect(24, 24, 49, 17)}, std::pair{"Label2", QRect(16, 32, 73, 17)}}) {
        const QRect rect = config->findChild<QWidget *>(QLatin1String(name))->geometry();
        EXPECT_EQ(rect.topLeft(), place.topLeft()) << name;
        EXPECT_EQ(rect.height(), place.height()) << name;
        EXPECT_GE(rect.width(), place.width()) << name;
    }
    // The list is a pixel lower than the style would draw it: only its width is checked.
    EXPECT_EQ(cutCaptions(config, {"cmbSA"}).join(QLatin1Char('\n')).toStdString(), "");
    config->close();
    QTRY_VERIFY(main->findChild<ui::frmConfig *>() == nullptr);
    main.reset();

    LargerDesktopFont larger(1.4);
    open(safeSettings());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(config));
    // 341 x 194 -> 477 x 272; 104..177 -> 146..248, 32..51 -> 45..71; 120..225 -> 168..315,
    // 160..185 -> 224..259.
    EXPECT_EQ(config->size(), QSize(477, 272));
    EXPECT_EQ(config->txtTxPort->geometry(), QRect(146, 45, 102, 26));
    EXPECT_EQ(config->cmdClose->geometry(), QRect(168, 224, 147, 35));
    EXPECT_EQ(cutCaptions(config).join(QLatin1Char('\n')).toStdString(), "");
    config->close();
    QTRY_VERIFY(main->findChild<ui::frmConfig *>() == nullptr);
    main.reset();
}
