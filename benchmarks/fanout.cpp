// Uploads one 4-block message from lumawrite-send to 1, 10, 50 and 1000 signs on loopback at the
// real pacing and reports the total time against one sign's, the worst deviation of a gap between
// two frames from 2000 ms at any sign, the CPU time of lumawrite-send and its memory per sign.
//
//   fanout [PATH-TO-LUMAWRITE-SEND] [N ...]
//
// Every sign is a UDP socket of this program on 127.0.0.1 at a port of its own; lumawrite-send
// gets its own settings file (IpAddress 127.0.0.1) in a temporary XDG_CONFIG_HOME, and keeps its
// history in a temporary XDG_STATE_HOME, never the user's. Nothing is sent anywhere else.
#include "Settings.h"
#include "SettingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

// 21 characters of DejaVu Sans Mono at 12 points: 193 to 256 columns, four blocks, so eleven
// frames and ten gaps of 2000 ms.
const char *const Message = "Now serving number 43";
constexpr int FramesPerSign = 4 + 5 + 2;
constexpr double PauseMs = 2000.0;

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double cpuMs(const rusage &u)
{
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

struct Listener {
    int fd = -1;
    int port = 0;
    std::vector<double> arrivalsMs;
};

struct Run {
    double wallMs = 0; // from start to exit of lumawrite-send
    double cpuMs = 0;  // user + system of lumawrite-send
    long maxRssKb = 0; // its peak resident memory
    double worstGapDeviationMs = 0;
    int exitCode = -1;
    bool complete = false; // every sign got every frame
};

Listener listen()
{
    Listener l;
    l.fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (l.fd < 0 || ::bind(l.fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        std::perror("bind");
        std::exit(2);
    }
    socklen_t size = sizeof a;
    ::getsockname(l.fd, reinterpret_cast<sockaddr *>(&a), &size);
    l.port = ntohs(a.sin_port);
    return l;
}

// Runs lumawrite-send with these arguments; the listeners take what arrives meanwhile.
Run run(const std::string &program, const std::vector<std::string> &arguments,
        std::vector<Listener> &listeners, const QString &configHome)
{
    Run result;
    // Its uploads go to a history in the temporary folder, never to the user's.
    const QByteArray stateHome = (configHome + QStringLiteral("/state")).toLocal8Bit();
    const double start = nowMs();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_CONFIG_HOME", configHome.toLocal8Bit().constData(), 1);
        ::setenv("XDG_STATE_HOME", stateHome.constData(), 1);
        ::unsetenv("LUMAWRITE_SEND_PACING_MS");
        ::unsetenv("LUMAWRITE_SEND_SERIAL_DEVICE");
        // The usual limit of a process, whatever this one was given: the signs must fit in it.
        const rlimit files{1024, 1024};
        ::setrlimit(RLIMIT_NOFILE, &files);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        std::vector<char *> argv{const_cast<char *>(program.c_str())};
        for (const std::string &a : arguments)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        _exit(127);
    }
    std::vector<pollfd> fds;
    for (const Listener &l : listeners)
        fds.push_back({l.fd, POLLIN, 0});
    rusage usage{};
    int status = 0;
    bool exited = false;
    auto drain = [&] {
        for (std::size_t i = 0; i < listeners.size(); ++i) {
            char buffer[2048];
            while (::recv(listeners[i].fd, buffer, sizeof buffer, 0) > 0)
                listeners[i].arrivalsMs.push_back(nowMs());
        }
    };
    while (!exited) {
        // Each datagram is timed as soon as it is there.
        if (::poll(fds.data(), fds.size(), 20) > 0) {
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (!(fds[i].revents & POLLIN))
                    continue;
                char buffer[2048];
                while (::recv(fds[i].fd, buffer, sizeof buffer, 0) > 0)
                    listeners[i].arrivalsMs.push_back(nowMs());
            }
        }
        exited = ::wait4(pid, &status, WNOHANG, &usage) == pid;
    }
    result.wallMs = nowMs() - start;
    drain();
    result.cpuMs = cpuMs(usage);
    result.maxRssKb = usage.ru_maxrss;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.complete = true;
    for (const Listener &l : listeners) {
        result.complete = result.complete && int(l.arrivalsMs.size()) == FramesPerSign;
        for (std::size_t i = 1; i < l.arrivalsMs.size(); ++i)
            result.worstGapDeviationMs =
                std::max(result.worstGapDeviationMs,
                         std::abs(l.arrivalsMs[i] - l.arrivalsMs[i - 1] - PauseMs));
    }
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    std::string program = LUMAWRITE_SEND_PATH;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::isdigit(static_cast<unsigned char>(argv[i][0])))
            counts.push_back(std::atoi(argv[i]));
        else
            program = argv[i];
    }
    if (counts.empty())
        counts = {1, 10, 50, 1000};
    // A listener for each sign: this side needs more files than the usual 1024.
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);

    QTemporaryDir config;
    lumawrite::Settings settings = lumawrite::defaultSettings();
    settings.IpAddress = QStringLiteral("127.0.0.1");
    settings.LocalPort = 0;
    settings.LinkType = 1;
    QDir(config.path()).mkpath(QStringLiteral("lumawrite"));
    const QString error =
        lumawrite::SettingsStore(config.filePath(QStringLiteral("lumawrite/tabro.cfg")))
            .SaveSettings(settings);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "fanout: the settings file could not be written: %s\n",
                     qPrintable(error));
        return 2;
    }

    std::printf("%5s %10s %9s %13s %9s %10s %9s\n", "signs", "total ms", "vs one", "worst gap",
                "cpu ms", "of a core", "rss KiB");
    double oneSignMs = 0;
    long oneSignRss = 0;
    int failures = 0;
    for (const int n : counts) {
        std::vector<Listener> listeners;
        std::vector<std::string> arguments{"--font", "DejaVu Sans Mono", "--size", "12"};
        for (int i = 0; i < n; ++i) {
            listeners.push_back(listen());
            arguments.push_back("--ip");
            arguments.push_back("127.0.0.1:" + std::to_string(listeners.back().port));
        }
        arguments.push_back(Message);
        const Run r = run(program, arguments, listeners, config.path());
        for (Listener &l : listeners)
            ::close(l.fd);
        if (n == counts.front()) {
            oneSignMs = r.wallMs;
            oneSignRss = r.maxRssKb;
        }
        // The whole run, start-up and rendering included: the upload alone takes less.
        const double cpuShare = 100.0 * r.cpuMs / r.wallMs;
        std::printf("%5d %10.0f %8.2f%% %10.1f ms %9.0f %9.2f%% %9ld%s\n", n, r.wallMs,
                    100.0 * (r.wallMs - oneSignMs) / oneSignMs, r.worstGapDeviationMs, r.cpuMs,
                    cpuShare, r.maxRssKb, r.complete && r.exitCode == 0 ? "" : "  INCOMPLETE");
        if (n > counts.front())
            std::printf("      memory per sign: %.1f KiB\n",
                        double(r.maxRssKb - oneSignRss) / double(n - counts.front()));
        std::fflush(stdout);
        failures += !(r.complete && r.exitCode == 0);
    }
    return failures == 0 ? 0 : 1;
}
