#include "SignUpload.h"

#include "MessageTransfer.h"

#include <QTimer>

namespace lumawrite::signs {

SignUpload::SignUpload(LinkServices services, QObject *parent)
    : QObject(parent), m_services(std::move(services))
{
}

SignUpload::~SignUpload() = default;

void SignUpload::start(const MessageChoices &choices, const std::vector<quint8> &columns)
{
    using Outcome = UploadReport::Outcome;
    m_running = true;
    ++m_uploads;
    m_ending = {Outcome::Stopped, {}, {}, 0, 0};
    delete m_link;
    m_link = new link::SignLink(m_services.comPorts, m_services.timing, m_services.signPort,
                                m_services.hostResolver, this);
    if (m_services.udp)
        m_link->setUdpSender(m_services.udp);

    const bool lan = choices.lan;
    const int speedIndex = choices.speedIndex;
    if (!lan) {
        const QString error = m_link->openSerial(qint16(choices.comPort));
        if (!error.isEmpty()) {
            const QString message = tr("The serial link is chosen, but its port did not open: %1\n"
                                       "Nothing was sent.")
                                        .arg(error);
            finish({Outcome::Unreachable, message, message});
            return;
        }
    } else {
        m_link->setDestination(choices.host);
    }

    auto *transfer = new link::MessageTransfer(
        *m_link, {[lan] { return lan; }, [speedIndex] { return speedIndex; }}, m_link);
    m_transfer = transfer;
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
                if (outcome.result == Result::Stopped) {
                    report.outcome = Outcome::Stopped;
                } else if (!failure.isEmpty()) {
                    report.outcome = Outcome::Failed;
                    report.reason = failure;
                    report.message =
                        stoppedUploadText(failure, outcome.framesSent, outcome.framesTotal);
                } else if (outcome.result != Result::Completed) {
                    // The transfer refuses a message of too many blocks itself; a sign it
                    // cannot reach is told by the link's part in the refusal.
                    report.outcome = outcome.linkError == link::LinkError::None
                                         ? Outcome::Refused
                                         : Outcome::Unreachable;
                    report.message = outcome.message;
                    report.reason = outcome.message;
                }
                finish(report);
            });
    transfer->SendMessage(columns, choices.serialAddressIndex);
}

UploadReport SignUpload::stop()
{
    if (!m_running)
        return {};
    // The transfer reports its ending at once; the report of it, as of an ending that was on
    // its way, is kept back.
    if (m_transfer)
        m_transfer->stop();
    ++m_uploads;
    delete m_link; // the serial port closes
    m_running = false;
    return m_ending;
}

void SignUpload::finish(const UploadReport &report)
{
    m_ending = report;
    // Reported from the event loop, out of the transfer's own calls: the link can go at once,
    // which closes the serial port, and a handler may start the next upload.
    QTimer::singleShot(0, this, [this, report, upload = m_uploads] {
        if (upload != m_uploads)
            return;
        delete m_link;
        m_running = false;
        emit finished(report);
    });
}

} // namespace lumawrite::signs
