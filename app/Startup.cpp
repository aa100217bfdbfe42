#include "Startup.h"

#include "Notifier.h"
#include "SerialLine.h"
#include "SettingsStore.h"
#include "SignPorts.h"

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

void useComPorts(const QString &settingsPath, ui::Services &services, std::FILE *errors)
{
    platform::ComPorts ports = signs::comPortsBeside(settingsPath);
    services.comPorts = std::move(ports.resolver);
    services.portsReport = ports.report;
    if (!ports.report.isEmpty()) {
        std::fprintf(errors, "%s\n", ports.report.toLocal8Bit().constData());
        std::fflush(errors);
    }
}

} // namespace lumawrite::app
