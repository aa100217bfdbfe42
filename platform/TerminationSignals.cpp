#include "TerminationSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lumawrite::platform {

#ifdef Q_OS_UNIX

namespace {

constexpr int handled[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int handledCount = int(sizeof handled / sizeof handled[0]);

// The handler only writes a byte; the window is closed on the GUI thread when it is read.
int terminationPipe[2] = {-1, -1};
struct sigaction previous[handledCount];
bool installed[handledCount] = {};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(terminationPipe[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *owner, std::function<void()> onSignal)
    : QObject(owner)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(terminationPipe[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [onSignal = std::move(onSignal)] {
        char byte;
        [[maybe_unused]] const auto read = ::read(terminationPipe[1], &byte, 1);
        onSignal();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < handledCount; ++i) {
        sigaction(handled[i], nullptr, &previous[i]);
        installed[i] = previous[i].sa_handler != SIG_IGN;
        if (installed[i])
            sigaction(handled[i], &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    for (int i = 0; i < handledCount; ++i) {
        if (installed[i])
            sigaction(handled[i], &previous[i], nullptr);
        installed[i] = false;
    }
    for (int &fd : terminationPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

#else

TerminationSignals::TerminationSignals(QObject *owner, std::function<void()>) : QObject(owner) {}
TerminationSignals::~TerminationSignals() = default;

#endif

} // namespace lumawrite::platform
