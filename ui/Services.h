#pragma once

#include "DesktopNotice.h"
#include "Fonts.h"
#include "SerialLine.h"
#include "SignLink.h"
#include "UploadHistory.h"

#include <QDesktopServices>
#include <QUrl>

namespace lumawrite {
class SettingsStore;
}

namespace lumawrite::platform {
class Notifier;
}

namespace lumawrite::ui {

// What the windows use from outside and a test may replace.
struct Services {
    SettingsStore *store = nullptr;
    platform::Notifier *notifier = nullptr;
    platform::FontFamilySource fontFamilies = platform::screenFontFamilies;
    platform::ComPortResolver comPorts = platform::comPortDevice;
    QString portsReport;     // what ports.conf held that could not be read (empty when nothing)
    link::LinkTiming timing; // 2000 ms and 200 ms
    quint16 signPort = link::SignLink::SignUdpPort; // 12346
    link::HostResolver hostResolver = link::systemResolver;
    link::SignLink::DatagramSender datagramSender; // empty: a real UDP socket
    // A notice on the desktop, for an upload that ends while the main window is not active.
    std::function<void(const QString &summary, const QString &body)> desktopNotice =
        platform::showDesktopNotice;
    // Opens a link through the desktop's handler (F1 opens the manual page); false when none
    // took it.
    std::function<bool(const QUrl &)> openUrl = [](const QUrl &url) {
        return QDesktopServices::openUrl(url);
    };
    // The saved messages; empty for messages.json beside the settings file.
    QString savedMessagesPath;
    // The folder of the pictures a message may name besides the program's own; empty for
    // pictures/ beside the settings file, as lumawrite-send reads it.
    QString picturesPath;
    // Where each upload of the main window is added, and Text Entry finds the recent ones.
    QString historyPath = signs::historyFilePath();
};

} // namespace lumawrite::ui
