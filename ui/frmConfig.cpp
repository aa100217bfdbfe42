#include "frmConfig.h"

#include "Accessibility.h"
#include "WindowScale.h"

#include <algorithm>

#include "Frames.h"
#include "LeadingNumber.h"
#include "Notifier.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace lumawrite::ui {

frmConfig::frmConfig(const modMain &shared, platform::Notifier &notifier, Send485Function send485,
                     QWidget *parent)
    : QDialog(parent), m_shared(shared), m_notifier(notifier), m_send485(std::move(send485))
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(tr("Configuration"));
    setModal(true);
    buildControls();

    for (int address = 1; address <= 50; ++address)
        cmbSA->addItem(QStringLiteral("%1").arg(address, 2, 10, QLatin1Char('0')));
    cmbSA->setCurrentIndex(SettingsRange::serialAddressIndex(m_shared.settings.SerialAddress));
    txtTxPort->setText(QString::number(m_shared.settings.LocalPort));
}

void frmConfig::buildControls()
{
    setFixedSize(341, 194);

    auto *frame1 = new QGroupBox(tr("New Serial ID:"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(24, 8, 289, 57);
    auto *label1 = new QLabel(tr("Serial ID:"), frame1);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(24, 24, 49, 17);
    cmbSA = new QComboBox(frame1);
    cmbSA->setObjectName(QStringLiteral("cmbSA"));
    cmbSA->setGeometry(104, 24, 73, 21);
    label1->setBuddy(cmbSA);
    cmdUpdateSID = new QPushButton(tr("Update"), frame1);
    cmdUpdateSID->setObjectName(QStringLiteral("cmdUpdateSID"));
    cmdUpdateSID->setAccessibleName(tr("Update serial ID"));
    cmdUpdateSID->setGeometry(200, 24, 73, 25);
    cmdUpdateSID->setAutoDefault(false);

    auto *frame2 = new QGroupBox(tr("New LAN Transmit Port:"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(24, 72, 289, 73);
    auto *label2 = new QLabel(tr("Transmit Port:"), frame2);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(16, 32, 73, 17);
    txtTxPort = new QLineEdit(frame2);
    txtTxPort->setObjectName(QStringLiteral("txtTxPort"));
    txtTxPort->setGeometry(104, 32, 73, 19);
    label2->setBuddy(txtTxPort);
    cmdUpdateTxPort = new QPushButton(tr("Update"), frame2);
    cmdUpdateTxPort->setObjectName(QStringLiteral("cmdUpdateTxPort"));
    cmdUpdateTxPort->setAccessibleName(tr("Update transmit port"));
    cmdUpdateTxPort->setGeometry(200, 24, 73, 25);
    cmdUpdateTxPort->setAutoDefault(false);

    cmdClose = new QPushButton(tr("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(120, 160, 105, 25);
    cmdClose->setAutoDefault(false);

    // The positions are those given in twips (15 to a pixel at 96 dpi). A caption wider than
    // its given box (in German, or at a larger font) reaches on toward the control beside it
    // rather than be cut off.
    for (QLabel *caption : {label1, label2}) {
        const int room = caption->buddy()->x() - caption->x() - 4;
        const int wanted = caption->sizeHint().width();
        if (wanted > caption->width())
            caption->resize(std::min(wanted, room), caption->height());
    }

    setTabOrder(cmbSA, txtTxPort);
    setTabOrder(txtTxPort, cmdUpdateSID);
    setTabOrder(cmdUpdateSID, cmdUpdateTxPort);
    setTabOrder(cmdUpdateTxPort, cmdClose);

    connect(cmdUpdateSID, &QPushButton::clicked, this, &frmConfig::UpdateSID);
    connect(cmdUpdateTxPort, &QPushButton::clicked, this, &frmConfig::UpdateTxPort);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    pressButtonsOnEnter(this);
    scaleToDesktopFont(this);
}

void frmConfig::UpdateSID()
{
    m_txBuffer = link::frames::setSerialIdFrame(link::frames::addressDigits(cmbSA->currentIndex()));
    send(tr("The new serial ID"));
}

void frmConfig::UpdateTxPort()
{
    // A port the frame cannot carry is refused; a wrapped value never goes out.
    const auto port = leadingNumberIn(txtTxPort->text(), 0, 32767);
    if (!port) {
        m_notifier.warning(this, tr("Transmit Port"),
                           tr("\"%1\" is not a transmit port from 0 to 32767. "
                              "Nothing was sent.")
                               .arg(txtTxPort->text()));
        return;
    }
    m_txBuffer = link::frames::setTransmitPortFrame(
        link::frames::addressDigits(cmbSA->currentIndex()), quint16(*port));
    send(tr("The new transmit port"));
}

void frmConfig::send(const QString &what)
{
    if (!m_shared.SerialPortOpen) {
        m_notifier.warning(this, tr("Serial Port Not Open"),
                           tr("%1 was not sent: configuration commands go out on the "
                              "serial line only, and the serial port did not open "
                              "when Luma Write started.")
                               .arg(what));
        return;
    }
    // One command at a time: the buttons wait for the reply window.
    cmdUpdateSID->setEnabled(false);
    cmdUpdateTxPort->setEnabled(false);
    QPointer<frmConfig> self(this);
    m_send485(m_txBuffer, [self, what](const link::SignLink::SendResult &result) {
        if (!self)
            return;
        self->cmdUpdateSID->setEnabled(true);
        self->cmdUpdateTxPort->setEnabled(true);
        if (!result.error.isEmpty())
            self->m_notifier.critical(self, tr("Communication Port Error!"),
                                      tr("%1 was not sent.\n%2").arg(what, result.error));
    });
}

} // namespace lumawrite::ui
