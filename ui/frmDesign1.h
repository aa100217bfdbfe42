#pragma once

#include "ColumnImage.h"
#include "ImageSurface.h"
#include "Settings.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace lumawrite::platform {
class Notifier;
}

namespace lumawrite::ui {

class MessageEdit;
class SignPanel;

// What the fit check says of a report, one finding a line, as the text entry window shows it.
QString fitSummary(const render::FitReport &report);

// The "Text Entry" window: the message, its typeface, size, styles and vertical offset, with
// live character and column counters. Its controls keep the operator's last choices between
// showings; a confirmed upload leaves its plan for the main window.
class frmDesign1 : public QDialog {
    Q_OBJECT
public:
    // speedCode gives the sign's speed code chosen in the main window, for the sign view.
    frmDesign1(modMain &shared, const QStringList &fontFamilies, platform::Notifier &notifier,
               std::function<int()> speedCode = {}, QWidget *parent = nullptr);
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
};

} // namespace lumawrite::ui
