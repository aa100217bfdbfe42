#include "frmMain.h"

#include "Accessibility.h"
#include "WindowScale.h"

#include "Frames.h"
#include "LeadingNumber.h"
#include "LumaWriteVersion.h"
#include "MessageEdit.h"
#include "MessagePlan.h"
#include "MessageTransfer.h"
#include "Notifier.h"
#include "SettingsStore.h"
#include "SignFleet.h"
#include "SignLink.h"
#include "frmConfig.h"
#include "frmDesign1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTime>

#include <algorithm>

namespace lumawrite::ui {
namespace {

const QString ContactAddress = QStringLiteral("support@vireline.example");

QString serialErrorTitle()
{
    return QCoreApplication::translate("lumawrite::ui::frmMain", "Communication Port Error!");
}

// What a screen reader calls the upload status before reading it.
QString statusName()
{
    return QCoreApplication::translate("lumawrite::ui::frmMain", "Upload status");
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

QLabel *logoLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *l = label(parent, name, text, geometry);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, QColor(192, 255, 192));
    palette.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(palette);
    return l;
}

// The device a COM entry opens; a device there now is marked so, with what the system knows
// of it.
QString portToolTip(const QString &device, const platform::SerialDevice &found)
{
    if (device.isEmpty())
        return QCoreApplication::translate("lumawrite::ui::frmMain", "No device");
    if (!found.present)
        return device;
    QString tip = QCoreApplication::translate("lumawrite::ui::frmMain", "%1 (present)").arg(device);
    if (!found.description.isEmpty())
        tip += QLatin1Char('\n') + found.description;
    if (!found.serialNumber.isEmpty())
        tip += QLatin1Char('\n') +
               QCoreApplication::translate("lumawrite::ui::frmMain", "Serial number %1")
                   .arg(found.serialNumber);
    return tip;
}

} // namespace

