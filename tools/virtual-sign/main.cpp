// virtual-sign: a stand-in for an LED message sign, on UDP and/or a serial line.
#include "AppIcon.h"
#include "ColumnImage.h"
#include "LumaWriteVersion.h"
#include "SignProtocol.h"
#include "SignView.h"
#include "TerminationSignals.h"
#include "Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkDatagram>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Tells the operator on standard error, in the desktop's language, why something failed.
void complain(const QString &why)
{
    std::fprintf(stderr, "virtual-sign: %s\n", qPrintable(why));
}

// A pseudo-terminal of our own: the program opens its other end as a serial port.
class OwnPty {
public:
    bool open(QString *path, QString *error)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            *error = QString::fromLocal8Bit(strerror(errno));
            return false;
        }
        *path = QString::fromLocal8Bit(::ptsname(m_master));
        // Hold the other end open in raw mode, so the line stays up between the program's
        // openings and bytes pass unchanged.
        m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
        termios t{};
        if (m_slave >= 0 && ::tcgetattr(m_slave, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(m_slave, TCSANOW, &t);
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        return true;
    }
    int fd() const { return m_master; }
    ~OwnPty()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }

private:
    int m_master = -1;
    int m_slave = -1;
};

class VirtualSign : public QObject {
public:
    VirtualSign(int address, SignView *view, QString imagePath, bool exitAfterRestart)
        : m_state(address), m_view(view), m_imagePath(std::move(imagePath)),
          m_exitAfterRestart(exitAfterRestart)
    {
        m_clock.start();
        m_quiet.setSingleShot(true);
        m_quiet.setInterval(200); // a pause this long on the line ends any partial frame
        connect(&m_quiet, &QTimer::timeout, this, [this] { handle(m_stream.flush(), "serial"); });
    }

    // A log that cannot be written is an error: a test that reads it would miss frames.
    bool openLog(const QString &path)
    {
        m_log = std::make_unique<QFile>(path);
        if (m_log->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return true;
        complain(QCoreApplication::translate("virtual-sign", "cannot write %1: %2")
                     .arg(path, m_log->errorString()));
        m_log.reset();
        return false;
    }

    bool listenUdp(const QHostAddress &address, quint16 port)
    {
        m_udp = new QUdpSocket(this);
        if (!m_udp->bind(address, port)) {
            complain(QCoreApplication::translate("virtual-sign", "cannot listen on %1:%2: %3")
                         .arg(address.toString())
                         .arg(port)
                         .arg(m_udp->errorString()));
            return false;
        }
        connect(m_udp, &QUdpSocket::readyRead, this, [this] {
            while (m_udp->hasPendingDatagrams()) {
                const QByteArray datagram =
                    m_udp->receiveDatagram(vsign::MaxFrameLength + 1).data();
                handle({vsign::parseFrame(datagram)}, "udp");
            }
        });
        say(QStringLiteral("listening on UDP %1:%2")
                .arg(address.toString())
                .arg(m_udp->localPort()));
        return true;
    }

    bool openSerial(const QString &device)
    {
        m_serial = new QSerialPort(device, this);
        if (!m_serial->open(QIODevice::ReadWrite) || !m_serial->setBaudRate(9600) ||
            !m_serial->setDataBits(QSerialPort::Data8) ||
            !m_serial->setParity(QSerialPort::NoParity) ||
            !m_serial->setStopBits(QSerialPort::OneStop) ||
            !m_serial->setFlowControl(QSerialPort::NoFlowControl)) {
            complain(QCoreApplication::translate("virtual-sign", "cannot open %1: %2")
                         .arg(device, m_serial->errorString()));
            return false;
        }
        connect(m_serial, &QSerialPort::readyRead, this,
                [this] { serialBytes(m_serial->readAll()); });
        // The other end went away (a pulled adapter, an ended socat): the line does not come
        // back by itself, and the port would report it again at every turn of the event loop,
        // so the sign reports it once and ends. (Qt's error text is stale here: the read just
        // found the end of the line.)
        connect(m_serial, &QSerialPort::errorOccurred, this,
                [this, device](QSerialPort::SerialPortError error) {
                    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) ||
                        !m_serial->isOpen())
                        return;
                    m_serial->close();
                    m_quiet.stop();
                    handle(m_stream.flush(), "serial");
                    fail(QCoreApplication::translate(
                             "virtual-sign", "lost the serial line %1: the device or its other end "
                                             "went away")
                             .arg(device));
                });
        say(QStringLiteral("listening on serial %1 at 9600 8N1").arg(device));
        return true;
    }

    bool openPty()
    {
        QString path, error;
        if (!m_pty.open(&path, &error)) {
            complain(
                QCoreApplication::translate("virtual-sign", "cannot make a pseudo-terminal: %1")
                    .arg(error));
            return false;
        }
        auto *notifier = new QSocketNotifier(m_pty.fd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            char buffer[4096];
            const ssize_t n = ::read(m_pty.fd(), buffer, sizeof buffer);
            if (n > 0)
                serialBytes(QByteArray(buffer, int(n)));
        });
        say(QStringLiteral("pty: %1").arg(path));
        return true;
    }

    // Printed once, however the sign ends.
    void summary()
    {
        if (m_summarised)
            return;
        m_summarised = true;
        say(QStringLiteral("frames: %1 accepted, %2 ignored, %3 rejected")
                .arg(m_accepted)
                .arg(m_ignored)
                .arg(m_rejected));
    }

