#pragma once

#include <QObject>

#include <functional>

namespace lumawrite::platform {

// While it lives, SIGTERM, SIGHUP and SIGINT (shutdown, logout or a closed terminal, Ctrl+C in
// the terminal that started the program) call the function from the event loop: a window
// closes the ordinary way, so the operator's choices are saved as when it is closed by hand. A
// signal that was ignored when the program started (nohup, a background job of a script) stays
// ignored. SIGQUIT keeps its default and ends the program at once. The object is a child of its
// owner; destroying it restores the handling it found. One at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals(QObject *owner, std::function<void()> onSignal);
    ~TerminationSignals() override;
};

} // namespace lumawrite::platform
