#pragma once

#include "Settings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumawrite {

// Where the settings file lives: "c:\tabro.cfg" on Windows; elsewhere tabro.cfg in a
// "lumawrite" folder of the user's configuration directory (XDG_CONFIG_HOME moves it).
// This is the only place that decides the location.
QString settingsFilePath();

// The file is fourteen CR LF lines: the two strings in double quotes, the numbers in plain
// decimal. Text is Windows-1252. A message that Windows-1252 cannot hold is written as UTF-8
// behind a byte order mark, and a file that starts with that mark is read as UTF-8.
QByteArray encodeSettings(const Settings &settings);

// Reads all fourteen values, or nothing when the file is unreadable (too few values, a number
// that is not a 16-bit decimal integer); why then names the first line that could not be read.
// Lines after the fourteenth value are ignored.
std::optional<Settings> decodeSettings(const QByteArray &content, QString *why = nullptr);

// Why the settings could not be read, for a message of its own.
struct ReadFailure {
    QString reason;        // without the path: "No such file or directory"
    bool missing = false;  // nothing at all at the path (not even a link): a save may create it
    bool tooLarge = false; // a regular file above 1 MiB, which is never read in part
};

// Only a regular file is read, through any links to it. A FIFO, a device or a folder in its
// place is never opened: a FIFO would keep the open waiting for a writer, and opening a device
// may act on it. The open itself never waits, and the opened file is checked again. A file
// above maxBytes (1 MiB, far above any the program writes) is refused rather than read in
// part. On failure the reason comes without the path.
bool readRegularFile(const QString &path, QByteArray &content, ReadFailure &failure,
                     qint64 maxBytes = 1 << 20);

// Writes the file whole in its place, through a temporary file beside it, so that a reader
// sees the old content or the new one, never a part. Only a regular file (or a link to one) is
// replaced. Why it could not be written, or empty.
QString writeRegularFile(const QString &path, const QByteArray &content);

class SettingsStore {
public:
    explicit SettingsStore(QString path);

    const QString &path() const { return m_path; }

    // Each returns an empty string on success, else a sentence that says why it failed. Only a
    // regular file is read or replaced (a link to one is followed); the bytes read or written
    // are remembered. A failed load also fills failure, when given.
    QString LoadSettings(Settings &settings, ReadFailure *failure = nullptr);
    QString SaveSettings(const Settings &settings);

    // Saves the fields one window owns. When the file no longer holds the bytes last read or
    // written here (another program saved meanwhile), its values are kept, only the owned
    // fields are written over them, and the settings become that merged record. Otherwise, and
    // when the changed file cannot be read, the whole record is saved as by SaveSettings.
    QString SaveFields(Settings &settings, SettingsFields owned);

private:
    QString m_path;
    std::optional<QByteArray> m_known; // the file's bytes as last read or written here
};

struct StartupOutcome {
    bool recovered = false; // the file was unreadable and the defaults were written
    QString saveError;      // the defaults could not be written (empty when they were)
    // A file that was there but could not be read (not a first run): why, where its bytes were
    // kept before the defaults took its place, or why they could not be kept.
    QString unreadable;
    QString keptAs;
    QString keepError;
};

// Where the bytes of an unreadable settings file are kept: beside it, ".unreadable" added.
QString unreadableCopyPath(const QString &settingsPath);

// Loads the settings, or puts the defaults in place of an unreadable file and reads them back.
// A file that is there but cannot be read is first kept beside it (an older copy is replaced;
// only a regular file is written over). The settings in memory are always usable afterwards,
// even when the file could not be written.
StartupOutcome loadOrRecover(SettingsStore &store, Settings &settings);

} // namespace lumawrite
