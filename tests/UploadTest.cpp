#include "MessageEdit.h"
#include "TestSupport.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

class UploadTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        Settings s = safeSettings();
        s.MessageText = QStringLiteral("Fresh bread");
        startMain(s, {15, 20});
    }

    ui::frmDesign1 *openEntry()
    {
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        return main->design();
    }

    // Waits until at least count frames have come in; the sign forgets them.
    QList<QByteArray> receive(int count)
    {
        sign.waitFor(count, 10000);
        return sign.take();
    }

    bool idle() const { return !main->transfer().running(); }
};

} // namespace

TEST_F(UploadTest, UploadRendersSendsAndSaves)
{
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("Sale today"));
    d->cmbFontSize->setCurrentIndex(54); // "60"
    d->cmbOffset->setCurrentIndex(0);    // "-10"
    for (QCheckBox *box : {d->chkBold, d->chkItalic, d->chkST, d->chkUL})
        box->setChecked(true);
    main->cmbSpeed->setCurrentIndex(4);
    const int width = d->lblMsg[1]->text().toInt();
    const int blocks = width / 64 + 1;
    shared.ColumnBuffer.fill(0xEE); // what an earlier, longer message left behind

    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(shared.UploadConfirmed);
    EXPECT_FALSE(main->cmdModify->isEnabled());
    EXPECT_FALSE(main->cmdConfig->isEnabled());
    EXPECT_TRUE(main->prgUpload->isVisible());
    EXPECT_EQ(main->lblMsg->text(), QStringLiteral("Sending 1 of %1").arg(blocks + 5));

    // Every block frame carries the rendered column image, in order.
    const QList<QByteArray> frames = receive(blocks + 7);
    ASSERT_EQ(frames.size(), blocks + 7);
    for (int n = 0; n < blocks + 5; ++n)
        EXPECT_EQ(
            frames[n].mid(12),
            QByteArray(reinterpret_cast<const char *>(shared.ColumnBuffer.data()) + 128 * n, 128))
            << n;
    EXPECT_EQ(shared.BlockCount, blocks + 5);
    EXPECT_EQ(shared.ColumnBuffer[(blocks + 5) * 128], 0xEE); // nothing past the blank blocks
    EXPECT_EQ(quint8(frames[blocks + 5][15]), 125);
    int lit = 0;
    for (int i = 0; i < blocks * 128; ++i)
        lit += shared.ColumnBuffer[i] != 0;
    EXPECT_GT(lit, 50);

    QTRY_VERIFY(idle());
    EXPECT_TRUE(main->cmdModify->isEnabled());
    EXPECT_TRUE(main->cmdConfig->isEnabled());
    EXPECT_TRUE(main->lblMsg->text().startsWith("Sent to the sign at "))
        << main->lblMsg->text().toStdString();
    EXPECT_TRUE(notifier.messages.isEmpty());

    // The choices reached the file, with the new message.
    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.MessageText, QStringLiteral("Sale today"));
    EXPECT_EQ(saved.FontSize, 60);
    EXPECT_EQ(saved.Offset, -10);
    EXPECT_EQ(saved.FontIndex, 1);
    EXPECT_EQ(saved.Bold + saved.Italic + saved.Strikethrough + saved.Underline, 4);
    EXPECT_EQ(saved.Speed, 10); // communication choices are stored at close, not here

    // The next upload with every box clear stores zeros.
    d = openEntry();
    EXPECT_FALSE(shared.UploadConfirmed);
    for (QCheckBox *box : {d->chkBold, d->chkItalic, d->chkST, d->chkUL})
        box->setChecked(false);
    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    QTRY_VERIFY(idle());
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.Bold + saved.Italic + saved.Strikethrough + saved.Underline, 0);
}

TEST_F(UploadTest, TestDrawsWhatBlockZeroHoldsAndChangesNothing)
{
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("Tg|"));
    d->cmbOffset->setCurrentIndex(12); // "+2"
    const QString chars = d->lblMsg[0]->text();
    const QString cols = d->lblMsg[1]->text();
    const Settings before = shared.settings;

    QTest::mouseClick(d->cmdTestMsg, Qt::LeftButton);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->lblMsg[0]->text(), chars);
    EXPECT_EQ(d->lblMsg[1]->text(), cols);
    EXPECT_EQ(shared.settings, before);
    EXPECT_EQ(shared.BlockCount, 0);
    // Read the preview back as the sign would: bit b of byte 2j + k is row 8k + b.
    const QImage preview = d->picSurface().image();
    QByteArray expected;
    for (int j = 0; j < 64; ++j)
        for (int k = 0; k < 2; ++k) {
            int value = 0;
            for (int b = 0; b < 8; ++b)
                if ((preview.pixel(j, 8 * k + b) & 0xFFFFFF) == 0)
                    value |= 1 << b;
            expected.append(char(value));
        }
    EXPECT_NE(expected, QByteArray(128, '\0'));
    // Testing twice draws the same picture.
    QTest::mouseClick(d->cmdTestMsg, Qt::LeftButton);
    EXPECT_EQ(d->picSurface().image(), preview);

    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(shared.ColumnBuffer.data()), 128),
              expected);
    QTRY_VERIFY(idle());
}

