#pragma once

#include "Frames.h"
#include "SignLink.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace lumawrite::link {

// Uploads a rendered message: every block of the column image as a memory-write frame, the
// blank blocks behind it, the parameter frame (length and speed) and the restart frame, each
// followed by the fixed pause. Driven by the link's one-shot timers; the windows stay live.
class MessageTransfer : public QObject {
    Q_OBJECT
public:
    // What the transfer reads from the main window while it runs.
    struct Controls {
        std::function<bool()> lanSelected; // read before every frame
        std::function<int()> speedIndex;   // read after the last block
    };

    enum class Result { Completed, Refused, Failed, Stopped };
    struct Outcome {
        Result result = Result::Completed;
        QString message;                       // why it was refused or failed
        LinkError linkError = LinkError::None; // the link's part in a refusal or failure
        int framesSent = 0;                    // frames that went out
        int framesSkipped = 0; // serial chosen with the port not open: nothing went out
        int framesTotal = 0;
    };

    MessageTransfer(SignLink &link, Controls controls, QObject *parent = nullptr);

    // Starts the upload of a column image (whole blocks of 128 bytes); the outcome arrives
    // through finished(). The address digits are taken from the serial address list position
    // now, once, for every frame.
    void SendMessage(const std::vector<quint8> &columns, int serialAddressIndex);
    // Sends no further frame; finished() reports Stopped.
    void stop();
    // Ends the transfer with a failure of its line found elsewhere: the serial port stopped
    // working (LinkError::SerialPortFailed).
    void fail(const QString &reason);
    bool running() const { return m_running; }

    // The number of frames of a message of this many rendered blocks.
    static int frameCount(int renderedBlocks)
    {
        return renderedBlocks + frames::BlankBlocksBehind + 2;
    }

signals:
    // The first frame is about to go: the sign is to hold this many blocks, the blank blocks
    // behind the message among them. Not emitted for a refused upload.
    void begun(int blocks);
    void statusChanged(const QString &text); // "Sending n of m", "Sending Config ...", ...
    void progress(int framesDone, int framesTotal, qint64 remainingMs);
    void finished(const lumawrite::link::MessageTransfer::Outcome &outcome);

private:
    void begin();
    void sendFrame();
    void frameSent(const SignLink::SendResult &result);
    void finish(Result result, const QString &message = {}, LinkError linkError = LinkError::None);
    qint64 remainingMs() const;

    SignLink &m_link;
    Controls m_controls;
    QList<QByteArray> m_blockFrames; // the message's blocks and the blank ones behind them
    AddressDigits m_address;
    bool m_running = false;
    int m_next = 0; // index of the next frame
    Outcome m_outcome;
};

} // namespace lumawrite::link

Q_DECLARE_METATYPE(lumawrite::link::MessageTransfer::Outcome)
