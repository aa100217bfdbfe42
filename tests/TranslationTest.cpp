#include "ColumnImage.h"
#include "MessageEdit.h"
#include "TestSupport.h"
#include "Translations.h"
#include "frmConfig.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace lumawrite;
using namespace lumawrite::test;

namespace {

// The desktop's language while it lives, as the programs install it at start.
class Language {
public:
    explicit Language(QLocale::Language language)
        : m_installed(
              platform::installTranslations(*QCoreApplication::instance(), QLocale(language)))
    {
    }
    ~Language() { platform::removeTranslations(*QCoreApplication::instance(), m_installed); }
    std::size_t installed() const { return m_installed.size(); }

private:
    std::vector<QTranslator *> m_installed;
};

QString groupTitle(QWidget *window, const char *objectName)
{
    auto *box = window->findChild<QGroupBox *>(QLatin1String(objectName));
    return box ? box->title() : QStringLiteral("(no %1)").arg(QLatin1String(objectName));
}

class TranslationTest : public WindowsTest {
protected:
    ui::frmDesign1 *openEntry()
    {
        QTest::mouseClick(main->cmdModify, Qt::LeftButton);
        return main->design();
    }

    // Uploads a message from the Text Entry window, closes the main window and returns the
    // frames the sign received and the settings file as it was left.
    std::pair<QList<QByteArray>, QByteArray> uploadAndClose()
    {
        Settings s = safeSettings();
        s.MessageText = QStringLiteral("Fresh bread");
        startMain(s, {15, 20});
        ui::frmDesign1 *d = openEntry();
        d->txtMsg->setPlainText(QStringLiteral("Sale today"));
        d->chkBold->setChecked(true);
        main->cmbSpeed->setCurrentIndex(4);
        const int blocks = d->lblMsg[1]->text().toInt() / 64 + 1;
        QTest::mouseClick(d->cmdInsert, Qt::LeftButton);
        sign.waitFor(blocks + 7, 10000);
        const QList<QByteArray> frames = sign.take();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !main->transfer().running(); }, 10000));
        main->close();
        main.reset();
        return {frames, file.read()};
    }
};

} // namespace

TEST_F(TranslationTest, GermanDesktopShowsGermanWindowsAndBoxes)
{
    Language german(QLocale::German);
    EXPECT_EQ(german.installed(), 2u); // ours and Qt's
    startMain(safeSettings(), {15, 20});

    EXPECT_EQ(main->cmdModify->text(), QStringLiteral("Bearbeiten"));
    EXPECT_EQ(main->cmdConfig->text(), QStringLiteral("Konfiguration"));
    EXPECT_EQ(main->optLAN->text(), QStringLiteral("LAN"));
    EXPECT_EQ(main->opt485->text(), QStringLiteral("Seriell (RS-485)"));
    EXPECT_EQ(groupTitle(main.get(), "Frame1"), QStringLiteral("Neue Nachricht"));
    EXPECT_EQ(main->cmbSpeed->itemText(0), QStringLiteral("1 - langsam"));

    ui::frmDesign1 *d = openEntry();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Texteingabe"));
    EXPECT_EQ(d->cmdInsert->text(), QStringLiteral("^^Senden ^^"));
    EXPECT_EQ(d->cmdTestMsg->text(), QStringLiteral("Test "));
    EXPECT_EQ(d->chkST->text(), QStringLiteral("Durchgestr."));
    EXPECT_EQ(groupTitle(d, "Frame1"), QStringLiteral("Schrift wählen"));
    // What a screen reader reads follows the language too, with the value shown.
    d->txtMsg->setPlainText(QStringLiteral("Hi"));
    EXPECT_EQ(d->lblMsg[0]->accessibleName(), QStringLiteral("Zeichen: 2"));
    d->cmbOffset->setCurrentIndex(0); // "-10": the top rows are cut
    d->refreshSignView();
    EXPECT_TRUE(d->lblFit->text().contains(QStringLiteral("oben abgeschnitten.")))
        << d->lblFit->text().toStdString();
    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);

    // A box through the notifier: the texts built with values read naturally.
    QTest::mouseClick(main->cmdConfig, Qt::LeftButton);
    auto *config = main->findChild<ui::frmConfig *>();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->windowTitle(), QStringLiteral("Konfiguration"));
    EXPECT_EQ(config->cmdClose->text(), QStringLiteral("Schließen"));
    EXPECT_EQ(config->cmdUpdateSID->text(), QStringLiteral("Ändern"));
    QTest::mouseClick(config->cmdUpdateSID, Qt::LeftButton);
    ASSERT_EQ(notifier.messages.size(), 1);
    EXPECT_EQ(notifier.messages[0].title, QStringLiteral("Serielle Schnittstelle nicht geöffnet"));
    EXPECT_EQ(notifier.messages[0].text,
              QStringLiteral("Die neue serielle ID wurde nicht gesendet: Konfigurationsbefehle "
                             "gehen nur über die serielle Leitung, und die serielle Schnittstelle "
                             "ließ sich beim Start von Luma Write nicht öffnen."));
    config->close();

    // Qt's own standard buttons speak the same language.
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ja"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
}

