#include "Notifier.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "Startup.h"
#include "frmMain.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

using namespace lumawrite;

namespace {

#ifdef Q_OS_UNIX
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(terminationPipe[0], &byte, 1);
}

// SIGTERM and SIGHUP (logout, shutdown, a closed terminal) close the main window the ordinary
// way, so the operator's choices are saved as they are when the window is closed by hand.
void closeOnTerminationSignals(QWidget *window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(terminationPipe[1], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char byte;
        [[maybe_unused]] const auto read = ::read(terminationPipe[1], &byte, 1);
        window->close();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
#else
void closeOnTerminationSignals(QWidget *) {}
#endif

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Luma Write"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));

    platform::MessageBoxNotifier notifier;
    const SettingsStore store(settingsFilePath());
    modMain shared;

    ui::startUp(store, shared, notifier);

    ui::Services services;
    services.store = &store;
    services.notifier = &notifier;

    ui::frmMain window(shared, services);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    closeOnTerminationSignals(&window);
    window.show();
    return app.exec();
}
