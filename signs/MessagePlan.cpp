#include "MessagePlan.h"

#include "Fonts.h"
#include "MessageText.h"
#include "PictureFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>

namespace lumawrite::signs {
namespace {

// The Text Entry window's picture box: the measuring surface and its pale yellow.
const QSize MeasuringSize(870, 26);
const QColor PictureBackground(255, 255, 192);

// The request with only the text between the pictures, the pictures left out.
render::RenderRequest textOnly(const render::RenderRequest &request,
                               const QList<render::MessagePart> &parts)
{
    render::RenderRequest text = request;
    text.text.clear();
    for (const render::MessagePart &part : parts)
        text.text += part.text;
    return text;
}

} // namespace

platform::ImageSurface measuringSurface()
{
    return platform::ImageSurface(MeasuringSize, PictureBackground, Qt::black);
}

platform::ImageSurface blockStrip()
{
    return platform::ImageSurface(QSize(render::ColumnsPerBlock, render::RowsPerColumn),
                                  PictureBackground, Qt::black);
}

render::FitReport checkFit(render::StripSurface &strip, const render::RenderRequest &request)
{
    return render::checkFit(strip, request, MaxMessageColumns);
}

render::FitReport checkMessageFit(render::StripSurface &strip, const render::RenderRequest &request,
                                  const QList<render::Picture> &pictures)
{
    const QList<render::MessagePart> parts = render::splitMessage(request.text, pictures);
    if (!render::holdsPictures(parts))
        return render::checkFit(strip, request, MaxMessageColumns);
    render::FitReport report = render::checkFit(strip, textOnly(request, parts), MaxMessageColumns);
    report.excessColumns =
        qMax(0, render::measureMessage(strip, request, pictures) - MaxMessageColumns);
    return report;
}

std::optional<render::FitChoice> bestMessageFit(render::StripSurface &strip,
                                                const render::RenderRequest &request,
                                                const QList<render::Picture> &pictures)
{
    return render::bestFit(strip, textOnly(request, render::splitMessage(request.text, pictures)));
}

qint64 secondsLeft(qint64 remainingMs)
{
    return (qMax<qint64>(0, remainingMs) + 999) / 1000;
}

QString stoppedUploadText(const QString &why, int framesSent, int framesTotal)
{
    return QCoreApplication::translate("lumawrite::signs::MessagePlan",
                                       "%1\n%2 of %3 frames had been sent when the upload stopped.")
        .arg(why)
        .arg(framesSent)
        .arg(framesTotal);
}

render::RenderRequest storedMessage(const Settings &s, const QString &family)
{
    render::RenderRequest r;
    r.family = family;
    r.pointSize = SettingsRange::fontSize(s.FontSize);
    r.bold = SettingsRange::styleOn(s.Bold);
    r.italic = SettingsRange::styleOn(s.Italic);
    r.strikethrough = SettingsRange::styleOn(s.Strikethrough);
    r.underline = SettingsRange::styleOn(s.Underline);
    r.offset = SettingsRange::offset(s.Offset);
    r.text = s.MessageText;
    return r;
}

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

bool storableSignAddress(const QString &host)
{
    return !host.isEmpty() && std::none_of(host.cbegin(), host.cend(), [](QChar c) {
        return c == QLatin1Char('"') || c == QLatin1Char(',') ||
               c.category() == QChar::Other_Control;
    });
}

int storedFontPosition(qint16 fontIndex, const QStringList &fontList)
{
    const int stored = SettingsRange::fontListIndex(fontIndex, int(fontList.size()));
    return stored >= 0 ? stored : platform::textFontPosition(fontList);
}

QString visibleControls(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString unknownFontMessage(const QString &name)
{
    return QCoreApplication::translate(
               "lumawrite::signs::MessagePlan",
               "Unknown font \"%1\"; lumawrite-send --list-fonts shows the fonts of this computer.")
        .arg(visibleControls(name));
}

Overrides Overrides::withMessageChoices(const Overrides &message) const
{
    Overrides o = *this;
    for (auto [into, from] : {std::pair{&o.bold, &message.bold},
                              {&o.italic, &message.italic},
                              {&o.strikethrough, &message.strikethrough},
                              {&o.underline, &message.underline}})
        if (*from)
            *into = *from;
    for (auto [into, from] : {std::pair{&o.size, &message.size},
                              {&o.offset, &message.offset},
                              {&o.speed, &message.speed}})
        if (*from)
            *into = *from;
    if (message.font)
        o.font = message.font;
    return o;
}

bool operator==(const Overrides &a, const Overrides &b)
{
    return a.font == b.font && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
           a.strikethrough == b.strikethrough && a.underline == b.underline &&
           a.offset == b.offset && a.host == b.host && a.lan == b.lan && a.comPort == b.comPort &&
           a.address == b.address && a.speed == b.speed;
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
        c.fontPosition = storedFontPosition(s.FontIndex, fontList);
    }
    render::RenderRequest &r = c.request;
    r = storedMessage(s, c.fontPosition >= 0 ? fontList[c.fontPosition] : QString());
    r.pointSize = o.size.value_or(r.pointSize);
    r.bold = o.bold.value_or(r.bold);
    r.italic = o.italic.value_or(r.italic);
    r.strikethrough = o.strikethrough.value_or(r.strikethrough);
    r.underline = o.underline.value_or(r.underline);
    r.offset = o.offset.value_or(r.offset);
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

Overrides messageChoicesOf(const render::RenderRequest &r)
{
    Overrides choices;
    if (!r.family.isEmpty())
        choices.font = r.family;
    choices.size = r.pointSize;
    choices.bold = r.bold;
    choices.italic = r.italic;
    choices.strikethrough = r.strikethrough;
    choices.underline = r.underline;
    choices.offset = r.offset;
    return choices;
}

RenderedMessage renderMessage(MessageChoices &choices)
{
    RenderedMessage result;
    render::RenderRequest &r = choices.request;
    if (r.text.size() > render::MaxMessageChars) {
        result.error = QCoreApplication::translate(
                           "lumawrite::signs::MessagePlan",
                           "The message has %1 characters (a line break counts two); the sign "
                           "takes at most %2. Nothing was sent.")
                           .arg(r.text.size())
                           .arg(render::MaxMessageChars);
        return result;
    }

    platform::ImageSurface surface = measuringSurface();
    result.width = render::measureMessage(surface, r, choices.pictures);
    r.width = result.width;
    if (result.width > MaxMessageColumns) {
        result.error = QCoreApplication::translate(
                           "lumawrite::signs::MessagePlan",
                           "The message is %1 columns wide; the sign takes at most %2 columns (%3 "
                           "blocks). Shorten the text or choose a smaller size. Nothing was sent.")
                           .arg(result.width)
                           .arg(MaxMessageColumns)
                           .arg(MaxMessageBlocks);
        return result;
    }
    // Drawn once on a strip as wide as all the blocks, as the window's upload draws it.
    platform::ImageSurface strip = blockStrip();
    result.columns = render::renderMessageColumns(strip, r, choices.pictures);
    result.blocks = int(result.columns.size() / render::BytesPerBlock);
    platform::ImageSurface fitStrip = blockStrip();
    result.findings = render::fitFindings(checkMessageFit(fitStrip, r, choices.pictures)) +
                      pictureFindings(r.text, choices.pictures);
    return result;
}

QList<QByteArray> uploadFrames(const MessageChoices &choices, const RenderedMessage &rendered)
{
    return link::frames::messageFrames(rendered.columns, choices.serialAddressIndex,
                                       choices.speedIndex);
}

QString writeColumnImage(const std::vector<quint8> &columns, const QString &path)
{
    const QImage image = render::columnPixels(
        QByteArray(reinterpret_cast<const char *>(columns.data()), qsizetype(columns.size())));
    // The picture is made in memory and written in one go, so that a full disk or a file-size
    // limit is seen: QImage::save reports success once the bytes are in the file's buffer.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QCoreApplication::translate("lumawrite::signs::MessagePlan",
                                           "the PNG could not be made");
    // Unbuffered, so that the write that fails is the one that tells why.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return file.errorString();
    for (qsizetype written = 0; written < png.size();) {
        const qint64 n = file.write(png.constData() + written, png.size() - written);
        if (n <= 0)
            return file.errorString();
        written += n;
    }
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
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

SettingsFields fieldsAfterUpload(const Overrides &o)
{
    SettingsFields fields = SettingsField::TextEntry;
    if (o.host)
        fields |= SettingsField::IpAddress;
    if (o.address)
        fields |= SettingsField::SerialAddress;
    if (o.lan)
        fields |= SettingsField::LinkType;
    if (o.comPort)
        fields |= SettingsField::ComPort;
    if (o.speed)
        fields |= SettingsField::Speed;
    return fields;
}

QString saveAfterUpload(SettingsStore &store, const std::optional<ReadFailure> &unread,
                        const Settings &stored, const MessageChoices &choices,
                        const Overrides &overrides)
{
    if (unread && !unread->missing)
        return QCoreApplication::translate("lumawrite::signs::MessagePlan",
                                           "%1 could not be read (%2); it is left as it was.")
            .arg(store.path(), unread->reason);
    Settings after = settingsAfterUpload(stored, choices, overrides);
    return store.SaveFields(after, fieldsAfterUpload(overrides));
}

} // namespace lumawrite::signs
