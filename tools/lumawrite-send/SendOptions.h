#pragma once

#include "SignLink.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumawrite::send {

// The exit status of lumawrite-send; --help lists the same table.
enum ExitCode : int {
    ExitOk = 0,              // sent, or printed (--dry-run, --list-fonts)
    ExitUploadFailed = 1,    // the transport failed part-way; the message says how far it got
    ExitUsage = 2,           // bad option or value, unknown font, unreadable --watch file or
                             // standard input, unreadable settings and no --ip or --serial
    ExitRefused = 3,         // message empty, longer than 250 characters (4096 bytes read) or
                             // wider than 9663 columns; a fit-check finding with --strict
    ExitLinkUnavailable = 4, // serial port not open, sign's host not found: nothing was sent
    ExitFileNotWritten = 5,  // the --image file, the settings file (--save) or standard output
                             // was not written (a settings file that could not be read is
                             // never written over)
};

// Choices given on the command line; each replaces the stored one for this run.
struct Overrides {
    std::optional<QString> font;
    std::optional<int> size;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> strikethrough;
    std::optional<bool> underline;
    std::optional<int> offset;
    std::optional<QString> host;
    std::optional<bool> lan;    // --lan sets true, --serial false
    std::optional<int> comPort; // --serial N
    std::optional<int> address;
    std::optional<int> speed;
};

struct SendOptions {
    enum class Mode { Send, Watch, ListFonts, Help, Version };
    Mode mode = Mode::Send;
    QString text;               // the message argument, as given
    bool textFromStdin = false; // the argument was "-"
    QString watchFile;
    QString settingsFile; // --settings; empty for the program's own settings file
    Overrides overrides;
    bool dryRun = false;
    bool save = false;
    bool verbose = false;
    bool allowEmpty = false; // an empty message blanks the sign instead of being refused
    bool strict = false;     // a fit-check finding refuses the message instead of a warning
    QString imageFile;
    quint16 signPort = link::SignLink::SignUdpPort;
    // Test hooks, taken from the environment: LUMAWRITE_SEND_PACING_MS="PAUSE,REPLY" shortens
    // the waits of the link; LUMAWRITE_SEND_SERIAL_DEVICE makes every COM number open that
    // device. Operators never need either.
    link::LinkTiming timing;
    QString serialDevice;
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

} // namespace lumawrite::send
