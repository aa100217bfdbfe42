#include "SignFleet.h"

#include "MessageText.h"
#include "MessageTransfer.h"
#include "SettingsStore.h"
#include "SignPorts.h"
#include "Udp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace lumawrite::signs {
namespace {

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

} // namespace

struct SignFleet::Sign {
    Sign(int at, SignTarget t, const LinkServices &link)
        : index(at), target(std::move(t)), store(target.settingsPath)
    {
        LinkServices own = link;
        own.signPort = target.port;
        if (link.comPortsBeside)
            own.comPorts = link.comPortsBeside(target.settingsPath);
        comPorts = own.comPorts;
        upload = std::make_unique<SignUpload>(own);
        label = target.overrides.host.value_or(target.settingsPath);
    }

    // Dealing with a text, or holding the newest one for when it is done.
    bool busy() const
    {
        return pending.has_value() || phase == Phase::Preparing || phase == Phase::WaitingForLine ||
               phase == Phase::Sending;
    }

    int index; // in the fleet, as its signals name it
    SignTarget target;
    SettingsStore store;
    std::unique_ptr<SignUpload> upload;
    platform::ComPortResolver comPorts; // as its upload resolves them
    // What it takes turns for while it sends: the wire of its COM port, or the sign itself.
    QString line;
    Phase phase = Phase::Idle;
    std::optional<Submission> pending; // the newest text, for when the upload under way is over

    // The text under way.
    QString label;
    QString text;
    Settings settings;
    std::optional<ReadFailure> unreadFile; // the defaults stand in for these settings
    Overrides overrides;                   // the target's, with the text's own on top
    MessageChoices choices;
    MessageChoices savedChoices; // as the run gives them, without the message's own
    std::shared_ptr<const RenderedMessage> rendered;
    int framesDone = 0;
    int framesTotal = 0;
    qint64 remainingMs = 0;
    QElapsedTimer sinceProgress;
    SignResult result;
};