frmMain::frmMain(modMain &shared, Services services, QWidget *parent)
    : QWidget(parent), m_shared(shared), m_services(std::move(services)),
      m_preview(QSize(753, 33), Qt::black, Qt::yellow),
      m_link(new link::SignLink(m_services.comPorts, m_services.timing, m_services.signPort,
                                m_services.hostResolver, this)),
      m_transfer(new link::MessageTransfer(
          *m_link,
          {[this] { return optLAN->isChecked(); }, [this] { return cmbSpeed->currentIndex(); }},
          this))
{
    if (m_services.datagramSender)
        m_link->setDatagramSender(m_services.datagramSender);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Luma Write"));
    buildControls();
    // Placed before its load, so that a box the load raises stands where the window will.
    move(platform::centredOnScreen(size()));
    Load();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    setFixedSize(772, 234);

    pic = label(this, QStringLiteral("pic"), QString(), QRect(8, 8, 753, 33));
    pic->setAccessibleName(tr("Message preview"));

    auto *frameDisp = new QGroupBox(tr("Communication Parameters"), this);
    frameDisp->setObjectName(QStringLiteral("FrameDisp"));
    frameDisp->setGeometry(16, 48, 313, 137);
    auto *lblIP =
        label(frameDisp, QStringLiteral("lblIP"), tr("IP Address:"), QRect(12, 26, 100, 22));
    txtIP = new QLineEdit(QStringLiteral("192.168.1.151"), frameDisp);
    txtIP->setObjectName(QStringLiteral("txtIP"));
    txtIP->setGeometry(116, 24, 185, 24);
    lblIP->setBuddy(txtIP);
    auto *lblSA =
        label(frameDisp, QStringLiteral("lblSA"), tr("Serial Address:"), QRect(12, 56, 100, 22));
    cmbSA = new QComboBox(frameDisp);
    cmbSA->setObjectName(QStringLiteral("cmbSA"));
    cmbSA->setGeometry(116, 54, 57, 24);
    lblSA->setBuddy(cmbSA);
    auto *label3 =
        label(frameDisp, QStringLiteral("Label3_0"), tr("Rx Port:"), QRect(186, 56, 56, 22));
    txtLocalPort = new QLineEdit(QStringLiteral("2000"), frameDisp);
    txtLocalPort->setObjectName(QStringLiteral("txtLocalPort"));
    txtLocalPort->setGeometry(244, 54, 57, 24);
    label3->setBuddy(txtLocalPort);
    optLAN = new QRadioButton(tr("LAN"), frameDisp);
    optLAN->setObjectName(QStringLiteral("optLAN"));
    optLAN->setGeometry(12, 84, 150, 22);
    optLAN->setChecked(true);
    opt485 = new QRadioButton(tr("Serial (RS-485)"), frameDisp);
    opt485->setObjectName(QStringLiteral("opt485"));
    opt485->setGeometry(12, 106, 130, 22);
    auto *label2 =
        label(frameDisp, QStringLiteral("Label2_0"), tr("Port ID:"), QRect(150, 106, 56, 22));
    cmbPort = new QComboBox(frameDisp);
    cmbPort->setObjectName(QStringLiteral("cmbPort"));
    cmbPort->setGeometry(206, 104, 95, 24);
    cmbPort->setMaxVisibleItems(20);
    label2->setBuddy(cmbPort);

    cmdConfig = new QPushButton(tr("Configuration"), this);
    cmdConfig->setObjectName(QStringLiteral("cmdConfig"));
    cmdConfig->setGeometry(88, 196, 169, 25);

    auto *frame1 = new QGroupBox(tr("New Message"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(336, 48, 425, 81);
    // The status line reaches across the frame: the progress and Stop stand over its end while
    // an upload runs, and a finished upload's line has room.
    lblMsg = label(frame1, QStringLiteral("lblMsg"), QString(), QRect(24, 20, 393, 20));
    lblMsg->setAccessibleName(statusName());
    prgUpload = new QProgressBar(frame1);
    prgUpload->setObjectName(QStringLiteral("prgUpload"));
    prgUpload->setAccessibleName(tr("Upload progress"));
    prgUpload->setGeometry(218, 20, 135, 20);
    prgUpload->setVisible(false);
    cmdStop = new QPushButton(tr("Stop"), frame1);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setGeometry(357, 18, 60, 24);
    cmdStop->setToolTip(tr("Stop the upload after the frame under way (Esc)"));
    cmdStop->setVisible(false);
    cmdModify = new QPushButton(tr("Modify"), frame1);
    cmdModify->setObjectName(QStringLiteral("cmdModify"));
    cmdModify->setGeometry(16, 46, 169, 25);
    auto *label1 = label(frame1, QStringLiteral("Label1_0"), tr("Speed:"), QRect(250, 48, 50, 22));
    cmbSpeed = new QComboBox(frame1);
    cmbSpeed->setObjectName(QStringLiteral("cmbSpeed"));
    cmbSpeed->setGeometry(302, 46, 115, 24);
    label1->setBuddy(cmbSpeed);

    auto *frame2 = new QFrame(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(360, 136, 385, 89);
    frame2->setAutoFillBackground(true);
    QPalette teal = frame2->palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    frame2->setPalette(teal);
    auto *image1 = label(frame2, QStringLiteral("Image1"), QString(), QRect(8, 11, 167, 67));
    image1->setPixmap(QPixmap(QStringLiteral(":/lumawrite/logo.png")));
    image1->setScaledContents(true);
    image1->setAccessibleName(tr("Vireline logo"));
    auto *title = logoLabel(frame2, QStringLiteral("Label3_1"), QStringLiteral("Vireline"),
                            QRect(184, 11, 193, 24));
    QFont titleFont(QStringLiteral("Calibri"));
    titleFont.setPointSizeF(14.25);
    titleFont.setBold(true);
    title->setFont(titleFont);
    logoLabel(frame2, QStringLiteral("Label1_1"), QString::fromLatin1(version::caption),
              QRect(184, 37, 193, 18));
    auto *contact =
        logoLabel(frame2, QStringLiteral("Label2_1"), ContactAddress, QRect(184, 57, 193, 20));
    QPalette blue = contact->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    contact->setPalette(blue);

    connect(cmdModify, &QPushButton::clicked, this, &frmMain::cmdModifyClick);
    connect(cmdConfig, &QPushButton::clicked, this, &frmMain::cmdConfigClick);
    connect(cmdStop, &QPushButton::clicked, this, &frmMain::stopUpload);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmMain::stopUpload);
    // Ctrl+Q closes as the close box does, with the same question during an upload.
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &frmMain::showHelp);
    auto *about = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &frmMain::showAbout);
    connect(m_transfer, &link::MessageTransfer::statusChanged, this,
            [this](const QString &status) { showSpokenText(lblMsg, statusName(), status); });
    connect(m_transfer, &link::MessageTransfer::begun, this, &frmMain::transferBegun);
    connect(m_transfer, &link::MessageTransfer::progress, this, &frmMain::showProgress);
    connect(m_transfer, &link::MessageTransfer::finished, this, &frmMain::transferFinished);
    pressButtonsOnEnter(this);
    scaleToDesktopFont(this, {pic});
}

