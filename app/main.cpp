#include "AppIcon.h"
#include "LumaWriteVersion.h"
#include "Notifier.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TerminationSignals.h"
#include "Translations.h"
#include "frmMain.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>

using namespace lumawrite;

namespace {

// --help and --version are answered before anything needs a display.
int answerTextOptions(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray option(argv[i]);
        if (option == "--version" || option == "-v") {
            std::printf("lumawrite %s\n", version::full);
            return 0;
        }
        if (option == "--help" || option == "-h" || option == "-?") {
            std::printf("Usage: lumawrite [Qt options]\n%s.\n\n"
                        "The message, the sign's address and every choice are made in the "
                        "windows;\nsee man lumawrite. lumawrite-send uploads from scripts.\n\n"
                        "Options:\n  -h, --help     Displays this help.\n"
                        "  -v, --version  Displays version information.\n",
                        version::description);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int answered = answerTextOptions(argc, argv); answered >= 0)
        return answered;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Luma Write"));
    QApplication::setApplicationVersion(QString::fromLatin1(version::full));
    // The desktop entry's name, so that the desktop matches the windows with the menu entry.
    QApplication::setDesktopFileName(QStringLiteral("io.github.lumawrite.LumaWrite"));
    QApplication::setWindowIcon(ui::appIcon());
    // In the desktop's language (LANGUAGE, LC_ALL, LANG), before any box or window takes its
    // texts; English where there is no translation.
    platform::installTranslations(application, QLocale::system());

    platform::MessageBoxNotifier notifier;
    SettingsStore store(settingsFilePath());
    // A second start with the same settings brings the running copy's window forward instead
    // of competing with it for the receive port and the serial line.
    app::SingleInstance instance(store.path());
    if (instance.handOverToRunningCopy())
        return 0;
    modMain shared;

    app::startUp(store, shared, notifier);

    ui::Services services;
    services.store = &store;
    services.notifier = &notifier;
    app::useComPorts(store.path(), services);

    ui::frmMain window(shared, services); // placed centred on the screen
    // A shutdown or a closed terminal closes without asking, also during an upload.
    new platform::TerminationSignals(&window, [&window] { window.quitNow(); });
    QObject::connect(&instance, &app::SingleInstance::raiseRequested, &window, [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return application.exec();
}
