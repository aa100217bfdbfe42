#pragma once

#include "SerialLine.h"

#include <QString>

namespace lumawrite::signs {

// The COM ports as the ports.conf beside a settings file maps them, over the fallback, and the
// report of what in that file could not be read (empty when nothing).
platform::ComPorts comPortsBeside(const QString &settingsPath,
                                  platform::ComPortResolver fallback = platform::comPortDevice);

// The wire a COM number leads to: two numbers (or two signs' ports.conf files) that name one
// device, by its path or through a link such as /dev/serial/by-id/..., are one line.
QString wireOf(const platform::ComPortResolver &comPorts, int comPort);

} // namespace lumawrite::signs
