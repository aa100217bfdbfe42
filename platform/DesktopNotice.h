#pragma once

#include <QString>

namespace lumawrite::platform {

// Shows a notice on the desktop through the freedesktop notification service, when the session
// has one; nothing otherwise. Never waits for the service.
void showDesktopNotice(const QString &summary, const QString &body);

} // namespace lumawrite::platform