private:
    void serialBytes(const QByteArray &bytes)
    {
        handle(m_stream.feed(bytes), "serial");
        if (m_stream.buffered() > 0)
            m_quiet.start();
    }

    void handle(const std::vector<vsign::Parsed> &results, const char *via)
    {
        for (const vsign::Parsed &p : results) {
            const qint64 now = m_clock.elapsed();
            const qint64 gap = now - m_last;
            m_last = now;
            QJsonObject record{{QStringLiteral("ms"), gap},
                               {QStringLiteral("via"), QString::fromLatin1(via)}};
            if (!p.frame) {
                ++m_rejected;
                record[QStringLiteral("status")] = QStringLiteral("rejected");
                record[QStringLiteral("reason")] = p.error;
                record[QStringLiteral("bytes")] = p.size;
                say(QStringLiteral("+%1 ms  rejected: %2").arg(gap).arg(p.error), record);
                continue;
            }
            const vsign::Frame &f = *p.frame;
            QString what;
            const bool accepted = m_state.apply(f, &what) == vsign::SignState::Action::Accepted;
            (accepted ? m_accepted : m_ignored)++;
            record[QStringLiteral("status")] =
                accepted ? QStringLiteral("accepted") : QStringLiteral("ignored");
            record[QStringLiteral("address")] = f.address;
            record[QStringLiteral("kind")] = vsign::kindName(f.kind);
            record[QStringLiteral("length")] = f.length;
            switch (f.kind) {
            case vsign::Kind::MemoryWrite:
                record[QStringLiteral("memory")] = f.memoryAddress;
                record[QStringLiteral("count")] = int(f.data.size());
                break;
            case vsign::Kind::Restart:
                record[QStringLiteral("columns")] = m_state.columns();
                record[QStringLiteral("speed")] = m_state.speedCode();
                break;
            case vsign::Kind::SetSerialId:
                record[QStringLiteral("newId")] = f.newId;
                break;
            case vsign::Kind::SetTransmitPort:
                record[QStringLiteral("port")] = f.port;
                break;
            }
            say(QStringLiteral("+%1 ms  %2  %3  %4%5")
                    .arg(gap)
                    .arg(f.address, 2, 10, QLatin1Char('0'))
                    .arg(vsign::kindName(f.kind), what,
                         accepted ? QString() : QStringLiteral("  (ignored)")),
                record);
            if (accepted && f.kind == vsign::Kind::Restart)
                restart();
        }
    }

    void restart()
    {
        const QByteArray image = m_state.image();
        if (!m_imagePath.isEmpty()) {
            if (!lumawrite::render::columnPixels(image).save(m_imagePath, "PNG"))
                complain(QCoreApplication::translate("virtual-sign", "cannot write %1")
                             .arg(m_imagePath));
        }
        if (m_view)
            m_view->play(image, m_state.speedCode());
        if (m_exitAfterRestart) {
            summary();
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
    }

    void say(const QString &line, const QJsonObject &record = {})
    {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
        if (m_log && !record.isEmpty()) {
            const QByteArray text = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
            const bool written = m_log->write(text) == text.size() && m_log->flush();
            // Qt gives no reason when only part of the line went out (a file-size limit
            // reached mid-line); the system's reason is still in errno.
            const int error = errno;
            if (!written) {
                const QString path = m_log->fileName();
                m_log.reset();
                fail(QCoreApplication::translate("virtual-sign", "cannot write %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(error))));
            }
        }
    }

    // Reports why the sign cannot go on and ends the event loop with a failure status.
    void fail(const QString &why)
    {
        complain(why);
        QCoreApplication::exit(1);
    }

    vsign::SignState m_state;
    vsign::StreamParser m_stream;
    SignView *m_view;
    QString m_imagePath;
    bool m_exitAfterRestart;
    std::unique_ptr<QFile> m_log;
    QUdpSocket *m_udp = nullptr;
    QSerialPort *m_serial = nullptr;
    OwnPty m_pty;
    QTimer m_quiet;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    int m_accepted = 0;
    int m_ignored = 0;
    int m_rejected = 0;
    bool m_summarised = false;
};

// Whether a window can be shown: without a display Qt would end the program with an abort.
bool displayAvailable()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (platform.startsWith("xcb"))
        return x11;
    if (platform.startsWith("wayland"))
        return wayland;
    return !platform.isEmpty() || x11 || wayland;
}

} // namespace

