// The ports.conf reader on arbitrary bytes: no crash, every mapping it keeps names a COM number
// of the list and an absolute device path, and every line it leaves out is reported.
#include "PortsConf.h"
#include "Settings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumawrite::PortsConf conf = lumawrite::parsePortsConf(content);
    for (auto it = conf.devices.cbegin(); it != conf.devices.cend(); ++it) {
        if (it.key() < lumawrite::SettingsRange::FirstComPort ||
            it.key() > lumawrite::SettingsRange::LastComPort || !it.value().startsWith('/'))
            std::abort();
    }
    if (conf.problems.isEmpty() != conf.report().isEmpty())
        std::abort();
    return 0;
}
