#pragma once

#include "Fonts.h"
#include "SerialLine.h"

namespace lumawrite {
class SettingsStore;
}

namespace lumawrite::platform {
class Notifier;
}

namespace lumawrite::ui {

// What the windows use from outside and a test may replace.
struct Services {
    const SettingsStore *store = nullptr;
    platform::Notifier *notifier = nullptr;
    platform::FontFamilySource fontFamilies = platform::screenFontFamilies;
    platform::ComPortResolver comPorts = platform::comPortDevice;
};

} // namespace lumawrite::ui
