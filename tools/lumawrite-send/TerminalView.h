#pragma once

#include "SendOptions.h"
#include "SignFleet.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace lumawrite::send {

// Where lumawrite-send writes: standard output takes the frames of a dry run; standard error the
// errors, the progress and the --verbose lines.
struct TerminalOutput {
    std::function<void(const QString &)> out;
    std::function<void(const QString &)> err;
    bool terminal = false; // standard error is a terminal: draw the progress there
};

// Prints what the signs do. One sign has a progress bar and says all of what happened; several
// signs have a line each, drawn over a few times a second on a terminal, and a summary line
// each. Decides the exit status of every text.
class TerminalView : public QObject {
    Q_OBJECT
public:
    enum class Style { OneSign, Signs };
    TerminalView(signs::SignFleet &fleet, const SendOptions &options, TerminalOutput output,
                 Style style, QObject *parent = nullptr);

    // The exit status of one sign's outcome, as --help lists them.
    static ExitCode exitCode(const signs::SignResult &result);

signals:
    // Every sign has dealt with its text, and all of it is printed.
    void messageDone(int exitCode);

private:
    void planned(int sign, const signs::MessageChoices &choices, int columns,
                 const QList<QByteArray> &frames);
    void frameProgress(int sign, int framesDone, int framesTotal, qint64 remainingMs,
                       const QString &status);
    void signDone(int sign, const signs::SignResult &result);
    void allDone(bool ok);
    void notice(const QString &text);
    void say(const QString &line);
    QString frameLine(int sign, int framesDone, int framesTotal, const QString &status) const;
    static QString barText(int framesDone, int framesTotal, qint64 remainingMs);
    void redrawBar();
    void startDrawing();
    void redraw(bool last = false);
    QString progressLine(const signs::SignFleet::SignState &sign) const;
    QString overallLine() const;

    signs::SignFleet &m_fleet;
    SendOptions m_options;
    TerminalOutput m_output;
    Style m_style;
    QHash<int, QList<QByteArray>> m_frames; // of each sign's text under way, with --verbose
    ExitCode m_code = ExitOk;               // of the text that one sign dealt with last

    // One sign: the bar as last drawn from the upload's progress, counted down every second.
    bool m_barShown = false;
    struct {
        int framesDone = 0;
        int framesTotal = 0;
        qint64 remainingMs = 0;
    } m_bar;
    QElapsedTimer m_sinceProgress;
    QTimer m_countdown;

    // Several signs on a terminal: their lines, drawn again at most every 250 ms.
    QTimer m_redraw;
    QString m_drawn; // as last drawn
    int m_linesDrawn = 0;
};

} // namespace lumawrite::send
