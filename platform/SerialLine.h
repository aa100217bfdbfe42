#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

class QSerialPort;

namespace lumawrite::platform {

// Turns a port number of the "COM n" list into the device to open. On Linux:
// COM 1..32 are /dev/ttyS0..31, COM 33..64 /dev/ttyUSB0..31, COM 65..96 /dev/ttyACM0..31;
// higher numbers have no device (empty result). On Windows COM n is "COMn".
QString comPortDevice(int comNumber);

using ComPortResolver = std::function<QString(int comNumber)>;

// The COM numbers of a mapping open their own devices; every other number goes to the fallback.
ComPortResolver mappedComPorts(QMap<int, QString> devices,
                               ComPortResolver fallback = comPortDevice);

// The COM ports of a sign, and the report of what its mapping could not read (empty when
// nothing).
struct ComPorts {
    ComPortResolver resolver;
    QString report;
};

// What the system knows now about a serial device.
struct SerialDevice {
    bool present = false; // a character device is at the path (through its links)
    QString description;  // the adapter's product name, when the system knows the device
    QString serialNumber;
    QString byId; // the /dev/serial/by-id link to the same device, when there is one
};

// Looks devices up in the system's device folders: the links of the by-id folder, taken once
// when made, and the USB device above each tty in the class folder (its product and serial
// attributes, as udev reports them). No device is opened, not even to probe it.
class SerialDevices {
public:
    explicit SerialDevices(const QString &byIdFolder = QStringLiteral("/dev/serial/by-id"),
                           QString ttyClassFolder = QStringLiteral("/sys/class/tty"));
    SerialDevice find(const QString &device) const;

private:
    QString m_ttyClass;
    QMap<QString, QString> m_byId; // real path -> link
};

// What is known about a serial device that would not open.
struct OpenFailure {
    bool deviceFound = false;  // the device is there (a node with a port behind it)
    bool mayReadWrite = false; // this user may read and write it
    bool refused = false;      // the system refused the open: no permission, or held by another
    QString platformText;      // the platform's description of the failure
};

// The sentence for the operator: no such device; no permission (join the "dialout" group); in
// use by another program (a device this user may use, refused anyway: its lock is held or it
// is open for exclusive use); else the platform's description.
QString openFailureText(int comNumber, const QString &device, const OpenFailure &failure);

// The serial line to the sign: 9600 baud, 8 data bits, no parity, 1 stop bit, no handshaking,
// raw bytes both ways. Errors come back as sentences an operator can act on.
class SerialLine : public QObject {
    Q_OBJECT
public:
    explicit SerialLine(QObject *parent = nullptr);
    ~SerialLine() override;

    // Opens "COM n" through the resolver. Returns an empty string on success, else the reason.
    QString open(int comNumber, const ComPortResolver &resolver);
    void close();
    bool isOpen() const;
    QString deviceName() const;

    // Hands the bytes to the port; returns how many it took, or -1 with errorString().
    qint64 write(const QByteArray &bytes);
    // Everything received and not yet read, without waiting: also what the 1024-byte input
    // buffer could not take yet, so the port's input is empty afterwards.
    QByteArray readAll();
    QString errorString() const;

signals:
    // The port failed after it was open (for instance the adapter was unplugged).
    void failed(const QString &reason);

private:
    QSerialPort *m_port;
    bool m_failureReported = false;
};

} // namespace lumawrite::platform
