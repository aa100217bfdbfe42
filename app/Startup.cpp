#include "Startup.h"

#include "Notifier.h"
#include "SettingsStore.h"

#include <QCoreApplication>

namespace lumawrite::app {

void startUp(SettingsStore &store, modMain &shared, platform::Notifier &notifier)
{
    const StartupOutcome outcome = loadOrRecover(store, shared.settings);
    if (!outcome.saveError.isEmpty()) {
        notifier.critical(
            nullptr, QCoreApplication::translate("lumawrite::app::Startup", "Settings Not Saved"),
            QCoreApplication::translate("lumawrite::app::Startup",
                                        "%1\nLuma Write starts with its default settings.")
                .arg(outcome.saveError));
    }
}

} // namespace lumawrite::app