TEST_F(UploadTest, TooWideMessageIsRefusedAndNothingChanges)
{
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QString(250, QLatin1Char('W')));
    d->cmbFontSize->setCurrentIndex(54);
    d->chkBold->setChecked(true);
    const int width = d->lblMsg[1]->text().toInt();
    ASSERT_GT(width, 9663);
    shared.ColumnBuffer.fill(0x5A);
    const Settings before = shared.settings;

    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    ASSERT_EQ(notifier.count(QStringLiteral("Message Too Wide")), 1);
    const QString text = notifier.messages.first().text;
    EXPECT_TRUE(text.contains(QString::number(width)));
    EXPECT_TRUE(text.contains(QStringLiteral("9663")));
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(shared.UploadConfirmed);
    EXPECT_EQ(shared.settings, before);
    EXPECT_EQ(shared.BlockCount, 0);
    for (quint8 b : shared.ColumnBuffer)
        ASSERT_EQ(b, 0x5A);
    EXPECT_TRUE(main->cmdModify->isEnabled());
    QTest::qWait(30);
    EXPECT_TRUE(sign.received().isEmpty());

    // Shortened, the same message goes.
    d->txtMsg->setPlainText(QString(100, QLatin1Char('W')));
    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    QTRY_VERIFY(idle());
    EXPECT_EQ(notifier.messages.size(), 1);
}

// Widths past what 16 bits hold are refused as well, naming the real width.
TEST_F(UploadTest, WidthBeyondSixteenBitsIsRefusedAndNothingChanges)
{
    ui::frmDesign1 *d = openEntry();
    d->cmbFonts->setCurrentIndex(0); // DejaVu Sans
    d->cmbFontSize->setCurrentIndex(54);
    d->chkBold->setChecked(true);
    shared.ColumnBuffer.fill(0x5A);
    const Settings before = shared.settings;
    const QByteArray fileBefore = file.read();
    // "‱" (per ten thousand) is among the widest glyphs of DejaVu Sans: 151 columns bold
    // at 60 points.
    const QChar perTenThousand(0x2031);
    for (const QString &text : {QString(250, perTenThousand),
                                QString(200, perTenThousand) + QString(50, QLatin1Char('W'))}) {
        d->txtMsg->setPlainText(text);
        const int width = d->lblMsg[1]->text().toInt();
        ASSERT_GT(width, 32767);
        notifier.messages.clear();

        QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
        ASSERT_EQ(notifier.count(QStringLiteral("Message Too Wide")), 1);
        EXPECT_TRUE(notifier.messages.first().text.startsWith(
            QStringLiteral("The message is %1 columns wide;").arg(width)));
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(shared.UploadConfirmed);
        EXPECT_EQ(shared.settings, before);
        EXPECT_EQ(file.read(), fileBefore);
        EXPECT_EQ(shared.BlockCount, 0);
        for (quint8 b : shared.ColumnBuffer)
            ASSERT_EQ(b, 0x5A);
    }
    QTest::qWait(30);
    EXPECT_TRUE(sign.received().isEmpty());
    d->reject();
}

TEST_F(UploadTest, SerialChosenButNotOpenRefusesTheUpload)
{
    main->opt485->setChecked(true);
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("Kept anyway"));
    shared.ColumnBuffer.fill(0xEE);
    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    QTRY_VERIFY(idle());
    ASSERT_EQ(notifier.count(QStringLiteral("Upload Not Started")), 1);
    // The shared record holds the rendered blocks alone: no blank block was written.
    const int blocks = d->lblMsg[1]->text().toInt() / 64 + 1;
    EXPECT_EQ(shared.BlockCount, blocks);
    EXPECT_EQ(shared.ColumnBuffer[blocks * 128], 0xEE);
    EXPECT_TRUE(main->cmdModify->isEnabled());
    EXPECT_TRUE(main->lblMsg->text().isEmpty());
    QTest::qWait(30);
    EXPECT_TRUE(sign.received().isEmpty());
    // The operator's message is not lost.
    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.MessageText, QStringLiteral("Kept anyway"));
}

