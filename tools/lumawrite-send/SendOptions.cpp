#include "SendOptions.h"

#include "MessagePlan.h"
#include "MqttService.h"
#include "PictureFiles.h"
#include "SettingsStore.h"
#include "SignPorts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QSysInfo>

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
    QCommandLineOption listPorts{
        QStringLiteral("list-ports"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Print each COM number whose device is there now, one a "
                                    "line: COM n, its path, the adapter's name and the "
                                    "ports.conf line that pins it, separated by tabs.")};
    QCommandLineOption watch{
        QStringLiteral("watch"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Send the first line of FILE now and again whenever "
                                    "it changes, at the latest 2 s after a change however "
                                    "often it is rewritten; an empty line or one longer "
                                    "than 4096 bytes is skipped with a message. Runs "
                                    "until stopped."),
        QStringLiteral("FILE")};
    QCommandLineOption saved{
        QStringLiteral("saved"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Send the message saved as NAME instead of TEXT, with its "
                                    "own typeface, size, styles and offset; options given win."),
        QStringLiteral("NAME")};
    QCommandLineOption keep{
        QStringLiteral("keep"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Save the message as NAME, with the typeface, size, styles "
                                    "and offset given (or those of --saved), once it is "
                                    "accepted; with --dry-run it is saved and not sent."),
        QStringLiteral("NAME")};
    QCommandLineOption listSaved{
        QStringLiteral("list-saved"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Print the saved messages, one a line: the name and the "
                                    "text, separated by a tab.")};
    QCommandLineOption history{
        QStringLiteral("history"),
        QCoreApplication::translate(
            "lumawrite::send::SendOptions",
            "Print the last 10 uploads, or as many as the number after it (--history 20, at "
            "most 100), newest first, one a line: time, outcome, frames sent/of, link, sign "
            "and text, separated by tabs.")};
    QCommandLineOption picture{
        QStringLiteral("picture"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Send the image in FILE (PNG, SVG, ...) as the whole message "
                                    "instead of TEXT, scaled to the sign's 16 rows: a regular "
                                    "file of at most 4 MiB and 4096 x 4096 pixels."),
        QStringLiteral("FILE")};
    QCommandLineOption invert{
        QStringLiteral("invert"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Light the light pixels of images instead of the dark ones "
                                    "(a light logo on black): of --picture and of the pictures "
                                    "folder.")};
    QCommandLineOption listPictures{
        QStringLiteral("list-pictures"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Print the pictures a message may hold as {NAME}, one a line: "
                                    "the name and its width in columns, separated by a tab.")};
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

    QCommandLineOption mqtt{
        QStringLiteral("mqtt"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Run as a service of the MQTT broker at URL, "
                                    "mqtt://HOST[:PORT] (1883) or mqtts://HOST[:PORT] (8883, "
                                    "TLS): every message published to PREFIX/message goes to "
                                    "the sign(s), and the state is published to "
                                    "PREFIX/status. Runs until stopped; give no TEXT."),
        QStringLiteral("URL")};
    QCommandLineOption topic{
        QStringLiteral("topic"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "With --mqtt: take messages from PREFIX/message; give it "
                                    "again for a group the sign belongs to. The status goes to "
                                    "the first PREFIX/status."),
        QStringLiteral("PREFIX")};
    QCommandLineOption mqttClientId{
        QStringLiteral("mqtt-client-id"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "The client id the broker knows this service by "
                                    "(default lumawrite-send/HOST/ and a digest of its "
                                    "settings files, one for each service); the broker keeps "
                                    "its messages while it is away."),
        QStringLiteral("ID")};
    QCommandLineOption mqttUser{
        QStringLiteral("mqtt-user"),
        QCoreApplication::translate("lumawrite::send::SendOptions", "The user name at the broker."),
        QStringLiteral("NAME")};
    QCommandLineOption mqttPasswordFile{
        QStringLiteral("mqtt-password-file"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "Read the broker password from the first line of FILE."),
        QStringLiteral("FILE")};
    QCommandLineOption discovery{
        QStringLiteral("discovery"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "With --mqtt: announce the service to Home Assistant (MQTT "
                                    "discovery) under PREFIX, by default homeassistant: a text "
                                    "entity for the message and sensors for the upload."),
        QStringLiteral("PREFIX")};
    QCommandLineOption discoveryName{
        QStringLiteral("discovery-name"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "With --discovery: the device's name (default: the last "
                                    "part of the first --topic)."),
        QStringLiteral("NAME")};
    QCommandLineOption discoveryRemove{
        QStringLiteral("discovery-remove"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "With --discovery: take the service's entities away "
                                    "(empty retained configs) instead of announcing them.")};
    QCommandLineOption mqttCaFile{
        QStringLiteral("mqtt-cafile"),
        QCoreApplication::translate("lumawrite::send::SendOptions",
                                    "With mqtts: trust the broker's certificate if FILE's "
                                    "certificate authority signed it (default: the system's)."),
        QStringLiteral("FILE")};

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
        parser.addOptions({font,    size,       bold,      noBold,      italic,    noItalic,
                           strike,  noStrike,   underline, noUnderline, offset,    ip,
                           lan,     serial,     address,   speed,       port,      settings,
                           save,    dryRun,     image,     listFonts,   listPorts, watch,
                           verbose, allowEmpty, strict});
        parser.addOptions({saved, keep, listSaved, history});
        parser.addOptions({picture, invert, listPictures});
        parser.addOptions({mqtt, topic, mqttClientId, mqttUser, mqttPasswordFile, mqttCaFile,
                           discovery, discoveryName, discoveryRemove});
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
    const QString devices = environment.value(SerialDeviceVariable);
    if (!devices.contains(QLatin1Char('='))) {
        options.serialDevice = devices;
        return {};
    }
    for (const QString &entry : devices.split(QLatin1Char(','))) {
        bool ok = false;
        const int comNumber = entry.section(QLatin1Char('='), 0, 0).toInt(&ok);
        const QString device = entry.section(QLatin1Char('='), 1);
        if (!ok || comNumber < SettingsRange::FirstComPort ||
            comNumber > SettingsRange::LastComPort || device.isEmpty())
            return QStringLiteral("%1 takes DEVICE or N=DEVICE[,M=DEVICE...], not \"%2\".")
                .arg(SerialDeviceVariable, devices);
        options.serialDevices.insert(comNumber, device);
    }
    return {};
}