TEST_F(TranslationTest, GermanCaptionsFitAtTheUsualFontAndALargerOne)
{
    Language german(QLocale::German);
    // The font list shows the desktop's family names, which may be longer at any size.
    const QStringList fontList{QStringLiteral("cmbFonts")};
    for (const double factor : {1.0, 1.4}) {
        SCOPED_TRACE(factor);
        LargerDesktopFont larger(factor);
        startMain(safeSettings(), {15, 20});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        EXPECT_EQ(cutCaptions(main.get()).join(QLatin1Char('\n')).toStdString(), "");
        ui::frmDesign1 *d = openEntry();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
        EXPECT_EQ(cutCaptions(d, fontList).join(QLatin1Char('\n')).toStdString(), "");
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        QTest::mouseClick(main->cmdConfig, Qt::LeftButton);
        auto *config = main->findChild<ui::frmConfig *>();
        ASSERT_NE(config, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(config));
        // The list's given height is a pixel below the style's at the usual font.
        EXPECT_EQ(cutCaptions(config, factor == 1.0 ? QStringList{"cmbSA"} : QStringList())
                      .join(QLatin1Char('\n'))
                      .toStdString(),
                  "");
        config->close();
        QTRY_VERIFY(main->findChild<ui::frmConfig *>() == nullptr);
        main->close();
        main.reset();
    }
}

TEST_F(TranslationTest, GermanDesktopSendsAndSavesTheSameBytes)
{
    const auto [englishFrames, englishFile] = uploadAndClose();
    std::pair<QList<QByteArray>, QByteArray> german;
    {
        Language language(QLocale::German);
        german = uploadAndClose();
    }
    ASSERT_GE(englishFrames.size(), 8);
    EXPECT_EQ(german.first, englishFrames);
    EXPECT_EQ(german.second, englishFile);
    // The last frames written out by hand: 5 blocks at 64 columns behind one block (six
    // blocks = 384 columns, speed 5 = code 0x32), then the restart, to address 20.
    EXPECT_EQ(german.first.last(), bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20}));
    // The file holds the English-free values only: the message and the numbers.
    EXPECT_TRUE(german.second.contains("\"Sale today\"\r\n"));
    EXPECT_TRUE(german.second.contains("\r\n5\r\n")); // the speed, never "5 - ..."
}

TEST_F(TranslationTest, EnglishDesktopShowsTheSourceTextsExactly)
{
    Language english(QLocale::English);
    EXPECT_EQ(english.installed(), 0u); // nothing to load: the texts are English already
    startMain(safeSettings(), {15, 20});
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Luma Write"));
    EXPECT_EQ(main->cmbSpeed->itemText(9), QStringLiteral("10 - Fastest"));
    ui::frmDesign1 *d = openEntry();
    EXPECT_EQ(d->cmdInsert->text(), QStringLiteral("^^Upload ^^"));
    EXPECT_EQ(d->cmdTestMsg->text(), QStringLiteral("Test "));
    EXPECT_EQ(d->lblMsg[1]->accessibleName(), QStringLiteral("Columns: ") + d->lblMsg[1]->text());
    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
}

TEST(Translation, FitFindingsInGermanAndEnglish)
{
    render::FitReport report;
    report.hasInk = true;
    report.rowsAbove = 1;
    report.rowsBelow = 3;
    report.columnsLeft = 2;
    const QStringList english = {QStringLiteral("1 row of the text cut off at the top."),
                                 QStringLiteral("3 rows of the text cut off at the bottom."),
                                 QStringLiteral("2 columns of the slant cut off at the left.")};
    EXPECT_EQ(render::fitFindings(report), english);
    report.columnsLeft = 1;
    EXPECT_EQ(render::fitFindings(report).last(),
              QStringLiteral("1 column of the slant cut off at the left."));

    Language german(QLocale::German);
    report.rowsAbove = 2;
    EXPECT_EQ(render::fitFindings(report),
              QStringList({QStringLiteral("2 Zeilen des Textes oben abgeschnitten."),
                           QStringLiteral("3 Zeilen des Textes unten abgeschnitten."),
                           QStringLiteral("1 Spalte der Schräglage links abgeschnitten.")}));
}