SignFleet::SignFleet(FleetOptions options, const QList<SignTarget> &signs, QStringList fontList,
                     const LinkServices &link, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_fonts(std::move(fontList))
{
    m_historyTimer.setSingleShot(true);
    m_historyTimer.setInterval(1000);
    connect(&m_historyTimer, &QTimer::timeout, this, &SignFleet::keepHistory);
    // The signs on the LAN share one socket: their number is bounded by memory, not by the
    // files a process may hold open.
    LinkServices shared = link;
    if (!shared.udp)
        shared.udp = new platform::UdpSender(this);
    for (const SignTarget &target : signs) {
        // The same sign named twice is sent to once.
        if (std::any_of(m_signs.cbegin(), m_signs.cend(),
                        [&target](const auto &sign) { return sign->target == target; }))
            continue;
        m_signs.push_back(std::make_unique<Sign>(int(m_signs.size()), target, shared));
        Sign *sign = m_signs.back().get();
        connect(sign->upload.get(), &SignUpload::progress, this,
                [this, sign](int done, int total, qint64 remainingMs, const QString &status) {
                    sign->framesDone = done;
                    sign->framesTotal = total;
                    sign->remainingMs = remainingMs;
                    sign->sinceProgress.start();
                    emit frameProgress(sign->index, done, total, remainingMs, status);
                    emit statusChanged();
                });
        connect(sign->upload.get(), &SignUpload::finished, this,
                [this, sign](const UploadReport &report) { uploadFinished(*sign, report); });
    }
}

SignFleet::~SignFleet()
{
    keepHistory();
}

bool SignFleet::busy() const
{
    return std::any_of(m_signs.cbegin(), m_signs.cend(),
                       [](const std::unique_ptr<Sign> &sign) { return sign->busy(); });
}

SignFleet::SignState SignFleet::signState(int index) const
{
    const Sign &sign = *m_signs.at(std::size_t(index));
    SignState state;
    state.label = sign.label;
    state.phase = sign.phase;
    state.framesDone = sign.framesDone;
    state.framesTotal = sign.framesTotal;
    state.remainingMs = sign.phase == Phase::Sending
                            ? qMax<qint64>(0, sign.remainingMs - sign.sinceProgress.elapsed())
                            : 0;
    state.result = sign.result;
    return state;
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

void SignFleet::submit(const QString &text, const Overrides &extra, bool allowEmpty)
{
    const Submission message{text, extra, allowEmpty};
    // The pictures of an older text are not needed again: a sign busy with it takes the newest
    // text next.
    m_renders.clear();
    m_pictures.clear(); // a picture put into the folder since counts for this text
    m_said.clear();
    m_submitting = true;
    for (const std::unique_ptr<Sign> &sign : m_signs) {
        if (sign->busy())
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
    using Outcome = SignResult::Outcome;
    const QString &text = message.text;
    sign.text = text;
    sign.phase = Phase::Preparing;
    sign.framesDone = sign.framesTotal = 0;
    sign.rendered.reset();
    sign.result = {};
    // A script that read a missing file must not blank the signs by mistake, nor one that
    // read a line of blanks.
    if (text.trimmed().isEmpty() && !m_options.allowEmpty && !message.allowEmpty) {
        refuse(sign, Outcome::Refused,
               text.isEmpty() ? QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                            "empty message; nothing sent")
                              : QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                            "a message of blanks only blanks the "
                                                            "sign; nothing sent"));
        return;
    }
    ReadFailure failure;
    const QString loadError = sign.store.LoadSettings(sign.settings, &failure);
    sign.unreadFile.reset();
    if (!loadError.isEmpty()) {
        // The defaults never say where the sign is: the command line must.
        if (!sign.target.overrides.host && !sign.target.overrides.comPort) {
            refuse(sign, Outcome::Unaddressed,
                   QCoreApplication::translate(
                       "lumawrite::signs::SignFleet",
                       "cannot read the settings at %1 (%2) and no --ip or --serial given: the "
                       "sign's address is unknown")
                       .arg(sign.store.path(), failure.reason),
                   QCoreApplication::translate(
                       "lumawrite::signs::SignFleet",
                       "cannot read the settings (%1) and no --ip or --serial given: the sign's "
                       "address is unknown")
                       .arg(failure.reason));
            return;
        }
        sign.unreadFile = failure;
        SetDefaultSettings(sign.settings);
        // A file that is not there yet and that this run saves is simply made; else it is told.
        if (!(failure.missing && m_options.save)) {
            say(loadError);
            say(QCoreApplication::translate("lumawrite::signs::SignFleet",
                                            "using the default settings."));
        }
    }
    // A message's own choices come before those of the command line.
    sign.overrides = sign.target.overrides.withMessageChoices(message.extra);
    ChoiceResult chosen =
        chooseMessage(sign.settings, sign.overrides, m_fonts, render::storedMessageText(text));
    if (!chosen.error.isEmpty()) {
        refuse(sign, Outcome::UnknownFont, chosen.error);
        return;
    }
    sign.choices = chosen.choices;
    const QString folder = picturesBeside(sign.target.settingsPath);
    sign.choices.pictures = picturesIn(folder, text);
    // What a save keeps: the run's choices, never those a message brought for itself.
    sign.savedChoices = sign.overrides == sign.target.overrides
                            ? chosen.choices
                            : chooseMessage(sign.settings, sign.target.overrides, m_fonts,
                                            render::storedMessageText(text))
                                  .choices;
    sign.label = signLabel(sign.choices, sign.target.port);
    sign.rendered = render(sign.choices, folder);
    const RenderedMessage &rendered = *sign.rendered;
    if (!rendered.error.isEmpty()) {
        refuse(sign, Outcome::Refused, rendered.error);
        return;
    }
    if (m_options.strict && !rendered.findings.isEmpty()) {
        refuse(
            sign, Outcome::Refused,
            QCoreApplication::translate("lumawrite::signs::SignFleet",
                                        "--strict refuses a message with warnings; nothing sent"));
        return;
    }
    if (!m_options.imageFile.isEmpty()) {
        const QString error = writeColumnImage(rendered.columns, m_options.imageFile);
        if (!error.isEmpty()) {
            refuse(sign, Outcome::ImageNotWritten,
                   QCoreApplication::translate("lumawrite::signs::SignFleet",
                                               "The image could not be written to %1: %2.")
                       .arg(m_options.imageFile, error));
            return;
        }
    }
    sign.framesTotal = link::MessageTransfer::frameCount(rendered.blocks);
    QList<QByteArray> frames;
    if (m_options.dryRun || m_options.keepFrames)
        frames = uploadFrames(sign.choices, rendered);
    emit planned(sign.index, sign.choices, rendered.width, frames);
    if (m_options.dryRun) {
        SignResult printed;
        printed.outcome = Outcome::Printed;
        finish(sign, printed);
        return;
    }
    // One upload at a time on a wire that several signs share, and to any one sign.
    sign.phase = Phase::WaitingForLine;
    sign.line = sign.choices.lan ? QStringLiteral("%1 port %2 address %3")
                                       .arg(sign.choices.host.toLower())
                                       .arg(sign.target.port)
                                       .arg(sign.choices.serialAddressIndex + 1)
                                 : wireOf(sign.comPorts, sign.choices.comPort);
    m_waitingForLine[sign.line].append(&sign);
    takeTurns(sign.line);
}

std::shared_ptr<const RenderedMessage> SignFleet::render(MessageChoices &choices,
                                                         const QString &folder)
{
    // Signs whose settings files lie in different folders may have different pictures.
    const QString key = renderKey(choices.request) + QChar(0x1f) + folder;
    auto found = m_renders.constFind(key);
    if (found == m_renders.cend()) {
        auto rendered = std::make_shared<RenderedMessage>(renderMessage(choices));
        for (const QString &finding : rendered->findings)
            say(QCoreApplication::translate("lumawrite::signs::SignFleet", "warning: %1")
                    .arg(finding));
        found = m_renders.insert(key, rendered);
    }
    choices.request.width = (*found)->width;
    return *found;
}

const QList<render::Picture> &SignFleet::picturesIn(const QString &folder, const QString &text)
{
    auto found = m_pictures.find(folder);
    if (found == m_pictures.end()) {
        PictureSet set = readPictures(folder, m_options.invertPictures);
        for (const render::Picture &given : std::as_const(m_options.pictures)) {
            const auto same =
                std::find_if(set.pictures.begin(), set.pictures.end(),
                             [&given](const render::Picture &p) { return p.name == given.name; });
            if (same != set.pictures.end())
                *same = given;
            else
                set.pictures.append(given);
        }
        found = m_pictures.insert(folder, set);
    }
    const PictureSet &set = *found;
    for (qsizetype i = 0; i < set.problems.size(); ++i) {
        // A "{NAME}" of a file that cannot be read stays text: the operator is told why, though
        // it was said before.
        const QString &name = set.unread[i];
        render::Picture unread;
        unread.name = name;
        const bool given =
            std::any_of(m_options.pictures.cbegin(), m_options.pictures.cend(),
                        [&name](const render::Picture &p) { return p.name == name; });
        const bool named = !given && render::holdsPictures(render::splitMessage(text, {unread}));
        if (named || !m_toldPictures.contains(set.problems[i])) {
            m_toldPictures.insert(set.problems[i]);
            say(set.problems[i]);
        }
    }
    return set.pictures;
}

void SignFleet::takeTurns(const QString &line)
{
    while (!m_linesInUse.contains(line) && !m_waitingForLine.value(line).isEmpty()) {
        Sign *next = m_waitingForLine[line].takeFirst();
        if (next->pending) {
            // A newer text came while it waited: that one goes instead.
            prepare(*next, *std::exchange(next->pending, std::nullopt));
            continue;
        }
        m_linesInUse.insert(line);
        next->phase = Phase::Sending;
        next->remainingMs = 0;
        next->sinceProgress.start();
        next->upload->start(next->choices, next->rendered->columns);
    }
}

void SignFleet::uploadFinished(Sign &sign, const UploadReport &report)
{
    using Outcome = UploadReport::Outcome;
    using Kept = HistoryEntry::Outcome;
    SignResult result;
    result.framesSent = report.framesSent;
    result.framesTotal = sign.framesTotal;
    result.message = report.message;
    // One line a sign: "Nothing was sent" is said by the count of frames.
    const QString reason = report.reason.section(QLatin1Char('\n'), 0, 0);
    // A message the transfer refuses never went to the line: it is no upload of the history.
    std::optional<Kept> kept;
    switch (report.outcome) {
    case Outcome::Sent:
        result.outcome = SignResult::Outcome::Sent;
        result.summary =
            QCoreApplication::translate("lumawrite::signs::SignFleet", "%1: sent").arg(sign.label);
        kept = Kept::Sent;
        break;
    case Outcome::Refused:
        result.outcome = SignResult::Outcome::Refused;
        result.summary =
            QCoreApplication::translate("lumawrite::signs::SignFleet", "%1: refused: %2")
                .arg(sign.label, reason);
        break;
    case Outcome::Unreachable:
    case Outcome::Failed:
    case Outcome::Stopped: // only stop() stops an upload, and it takes the ending itself
        result.outcome = report.outcome == Outcome::Unreachable ? SignResult::Outcome::Unreachable
                                                                : SignResult::Outcome::Failed;
        result.summary = QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                     "%1: failed after %2 of %3 frames: %4")
                             .arg(sign.label)
                             .arg(report.framesSent)
                             .arg(sign.framesTotal)
                             .arg(reason);
        kept = Kept::Failed;
        break;
    }
    endUpload(sign, result, kept, reason);
}