// HOST, HOST:PORT, [IPV6] or [IPV6]:PORT; a bare IPv6 address has no port.
QString readSignAddress(const QString &text, SignAddress &into)
{
    QString portText;
    bool hasPort = false;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        const QString rest = close < 0 ? QString() : text.mid(close + 1);
        if (close < 0 || (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':'))))
            return QCoreApplication::translate(
                       "lumawrite::send::SendOptions",
                       "--ip takes [ADDRESS] or [ADDRESS]:PORT for an IPv6 address, "
                       "not \"%1\".")
                .arg(text);
        into.host = text.mid(1, close - 1).trimmed();
        hasPort = !rest.isEmpty();
        portText = rest.mid(1);
    } else if (text.count(QLatin1Char(':')) == 1) {
        into.host = text.section(QLatin1Char(':'), 0, 0).trimmed();
        hasPort = true;
        portText = text.section(QLatin1Char(':'), 1);
    } else {
        into.host = text;
    }
    if (into.host.isEmpty())
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--ip needs an address or host name.");
    if (hasPort) {
        bool ok = false;
        const int port = portText.toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return QCoreApplication::translate(
                       "lumawrite::send::SendOptions",
                       "--ip takes HOST:PORT with a port from 1 to 65535, not \"%1\".")
                .arg(text);
        into.port = quint16(port);
    }
    return {};
}

