#pragma once

#include "Settings.h"

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

} // namespace lumawrite::app
