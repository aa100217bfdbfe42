#pragma once

#include "MessagePlan.h"
#include "SerialLine.h"
#include "SignLink.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

namespace lumawrite::link {
class MessageTransfer;
}

namespace lumawrite::send {

// The ways to the sign, as the main window sets them up; tests replace them.
struct LinkServices {
    platform::ComPortResolver comPorts = platform::comPortDevice;
    link::LinkTiming timing; // 2000 ms and 200 ms
    quint16 signPort = link::SignLink::SignUdpPort;
    link::HostResolver hostResolver = link::systemResolver;
    // The COM ports of a sign by its settings file (the ports.conf beside it); when empty,
    // every sign uses comPorts.
    std::function<platform::ComPortResolver(const QString &settingsPath)> comPortsBeside;
};

// The time left of an upload as its progress lines show it: "m:ss", rounded up.
QString timeLeft(qint64 remainingMs);

struct UploadReport {
    ExitCode exitCode = ExitOk;
    QString message; // why it was refused or failed; empty after a complete upload
    QString reason;  // the same, its first line without the count of frames sent
    int framesSent = 0;
    int framesTotal = 0;
};

// One upload at a time through the same link and transfer the main window uses, so the frames,
// their order and the pauses between them are the window's. The serial port is opened for the
// upload and closed after it.
class SignUpload : public QObject {
    Q_OBJECT
public:
    explicit SignUpload(LinkServices services, QObject *parent = nullptr);
    ~SignUpload() override;

    // The outcome arrives through finished(), always after start() has returned.
    void start(const MessageChoices &choices, const std::vector<quint8> &columns);
    bool running() const { return m_running; }

signals:
    // Before every frame, and once more with framesDone == framesTotal at the end. status is
    // the main window's status line ("Sending n of m", "Sending Config ...", "Restarting ...").
    void progress(int framesDone, int framesTotal, qint64 remainingMs, const QString &status);
    void finished(const lumawrite::send::UploadReport &report);

private:
    void finish(const UploadReport &report);

    LinkServices m_services;
    QPointer<link::SignLink> m_link; // made for each upload; the transfer is its child
    bool m_running = false;
    QString m_status;
};

} // namespace lumawrite::send

Q_DECLARE_METATYPE(lumawrite::send::UploadReport)
