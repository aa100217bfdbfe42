#pragma once

#include <QIcon>

namespace lumawrite::ui {

// Luma Write's icon, the same drawing the desktop menu shows, at 48, 64, 128 and 256 pixels.
// Luma Write and the virtual sign set it as their window icon.
QIcon appIcon();

} // namespace lumawrite::ui
