#include "Settings.h"

namespace lumawrite {

const char *const DefaultMessageText =
    "Vireline Signs Ltd., Unit 3, 14 Harbour Lane, Port Ellis, Westmoor PE4 2QJ, England    ";

bool operator==(const Settings &a, const Settings &b)
{
    return a.IpAddress == b.IpAddress && a.LocalPort == b.LocalPort &&
           a.SerialAddress == b.SerialAddress && a.LinkType == b.LinkType &&
           a.ComPort == b.ComPort && a.Speed == b.Speed && a.FontIndex == b.FontIndex &&
           a.FontSize == b.FontSize && a.Bold == b.Bold && a.Italic == b.Italic &&
           a.Strikethrough == b.Strikethrough && a.Underline == b.Underline &&
           a.Offset == b.Offset && a.MessageText == b.MessageText;
}

void copyFields(Settings &to, const Settings &from, SettingsFields fields)
{
    using namespace SettingsField;
    auto copy = [&](SettingsFields field, auto member) {
        if (fields & field)
            to.*member = from.*member;
    };
    copy(IpAddress, &Settings::IpAddress);
    copy(LocalPort, &Settings::LocalPort);
    copy(SerialAddress, &Settings::SerialAddress);
    copy(LinkType, &Settings::LinkType);
    copy(ComPort, &Settings::ComPort);
    copy(Speed, &Settings::Speed);
    copy(FontIndex, &Settings::FontIndex);
    copy(FontSize, &Settings::FontSize);
    copy(Bold, &Settings::Bold);
    copy(Italic, &Settings::Italic);
    copy(Strikethrough, &Settings::Strikethrough);
    copy(Underline, &Settings::Underline);
    copy(Offset, &Settings::Offset);
    copy(MessageText, &Settings::MessageText);
}

void SetDefaultSettings(Settings &s)
{
    s.IpAddress = QStringLiteral("192.168.1.151");
    s.LocalPort = 2000;
    s.SerialAddress = 20;
    s.LinkType = 1;
    s.ComPort = 1;
    s.Speed = 10;
    // No typeface chosen yet: the readers take the desktop's text typeface. A position in the
    // font list would be an arbitrary family on every font set (a symbol font, often).
    s.FontIndex = NoFontChosen;
    s.FontSize = 19;
    s.Bold = 1;
    s.Italic = 0;
    s.Strikethrough = 0;
    s.Underline = 0;
    s.Offset = -2;
    s.MessageText = QString::fromLatin1(DefaultMessageText);
}

Settings defaultSettings()
{
    Settings s;
    SetDefaultSettings(s);
    return s;
}

void storeMessageChoices(Settings &s, int fontPosition, int pointSize, bool bold, bool italic,
                         bool strikethrough, bool underline, int offset, const QString &text)
{
    s.FontIndex = qint16(fontPosition);
    s.FontSize = qint16(pointSize);
    s.Bold = bold ? 1 : 0;
    s.Italic = italic ? 1 : 0;
    s.Strikethrough = strikethrough ? 1 : 0;
    s.Underline = underline ? 1 : 0;
    s.Offset = qint16(offset);
    s.MessageText = text;
}

namespace SettingsRange {
namespace {
int entryOr(qint16 value, int first, int last, int fallbackValue)
{
    const int v = (value >= first && value <= last) ? value : fallbackValue;
    return v - first;
}
} // namespace

int speedIndex(qint16 speed)
{
    return entryOr(speed, 1, 10, 10);
}
int serialAddressIndex(qint16 serialAddress)
{
    return entryOr(serialAddress, 1, 50, 20);
}
int comPortIndex(qint16 comPort)
{
    return entryOr(comPort, FirstComPort, LastComPort, 1);
}

int fontListIndex(qint16 fontIndex, int fontCount)
{
    return (fontIndex >= 0 && fontIndex < fontCount) ? fontIndex : -1;
}

int fontSize(qint16 size)
{
    return (size >= 6 && size <= 60) ? size : 12;
}
int offset(qint16 offset)
{
    return (offset >= -10 && offset <= 10) ? offset : 0;
}
bool styleOn(qint16 flag)
{
    return flag == 1;
}
} // namespace SettingsRange

} // namespace lumawrite
