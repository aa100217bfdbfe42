#include "MessagePlan.h"

#include "Fonts.h"
#include "Frames.h"
#include "ImageSurface.h"

#include <QCoreApplication>

namespace lumawrite::send {
namespace {

// The surface of the Text Entry window that the column counter measures on.
const QSize EntrySurfaceSize(870, 26);
const QColor EntryBackground(255, 255, 192);

} // namespace

int fontPosition(const QStringList &fontList, const QString &name)
{
    const qsizetype exact = fontList.indexOf(name);
    if (exact >= 0)
        return int(exact);
    for (qsizetype i = 0; i < fontList.size(); ++i)
        if (fontList[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    const QString family = platform::plainFamilyName(name);
    return family != name ? fontPosition(fontList, family) : -1;
}

QString unknownFontMessage(const QString &name)
{
    return QCoreApplication::translate(
               "lumawrite::send::MessagePlan",
               "Unknown font \"%1\"; lumawrite-send --list-fonts shows the fonts of "
               "this computer.")
        .arg(name);
}

QString fontListing(const QStringList &fontList)
{
    QString listing;
    for (qsizetype i = 0; i < fontList.size(); ++i)
        listing += QStringLiteral("%1\t%2\n").arg(i).arg(fontList[i]);
    return listing;
}

ChoiceResult chooseMessage(const Settings &s, const Overrides &o, const QStringList &fontList,
                           const QString &storedText)
{
    ChoiceResult result;
    MessageChoices &c = result.choices;
    if (o.font) {
        c.fontPosition = fontPosition(fontList, *o.font);
        if (c.fontPosition < 0) {
            result.error = unknownFontMessage(*o.font);
            return result;
        }
    } else {
        c.fontPosition = SettingsRange::fontListIndex(s.FontIndex, int(fontList.size()));
    }
    render::RenderRequest &r = c.request;
    r.family = c.fontPosition >= 0 ? fontList[c.fontPosition] : QString();
    r.pointSize = o.size.value_or(SettingsRange::fontSize(s.FontSize));
    r.bold = o.bold.value_or(SettingsRange::styleOn(s.Bold));
    r.italic = o.italic.value_or(SettingsRange::styleOn(s.Italic));
    r.strikethrough = o.strikethrough.value_or(SettingsRange::styleOn(s.Strikethrough));
    r.underline = o.underline.value_or(SettingsRange::styleOn(s.Underline));
    r.offset = o.offset.value_or(SettingsRange::offset(s.Offset));
    r.text = storedText;

    // The main window shows the LAN link only for a stored 1.
    c.lan = o.lan.value_or(s.LinkType == 1);
    c.comPort = o.comPort.value_or(SettingsRange::comPortIndex(s.ComPort) + 1);
    c.serialAddressIndex =
        o.address ? *o.address - 1 : SettingsRange::serialAddressIndex(s.SerialAddress);
    c.speedIndex = o.speed ? *o.speed - 1 : SettingsRange::speedIndex(s.Speed);
    c.host = o.host.value_or(s.IpAddress);
    return result;
}

RenderedMessage renderMessage(MessageChoices &choices)
{
    RenderedMessage result;
    render::RenderRequest &r = choices.request;
    if (r.text.size() > render::MaxMessageChars) {
        result.error =
            QCoreApplication::translate("lumawrite::send::MessagePlan",
                                        "The message has %1 characters (a line break counts two); "
                                        "the sign takes at most %2. Nothing was sent.")
                .arg(r.text.size())
                .arg(render::MaxMessageChars);
        return result;
    }

    platform::ImageSurface surface(EntrySurfaceSize, EntryBackground, Qt::black);
    render::applyFont(surface, r);
    result.width = surface.measureText(r.text);
    r.width = result.width;
    if (result.width > render::MaxUploadWidth) {
        result.error =
            QCoreApplication::translate("lumawrite::send::MessagePlan",
                                        "The message is %1 columns wide; the sign takes at most %2 "
                                        "columns (%3 blocks). Shorten the text or choose a smaller "
                                        "size. Nothing was sent.")
                .arg(result.width)
                .arg(render::MaxUploadWidth)
                .arg(render::MaxUploadBlocks);
        return result;
    }
    // Drawn once on a strip as wide as all the blocks, as the window's upload draws it.
    platform::ImageSurface strip(QSize(render::ColumnsPerBlock, render::RowsPerColumn),
                                 EntryBackground, Qt::black);
    result.columns = render::renderColumns(strip, r);
    result.blocks = int(result.columns.size() / render::BytesPerBlock);
    platform::ImageSurface fitStrip(QSize(render::ColumnsPerBlock, render::RowsPerColumn),
                                    EntryBackground, Qt::black);
    result.findings = render::fitFindings(render::checkFit(fitStrip, r));
    return result;
}

QList<QByteArray> uploadFrames(const MessageChoices &choices, const RenderedMessage &rendered)
{
    return link::frames::messageFrames(rendered.columns, choices.serialAddressIndex,
                                       choices.speedIndex);
}

Settings settingsAfterUpload(Settings s, const MessageChoices &c, const Overrides &o)
{
    const render::RenderRequest &r = c.request;
    storeMessageChoices(s, c.fontPosition, r.pointSize, r.bold, r.italic, r.strikethrough,
                        r.underline, r.offset, r.text);
    if (o.host)
        s.IpAddress = *o.host;
    if (o.address)
        s.SerialAddress = qint16(*o.address);
    if (o.lan)
        s.LinkType = *o.lan ? 1 : 2;
    if (o.comPort)
        s.ComPort = qint16(*o.comPort);
    if (o.speed)
        s.Speed = qint16(*o.speed);
    return s;
}

QString saveAfterUpload(SettingsStore &store, const std::optional<ReadFailure> &unread,
                        const Settings &stored, const MessageChoices &choices,
                        const Overrides &overrides)
{
    if (unread && !unread->missing)
        return QCoreApplication::translate("lumawrite::send::MessagePlan",
                                           "%1 could not be read (%2); it is left as it was.")
            .arg(store.path(), unread->reason);
    return store.SaveSettings(settingsAfterUpload(stored, choices, overrides));
}

} // namespace lumawrite::send
