#include "PortsConf.h"

#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumawrite {
namespace {

// The line without its comment: "#" counts at the start or after a blank or tab.
QString withoutComment(const QString &line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('#') &&
            (i == 0 || line[i - 1] == QLatin1Char(' ') || line[i - 1] == QLatin1Char('\t')))
            return line.left(i);
    }
    return line;
}

} // namespace

QString PortsConf::report() const
{
    QStringList lines;
    for (const PortsProblem &problem : problems) {
        lines.append(problem.line > 0
                         ? QCoreApplication::translate("lumawrite::PortsConf", "%1, line %2: %3")
                               .arg(path)
                               .arg(problem.line)
                               .arg(problem.why)
                         : QCoreApplication::translate("lumawrite::PortsConf", "%1: %2")
                               .arg(path, problem.why));
    }
    return lines.join(QLatin1Char('\n'));
}

PortsConf parsePortsConf(const QByteArray &content)
{
    static const QRegularExpression comName(QStringLiteral("^COM\\s*([0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    PortsConf conf;
    QMap<int, int> mappedOn; // COM number -> line of its mapping
    const QStringList lines = QString::fromUtf8(content).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i + 1);
        const QString line = withoutComment(lines[i]).trimmed();
        if (line.isEmpty())
            continue;
        auto problem = [&](const QString &why) { conf.problems.append({number, why}); };
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            problem(QCoreApplication::translate(
                "lumawrite::PortsConf",
                "there is no \"=\" (write COM n = /dev/...); the line is ignored"));
            continue;
        }
        const QString name = line.left(equals).trimmed();
        const QString device = line.mid(equals + 1).trimmed();
        const QRegularExpressionMatch match = comName.match(name);
        bool ok = false;
        const int com = match.hasMatch() ? match.captured(1).toInt(&ok) : 0;
        if (!match.hasMatch()) {
            problem(QCoreApplication::translate("lumawrite::PortsConf",
                                                "\"%1\" is not a COM number; the line is ignored")
                        .arg(name));
        } else if (!ok || com < SettingsRange::FirstComPort || com > SettingsRange::LastComPort) {
            problem(QCoreApplication::translate(
                        "lumawrite::PortsConf",
                        "%1 is not one of COM 1 to COM 250; the line is ignored")
                        .arg(name));
        } else if (device.isEmpty()) {
            problem(QCoreApplication::translate(
                "lumawrite::PortsConf",
                "there is no device path after \"=\"; the line is ignored"));
        } else if (device.contains(QChar(0))) {
            QString shown = device;
            shown.replace(QChar(0), QStringLiteral("\\x00"));
            problem(QCoreApplication::translate("lumawrite::PortsConf",
                                                "\"%1\" holds a NUL character; the line is ignored")
                        .arg(shown));
        } else if (!QDir::isAbsolutePath(device)) {
            problem(
                QCoreApplication::translate("lumawrite::PortsConf",
                                            "\"%1\" is not an absolute path; the line is ignored")
                    .arg(device));
        } else if (mappedOn.contains(com)) {
            problem(QCoreApplication::translate(
                        "lumawrite::PortsConf",
                        "COM %1 was already given on line %2; the line is ignored")
                        .arg(com)
                        .arg(mappedOn[com]));
        } else {
            mappedOn.insert(com, number);
            conf.devices.insert(com, device);
        }
    }
    return conf;
}

QString portsConfBeside(const QString &settingsPath)
{
    return QFileInfo(settingsPath).dir().filePath(QStringLiteral("ports.conf"));
}

PortsConf readPortsConf(const QString &path)
{
    QByteArray content;
    ReadFailure failure;
    PortsConf conf;
    if (readRegularFile(path, content, failure)) {
        conf = parsePortsConf(content);
    } else if (!failure.missing) {
        conf.problems.append({0, QCoreApplication::translate("lumawrite::PortsConf",
                                                             "%1; no COM port is mapped by it")
                                     .arg(failure.reason)});
    }
    conf.path = path;
    return conf;
}

} // namespace lumawrite
