#pragma once

#include "Settings.h"
#include "SignLink.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumawrite::platform {
class Notifier;
}

namespace lumawrite::ui {

// The "Configuration" window: gives a sign on the serial line a new serial ID or a new LAN
// transmit port. Commands go out on the serial line only, through the main window's Send485.
class frmConfig : public QDialog {
    Q_OBJECT
public:
    using Send485Function = std::function<void(const QByteArray &, link::SignLink::SendDone)>;

    frmConfig(const modMain &shared, platform::Notifier &notifier, Send485Function send485,
              QWidget *parent = nullptr);

    QComboBox *cmbSA;
    QLineEdit *txtTxPort;
    QPushButton *cmdUpdateSID;
    QPushButton *cmdUpdateTxPort;
    QPushButton *cmdClose;

private:
    void buildControls();
    void UpdateSID();
    void UpdateTxPort();
    void send(const QString &what);

    const modMain &m_shared;
    platform::Notifier &m_notifier;
    Send485Function m_send485;
    QByteArray m_txBuffer; // the last frame built by either Update button
};

} // namespace lumawrite::ui