void SignFleet::endUpload(Sign &sign, SignResult result, std::optional<HistoryEntry::Outcome> kept,
                          const QString &reason)
{
    if (kept && !m_options.historyPath.isEmpty()) {
        m_history.append(historyEntry(sign.choices, sign.label, *kept, result.framesSent,
                                      sign.framesTotal, reason));
        if (!m_historyTimer.isActive())
            m_historyTimer.start();
    }
    // The message and its choices are kept whatever happened on the line, as in the windows.
    if (m_options.save) {
        // The file has a line for the sign's address and none for its UDP port.
        if (sign.choices.lan && sign.target.port != link::SignLink::SignUdpPort)
            say(QCoreApplication::translate(
                    "lumawrite::signs::SignFleet",
                    "%1 keeps the sign's address %2; it has no place for the UDP port %3, which "
                    "was for this run only.")
                    .arg(sign.store.path(), sign.choices.host)
                    .arg(sign.target.port));
        result.saveError = saveAfterUpload(sign.store, sign.unreadFile, sign.settings,
                                           sign.savedChoices, sign.target.overrides);
        if (!result.saveError.isEmpty()) {
            result.summary += QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                          "; the settings were not saved: %1")
                                  .arg(result.saveError);
            result.message += (result.message.isEmpty() ? QString() : QStringLiteral("\n")) +
                              QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                          "The settings were not saved: %1")
                                  .arg(result.saveError);
        }
    }
    m_linesInUse.remove(sign.line);
    QTimer::singleShot(0, this, [this, line = sign.line] { takeTurns(line); });
    finish(sign, result);
}

