// The readers of saved messages and of the upload history on arbitrary bytes: no crash, only
// names and values the windows could have saved, and what was read writes back as it was read.
#include "SavedMessages.h"
#include "Settings.h"
#include "UploadHistory.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace lumawrite;
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const signs::SavedMessagesRead read = signs::readSavedMessages(content);
    for (const signs::SavedMessage &m : read.messages) {
        const signs::Overrides &o = m.choices;
        if (!signs::savedNameProblem(m.name).isEmpty() || m.text.size() > 250 ||
            (o.size &&
             (*o.size < SettingsRange::MinFontSize || *o.size > SettingsRange::MaxFontSize)) ||
            (o.offset &&
             (*o.offset < SettingsRange::MinOffset || *o.offset > SettingsRange::MaxOffset)) ||
            o.host || o.lan || o.comPort || o.address || o.speed)
            std::abort();
    }
    if (read.error.isEmpty() &&
        signs::readSavedMessages(signs::writeSavedMessages(read.messages, read.extra)).messages !=
            read.messages)
        std::abort();
    const QList<signs::HistoryEntry> history = signs::readHistory(content);
    if (history.size() > signs::HistoryLength ||
        signs::readHistory(signs::writeHistory(history)).size() != history.size())
        std::abort();
    return 0;
}
