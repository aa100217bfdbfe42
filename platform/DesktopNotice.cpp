#include "DesktopNotice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace lumawrite::platform {

void showDesktopNotice(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Luma Write") << 0u << QStringLiteral("io.github.lumawrite.LumaWrite")
           << summary << body << QStringList() << QVariantMap() << -1;
    // Sent without waiting for a reply: a session without the service answers with an error
    // that nobody needs.
    bus.send(notify);
}

} // namespace lumawrite::platform
