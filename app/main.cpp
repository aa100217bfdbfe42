#include "Notifier.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "Startup.h"
#include "TerminationSignals.h"
#include "frmMain.h"

#include <QApplication>

using namespace lumawrite;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Luma Write"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));

    platform::MessageBoxNotifier notifier;
    SettingsStore store(settingsFilePath());
    modMain shared;

    ui::startUp(store, shared, notifier);

    ui::Services services;
    services.store = &store;
    services.notifier = &notifier;

    ui::frmMain window(shared, services); // placed centred on the screen
    new platform::TerminationSignals(&window);
    window.show();
    return app.exec();
}