// --mqtt and the options that go with it.
QString readServiceOptions(const QCommandLineParser &p, const Cli &cli, const QStringList &texts,
                           SendOptions &o)
{
    o.mode = SendOptions::Mode::Mqtt;
    if (!texts.isEmpty() || p.isSet(cli.watch))
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt takes the messages from the broker; give no "
                                           "TEXT or --watch with it.");
    o.mqttUrl = p.value(cli.mqtt);
    platform::BrokerAccess access;
    QString error = readBrokerUrl(o.mqttUrl, access);
    if (!error.isEmpty())
        return error;
    o.mqttTopics = p.values(cli.topic);
    if (o.mqttTopics.isEmpty())
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt needs a --topic PREFIX.");
    for (const QString &topic : std::as_const(o.mqttTopics)) {
        if (topic.isEmpty() || topic.contains(QLatin1Char('+')) ||
            topic.contains(QLatin1Char('#')) || topic.contains(QChar(0)) ||
            topic.endsWith(QLatin1Char('/')))
            return QCoreApplication::translate("lumawrite::send::SendOptions",
                                               "--topic takes a topic prefix such as signs/shop-1, "
                                               "without + or # or a closing /, not \"%1\".")
                .arg(topic);
    }
    // One id a service: two services with the same topics, on one host or two, must not take
    // the connection from each other. The same service keeps its id, and so its session, from
    // one start to the next: the host and its settings files name it.
    if (p.isSet(cli.mqttClientId)) {
        o.mqttClientId = p.value(cli.mqttClientId);
    } else {
        const QStringList files =
            o.settingsFiles.isEmpty() ? QStringList{settingsPathFor(o)} : o.settingsFiles;
        QStringList absolute;
        for (const QString &file : files)
            absolute.append(QFileInfo(file).absoluteFilePath());
        const QByteArray digest =
            QCryptographicHash::hash(absolute.join('\n').toUtf8(), QCryptographicHash::Sha256);
        o.mqttClientId =
            QStringLiteral("lumawrite-send/%1/%2")
                .arg(QSysInfo::machineHostName(), QString::fromLatin1(digest.toHex().left(8)));
    }
    if (o.mqttClientId.isEmpty())
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt-client-id needs an id.");
    o.mqttUser = p.value(cli.mqttUser);
    o.mqttPasswordFile = p.value(cli.mqttPasswordFile);
    o.mqttCaFile = p.value(cli.mqttCaFile);
    if (!o.mqttPasswordFile.isEmpty() && o.mqttUser.isEmpty())
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt-password-file needs --mqtt-user.");
    if (!o.mqttCaFile.isEmpty() && !access.tls)
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--mqtt-cafile is for an mqtts:// broker.");
    if (p.isSet(cli.discovery)) {
        o.discoveryPrefix = p.value(cli.discovery);
        if (o.discoveryPrefix.isEmpty() || o.discoveryPrefix.contains(QLatin1Char('+')) ||
            o.discoveryPrefix.contains(QLatin1Char('#')) || o.discoveryPrefix.contains(QChar(0)) ||
            o.discoveryPrefix.endsWith(QLatin1Char('/')))
            return QCoreApplication::translate("lumawrite::send::SendOptions",
                                               "--discovery takes a topic prefix such as "
                                               "homeassistant, without + or # or a closing /.");
        o.discoveryName = p.value(cli.discoveryName);
        o.discoveryRemove = p.isSet(cli.discoveryRemove);
    } else if (p.isSet(cli.discoveryName) || p.isSet(cli.discoveryRemove)) {
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "--discovery-name and --discovery-remove go with "
                                           "--discovery.");
    }
    return {};
}

// "--discovery" may go without its PREFIX: then it is followed by another option or nothing
// (with --mqtt there is no TEXT), and means homeassistant.
QStringList withDiscoveryPrefix(QStringList arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            break;
        if (arguments[i] == QLatin1String("--discovery") &&
            (i + 1 == arguments.size() || arguments[i + 1].startsWith(QLatin1Char('-'))))
            arguments[i] = QStringLiteral("--discovery=homeassistant");
    }
    return arguments;
}

} // namespace