void SignFleet::stop(const QString &why)
{
    if (!busy())
        return;
    // Nothing waits any longer: a line set free below starts no other sign.
    for (const std::unique_ptr<Sign> &sign : m_signs)
        sign->pending.reset();
    QList<Sign *> waiting;
    for (QList<Sign *> &line : m_waitingForLine)
        waiting += std::exchange(line, {});
    m_submitting = true; // one messageDone() for them all, at the end
    for (Sign *sign : std::as_const(waiting)) {
        SignResult result;
        result.outcome = SignResult::Outcome::Stopped;
        result.framesTotal = sign->framesTotal;
        result.message = stoppedUploadText(why, 0, sign->framesTotal);
        result.summary = QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                     "%1: stopped after %2 of %3 frames")
                             .arg(sign->label)
                             .arg(0)
                             .arg(sign->framesTotal);
        finish(*sign, result);
    }
    for (const std::unique_ptr<Sign> &sign : m_signs) {
        if (sign->phase != Phase::Sending)
            continue;
        const UploadReport ending = sign->upload->stop();
        if (ending.outcome != UploadReport::Outcome::Stopped) {
            // It had ended already; its report was on its way.
            uploadFinished(*sign, ending);
            continue;
        }
        sign->framesDone = ending.framesSent; // what went out, not what was begun
        SignResult result;
        result.outcome = SignResult::Outcome::Stopped;
        result.framesSent = ending.framesSent;
        result.framesTotal = sign->framesTotal;
        result.message = stoppedUploadText(why, ending.framesSent, sign->framesTotal);
        result.summary = QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                     "%1: stopped after %2 of %3 frames")
                             .arg(sign->label)
                             .arg(ending.framesSent)
                             .arg(sign->framesTotal);
        endUpload(*sign, result, HistoryEntry::Outcome::Stopped, why);
    }
    m_submitting = false;
    emit statusChanged();
    checkAllDone();
}

