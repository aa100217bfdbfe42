#pragma once

#include <QStringList>

#include <functional>

namespace lumawrite::platform {

// The names of the fonts available for the screen, as the system gives them.
QStringList screenFontFamilies();

// The order of the font list: alphabetical, ignoring case. The stored font is a position in
// this list, so every reader of the settings must sort the same way.
QStringList fontListOrder(QStringList families);

using FontFamilySource = std::function<QStringList()>;

} // namespace lumawrite::platform