ParsedArguments parseArguments(const QStringList &arguments, const QProcessEnvironment &environment)
{
    ParsedArguments result;
    SendOptions &o = result.options;
    Cli cli;
    QCommandLineParser &p = cli.parser;
    // --history=N as well as --history N: the number is the option's, though the option takes
    // none.
    QStringList given = withDiscoveryPrefix(arguments);
    const QString historyEquals = QStringLiteral("--history=");
    for (qsizetype i = 1; i < given.size() && given[i] != QStringLiteral("--"); ++i) {
        if (given[i].startsWith(historyEquals)) {
            given.insert(i + 1, given[i].mid(historyEquals.size()));
            given[i] = QStringLiteral("--history");
        }
    }
    if (!p.parse(given)) {
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
         {wholeNumber(p, cli.size, SettingsRange::MinFontSize, SettingsRange::MaxFontSize, v.size),
          wholeNumber(p, cli.offset, SettingsRange::MinOffset, SettingsRange::MaxOffset, v.offset),
          wholeNumber(p, cli.address, 1, 50, v.address), wholeNumber(p, cli.speed, 1, 10, v.speed),
          wholeNumber(p, cli.serial, SettingsRange::FirstComPort, SettingsRange::LastComPort,
                      serialPort),
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
    for (const QString &raw : p.values(cli.ip)) {
        // Stored in double quotes on line 1 of the settings file, which must stay readable.
        if (!raw.trimmed().isEmpty() && !signs::storableSignAddress(raw)) {
            result.error = QCoreApplication::translate(
                "lumawrite::send::SendOptions", "--ip takes an address or host name without double "
                                                "quotes, commas or control characters.");
            return result;
        }
        SignAddress sign;
        result.error = readSignAddress(raw.trimmed(), sign);
        if (!result.error.isEmpty())
            return result;
        o.signAddresses.append(sign);
    }
    if (o.signAddresses.size() == 1)
        v.host = o.signAddresses.first().host;
    for (const QString &file : p.values(cli.settings)) {
        if (file.isEmpty()) {
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--settings needs a file name.");
            return result;
        }
        o.settingsFiles.append(file);
    }
    if (!o.settingsFiles.isEmpty())
        o.settingsFile = o.settingsFiles.first();
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
    if (o.signAddresses.size() == 1 && o.signAddresses.first().port)
        o.signPort = *o.signAddresses.first().port;

    o.dryRun = p.isSet(cli.dryRun);
    o.save = p.isSet(cli.save);
    o.verbose = p.isSet(cli.verbose);
    o.allowEmpty = p.isSet(cli.allowEmpty);
    o.strict = p.isSet(cli.strict);
    o.imageFile = p.value(cli.image);
    o.pictureFile = p.value(cli.picture);
    o.invert = p.isSet(cli.invert);
    if (o.dryRun && o.save) {
        result.error =
            QCoreApplication::translate("lumawrite::send::SendOptions",
                                        "--dry-run sends nothing and changes nothing; it cannot be "
                                        "used with --save.");
        return result;
    }
    if (o.settingsFiles.size() > 1 && o.signAddresses.size() > 1) {
        result.error =
            QCoreApplication::translate("lumawrite::send::SendOptions",
                                        "--settings and --ip cannot both name several signs: give "
                                        "one settings file with an --ip for each sign, or a "
                                        "settings file for each sign.");
        return result;
    }
    if (o.save && o.signAddresses.size() > 1 && o.settingsFiles.size() <= 1) {
        result.error =
            QCoreApplication::translate("lumawrite::send::SendOptions",
                                        "--save cannot store several --ip in one settings file; "
                                        "give each sign a --settings file of its own.");
        return result;
    }
    if (!o.imageFile.isEmpty() && signsFor(o).size() > 1) {
        result.error =
            QCoreApplication::translate("lumawrite::send::SendOptions",
                                        "--image writes the picture of one sign; give it with one "
                                        "sign only.");
        return result;
    }

    const QStringList texts = p.positionalArguments();
    o.savedName = p.value(cli.saved);
    o.keepName = p.value(cli.keep);
    if (p.isSet(cli.saved) && o.savedName.isEmpty()) {
        result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                   "--saved needs the name of a saved message.");
        return result;
    }
    if (p.isSet(cli.picture) && o.pictureFile.isEmpty()) {
        result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                   "--picture needs a file name.");
        return result;
    }
    if (p.isSet(cli.keep)) {
        const QString problem = signs::savedNameProblem(o.keepName);
        if (!problem.isEmpty()) {
            result.error = QStringLiteral("--keep: %1.").arg(problem);
            return result;
        }
    }
    // A listing sends nothing and keeps nothing.
    for (const QCommandLineOption *listing :
         {&cli.listFonts, &cli.listPorts, &cli.listSaved, &cli.listPictures, &cli.history}) {
        for (const QCommandLineOption *message : {&cli.saved, &cli.keep, &cli.picture}) {
            if (p.isSet(*listing) && p.isSet(*message)) {
                result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                           "--%1 prints; it cannot be used with "
                                                           "--%2.")
                                   .arg(listing->names().first(), message->names().first());
                return result;
            }
        }
    }
    if (p.isSet(cli.listFonts)) {
        o.mode = SendOptions::Mode::ListFonts;
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--list-fonts takes no TEXT; %1 given.")
                               .arg(texts.size());
        return result;
    }
    if (p.isSet(cli.listPorts)) {
        o.mode = SendOptions::Mode::ListPorts;
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--list-ports takes no TEXT; %1 given.")
                               .arg(texts.size());
        else if (o.settingsFiles.size() > 1)
            result.error = QCoreApplication::translate(
                "lumawrite::send::SendOptions",
                "--list-ports reads the ports.conf beside one settings file; give at most one "
                "--settings with it.");
        return result;
    }
    if (p.isSet(cli.listSaved)) {
        o.mode = SendOptions::Mode::ListSaved;
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--list-saved takes no TEXT; %1 given.")
                               .arg(texts.size());
        return result;
    }
    if (p.isSet(cli.listPictures)) {
        o.mode = SendOptions::Mode::ListPictures;
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--list-pictures takes no TEXT; %1 given.")
                               .arg(texts.size());
        else if (o.settingsFiles.size() > 1)
            result.error = QCoreApplication::translate(
                "lumawrite::send::SendOptions",
                "--list-pictures reads the pictures folder beside one settings file; give at "
                "most one --settings with it.");
        return result;
    }
    if (p.isSet(cli.history)) {
        o.mode = SendOptions::Mode::History;
        bool ok = texts.isEmpty();
        if (texts.size() == 1)
            o.historyCount = texts.first().toInt(&ok);
        if (!ok || o.historyCount < 1 || o.historyCount > signs::HistoryLength)
            result.error = QCoreApplication::translate(
                               "lumawrite::send::SendOptions",
                               "--history takes the number of uploads to print, from 1 to %1, "
                               "not \"%2\".")
                               .arg(signs::HistoryLength)
                               .arg(texts.join(QLatin1Char(' ')));
        return result;
    }
    // --saved, --keep and --picture are for one message.
    for (const QCommandLineOption *message : {&cli.saved, &cli.keep, &cli.picture}) {
        for (const QCommandLineOption *many : {&cli.watch, &cli.mqtt}) {
            if (p.isSet(*message) && p.isSet(*many)) {
                result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                           "--%1 is for one message; it cannot be "
                                                           "used with --%2.")
                                   .arg(message->names().first(), many->names().first());
                return result;
            }
        }
    }
    // The file is no picture of the folder: neither the settings file nor a saved message
    // could name it again.
    for (const QCommandLineOption *kept : {&cli.saved, &cli.keep, &cli.save}) {
        if (p.isSet(cli.picture) && p.isSet(*kept)) {
            result.error = QCoreApplication::translate(
                               "lumawrite::send::SendOptions",
                               "--picture sends a file that neither a saved message nor the "
                               "settings file can name; it cannot be used with --%1. Put the file "
                               "in the pictures folder beside the "
                               "settings file and send \"{NAME}\" instead.")
                               .arg(kept->names().first());
            return result;
        }
    }
    if (p.isSet(cli.mqtt)) {
        result.error = readServiceOptions(p, cli, texts, o);
        return result;
    }
    for (const QCommandLineOption *option :
         {&cli.topic, &cli.mqttClientId, &cli.mqttUser, &cli.mqttPasswordFile, &cli.mqttCaFile,
          &cli.discovery, &cli.discoveryName, &cli.discoveryRemove}) {
        if (p.isSet(*option)) {
            result.error = QCoreApplication::translate("lumawrite::send::SendOptions",
                                                       "--%1 is for the service: give it with "
                                                       "--mqtt.")
                               .arg(option->names().first());
            return result;
        }
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
    if (!o.pictureFile.isEmpty()) {
        o.mode = SendOptions::Mode::Send;
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate(
                "lumawrite::send::SendOptions",
                "--picture sends the picture as the whole message; give no TEXT (nor \"-\") "
                "with it.");
        return result;
    }
    if (!o.savedName.isEmpty()) {
        o.mode = SendOptions::Mode::Send;
        if (!texts.isEmpty())
            result.error = QCoreApplication::translate(
                "lumawrite::send::SendOptions",
                "--saved sends the message saved under its name; give no TEXT (nor \"-\") with "
                "it.");
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

// How several signs are named and served.
QString severalSigns()
{
    return QCoreApplication::translate(
        "lumawrite::send::SendOptions",
        "Several signs:\n"
        "  Give --ip HOST[:PORT] once for each sign (the port after a colon, an IPv6\n"
        "  address in brackets as [::1]:12346; else --port, else 12346), all with the\n"
        "  choices of one settings file; or give --settings FILE once for each sign,\n"
        "  each file with that sign's link, COM port, address, speed, IP, font and\n"
        "  styles.\n"
        "  Every sign gets the message at once, each paced on its own; signs on the\n"
        "  same COM port share one wire and are served one after another, and so are\n"
        "  two entries that name the same sign (host, port and address). Each sign\n"
        "  ends with a line: sent, failed after n of m frames, or refused, with why.\n"
        "  The exit code is 0 when every sign was sent to, else 1.\n");
}

// How COM numbers find their devices, and what --list-ports prints.
QString serialPorts()
{
    return QCoreApplication::translate(
        "lumawrite::send::SendOptions",
        "Serial ports:\n"
        "  COM n opens the device that ports.conf maps it to: the file beside the\n"
        "  settings file (beside each --settings FILE), one line per port, as\n"
        "    COM 1 = /dev/serial/by-id/usb-FTDI_FT232R_A12345-if00-port0\n"
        "  with \"#\" at the start of a line or after a blank starting a comment.\n"
        "  Numbers it does not map keep the fixed table: COM 1-32 /dev/ttyS0-31,\n"
        "  COM 33-64 /dev/ttyUSB0-31, COM 65-96 /dev/ttyACM0-31. Lines that cannot\n"
        "  be read are ignored and told on standard error.\n"
        "  --list-ports prints one line per port that is there now, untranslated:\n"
        "    COM n<TAB>PATH<TAB>ADAPTER<TAB>COM n = PIN\n"
        "  ADAPTER is empty when the system does not know it; PIN is the\n"
        "  /dev/serial/by-id/ link to the device when there is one, else PATH.\n");
}

// Where saved messages and the history are kept, and how --saved and --keep use them.
QString savedAndHistory()
{
    return QCoreApplication::translate(
               "lumawrite::send::SendOptions",
               "Saved messages and history:\n"
               "  --keep NAME saves the message, with the typeface (by name), size, styles\n"
               "  and offset given, in messages.json beside the settings file (the first\n"
               "  --settings FILE), which Luma Write's windows share; --saved NAME sends\n"
               "  it again, the options given still winning; --list-saved lists them.\n"
               "  Every upload to a sign, from here or from the windows, is kept (the\n"
               "  last 100, for --history) in %1.\n"
               "  A name no message is saved as, and saved messages or a history that\n"
               "  cannot be read, exit with 2; a message that could not be kept exits with\n"
               "  5 (when it was sent, or printed, all the same). An upload stopped by\n"
               "  SIGTERM, SIGHUP or Ctrl+C exits with 1, and says how many frames went\n"
               "  out; --watch stopped so exits with 0.\n")
        .arg(signs::historyFilePath());
}

// What "{NAME}" puts into a message, and where the pictures come from.
QString pictures()
{
    return QCoreApplication::translate(
               "lumawrite::send::SendOptions",
               "Pictures:\n"
               "  {NAME} in a message puts in the picture of that name, 16 rows high: ours\n"
               "  are arrow-up, arrow-down, arrow-left, arrow-right, heart, star, euro,\n"
               "  clock, warning, check, cross and smile. The image files in the pictures\n"
               "  folder beside the settings file (beside each --settings FILE) add theirs;\n"
               "  for the shared settings file that folder is\n"
               "    %1\n"
               "  logo.png there is {logo}, and one named as one of ours replaces it. A\n"
               "  name that is no picture stays text; in a message with pictures \"{{\" is\n"
               "  a \"{\". An image of another height is scaled, with a warning. A file\n"
               "  there that cannot be used is told on standard error, and refuses no\n"
               "  message. A --picture file that cannot be used exits with 3, saying why;\n"
               "  nothing is sent.\n")
        .arg(signs::picturesBeside(settingsFilePath()));
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
    return usage + QLatin1Char('\n') + severalSigns() + QLatin1Char('\n') + serialPorts() +
           QLatin1Char('\n') + savedAndHistory() + QLatin1Char('\n') + pictures() +
           QLatin1Char('\n') +
           QCoreApplication::translate("lumawrite::send::SendOptions", ExitCodeTable) +
           QCoreApplication::translate("lumawrite::send::SendOptions",
                                       "\nThe settings file, shared with Luma Write: %1\n")
               .arg(settingsFilePath());
}

QString settingsPathFor(const SendOptions &options)
{
    return options.settingsFile.isEmpty() ? settingsFilePath() : options.settingsFile;
}

QList<SignTarget> signsFor(const SendOptions &options)
{
    QList<SignTarget> signs;
    if (options.signAddresses.size() > 1) {
        for (const SignAddress &address : options.signAddresses) {
            SignTarget sign{settingsPathFor(options), options.overrides,
                            address.port.value_or(options.signPort)};
            sign.overrides.host = address.host;
            signs.append(sign);
        }
        return signs;
    }
    // With one --ip its port is the run's.
    for (const QString &file : options.settingsFiles)
        signs.append({file, options.overrides, options.signPort});
    if (signs.isEmpty())
        signs.append({settingsPathFor(options), options.overrides, options.signPort});
    return signs;
}

platform::ComPorts comPortsFor(const SendOptions &options, const QString &settingsPath)
{
    platform::ComPorts ports = signs::comPortsBeside(settingsPath);
    if (!options.serialDevice.isEmpty()) {
        const QString device = options.serialDevice;
        ports.resolver = [device](int) { return device; };
    } else if (!options.serialDevices.isEmpty()) {
        ports.resolver = platform::mappedComPorts(options.serialDevices, ports.resolver);
    }
    return ports;
}

QString fontListing(const QStringList &fontList)
{
    QString listing;
    for (qsizetype i = 0; i < fontList.size(); ++i)
        listing += QStringLiteral("%1\t%2\n").arg(i).arg(fontList[i]);
    return listing;
}

QString portListing(const platform::ComPortResolver &ports, const platform::SerialDevices &devices)
{
    QString listing;
    for (int com = SettingsRange::FirstComPort; com <= SettingsRange::LastComPort; ++com) {
        const QString path = ports(com);
        const platform::SerialDevice device = devices.find(path);
        if (!device.present)
            continue;
        // Tabs and line ends in a path or a name are escaped: each line keeps its four fields.
        const QString shownPath = signs::visibleControls(path);
        listing +=
            QStringLiteral("COM %1\t%2\t%3\tCOM %1 = %4\n")
                .arg(QString::number(com), shownPath, signs::visibleControls(device.description),
                     device.byId.isEmpty() ? shownPath : signs::visibleControls(device.byId));
    }
    return listing;
}

signs::FleetOptions fleetOptions(const SendOptions &options)
{
    signs::FleetOptions fleet;
    fleet.allowEmpty = options.allowEmpty;
    fleet.strict = options.strict;
    fleet.dryRun = options.dryRun;
    fleet.save = options.save;
    fleet.keepFrames = options.verbose;
    fleet.imageFile = options.imageFile;
    fleet.pictures = options.pictures;
    fleet.invertPictures = options.invert;
    return fleet;
}

QString savedMessagesPathFor(const SendOptions &options)
{
    return signs::savedMessagesBeside(settingsPathFor(options));
}

QString findSavedMessage(const SendOptions &options, const QString &name, signs::SavedMessage &into)
{
    QString error;
    const std::optional<signs::SavedMessage> found =
        signs::SavedMessages(savedMessagesPathFor(options)).find(name, &error);
    if (!error.isEmpty())
        return error;
    if (!found)
        return QCoreApplication::translate("lumawrite::send::SendOptions",
                                           "no message is saved as \"%1\"")
            .arg(signs::visibleControls(name));
    into = *found;
    return {};
}

Overrides keptChoices(const Overrides &run, const QStringList &fontList)
{
    Overrides kept;
    if (run.font) {
        // As the font list names it: "dejavu serif" and "DejaVu Serif [urw]" are DejaVu Serif.
        const int position = signs::fontPosition(fontList, *run.font);
        kept.font = position >= 0 ? fontList[position] : *run.font;
    }
    kept.size = run.size;
    kept.bold = run.bold;
    kept.italic = run.italic;
    kept.strikethrough = run.strikethrough;
    kept.underline = run.underline;
    kept.offset = run.offset;
    return kept;
}

QString savedListing(const QList<signs::SavedMessage> &messages)
{
    QString listing;
    for (const signs::SavedMessage &message : messages)
        listing +=
            QStringLiteral("%1\t%2\n")
                .arg(signs::visibleControls(message.name), signs::visibleControls(message.text));
    return listing;
}

QString pictureMessageName(const QString &path)
{
    const QString name = QFileInfo(path).completeBaseName();
    // It stands in the message as "{NAME}", and so in the history and the status.
    const bool usable = !name.isEmpty() && name.size() <= 64 && !name.contains(QLatin1Char('{')) &&
                        !name.contains(QLatin1Char('}')) && signs::visibleControls(name) == name;
    return usable ? name : QStringLiteral("picture");
}

QString pictureListing(const QList<render::Picture> &pictures)
{
    QString listing;
    for (const render::Picture &picture : pictures)
        listing += QStringLiteral("%1\t%2\n")
                       .arg(signs::visibleControls(picture.name), QString::number(picture.width()));
    return listing;
}

QString historyListing(const QList<signs::HistoryEntry> &newestFirst)
{
    QString listing;
    for (const signs::HistoryEntry &entry : newestFirst)
        listing += signs::historyLine(entry) + QLatin1Char('\n');
    return listing;
}

} // namespace lumawrite::send
