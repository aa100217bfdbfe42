#include "LedView.h"
#include "MessageEdit.h"
#include "Notifier.h"
#include "SavedMessages.h"
#include "SignPanel.h"
#include "TestSupport.h"
#include "UploadHistory.h"
#include "WindowScale.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <QAbstractButton>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

class TextEntryTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        Settings s = safeSettings();
        s.MessageText = QStringLiteral("Fresh bread daily");
        main = makeMain(s, services());
    }

    ui::frmDesign1 *openEntry()
    {
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        ui::frmDesign1 *d = main->design();
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(d->isModal());
        return d;
    }

    int chars(ui::frmDesign1 *d) { return d->lblMsg[0]->text().toInt(); }
    int cols(ui::frmDesign1 *d) { return d->lblMsg[1]->text().toInt(); }

    signs::SavedMessages saved()
    {
        return signs::SavedMessages(signs::savedMessagesBeside(file.path()));
    }
    // The file as "first: its text, second, ...".
    std::string savedFile()
    {
        QList<signs::SavedMessage> messages;
        EXPECT_EQ(saved().load(messages), QString());
        QStringList names;
        for (const signs::SavedMessage &m : messages)
            names << (names.isEmpty() ? m.name + ": " + m.text : m.name);
        return names.join(", ").toStdString();
    }
    // The pictures folder beside the fixture's settings file, with images made here: "bar", two
    // columns of every row; "dot", a light column and a dark one; "tall", 16 x 32 all dark (8
    // columns once scaled); and "notes", no picture at all.
    QString writePictures()
    {
        const QDir folder(QFileInfo(file.path()).dir().filePath("pictures"));
        EXPECT_TRUE(folder.mkpath("."));
        QImage bar(2, 16, QImage::Format_RGB32), dot(2, 16, QImage::Format_RGB32),
            tall(16, 32, QImage::Format_RGB32);
        bar.fill(Qt::black);
        tall.fill(Qt::black);
        dot.fill(Qt::black);
        for (int y = 0; y < 16; ++y)
            dot.setPixelColor(0, y, Qt::white);
        EXPECT_TRUE(bar.save(folder.filePath("bar.png")));
        EXPECT_TRUE(dot.save(folder.filePath("dot.png")));
        EXPECT_TRUE(tall.save(folder.filePath("tall.png")));
        writeFile(folder.filePath("notes.png"), "not a picture");
        return folder.path();
    }
    // The upload plan's columns after "^^Upload ^^", in hex; the window is opened again after.
    QString uploadedColumns(ui::frmDesign1 *&d)
    {
        QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
        main->stopUpload();
        const std::vector<quint8> &columns = d->uploadPlan().columns;
        d = openEntry();
        return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(columns.data()), qsizetype(columns.size()))
                .toHex());
    }

    // What the controls show: "text / font size offset / bIsu" (capital: checked).
    static std::string shown(ui::frmDesign1 *d)
    {
        QString styles = QStringLiteral("bisu");
        for (int i = 0; i < 4; ++i)
            if (QList<QCheckBox *>{d->chkBold, d->chkItalic, d->chkST, d->chkUL}[i]->isChecked())
                styles[i] = styles[i].toUpper();
        return QStringLiteral("%1 / %2 %3 %4 / %5")
            .arg(d->txtMsg->toPlainText(), d->cmbFonts->currentText(),
                 d->cmbFontSize->currentText(), d->cmbOffset->currentText(), styles)
            .toStdString();
    }
};

} // namespace

