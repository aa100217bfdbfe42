// lumawrite-send: uploads a message to the sign from a script, with Luma Write's settings.
#include "Fonts.h"
#include "LineWatcher.h"
#include "LumaWriteVersion.h"
#include "MessageText.h"
#include "MqttService.h"
#include "PictureFiles.h"
#include "PortsConf.h"
#include "SavedMessages.h"
#include "SendOptions.h"
#include "SettingsStore.h"
#include "SignFleet.h"
#include "TerminalView.h"
#include "TerminationSignals.h"
#include "Translations.h"
#include "UploadHistory.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QSet>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

using namespace lumawrite;
using namespace lumawrite::send;

namespace {

// The most of standard input that is read: more than the longest message the sign takes, a
// bound for a script that pipes in something endless.
constexpr qsizetype MaxInputBytes = 4096;

int stdoutError = 0; // errno of the first write to standard output that failed

void write(FILE *stream, const QString &text)
{
    errno = 0;
    const bool written =
        std::fputs(text.toLocal8Bit().constData(), stream) >= 0 && std::fflush(stream) == 0;
    if (!written && stream == stdout && stdoutError == 0)
        stdoutError = errno != 0 ? errno : EIO;
}

// The exit status once standard output has been written: a write that failed (a full disk)
// is told, and the run did not succeed.
int withOutputChecked(int code)
{
    if (stdoutError == 0)
        return code;
    write(stderr,
          QCoreApplication::translate("lumawrite-send",
                                      "lumawrite-send: standard output could not be written: %1\n")
              .arg(QString::fromLocal8Bit(std::strerror(stdoutError))));
    return code == ExitOk ? ExitFileNotWritten : code;
}

struct Input {
    QString text;
    QString error;        // why standard input could not be read
    bool tooLong = false; // it holds more than MaxInputBytes
};

// Reads standard input to its end, but never more than one byte past MaxInputBytes.
Input readStandardInput(bool open)
{
    Input input;
    QByteArray data(MaxInputBytes + 1, Qt::Uninitialized);
    qsizetype got = 0;
    int error = open ? 0 : EBADF;
    while (error == 0 && got < data.size()) {
        const ssize_t n = ::read(STDIN_FILENO, data.data() + got, std::size_t(data.size() - got));
        if (n > 0)
            got += n;
        else if (n == 0)
            break;
        else if (errno != EINTR)
            error = errno;
    }
    if (error != 0) {
        input.error = QCoreApplication::translate(
                          "lumawrite-send", "standard input could not be read: %1; nothing sent")
                          .arg(QString::fromLocal8Bit(std::strerror(error)));
        return input;
    }
    if (got > MaxInputBytes) {
        input.tooLong = true;
        return input;
    }
    input.text = QString::fromUtf8(data.left(got));
    if (input.text.endsWith(QStringLiteral("\r\n")))
        input.text.chop(2);
    else if (input.text.endsWith(QLatin1Char('\n')))
        input.text.chop(1);
    return input;
}

// Qt's notes go to standard error like ours; the one about the missing runtime folder, which
// cron and ssh sessions always lack, is left out so that scripts see only what matters.
void filterQtMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    write(stderr, qFormatLogMessage(type, context, message) + QLatin1Char('\n'));
}

// The signs of the run and what prints their progress, which goes with them.
std::unique_ptr<signs::SignFleet> makeFleet(const SendOptions &options, const QStringList &fonts,
                                            const signs::LinkServices &link,
                                            const TerminalOutput &output, TerminalView::Style style)
{
    auto fleet =
        std::make_unique<signs::SignFleet>(fleetOptions(options), signsFor(options), fonts, link);
    new TerminalView(*fleet, options, output, style, fleet.get());
    return fleet;
}

