#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace lumawrite {

// ports.conf maps COM numbers to serial devices, one mapping a line:
//     COM 1 = /dev/serial/by-id/usb-FTDI_FT232R_A12345-if00-port0
// "COM" may be written in any case, with or without a blank before the number; blanks around
// "=" and at the ends of a line do not count. A "#" at the start of a line or after a blank or
// tab starts a comment to the end of the line (a "#" inside a path is part of it). A line that
// cannot be read, a COM number outside 1..250 and a second mapping of a COM number are left
// out and reported; the first mapping of a number is the one that counts.
struct PortsProblem {
    int line = 0; // 1 for the first line; 0 for the file as a whole
    QString why;
};

struct PortsConf {
    QString path;                 // where it was read from (empty for parsed text)
    QMap<int, QString> devices;   // COM number -> absolute device path
    QList<PortsProblem> problems; // in line order

    // One line per problem, "PATH, line N: why", for standard error and the port's box;
    // empty when there is nothing to report.
    QString report() const;
};

PortsConf parsePortsConf(const QByteArray &content);

// The ports.conf in the folder of the given settings file.
QString portsConfBeside(const QString &settingsPath);

// Reads the file under the settings file's rule: only a regular file (or a link to one) is
// read, anything else is refused and reported. A missing file maps nothing and is no problem.
// The program never writes this file.
PortsConf readPortsConf(const QString &path);

} // namespace lumawrite
