#include "SignPorts.h"

#include "PortsConf.h"

#include <QFileInfo>

namespace lumawrite::signs {

platform::ComPorts comPortsBeside(const QString &settingsPath, platform::ComPortResolver fallback)
{
    const PortsConf conf = readPortsConf(portsConfBeside(settingsPath));
    return {platform::mappedComPorts(conf.devices, std::move(fallback)), conf.report()};
}

QString wireOf(const platform::ComPortResolver &comPorts, int comPort)
{
    const QString device = comPorts ? comPorts(comPort) : QString();
    if (device.isEmpty())
        return QStringLiteral("COM %1").arg(comPort);
    const QString resolved = QFileInfo(device).canonicalFilePath();
    return resolved.isEmpty() ? device : resolved;
}

} // namespace lumawrite::signs
