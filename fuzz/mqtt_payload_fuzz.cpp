// The MQTT message reader on arbitrary bytes: no crash, and a message it takes carries only
// choices within the ranges the windows offer, and whole characters only; one that names a
// saved message names one that could be saved, and brings no text of its own.
#include "MqttService.h"
#include "SavedMessages.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList fonts = {QStringLiteral("DejaVu Sans"), QStringLiteral("C059")};
    const QByteArray payload(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumawrite::send::Payload message = lumawrite::send::readPayload(payload, fonts);
    if (!message.error.isEmpty())
        return 0;
    const lumawrite::signs::Overrides &o = message.choices;
    if ((o.size && (*o.size < 6 || *o.size > 60)) ||
        (o.offset && (*o.offset < -10 || *o.offset > 10)) ||
        (o.speed && (*o.speed < 1 || *o.speed > 10)) || (o.font && !fonts.contains(*o.font)) ||
        o.host || o.lan || o.comPort || o.address || !message.text.isValidUtf16())
        std::abort();
    if (!message.saved.isEmpty() &&
        (!message.text.isEmpty() || !lumawrite::signs::savedNameProblem(message.saved).isEmpty()))
        std::abort();
    return 0;
}
