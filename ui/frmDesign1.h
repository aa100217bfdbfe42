#pragma once

#include "ColumnImage.h"
#include "ImageSurface.h"
#include "Settings.h"

#include <QDialog>
#include <QStringList>

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

// The "Text Entry" window: the message, its typeface, size, styles and vertical offset, with
// live character and column counters. Its controls keep the operator's last choices between
// showings; the main window and the upload read them directly.
class frmDesign1 : public QDialog {
    Q_OBJECT
public:
    frmDesign1(modMain &shared, const QStringList &fontFamilies, platform::Notifier &notifier,
               QWidget *parent = nullptr);
    ~frmDesign1() override;

    // The typeface name at a position of the font list (empty beyond it).
    QString fontFamilyAt(int position) const;

    // The message as the controls describe it, with the width the column counter shows.
    render::RenderRequest renderRequest() const;

    // True once the title-bar close control has discarded this window.
    bool discarded() const { return m_discarded; }

    render::Surface &surface() { return m_surface; }
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
    void refreshPic();
    void TestMessage();
    void UploadMessage();

    modMain &m_shared;
    platform::Notifier &m_notifier;
    platform::ImageSurface m_surface;
    bool m_discarded = false;
    bool m_placed = false;
};

} // namespace lumawrite::ui
