#include "MessageTransfer.h"

#include "SignLink.h"

namespace lumawrite::link {

MessageTransfer::MessageTransfer(SignLink &link, Controls controls, QObject *parent)
    : QObject(parent), m_link(link), m_controls(std::move(controls))
{
}

void MessageTransfer::SendMessage(const std::vector<quint8> &columns, int serialAddressIndex)
{
    m_address = frames::addressDigits(serialAddressIndex);
    m_outcome = {};
    m_next = 0;
    m_running = true;

    const int rendered = int(columns.size() / frames::BlockBytes);
    m_outcome.framesTotal = frameCount(rendered);
    // The blank blocks must still fit the sign's message memory.
    if (rendered < 1 || rendered > frames::MaxMessageBlocks) {
        finish(Result::Refused, tr("The message has %1 blocks; at most %2 can be sent.")
                                    .arg(rendered)
                                    .arg(frames::MaxMessageBlocks));
        return;
    }
    m_blockFrames = frames::blockFrames(m_address, columns);
    if (!m_controls.lanSelected() && !m_link.serialOpen()) {
        finish(Result::Refused,
               tr("The serial link is chosen, but the serial port did not open when "
                  "Luma Write started. Nothing was sent.\nChoose LAN, or connect the "
                  "port and start Luma Write again."),
               LinkError::SerialNotOpen);
        return;
    }
    if (m_controls.lanSelected()) {
        m_link.whenDestinationReady([this](const QString &error) {
            if (!m_running)
                return;
            if (!error.isEmpty())
                finish(Result::Refused, error + tr("\nNothing was sent."),
                       LinkError::AddressUnknown);
            else
                begin();
        });
        return;
    }
    begin();
}

void MessageTransfer::begin()
{
    emit begun(int(m_blockFrames.size()));
    sendFrame();
}

void MessageTransfer::sendFrame()
{
    const int blocks = int(m_blockFrames.size());
    QByteArray TxBuffer;
    if (m_next < blocks) {
        emit statusChanged(tr("Sending %1 of %2").arg(m_next + 1).arg(blocks));
        TxBuffer = m_blockFrames[m_next];
    } else if (m_next == blocks) {
        emit statusChanged(tr("Sending Config ..."));
        TxBuffer = frames::parameterFrame(m_address, qint16(blocks),
                                          frames::speedCode(m_controls.speedIndex()));
    } else {
        emit statusChanged(tr("Restarting ..."));
        TxBuffer = frames::restartFrame(m_address);
    }
    emit progress(m_next, m_outcome.framesTotal, remainingMs());
    m_link.Send(TxBuffer, m_controls.lanSelected(),
                [this](const SignLink::SendResult &r) { frameSent(r); });
}

void MessageTransfer::frameSent(const SignLink::SendResult &result)
{
    if (!m_running)
        return;
    if (!result.error.isEmpty()) {
        finish(Result::Failed, result.error, result.kind);
        return;
    }
    if (result.sent)
        ++m_outcome.framesSent;
    else
        ++m_outcome.framesSkipped;
    m_link.pause([this] {
        ++m_next;
        if (m_next < m_outcome.framesTotal) {
            sendFrame();
        } else {
            emit progress(m_next, m_outcome.framesTotal, 0);
            finish(Result::Completed);
        }
    });
}

qint64 MessageTransfer::remainingMs() const
{
    const LinkTiming &t = m_link.timing();
    const int perFrame = t.delayMs + (m_controls.lanSelected() ? 0 : t.replyMs);
    return qint64(m_outcome.framesTotal - m_next) * perFrame;
}

void MessageTransfer::stop()
{
    if (!m_running)
        return;
    m_link.cancel();
    finish(Result::Stopped);
}

void MessageTransfer::fail(const QString &reason)
{
    if (!m_running)
        return;
    m_link.cancel();
    finish(Result::Failed, reason, LinkError::SerialPortFailed);
}

void MessageTransfer::finish(Result result, const QString &message, LinkError linkError)
{
    m_running = false;
    m_outcome.result = result;
    m_outcome.message = message;
    m_outcome.linkError = linkError;
    emit statusChanged(QString());
    emit finished(m_outcome);
}

} // namespace lumawrite::link