int runService(const SendOptions &options, const QStringList &fonts,
               const signs::LinkServices &link, const TerminalOutput &output)
{
    platform::BrokerAccess access;
    readBrokerUrl(options.mqttUrl, access);
    access.clientId = options.mqttClientId;
    access.user = options.mqttUser;
    access.caFile = options.mqttCaFile;
    access.maxPayloadBytes = MaxPayloadBytes;
    if (!options.mqttPasswordFile.isEmpty()) {
        const QString error = readPasswordFile(options.mqttPasswordFile, access.password);
        if (!error.isEmpty()) {
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(error));
            return ExitUsage;
        }
    }
    // The certificate authority is read by the client library on its first connect, where a
    // missing file would only show as a failed TLS handshake and a FIFO would hold it up: it is
    // checked here, without waiting, and must be a regular file.
    if (!options.mqttCaFile.isEmpty()) {
        QByteArray certificates;
        ReadFailure failure;
        if (!readRegularFile(options.mqttCaFile, certificates, failure)) {
            write(stderr,
                  QCoreApplication::translate(
                      "lumawrite-send", "lumawrite-send: --mqtt-cafile %1 cannot be read: %2\n")
                      .arg(options.mqttCaFile, failure.reason));
            return ExitUsage;
        }
    }
    // One sign or several: the fleet reports the state of them all.
    MqttService service(options, access,
                        makeFleet(options, fonts, link, output, TerminalView::Style::Signs), fonts,
                        output.err);
    // SIGTERM and SIGINT stop the service between two frames.
    new platform::TerminationSignals(&service, [&service] { service.stop(); });
    QObject::connect(&service, &MqttService::stopped, &service,
                     [] { QCoreApplication::exit(ExitOk); });
    const QString error = service.start();
    if (!error.isEmpty()) {
        write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(error));
        return ExitLinkUnavailable;
    }
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Standard input closed by the caller (<&-) is told apart before anything else can be
    // opened under its number.
    const bool stdinOpen = ::fcntl(STDIN_FILENO, F_GETFD) != -1;
    // Past a file-size limit a write fails with its reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // No window is ever shown: run without a display (from cron, over ssh). Fonts are the
    // same offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(filterQtMessages);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumawrite-send"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(version::full));
    // Messages and help in the desktop's language; option names and printed frames and
    // listings stay as they are, for scripts.
    platform::installTranslations(app, QLocale::system());

    const ParsedArguments parsed =
        parseArguments(QCoreApplication::arguments(), QProcessEnvironment::systemEnvironment());
    if (!parsed.error.isEmpty()) {
        write(stderr, QCoreApplication::translate(
                          "lumawrite-send", "lumawrite-send: %1\nTry \"lumawrite-send --help\".\n")
                          .arg(parsed.error));
        return ExitUsage;
    }
    SendOptions options = parsed.options; // --saved fills in its message
    switch (options.mode) {
    case SendOptions::Mode::Help:
        write(stdout, helpText());
        return withOutputChecked(ExitOk);
    case SendOptions::Mode::Version:
        write(stdout, QStringLiteral("lumawrite-send %1\n").arg(app.applicationVersion()));
        return withOutputChecked(ExitOk);
    default:
        break;
    }

    // The ports.conf beside each settings file in use; what in it cannot be read is told once.
    QSet<QString> toldPorts;
    const auto comPorts = [&options, &toldPorts](const QString &settingsPath) {
        platform::ComPorts ports = comPortsFor(options, settingsPath);
        const QString conf = portsConfBeside(settingsPath);
        if (!ports.report.isEmpty() && !toldPorts.contains(conf)) {
            toldPorts.insert(conf);
            write(stderr, ports.report + QLatin1Char('\n'));
        }
        return ports.resolver;
    };
    if (options.mode == SendOptions::Mode::ListPorts) {
        const platform::ComPortResolver ports = comPorts(settingsPathFor(options));
        write(stdout, portListing(ports, platform::SerialDevices()));
        return withOutputChecked(ExitOk);
    }
    if (options.mode == SendOptions::Mode::ListSaved) {
        QList<signs::SavedMessage> messages;
        const QString error = signs::SavedMessages(savedMessagesPathFor(options)).load(messages);
        if (!error.isEmpty()) {
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(error));
            return ExitUsage;
        }
        write(stdout, savedListing(messages));
        return withOutputChecked(ExitOk);
    }
    if (options.mode == SendOptions::Mode::ListPictures) {
        const signs::PictureSet set =
            signs::readPictures(signs::picturesBeside(settingsPathFor(options)), options.invert);
        for (const QString &problem : set.problems)
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(problem));
        write(stdout, pictureListing(set.pictures));
        return withOutputChecked(ExitOk);
    }
    if (options.mode == SendOptions::Mode::History) {
        QList<signs::HistoryEntry> uploads;
        const QString error = signs::UploadHistory().read(uploads, options.historyCount);
        if (!error.isEmpty()) {
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(error));
            return ExitUsage;
        }
        write(stdout, historyListing(uploads));
        return withOutputChecked(ExitOk);
    }

    const QStringList fonts = platform::fontListOrder(platform::screenFontFamilies());
    if (options.mode == SendOptions::Mode::ListFonts) {
        write(stdout, fontListing(fonts));
        return withOutputChecked(ExitOk);
    }
    // A saved message with its own choices under those given; its typeface, its width and the
    // rest are checked as those of a message typed here.
    if (!options.savedName.isEmpty()) {
        signs::SavedMessage saved;
        const QString error = findSavedMessage(options, options.savedName, saved);
        if (!error.isEmpty()) {
            write(stderr, QCoreApplication::translate(
                              "lumawrite-send",
                              "lumawrite-send: %1\n\"lumawrite-send --list-saved\" lists the saved "
                              "messages.\n")
                              .arg(error));
            return ExitUsage;
        }
        options.text = saved.text;
        options.overrides = signs::savedMessageChoices(saved, options.overrides);
    }
    if (options.overrides.font && signs::fontPosition(fonts, *options.overrides.font) < 0) {
        write(stderr, QStringLiteral("lumawrite-send: %1\n")
                          .arg(signs::unknownFontMessage(*options.overrides.font)));
        return ExitUsage;
    }

    // One image as the whole message: the text names it, and it wins over a picture of the
    // same name in the folder.
    if (!options.pictureFile.isEmpty()) {
        const QString name = pictureMessageName(options.pictureFile);
        const signs::PictureRead read =
            signs::readPictureFile(options.pictureFile, name, options.invert);
        if (!read.picture) {
            write(stderr, QCoreApplication::translate("lumawrite-send",
                                                      "lumawrite-send: %1 Nothing was sent.\n")
                              .arg(read.error));
            return ExitRefused;
        }
        options.text = QStringLiteral("{%1}").arg(name);
        options.pictures = {*read.picture};
    }

    signs::LinkServices link;
    link.timing = options.timing;
    link.signPort = options.signPort;
    link.comPorts = comPorts(settingsPathFor(options));
    link.comPortsBeside = comPorts;
    TerminalOutput output;
    output.out = [](const QString &text) { write(stdout, text); };
    output.err = [](const QString &text) { write(stderr, text); };
    output.terminal = ::isatty(STDERR_FILENO) == 1;
    if (options.mode == SendOptions::Mode::Mqtt)
        return runService(options, fonts, link, output);

    // Several signs each have a line; one sign has a progress bar and all of what happened.
    const bool severalSigns = signsFor(options).size() > 1;
    const std::unique_ptr<signs::SignFleet> fleet =
        makeFleet(options, fonts, link, output,
                  severalSigns ? TerminalView::Style::Signs : TerminalView::Style::OneSign);
    auto *view = fleet->findChild<TerminalView *>();
    const auto submit = [&fleet](const QString &text) { fleet->submit(text); };
    // SIGTERM, SIGHUP and Ctrl+C end an upload under way between two frames; it is said, and
    // kept in the history, as stopped, with the frames that went out.
    const QString stopped =
        QCoreApplication::translate("lumawrite-send", "stopped by SIGTERM, SIGHUP or Ctrl+C");

    if (options.mode == SendOptions::Mode::Watch) {
        LineWatcher watcher(options.watchFile);
        const QString error = watcher.start();
        if (!error.isEmpty()) {
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(error));
            return ExitUsage;
        }
        QObject::connect(&watcher, &LineWatcher::lineChanged, &app, submit);
        QObject::connect(&watcher, &LineWatcher::lineSkipped, [](const QString &reason) {
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(reason));
        });
        // Frames printed (--dry-run) into an output that takes nothing more end the watch.
        QObject::connect(view, &TerminalView::messageDone, &app, [] {
            if (stdoutError != 0)
                QCoreApplication::exit(withOutputChecked(ExitOk));
        });
        // The watch runs until stopped: a stop is its ordinary end.
        new platform::TerminationSignals(fleet.get(), [&fleet, stopped] {
            fleet->stop(stopped);
            QCoreApplication::exit(withOutputChecked(ExitOk));
        });
        return app.exec();
    }

    QString text = options.text;
    if (options.textFromStdin) {
        const Input input = readStandardInput(stdinOpen);
        if (!input.error.isEmpty()) {
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(input.error));
            return ExitUsage;
        }
        if (input.tooLong) {
            write(stderr, QCoreApplication::translate(
                              "lumawrite-send",
                              "lumawrite-send: standard input holds more than %1 bytes; the "
                              "sign takes at most %2 characters. Nothing was sent.\n")
                              .arg(MaxInputBytes)
                              .arg(render::MaxMessageChars));
            return ExitRefused;
        }
        text = input.text;
    }
    // --keep: the message is saved once a sign has accepted it; it goes on whether or not it
    // could be saved.
    bool keepTried = false, notKept = false;
    if (!options.keepName.isEmpty()) {
        QObject::connect(fleet.get(), &signs::SignFleet::planned, &app, [&] {
            if (std::exchange(keepTried, true))
                return; // by the first sign
            signs::SavedMessage message;
            message.name = options.keepName;
            message.text = text;
            message.choices = keptChoices(options.overrides, fonts);
            const signs::SavedMessages::Change change =
                signs::SavedMessages(savedMessagesPathFor(options)).save(message);
            if (!change.notice.isEmpty())
                write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(change.notice));
            if (change.ok())
                return;
            notKept = true;
            write(stderr,
                  QCoreApplication::translate(
                      "lumawrite-send", "lumawrite-send: the message was not kept as \"%1\": %2\n")
                      .arg(options.keepName, change.error));
        });
    }
    bool done = false;
    QObject::connect(view, &TerminalView::messageDone, &app, [&done, &notKept](int code) {
        done = true;
        QCoreApplication::exit(code == ExitOk && notKept ? ExitFileNotWritten : code);
    });
    // Installed once standard input is read: Ctrl+C must end a read that waits.
    new platform::TerminationSignals(fleet.get(), [&fleet, &done, stopped] {
        if (fleet->busy()) {
            fleet->stop(stopped); // the message is done, as stopped
        } else if (!done) {
            write(stderr, QCoreApplication::translate("lumawrite-send",
                                                      "lumawrite-send: %1; nothing was sent\n")
                              .arg(stopped));
            QCoreApplication::exit(ExitUploadFailed);
        }
    });
    QTimer::singleShot(0, &app, [submit, text] { submit(text); });
    return withOutputChecked(app.exec());
}
