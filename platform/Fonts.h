#pragma once

#include <QStringList>

#include <functional>

namespace lumawrite::platform {

// The names of the fonts available for the screen, as the system gives them.
QStringList screenFontFamilies();

using FontFamilySource = std::function<QStringList()>;

} // namespace lumawrite::platform
