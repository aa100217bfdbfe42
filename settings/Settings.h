#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace lumawrite {

// Every choice of the operator that outlives a run, in the order of the settings file.
// The numeric fields are 16-bit because the file and the sign's frames are.
struct Settings {
    QString IpAddress;
    qint16 LocalPort = 0;
    qint16 SerialAddress = 0;
    qint16 LinkType = 0;
    qint16 ComPort = 0;
    qint16 Speed = 0;
    qint16 FontIndex = 0;
    qint16 FontSize = 0;
    qint16 Bold = 0;
    qint16 Italic = 0;
    qint16 Strikethrough = 0;
    qint16 Underline = 0;
    qint16 Offset = 0;
    QString MessageText;

    friend bool operator==(const Settings &a, const Settings &b);
    friend bool operator!=(const Settings &a, const Settings &b) { return !(a == b); }
};

// The fields of the record as bits, to save only the fields one window owns.
using SettingsFields = quint16;
namespace SettingsField {
enum : SettingsFields {
    IpAddress = 1 << 0,
    LocalPort = 1 << 1,
    SerialAddress = 1 << 2,
    LinkType = 1 << 3,
    ComPort = 1 << 4,
    Speed = 1 << 5,
    FontIndex = 1 << 6,
    FontSize = 1 << 7,
    Bold = 1 << 8,
    Italic = 1 << 9,
    Strikethrough = 1 << 10,
    Underline = 1 << 11,
    Offset = 1 << 12,
    MessageText = 1 << 13,
};
// What the main window stores at close, and what an upload from Text Entry stores.
constexpr SettingsFields MainWindow = LocalPort | SerialAddress | LinkType | ComPort | Speed;
constexpr SettingsFields TextEntry =
    FontIndex | FontSize | Bold | Italic | Strikethrough | Underline | Offset | MessageText;
} // namespace SettingsField

// Copies the given fields of one record into another.
void copyFields(Settings &to, const Settings &from, SettingsFields fields);

// The FontIndex of the defaults: no position in the font list, so the text typeface is taken.
constexpr qint16 NoFontChosen = -1;

// The maker's name and postal address: 87 characters, ending in four spaces.
extern const char *const DefaultMessageText;

void SetDefaultSettings(Settings &settings);
Settings defaultSettings();

// What an upload stores of the message: the font by its position in the font list, the size,
// the four styles (1 or 0), the offset and the text.
void storeMessageChoices(Settings &settings, int fontPosition, int pointSize, bool bold,
                         bool italic, bool strikethrough, bool underline, int offset,
                         const QString &text);

// The state the whole program shares for the run.
struct modMain {
    static constexpr int ColumnBufferLast = 20000; // highest index of ColumnBuffer

    Settings settings;
    bool SerialPortOpen = false;
    bool UploadConfirmed = false;
    std::array<quint8, ColumnBufferLast + 1> ColumnBuffer{};
    qint16 BlockCount = 0;
};

// A stored value that names an entry of a fixed list may be out of that list's range; these
// give the value the program shows and uses instead.
namespace SettingsRange {
// The COM numbers of the port list: COM 1 to COM 250.
constexpr int FirstComPort = 1;
constexpr int LastComPort = 250;
// The sizes of the size list and the offsets of the offset list.
constexpr int MinFontSize = 6;
constexpr int MaxFontSize = 60;
constexpr int MinOffset = -10;
constexpr int MaxOffset = 10;

int speedIndex(qint16 speed);                       // 1..10 -> 0..9, else the default's entry
int serialAddressIndex(qint16 serialAddress);       // 1..50 -> 0..49, else the default's entry
int comPortIndex(qint16 comPort);                   // 1..250 -> 0..249, else the default's entry
int fontListIndex(qint16 fontIndex, int fontCount); // beyond the list -> -1 (none chosen)
int fontSize(qint16 fontSize);                      // 6..60, else 12
int offset(qint16 offset);                          // -10..10, else 0
bool styleOn(qint16 flag);                          // only 1 counts as on
} // namespace SettingsRange

} // namespace lumawrite
