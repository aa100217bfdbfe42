#include "TerminalView.h"

#include <QCoreApplication>

#include <sys/ioctl.h>
#include <unistd.h>

namespace lumawrite::send {
namespace {

constexpr int BarWidth = 30;
// On a terminal the lines of several signs are drawn again at most this often.
constexpr int RedrawMs = 250;

// "m:ss", as the progress lines count down.
QString timeLeft(qint64 remainingMs)
{
    const qint64 seconds = signs::secondsLeft(remainingMs);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

TerminalView::TerminalView(signs::SignFleet &fleet, const SendOptions &options,
                           TerminalOutput output, Style style, QObject *parent)
    : QObject(parent), m_fleet(fleet), m_options(options), m_output(std::move(output)),
      m_style(style)
{
    using signs::SignFleet;
    connect(&fleet, &SignFleet::notice, this, &TerminalView::notice);
    connect(&fleet, &SignFleet::planned, this, &TerminalView::planned);
    connect(&fleet, &SignFleet::frameProgress, this, &TerminalView::frameProgress);
    connect(&fleet, &SignFleet::signDone, this, &TerminalView::signDone);
    connect(&fleet, &SignFleet::messageDone, this, &TerminalView::allDone);
    if (style == Style::Signs && m_output.terminal && !options.dryRun)
        connect(&fleet, &SignFleet::statusChanged, this, &TerminalView::startDrawing);
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &TerminalView::redrawBar);
    m_redraw.setInterval(RedrawMs);
    connect(&m_redraw, &QTimer::timeout, this, [this] { redraw(); });
}

ExitCode TerminalView::exitCode(const signs::SignResult &result)
{
    using Outcome = signs::SignResult::Outcome;
    switch (result.outcome) {
    case Outcome::Sent:
        return result.saveError.isEmpty() ? ExitOk : ExitFileNotWritten;
    case Outcome::Printed:
        return ExitOk;
    case Outcome::Refused:
        return ExitRefused;
    case Outcome::Unaddressed:
    case Outcome::UnknownFont:
        return ExitUsage;
    case Outcome::Unreachable:
        return ExitLinkUnavailable;
    case Outcome::Failed:
    case Outcome::Stopped:
        return ExitUploadFailed;
    case Outcome::ImageNotWritten:
        return ExitFileNotWritten;
    }
    return ExitUploadFailed;
}

void TerminalView::notice(const QString &text)
{
    say(QStringLiteral("lumawrite-send: %1").arg(text));
}

void TerminalView::say(const QString &line)
{
    m_output.err(line + QLatin1Char('\n'));
    // The lines of several signs are drawn anew below what was said.
    m_linesDrawn = 0;
    m_drawn.clear();
}

void TerminalView::planned(int sign, const signs::MessageChoices &choices, int columns,
                           const QList<QByteArray> &frames)
{
    const QString label = m_fleet.signState(sign).label;
    if (m_options.dryRun) {
        QString lines = m_style == Style::Signs ? QStringLiteral("# %1\n").arg(label) : QString();
        for (const QByteArray &frame : frames)
            lines += QString::fromLatin1(frame.toHex()) + QLatin1Char('\n');
        m_output.out(lines);
        return;
    }
    if (!m_options.verbose)
        return;
    m_frames[sign] = frames;
    if (m_style == Style::Signs) {
        say(QCoreApplication::translate("lumawrite::send::TerminalView",
                                        "%1: sending %2 frames (%3 columns), speed %4")
                .arg(label)
                .arg(frames.size())
                .arg(columns)
                .arg(choices.speedIndex + 1));
        return;
    }
    const QString destination =
        choices.lan
            ? QCoreApplication::translate("lumawrite::send::TerminalView", "%1, UDP port %2")
                  .arg(choices.host)
                  .arg(m_options.signPort)
            : QStringLiteral("COM %1").arg(choices.comPort);
    m_output.err(QCoreApplication::translate(
                     "lumawrite::send::TerminalView",
                     "Sending %1 frames (%2 columns) to %3, serial address %4, speed %5\n")
                     .arg(frames.size())
                     .arg(columns)
                     .arg(destination)
                     .arg(choices.serialAddressIndex + 1)
                     .arg(choices.speedIndex + 1));
}

QString TerminalView::frameLine(int sign, int framesDone, int framesTotal,
                                const QString &status) const
{
    const QByteArray frame = m_frames.value(sign).value(framesDone);
    return QStringLiteral("frame %1/%2  %3  %4 bytes  %5")
        .arg(framesDone + 1)
        .arg(framesTotal)
        .arg(status)
        .arg(frame.size())
        .arg(QString::fromLatin1(frame.left(12).toHex()) +
             (frame.size() > 12 ? QStringLiteral("...") : QString()));
}

void TerminalView::frameProgress(int sign, int framesDone, int framesTotal, qint64 remainingMs,
                                 const QString &status)
{
    const bool frameToShow = m_options.verbose && framesDone < framesTotal;
    if (m_style == Style::Signs) {
        if (frameToShow)
            say(QStringLiteral("%1: %2").arg(m_fleet.signState(sign).label,
                                             frameLine(sign, framesDone, framesTotal, status)));
        return;
    }
    QString text;
    if (m_output.terminal)
        text += QStringLiteral("\r\x1b[K");
    if (frameToShow)
        text += frameLine(sign, framesDone, framesTotal, status) + QLatin1Char('\n');
    if (m_output.terminal && framesTotal > 0) {
        m_bar = {framesDone, framesTotal, remainingMs};
        m_sinceProgress.start();
        text += barText(framesDone, framesTotal, remainingMs);
        m_barShown = true;
        if (framesDone < framesTotal)
            m_countdown.start();
        else
            m_countdown.stop();
    }
    if (!text.isEmpty())
        m_output.err(text);
}

QString TerminalView::barText(int framesDone, int framesTotal, qint64 remainingMs)
{
    const int filled = framesDone * BarWidth / framesTotal;
    return QCoreApplication::translate("lumawrite::send::TerminalView",
                                       "[%1%2] %3/%4 frames, %5 left")
        .arg(QString(filled, QLatin1Char('#')))
        .arg(QString(BarWidth - filled, QLatin1Char('.')))
        .arg(framesDone)
        .arg(framesTotal)
        .arg(timeLeft(remainingMs));
}

void TerminalView::redrawBar()
{
    // Between frames the time left runs down every second.
    const qint64 left = m_bar.remainingMs - m_sinceProgress.elapsed();
    m_output.err(QStringLiteral("\r\x1b[K") + barText(m_bar.framesDone, m_bar.framesTotal, left));
}

void TerminalView::signDone(int sign, const signs::SignResult &result)
{
    m_frames.remove(sign);
    if (m_style == Style::Signs) {
        if (!m_output.terminal && !result.summary.isEmpty())
            m_output.err(QStringLiteral("lumawrite-send: %1\n").arg(result.summary));
        return;
    }
    m_countdown.stop();
    if (std::exchange(m_barShown, false))
        m_output.err(QStringLiteral("\n"));
    m_code = exitCode(result);
    // Logs (cron, the journal) see each change that went out; a terminal has the bar.
    if (!m_output.terminal && m_options.mode == SendOptions::Mode::Watch &&
        result.outcome == signs::SignResult::Outcome::Sent)
        m_output.err(QStringLiteral("lumawrite-send: %1\n").arg(result.summary));
    if (m_options.verbose && result.outcome == signs::SignResult::Outcome::Sent)
        m_output.err(
            QCoreApplication::translate("lumawrite::send::TerminalView", "Sent %1 of %2 frames.\n")
                .arg(result.framesSent)
                .arg(result.framesTotal));
    QString message = result.message;
    if (result.outcome == signs::SignResult::Outcome::Unaddressed &&
        m_options.mode == SendOptions::Mode::Watch)
        message += QCoreApplication::translate(
            "lumawrite::send::TerminalView",
            "\nlumawrite-send: this change was not sent; the next one is, once "
            "the settings can be read.");
    if (!message.isEmpty())
        m_output.err(QStringLiteral("lumawrite-send: %1\n").arg(message));
}

void TerminalView::allDone(bool ok)
{
    if (m_redraw.isActive()) {
        redraw(true);
        m_redraw.stop();
        m_linesDrawn = 0;
        m_drawn.clear();
    }
    emit messageDone(m_style == Style::OneSign ? m_code : ok ? ExitOk : ExitUploadFailed);
}

void TerminalView::startDrawing()
{
    if (!m_redraw.isActive())
        m_redraw.start();
}

QString TerminalView::progressLine(const signs::SignFleet::SignState &sign) const
{
    using Phase = signs::SignFleet::Phase;
    switch (sign.phase) {
    case Phase::Done:
        return QStringLiteral("lumawrite-send: %1").arg(sign.result.summary);
    case Phase::WaitingForLine:
        return QCoreApplication::translate("lumawrite::send::TerminalView",
                                           "%1: waiting for the line")
            .arg(sign.label);
    case Phase::Sending:
        return QCoreApplication::translate("lumawrite::send::TerminalView",
                                           "%1: %2/%3 frames, %4 left")
            .arg(sign.label)
            .arg(sign.framesDone)
            .arg(sign.framesTotal)
            .arg(timeLeft(sign.remainingMs));
    default:
        return QCoreApplication::translate("lumawrite::send::TerminalView", "%1: preparing")
            .arg(sign.label);
    }
}

QString TerminalView::overallLine() const
{
    using Phase = signs::SignFleet::Phase;
    int done = 0, failed = 0, sending = 0, waiting = 0;
    qint64 left = 0;
    for (int i = 0; i < m_fleet.signCount(); ++i) {
        const signs::SignFleet::SignState sign = m_fleet.signState(i);
        switch (sign.phase) {
        case Phase::Done:
            ++done;
            failed += sign.result.ok() ? 0 : 1;
            break;
        case Phase::Sending:
            ++sending;
            left = qMax(left, sign.remainingMs);
            break;
        case Phase::WaitingForLine:
            ++waiting;
            break;
        default:
            break;
        }
    }
    return QCoreApplication::translate(
               "lumawrite::send::TerminalView",
               "%1 signs: %2 done (%3 failed), %4 sending, %5 waiting for their line; %6 "
               "left")
        .arg(m_fleet.signCount())
        .arg(done)
        .arg(failed)
        .arg(sending)
        .arg(waiting)
        .arg(timeLeft(left));
}

void TerminalView::redraw(bool last)
{
    // A line longer than the terminal is wide would wrap, and drawing over it would miss; the
    // last drawing is never drawn over.
    winsize size{};
    const bool known = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0;
    const int width = known ? size.ws_col : 0;
    const int rows = known ? size.ws_row : 0;
    QStringList lines;
    if (!last && rows > 1 && m_fleet.signCount() >= rows) {
        // Lines that scrolled out of sight cannot be drawn over: one line tells of them all.
        lines.append(overallLine().left(width > 1 ? width - 1 : -1));
    } else {
        for (int i = 0; i < m_fleet.signCount(); ++i) {
            const QString line = progressLine(m_fleet.signState(i));
            lines.append(width > 1 && !last ? line.left(width - 1) : line);
        }
    }
    const QString drawing = lines.join(QLatin1Char('\n'));
    if (drawing == m_drawn && m_linesDrawn == lines.size())
        return;
    // Back to the first line, then every line over again.
    QString text = m_linesDrawn > 0 ? QStringLiteral("\x1b[%1A").arg(m_linesDrawn) : QString();
    for (const QString &line : lines)
        text += QStringLiteral("\r\x1b[K") + line + QLatin1Char('\n');
    m_output.err(text);
    m_drawn = drawing;
    m_linesDrawn = int(lines.size());
}

} // namespace lumawrite::send
