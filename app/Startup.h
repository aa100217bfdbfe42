#pragma once

#include "Services.h"
#include "Settings.h"

#include <cstdio>

namespace lumawrite {
class SettingsStore;
}
namespace lumawrite::platform {
class Notifier;
}

namespace lumawrite::app {

// Reads the settings at start; an unreadable file is replaced by the defaults. When even the
// defaults cannot be written, the operator is told and the run goes on with them in memory.
void startUp(SettingsStore &store, modMain &shared, platform::Notifier &notifier);

// The COM ports as the ports.conf beside the settings file maps them. What in it could not be
// read is written once to the errors stream and kept for the box of a port that does not open.
void useComPorts(const QString &settingsPath, ui::Services &services, std::FILE *errors = stderr);

} // namespace lumawrite::app
