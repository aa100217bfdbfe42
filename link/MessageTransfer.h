#pragma once

#include "Frames.h"

#include <QObject>
#include <QString>

#include <functional>

namespace lumawrite::link {

class SignLink;

// Uploads a rendered message: every block of the column image as a memory-write frame, five
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
        QString message;       // why it was refused or failed
        int framesSent = 0;    // frames that went out
        int framesSkipped = 0; // serial chosen with the port not open: nothing went out
        int framesTotal = 0;
    };

    // The column image the message was rendered into, and its block count.
    struct Memory {
        quint8 *columnBuffer = nullptr;
        int size = 0; // bytes in the buffer
        qint16 *blockCount = nullptr;
    };

    MessageTransfer(SignLink &link, Controls controls, QObject *parent = nullptr);

    // Starts the upload; the outcome arrives through finished(). The address digits are taken
    // from the serial address list position now, once, for every frame.
    void SendMessage(Memory memory, int serialAddressIndex);
    // Sends no further frame; finished() reports Stopped.
    void stop();
    // Ends the transfer with a failure of its line found elsewhere (the serial port died).
    void fail(const QString &reason);
    bool running() const { return m_running; }

    // The number of frames of a message of this many rendered blocks.
    static int frameCount(int renderedBlocks) { return renderedBlocks + 5 + 2; }

signals:
    void statusChanged(const QString &text); // "Sending n of m", "Sending Config ...", ...
    void progress(int framesDone, int framesTotal, qint64 remainingMs);
    void finished(const lumawrite::link::MessageTransfer::Outcome &outcome);

private:
    void begin();
    void sendFrame();
    void frameSent(const QString &error, bool sent);
    void finish(Result result, const QString &message = {});
    qint64 remainingMs() const;

    SignLink &m_link;
    Controls m_controls;
    Memory m_memory;
    AddressDigits m_address;
    bool m_running = false;
    int m_next = 0;   // index of the next frame
    int m_blocks = 0; // raised block count
    Outcome m_outcome;
};

} // namespace lumawrite::link

Q_DECLARE_METATYPE(lumawrite::link::MessageTransfer::Outcome)
