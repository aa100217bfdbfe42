#include "SerialLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <limits>

namespace lumawrite::platform {

QString comPortDevice(int n)
{
#ifdef Q_OS_WIN
    return n >= 1 ? QStringLiteral("COM%1").arg(n) : QString();
#else
    if (n >= 1 && n <= 32)
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    if (n >= 33 && n <= 64)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 33);
    if (n >= 65 && n <= 96)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 65);
    return {};
#endif
}

ComPortResolver mappedComPorts(QMap<int, QString> devices, ComPortResolver fallback)
{
    return [devices = std::move(devices), fallback = std::move(fallback)](int comNumber) {
        const auto mapped = devices.constFind(comNumber);
        if (mapped != devices.constEnd())
            return *mapped;
        return fallback ? fallback(comNumber) : QString();
    };
}

namespace {

QString realPath(const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? path : real;
}

} // namespace

namespace {

QString attribute(const QDir &folder, const QString &name)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(256)).trimmed();
}

// A serial port is a character device; a regular file or a folder at its path is none.
bool isCharacterDevice(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
#else
    return QFileInfo::exists(path) && !QFileInfo(path).isDir();
#endif
}

} // namespace

SerialDevices::SerialDevices(const QString &byIdFolder, QString ttyClassFolder)
    : m_ttyClass(std::move(ttyClassFolder))
{
    const QDir byId(byIdFolder);
    const auto links =
        byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : links) {
        const QString link = byId.filePath(name);
        const QString real = QFileInfo(link).canonicalFilePath();
        if (!real.isEmpty() && !m_byId.contains(real))
            m_byId.insert(real, link);
    }
}

SerialDevice SerialDevices::find(const QString &device) const
{
    SerialDevice found;
    if (device.isEmpty())
        return found;
    found.present = isCharacterDevice(device);
    const QString real = realPath(device);
    found.byId = m_byId.value(real);
    if (!found.present)
        return found;
    // The tty's own folder, then up to the USB device that holds it.
    const QString tty =
        QFileInfo(QDir(m_ttyClass).filePath(QFileInfo(real).fileName() + QStringLiteral("/device")))
            .canonicalFilePath();
    if (tty.isEmpty())
        return found;
    for (QDir folder(tty); !folder.isRoot(); folder.cdUp()) {
        if (QFileInfo::exists(folder.filePath(QStringLiteral("idVendor")))) {
            found.description = attribute(folder, QStringLiteral("product"));
            found.serialNumber = attribute(folder, QStringLiteral("serial"));
            break;
        }
    }
    return found;
}

QString openFailureText(int comNumber, const QString &device, const OpenFailure &failure)
{
    const QString port = QCoreApplication::translate("lumawrite::platform::SerialLine",
                                                     "COM %1 (%2) could not be opened: ")
                             .arg(comNumber)
                             .arg(device);
    if (!failure.deviceFound)
        return port + QCoreApplication::translate(
                          "lumawrite::platform::SerialLine",
                          "there is no such device.\nCheck that the serial adapter is "
                          "plugged in and that COM %1 is its port, then start Luma "
                          "Write again.")
                          .arg(comNumber);
    if (!failure.mayReadWrite)
        return port + QCoreApplication::translate(
                          "lumawrite::platform::SerialLine",
                          "this user may not use it.\nTo use serial ports, add your "
                          "user to the \"dialout\" group (sudo usermod -aG dialout "
                          "$USER) and log in again.");
    if (failure.refused)
        return port + QCoreApplication::translate(
                          "lumawrite::platform::SerialLine",
                          "another program is using it.\nClose that program (a "
                          "terminal program, another copy of Luma Write) and start "
                          "Luma Write again.");
    return port + failure.platformText;
}

namespace {

bool mayReadWrite(const QString &device)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(device);
    return true; // a port held by another program is refused with "access denied"
#endif
}

} // namespace

SerialLine::SerialLine(QObject *parent) : QObject(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        // An open port that stops working (unplugged adapter, lost device) is reported once.
        if (e == QSerialPort::ResourceError && !m_failureReported) {
            m_failureReported = true;
            const QString reason = m_port->errorString();
            m_port->close();
            emit failed(reason);
        }
    });
}

SerialLine::~SerialLine() = default;

QString SerialLine::open(int comNumber, const ComPortResolver &resolver)
{
    close();
    const QString device = resolver ? resolver(comNumber) : QString();
    if (device.isEmpty()) {
        return tr("COM %1 has no serial device on this computer.\n"
                  "COM 1-32 are /dev/ttyS0-31, COM 33-64 /dev/ttyUSB0-31 and "
                  "COM 65-96 /dev/ttyACM0-31.")
            .arg(comNumber);
    }
    m_port->setPortName(device);
    m_port->setReadBufferSize(1024);
    if (!m_port->open(QIODevice::ReadWrite)) {
        // The port reports a permission error both when this user may not use the device and
        // when another program holds its lock or has it open for exclusive use.
        const auto error = m_port->error();
        OpenFailure failure;
        failure.deviceFound = QFileInfo::exists(device) &&
                              error != QSerialPort::DeviceNotFoundError &&
                              error != QSerialPort::ResourceError; // a node without a port
        failure.mayReadWrite = mayReadWrite(device);
        failure.refused = error == QSerialPort::PermissionError;
        failure.platformText = m_port->errorString();
        return openFailureText(comNumber, device, failure);
    }
    const bool configured =
        m_port->setBaudRate(QSerialPort::Baud9600) && m_port->setDataBits(QSerialPort::Data8) &&
        m_port->setParity(QSerialPort::NoParity) && m_port->setStopBits(QSerialPort::OneStop) &&
        m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        const QString reason = tr("COM %1 (%2) could not be set to 9600 8N1: %3")
                                   .arg(comNumber)
                                   .arg(device, m_port->errorString());
        m_port->close();
        return reason;
    }
    m_failureReported = false;
    return {};
}

void SerialLine::close()
{
    if (m_port->isOpen())
        m_port->close();
}

bool SerialLine::isOpen() const
{
    return m_port->isOpen();
}
QString SerialLine::deviceName() const
{
    return m_port->portName();
}

qint64 SerialLine::write(const QByteArray &bytes)
{
    return m_port->write(bytes);
}

QByteArray SerialLine::readAll()
{
    // Once the 1024-byte input buffer is full the port stops reading the line until it is
    // emptied; what the system already holds for the port is read on here, piece by piece.
    QByteArray received = m_port->readAll();
#ifdef Q_OS_UNIX
    int pending = 0;
    if (::ioctl(int(m_port->handle()), FIONREAD, &pending) != 0)
        pending = 0;
#else
    int pending = std::numeric_limits<int>::max(); // unknown: until nothing more is there
#endif
    while (pending > 0 && m_port->isOpen() && m_port->waitForReadyRead(0)) {
        const QByteArray more = m_port->readAll();
        if (more.isEmpty())
            break;
        received += more;
        pending -= int(more.size());
    }
    if (m_port->error() == QSerialPort::TimeoutError)
        m_port->clearError(); // the last look found nothing more
    return received;
}
QString SerialLine::errorString() const
{
    return m_port->errorString();
}

} // namespace lumawrite::platform
