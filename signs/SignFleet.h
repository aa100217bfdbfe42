#pragma once

#include "MessagePlan.h"
#include "PictureFiles.h"
#include "SignUpload.h"
#include "UploadHistory.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <memory>
#include <vector>

namespace lumawrite::signs {

// One sign of a run: the settings file it reads (and writes when saving), the choices that
// replace those of the file, and its UDP port.
struct SignTarget {
    QString settingsPath;
    Overrides overrides;
    quint16 port = link::SignLink::SignUdpPort;
    friend bool operator==(const SignTarget &a, const SignTarget &b)
    {
        return a.settingsPath == b.settingsPath && a.overrides == b.overrides && a.port == b.port;
    }
};

// What the signs do with every text, the same for each.
struct FleetOptions {
    bool allowEmpty = false; // an empty message, or one of blanks, blanks the sign
    bool strict = false;     // a fit-check finding refuses the message instead of a warning
    bool dryRun = false;     // the frames are made and handed on, never sent
    bool save = false;       // each sign's settings file keeps what its upload used
    bool keepFrames = false; // the frames are handed on before the upload, to be shown
    QString imageFile;       // where the picture of the message is written before it is sent
    // The pictures given for the run (--picture), over those of the pictures/ folder beside
    // each sign's settings file.
    QList<render::Picture> pictures;
    bool invertPictures = false; // the folder's images light their light pixels instead
    // Where every upload is kept, one entry a sign (sent, stopped or failed; never a dry run
    // nor a message refused before it went); empty: nowhere.
    QString historyPath = historyFilePath();
};

// How one sign dealt with one text.
struct SignResult {
    enum class Outcome {
        Sent,            // every frame went out
        Printed,         // a dry run: the frames were handed on
        Refused,         // the message cannot go as it is (empty, too long or wide, --strict)
        Unaddressed,     // the settings cannot be read and nothing else names the sign
        UnknownFont,     // the typeface asked for is not on this computer
        Unreachable,     // the serial port did not open or the host was not found
        Failed,          // the line failed part-way
        ImageNotWritten, // the picture of the message could not be written; nothing was sent
        Stopped,         // stop() ended the upload part-way, or before its turn on the line
    };
    Outcome outcome = Outcome::Sent;
    QString message;   // all that is to be said of it for one sign, lines and all
    QString summary;   // one line that names the sign: "LABEL: sent", "LABEL: refused: why"...
    QString saveError; // why its settings were not saved, when they were to be
    int framesSent = 0;
    int framesTotal = 0;

    bool refused() const
    {
        return outcome == Outcome::Refused || outcome == Outcome::Unaddressed ||
               outcome == Outcome::UnknownFont;
    }
    bool ok() const
    {
        return (outcome == Outcome::Sent || outcome == Outcome::Printed) && saveError.isEmpty();
    }
};

// Sends each text to one sign or several at once. Each sign reads its own settings file and
// has its own upload, link and pacing; the text is rendered once for each distinct choice of
// font, size, styles and offset. LAN signs and signs on different COM ports are served at the
// same time; signs on one COM port share its wire and take turns on it, in the order given, and
// two entries that name the same sign (host, UDP port and serial address) take turns the same
// way. A target named twice is one sign. A sign that fails holds up no other. Each sign deals
// with one text at a time: a text submitted while its upload is under way waits, and a newer
// one replaces it.
class SignFleet : public QObject {
    Q_OBJECT
public:
    SignFleet(FleetOptions options, const QList<SignTarget> &signs, QStringList fontList,
              const LinkServices &link, QObject *parent = nullptr);
    ~SignFleet() override;

    // The text as given; may report messageDone() before it returns. The choices in extra,
    // where set, replace those of every sign for this text.
    // allowEmpty lets this text blank the signs even where the options refuse an empty one.
    void submit(const QString &text, const Overrides &extra = {}, bool allowEmpty = false);
    bool busy() const;
    // Ends every upload under way at once, between two frames (SIGTERM, Ctrl+C): each ends as
    // Stopped, with why and the frames that went out, and is kept so in the history; a sign
    // waiting for its turn on a line ends as Stopped with nothing sent, and the texts waiting
    // are dropped. signDone() and messageDone() follow before it returns, as for any ending.
    void stop(const QString &why);

