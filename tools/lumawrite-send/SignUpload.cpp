#include "SignUpload.h"

#include "MessageTransfer.h"

#include <QTimer>

namespace lumawrite::send {

QString timeLeft(qint64 remainingMs)
{
    const qint64 seconds = (remainingMs + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

SignUpload::SignUpload(LinkServices services, QObject *parent)
    : QObject(parent), m_services(std::move(services))
{
}

SignUpload::~SignUpload() = default;

void SignUpload::start(const MessageChoices &choices, const std::vector<quint8> &columns)
{
    m_running = true;
    delete m_link;
    m_link = new link::SignLink(m_services.comPorts, m_services.timing, m_services.signPort,
                                m_services.hostResolver, this);

    const int blocks = int(columns.size() / link::frames::BlockBytes);
    if (blocks < 1 || blocks > link::frames::MaxMessageBlocks) {
        const QString reason = tr("The message has %1 blocks; the sign takes at most %2.")
                                   .arg(blocks)
                                   .arg(render::MaxUploadBlocks);
        finish({ExitRefused, reason, reason});
        return;
    }
    const bool lan = choices.lan;
    const int speedIndex = choices.speedIndex;
    if (lan) {
        m_link->setDestination(choices.host);
    } else {
        const QString error = m_link->openSerial(qint16(choices.comPort));
        if (!error.isEmpty()) {
            const QString message = tr("The serial link is chosen, but its port did not open: %1\n"
                                       "Nothing was sent.")
                                        .arg(error);
            finish({ExitLinkUnavailable, message, message});
            return;
        }
    }

    auto *transfer = new link::MessageTransfer(
        *m_link, {[lan] { return lan; }, [speedIndex] { return speedIndex; }}, m_link);
    connect(transfer, &link::MessageTransfer::statusChanged, this,
            [this](const QString &text) { m_status = text; });
    connect(transfer, &link::MessageTransfer::progress, this,
            [this](int done, int total, qint64 remainingMs) {
                emit progress(done, total, remainingMs, done < total ? m_status : QString());
            });
    // A port that dies between frames (in a pause rather than a reply window) ends the upload
    // too, instead of letting the remaining frames go nowhere.
    connect(m_link, &link::SignLink::serialFailed, transfer, &link::MessageTransfer::fail);
    connect(transfer, &link::MessageTransfer::finished, this,
            [this](const link::MessageTransfer::Outcome &outcome) {
                using Result = link::MessageTransfer::Result;
                UploadReport report;
                report.framesSent = outcome.framesSent;
                report.framesTotal = outcome.framesTotal;
                QString failure;
                if (outcome.result == Result::Failed)
                    failure = outcome.message;
                else if (outcome.framesSkipped > 0)
                    failure = tr("The serial port closed during the upload.");
                if (!failure.isEmpty()) {
                    report.exitCode = ExitUploadFailed;
                    report.reason = failure;
                    report.message = tr("%1\n%2 of %3 frames had been sent when the "
                                        "upload stopped.")
                                         .arg(failure)
                                         .arg(outcome.framesSent)
                                         .arg(outcome.framesTotal);
                } else if (outcome.result != Result::Completed) {
                    report.exitCode = ExitLinkUnavailable;
                    report.message = outcome.message;
                    report.reason = outcome.message;
                }
                finish(report);
            });
    transfer->SendMessage(columns, choices.serialAddressIndex);
}

void SignUpload::finish(const UploadReport &report)
{
    // Reported from the event loop, out of the transfer's own calls: the link can go at once,
    // which closes the serial port, and a handler may start the next upload.
    QTimer::singleShot(0, this, [this, report] {
        delete m_link;
        m_running = false;
        emit finished(report);
    });
}

} // namespace lumawrite::send