void frmMain::Load()
{
    const Settings &s = m_shared.settings;

    // The speed, address and COM lists; a stored value outside a list selects the default's.
    for (int speed = 1; speed <= 10; ++speed)
        cmbSpeed->addItem(QString::number(speed));
    cmbSpeed->setItemText(0, cmbSpeed->itemText(0) + tr(" - Slowest"));
    cmbSpeed->setItemText(9, cmbSpeed->itemText(9) + tr(" - Fastest"));
    cmbSpeed->setCurrentIndex(SettingsRange::speedIndex(s.Speed));

    for (int address = 1; address <= 50; ++address)
        cmbSA->addItem(QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')));
    cmbSA->setCurrentIndex(SettingsRange::serialAddressIndex(s.SerialAddress));

    const platform::SerialDevices devices;
    for (int port = SettingsRange::FirstComPort; port <= SettingsRange::LastComPort; ++port) {
        cmbPort->addItem(QStringLiteral("COM %1").arg(port));
        const QString device = m_services.comPorts ? m_services.comPorts(port) : QString();
        cmbPort->setItemData(port - SettingsRange::FirstComPort,
                             portToolTip(device, devices.find(device)), Qt::ToolTipRole);
    }
    connect(cmbPort, &QComboBox::currentIndexChanged, this, [this](int index) {
        cmbPort->setToolTip(cmbPort->itemData(index, Qt::ToolTipRole).toString());
    });
    cmbPort->setCurrentIndex(SettingsRange::comPortIndex(s.ComPort));
    cmbPort->setToolTip(cmbPort->currentData(Qt::ToolTipRole).toString());

    // The sign address and receive port in their boxes; link type 1 is the LAN, any other serial.
    txtIP->setText(s.IpAddress);
    txtLocalPort->setText(QString::number(s.LocalPort));
    if (s.LinkType == 1)
        optLAN->setChecked(true);
    else
        opt485->setChecked(true);

    // The preview strip, in the stored font; this creates the text entry window, hidden.
    frmDesign1 *entry = design();
    const int fontPosition = signs::storedFontPosition(s.FontIndex, entry->fontList());
    drawPreview(signs::storedMessage(s, entry->fontFamilyAt(fontPosition)), entry->pictures());

    // The sockets. A receive port that cannot be bound leaves the run without
    // replies; it changes no setting.
    m_link->setDestination(s.IpAddress);
    const QString receiveError = m_link->openReceiver(s.LocalPort);
    if (!receiveError.isEmpty())
        m_services.notifier->warning(this, tr("Rx Port Error"), receiveError);

    // The serial port, the one shown in the list.
    m_shared.SerialPortOpen = false;
    const QString serialError = m_link->openSerial(qint16(cmbPort->currentIndex() + 1));
    if (serialError.isEmpty())
        m_shared.SerialPortOpen = true;
    else if (m_services.portsReport.isEmpty())
        m_services.notifier->critical(this, serialErrorTitle(), serialError);
    else
        m_services.notifier->critical(this, serialErrorTitle(),
                                      serialError + QStringLiteral("\n\n") +
                                          m_services.portsReport);

    connect(m_link, &link::SignLink::serialFailed, this, [this](const QString &reason) {
        m_shared.SerialPortOpen = false;
        // An upload over the serial line ends here, and reports it with its frame count.
        if (m_transfer->running() && !optLAN->isChecked())
            m_transfer->fail(reason);
        else if (!m_link->busy()) // a configuration command waiting reports it itself
            m_services.notifier->critical(this, serialErrorTitle(), reason);
    });
}

void frmMain::drawPreview(const render::RenderRequest &message,
                          const QList<render::Picture> &pictures)
{
    render::drawMessage(m_preview, message, pictures);
    pic->setPixmap(QPixmap::fromImage(m_preview.image()));
    // Checked with room around the rows, as the text entry window checks it.
    platform::ImageSurface fitStrip(QSize(64, 16), Qt::black, Qt::yellow);
    describe(pic, tr("Message preview: \"%1\", the message last sent to the sign; %2")
                      .arg(message.text.simplified(),
                           fitSummary(signs::checkMessageFit(fitStrip, message, pictures),
                                      message.text, pictures)
                               .simplified()));
}

frmDesign1 *frmMain::design()
{
    if (!m_design) {
        const QString saved = m_services.savedMessagesPath.isEmpty()
                                  ? signs::savedMessagesBeside(m_services.store->path())
                                  : m_services.savedMessagesPath;
        const QString pictures = m_services.picturesPath.isEmpty()
                                     ? signs::picturesBeside(m_services.store->path())
                                     : m_services.picturesPath;
        m_design = new frmDesign1(
            m_shared, m_services.fontFamilies(), *m_services.notifier,
            {saved, m_services.historyPath, pictures},
            [this] { return link::frames::speedCode(cmbSpeed->currentIndex()); }, this);
        m_design->setWindowFlag(Qt::Dialog);
        connect(m_design, &QDialog::finished, this, &frmMain::designFinished);
    }
    return m_design;
}

void frmMain::cmdConfigClick()
{
    auto *config = new frmConfig(
        m_shared, *m_services.notifier,
        [this](const QByteArray &frame, link::SignLink::SendDone done) {
            Send485(frame, std::move(done));
        },
        this);
    config->setWindowFlag(Qt::Dialog);
    config->setAttribute(Qt::WA_DeleteOnClose);
    config->setWindowModality(Qt::ApplicationModal);
    config->move(platform::centredOnScreen(config->size(), screen()));
    config->show();
    config->activateWindow();
}

void frmMain::Send485(const QByteArray &TxData, link::SignLink::SendDone done)
{
    if (m_link->busy() || m_transfer->running()) {
        done({tr("An upload is using the serial line; try again when it is over."), false,
              link::LinkError::LineBusy});
        return;
    }
    m_link->Send485(TxData, std::move(done));
}

void frmMain::cmdModifyClick()
{
    frmDesign1 *entry = design();
    entry->setWindowModality(Qt::ApplicationModal);
    // Centred on the screen, as the configuration window is: at larger fonts it is wider than
    // the main window.
    entry->move(platform::centredOnScreen(entry->size(), screen()));
    entry->show();
    entry->activateWindow();
}

void frmMain::designFinished()
{
    frmDesign1 *entry = m_design;
    if (!entry)
        return;
    if (entry->discarded()) {
        m_design = nullptr;
        entry->deleteLater();
        return;
    }
    if (!m_shared.UploadConfirmed)
        return;

    const render::UploadPlan &plan = entry->uploadPlan();
    drawPreview(plan.request, entry->pictures());
    SendMessage(plan);
}

void frmMain::SendMessage(const render::UploadPlan &plan)
{
    // The shared record holds the message as the sign is to hold it: its rendered blocks now,
    // the blank blocks behind them once the transfer begins.
    const std::size_t bytes = std::min(plan.columns.size(), m_shared.ColumnBuffer.size());
    std::copy_n(plan.columns.begin(), bytes, m_shared.ColumnBuffer.begin());
    m_shared.BlockCount = qint16(plan.blocks());

    // One transfer at a time: it owns the frame buffer, the timers and the serial port.
    cmdModify->setEnabled(false);
    cmdConfig->setEnabled(false);
    prgUpload->setValue(0);
    prgUpload->setVisible(true);
    cmdStop->setVisible(true);
    m_stopping = Stopping::No;
    m_progress = {};
    // The address as typed now goes to the sign; the file takes it when the window closes.
    if (txtIP->text().trimmed() != m_link->destination())
        m_link->setDestination(txtIP->text());
    m_sending = {};
    m_sending.request = plan.request;
    m_sending.lan = optLAN->isChecked();
    m_sending.comPort = cmbPort->currentIndex() + 1;
    m_sending.serialAddressIndex = cmbSA->currentIndex();
    m_sending.speedIndex = cmbSpeed->currentIndex();
    m_sending.host = txtIP->text().trimmed();
    m_transfer->SendMessage(plan.columns, cmbSA->currentIndex());
}

void frmMain::transferBegun(int blocks)
{
    // Blank behind the message, whatever a longer message left there.
    static_assert(sizeof(modMain::ColumnBuffer) >=
                  (link::frames::MaxMessageBlocks + link::frames::BlankBlocksBehind) *
                      link::frames::BlockBytes);
    std::fill(m_shared.ColumnBuffer.begin() + m_shared.BlockCount * link::frames::BlockBytes,
              m_shared.ColumnBuffer.begin() + blocks * link::frames::BlockBytes, quint8(0));
    m_shared.BlockCount = qint16(blocks);
}

void frmMain::showProgress(int framesDone, int framesTotal, qint64 remainingMs)
{
    m_progress = {framesDone, framesTotal};
    prgUpload->setMaximum(framesTotal);
    prgUpload->setValue(framesDone);
    const qint64 seconds = signs::secondsLeft(remainingMs);
    prgUpload->setFormat(seconds >= 60
                             ? tr("%p% - %1 min %2 s left").arg(seconds / 60).arg(seconds % 60)
                             : tr("%p% - %1 s left").arg(seconds));
}

void frmMain::transferFinished(const link::MessageTransfer::Outcome &outcome)
{
    using Result = link::MessageTransfer::Result;
    cmdModify->setEnabled(true);
    cmdConfig->setEnabled(true);
    prgUpload->setVisible(false);
    cmdStop->setVisible(false);
    showSpokenText(lblMsg, statusName(), QString());
    const QString incomplete =
        tr("%1 of %2 frames were not sent: the serial link was chosen during the "
           "upload, but the serial port is not open. Upload the message again.")
            .arg(outcome.framesSkipped)
            .arg(outcome.framesTotal);
    // Made as the upload ends, kept once the upload's own messages are out of the way.
    const std::optional<signs::HistoryEntry> ended = historyEntry(outcome, incomplete);
    if (outcome.result == Result::Stopped && m_stopping != Stopping::ByOperator) {
        // The window is closing and saves the settings itself, the message's choices with them.
        m_unsaved |= SettingsField::TextEntry;
        keepInHistory(ended, false);
        return;
    }

    if (outcome.result == Result::Stopped) {
        showSpokenText(
            lblMsg, statusName(),
            tr("Stopped after %1 of %2 frames").arg(outcome.framesSent).arg(outcome.framesTotal));
    } else if (outcome.result == Result::Completed && outcome.framesSkipped == 0) {
        const QString way = optLAN->isChecked() ? tr("LAN, %1").arg(txtIP->text().trimmed())
                                                : tr("serial line, %1").arg(cmbPort->currentText());
        // The time as the desktop writes it, to the minute.
        QString clock = QLocale().timeFormat(QLocale::ShortFormat);
        clock.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
        const QString sent =
            tr("Sent to the sign at %1 (%2)").arg(QTime::currentTime().toString(clock), way);
        showSpokenText(lblMsg, statusName(), sent);
        // The desktop says it when the operator is in another program's window.
        bool ours = false;
        for (const QWidget *w = QApplication::activeWindow(); w && !ours; w = w->parentWidget())
            ours = w == this;
        if (!ours && m_services.desktopNotice)
            m_services.desktopNotice(tr("Luma Write"), sent);
    }

    if (outcome.result == Result::Refused) {
        m_services.notifier->warning(this, tr("Upload Not Started"), outcome.message);
    } else if (outcome.result == Result::Failed) {
        m_services.notifier->critical(
            this, tr("Upload Failed"),
            signs::stoppedUploadText(outcome.message, outcome.framesSent, outcome.framesTotal));
    } else if (outcome.framesSkipped > 0) {
        m_services.notifier->warning(this, tr("Upload Incomplete"), incomplete);
    }
    // The message and its choices are kept whatever happened on the line.
    saveSettings(SettingsField::TextEntry);
    // Last, so that what the history runs into never stands before the upload's own messages.
    keepInHistory(ended, true);
}

std::optional<signs::HistoryEntry>
frmMain::historyEntry(const link::MessageTransfer::Outcome &outcome,
                      const QString &incomplete) const
{
    using Result = link::MessageTransfer::Result;
    using Kept = signs::HistoryEntry::Outcome;
    Kept kept = Kept::Failed;
    QString reason = outcome.message;
    if (outcome.result == Result::Refused) {
        return std::nullopt; // nothing went to the sign
    } else if (outcome.result == Result::Stopped) {
        kept = Kept::Stopped;
        reason = m_stopping == Stopping::ByOperator ? tr("Stopped by the operator")
                                                    : tr("Luma Write was closed during the upload");
    } else if (outcome.framesSkipped > 0) {
        reason = incomplete;
    } else if (outcome.result == Result::Completed) {
        kept = Kept::Sent;
    }
    return signs::historyEntry(m_sending,
                               signs::SignFleet::signLabel(m_sending, m_services.signPort), kept,
                               outcome.framesSent, outcome.framesTotal, reason);
}

void frmMain::keepInHistory(const std::optional<signs::HistoryEntry> &entry, bool tell)
{
    if (!entry)
        return;
    const QString error = signs::UploadHistory(m_services.historyPath).add(*entry);
    if (error.isEmpty() || !tell || m_historyTold)
        return;
    m_historyTold = true;
    m_services.notifier->warning(this, tr("History Not Kept"),
                                 tr("The upload was not added to the history of uploads: %1.\n"
                                    "The upload itself is not affected. This is not said again "
                                    "until Luma Write starts again.")
                                     .arg(error));
}

void frmMain::Unload()
{
    Settings &s = m_shared.settings;
    s.SerialAddress = qint16(cmbSA->currentIndex() + 1);
    s.LinkType = optLAN->isChecked() ? 1 : 2;
    s.ComPort = qint16(cmbPort->currentIndex() + 1);
    s.Speed = qint16(cmbSpeed->currentIndex() + 1);

    // The receive port is a 16-bit field: a value it cannot hold keeps the previous port.
    const auto port = leadingNumberIn(txtLocalPort->text(), 0, 32767);
    if (port) {
        s.LocalPort = *port;
    } else {
        m_services.notifier->warning(this, tr("Rx Port"),
                                     tr("\"%1\" is not a receive port from 0 to 32767.\n"
                                        "The receive port stays %2.")
                                         .arg(txtLocalPort->text())
                                         .arg(s.LocalPort));
    }

    // The sign's address as typed, when it changed and the file can hold it; only then is it
    // written, so that an address another program saved meanwhile stays otherwise.
    SettingsFields owned = SettingsField::MainWindow;
    const QString typed = txtIP->text().trimmed();
    if (typed != s.IpAddress) {
        if (signs::storableSignAddress(typed)) {
            s.IpAddress = typed;
            owned |= SettingsField::IpAddress;
        } else {
            m_services.notifier->warning(
                this, tr("IP Address"),
                tr("\"%1\" is not a sign address: give its IP address or host name, without "
                   "double quotes, commas or control characters.\nThe sign address stays %2.")
                    .arg(txtIP->text(), s.IpAddress));
        }
    }
    saveSettings(owned);
}

void frmMain::saveSettings(SettingsFields owned)
{
    // Another program may have saved meanwhile: only what this window changed goes over it.
    owned |= m_unsaved;
    const QString error = m_services.store->SaveFields(m_shared.settings, owned);
    m_unsaved = error.isEmpty() ? 0 : owned;
    if (!error.isEmpty()) {
        m_services.notifier->critical(this, tr("Settings Not Saved"),
                                      tr("%1\nThe settings file was left as it was.").arg(error));
    }
}

void frmMain::showHelp()
{
    if (m_services.openUrl && m_services.openUrl(QUrl(QStringLiteral("man:lumawrite"))))
        return;
    m_services.notifier->show(
        this, platform::Notifier::Kind::Information, tr("Luma Write Help"),
        tr("Luma Write sends a one-line message to an LED message sign.\n\n"
           "1. Choose the link (LAN or Serial), the sign's serial address and the speed; for the "
           "LAN type the sign's IP address.\n"
           "2. Modify opens Text Entry: type the message and choose the typeface, size, styles "
           "and offset. The sign view shows the message as the sign will.\n"
           "3. ^^Upload ^^ (Ctrl+Enter) sends it. Stop (Esc) ends an upload.\n\n"
           "The manual page (man lumawrite) and the README tell more. Shift+F1 shows the "
           "version."));
}

// The package's description (CMakeLists.txt, project()), for the translations.
[[maybe_unused]] const char *const DescriptionText = QT_TRANSLATE_NOOP(
    "lumawrite::ui::frmMain", "Composes a one-line message and uploads it to an LED message sign");

void frmMain::showAbout()
{
    m_services.notifier->show(this, platform::Notifier::Kind::Information, tr("About Luma Write"),
                              tr("Luma Write %1\n%2.\n\nLicence: %3\nContact: %4")
                                  .arg(QString::fromLatin1(version::full), tr(version::description),
                                       QString::fromLatin1(version::licence),
                                       QString::fromUtf8(version::contact)));
}

void frmMain::stopUpload()
{
    if (!m_transfer->running())
        return;
    m_stopping = Stopping::ByOperator;
    m_transfer->stop();
}

void frmMain::quitNow()
{
    m_quitting = true;
    close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_transfer->running() && !m_quitting &&
        !m_services.notifier->ask(this, tr("Upload in Progress"),
                                  tr("An upload is in progress (frame %1 of %2). Stop it and quit?")
                                      .arg(qMin(m_progress.framesDone + 1, m_progress.framesTotal))
                                      .arg(m_progress.framesTotal))) {
        event->ignore();
        return;
    }
    // Frames still to come are dropped; the settings are saved as at any close.
    m_stopping = Stopping::ByClosing;
    m_transfer->stop();
    Unload();
    event->accept();
    if (m_design)
        m_design->hide();
}

} // namespace lumawrite::ui
