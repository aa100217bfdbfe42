#include "SendOptions.h"

#include "SettingsStore.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

namespace lumawrite::send {
namespace {

const QString PacingVariable = QStringLiteral("LUMAWRITE_SEND_PACING_MS");
const QString SerialDeviceVariable = QStringLiteral("LUMAWRITE_SEND_SERIAL_DEVICE");

const char *const ExitCodeTable =
    QT_TRANSLATE_NOOP("lumawrite::send::SendOptions",
                      "Exit codes:\n"
                      "  0  the message was sent (or printed, with --dry-run)\n"
                      "  1  the upload failed part-way; the message says how many "
                      "frames went out\n"
                      "  2  bad option or value, unknown font, unreadable --watch "
                      "file,\n"
                      "     standard input could not be read (closed), or the settings cannot be\n"
                      "     read and neither --ip nor --serial names the sign\n"
                      "  3  message refused: empty (unless --allow-empty), more than "
                      "250 characters\n"
                      "     (a line break counts two; standard input past 4096 "
                      "bytes), wider than\n"
                      "     9663 columns, or a fit-check warning with --strict; "
                      "nothing was sent\n"
                      "  4  the serial port did not open or the sign's host was not "
                      "found; nothing was sent\n"
                      "  5  the --image file, the settings file (--save) or standard "
                      "output could not\n"
                      "     be written; a settings file that could not be read is "
                      "never written over\n");

// The options, built once for parsing and for the help text.
struct Cli {
    QCommandLineParser parser;
    QCommandLineOption font{
        QStringLiteral("font"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Typeface by name, as --list-fonts shows it."),
        QStringLiteral("NAME")};
    QCommandLineOption size{
        QStringLiteral("size"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "Size in points, 6 to 60."),
        QStringLiteral("N")};
    QCommandLineOption bold{QStringLiteral("bold"),
                            QCoreApplication::translate("lumawrite::send::SendOptions", "Bold.")};
    QCommandLineOption noBold{
        QStringLiteral("no-bold"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "Not bold.")};
    QCommandLineOption italic{
        QStringLiteral("italic"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "Italic.")};
    QCommandLineOption noItalic{
        QStringLiteral("no-italic"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "Not italic.")};
    QCommandLineOption strike{
        QStringLiteral("strikethrough"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "Strikethrough.")};
    QCommandLineOption noStrike{
        QStringLiteral("no-strikethrough"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "No strikethrough.")};
    QCommandLineOption underline{
        QStringLiteral("underline"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "Underline.")};
    QCommandLineOption noUnderline{
        QStringLiteral("no-underline"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "No underline.")};
    QCommandLineOption offset{QStringLiteral("offset"),
                              QCoreApplication::translate("lumawrite::send::SendOptions",
                                                          "Vertical offset in pixels, -10 to 10."),
                              QStringLiteral("N")};
    QCommandLineOption ip{
        QStringLiteral("ip"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "The sign's IP address or host name (stored with "
                                    "--save)."),
        QStringLiteral("HOST")};
    QCommandLineOption lan{
        QStringLiteral("lan"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "Send over the LAN (UDP).")};
    QCommandLineOption serial{
        QStringLiteral("serial"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Send over the RS-485 serial line on COM N, 1 to "
                                    "250."),
        QStringLiteral("N")};
    QCommandLineOption address{QStringLiteral("address"),
                               QCoreApplication::translate("lumawrite::send::SendOptions",
                                                           "The sign's serial address, 1 to 50."),
                               QStringLiteral("N")};
    QCommandLineOption speed{
        QStringLiteral("speed"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Scrolling speed, 1 (slowest) to 10 (fastest)."),
        QStringLiteral("N")};
    QCommandLineOption port{QStringLiteral("port"),
                            QCoreApplication::translate("lumawrite::send::SendOptions",
                                                        "The sign's UDP port (default 12346)."),
                            QStringLiteral("N")};
    QCommandLineOption settings{
        QStringLiteral("settings"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Read the settings from FILE, and with --save "
                                    "write them there, instead of the settings file "
                                    "shared with Luma Write: one file per sign."),
        QStringLiteral("FILE")};
    QCommandLineOption save{
        QStringLiteral("save"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Store the message and the choices in the settings "
                                    "file, as an upload from Luma Write does.")};
    QCommandLineOption dryRun{
        QStringLiteral("dry-run"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Send nothing; print every frame in hex, one a "
                                    "line.")};
    QCommandLineOption image{
        QStringLiteral("image"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Also write the column image as PNG to FILE."),
        QStringLiteral("FILE")};
    QCommandLineOption listFonts{
        QStringLiteral("list-fonts"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Print the font list with the positions the "
                                    "settings file uses.")};
    QCommandLineOption watch{
        QStringLiteral("watch"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Send the first line of FILE now and again whenever "
                                    "it changes, at the latest 2 s after a change however "
                                    "often it is rewritten; an empty line or one longer "
                                    "than 4096 bytes is skipped with a message. Runs "
                                    "until stopped."),
        QStringLiteral("FILE")};
    QCommandLineOption verbose{QStringLiteral("verbose"),
                               QCoreApplication::translate("lumawrite::send::SendOptions",
                                                           "Print a line for every frame sent.")};
    QCommandLineOption allowEmpty{
        QStringLiteral("allow-empty"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Send an empty message, which blanks the sign; "
                                    "without it an empty message is refused.")};
    QCommandLineOption strict{
        QStringLiteral("strict"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Refuse a message that the fit check warns about "
                                    "(rows or slant cut off, characters the typeface "
                                    "cannot draw) instead of sending it.")};

    Cli()
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "lumawrite::send::SendOptions",
            "Sends a one-line message to an LED message sign, rendered and "
            "uploaded exactly as Luma Write does, with the choices stored in its "
            "settings file. Options change a choice for this run only, unless "
            "--save is given."));
        // "-5 degrees" is one unknown option, not nine.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({font,      size,      bold,        noBold,     italic, noItalic, strike,
                           noStrike,  underline, noUnderline, offset,     ip,     lan,      serial,
                           address,   speed,     port,        settings,   save,   dryRun,   image,
                           listFonts, watch,     verbose,     allowEmpty, strict});
        parser.addPositionalArgument(
            QStringLiteral("TEXT"),
            QCoreApplication::translate(
                "lumawrite::send::SendOptions",
                "The message; \"-\" reads it from standard input, at most 4096 "
                "bytes (one trailing line break is dropped, other line breaks are "
                "kept). A message that starts with \"-\" goes after \"--\"."));
    }
};

