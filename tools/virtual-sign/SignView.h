#pragma once

#include "LedView.h"

#include <QByteArray>
#include <QTimer>

// The virtual sign's window: the LED display, scrolling the message from right to left at the
// pace of its speed code.
class SignView : public lumawrite::ui::LedView {
    Q_OBJECT
public:
    explicit SignView(int columns, QWidget *parent = nullptr);

    // Starts the show: the image (two bytes per column) at a pace from the speed code.
    void play(const QByteArray &image, int speedCode);

private:
    QTimer m_timer;
};
