#pragma once

#include "ColumnImage.h"
#include "Frames.h"
#include "ImageSurface.h"
#include "Pictures.h"
#include "Settings.h"
#include "SettingsStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What a message is before it goes to a sign, decided once for the windows and lumawrite-send:
// which message and choices, the surfaces it is measured and drawn on, the limits the sign
// sets, its frames, and what an upload leaves in the settings file.
namespace lumawrite::signs {

// The widest message the sign takes: its blocks and the blank blocks sent behind them fill at
// most the sign's message memory, and the last column of the last block stays blank.
constexpr int MaxMessageBlocks = link::frames::MaxMessageBlocks;                  // 151
constexpr int MaxMessageColumns = MaxMessageBlocks * render::ColumnsPerBlock - 1; // 9663
static_assert(link::frames::BlockBytes == render::BytesPerBlock);

// The surface of the Text Entry window that the column counter measures on and the message is
// previewed on, and the strip of one block's 64 x 16 dots that the sign's image is drawn on.
platform::ImageSurface measuringSurface();
platform::ImageSurface blockStrip();

// The fit check against the sign's 16 rows and its widest message. With pictures, the text
// between them is checked and the width is the whole message's.
render::FitReport checkFit(render::StripSurface &strip, const render::RenderRequest &request);
render::FitReport checkMessageFit(render::StripSurface &strip, const render::RenderRequest &request,
                                  const QList<render::Picture> &pictures);

// The largest size, and an offset for it, that keep the text between the pictures inside the
// 16 rows (the pictures are made for them). None when no size fits or the text has no ink.
std::optional<render::FitChoice> bestMessageFit(render::StripSurface &strip,
                                                const render::RenderRequest &request,
                                                const QList<render::Picture> &pictures);

// Whole seconds left of an upload, rounded up: what the progress bars count down.
qint64 secondsLeft(qint64 remainingMs);

// The sentence of an upload that stopped part-way: why, then how many frames had gone.
QString stoppedUploadText(const QString &why, int framesSent, int framesTotal);

// The stored message and its choices, out-of-range values replaced as the windows show them,
// drawn in the given family.
render::RenderRequest storedMessage(const Settings &settings, const QString &family);

// The position of a typeface in the font list: the exact name, else the first name that
// differs only in case; a name with its foundry ("C059 [urw]") finds its family the same way.
// -1 when the list has none of these.
int fontPosition(const QStringList &fontList, const QString &name);

// Whether the settings file can hold the text as the sign's address (an IP address or a host
// name): not empty, and no double quote, comma or control character, which would end its line.
bool storableSignAddress(const QString &host);

// The typeface of the stored FontIndex: its position in the font list, or, for the defaults' "none
// chosen" and any position the list does not have, a typeface that draws text.
int storedFontPosition(qint16 fontIndex, const QStringList &fontList);

// The text with every control character (escape sequences, NUL, DEL) written as \xNN, for a
// log line that repeats what a script or a message gave.
QString visibleControls(const QString &text);

// Why a typeface name given by a script cannot be used.
QString unknownFontMessage(const QString &name);

// Choices given for one run or one message; each replaces the stored one.
struct Overrides {
    std::optional<QString> font;
    std::optional<int> size;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> strikethrough;
    std::optional<bool> underline;
    std::optional<int> offset;
    std::optional<QString> host;
    std::optional<bool> lan;    // true for the LAN, false for the serial line
    std::optional<int> comPort; // the COM number of the serial line
    std::optional<int> address;
    std::optional<int> speed;

    // These choices with those of a message on top: its font, size, styles, offset and speed.
    Overrides withMessageChoices(const Overrides &message) const;
    friend bool operator==(const Overrides &a, const Overrides &b);
};

// The message's own choices as a request draws them: its typeface by family name (none when
// it has no name), size, styles and offset; what a saved message and the history keep.
Overrides messageChoicesOf(const render::RenderRequest &request);

// What one upload uses: the stored choices, out-of-range values replaced as the windows
// replace them, with the overrides on top.
struct MessageChoices {
    int fontPosition = -1;         // in the font list; -1 when there are no fonts
    render::RenderRequest request; // family ... text; width once measured
    bool lan = true;
    int comPort = 1;
    int serialAddressIndex = 19; // position in the address list: 19 is address 20
    int speedIndex = 9;          // position in the speed list: 9 is speed 10
    QString host;
    QList<render::Picture> pictures; // what "{NAME}" in the text may name
};

struct ChoiceResult {
    MessageChoices choices;
    QString error; // an unknown font
};

// fontList is the font list in its order; storedText the message in its stored form.
ChoiceResult chooseMessage(const Settings &stored, const Overrides &overrides,
                           const QStringList &fontList, const QString &storedText);

struct RenderedMessage {
    int width = 0;               // columns the text takes, as the column counter shows
    int blocks = 0;              // 64-column blocks rendered
    std::vector<quint8> columns; // blocks * 128 bytes, two bytes a column
    QString error;               // why the message is refused; nothing is rendered then
    QStringList findings;        // the fit check's, as the Text Entry window lists them
};

// Measures the text as the column counter does and renders it as an upload from the Text
// Entry window does; a message too long or too wide for the sign is refused. Sets the
// request's width. The fit check looks at the rendered message as that window's does.
RenderedMessage renderMessage(MessageChoices &choices);

// Every frame that the upload sends, in order.
QList<QByteArray> uploadFrames(const MessageChoices &choices, const RenderedMessage &rendered);

// Writes the column image as a PNG, one pixel a dot; why it could not be written, or empty.
QString writeColumnImage(const std::vector<quint8> &columns, const QString &path);

// The settings as an upload from the windows leaves them (typeface by position, size, styles,
// offset and message), with the communication choices given for the run (sign's address,
// serial address, link, COM port, speed).
Settings settingsAfterUpload(Settings stored, const MessageChoices &choices,
                             const Overrides &overrides);
// The fields of the file such an upload writes: the message's, and those overridden.
SettingsFields fieldsAfterUpload(const Overrides &overrides);

// Saves what the upload leaves, whatever happened on the line, by the rule of the windows:
// over the file as it is now only the fields the upload writes, so that what another program
// saved meanwhile stays. A file that is there but could not be read (unread) may be the
// operator's to mend: it is never replaced; where there was none, the save makes it. Why
// nothing was saved, or empty.
QString saveAfterUpload(SettingsStore &store, const std::optional<ReadFailure> &unread,
                        const Settings &stored, const MessageChoices &choices,
                        const Overrides &overrides);

} // namespace lumawrite::signs
