// lumawrite-send: uploads a message to the sign from a script, with Luma Write's settings.
#include "Fonts.h"
#include "LineWatcher.h"
#include "MessagePlan.h"
#include "SendOptions.h"
#include "SendSession.h"
#include "SettingsStore.h"

#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>

#include <unistd.h>

using namespace lumawrite;
using namespace lumawrite::send;

namespace {

void write(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString readStandardInput()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(in.readAll());
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
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

} // namespace

int main(int argc, char *argv[])
{
    // No window is ever shown: run without a display (from cron, over ssh). Fonts are the
    // same offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(filterQtMessages);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumawrite-send"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));

    const ParsedArguments parsed =
        parseArguments(QCoreApplication::arguments(), QProcessEnvironment::systemEnvironment());
    if (!parsed.error.isEmpty()) {
        write(stderr, QStringLiteral("lumawrite-send: %1\nTry \"lumawrite-send --help\".\n")
                          .arg(parsed.error));
        return ExitUsage;
    }
    const SendOptions &options = parsed.options;
    switch (options.mode) {
    case SendOptions::Mode::Help:
        write(stdout, helpText());
        return ExitOk;
    case SendOptions::Mode::Version:
        write(stdout, QStringLiteral("lumawrite-send %1\n").arg(app.applicationVersion()));
        return ExitOk;
    default:
        break;
    }

    const QStringList fonts = platform::fontListOrder(platform::screenFontFamilies());
    if (options.mode == SendOptions::Mode::ListFonts) {
        write(stdout, fontListing(fonts));
        return ExitOk;
    }
    if (options.overrides.font && fontPosition(fonts, *options.overrides.font) < 0) {
        write(stderr, QStringLiteral("lumawrite-send: %1\n")
                          .arg(unknownFontMessage(*options.overrides.font)));
        return ExitUsage;
    }

    LinkServices link;
    link.timing = options.timing;
    link.signPort = options.signPort;
    if (!options.serialDevice.isEmpty()) {
        const QString device = options.serialDevice;
        link.comPorts = [device](int) { return device; };
    }
    SessionOutput output;
    output.out = [](const QString &text) { write(stdout, text); };
    output.err = [](const QString &text) { write(stderr, text); };
    output.terminal = ::isatty(STDERR_FILENO) == 1;
    SendSession session(options, settingsPathFor(options), fonts, link, output);

    if (options.mode == SendOptions::Mode::Watch) {
        LineWatcher watcher(options.watchFile);
        const QString error = watcher.start();
        if (!error.isEmpty()) {
            write(stderr, QStringLiteral("lumawrite-send: %1\n").arg(error));
            return ExitUsage;
        }
        QObject::connect(&watcher, &LineWatcher::lineChanged, &session, &SendSession::submit);
        return app.exec();
    }

    const QString text = options.textFromStdin ? readStandardInput() : options.text;
    QObject::connect(&session, &SendSession::messageDone, &app,
                     [](int code) { QCoreApplication::exit(code); });
    QTimer::singleShot(0, &session, [&session, text] { session.submit(text); });
    return app.exec();
}
