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
    if (!outcome.unreadable.isEmpty()) {
        // One box: what could not be read, where the old file is, and whether the defaults
        // could be written.
        QString text =
            QCoreApplication::translate("lumawrite::app::Startup", "%1 could not be read: %2.")
                .arg(store.path(), outcome.unreadable);
        text += QLatin1Char('\n') +
                (outcome.keptAs.isEmpty()
                     ? QCoreApplication::translate("lumawrite::app::Startup",
                                                   "Its content could not be kept: %1.")
                           .arg(outcome.keepError)
                     : QCoreApplication::translate("lumawrite::app::Startup",
                                                   "The old file was kept as %1.")
                           .arg(outcome.keptAs));
        text += QLatin1Char('\n') +
                (outcome.saveError.isEmpty()
                     ? QCoreApplication::translate("lumawrite::app::Startup",
                                                   "Luma Write starts with its default settings.")
                     : QCoreApplication::translate("lumawrite::app::Startup",
                                                   "%1\nLuma Write starts with its default "
                                                   "settings.")
                           .arg(outcome.saveError));
        notifier.show(
            nullptr,
            outcome.saveError.isEmpty() ? platform::Notifier::Kind::Warning
                                        : platform::Notifier::Kind::Critical,
            outcome.saveError.isEmpty()
                ? QCoreApplication::translate("lumawrite::app::Startup", "Settings Not Readable")
                : QCoreApplication::translate("lumawrite::app::Startup", "Settings Not Saved"),
            text);
        return;
    }
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
