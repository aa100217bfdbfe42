#pragma once

#include "ColumnImage.h"
#include "MessageText.h"
#include "SendOptions.h"
#include "Settings.h"
#include "SettingsStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumawrite::send {

// The position of a typeface in the font list: the exact name, else the first name that
// differs only in case; a name with its foundry ("C059 [urw]") finds its family the same way.
// -1 when the list has none of these.
int fontPosition(const QStringList &fontList, const QString &name);

// Why a typeface name given on the command line cannot be used.
QString unknownFontMessage(const QString &name);

// The font list as --list-fonts prints it: "position<TAB>name", one a line.
QString fontListing(const QStringList &fontList);

// What one upload uses: the stored choices, out-of-range values replaced as the windows
// replace them, with this run's overrides on top.
struct MessageChoices {
    int fontPosition = -1;         // in the font list; -1 when there are no fonts
    render::RenderRequest request; // family ... text; width once measured
    bool lan = true;
    int comPort = 1;
    int serialAddressIndex = 19; // position in the address list: 19 is address 20
    int speedIndex = 9;          // position in the speed list: 9 is speed 10
    QString host;
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

// The settings as an upload from the windows leaves them (typeface by position, size, styles,
// offset and message), with the communication choices given on the command line (sign's
// address, serial address, link, COM port, speed).
Settings settingsAfterUpload(Settings stored, const MessageChoices &choices,
                             const Overrides &overrides);

// Saves to the store what the upload leaves (settingsAfterUpload), whatever happened on the
// line. A file that is there but could not be read (unread) may be the operator's to mend: it
// is never replaced; where there was none, the save makes it. Why nothing was saved, or empty.
QString saveAfterUpload(SettingsStore &store, const std::optional<ReadFailure> &unread,
                        const Settings &stored, const MessageChoices &choices,
                        const Overrides &overrides);

} // namespace lumawrite::send
