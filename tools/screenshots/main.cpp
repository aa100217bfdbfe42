// Draws the three windows off screen and writes a picture of each:
//   screenshots --out DIR [--point-size N] [--locale NAME]
// The windows run on a settings file of their own in a temporary folder (the sign on
// 127.0.0.1, a COM port that leads to no device), so nothing is sent and no serial port is
// opened; the receive port is bound as at any start.

#include "Notifier.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "Translations.h"
#include "WindowScale.h"
#include "frmConfig.h"
#include "frmDesign1.h"
#include "frmMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace lumawrite;

namespace {

// What a window would have shown in a message box goes to standard error.
class PrintingNotifier : public platform::Notifier {
public:
    void show(QWidget *, Kind, const QString &title, const QString &text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    bool ask(QWidget *parent, const QString &title, const QString &text) override
    {
        show(parent, Kind::Information, title, text);
        return true;
    }
};

bool save(QWidget *window, const QString &path)
{
    const bool saved = window->grab().save(path, "PNG");
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    // Off screen, with a settings folder and a state folder (the history of uploads) of its
    // own, before anything reads them.
    QTemporaryDir config, state;
    if (!config.isValid() || !state.isValid())
        return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));

    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a PNG picture of each window."));
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("Folder for the pictures."),
                                       QStringLiteral("dir"), QStringLiteral("."));
    const QCommandLineOption pointOption(
        QStringLiteral("point-size"),
        QStringLiteral("Desktop font size in points; the names end in -<N>pt."),
        QStringLiteral("N"));
    const QCommandLineOption localeOption(
        QStringLiteral("locale"),
        QStringLiteral("Language of the windows, as de or de_DE; the names end in -<locale>."),
        QStringLiteral("name"));
    parser.addOption(outOption);
    parser.addOption(pointOption);
    parser.addOption(localeOption);
    parser.process(application);

    QString suffix;
    if (parser.isSet(localeOption)) {
        // Before the windows are built, which take their texts then.
        platform::installTranslations(application, QLocale(parser.value(localeOption)));
        suffix = QLatin1Char('-') + parser.value(localeOption);
    }
    if (parser.isSet(pointOption)) {
        bool ok = false;
        const double points = parser.value(pointOption).toDouble(&ok);
        if (!ok || points <= 0 || points > 72) {
            std::fprintf(stderr, "--point-size wants a size from 1 to 72 points\n");
            return 2;
        }
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        QApplication::setFont(font);
        suffix += QStringLiteral("-%1pt").arg(points);
    }
    const QDir out(parser.value(outOption));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out.path()));
        return 1;
    }

    // A shop's message in a serif typeface of the fixed list below.
    Settings settings = defaultSettings();
    settings.IpAddress = QStringLiteral("127.0.0.1");
    settings.LocalPort = 2001;
    settings.ComPort = 200;
    settings.Speed = 8;
    settings.FontIndex = 2; // DejaVu Serif
    settings.FontSize = 12;
    settings.Offset = -2;
    settings.MessageText = QStringLiteral("Fresh bread daily - open 7 to 7");
    SettingsStore store(settingsFilePath());
    QDir().mkpath(QFileInfo(store.path()).path());
    if (const QString error = store.SaveSettings(settings); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    modMain shared;
    if (const QString error = store.LoadSettings(shared.settings); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    // Pictured as on a 1920 x 1080 desktop, not the off-screen platform's 800 x 800.
    ui::setScreenArea([](const QWidget *) { return QSize(1920, 1040); });

    PrintingNotifier notifier;
    ui::Services services;
    services.store = &store;
    services.notifier = &notifier;
    // The same fonts on every machine, so that the pictures do not depend on what is installed.
    services.fontFamilies = [] {
        return QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif"),
                           QStringLiteral("DejaVu Sans Mono")};
    };
    services.comPorts = [&config](int comNumber) {
        return config.filePath(QStringLiteral("no-port-%1").arg(comNumber));
    };

    ui::frmMain window(shared, services);
    window.show();
    int failed = 0;
    // Each picture once its window has been drawn and the sign view has caught up with the
    // message (it follows the text a moment later).
    constexpr int settleMs = 400;
    QImage mainPicture;
    QTimer::singleShot(settleMs, &window, [&] {
        mainPicture = window.grab().toImage();
        failed += !save(&window, out.filePath(QStringLiteral("main%1.png").arg(suffix)));
        window.cmdModify->click();
        QTimer::singleShot(settleMs, &window, [&] {
            ui::frmDesign1 *entry = window.design();
            failed += !save(entry, out.filePath(QStringLiteral("text-entry%1.png").arg(suffix)));
            // The README's picture: the main window above Text Entry.
            const QImage entryPicture = entry->grab().toImage();
            constexpr int gap = 16;
            QImage both(std::max(mainPicture.width(), entryPicture.width()),
                        mainPicture.height() + gap + entryPicture.height(), QImage::Format_RGB32);
            both.fill(Qt::white);
            QPainter painter(&both);
            painter.drawImage(0, 0, mainPicture);
            painter.drawImage(0, mainPicture.height() + gap, entryPicture);
            painter.end();
            const QString bothPath = out.filePath(QStringLiteral("screenshot%1.png").arg(suffix));
            const bool bothSaved = both.save(bothPath, "PNG");
            std::fprintf(bothSaved ? stdout : stderr, "%s %s\n",
                         bothSaved ? "wrote" : "could not write", qPrintable(bothPath));
            failed += !bothSaved;
            entry->hide();
            window.cmdConfig->click();
            QTimer::singleShot(settleMs, &window, [&] {
                auto *config = window.findChild<ui::frmConfig *>();
                failed +=
                    !config ||
                    !save(config, out.filePath(QStringLiteral("configuration%1.png").arg(suffix)));
                if (config)
                    config->close();
                application.quit();
            });
        });
    });
    application.exec();
    return failed == 0 ? 0 : 1;
}