    // Where each sign is with its text, for a view that draws a line a sign.
    enum class Phase { Idle, Preparing, WaitingForLine, Sending, Done };
    struct SignState {
        QString label;
        Phase phase = Phase::Idle;
        int framesDone = 0;
        int framesTotal = 0;
        qint64 remainingMs = 0; // counted down since the last frame
        SignResult result;      // once done
    };
    int signCount() const { return int(m_signs.size()); }
    SignState signState(int sign) const;

    // What the signs are doing, all told: sending while any sends, the frames of all summed;
    // once all are done, failed when any failed, else refused when any refused, else sent (also
    // when a sign's settings could not be saved afterwards: the error says so).
    struct Status {
        enum class State { Idle, Sending, Sent, Failed, Refused };
        State state = State::Idle;
        int frames = 0;
        int of = 0;
        QString text;  // of the message under way, or of the last one
        QString error; // the lines of the signs that failed or refused, naming them
    };
    Status status() const;

    // How a sign is named in its lines: "host[:port] (address n)" or "COM n (address n)".
    static QString signLabel(const MessageChoices &choices, quint16 port);

signals:
    // Something every sign of the text has in common, said once a text: that the defaults stand
    // in for settings that cannot be read, a fit-check warning.
    void notice(const QString &text);
    // A sign's message is rendered and about to go (or, in a dry run, instead of going); the
    // frames are there with keepFrames or a dry run.
    void planned(int sign, const lumawrite::signs::MessageChoices &choices, int columns,
                 const QList<QByteArray> &frames);
    // Before every frame of a sign's upload, and once more at its end.
    void frameProgress(int sign, int framesDone, int framesTotal, qint64 remainingMs,
                       const QString &status);
    void signDone(int sign, const lumawrite::signs::SignResult &result);
    // status() may have changed: a frame went, a sign began or ended.
    void statusChanged();
    // Every sign has dealt with its text; ok when each sent it (or printed it) and saved.
    void messageDone(bool ok);

private:
    struct Sign;
    struct Submission {
        QString text;
        Overrides extra;
        bool allowEmpty = false;
    };

    void prepare(Sign &sign, const Submission &message);
    std::shared_ptr<const RenderedMessage> render(MessageChoices &choices, const QString &folder);
    // The pictures a sign's text may name: the run's over those of its folder, read once a
    // text. What in the folder cannot be read is said once a run, and again with a text that
    // names it.
    const QList<render::Picture> &picturesIn(const QString &folder, const QString &text);
    void takeTurns(const QString &line);
    void uploadFinished(Sign &sign, const UploadReport &report);
    // What every upload that went to the line ends with: the history, the save, the line free
    // for the next sign.
    void endUpload(Sign &sign, SignResult result, std::optional<HistoryEntry::Outcome> kept,
                   const QString &reason);
    void keepHistory();
    void refuse(Sign &sign, SignResult::Outcome outcome, const QString &message,
                const QString &reason = {});
    void finish(Sign &sign, SignResult result);
    void checkAllDone();
    void say(const QString &text);

    FleetOptions m_options;
    QStringList m_fonts;
    std::vector<std::unique_ptr<Sign>> m_signs;
    QHash<QString, std::shared_ptr<const RenderedMessage>> m_renders; // of the newest text
    QHash<QString, PictureSet> m_pictures;                            // by folder, the same
    QSet<QString> m_toldPictures; // what in the folders could not be read, said this run
    QHash<QString, QList<Sign *>> m_waitingForLine; // by line
    QSet<QString> m_linesInUse;
    QSet<QString> m_said; // since the newest text came
    bool m_submitting = false;
    bool m_failed = false; // some sign failed since messageDone() was last emitted
    // The uploads not yet written to the history: written together, when all signs are done or
    // a second after the first, so that many signs ending at once cost one write.
    QList<HistoryEntry> m_history;
    QTimer m_historyTimer;
    bool m_historyTold = false; // that it cannot be written, once
};

} // namespace lumawrite::signs

Q_DECLARE_METATYPE(lumawrite::signs::SignResult)
