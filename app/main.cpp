#include "Notifier.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "frmMain.h"

#include <QApplication>

using namespace lumawrite;

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Luma Write"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));

    platform::MessageBoxNotifier notifier;
    const SettingsStore store(settingsFilePath());
    modMain shared;

    const StartupOutcome startup = loadOrRecover(store, shared.settings);
    if (!startup.saveError.isEmpty()) {
        notifier.critical(nullptr, QStringLiteral("Settings Not Saved"),
                          QStringLiteral("%1\nLuma Write starts with its default settings.")
                              .arg(startup.saveError));
    }

    ui::Services services;
    services.store = &store;
    services.notifier = &notifier;

    ui::frmMain window(shared, services);
    window.show();
    return app.exec();
}
