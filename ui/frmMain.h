#pragma once

#include "ColumnImage.h"
#include "ImageSurface.h"
#include "MessagePlan.h"
#include "MessageTransfer.h"
#include "Services.h"
#include "Settings.h"
#include "UploadHistory.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace lumawrite::link {
class SignLink;
}

namespace lumawrite::ui {

class frmDesign1;

// The main window: the communication parameters, the preview strip with the stored message,
// and the commands that open the text entry and configuration windows.
class frmMain : public QWidget {
    Q_OBJECT
public:
    frmMain(modMain &shared, Services services, QWidget *parent = nullptr);
    ~frmMain() override;

    // The text entry window, created (and loaded from the settings) on first use.
    frmDesign1 *design();

    link::SignLink &signLink() { return *m_link; }
    link::MessageTransfer &transfer() { return *m_transfer; }

    // Writes a frame to the serial line and waits its reply window (the configuration window
    // sends through here).
    void Send485(const QByteArray &TxData, link::SignLink::SendDone done);
    const platform::ImageSurface &previewSurface() const { return m_preview; }

    // Ends an upload under way after the frame in flight (the Stop button, Escape).
    void stopUpload();
    // Closes the window without asking, also during an upload (a termination signal).
    void quitNow();
    // F1: the manual page, or the first steps where the desktop cannot show it.
    void showHelp();
    // Shift+F1: the version, the licence and the contact.
    void showAbout();

    QLabel *pic;
    QLineEdit *txtIP;
    QComboBox *cmbSA;
    QLineEdit *txtLocalPort;
    QRadioButton *optLAN;
    QRadioButton *opt485;
    QComboBox *cmbPort;
    QPushButton *cmdConfig;
    QLabel *lblMsg;
    QPushButton *cmdModify;
    QComboBox *cmbSpeed;
    QProgressBar *prgUpload;
    QPushButton *cmdStop;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Load();
    // The message in the preview strip, with the pictures it names.
    void drawPreview(const render::RenderRequest &message, const QList<render::Picture> &pictures);
    void cmdModifyClick();
    void cmdConfigClick();
    void designFinished();
    void SendMessage(const render::UploadPlan &plan);
    void transferBegun(int blocks);
    void showProgress(int framesDone, int framesTotal, qint64 remainingMs);
    void transferFinished(const link::MessageTransfer::Outcome &outcome);
    // The history's entry for an upload that ended so, with why it did not go whole (incomplete:
    // what is said of frames not sent); none for one refused before its first frame.
    std::optional<signs::HistoryEntry> historyEntry(const link::MessageTransfer::Outcome &outcome,
                                                    const QString &incomplete) const;
    // Adds the upload to the history; a history that cannot be written is told once a run,
    // and only where told.
    void keepInHistory(const std::optional<signs::HistoryEntry> &entry, bool tell);
    void Unload();
    // Saves the fields this save owns, with any whose last save failed or never came.
    void saveSettings(SettingsFields owned);

    modMain &m_shared;
    Services m_services;
    platform::ImageSurface m_preview;
    link::SignLink *m_link;
    link::MessageTransfer *m_transfer;
    QPointer<frmDesign1> m_design;
    SettingsFields m_unsaved = 0; // fields changed in memory that no save has written yet
    // How an upload that ends Stopped came to stop.
    enum class Stopping { No, ByOperator, ByClosing };
    Stopping m_stopping = Stopping::No;
    bool m_quitting = false; // closing without the question
    struct {
        int framesDone = 0;
        int framesTotal = 0;
    } m_progress;                    // of the upload under way
    signs::MessageChoices m_sending; // the message, link and sign of the upload under way
    bool m_historyTold = false;      // that the history could not be written
};

} // namespace lumawrite::ui
