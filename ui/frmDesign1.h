#pragma once

#include "ColumnImage.h"
#include "ImageSurface.h"
#include "PictureFiles.h"
#include "SavedMessages.h"
#include "Settings.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QInputDialog;
class QLabel;
class QMenu;
class QPushButton;

namespace lumawrite::platform {
class Notifier;
}

namespace lumawrite::ui {

class MessageEdit;
class SignPanel;

// What the fit check says of a report, one finding a line, as the text entry window shows it;
// with the pictures the message's text names, what it says of them too.
QString fitSummary(const render::FitReport &report, const QString &text = {},
                   const QList<render::Picture> &pictures = {});

// Where Text Entry keeps the messages saved under a name, and reads the recent uploads from.
struct MessageFiles {
    QString saved;    // messages.json
    QString history;  // the history of uploads
    QString pictures; // the folder of the pictures a message may name, besides ours
};

// The "Text Entry" window: the message, its typeface, size, styles and vertical offset, with
// live character and column counters. Its controls keep the operator's last choices between
// showings; a confirmed upload leaves its plan for the main window. Messages saved under a name
// and the recent uploads can be put back in the controls, and the message saved, renamed or
// deleted there. "{NAME}" in the message is a picture, the program's own or an image of the
// pictures folder, chosen from a list of them or typed; every count, drawing and check takes it.
class frmDesign1 : public QDialog {
    Q_OBJECT
public:
    // speedCode gives the sign's speed code chosen in the main window, for the sign view.
    frmDesign1(modMain &shared, const QStringList &fontFamilies, platform::Notifier &notifier,
               MessageFiles files, std::function<int()> speedCode = {}, QWidget *parent = nullptr);
    ~frmDesign1() override;

    // The typeface name at a position of the font list (empty beyond it).
    QString fontFamilyAt(int position) const;
    // The font list, in its order: the stored font is a position in it.
    const QStringList &fontList() const { return m_fontList; }

    // The message as the controls describe it, with the width the column counter shows.
    render::RenderRequest renderRequest() const;

    // What the last confirmed upload rendered: its choices and its column image.
    const render::UploadPlan &uploadPlan() const { return m_plan; }

    // Renders the current message into the sign view and checks how it fits. Runs on a short
    // idle timer after every edit.
    void refreshSignView();
    const render::FitReport &fitReport() const { return m_fit; }

    // True once the title-bar close control has discarded this window.
    bool discarded() const { return m_discarded; }

    const platform::ImageSurface &picSurface() const { return m_surface; }

    // The pictures a message may name now: ours and the folder's, as Invert reads them.
    const QList<render::Picture> &pictures() const { return m_pictures.pictures; }

    QComboBox *cmbFonts;
    QComboBox *cmbFontSize;
    QComboBox *cmbOffset;
    QCheckBox *chkBold;
    QCheckBox *chkItalic;
    QCheckBox *chkST;
    QCheckBox *chkUL;
    QPushButton *cmdInsert;
    QPushButton *cmdCancel;
    QPushButton *cmdTestMsg;
    MessageEdit *txtMsg;
    QLabel *lblMsg[2];
    QLabel *pic;
    SignPanel *signPanel;
    QLabel *lblFit;
    QPushButton *cmdFit;
    // The saved messages by name, then the recent uploads; choosing one fills the controls.
    QComboBox *cmbSaved;
    QPushButton *cmdSave;
    QPushButton *cmdRename;
    QPushButton *cmdDelete;
    // Opens the list of pictures; the one chosen goes into the message at the cursor as {NAME}.
    QPushButton *cmdPictures;
    QMenu *mnuPictures;
    // Lights the light pixels of the folder's images instead of the dark ones.
    QCheckBox *chkInvert;

public slots:
    // "Cancel" and the Esc key: hides the window, keeping every control as it is.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Load(const QStringList &fontFamilies);
    void RecountColumns();
    void FontSelected();
    void SizeSelected();
    void StyleChanged();
    void TextChanged();
    // Shows the surface in the preview strip; shown says what it holds, for a screen reader.
    void refreshPic(const QString &shown);
    void TestMessage();
    void UploadMessage();
    void FitMessage();
    void scheduleRefresh();
    QString fitText() const;
    // The message and its choices as the controls hold them, without its width.
    render::RenderRequest controlsRequest() const;
    // Reads the pictures folder again, as Invert asks.
    void readPictures();
    // Says once what in the pictures folder cannot be used.
    void tellPictureProblems();
    void fillPictureMenu();
    void InsertPicture(const QString &name);

    // A message the list can put back: a saved one (with its name) or a recent upload.
    struct ListedMessage {
        QString name; // empty for a recent upload
        QString text;
        signs::Overrides choices;
    };
    // Reads the saved messages and the history again; the saved message of that name stays
    // chosen, else none is.
    void refreshMessageList(const QString &chosen);
    void MessageChosen(int index);
    // The name of the saved message chosen in the list; empty when none is.
    QString chosenName() const;
    void SaveMessage();
    void RenameMessage();
    void DeleteMessage();
    // Asks for a name in a small window of its own; taken gets it once the operator confirms.
    void askName(const QString &title, const QString &name,
                 std::function<void(const QString &)> taken);
    // Tells what a change of the saved messages ran into; true when it was made.
    bool tellChange(const signs::SavedMessages::Change &change, const QString &failedTitle,
                    const QString &failedText);

    modMain &m_shared;
    platform::Notifier &m_notifier;
    QStringList m_fontList;
    platform::ImageSurface m_surface;
    platform::ImageSurface m_strip;    // the whole message, drawn once
    platform::ImageSurface m_fitStrip; // the whole message with room around it
    std::function<int()> m_speedCode;
    QTimer m_refresh;
    render::FitReport m_fit;
    render::UploadPlan m_plan;
    bool m_discarded = false;
    bool m_placed = false;
    signs::SavedMessages m_savedMessages;
    QString m_historyPath;
    QList<ListedMessage> m_listed;
    QString m_missingFont; // the typeface of the message put back, when it is not installed
    QString m_unreadable;  // what was last told of files that could not be read
    QString m_picturesFolder;
    signs::PictureSet m_pictures;
    QStringList m_toldPictures;          // what was last told of the pictures folder
    QPointer<QInputDialog> m_namePrompt; // while one is open
};

} // namespace lumawrite::ui
