#pragma once

#include "MessagePlan.h"
#include "SendOptions.h"
#include "SettingsStore.h"
#include "SignUpload.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

namespace lumawrite::send {

// Where the session writes: standard output takes the frames of a dry run; standard error the
// errors, the progress bar and the --verbose lines.
struct SessionOutput {
    std::function<void(const QString &)> out;
    std::function<void(const QString &)> err;
    bool terminal = false; // standard error is a terminal: draw the progress bar there
};

// Turns a message text into an upload: reads the settings file, applies the options, renders,
// writes the image, prints (--dry-run) or sends, and saves (--save). One message is under way
// at a time; a text submitted meanwhile waits, and a newer one replaces it.
class SendSession : public QObject {
    Q_OBJECT
public:
    SendSession(SendOptions options, QString settingsPath, QStringList fontList, LinkServices link,
                SessionOutput output, QObject *parent = nullptr);

    // The text as given (any line breaks); may report messageDone() before it returns.
    void submit(const QString &text);
    bool busy() const { return m_busy; }

signals:
    // Once for every message dealt with: sent, printed, refused or failed.
    void messageDone(int exitCode);

private:
    void process(const QString &text);
    void uploadFinished(const UploadReport &report);
    void showProgress(int framesDone, int framesTotal, qint64 remainingMs, const QString &status);
    static QString barText(int framesDone, int framesTotal, qint64 remainingMs);
    void redrawBar();
    void done(ExitCode code, const QString &message = {});
    void processPending();

    SendOptions m_options;
    SettingsStore m_store;
    QStringList m_fonts;
    SessionOutput m_output;
    SignUpload m_upload;
    bool m_busy = false;
    std::optional<QString> m_pending;

    // The message under way.
    Settings m_settings;
    std::optional<ReadFailure> m_unreadFile; // the defaults stand in for these settings
    MessageChoices m_choices;
    QList<QByteArray> m_frames;
    bool m_barShown = false;
    struct {
        int framesDone = 0;
        int framesTotal = 0;
        qint64 remainingMs = 0;
    } m_bar;                       // the bar as last drawn from the transfer's progress
    QElapsedTimer m_sinceProgress; // since that drawing
    QTimer m_countdown;            // redraws the time left every second
};

} // namespace lumawrite::send
