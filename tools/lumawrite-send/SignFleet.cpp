#include "SignFleet.h"

#include "MessageTransfer.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sys/ioctl.h>
#include <unistd.h>

namespace lumawrite::send {
namespace {

// On a terminal the lines are drawn again at most this often.
constexpr int RedrawMs = 250;

// The choices that the picture depends on, and the text.
QString renderKey(const render::RenderRequest &r)
{
    return QStringList{r.family,
                       QString::number(r.pointSize),
                       QString::number(r.bold),
                       QString::number(r.italic),
                       QString::number(r.strikethrough),
                       QString::number(r.underline),
                       QString::number(r.offset),
                       r.text}
        .join(QChar(0x1f));
}

// The wire a COM number leads to: two numbers (or two signs' ports.conf files) that name one
// device, by its path or through a link such as /dev/serial/by-id/..., are one line.
QString wireOf(const platform::ComPortResolver &comPorts, int comPort)
{
    const QString device = comPorts ? comPorts(comPort) : QString();
    if (device.isEmpty())
        return QStringLiteral("COM %1").arg(comPort);
    const QString resolved = QFileInfo(device).canonicalFilePath();
    return resolved.isEmpty() ? device : resolved;
}

} // namespace

struct SignFleet::Sign {
    Sign(SignTarget t, const LinkServices &link) : target(std::move(t)), store(target.settingsPath)
    {
        LinkServices own = link;
        own.signPort = target.port;
        if (link.comPortsBeside)
            own.comPorts = link.comPortsBeside(target.settingsPath);
        comPorts = own.comPorts;
        upload = std::make_unique<SignUpload>(own);
    }

    enum class State { Idle, Preparing, WaitingForLine, Sending, Done };

    SignTarget target;
    SettingsStore store;
    std::unique_ptr<SignUpload> upload;
    platform::ComPortResolver comPorts; // as its upload resolves them
    QString line;                       // the wire its COM port leads to, while it needs it
    State state = State::Idle;
    bool busy = false;
    bool holdsLine = false;
    std::optional<Submission> pending; // the newest text, for when the upload under way is over

