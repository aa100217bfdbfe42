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

namespace lumawrite::signs {

// The ways to the signs, as the main window sets them up; tests replace them.
struct LinkServices {
    platform::ComPortResolver comPorts = platform::comPortDevice;
    link::LinkTiming timing; // 2000 ms and 200 ms
    quint16 signPort = link::SignLink::SignUdpPort;
    link::HostResolver hostResolver = link::systemResolver;
    // The COM ports of a sign by its settings file (the ports.conf beside it); when empty,
    // every sign uses comPorts.
    std::function<platform::ComPortResolver(const QString &settingsPath)> comPortsBeside;
    // One UDP socket for the datagrams of every sign; when none, each upload has its own.
    platform::UdpSender *udp = nullptr;
};

// How one upload ended.
struct UploadReport {
    enum class Outcome {
        Sent,        // every frame went out
        Refused,     // the message cannot be sent as it is; nothing was sent
        Unreachable, // the serial port did not open or the host was not found; nothing was sent
        Failed,      // the line failed part-way
        Stopped,     // stop() ended it between two frames
    };
    Outcome outcome = Outcome::Sent;
    QString message; // why it was refused or failed; empty after a complete upload
    QString reason;  // the same, without the count of frames sent
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
    // Ends the upload under way between two frames, at once: no further frame goes, and
    // finished() does not follow. How it ended: Stopped with the frames that went out, or the
    // ending that was on its way when it had ended already.
    UploadReport stop();
    bool running() const { return m_running; }

signals:
    // Before every frame, and once more with framesDone == framesTotal at the end. status is
    // the main window's status line ("Sending n of m", "Sending Config ...", "Restarting ...").
    void progress(int framesDone, int framesTotal, qint64 remainingMs, const QString &status);
    void finished(const lumawrite::signs::UploadReport &report);

private:
    void finish(const UploadReport &report);

    LinkServices m_services;
    QPointer<link::SignLink> m_link; // made for each upload; the transfer is its child
    QPointer<link::MessageTransfer> m_transfer;
    bool m_running = false;
    int m_uploads = 0;     // started or stopped: an ending of one before is not reported
    UploadReport m_ending; // of the upload under way, once it is known
    QString m_status;
};

} // namespace lumawrite::signs

Q_DECLARE_METATYPE(lumawrite::signs::UploadReport)
