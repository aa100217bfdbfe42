#include "frmDesign1.h"

#include "Accessibility.h"
#include "WindowScale.h"

#include "Fonts.h"
#include "LeadingNumber.h"
#include "MessageEdit.h"
#include "MessagePlan.h"
#include "Notifier.h"
#include "SignPanel.h"
#include "UploadHistory.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace lumawrite::ui {
namespace {

constexpr int FirstSize = 6;
constexpr int LastSize = 60;
constexpr int FirstOffset = -10;
constexpr int LastOffset = 10;
// The list of messages holds this many recent uploads, each text with its choices once, and
// shows this much of each text.
constexpr int RecentCount = 10;
constexpr int RecentShownChars = 40;

// What a screen reader calls the counters and the fit check before reading their values.
QString charsName()
{
    return QCoreApplication::translate("lumawrite::ui::frmDesign1", "Characters");
}
QString colsName()
{
    return QCoreApplication::translate("lumawrite::ui::frmDesign1", "Columns");
}
QString fitName()
{
    return QCoreApplication::translate("lumawrite::ui::frmDesign1", "Fit check");
}

QLabel *counterLabel(QWidget *parent, const QString &name, const QString &spokenName)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    showSpokenText(label, spokenName, QStringLiteral("0"));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 128));
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel *captionLabel(QWidget *parent, const QString &name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    return label;
}

// Alt and the underlined letter of a group's title lead to one control of it, whichever of its
// controls was used last (a group box would go back to that one).
class ShortcutLeadsTo : public QObject {
public:
    ShortcutLeadsTo(QWidget *group, QWidget *target) : QObject(group), m_target(target)
    {
        group->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        m_target->setFocus(Qt::ShortcutFocusReason);
        return true;
    }

private:
    QWidget *m_target;
};

// A recent upload's text on one line, cut to what the list shows.
QString recentCaption(const QString &text)
{
    const QString line = text.simplified();
    const QString shown = line.size() <= RecentShownChars
                              ? line
                              : line.left(RecentShownChars - 1) + QChar(0x2026); // "..."
    return QCoreApplication::translate("lumawrite::ui::frmDesign1", "Recent: %1").arg(shown);
}

// The list of pictures shows each at twice the sign's dots, 32 pixels high; the first letters
// of a name typed go to it.
constexpr int PictureIconPixels = 2 * render::RowsPerColumn;

class PictureMenuStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_SmallIconSize)
            return PictureIconPixels;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

class PictureMenu : public QMenu {
public:
    using QMenu::QMenu;

protected:
    void showEvent(QShowEvent *event) override
    {
        m_typed.clear();
        m_typing.invalidate();
        QMenu::showEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        const QString typed = event->text();
        if (typed.size() != 1 || !typed[0].isPrint() || typed[0].isSpace() ||
            (event->modifiers() & ~Qt::ShiftModifier)) {
            QMenu::keyPressEvent(event);
            return;
        }
        // A pause of a second starts a new name.
        if (!m_typing.isValid() || m_typing.restart() > 1000)
            m_typed.clear();
        if (!m_typing.isValid())
            m_typing.start();
        m_typed += typed;
        const QList<QAction *> all = actions();
        const auto named = std::find_if(all.cbegin(), all.cend(), [this](const QAction *a) {
            return a->data().toString().startsWith(m_typed, Qt::CaseInsensitive);
        });
        if (named != all.cend())
            setActiveAction(*named);
        else
            QApplication::beep();
    }

private:
    QElapsedTimer m_typing;
    QString m_typed;
};