// A whole number within [low, high], or an error that names the option.
QString wholeNumber(const QCommandLineParser &parser, const QCommandLineOption &option, int low,
                    int high, std::optional<int> &into)
{
    if (!parser.isSet(option))
        return {};
    const QString text = parser.value(option).trimmed();
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--%1 takes a whole number from %2 to %3, not \"%4\".")
            .arg(option.names().first())
            .arg(low)
            .arg(high)
            .arg(parser.value(option));
    into = value;
    return {};
}

QString toggle(const QCommandLineParser &parser, const QCommandLineOption &on,
               const QCommandLineOption &off, std::optional<bool> &into)
{
    if (parser.isSet(on) && parser.isSet(off))
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--%1 and --%2 contradict each other.")
            .arg(on.names().first(), off.names().first());
    if (parser.isSet(on))
        into = true;
    else if (parser.isSet(off))
        into = false;
    return {};
}

QString readEnvironment(const QProcessEnvironment &environment, SendOptions &options)
{
    if (environment.contains(PacingVariable)) {
        const QStringList parts = environment.value(PacingVariable).split(QLatin1Char(','));
        bool okPause = false, okReply = false;
        const int pause = parts.value(0).trimmed().toInt(&okPause);
        const int reply = parts.value(1).trimmed().toInt(&okReply);
        if (parts.size() != 2 || !okPause || !okReply || pause < 0 || reply < 0 || pause > 60000 ||
            reply > 60000)
            return QCoreApplication::translate(
                       "lumawrite::send::SendOptions",
                       "%1 takes PAUSE,REPLY in milliseconds (for example 20,30), "
                       "not \"%2\".")
                .arg(PacingVariable, environment.value(PacingVariable));
        options.timing = {pause, reply};
    }
    options.serialDevice = environment.value(SerialDeviceVariable);
    return {};
}

} // namespace