TEST_F(TextEntryTest, OpensWithTheStoredChoicesRestored)
{
    ui::frmDesign1 *d = openEntry();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Text Entry"));
    ASSERT_EQ(d->cmbFonts->count(), 3);
    EXPECT_EQ(d->cmbFonts->itemText(0), QStringLiteral("DejaVu Sans")); // sorted
    EXPECT_EQ(d->cmbFonts->currentText(), QStringLiteral("DejaVu Sans Mono"));
    ASSERT_EQ(d->cmbFontSize->count(), 55);
    EXPECT_EQ(d->cmbFontSize->itemText(0), QStringLiteral("6"));
    EXPECT_EQ(d->cmbFontSize->itemText(54), QStringLiteral("60"));
    EXPECT_EQ(d->cmbFontSize->currentIndex(), 13);
    ASSERT_EQ(d->cmbOffset->count(), 21);
    EXPECT_EQ(d->cmbOffset->itemText(0), QStringLiteral("-10"));
    EXPECT_EQ(d->cmbOffset->itemText(10), QStringLiteral("0"));
    EXPECT_EQ(d->cmbOffset->currentIndex(), 8);
    EXPECT_TRUE(d->chkBold->isChecked());
    EXPECT_FALSE(d->chkItalic->isChecked() || d->chkST->isChecked() || d->chkUL->isChecked());
    EXPECT_EQ(d->txtMsg->toPlainText(), QStringLiteral("Fresh bread daily"));
    EXPECT_EQ(chars(d), 17);
    EXPECT_EQ(d->cmdInsert->text(), QStringLiteral("^^Upload ^^"));
    EXPECT_EQ(d->cmdTestMsg->text(), QStringLiteral("Test "));
    EXPECT_FALSE(shared.UploadConfirmed);

    // 17 characters of a monospaced font are 17 equal advances; the surface carries bold.
    const QFont &font = d->picSurface().font();
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(cols(d) % 17, 0);
    EXPECT_GT(cols(d), 17 * 10);
    // The text box takes typeface and size but keeps the regular style.
    EXPECT_EQ(d->txtMsg->font().family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(d->txtMsg->font().pointSizeF(), 19.0);
    EXPECT_FALSE(d->txtMsg->font().bold());
    d->reject();
}

TEST_F(TextEntryTest, FontListShowsEachFamilyOnceUnderItsPlainName)
{
    // A family from several foundries comes once per foundry, tagged; a name in other case is
    // the same family. The first spelling stays; FontIndex counts in the list shown.
    main.reset();
    ui::Services services = this->services();
    services.fontFamilies = [] {
        return QStringList{"DejaVu Serif",      "DejaVu Sans [UKWN]", "DejaVu Sans Mono",
                           "DejaVu Sans [urw]", "dejavu sans mono",   "DejaVu Sans [URW ]"};
    };
    shared.settings.FontIndex = 2;
    main = std::make_unique<ui::frmMain>(shared, services);
    ui::frmDesign1 *d = openEntry();
    ASSERT_EQ(d->cmbFonts->count(), 3);
    EXPECT_EQ(d->cmbFonts->itemText(0), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(d->cmbFonts->itemText(1), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(d->cmbFonts->currentText(), QStringLiteral("DejaVu Serif"));
    // The plain name draws in its family, and the fit check finds every character in it.
    d->cmbFonts->setCurrentIndex(0);
    EXPECT_EQ(QFontInfo(d->picSurface().font()).family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(d->picSurface().missingCharacters(QStringLiteral("Fresh bread")).isEmpty());
    d->reject();
}

TEST_F(TextEntryTest, CountersFollowTextFontSizeAndStyles)
{
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QString());
    EXPECT_EQ(chars(d), 0);
    EXPECT_EQ(cols(d), 0);

    d->txtMsg->setPlainText(QStringLiteral("ab\ncdef"));
    EXPECT_EQ(chars(d), 8); // a line break counts two
    const int twoLines = cols(d);
    d->txtMsg->setPlainText(QStringLiteral("cdef"));
    EXPECT_EQ(cols(d), twoLines); // the widest line

    d->cmbFonts->setCurrentIndex(0); // DejaVu Sans: bold letters are wider
    const int bold = cols(d);
    d->chkBold->click();
    const int regular = cols(d);
    EXPECT_NE(bold, regular);
    d->chkItalic->click();
    d->chkUL->click();
    d->chkST->click();
    EXPECT_FALSE(d->txtMsg->font().bold() || d->txtMsg->font().italic() ||
                 d->txtMsg->font().underline() || d->txtMsg->font().strikeOut());
    EXPECT_EQ(d->txtMsg->toPlainText(), QStringLiteral("cdef"));

    d->cmbFontSize->setCurrentIndex(54); // 60 points
    EXPECT_GT(cols(d), regular * 2);
    EXPECT_EQ(d->txtMsg->font().pointSizeF(), 60.0);
    const int big = cols(d);
    d->cmbOffset->setCurrentIndex(0);
    EXPECT_EQ(cols(d), big);
    d->cmbFonts->setCurrentIndex(1); // DejaVu Sans Mono
    EXPECT_EQ(d->txtMsg->font().family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_NE(cols(d), big);
    d->reject();
}

TEST_F(TextEntryTest, TextStopsAtTwoHundredFiftyCharacters)
{
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setFocus();
    d->txtMsg->setPlainText(QString(249, QLatin1Char('x')));
    d->txtMsg->moveCursor(QTextCursor::End);
    QTest::keyClicks(d->txtMsg, QStringLiteral("yz"));
    EXPECT_EQ(chars(d), 250);
    EXPECT_EQ(d->txtMsg->toPlainText(), QString(249, QLatin1Char('x')) + QLatin1Char('y'));

    // A line break needs room for two.
    d->txtMsg->setPlainText(QString(249, QLatin1Char('x')));
    d->txtMsg->moveCursor(QTextCursor::End);
    QTest::keyClick(d->txtMsg, Qt::Key_Return);
    EXPECT_EQ(chars(d), 249);

    // Pasting stops at the limit; replacing a selection frees its room.
    d->txtMsg->setPlainText(QString(240, QLatin1Char('x')));
    d->txtMsg->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QStringLiteral("0123456789ABCDEF"));
    d->txtMsg->paste();
    EXPECT_EQ(chars(d), 250);
    EXPECT_TRUE(d->txtMsg->toPlainText().endsWith(QStringLiteral("0123456789")));
    d->txtMsg->selectAll();
    d->txtMsg->paste();
    EXPECT_EQ(d->txtMsg->toPlainText(), QStringLiteral("0123456789ABCDEF"));

    // A longer text set by the program is cut to its first 250 characters.
    d->txtMsg->setMessageText(QString(300, QLatin1Char('m')));
    EXPECT_EQ(chars(d), 250);
    d->txtMsg->setMessageText(QString(249, QLatin1Char('m')) + QStringLiteral("\r\nz"));
    EXPECT_EQ(d->txtMsg->toPlainText(), QString(249, QLatin1Char('m')));
    d->reject();
}

// Text that reaches the document without passing the key, paste or input-method handlers
// (the accessibility bridge, a program setting it) is cut as a paste would be.
TEST_F(TextEntryTest, LimitHoldsForTextPutIntoTheDocumentDirectly)
{
    ui::frmDesign1 *d = openEntry();
    ui::MessageEdit *box = d->txtMsg;
    auto many = [](int n, char c) { return QString(n, QLatin1Char(c)); };
    auto text = [box] { return box->toPlainText().toStdString(); };
    auto is = [](const QString &expected) { return expected.toStdString(); };

    box->setPlainText(many(1000, 'W'));
    EXPECT_EQ(text(), is(many(250, 'W')));
    EXPECT_EQ(chars(d), 250);

    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(box);
    ASSERT_TRUE(access && access->editableTextInterface());
    access->editableTextInterface()->replaceText(0, 250, many(300, 'a'));
    EXPECT_EQ(text(), is(many(250, 'a')));

    // Text inserted in the middle loses its own end; the text around it stays.
    box->setPlainText(many(245, 'x'));
    access->editableTextInterface()->insertText(240, QStringLiteral("0123456789"));
    EXPECT_EQ(text(), is(many(240, 'x') + QStringLiteral("01234") + many(5, 'x')));

    // A line break needs room for two; a character outside the BMP is never split.
    box->setPlainText(many(249, 'x') + QStringLiteral("\nz"));
    EXPECT_EQ(text(), is(many(249, 'x')));
    box->setPlainText(many(248, 'x') + QStringLiteral("\nz"));
    EXPECT_EQ(text(), is(many(248, 'x') + QStringLiteral("\n")));
    EXPECT_EQ(chars(d), 250);
    box->setPlainText(many(249, 'x') + QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(text(), is(many(249, 'x')));

    // The cursor stands after what was kept; undo never brings the excess back, and works on
    // from there.
    box->setPlainText(QStringLiteral("abc"));
    QTextCursor cursor = box->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(many(300, 'y'));
    EXPECT_EQ(text(), is(QStringLiteral("abc") + many(247, 'y')));
    EXPECT_EQ(cursor.position(), 250);
    box->undo();
    EXPECT_EQ(text(), is(QStringLiteral("abc") + many(247, 'y')));
    box->setFocus();
    box->moveCursor(QTextCursor::Start);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(text(), is(QStringLiteral("bc") + many(247, 'y')));
    box->undo();
    EXPECT_EQ(text(), is(QStringLiteral("abc") + many(247, 'y')));

    // What is cut never reaches the upload or the file.
    box->setPlainText(many(1000, 'i'));
    QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
    EXPECT_TRUE(shared.UploadConfirmed);
    EXPECT_EQ(shared.settings.MessageText, many(250, 'i'));
}

TEST_F(TextEntryTest, CancelAndEscHideTheWindowAndKeepTheEdits)
{
    const Settings before = shared.settings;
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("Closed on Sunday"));
    d->chkItalic->click();
    d->cmbOffset->setCurrentIndex(20);
    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(shared.UploadConfirmed);
    EXPECT_EQ(shared.settings, before);
    EXPECT_EQ(file.read(), encodeSettings(before)); // nothing saved

    ui::frmDesign1 *again = openEntry();
    EXPECT_EQ(again, d);
    EXPECT_EQ(again->txtMsg->toPlainText(), QStringLiteral("Closed on Sunday"));
    EXPECT_TRUE(again->chkItalic->isChecked());
    EXPECT_EQ(again->cmbOffset->currentText(), QStringLiteral("10"));

    QTest::keyClick(again, Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(shared.settings, before);
}

TEST_F(TextEntryTest, CloseBoxDiscardsTheWindowAndTheNextOneComesFromTheSettings)
{
    ui::frmDesign1 *d = openEntry();
    QPointer<ui::frmDesign1> first(d);
    d->txtMsg->setPlainText(QStringLiteral("Thrown away"));
    d->cmbFontSize->setCurrentIndex(0);
    d->close();
    EXPECT_FALSE(shared.UploadConfirmed);
    QTRY_VERIFY(first.isNull());

    ui::frmDesign1 *rebuilt = openEntry();
    EXPECT_EQ(rebuilt->txtMsg->toPlainText(), QStringLiteral("Fresh bread daily"));
    EXPECT_EQ(rebuilt->cmbFontSize->currentText(), QStringLiteral("19"));
    EXPECT_EQ(file.read(), encodeSettings(shared.settings));
    rebuilt->reject();
}

TEST_F(TextEntryTest, StoredLineBreaksShowAsLinesAndCountTwo)
{
    main.reset();
    Settings s = safeSettings();
    s.MessageText = QStringLiteral("Open\r\n9 to 5");
    main = makeMain(s, services());
    ui::frmDesign1 *d = main->design();
    EXPECT_EQ(d->txtMsg->toPlainText(), QStringLiteral("Open\n9 to 5"));
    EXPECT_EQ(d->txtMsg->messageText(), s.MessageText);
    EXPECT_EQ(chars(d), 12);

    // A stored message longer than the box holds shows its first 250 characters.
    main.reset();
    s.MessageText = QString(248, QLatin1Char('L')) + QStringLiteral("\r\nmore");
    main = makeMain(s, services());
    d = main->design();
    EXPECT_EQ(d->txtMsg->messageText(), QString(248, QLatin1Char('L')) + QStringLiteral("\r\n"));
    EXPECT_EQ(chars(d), 250);
}

TEST_F(TextEntryTest, CountersFitCheckAndViewsSpeakWhatTheyShow)
{
    ui::frmDesign1 *d = openEntry();
    AccessibleNotices notices;
    d->txtMsg->setPlainText(QStringLiteral("Hello"));
    EXPECT_EQ(d->lblMsg[0]->text(), QStringLiteral("5")); // the caption stays the bare number
    EXPECT_EQ(d->lblMsg[0]->accessibleName(), QStringLiteral("Characters: 5"));
    EXPECT_EQ(d->lblMsg[1]->accessibleName(),
              QStringLiteral("Columns: %1").arg(d->lblMsg[1]->text()));
    EXPECT_EQ(notices.count(QStringLiteral("lblMsg_0"), QAccessible::NameChanged), 1);
    EXPECT_EQ(notices.count(QStringLiteral("lblMsg_1"), QAccessible::NameChanged), 1);

    // The same count again is not announced again.
    d->txtMsg->setPlainText(QStringLiteral("Hallo"));
    EXPECT_EQ(notices.count(QStringLiteral("lblMsg_0"), QAccessible::NameChanged), 1);

    d->refreshSignView();
    const QString findings = d->lblFit->text().simplified();
    EXPECT_FALSE(findings.isEmpty());
    EXPECT_EQ(d->lblFit->accessibleName(), QStringLiteral("Fit check: ") + findings);
    EXPECT_GE(notices.count(QStringLiteral("lblFit"), QAccessible::NameChanged), 1);
    auto *view = d->signPanel->findChild<QWidget *>(QStringLiteral("ledView"));
    ASSERT_NE(view, nullptr);
    const QString blocks =
        QString::number(d->signPanel->findChild<ui::LedView *>()->columns() / 64);
    EXPECT_EQ(view->accessibleDescription(),
              QStringLiteral("Sign view: the message as the sign will show it, %1 blocks; %2")
                  .arg(blocks, findings));
    EXPECT_GE(notices.count(QStringLiteral("ledView"), QAccessible::DescriptionChanged), 1);

    QTest::mouseClick(d->cmdTestMsg, Qt::LeftButton);
    EXPECT_EQ(d->pic->accessibleDescription(),
              QStringLiteral("Message preview: \"Hallo\" from its first column"));
}

TEST_F(TextEntryTest, EnterPressesTheFocusedButtonAndNothingElse)
{
    ui::frmDesign1 *d = openEntry();
    notifier.messages.clear();
    for (QPushButton *button : d->findChildren<QPushButton *>()) {
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    }

    // Enter on a check box presses nothing: no upload, the window stays.
    focusOn(d->chkBold);
    const bool bold = d->chkBold->isChecked();
    QTest::keyClick(d->chkBold, Qt::Key_Return);
    QTest::keyClick(d->chkBold, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->chkBold->isChecked(), bold);
    EXPECT_FALSE(shared.UploadConfirmed);
    EXPECT_TRUE(notifier.messages.isEmpty());

    // Enter in the message starts a new line.
    focusOn(d->txtMsg);
    d->txtMsg->setPlainText(QStringLiteral("ab"));
    d->txtMsg->moveCursor(QTextCursor::End);
    QTest::keyClick(d->txtMsg, Qt::Key_Return);
    QTest::keyClicks(d->txtMsg, QStringLiteral("cd"));
    EXPECT_EQ(d->txtMsg->toPlainText(), QStringLiteral("ab\ncd"));
    EXPECT_TRUE(d->isVisible());

    // Enter on "Cancel" hides the window; so does Space the next time.
    focusOn(d->cmdCancel);
    QTest::keyClick(d->cmdCancel, Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(shared.UploadConfirmed);
    openEntry();
    focusOn(d->cmdCancel);
    QTest::keyClick(d->cmdCancel, Qt::Key_Space);
    EXPECT_FALSE(d->isVisible());
}

TEST_F(TextEntryTest, GeometryIsTheUsualOneAtTheUsualFontAndGrowsSoNoCaptionIsCut)
{
    // The font list is as wide as at its first design and the desktop's family names may be
    // longer at any size ("DejaVu Sans Mono" needs 140 of its 121 pixels at 9 points).
    const QStringList fontList{QStringLiteral("cmbFonts")};
    // The list of messages keeps its width, however long a name: it is measured holding one.
    ASSERT_TRUE(saved().save({QString(64, QLatin1Char('W')), "Wide", {}, {}}).ok());
    ui::frmDesign1 *d = openEntry();
    EXPECT_EQ(d->size(), QSize(885, 404));
    EXPECT_EQ(d->cmdInsert->geometry(), QRect(16, 16, 105, 25));
    EXPECT_EQ(d->chkST->pos(), QPoint(184, 62));
    EXPECT_EQ(d->signPanel->geometry(), QRect(10, 22, 654, 148));
    // The saved messages below the typeface choices and the commands, beside the message,
    // above the sign view: cutCaptions tells any overlap.
    ASSERT_EQ(d->cmbSaved->count(), 1);
    EXPECT_EQ(d->findChild<QGroupBox *>("Frame5")->geometry(), QRect(8, 162, 464, 50));
    // The pictures between the counters and "Test ", Invert beside it.
    EXPECT_EQ(d->cmdPictures->geometry(), QRect(150, 18, 62, 25));
    EXPECT_EQ(d->chkInvert->pos(), QPoint(296, 22));
    EXPECT_EQ(cutCaptions(d, fontList).join(QLatin1Char('\n')).toStdString(), "");
    d->hide();
    main.reset();

    LargerDesktopFont larger(1.4);
    main = makeMain(safeSettings(), services());
    d = openEntry();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    // 885 x 404 -> 1239 x 566; 16..121 -> 22..169, 16..41 -> 22..57.
    EXPECT_EQ(d->size(), QSize(1239, 566));
    EXPECT_EQ(d->cmdInsert->geometry(), QRect(22, 22, 147, 35));
    EXPECT_EQ(d->chkST->pos(), QPoint(258, 87));
    // The sign view keeps its dots and only moves.
    EXPECT_EQ(d->signPanel->geometry(), QRect(14, 31, 654, 148));
    EXPECT_EQ(d->signPanel->view()->size(), QSize(654, 102));
    EXPECT_EQ(d->findChild<QGroupBox *>("Frame5")->geometry(), QRect(11, 227, 650, 70));
    EXPECT_EQ(d->cmdPictures->geometry(), QRect(210, 25, 87, 35));
    EXPECT_EQ(d->chkInvert->pos(), QPoint(414, 31));
    EXPECT_EQ(cutCaptions(d, fontList).join(QLatin1Char('\n')).toStdString(), "");
    d->hide();
    main.reset();
}

TEST_F(TextEntryTest, KeyboardAndScreenReaderFindWhatTheyReachFor)
{
    // Each showing starts in the message, all of it selected, whatever was used last.
    ui::frmDesign1 *d = openEntry();
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        EXPECT_EQ(QApplication::focusWidget(), d->txtMsg);
        EXPECT_EQ(d->txtMsg->textCursor().selectedText(), QStringLiteral("Fresh bread daily"));
        focusOn(d->chkBold);
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        d = openEntry();
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    ASSERT_EQ(QApplication::focusWidget(), d->txtMsg);
    // Tab: from the message to the typeface choices, then to the commands.
    const QList<QWidget *> tabs{d->cmbFonts,  d->cmbFontSize, d->cmbOffset,   d->chkBold,
                                d->chkItalic, d->chkST,       d->chkUL,       d->cmdInsert,
                                d->cmdCancel, d->cmdTestMsg,  d->cmdPictures, d->chkInvert};
    for (QWidget *next : tabs) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }

    // A screen reader hears words, each once: not "^^Upload ^^", not "Chars." beside
    // "Characters: 17".
    const std::pair<QWidget *, QString> spoken[] = {{d->cmdInsert, "Upload"},
                                                    {d->cmdTestMsg, "Test"},
                                                    {d->cmdPictures, "Pictures"},
                                                    {d->chkInvert, "Invert pictures"}};
    for (const auto &[control, name] : spoken)
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
    for (const char *caption : {"Label3", "Label4"}) {
        QAccessibleInterface *label =
            QAccessible::queryAccessibleInterface(d->findChild<QLabel *>(caption));
        EXPECT_TRUE(label->state().invisible) << caption;
        EXPECT_TRUE(label->text(QAccessible::Name).isEmpty()) << caption;
    }
    EXPECT_EQ(d->cmdInsert->text(), QStringLiteral("^^Upload ^^")); // the caption stays

    // Enter on the focused "Play" plays, as on any button; Ctrl+Enter uploads from the message.
    QAbstractButton *play = d->signPanel->findChild<QAbstractButton *>("cmdPlay");
    focusOn(play);
    QTest::keyClick(play, Qt::Key_Return);
    EXPECT_NE(play->text(), QStringLiteral("Play"));
    QTest::keyClick(play, Qt::Key_Return);
    focusOn(d->txtMsg);
    QTest::keyClick(d->txtMsg, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(shared.UploadConfirmed);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(main->transfer().running());
    main->stopUpload();

    // In the main window: F1 opens the manual page through the desktop, or shows the first
    // steps where nothing takes it; Shift+F1 tells what the package says; Ctrl+Q closes.
    QList<QUrl> opened;
    bool desktopTakesIt = true;
    ui::Services services = this->services();
    services.openUrl = [&](const QUrl &url) {
        opened << url;
        return desktopTakesIt;
    };
    main = makeMain(safeSettings(), services);
    main->show();
    focusOn(main->cmdModify);
    notifier.messages.clear();
    QTest::keyClick(main->cmdModify, Qt::Key_F1);
    EXPECT_EQ(opened, QList<QUrl>{QUrl("man:lumawrite")});
    EXPECT_TRUE(notifier.messages.isEmpty());
    desktopTakesIt = false;
    QTest::keyClick(main->cmdModify, Qt::Key_F1);
    ASSERT_EQ(notifier.count("Luma Write Help"), 1);
    EXPECT_TRUE(notifier.messages.last().text.contains("Modify opens Text Entry"));
    QTest::keyClick(main->cmdModify, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_EQ(notifier.count("About Luma Write"), 1);
    EXPECT_TRUE(notifier.messages.last().text.startsWith(
        QStringLiteral("Luma Write %1\n").arg(LUMAWRITE_PROJECT_VERSION)));
    EXPECT_TRUE(notifier.messages.last().text.endsWith(
        "\n\nLicence: MIT\nContact: Luma Write developers <maintainers@lumawrite.example>"));
    main->txtLocalPort->setText(QStringLiteral("4321"));
    QTest::keyClick(main->cmdModify, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(main->isVisible());
    Settings saved;
    ASSERT_TRUE(file.store().LoadSettings(saved).isEmpty());
    EXPECT_EQ(saved.LocalPort, 4321);
}

TEST_F(TextEntryTest, WindowsFitTheScreenAndTextEntryStandsInItsMiddle)
{
    // The scale a window is drawn at, written out by hand: the desktop font's, lowered until the
    // window fits the screen's room, never below 1.
    struct Case {
        double wanted;
        QSize window, room;
        double scale;
    };
    const Case cases[] = {
        {2.0, {885, 404}, {1600, 900}, 1600.0 / 885},      // Text Entry at 2x on a 1600 px screen
        {16.0 / 9, {885, 404}, {1366, 768}, 1366.0 / 885}, // at 16 pt on a laptop
        {13.0 / 9, {885, 404}, {1366, 768}, 13.0 / 9},     // 13 pt fits as it is
        {13.0 / 9, {772, 234}, {1366, 740}, 13.0 / 9},
        {2.0, {341, 194}, {1366, 300}, 300.0 / 194}, // short of height
        {1.0, {885, 404}, {800, 300}, 1.0},          // too large even at 1: stays 1
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(ui::fittedScale(c.wanted, c.window, c.room), c.scale)
            << c.window.width() << " on " << c.room.width() << " x " << c.room.height();

    // At 2x on a 1600 x 900 screen Text Entry fits and no caption is cut; it stands in the
    // middle of the screen, not of the main window.
    main.reset();
    LargerDesktopFont larger(2.0);
    ScreenOfSize laptop(QSize(1600, 900));
    main = makeMain(safeSettings(), services());
    main->show();
    ui::frmDesign1 *d = openEntry();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    EXPECT_LE(d->width(), 1600);
    EXPECT_LE(d->height(), 900);
    // The sign view keeps its pixels at every size, its Play button with it.
    EXPECT_EQ(cutCaptions(d, {"cmbFonts", "cmdPlay"}).join('\n').toStdString(), "");
    EXPECT_EQ(d->pos(), platform::centredOnScreen(d->size(), d->screen()));
}

TEST_F(TextEntryTest, SavedMessagesAreSavedRenamedAndDeletedFromTheKeyboard)
{
    ui::frmDesign1 *d = openEntry();
    focusOn(d->txtMsg);
    // Pressed with Alt: the name typed (none is asked to delete), the message typed before, the
    // answer to a question; then the file, and the title of what was said.
    const struct {
        QPushButton *command;
        const char *name, *message;
        bool yes;
        const char *file, *said;
    } steps[] = {
        {d->cmdSave, "Open", "9 to 5", true, "Open: 9 to 5", ""},
        {d->cmdSave, "Late", "Late", true, "Open: 9 to 5, Late", ""},
        {d->cmdSave, "Open", "8 to 6", false, "Open: 9 to 5, Late", "Replace Saved Message"},
        {d->cmdSave, " Open ", nullptr, true, "Open: 8 to 6, Late", "Replace Saved Message"},
        {d->cmdRename, "Shop", nullptr, true, "Shop: 8 to 6, Late", ""},
        {d->cmdRename, "Late", nullptr, true, "Shop: 8 to 6, Late", "Message Not Renamed"},
        {d->cmdDelete, nullptr, nullptr, false, "Shop: 8 to 6, Late", "Delete Saved Message"},
        {d->cmdDelete, nullptr, nullptr, true, "Late: Late", "Delete Saved Message"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.file);
        if (step.message)
            d->txtMsg->setPlainText(QString::fromUtf8(step.message));
        notifier.messages.clear();
        notifier.answer = step.yes;
        pressWithName(step.command, step.name);
        EXPECT_EQ(savedFile(), step.file);
        EXPECT_EQ(notifier.messages.value(0).title, QString::fromUtf8(step.said));
    }
    // With every choice the controls showed; none chosen now, so none to rename or delete.
    EXPECT_EQ(saved().find("Late")->choices,
              (signs::Overrides{
                  "DejaVu Sans Mono", 19, true, false, false, false, -2, {}, {}, {}, {}, {}}));
    EXPECT_FALSE(d->cmdRename->isEnabled() || d->cmdDelete->isEnabled() || shared.UploadConfirmed);

    // Alt+V reaches the list, also after a command beside it; Tab goes from "Fit" to the list
    // and its commands.
    chooseFromList(d->cmbSaved, QStringLiteral("Late"));
    focusOn(d->cmdSave);
    focusOn(d->txtMsg);
    QTest::keyClick(d->txtMsg, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), d->cmbSaved);
    focusOn(d->cmdFit);
    for (QWidget *next : QList<QWidget *>{d->cmbSaved, d->cmdSave, d->cmdRename, d->cmdDelete}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(TextEntryTest, ChoosingASavedOrRecentMessageFillsInItsTextAndChoices)
{
    signs::Overrides gone; // leaves out all but these two: the controls keep what they show
    gone.font = QStringLiteral("Nowhere Sans");
    gone.size = 14;
    ASSERT_TRUE(saved()
                    .save({"Full",
                           "Open\r\n9 to 5",
                           {"DejaVu Serif", 20, false, true, false, true, 3, {}, {}, {}, {}, {}},
                           {}})
                    .ok());
    ASSERT_TRUE(saved().save({"Gone", "Old face", gone, {}}).ok());
    // Uploads, oldest first: a message sent twice alike is listed once, a long one cut short.
    for (const char *text : {"Sent", "Sent", "A long message that goes on and on past forty"}) {
        signs::MessageChoices sent;
        sent.request = {"DejaVu Sans Mono", 16, false, true, false, false, -2, text, 0};
        signs::UploadHistory(services().historyPath)
            .add(signs::historyEntry(sent, "sign", signs::HistoryEntry::Outcome::Sent, 8, 8, {}));
    }
    ui::frmDesign1 *d = openEntry();
    QStringList listed;
    for (int i = 0; i < d->cmbSaved->count(); ++i)
        listed << d->cmbSaved->itemText(i);
    EXPECT_EQ(listed.join('|'),
              "Full|Gone||Recent: A long message that goes on and on past\u2026|Recent: Sent");
    const struct {
        const char *caption, *shown;
        bool saved, fontMissing;
    } cases[] = {
        {"Full", "Open\n9 to 5 / DejaVu Serif 20 3 / bIsU", true, false},
        {"Gone", "Old face / DejaVu Sans 14 0 / Bisu", true, true},
        {"Recent: Sent", "Sent / DejaVu Sans Mono 16 -2 / bIsu", false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        d->cmbFonts->setCurrentIndex(0); // DejaVu Sans 12, offset 0, bold only
        d->cmbFontSize->setCurrentIndex(12 - 6);
        d->cmbOffset->setCurrentIndex(10);
        for (QCheckBox *box : {d->chkBold, d->chkItalic, d->chkST, d->chkUL})
            box->setChecked(box == d->chkBold);
        chooseFromList(d->cmbSaved, QString::fromUtf8(c.caption));
        EXPECT_EQ(shown(d), c.shown);
        EXPECT_EQ(d->lblFit->text().startsWith("The typeface \"Nowhere Sans\" is not installed "
                                               "here; the message is shown in DejaVu Sans.\n"),
                  c.fontMissing);
        EXPECT_EQ(d->cmdRename->isEnabled() && d->cmdDelete->isEnabled(), c.saved);
        EXPECT_FALSE(shared.UploadConfirmed || !d->isVisible() || !sign.received().isEmpty());
    }
}

// A message with pictures: each picture's columns where it stands, in the counter, the sign
// view, the strip after "Test " and the upload.
TEST_F(TextEntryTest, PicturesAreCountedDrawnAndUploadedWhereTheyStand)
{
    writePictures();
    ui::frmDesign1 *d = openEntry();
    d->txtMsg->setPlainText(QStringLiteral("A"));
    const int a = cols(d);
    const QString text = uploadedColumns(d);
    ASSERT_EQ(text.mid(4 * a, 8), "00000000");
    // The heart of the program, column by column from its drawing (rows 0-7, then 8-15).
    const QString heart = "7000f800fc01fc03fc07f80ff01ff80ffc07fc03fc01f8007000";
    const struct {
        const char *message;
        bool invert;
        int chars, columns;
        QString block; // the first block; the rest of it is blank
    } cases[] = {
        {"A{bar}", false, 6, a + 2, text.left(4 * a) + "ffffffff" + text.mid(4 * a + 8)},
        {"{dot}", false, 5, 2, "0000ffff"},
        {"{dot}", true, 5, 2, "ffff0000"}, // the light column lit
        {"{heart}{tall}", false, 13, 13 + 8, heart + QString(32, 'f')},
        {"{{bar}", false, 6, 0, ""}, // no picture: text, as it is typed
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.message) + (c.invert ? " inverted" : ""));
        d->chkInvert->setChecked(c.invert);
        d->txtMsg->setPlainText(QString::fromUtf8(c.message));
        EXPECT_EQ(chars(d), c.chars); // what is typed
        EXPECT_EQ(cols(d), c.columns ? c.columns : d->picSurface().measureText(c.message));
        d->refreshSignView();
        const QByteArray viewed = d->signPanel->findChild<ui::LedView *>()->image();
        QTest::mouseClick(d->cmdTestMsg, Qt::LeftButton);
        QString tested; // the strip's rows 0-15 as the sign takes them
        for (int column = 0; column < 128; ++column) {
            int dots = 0;
            for (int bit = 0; bit < 8; ++bit)
                dots |=
                    d->picSurface().pixel(column / 2, 8 * (column % 2) + bit) == 0 ? 1 << bit : 0;
            tested += QString::asprintf("%02x", dots);
        }
        const QString uploaded = uploadedColumns(d);
        EXPECT_EQ(QString::fromLatin1(viewed.toHex()), uploaded);
        EXPECT_EQ(tested, uploaded.left(256));
        if (!c.block.isEmpty()) {
            EXPECT_EQ(uploaded, c.block + QString(256 - c.block.size(), '0'));
        }
    }
}

TEST_F(TextEntryTest, PicturePickerPutsTheNameInAtTheCursorFromTheKeyboard)
{
    writePictures();
    ui::frmDesign1 *d = openEntry();
    ASSERT_TRUE(QTest::qWaitFor([this] { return notifier.count("Pictures Not Read") > 0; }));
    QMenu *menu = d->mnuPictures;
    // Alt+P where the focus is, the arrow keys or the first letters of a name, and Enter.
    const auto pick = [menu](const QString &name, const QString &typed) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
        QTest::keyClicks(menu, typed);
        for (int n = 0; typed.isEmpty() && n < 20 && menu->activeAction()->text() != name; ++n)
            QTest::keyClick(menu, Qt::Key_Down);
        ASSERT_EQ(menu->activeAction()->text(), name);
        QTest::keyClick(menu, Qt::Key_Return);
    };
    const struct {
        QString text;
        int from, to; // the selection
        const char *picked, *typed;
        QString after;
        const char *told;
    } cases[] = {
        {"Open now", 5, 5, "heart", "", "Open {heart}now", ""},
        {"Open now", 0, 4, "bar", "", "{bar} now", ""},
        {"Open now", 8, 8, "tall", "ta", "Open now{tall}", ""},
        {QString(244, 'x'), 0, 0, "heart", "", QString(244, 'x'), "No Room for the Picture"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.after.left(20).toStdString());
        notifier.messages.clear();
        focusOn(d->txtMsg);
        d->txtMsg->setPlainText(c.text);
        QTextCursor cursor = d->txtMsg->textCursor();
        cursor.setPosition(c.from);
        cursor.setPosition(c.to, QTextCursor::KeepAnchor);
        d->txtMsg->setTextCursor(cursor);
        pick(QString::fromUtf8(c.picked), QString::fromUtf8(c.typed));
        EXPECT_EQ(d->txtMsg->toPlainText(), c.after);
        EXPECT_EQ(d->txtMsg->textCursor().position(), c.told[0] ? 0 : c.after.indexOf('}') + 1);
        EXPECT_EQ(QApplication::focusWidget(), d->txtMsg);
        EXPECT_EQ(notifier.messages.value(0).title, QString::fromUtf8(c.told));
    }
    // Ours, then the folder's that can be read, each drawn amber on black, two pixels a dot.
    QStringList names;
    QMap<QString, QImage> icons;
    const auto list = [&] {
        names.clear();
        for (const QAction *action : menu->actions()) {
            names << action->text();
            icons[action->text()] = action->icon().pixmap(32).toImage();
        }
    };
    list();
    EXPECT_EQ(names.join(' '), "arrow-up arrow-down arrow-left arrow-right heart star euro "
                               "clock warning check cross smile bar dot tall");
    ASSERT_EQ(icons["heart"].size(), QSize(26, 32));
    for (const auto &[x, y, lit] : {std::tuple{0, 0, false}, {5, 5, true}, {12, 24, true}})
        EXPECT_EQ(icons["heart"].pixel(x, y) & 0xFFFFFF, lit ? 0xFFB000u : 0u) << x << "," << y;
    // Alt+I inverts the folder's images: the light column of "dot" is lit then.
    EXPECT_EQ(icons["dot"].pixel(0, 0) & 0xFFFFFF, 0u);
    focusOn(d->txtMsg); // the window manager's part: the window active again
    QTest::keyClick(d->txtMsg, Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([d] { return d->chkInvert->isChecked(); }));
    pick("dot", "d");
    list();
    EXPECT_EQ(icons["dot"].pixel(0, 0) & 0xFFFFFF, 0xFFB000u);
    EXPECT_FALSE(shared.UploadConfirmed || !sign.received().isEmpty());
}

TEST_F(TextEntryTest, FitCheckTellsOfThePicturesAndFitsTheTextBetweenThem)
{
    const QString folder = writePictures();
    ui::frmDesign1 *d = openEntry();
    // The file that cannot be used is told once, not at every showing.
    ASSERT_TRUE(QTest::qWaitFor([this] { return notifier.count("Pictures Not Read") > 0; }));
    d->reject();
    d = openEntry();
    QCoreApplication::processEvents();
    EXPECT_EQ(notifier.count("Pictures Not Read"), 1);

    d->cmbFontSize->setCurrentIndex(9 - 6); // all of "{notes}" inside the rows
    d->cmbOffset->setCurrentIndex(10);
    const QString notes = "The picture " + folder +
                          "/notes.png cannot be used: it is no picture that can be read "
                          "(Unsupported image format).";
    const std::pair<const char *, QString> cases[] = {
        {"{tall}", "picture tall is 32 rows high, scaled to 16"},
        {"{bar}{heart}", "All of the message fits the sign's 16 rows."},
        {"{notes}", notes + "\nAll of the text fits the sign's 16 rows."},
        {"{tall}{tall}{notes}", notes + "\npicture tall is 32 rows high, scaled to 16"},
        {"", "Nothing to show yet."},
    };
    for (const auto &[message, fit] : cases) {
        d->txtMsg->setPlainText(QString::fromUtf8(message));
        d->refreshSignView();
        EXPECT_EQ(d->lblFit->text(), fit) << message;
    }
    // Fit looks at the text alone: the same size and offset with pictures around it.
    const auto fitted = [d](const char *message) {
        d->txtMsg->setPlainText(QString::fromUtf8(message));
        d->cmbFontSize->setCurrentIndex(54);
        QTest::mouseClick(d->cmdFit, Qt::LeftButton);
        return d->cmbFontSize->currentText() + " " + d->cmbOffset->currentText();
    };
    const QString alone = fitted("Ag");
    EXPECT_NE(alone, "60 0");
    EXPECT_EQ(fitted("{tall}Ag{heart}"), alone);
}