    // The message under way.
    QString label;
    Settings settings;
    std::optional<ReadFailure> unreadFile;
    MessageChoices choices;
    std::shared_ptr<const RenderedMessage> rendered;
    QList<QByteArray> frames; // with --verbose only
    int framesDone = 0;
    int framesTotal = 0;
    qint64 remainingMs = 0;
    QElapsedTimer sinceProgress;
    QString summary;
    QString text;
    bool ok = false; // sent (or printed), once done
    bool refused = false;
};

SignFleet::SignFleet(SendOptions options, const QList<SignTarget> &signs, QStringList fontList,
                     const LinkServices &link, SessionOutput output, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_fonts(std::move(fontList)),
      m_output(std::move(output))
{
    for (const SignTarget &target : signs) {
        m_signs.push_back(std::make_unique<Sign>(target, link));
        Sign *sign = m_signs.back().get();
        sign->label = target.overrides.host.value_or(target.settingsPath);
        connect(sign->upload.get(), &SignUpload::progress, this,
                [this, sign](int done, int total, qint64 remainingMs, const QString &status) {
                    sign->framesDone = done;
                    sign->framesTotal = total;
                    sign->remainingMs = remainingMs;
                    sign->sinceProgress.start();
                    emit statusChanged();
                    if (m_options.verbose && done < total) {
                        const QByteArray frame = sign->frames.value(done);
                        say(QCoreApplication::translate("lumawrite::send::SignFleet",
                                                        "%1: frame %2/%3  %4  %5 bytes  %6\n")
                                .arg(sign->label)
                                .arg(done + 1)
                                .arg(total)
                                .arg(status)
                                .arg(frame.size())
                                .arg(QString::fromLatin1(frame.left(12).toHex()) +
                                     (frame.size() > 12 ? QStringLiteral("...") : QString())));
                    }
                });
        connect(sign->upload.get(), &SignUpload::finished, this,
                [this, sign](const UploadReport &report) { uploadFinished(*sign, report); });
    }
    m_redraw.setInterval(RedrawMs);
    connect(&m_redraw, &QTimer::timeout, this, [this] { redraw(); });
}

SignFleet::~SignFleet() = default;

bool SignFleet::busy() const
{
    return std::any_of(m_signs.cbegin(), m_signs.cend(),
                       [](const std::unique_ptr<Sign> &sign) { return sign->busy; });
}

QString SignFleet::signLabel(const MessageChoices &choices, quint16 port)
{
    const int address = choices.serialAddressIndex + 1;
    if (!choices.lan)
        return QStringLiteral("COM %1 (address %2)").arg(choices.comPort).arg(address);
    QString host = choices.host;
    if (port != link::SignLink::SignUdpPort)
        host = (host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host) +
               QStringLiteral(":%1").arg(port);
    return QStringLiteral("%1 (address %2)").arg(host).arg(address);
}

void SignFleet::submit(const QString &text, const Overrides &extra)
{
    const Submission message{text, extra};
    // The pictures of an older text are not needed again: a sign busy with it takes the newest
    // text next.
    m_renders.clear();
    m_said.clear();
    if (m_output.terminal && !m_options.dryRun)
        m_redraw.start();
    m_submitting = true;
    for (const std::unique_ptr<Sign> &sign : m_signs) {
        if (sign->busy)
            sign->pending = message;
        else
            prepare(*sign, message);
    }
    m_submitting = false;
    emit statusChanged();
    checkAllDone();
}

void SignFleet::prepare(Sign &sign, const Submission &message)
{
    const QString &text = message.text;
    sign.busy = true;
    sign.text = text;
    sign.state = Sign::State::Preparing;
    sign.framesDone = sign.framesTotal = 0;
    sign.rendered.reset();
    sign.summary.clear();
    // A script that read a missing file must not blank the signs by mistake.
    if (text.isEmpty() && !m_options.allowEmpty) {
        signDone(sign,
                 QCoreApplication::translate("lumawrite::send::SignFleet",
                                             "%1: refused: empty message; nothing sent")
                     .arg(sign.label),
                 false, true);
        return;
    }
    ReadFailure failure;
    const QString loadError = sign.store.LoadSettings(sign.settings, &failure);
    sign.unreadFile.reset();
    if (!loadError.isEmpty()) {
        // The defaults never say where the sign is: the command line must.
        if (!sign.target.overrides.host && !sign.target.overrides.comPort) {
            signDone(sign,
                     QCoreApplication::translate(
                         "lumawrite::send::SignFleet",
                         "%1: refused: cannot read the settings (%2) and no --ip or "
                         "--serial given: the sign's address is unknown")
                         .arg(sign.label, failure.reason),
                     false, true);
            return;
        }
        sign.unreadFile = failure;
        SetDefaultSettings(sign.settings);
        say(QCoreApplication::translate(
                "lumawrite::send::SignFleet",
                "lumawrite-send: %1\nlumawrite-send: using the default settings.\n")
                .arg(loadError));
    }
    // A message's own choices come before those of the command line.
    Overrides overrides = sign.target.overrides;
    const Overrides &extra = message.extra;
    for (auto [into, from] : {std::pair{&overrides.bold, &extra.bold},
                              {&overrides.italic, &extra.italic},
                              {&overrides.strikethrough, &extra.strikethrough},
                              {&overrides.underline, &extra.underline}})
        if (*from)
            *into = *from;
    for (auto [into, from] : {std::pair{&overrides.size, &extra.size},
                              {&overrides.offset, &extra.offset},
                              {&overrides.speed, &extra.speed}})
        if (*from)
            *into = *from;
    if (extra.font)
        overrides.font = extra.font;
    ChoiceResult chosen =
        chooseMessage(sign.settings, overrides, m_fonts, render::storedMessageText(text));
    if (!chosen.error.isEmpty()) {
        signDone(sign,
                 QCoreApplication::translate("lumawrite::send::SignFleet", "%1: refused: %2")
                     .arg(sign.label, chosen.error),
                 false, true);
        return;
    }
    sign.choices = chosen.choices;
    sign.label = signLabel(sign.choices, sign.target.port);
    sign.rendered = render(sign.choices);
    const RenderedMessage &rendered = *sign.rendered;
    if (!rendered.error.isEmpty()) {
        signDone(sign,
                 QCoreApplication::translate("lumawrite::send::SignFleet", "%1: refused: %2")
                     .arg(sign.label, rendered.error),
                 false, true);
        return;
    }
    if (m_options.strict && !rendered.findings.isEmpty()) {
        signDone(sign,
                 QCoreApplication::translate(
                     "lumawrite::send::SignFleet",
                     "%1: refused: --strict refuses a message with warnings; nothing "
                     "sent")
                     .arg(sign.label),
                 false, true);
        return;
    }
    sign.framesTotal = link::MessageTransfer::frameCount(rendered.blocks);
    if (m_options.dryRun || m_options.verbose)
        sign.frames = uploadFrames(sign.choices, rendered);
    if (m_options.dryRun) {
        QString lines = QStringLiteral("# %1\n").arg(sign.label);
        for (const QByteArray &frame : sign.frames)
            lines += QString::fromLatin1(frame.toHex()) + QLatin1Char('\n');
        m_output.out(lines);
        signDone(sign, {}, true);
        return;
    }
    if (m_options.verbose)
        say(QCoreApplication::translate("lumawrite::send::SignFleet",
                                        "%1: sending %2 frames (%3 columns), speed %4\n")
                .arg(sign.label)
                .arg(sign.frames.size())
                .arg(rendered.width)
                .arg(sign.choices.speedIndex + 1));
    if (sign.choices.lan) {
        startUpload(sign);
        return;
    }
    // One wire for every sign on the port: each upload has it to itself.
    sign.state = Sign::State::WaitingForLine;
    sign.line = wireOf(sign.comPorts, sign.choices.comPort);
    m_waitingForLine[sign.line].append(&sign);
    takeTurns(sign.line);
}

std::shared_ptr<const RenderedMessage> SignFleet::render(MessageChoices &choices)
{
    const QString key = renderKey(choices.request);
    auto found = m_renders.constFind(key);
    if (found == m_renders.cend()) {
        auto rendered = std::make_shared<RenderedMessage>(renderMessage(choices));
        for (const QString &finding : rendered->findings)
            say(QCoreApplication::translate("lumawrite::send::SignFleet",
                                            "lumawrite-send: warning: %1\n")
                    .arg(finding));
        found = m_renders.insert(key, rendered);
    }
    choices.request.width = (*found)->width;
    return *found;
}

void SignFleet::startUpload(Sign &sign)
{
    sign.state = Sign::State::Sending;
    sign.remainingMs = 0;
    sign.sinceProgress.start();
    sign.upload->start(sign.choices, sign.rendered->columns);
}

void SignFleet::takeTurns(const QString &line)
{
    while (!m_linesInUse.contains(line) && !m_waitingForLine.value(line).isEmpty()) {
        Sign *next = m_waitingForLine[line].takeFirst();
        if (next->pending) {
            // A newer text came while it waited: that one goes instead.
            const Submission message = *std::exchange(next->pending, std::nullopt);
            prepare(*next, message);
            continue;
        }
        m_linesInUse.insert(line);
        next->holdsLine = true;
        startUpload(*next);
    }
}

void SignFleet::uploadFinished(Sign &sign, const UploadReport &report)
{
    bool ok = report.exitCode == ExitOk;
    // One line a sign: "Nothing was sent" is said by the count of frames.
    const QString reason = report.reason.section(QLatin1Char('\n'), 0, 0);
    QString summary;
    const bool refused = !ok && report.exitCode == ExitRefused;
    if (ok)
        summary =
            QCoreApplication::translate("lumawrite::send::SignFleet", "%1: sent").arg(sign.label);
    else if (report.exitCode == ExitRefused)
        summary = QCoreApplication::translate("lumawrite::send::SignFleet", "%1: refused: %2")
                      .arg(sign.label, reason);
    else
        summary = QCoreApplication::translate("lumawrite::send::SignFleet",
                                              "%1: failed after %2 of %3 frames: %4")
                      .arg(sign.label)
                      .arg(report.framesSent)
                      .arg(sign.framesTotal)
                      .arg(reason);
    // The message and its choices are kept whatever happened on the line, as with one sign.
    if (m_options.save) {
        const QString error = saveAfterUpload(sign.store, sign.unreadFile, sign.settings,
                                              sign.choices, sign.target.overrides);
        if (!error.isEmpty()) {
            summary += QCoreApplication::translate("lumawrite::send::SignFleet",
                                                   "; the settings were not saved: %1")
                           .arg(error);
            ok = false;
        }
    }
    if (sign.holdsLine) {
        sign.holdsLine = false;
        m_linesInUse.remove(sign.line);
        QTimer::singleShot(0, this, [this, line = sign.line] { takeTurns(line); });
    }
    signDone(sign, summary, ok, refused);
}

void SignFleet::signDone(Sign &sign, const QString &summary, bool ok, bool refused)
{
    sign.state = Sign::State::Done;
    sign.summary = summary;
    sign.ok = ok;
    sign.refused = refused;
    m_failed = m_failed || !ok;
    if (!m_output.terminal && !summary.isEmpty())
        m_output.err(QStringLiteral("lumawrite-send: %1\n").arg(summary));
    if (sign.pending) {
        // It stays busy: the newest text goes next.
        const Submission message = *std::exchange(sign.pending, std::nullopt);
        QTimer::singleShot(0, this, [this, &sign, message] {
            if (sign.state == Sign::State::Done)
                prepare(sign, message);
        });
        return;
    }
    sign.busy = false;
    emit statusChanged();
    checkAllDone();
}

SignFleet::Status SignFleet::status() const
{
    Status status;
    QStringList failed, refused;
    bool any = false;
    for (const std::unique_ptr<Sign> &sign : m_signs) {
        status.frames += sign->framesDone;
        status.of += sign->framesTotal;
        if (sign->busy && status.state != Status::State::Sending) {
            status.state = Status::State::Sending;
            status.text = sign->text;
        }
        if (sign->state == Sign::State::Done && !sign->ok)
            (sign->refused ? refused : failed).append(sign->summary);
        any = any || sign->state != Sign::State::Idle;
        if (status.text.isEmpty() && !sign->text.isEmpty())
            status.text = sign->text;
    }
    if (status.state == Status::State::Sending || !any)
        return status;
    status.state = !failed.isEmpty()    ? Status::State::Failed
                   : !refused.isEmpty() ? Status::State::Refused
                                        : Status::State::Sent;
    status.error = (failed + refused).join(QStringLiteral("; "));
    return status;
}

void SignFleet::checkAllDone()
{
    if (m_submitting || busy())
        return;
    if (m_redraw.isActive()) {
        redraw(true);
        m_redraw.stop();
        m_linesDrawn = 0;
        m_drawn.clear();
    }
    const bool failed = std::exchange(m_failed, false);
    emit messageDone(failed ? ExitUploadFailed : ExitOk);
}

void SignFleet::say(const QString &text)
{
    // What several signs have in common (the settings file they share, the picture they
    // share) is said once.
    if (m_said.contains(text))
        return;
    m_said.insert(text);
    m_output.err(text);
    // The lines are drawn anew below what was said.
    m_linesDrawn = 0;
    m_drawn.clear();
}

QString SignFleet::progressLine(const Sign &sign) const
{
    switch (sign.state) {
    case Sign::State::Done:
        return QStringLiteral("lumawrite-send: %1").arg(sign.summary);
    case Sign::State::WaitingForLine:
        return QCoreApplication::translate("lumawrite::send::SignFleet", "%1: waiting for the line")
            .arg(sign.label);
    case Sign::State::Sending:
        return QCoreApplication::translate("lumawrite::send::SignFleet",
                                           "%1: %2/%3 frames, %4 left")
            .arg(sign.label)
            .arg(sign.framesDone)
            .arg(sign.framesTotal)
            .arg(timeLeft(qMax<qint64>(0, sign.remainingMs - sign.sinceProgress.elapsed())));
    default:
        return QCoreApplication::translate("lumawrite::send::SignFleet", "%1: preparing")
            .arg(sign.label);
    }
}

QString SignFleet::overallLine() const
{
    int done = 0, failed = 0, sending = 0, waiting = 0;
    qint64 left = 0;
    for (const std::unique_ptr<Sign> &sign : m_signs) {
        switch (sign->state) {
        case Sign::State::Done:
            ++done;
            failed += sign->ok ? 0 : 1;
            break;
        case Sign::State::Sending:
            ++sending;
            left = qMax(left, sign->remainingMs - sign->sinceProgress.elapsed());
            break;
        case Sign::State::WaitingForLine:
            ++waiting;
            break;
        default:
            break;
        }
    }
    return QCoreApplication::translate(
               "lumawrite::send::SignFleet",
               "%1 signs: %2 done (%3 failed), %4 sending, %5 waiting for their line; "
               "%6 left")
        .arg(m_signs.size())
        .arg(done)
        .arg(failed)
        .arg(sending)
        .arg(waiting)
        .arg(timeLeft(qMax<qint64>(0, left)));
}

void SignFleet::redraw(bool last)
{
    // A line longer than the terminal is wide would wrap, and drawing over it would miss; the
    // last drawing is never drawn over.
    winsize size{};
    const bool known = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0;
    const int width = known ? size.ws_col : 0;
    const int rows = known ? size.ws_row : 0;
    QStringList lines;
    if (!last && rows > 1 && int(m_signs.size()) >= rows) {
        // Lines that scrolled out of sight cannot be drawn over: one line tells of them all.
        lines.append(overallLine().left(width > 1 ? width - 1 : -1));
    } else {
        for (const std::unique_ptr<Sign> &sign : m_signs)
            lines.append(width > 1 && !last ? progressLine(*sign).left(width - 1)
                                            : progressLine(*sign));
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