// A picture as the sign shows it: its lit dots amber on black, each dot two pixels square.
QIcon pictureIcon(const render::Picture &picture)
{
    QByteArray columns;
    for (const quint16 dots : picture.columns) {
        columns.append(char(dots & 0xff));
        columns.append(char(dots >> 8));
    }
    const QImage dots = render::columnPixels(columns);
    return QIcon(QPixmap::fromImage(
        dots.scaled(dots.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

} // namespace

frmDesign1::frmDesign1(modMain &shared, const QStringList &fontFamilies,
                       platform::Notifier &notifier, MessageFiles files,
                       std::function<int()> speedCode, QWidget *parent)
    : QDialog(parent), m_shared(shared), m_notifier(notifier), m_surface(signs::measuringSurface()),
      m_strip(signs::blockStrip()), m_fitStrip(signs::blockStrip()),
      m_speedCode(std::move(speedCode)), m_savedMessages(std::move(files.saved)),
      m_historyPath(std::move(files.history)), m_picturesFolder(std::move(files.pictures))
{
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(120);
    connect(&m_refresh, &QTimer::timeout, this, &frmDesign1::refreshSignView);
    setObjectName(QStringLiteral("frmDesign1"));
    setWindowTitle(tr("Text Entry"));
    setModal(true);
    buildControls();
    Load(fontFamilies);
}

frmDesign1::~frmDesign1() = default;

void frmDesign1::buildControls()
{
    setFixedSize(885, 404);
    setSizeGripEnabled(false);

    pic = new QLabel(this);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setGeometry(8, 8, 870, 26);
    pic->setAccessibleName(tr("Message preview"));

    auto *frame1 = new QGroupBox(tr("Select Font"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(8, 48, 300, 110);
    auto *label1 = captionLabel(frame1, QStringLiteral("Label1"), tr("Font:"), 10, 26);
    cmbFonts = new QComboBox(frame1);
    cmbFonts->setObjectName(QStringLiteral("cmbFonts"));
    cmbFonts->setGeometry(56, 22, 121, 24);
    cmbFonts->setMaxVisibleItems(20);
    label1->setBuddy(cmbFonts);
    auto *label2 = captionLabel(frame1, QStringLiteral("Label2"), tr("Size:"), 10, 54);
    cmbFontSize = new QComboBox(frame1);
    cmbFontSize->setObjectName(QStringLiteral("cmbFontSize"));
    cmbFontSize->setGeometry(56, 50, 64, 24);
    label2->setBuddy(cmbFontSize);
    auto *label5 = captionLabel(frame1, QStringLiteral("Label5"), tr("Offset:"), 10, 82);
    cmbOffset = new QComboBox(frame1);
    cmbOffset->setObjectName(QStringLiteral("cmbOffset"));
    cmbOffset->setGeometry(56, 78, 64, 24);
    label5->setBuddy(cmbOffset);

    auto makeCheck = [frame1](const char *name, const QString &caption, int y) {
        auto *box = new QCheckBox(caption, frame1);
        box->setObjectName(QLatin1String(name));
        box->move(184, y);
        return box;
    };
    chkBold = makeCheck("chkBold", tr("Bold"), 20);
    chkItalic = makeCheck("chkItalic", tr("Italic"), 41);
    chkST = makeCheck("chkST", tr("Strikethrough"), 62);
    chkUL = makeCheck("chkUL", tr("Underline"), 83);

    auto *frame3 = new QGroupBox(this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    frame3->setGeometry(312, 48, 137, 89);
    cmdInsert = new QPushButton(tr("^^Upload ^^"), frame3);
    cmdInsert->setObjectName(QStringLiteral("cmdInsert"));
    cmdInsert->setGeometry(16, 16, 105, 25);
    cmdInsert->setAutoDefault(false);
    // The caption stays as it is; a screen reader says the word.
    cmdInsert->setAccessibleName(tr("Upload"));
    cmdInsert->setToolTip(tr("Upload the message to the sign (Ctrl+Enter)"));
    cmdCancel = new QPushButton(tr("Cancel"), frame3);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(16, 48, 105, 25);
    cmdCancel->setAutoDefault(false);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDesign1::reject);
    connect(cmdInsert, &QPushButton::clicked, this, &frmDesign1::UploadMessage);

    auto *frame2 = new QGroupBox(tr("Message"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(480, 48, 398, 164);
    leaveUnspoken(captionLabel(frame2, QStringLiteral("Label3"), tr("Chars."), 8, 18));
    leaveUnspoken(captionLabel(frame2, QStringLiteral("Label4"), tr("Cols."), 80, 18));
    lblMsg[0] = counterLabel(frame2, QStringLiteral("lblMsg_0"), charsName());
    lblMsg[0]->setGeometry(8, 34, 65, 17);
    lblMsg[1] = counterLabel(frame2, QStringLiteral("lblMsg_1"), colsName());
    lblMsg[1]->setGeometry(80, 34, 65, 17);
    cmdTestMsg = new QPushButton(tr("Test "), frame2);
    cmdTestMsg->setObjectName(QStringLiteral("cmdTestMsg"));
    cmdTestMsg->setGeometry(216, 18, 73, 25);
    cmdTestMsg->setAutoDefault(false);
    cmdTestMsg->setAccessibleName(tr("Test"));
    connect(cmdTestMsg, &QPushButton::clicked, this, &frmDesign1::TestMessage);
    txtMsg = new MessageEdit(frame2);
    txtMsg->setObjectName(QStringLiteral("txtMsg"));
    txtMsg->setAccessibleName(tr("Message"));
    txtMsg->setGeometry(8, 56, 382, 100);
    txtMsg->setTabChangesFocus(true);

    // Between the counters and "Test ": the list of pictures, which puts the one chosen into the
    // message at the cursor; beside "Test ", how the images of the pictures folder are read.
    cmdPictures = new QPushButton(tr("&Pictures"), frame2);
    cmdPictures->setObjectName(QStringLiteral("cmdPictures"));
    cmdPictures->setGeometry(150, 18, 62, 25);
    cmdPictures->setAutoDefault(false);
    cmdPictures->setAccessibleName(tr("Pictures"));
    cmdPictures->setAccessibleDescription(
        tr("Lists the pictures; the one chosen goes into the message at the cursor as {NAME}."));
    cmdPictures->setToolTip(tr("Put a picture into the message at the cursor (Alt+P)"));
    mnuPictures = new PictureMenu(this);
    mnuPictures->setObjectName(QStringLiteral("mnuPictures"));
    mnuPictures->setAccessibleName(tr("Pictures"));
    auto *iconStyle = new PictureMenuStyle;
    iconStyle->setParent(mnuPictures);
    mnuPictures->setStyle(iconStyle);
    connect(cmdPictures, &QPushButton::clicked, this, [this] {
        fillPictureMenu();
        mnuPictures->popup(cmdPictures->mapToGlobal(QPoint(0, cmdPictures->height())));
        // Ready for the arrow keys and Enter, or for the first letters of a name.
        if (!mnuPictures->actions().isEmpty())
            mnuPictures->setActiveAction(mnuPictures->actions().first());
    });
    connect(mnuPictures, &QMenu::triggered, this,
            [this](QAction *chosen) { InsertPicture(chosen->data().toString()); });
    chkInvert = new QCheckBox(tr("&Invert"), frame2);
    chkInvert->setObjectName(QStringLiteral("chkInvert"));
    chkInvert->move(296, 22);
    chkInvert->setAccessibleName(tr("Invert pictures"));
    chkInvert->setAccessibleDescription(
        tr("Lights the light pixels of the pictures folder's images, for a light logo on a "
           "dark ground."));
    chkInvert->setToolTip(tr("Light the light pixels of the pictures folder's images instead "
                             "of the dark ones (Alt+I)"));
    connect(chkInvert, &QCheckBox::toggled, this, [this] {
        readPictures();
        RecountColumns();
    });

    auto *frame4 = new QGroupBox(tr("Sign view"), this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    frame4->setGeometry(8, 216, 870, 180);
    signPanel = new SignPanel(m_speedCode, frame4);
    signPanel->setObjectName(QStringLiteral("signPanel"));
    signPanel->move(10, 22);
    lblFit = new QLabel(frame4);
    lblFit->setObjectName(QStringLiteral("lblFit"));
    lblFit->setAccessibleName(fitName());
    lblFit->setGeometry(676, 22, 186, 116);
    lblFit->setWordWrap(true);
    lblFit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdFit = new QPushButton(tr("Fit"), frame4);
    cmdFit->setObjectName(QStringLiteral("cmdFit"));
    cmdFit->setToolTip(tr("Choose the largest size and an offset that keep all of "
                          "the text inside the sign's 16 rows"));
    cmdFit->setGeometry(676, 144, 80, 25);
    cmdFit->setAutoDefault(false);
    connect(cmdFit, &QPushButton::clicked, this, &frmDesign1::FitMessage);

    // Below the typeface choices and the commands, above the sign view: the list of messages
    // to put back, and what can be done with the one chosen. Alt+V reaches the list.
    auto *frame5 = new QGroupBox(tr("Sa&ved messages"), this);
    frame5->setObjectName(QStringLiteral("Frame5"));
    frame5->setGeometry(8, 162, 464, 50);
    cmbSaved = new QComboBox(frame5);
    cmbSaved->setObjectName(QStringLiteral("cmbSaved"));
    cmbSaved->setGeometry(8, 18, 164, 24);
    cmbSaved->setMaxVisibleItems(20);
    // The list keeps its width; a long name or text is cut in it, and shown whole in its tip.
    cmbSaved->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbSaved->setMinimumContentsLength(14);
    cmbSaved->setPlaceholderText(tr("Choose a message"));
    cmbSaved->setAccessibleName(tr("Saved and recent messages"));
    cmbSaved->setAccessibleDescription(tr("Choosing a message puts its text and choices in the "
                                          "window; nothing is sent until Upload."));
    new ShortcutLeadsTo(frame5, cmbSaved);
    auto makeCommand = [frame5](const char *name, const QString &caption, const QString &spoken,
                                const QString &tip, int x, int width) {
        auto *button = new QPushButton(caption, frame5);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(x, 18, width, 25);
        button->setAutoDefault(false);
        button->setAccessibleName(spoken);
        button->setToolTip(tip);
        return button;
    };
    cmdSave = makeCommand("cmdSave", tr("&Save..."), tr("Save message"),
                          tr("Save the message and its choices under a name (Alt+S)"), 176, 84);
    cmdRename = makeCommand("cmdRename", tr("&Rename..."), tr("Rename saved message"),
                            tr("Give the chosen saved message another name (Alt+R)"), 264,
                            104); // room for the longer German caption
    cmdDelete = makeCommand("cmdDelete", tr("&Delete"), tr("Delete saved message"),
                            tr("Delete the chosen saved message (Alt+D)"), 372, 84);
    cmdRename->setEnabled(false);
    cmdDelete->setEnabled(false);
    connect(cmbSaved, &QComboBox::activated, this, &frmDesign1::MessageChosen);
    connect(cmbSaved, &QComboBox::currentIndexChanged, this, [this] {
        const bool saved = !chosenName().isEmpty();
        cmdRename->setEnabled(saved);
        cmdDelete->setEnabled(saved);
    });
    connect(cmdSave, &QPushButton::clicked, this, &frmDesign1::SaveMessage);
    connect(cmdRename, &QPushButton::clicked, this, &frmDesign1::RenameMessage);
    connect(cmdDelete, &QPushButton::clicked, this, &frmDesign1::DeleteMessage);

    connect(cmbFonts, &QComboBox::currentIndexChanged, this, &frmDesign1::FontSelected);
    connect(cmbOffset, &QComboBox::currentIndexChanged, this, &frmDesign1::scheduleRefresh);
    connect(cmbFontSize, &QComboBox::currentIndexChanged, this, &frmDesign1::SizeSelected);
    for (QCheckBox *box : {chkBold, chkItalic, chkST, chkUL})
        connect(box, &QCheckBox::toggled, this, &frmDesign1::StyleChanged);
    connect(txtMsg, &QPlainTextEdit::textChanged, this, &frmDesign1::TextChanged);

    // From the message to the typeface choices, then to the commands and the sign view.
    QList<QWidget *> order{txtMsg,     cmbFonts,    cmbFontSize, cmbOffset, chkBold,
                           chkItalic,  chkST,       chkUL,       cmdInsert, cmdCancel,
                           cmdTestMsg, cmdPictures, chkInvert};
    for (QWidget *inView : signPanel->findChildren<QWidget *>())
        if (inView->focusPolicy() & Qt::TabFocus)
            order.append(inView);
    order.append(cmdFit);
    order.append({cmbSaved, cmdSave, cmdRename, cmdDelete});
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Ctrl+Enter uploads from anywhere in the window, the message box too.
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *upload = new QShortcut(keys, this);
        connect(upload, &QShortcut::activated, cmdInsert, &QPushButton::click);
    }
    pressButtonsOnEnter(this);
    scaleToDesktopFont(this, {pic});
}

void frmDesign1::Load(const QStringList &fontFamilies)
{
    const Settings &s = m_shared.settings;
    readPictures();

    // The font list, kept in alphabetical order; first entry selected.
    m_fontList = platform::fontListOrder(fontFamilies);
    cmbFonts->addItems(m_fontList);
    cmbFonts->setCurrentIndex(m_fontList.isEmpty() ? -1 : 0);

    // The size and offset lists, with their first choices "12" and "0".
    for (int size = FirstSize; size <= LastSize; ++size)
        cmbFontSize->addItem(QString::number(size));
    cmbFontSize->setCurrentIndex(12 - FirstSize);
    for (int offset = FirstOffset; offset <= LastOffset; ++offset)
        cmbOffset->addItem(QString::number(offset));
    cmbOffset->setCurrentIndex(0 - FirstOffset);

    // No upload has been confirmed in this showing.
    m_shared.UploadConfirmed = false;

    // The stored message drawn on the surface in the stored font.
    const int fontPosition = signs::storedFontPosition(s.FontIndex, m_fontList);
    render::drawMessage(m_surface, signs::storedMessage(s, fontFamilyAt(fontPosition)), pictures());
    refreshPic(tr("the stored message \"%1\"").arg(s.MessageText.simplified()));

    // The text, then its counters.
    txtMsg->setMessageText(s.MessageText);
    RecountColumns();

    // The stored choices, each set through its control so that its handler runs.
    cmbFonts->setCurrentIndex(fontPosition);
    cmbFontSize->setCurrentIndex(SettingsRange::fontSize(s.FontSize) - FirstSize);
    chkBold->setChecked(SettingsRange::styleOn(s.Bold));
    chkItalic->setChecked(SettingsRange::styleOn(s.Italic));
    chkST->setChecked(SettingsRange::styleOn(s.Strikethrough));
    chkUL->setChecked(SettingsRange::styleOn(s.Underline));
    cmbOffset->setCurrentIndex(SettingsRange::offset(s.Offset) - FirstOffset);
}

QString frmDesign1::fontFamilyAt(int position) const
{
    if (position < 0 || position >= cmbFonts->count())
        return {};
    return cmbFonts->itemText(position);
}

void frmDesign1::RecountColumns()
{
    const int width = render::measureMessage(m_surface, controlsRequest(), pictures());
    showSpokenText(lblMsg[1], colsName(), QString::number(width));
    // The counter's field turns red when the message is too wide to upload.
    QPalette palette = lblMsg[1]->palette();
    palette.setColor(QPalette::Window,
                     width > signs::MaxMessageColumns ? QColor(192, 0, 0) : QColor(0, 0, 128));
    lblMsg[1]->setPalette(palette);
    scheduleRefresh();
}

void frmDesign1::scheduleRefresh()
{
    m_refresh.start();
}

void frmDesign1::refreshSignView()
{
    m_refresh.stop();
    const render::RenderRequest r = renderRequest();
    const std::vector<quint8> image = render::renderMessageColumns(m_strip, r, pictures());
    signPanel->setImage(
        QByteArray(reinterpret_cast<const char *>(image.data()), qsizetype(image.size())));
    m_fit = signs::checkMessageFit(m_fitStrip, r, pictures());
    showSpokenText(lblFit, fitName(), fitText());
    signPanel->describe(tr("Sign view: the message as the sign will show it, %1 blocks; %2")
                            .arg(int(image.size()) / render::BytesPerBlock)
                            .arg(fitText().simplified()));
}

QString fitSummary(const render::FitReport &report, const QString &text,
                   const QList<render::Picture> &pictures)
{
    const bool withPictures = render::holdsPictures(render::splitMessage(text, pictures));
    if (!report.hasInk && report.missingCharacters.isEmpty() && !withPictures)
        return QCoreApplication::translate("lumawrite::ui::frmDesign1", "Nothing to show yet.");
    QStringList lines = render::fitFindings(report) + signs::pictureFindings(text, pictures);
    if (lines.isEmpty())
        lines << (withPictures
                      ? QCoreApplication::translate("lumawrite::ui::frmDesign1",
                                                    "All of the message fits the sign's 16 rows.")
                      : QCoreApplication::translate("lumawrite::ui::frmDesign1",
                                                    "All of the text fits the sign's 16 rows."));
    return lines.join(QLatin1Char('\n'));
}

QString frmDesign1::fitText() const
{
    QStringList lines;
    if (!m_missingFont.isEmpty())
        lines << tr("The typeface \"%1\" is not installed here; the message is shown in %2.")
                     .arg(m_missingFont, fontFamilyAt(cmbFonts->currentIndex()));
    const QString text = txtMsg->messageText();
    // A picture the message names that could not be read is told again here: it stays text.
    lines << signs::namedProblems(m_pictures, text) << fitSummary(m_fit, text, pictures());
    return lines.join(QLatin1Char('\n'));
}

void frmDesign1::FitMessage()
{
    const auto choice = signs::bestMessageFit(m_fitStrip, renderRequest(), pictures());
    if (!choice) {
        showSpokenText(lblFit, fitName(),
                       m_fit.hasInk ? tr("No size from 6 to 60 keeps this text "
                                         "inside the 16 rows.")
                                    : tr("Nothing to fit yet."));
        return;
    }
    // Through the lists, so that the counters and the view follow as for a choice by hand.
    cmbFontSize->setCurrentIndex(choice->pointSize - FirstSize);
    cmbOffset->setCurrentIndex(choice->offset - FirstOffset);
    refreshSignView();
}

void frmDesign1::FontSelected()
{
    const QString family = fontFamilyAt(cmbFonts->currentIndex());
    m_missingFont.clear(); // a typeface chosen here stands for the one that was not installed
    QFont font = txtMsg->font();
    font.setFamily(family);
    txtMsg->setFont(font);
    m_surface.setFontName(family);
    RecountColumns();
}

void frmDesign1::SizeSelected()
{
    const int position = cmbFontSize->currentIndex();
    if (position < 0)
        return;
    const double points = position + FirstSize;
    QFont font = txtMsg->font();
    font.setPointSizeF(points);
    txtMsg->setFont(font);
    m_surface.setFontSize(points);
    RecountColumns();
}

void frmDesign1::StyleChanged()
{
    // Only the surface takes the styles; the text box keeps its regular style.
    m_surface.setBold(chkBold->isChecked());
    m_surface.setItalic(chkItalic->isChecked());
    m_surface.setStrikethrough(chkST->isChecked());
    m_surface.setUnderline(chkUL->isChecked());
    RecountColumns();
}

void frmDesign1::TextChanged()
{
    showSpokenText(lblMsg[0], charsName(),
                   QString::number(render::countChars(txtMsg->toPlainText())));
    RecountColumns();
}

render::RenderRequest frmDesign1::renderRequest() const
{
    render::RenderRequest r = controlsRequest();
    // The column counter's caption, read as a number; it may be far wider than 16 bits hold.
    // A caption that cannot be read back is measured again, never taken as an empty message.
    const auto shown = roundToInt(leadingNumber(lblMsg[1]->text()));
    if (shown) {
        r.width = *shown;
    } else {
        platform::ImageSurface surface = m_surface;
        r.width = render::measureMessage(surface, r, pictures());
    }
    return r;
}

render::RenderRequest frmDesign1::controlsRequest() const
{
    render::RenderRequest r;
    r.family = fontFamilyAt(cmbFonts->currentIndex());
    r.pointSize = cmbFontSize->currentIndex() + FirstSize;
    r.bold = chkBold->isChecked();
    r.italic = chkItalic->isChecked();
    r.strikethrough = chkST->isChecked();
    r.underline = chkUL->isChecked();
    r.offset = cmbOffset->currentIndex() + FirstOffset;
    r.text = txtMsg->messageText();
    return r;
}

void frmDesign1::TestMessage()
{
    // Draws the message exactly where block 0 of an upload takes it from.
    const render::RenderRequest r = renderRequest();
    render::drawMessage(m_surface, r, pictures());
    refreshPic(tr("\"%1\" from its first column").arg(r.text.simplified()));
}

void frmDesign1::UploadMessage()
{
    const render::RenderRequest r = renderRequest();
    if (r.width > signs::MaxMessageColumns) {
        // Nothing is rendered and nothing changes: the operator shortens the message.
        m_notifier.warning(this, tr("Message Too Wide"),
                           tr("The message is %1 columns wide; the sign takes at most "
                              "%2 columns (%3 blocks).\nShorten the text or choose a "
                              "smaller size.")
                               .arg(r.width)
                               .arg(signs::MaxMessageColumns)
                               .arg(signs::MaxMessageBlocks));
        return;
    }

    m_plan = {r, render::renderMessageColumns(m_strip, r, pictures())};
    // The surface is left showing the last block, as the block-by-block rendering leaves it.
    render::drawMessage(m_surface, r, pictures(), -render::ColumnsPerBlock * (m_plan.blocks() - 1));
    refreshPic(tr("the last of %1 blocks of \"%2\"").arg(m_plan.blocks()).arg(r.text.simplified()));

    m_shared.UploadConfirmed = true;
    storeMessageChoices(m_shared.settings, cmbFonts->currentIndex(), r.pointSize, r.bold, r.italic,
                        r.strikethrough, r.underline, r.offset, r.text);
    // Hidden last: the main window carries on as soon as the window is hidden.
    QDialog::accept();
}

void frmDesign1::refreshPic(const QString &shown)
{
    pic->setPixmap(QPixmap::fromImage(m_surface.image()));
    describe(pic, tr("Message preview: %1").arg(shown));
}

void frmDesign1::reject()
{
    m_shared.UploadConfirmed = false;
    QDialog::reject();
}

void frmDesign1::showEvent(QShowEvent *event)
{
    m_shared.UploadConfirmed = false;
    QDialog::showEvent(event);
    // Every showing starts in the message, all of it selected, ready to be typed over.
    txtMsg->setFocus(Qt::OtherFocusReason);
    txtMsg->selectAll();
    // A picture may have been put into the folder or taken out since.
    readPictures();
    RecountColumns();
    // Once the window stands, so that the message stands over it.
    QTimer::singleShot(0, this, &frmDesign1::tellPictureProblems);
    // Another program may have saved a message, and the last upload is recent now.
    refreshMessageList(chosenName());
}

void frmDesign1::readPictures()
{
    m_pictures = signs::readPictures(m_picturesFolder, chkInvert->isChecked());
}

void frmDesign1::tellPictureProblems()
{
    if (!m_pictures.problems.isEmpty() && m_pictures.problems != m_toldPictures)
        m_notifier.warning(this, tr("Pictures Not Read"),
                           tr("A message that names one of these shows its name as text:\n%1")
                               .arg(m_pictures.problems.join(QLatin1Char('\n'))));
    m_toldPictures = m_pictures.problems;
}

void frmDesign1::fillPictureMenu()
{
    mnuPictures->clear();
    for (const render::Picture &picture : pictures()) {
        QAction *entry = mnuPictures->addAction(
            pictureIcon(picture), QString(picture.name).replace(QLatin1Char('&'), "&&"));
        entry->setData(picture.name);
    }
}

void frmDesign1::InsertPicture(const QString &name)
{
    const QString named = QLatin1Char('{') + name + QLatin1Char('}');
    txtMsg->setFocus(Qt::OtherFocusReason);
    if (!txtMsg->insertWhole(named))
        m_notifier.warning(this, tr("No Room for the Picture"),
                           tr("%1 does not fit into the message: it holds at most %2 "
                              "characters, a line break counting two.")
                               .arg(named)
                               .arg(MessageEdit::MaxChars));
}

void frmDesign1::refreshMessageList(const QString &chosen)
{
    QList<signs::SavedMessage> saved;
    const QString savedError = m_savedMessages.load(saved);
    QList<signs::HistoryEntry> uploads;
    const QString historyError = signs::UploadHistory(m_historyPath).read(uploads);

    m_listed.clear();
    cmbSaved->clear();
    for (const signs::SavedMessage &message : saved) {
        m_listed.append({message.name, message.text, message.choices});
        cmbSaved->addItem(message.name, int(m_listed.size() - 1));
    }
    const qsizetype firstRecent = m_listed.size();
    for (const signs::HistoryEntry &upload : uploads) {
        if (m_listed.size() - firstRecent >= RecentCount)
            break;
        const bool listed = std::any_of(
            m_listed.cbegin() + firstRecent, m_listed.cend(), [&](const ListedMessage &m) {
                return m.text == upload.text && m.choices == upload.choices;
            });
        if (listed)
            continue;
        if (m_listed.size() == firstRecent && firstRecent > 0)
            cmbSaved->insertSeparator(cmbSaved->count());
        m_listed.append({QString(), upload.text, upload.choices});
        cmbSaved->addItem(recentCaption(upload.text), int(m_listed.size() - 1));
    }
    // Each entry's tip holds its whole text; the saved message of the name given stays chosen.
    int chosenIndex = -1;
    for (int i = 0; i < cmbSaved->count(); ++i) {
        const QVariant at = cmbSaved->itemData(i);
        if (!at.isValid())
            continue; // the line between saved and recent
        const ListedMessage &listed = m_listed[at.toInt()];
        cmbSaved->setItemData(
            i, QString(listed.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
            Qt::ToolTipRole);
        if (!chosen.isEmpty() && listed.name == chosen)
            chosenIndex = i;
    }
    cmbSaved->setCurrentIndex(chosenIndex);

    // A file that cannot be read is told once, not at every showing.
    QStringList unread;
    if (!savedError.isEmpty())
        unread << tr("The saved messages are not listed: %1.").arg(savedError);
    if (!historyError.isEmpty())
        unread << tr("The recent uploads are not listed: %1.").arg(historyError);
    const QString told = unread.join(QLatin1Char('\n'));
    if (!told.isEmpty() && told != m_unreadable)
        m_notifier.warning(this, tr("Messages Not Read"), told);
    m_unreadable = told;
}

QString frmDesign1::chosenName() const
{
    const QVariant at = cmbSaved->currentData();
    return at.isValid() ? m_listed.value(at.toInt()).name : QString();
}

void frmDesign1::MessageChosen(int index)
{
    const QVariant at = cmbSaved->itemData(index);
    if (!at.isValid())
        return;
    const ListedMessage message = m_listed.value(at.toInt());
    txtMsg->setMessageText(message.text);
    // Each choice through its control, as by hand; a choice the message leaves out keeps what
    // the control shows.
    const signs::Overrides &c = message.choices;
    m_missingFont.clear();
    if (c.font) {
        const int position = signs::fontPosition(m_fontList, *c.font);
        if (position >= 0)
            cmbFonts->setCurrentIndex(position);
        else // the typeface shown stays; the fit check tells
            m_missingFont = *c.font;
    }
    const auto choose = [](QComboBox *list, const std::optional<int> &value, int first) {
        if (value && *value - first >= 0 && *value - first < list->count())
            list->setCurrentIndex(*value - first);
    };
    choose(cmbFontSize, c.size, FirstSize);
    choose(cmbOffset, c.offset, FirstOffset);
    for (const auto &[box, on] : {std::pair{chkBold, c.bold},
                                  {chkItalic, c.italic},
                                  {chkST, c.strikethrough},
                                  {chkUL, c.underline}})
        if (on)
            box->setChecked(*on);
    refreshSignView();
}

void frmDesign1::askName(const QString &title, const QString &name,
                         std::function<void(const QString &)> taken)
{
    if (m_namePrompt)
        return;
    auto *prompt = new QInputDialog(this);
    m_namePrompt = prompt;
    prompt->setObjectName(QStringLiteral("namePrompt"));
    prompt->setWindowTitle(title);
    prompt->setInputMode(QInputDialog::TextInput);
    prompt->setLabelText(tr("Name (at most %1 characters):").arg(signs::MaxSavedNameChars));
    prompt->setTextValue(name);
    if (auto *field = prompt->findChild<QLineEdit *>()) {
        field->setMaxLength(signs::MaxSavedNameChars);
        field->setAccessibleName(tr("Name"));
        field->selectAll(); // typed over, or taken as it is
    }
    prompt->setWindowModality(Qt::WindowModal);
    connect(prompt, &QInputDialog::textValueSelected, this, std::move(taken));
    connect(prompt, &QDialog::finished, prompt, &QObject::deleteLater);
    prompt->open();
}

bool frmDesign1::tellChange(const signs::SavedMessages::Change &change, const QString &failedTitle,
                            const QString &failedText)
{
    if (!change.notice.isEmpty())
        m_notifier.show(this, platform::Notifier::Kind::Information, tr("Saved Messages"),
                        change.notice + QLatin1Char('.'));
    if (!change.ok())
        m_notifier.warning(this, failedTitle, failedText.arg(change.error));
    return change.ok();
}

void frmDesign1::SaveMessage()
{
    askName(tr("Save Message"), chosenName(), [this](const QString &typed) {
        const QString name = typed.trimmed();
        if (m_savedMessages.find(name) &&
            !m_notifier.ask(this, tr("Replace Saved Message"),
                            tr("A message is already saved as \"%1\". Replace it?").arg(name)))
            return;
        // What the controls show now, every choice with it.
        const render::RenderRequest r = renderRequest();
        signs::SavedMessage message;
        message.name = name;
        message.text = r.text;
        message.choices = signs::messageChoicesOf(r);
        const bool saved = tellChange(m_savedMessages.save(message), tr("Message Not Saved"),
                                      tr("The message was not saved: %1."));
        refreshMessageList(saved ? name : chosenName());
    });
}

void frmDesign1::RenameMessage()
{
    const QString from = chosenName();
    if (from.isEmpty())
        return;
    askName(tr("Rename Saved Message"), from, [this, from](const QString &typed) {
        const QString to = typed.trimmed();
        if (to == from)
            return;
        const bool renamed = tellChange(m_savedMessages.rename(from, to), tr("Message Not Renamed"),
                                        tr("The message was not renamed: %1."));
        refreshMessageList(renamed ? to : from);
    });
}

void frmDesign1::DeleteMessage()
{
    const QString name = chosenName();
    if (name.isEmpty() || !m_notifier.ask(this, tr("Delete Saved Message"),
                                          tr("Delete the saved message \"%1\"?").arg(name)))
        return;
    tellChange(m_savedMessages.remove(name), tr("Message Not Deleted"),
               tr("The message was not deleted: %1."));
    refreshMessageList(name);
}

void frmDesign1::closeEvent(QCloseEvent *event)
{
    // The title-bar close control discards the window; its next use rebuilds it from the
    // settings. No handler of the window runs.
    event->accept();
    m_discarded = true;
    QDialog::done(QDialog::Rejected);
}

} // namespace lumawrite::ui