TEST_F(UploadTest, ClosingDuringATransferStopsItAndSaves)
{
    startMain(shared.settings, {200, 20});

    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("Last orders"));
    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    ASSERT_EQ(receive(1).size(), 1);
    main->cmbSA->setCurrentIndex(0);
    file.write(file.read().replace("127.0.0.1", "127.0.0.2")); // another program saved meanwhile
    main->close();
    EXPECT_TRUE(idle());
    QTest::qWait(400);
    EXPECT_TRUE(sign.received().isEmpty());

    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.MessageText, QStringLiteral("Last orders"));
    EXPECT_EQ(saved.SerialAddress, 1);
    EXPECT_EQ(saved.IpAddress, QStringLiteral("127.0.0.2"));
}

TEST_F(UploadTest, AnUploadSaysItWasSentCanBeStoppedAndGoesWhereTheTypedAddressSays)
{
    // The file names another loopback address, where nothing listens; the operator types the
    // sign's.
    shared.settings.IpAddress = QStringLiteral("127.0.0.2");
    ui::Services services = this->services();
    QStringList notices;
    services.desktopNotice = [&](const QString &, const QString &body) { notices << body; };
    startMain(shared.settings, {40, 20}, services);
    main->txtIP->setText(QStringLiteral(" 127.0.0.1 "));
    const auto upload = [&](const QString &text) {
        ui::frmDesign1 *d = openEntry();
        d->txtMsg->setPlainText(text);
        QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    };

    // Sent: the status says when and how, and a notice goes out only while another window is
    // active.
    const QRegularExpression sentLine("^Sent to the sign at \\d{1,2}:\\d\\d "
                                      "\\(LAN, 127\\.0\\.0\\.1\\)$");
    for (const bool active : {true, false}) {
        upload(QStringLiteral("Hi"));
        QWidget other;
        QWidget *const window = active ? static_cast<QWidget *>(main.get()) : &other;
        window->show();
        QApplication::setActiveWindow(window);
        QTRY_VERIFY(window->isActiveWindow());
        EXPECT_EQ(receive(8).size(), 8);
        QTRY_VERIFY(idle());
        EXPECT_TRUE(sentLine.match(main->lblMsg->text()).hasMatch())
            << main->lblMsg->text().toStdString();
        EXPECT_TRUE(main->lblMsg->accessibleName().endsWith(main->lblMsg->text()));
        EXPECT_EQ(notices.size(), active ? 0 : 1);
    }
    QApplication::setActiveWindow(main.get());

    // Stopped by the button, then by Escape: no frame after the one in flight, and the message
    // is saved as after a failed upload.
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Stop");
        const QString text = escape ? QStringLiteral("Esc") : QStringLiteral("Halt");
        upload(text);
        sign.waitFor(2, 10000);
        ASSERT_TRUE(main->cmdStop->isVisible());
        if (escape) {
            QApplication::setActiveWindow(main.get());
            QTRY_VERIFY(main->isActiveWindow());
            QTest::keyClick(main.get(), Qt::Key_Escape);
        } else
            QTest::mouseClick(main->cmdStop, Qt::LeftButton);
        EXPECT_TRUE(idle());
        EXPECT_FALSE(main->cmdStop->isVisible());
        QTest::qWait(150);
        EXPECT_EQ(main->lblMsg->text(),
                  QStringLiteral("Stopped after %1 of 8 frames").arg(sign.take().size()));
        Settings saved;
        ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
        EXPECT_EQ(saved.MessageText, text);
    }

    // Closing during an upload asks first: "No" lets it go on, "Yes" stops it and quits.
    upload(QStringLiteral("Quit"));
    EXPECT_EQ(receive(2).size(), 2);
    notifier.messages.clear();
    notifier.answer = false;
    main->close();
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(notifier.messages.size(), 1);
    EXPECT_TRUE(notifier.messages[0].text.startsWith("An upload is in progress (frame "))
        << notifier.messages[0].text.toStdString();
    EXPECT_TRUE(notifier.messages[0].text.endsWith(" of 8). Stop it and quit?"));
    EXPECT_FALSE(idle());
    notifier.answer = true;
    main->txtIP->setText(QStringLiteral("not, an address"));
    main->close();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(idle());
    // A typed address that the file cannot hold gets a box at the close; the file keeps its own.
    EXPECT_EQ(notifier.count(QStringLiteral("IP Address")), 1);
    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.IpAddress, QStringLiteral("127.0.0.2"));
    EXPECT_EQ(saved.MessageText, QStringLiteral("Quit"));
}