void SignFleet::keepHistory()
{
    m_historyTimer.stop();
    if (m_history.isEmpty())
        return;
    const QString error = UploadHistory(m_options.historyPath).add(std::exchange(m_history, {}));
    // Said once: the uploads themselves went as they went.
    if (!error.isEmpty() && !std::exchange(m_historyTold, true))
        emit notice(QCoreApplication::translate("lumawrite::signs::SignFleet",
                                                "the upload history was not kept: %1")
                        .arg(error));
}

void SignFleet::refuse(Sign &sign, SignResult::Outcome outcome, const QString &message,
                       const QString &reason)
{
    SignResult result;
    result.outcome = outcome;
    result.message = message;
    result.summary = QCoreApplication::translate("lumawrite::signs::SignFleet", "%1: refused: %2")
                         .arg(sign.label, reason.isEmpty() ? message : reason);
    finish(sign, result);
}

void SignFleet::finish(Sign &sign, SignResult result)
{
    sign.phase = Phase::Done;
    sign.result = result;
    m_failed = m_failed || !result.ok();
    emit signDone(sign.index, result);
    if (sign.pending) {
        // It stays busy: the newest text goes next.
        QTimer::singleShot(0, this, [this, &sign] {
            if (sign.phase == Phase::Done && sign.pending)
                prepare(sign, *std::exchange(sign.pending, std::nullopt));
        });
        return;
    }
    emit statusChanged();
    checkAllDone();
}

SignFleet::Status SignFleet::status() const
{
    Status status;
    QStringList failed, refused, unsaved;
    bool any = false;
    for (const std::unique_ptr<Sign> &sign : m_signs) {
        status.frames += sign->framesDone;
        status.of += sign->framesTotal;
        if (sign->busy() && status.state != Status::State::Sending) {
            status.state = Status::State::Sending;
            status.text = sign->text;
        }
        // A sign that was sent to but whose settings were not saved counts as sent; its line
        // says what was not saved.
        const bool sentUnsaved = sign->result.outcome == SignResult::Outcome::Sent;
        if (sign->phase == Phase::Done && !sign->result.ok())
            (sign->result.refused() ? refused
             : sentUnsaved          ? unsaved
                                    : failed)
                .append(sign->result.summary);
        any = any || sign->phase != Phase::Idle;
        if (status.text.isEmpty() && !sign->text.isEmpty())
            status.text = sign->text;
    }
    if (status.state == Status::State::Sending || !any)
        return status;
    status.state = !failed.isEmpty()    ? Status::State::Failed
                   : !refused.isEmpty() ? Status::State::Refused
                                        : Status::State::Sent;
    status.error = (failed + refused + unsaved).join(QStringLiteral("; "));
    return status;
}

void SignFleet::checkAllDone()
{
    if (m_submitting || busy())
        return;
    keepHistory();
    emit messageDone(!std::exchange(m_failed, false));
}

void SignFleet::say(const QString &text)
{
    // What several signs have in common (the settings file they share, the picture they
    // share) is said once.
    if (m_said.contains(text))
        return;
    m_said.insert(text);
    emit notice(text);
}

} // namespace lumawrite::signs