ParsedArguments parseArguments(const QStringList &arguments, const QProcessEnvironment &environment)
{
    ParsedArguments result;
    SendOptions &o = result.options;
    Cli cli;
    QCommandLineParser &p = cli.parser;
    if (!p.parse(arguments)) {
        result.error = p.errorText();
        if (!p.unknownOptionNames().isEmpty())
            result.error += QCoreApplication::translate(
                "lumawrite::send::SendOptions", " A message that starts with \"-\" goes after "
                                                "\"--\".");
        return result;
    }
    if (p.isSet(QStringLiteral("help"))) {
        o.mode = SendOptions::Mode::Help;
        return result;
    }
    if (p.isSet(QStringLiteral("version"))) {
        o.mode = SendOptions::Mode::Version;
        return result;
    }

    Overrides &v = o.overrides;
    std::optional<int> serialPort, signPort;
    for (const QString &error :
         {wholeNumber(p, cli.size, 6, 60, v.size), wholeNumber(p, cli.offset, -10, 10, v.offset),
          wholeNumber(p, cli.address, 1, 50, v.address), wholeNumber(p, cli.speed, 1, 10, v.speed),
          wholeNumber(p, cli.serial, 1, 250, serialPort),
          wholeNumber(p, cli.port, 1, 65535, signPort), toggle(p, cli.bold, cli.noBold, v.bold),
          toggle(p, cli.italic, cli.noItalic, v.italic),
          toggle(p, cli.strike, cli.noStrike, v.strikethrough),
          toggle(p, cli.underline, cli.noUnderline, v.underline),
          readEnvironment(environment, o)}) {
        if (!error.isEmpty()) {
            result.error = error;
            return result;
        }
    }
    if (p.isSet(cli.font)) {
        v.font = p.value(cli.font).trimmed();
        if (v.font->isEmpty()) {
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--font needs a typeface name.");
            return result;
        }
    }
    if (p.isSet(cli.ip)) {
        // Stored in double quotes on line 1 of the settings file, which must stay readable.
        const QString raw = p.value(cli.ip);
        const bool unsafe = std::any_of(raw.cbegin(), raw.cend(), [](QChar c) {
            return c == QLatin1Char('"') || c == QLatin1Char(',') ||
                   c.category() == QChar::Other_Control;
        });
        if (unsafe) {
            result.error = QCoreApplication::translate(
                "lumawrite::send::SendOptions", "--ip takes an address or host name without double "
                                                "quotes, commas or control characters.");
            return result;
        }
        v.host = raw.trimmed();
        if (v.host->isEmpty()) {
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--ip needs an address or host name.");
            return result;
        }
    }
    if (p.isSet(cli.settings)) {
        o.settingsFile = p.value(cli.settings);
        if (o.settingsFile.isEmpty()) {
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--settings needs a file name.");
            return result;
        }
    }
    if (p.isSet(cli.lan) && serialPort) {
        result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                   "--lan and --serial contradict each other.");
        return result;
    }
    if (p.isSet(cli.lan))
        v.lan = true;
    if (serialPort) {
        v.lan = false;
        v.comPort = serialPort;
    }
    if (signPort)
        o.signPort = quint16(*signPort);

    o.dryRun = p.isSet(cli.dryRun);
    o.save = p.isSet(cli.save);
    o.verbose = p.isSet(cli.verbose);
    o.allowEmpty = p.isSet(cli.allowEmpty);
    o.strict = p.isSet(cli.strict);
    o.imageFile = p.value(cli.image);
    if (o.dryRun && o.save) {
        result.error =
            QCoreApplication::translate("lumawrite::send::SendOptions",
                                        "--dry-run sends nothing and changes nothing; it cannot be "
                                        "used with --save.");
        return result;
    }

    const QStringList texts = p.positionalArguments();
    if (p.isSet(cli.listFonts)) {
        o.mode = SendOptions::Mode::ListFonts;
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--list-fonts takes no TEXT; %1 given.")
                               .arg(texts.size());
        return result;
    }
    if (p.isSet(cli.watch)) {
        o.mode = SendOptions::Mode::Watch;
        o.watchFile = p.value(cli.watch);
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate(
                "lumawrite::send::SendOptions", "--watch takes the message from its file; give no "
                                                "TEXT with it.");
        return result;
    }
    if (texts.size() != 1) {
        result.error =
            texts.isEmpty()
                ? QCoreApplication::translate("lumawrite::send::SendOptions",
                                              "No message given: give TEXT, or \"-\" to read it "
                                              "from standard input.")
                : QCoreApplication::translate("lumawrite::send::SendOptions",
                                              "Give the message as one argument (put it in "
                                              "quotes); %1 were given.")
                      .arg(texts.size());
        return result;
    }
    o.mode = SendOptions::Mode::Send;
    o.textFromStdin = texts.first() == QStringLiteral("-");
    o.text = o.textFromStdin ? QString() : texts.first();
    return result;
}

QString helpText()
{
    Cli cli;
    QString usage = cli.parser.helpText();
    // The parser names the program by the path it was started with.
    const qsizetype lineEnd = usage.indexOf(QLatin1Char('\n'));
    usage.replace(0, lineEnd,
                  QCoreApplication::translate("lumawrite::send::SendOptions",
                                              "Usage: lumawrite-send [options] TEXT"));
    return usage + QLatin1Char('\n') +
           QCoreApplication::translate("lumawrite::send::SendOptions", ExitCodeTable) +
           QCoreApplication::translate("lumawrite::send::SendOptions",
                                       "\nThe settings file, shared with Luma Write: %1\n")
               .arg(settingsFilePath());
}

QString settingsPathFor(const SendOptions &options)
{
    return options.settingsFile.isEmpty() ? settingsFilePath() : options.settingsFile;
}

} // namespace lumawrite::send
