#include "Startup.h"

#include "Notifier.h"
#include "SettingsStore.h"

namespace lumawrite::app {

void startUp(SettingsStore &store, modMain &shared, platform::Notifier &notifier)
{
    const StartupOutcome outcome = loadOrRecover(store, shared.settings);
    if (!outcome.saveError.isEmpty()) {
        notifier.critical(nullptr, QStringLiteral("Settings Not Saved"),
                          QStringLiteral("%1\nLuma Write starts with its default settings.")
                              .arg(outcome.saveError));
    }
}

} // namespace lumawrite::app
