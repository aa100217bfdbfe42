#pragma once

#include <QObject>

class QWidget;

namespace lumawrite::platform {

// While it lives, SIGTERM and SIGHUP (logout, shutdown, a closed terminal) close the window the
// ordinary way, so the operator's choices are saved as when the window is closed by hand. The
// object is a child of the window; destroying it restores the
// handling it found. One at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QWidget *window);
    ~TerminationSignals() override;
};

} // namespace lumawrite::platform