int main(int argc, char *argv[])
{
    // Help and version are text and need no display either.
    bool headless = false, textOnly = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        headless = headless || a == "--headless";
        textOnly = textOnly || a == "--help" || a == "--help-all" || a == "-h" || a == "-?" ||
                   a == "--version" || a == "-v";
    }
    const bool window = !headless && !textOnly && displayAvailable();
    // The usage line and --version name the program by its installed name, not by the path it
    // was started with.
    static char programName[] = "lumawrite-virtual-sign";
    if (argc > 0)
        argv[0] = programName;
    std::unique_ptr<QCoreApplication> app;
    if (window) {
        app = std::make_unique<QApplication>(argc, argv);
        QApplication::setWindowIcon(lumawrite::ui::appIcon());
    } else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumawrite-virtual-sign"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(lumawrite::version::full));
    // Help and error messages in the desktop's language; the frame lines and the JSON log
    // stay as they are, for scripts.
    lumawrite::platform::installTranslations(*app, QLocale::system());

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "virtual-sign",
        "A stand-in for an LED message sign. It receives frames over UDP and/or a "
        "serial line, keeps the sign memory, and scrolls the message on a restart."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QCoreApplication::translate("virtual-sign", "UDP address and port to listen on "
                                                    "(default 127.0.0.1:12346 unless a serial "
                                                    "line is given)."),
        QStringLiteral("ADDR:PORT"));
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        QCoreApplication::translate("virtual-sign", "Serial device to listen on, 9600 8N1."),
        QStringLiteral("DEVICE"));
    const QCommandLineOption pty(
        QStringLiteral("pty"),
        QCoreApplication::translate("virtual-sign", "Make a pseudo-terminal and print its path."));
    const QCommandLineOption address(
        QStringLiteral("address"),
        QCoreApplication::translate("virtual-sign", "The sign's serial address, 1 to 50."),
        QStringLiteral("NN"), QStringLiteral("20"));
    const QCommandLineOption columns(
        QStringLiteral("columns"),
        QCoreApplication::translate("virtual-sign", "Width of the display in columns."),
        QStringLiteral("N"), QStringLiteral("96"));
    const QCommandLineOption log(
        QStringLiteral("log"),
        QCoreApplication::translate("virtual-sign",
                                    "Also write every frame as a JSON line to FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption dump(
        QStringLiteral("dump-image"),
        QCoreApplication::translate("virtual-sign",
                                    "Write the message image as PNG at each restart."),
        QStringLiteral("FILE"));
    const QCommandLineOption headlessOption(
        QStringLiteral("headless"), QCoreApplication::translate("virtual-sign", "Show no window."));
    const QCommandLineOption exitAfter(
        QStringLiteral("exit-after-restart"),
        QCoreApplication::translate("virtual-sign", "End after the first restart frame."));
    parser.addOptions(
        {listen, serial, pty, address, columns, log, dump, headlessOption, exitAfter});
    parser.process(*app);

    bool ok = false;
    const int signAddress = parser.value(address).toInt(&ok);
    if (!ok || signAddress < 1 || signAddress > 50) {
        complain(
            QCoreApplication::translate("virtual-sign", "--address takes a number from 1 to 50"));
        return 2;
    }
    const int width = parser.value(columns).toInt(&ok);
    if (!ok || width < 8 || width > 1000) {
        complain(
            QCoreApplication::translate("virtual-sign", "--columns takes a number from 8 to 1000"));
        return 2;
    }

    if (!headless && !window) {
        complain(QCoreApplication::translate("virtual-sign",
                                             "no display to show the sign on; use --headless"));
        return 1;
    }
    // A log that outgrows the file-size limit fails as a full disk does, instead of ending
    // the program.
    std::signal(SIGXFSZ, SIG_IGN);

    std::unique_ptr<SignView> view;
    if (window) {
        view = std::make_unique<SignView>(width);
        view->show();
    }
    VirtualSign sign(signAddress, view.get(), parser.value(dump), parser.isSet(exitAfter));
    if (parser.isSet(log) && !sign.openLog(parser.value(log)))
        return 1;

    const bool anySerial = parser.isSet(serial) || parser.isSet(pty);
    if (parser.isSet(listen) || !anySerial) {
        const QString where =
            parser.isSet(listen) ? parser.value(listen) : QStringLiteral("127.0.0.1:12346");
        const qsizetype colon = where.lastIndexOf(QLatin1Char(':'));
        const QHostAddress host(where.left(colon));
        const int port = where.mid(colon + 1).toInt(&ok);
        if (colon < 0 || host.isNull() || !ok || port < 0 || port > 65535) {
            complain(QCoreApplication::translate(
                "virtual-sign", "--listen takes ADDR:PORT, for example 127.0.0.1:12346"));
            return 2;
        }
        if (!sign.listenUdp(host, quint16(port)))
            return 1;
    }
    if (parser.isSet(serial) && !sign.openSerial(parser.value(serial)))
        return 1;
    if (parser.isSet(pty) && !sign.openPty())
        return 1;

    // SIGTERM, SIGHUP and Ctrl+C end it the ordinary way, with the summary and status 0.
    new lumawrite::platform::TerminationSignals(app.get(), [] { QCoreApplication::exit(0); });
    const int status = app->exec();
    sign.summary();
    return status;
}
