#pragma once

#include "MessagePlan.h"
#include "SendOptions.h"
#include "SendSession.h"
#include "SignUpload.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <memory>
#include <vector>

namespace lumawrite::send {

// Sends one message to several signs at once. Each sign reads its own settings file and has its
// own upload, link and pacing; the message is rendered once for each distinct choice of font,
// size, styles and offset. LAN signs and signs on different COM ports are served at the same
// time; signs on one COM port share its wire and take turns on it, in the order given. A sign
// that fails holds up no other. Each sign deals with one text at a time: a text submitted
// while its upload is under way waits, and a newer one replaces it.
class SignFleet : public QObject {
    Q_OBJECT
public:
    SignFleet(SendOptions options, const QList<SignTarget> &signs, QStringList fontList,
              const LinkServices &link, SessionOutput output, QObject *parent = nullptr);
    ~SignFleet() override;

    // The text as given; may report messageDone() before it returns. The choices in extra,
    // where set, replace those of every sign for this text.
    void submit(const QString &text, const Overrides &extra = {});
    bool busy() const;

    // What the signs are doing, all told: sending while any sends, the frames of all summed;
    // once all are done, failed when any failed, else refused when any refused, else sent.
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
    // Every sign has dealt with its text: 0 when each succeeded, 1 when any failed or was
    // refused.
    void messageDone(int exitCode);
    // status() may have changed: a frame went, a sign began or ended.
    void statusChanged();

private:
    struct Sign;

    struct Submission {
        QString text;
        Overrides extra;
    };

    void prepare(Sign &sign, const Submission &message);
    std::shared_ptr<const RenderedMessage> render(MessageChoices &choices);
    void startUpload(Sign &sign);
    void takeTurns(const QString &line);
    void uploadFinished(Sign &sign, const UploadReport &report);
    void signDone(Sign &sign, const QString &summary, bool ok, bool refused = false);
    void checkAllDone();
    void say(const QString &text);
    void redraw(bool last = false);
    QString progressLine(const Sign &sign) const;
    QString overallLine() const;

    SendOptions m_options;
    QStringList m_fonts;
    SessionOutput m_output;
    std::vector<std::unique_ptr<Sign>> m_signs;
    QHash<QString, std::shared_ptr<const RenderedMessage>> m_renders; // of the newest text
    QHash<QString, QList<Sign *>> m_waitingForLine;                   // by wire
    QSet<QString> m_linesInUse;
    QSet<QString> m_said; // since the newest text came
    bool m_submitting = false;
    bool m_failed = false; // some sign failed since messageDone() was last emitted
    QTimer m_redraw;       // the progress lines on a terminal
    QString m_drawn;       // as last drawn
    int m_linesDrawn = 0;
};

} // namespace lumawrite::send
