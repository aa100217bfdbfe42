#pragma once

#include "SavedMessages.h"
#include "SignFleet.h"
#include "SignLink.h"
#include "UploadHistory.h"

#include <QList>
#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumawrite::send {

// The exit status of lumawrite-send; --help lists the same table.
enum ExitCode : int {
    ExitOk = 0,              // sent, or printed (--dry-run, --list-fonts)
    ExitUploadFailed = 1,    // the transport failed part-way, or SIGTERM, SIGHUP or Ctrl+C
                             // stopped it; the message says how far it got
    ExitUsage = 2,           // bad option or value, unknown font, unreadable --watch file or
                             // standard input, unreadable settings and no --ip or --serial,
                             // no message saved under the --saved name, unreadable saved
                             // messages or history
    ExitRefused = 3,         // message empty, longer than 250 characters (4096 bytes read) or
                             // wider than 9663 columns; a fit-check finding with --strict; a
                             // --picture file that cannot be used
    ExitLinkUnavailable = 4, // serial port not open, sign's host not found: nothing was sent
    ExitFileNotWritten = 5,  // the --image file, the settings file (--save), the saved
                             // messages (--keep) or standard output was not written (a
                             // settings file that could not be read is never written over)
};

// Choices given on the command line; each replaces the stored one for this run.
using signs::Overrides;
// One sign of a run.
using signs::SignTarget;

// The uploads --history prints when no number follows it.
constexpr int DefaultHistoryLines = 10;

// A sign named by --ip HOST[:PORT].
struct SignAddress {
    QString host;
    std::optional<quint16> port; // from HOST:PORT
};

struct SendOptions {
    enum class Mode {
        Send,
        Watch,
        Mqtt,
        ListFonts,
        ListPorts,
        ListSaved,
        ListPictures,
        History,
        Help,
        Version
    };
    Mode mode = Mode::Send;
    QString text;               // the message argument, as given
    bool textFromStdin = false; // the argument was "-"
    QString savedName;          // --saved: the message saved under this name instead of TEXT
    QString keepName;           // --keep: the message is saved under this name
    int historyCount = DefaultHistoryLines; // --history [N]
    QString pictureFile; // --picture: this image file is the whole message instead of TEXT
    bool invert = false; // --invert: images light their light pixels (a light logo on black)
    QList<render::Picture> pictures; // the --picture, once read
    QString watchFile;
    QString settingsFile; // --settings; empty for the program's own settings file
    // Every --ip and every --settings, in the order given; more than one of either names
    // several signs.
    QList<SignAddress> signAddresses;
    QStringList settingsFiles;
    Overrides overrides;
    bool dryRun = false;
    bool save = false;
    bool verbose = false;
    bool allowEmpty = false; // an empty message blanks the sign instead of being refused
    bool strict = false;     // a fit-check finding refuses the message instead of a warning
    QString imageFile;
    // --mqtt: the broker, the topic prefixes (the status goes under the first), the client id
    // ("lumawrite-send/HOST/" and a digest of the settings files unless given) and how to log in.
    QString mqttUrl;
    QStringList mqttTopics;
    QString mqttClientId;
    QString mqttUser;
    QString mqttPasswordFile;
    QString mqttCaFile;
    // --discovery [PREFIX]: the service's entities are announced for Home Assistant under
    // PREFIX (empty: not announced); --discovery-remove takes them away instead.
    QString discoveryPrefix;
    QString discoveryName;
    bool discoveryRemove = false;
    quint16 signPort = link::SignLink::SignUdpPort;
    // Test hooks, taken from the environment: LUMAWRITE_SEND_PACING_MS="PAUSE,REPLY" shortens
    // the waits of the link; LUMAWRITE_SEND_SERIAL_DEVICE makes every COM number open that
    // device, or, as "N=DEVICE[,M=DEVICE...]", each COM number named open its device. Operators
    // never need either.
    link::LinkTiming timing;
    QString serialDevice;
    QMap<int, QString> serialDevices;
};

struct ParsedArguments {
    SendOptions options;
    QString error; // empty when the arguments can be used
};

// The arguments start with the program name, as QCoreApplication::arguments() has them.
ParsedArguments parseArguments(const QStringList &arguments,
                               const QProcessEnvironment &environment);

// The text of --help: usage, every option and the exit codes.
QString helpText();

// The settings file this run reads (and writes with --save).
QString settingsPathFor(const SendOptions &options);

// The COM ports of a run with the settings file: the ports.conf beside it over the fixed table;
// the serial test hook, when set, wins over both.
platform::ComPorts comPortsFor(const SendOptions &options, const QString &settingsPath);

// The font list as --list-fonts prints it: "position<TAB>name", one a line.
QString fontListing(const QStringList &fontList);

// --list-ports: every COM number whose device is there now, one a line,
// "COM n<TAB>PATH<TAB>ADAPTER<TAB>COM n = PIN" (PIN the by-id link, else PATH).
QString portListing(const platform::ComPortResolver &ports, const platform::SerialDevices &devices);

// The signs of the run, in the order of their --ip or --settings: one for each --ip (all reading
// the one settings file), else one for each settings file; one sign when neither repeats.
QList<SignTarget> signsFor(const SendOptions &options);

// What the signs do with every text of the run.
signs::FleetOptions fleetOptions(const SendOptions &options);

// The saved messages of the run: messages.json beside its (first) settings file.
QString savedMessagesPathFor(const SendOptions &options);

// The message saved under the name, or why there is none: the file cannot be read, or no
// message is saved under that name.
QString findSavedMessage(const SendOptions &options, const QString &name,
                         signs::SavedMessage &into);

// What --keep saves of the run's choices: the typeface (by its family name in the font list),
// size, styles and offset that were given; never the link or the sign's address.
Overrides keptChoices(const Overrides &run, const QStringList &fontList);

// --list-saved: "NAME<TAB>TEXT" a message, control characters in either shown as \xNN.
QString savedListing(const QList<signs::SavedMessage> &messages);

// The name a --picture file is sent under, as "{NAME}": its file name without the extension,
// or "picture" when that cannot stand between braces.
QString pictureMessageName(const QString &path);

// --list-pictures: "NAME<TAB>columns" a picture, control characters in the name shown as \xNN.
QString pictureListing(const QList<render::Picture> &pictures);

// --history: one signs::historyLine an upload, newest first.
QString historyListing(const QList<signs::HistoryEntry> &newestFirst);

} // namespace lumawrite::send
