// The service's state file reader on arbitrary bytes: no crash, no last message above the size
// a message may have, and what it kept reads back the same once written.
#include "MqttService.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using lumawrite::send::ServiceState;
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const ServiceState state = lumawrite::send::readServiceState(content);
    if (state.last.payload.size() > lumawrite::send::MaxPayloadBytes ||
        state.last.status.frames < 0)
        std::abort();
    const ServiceState again =
        lumawrite::send::readServiceState(lumawrite::send::writeServiceState(state));
    if (again.taken.size() != state.taken.size() || again.last.payload != state.last.payload ||
        again.last.finished != state.last.finished ||
        again.last.status.text != state.last.status.text)
        std::abort();
    for (auto it = state.taken.cbegin(); it != state.taken.cend(); ++it)
        if (again.taken.value(it.key()).digest != it->digest ||
            again.taken.value(it.key()).messageId != it->messageId)
            std::abort();
    return 0;
}
