#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class QScrollBar;
class QToolButton;

namespace lumawrite::ui {

class LedView;

// The sign view of the text entry window: the column image on LED dots, a scroll bar for long
// messages and a play button that scrolls it as the sign would.
class SignPanel : public QWidget {
    Q_OBJECT
public:
    // speedCode gives the sign's speed code as chosen in the main window.
    SignPanel(std::function<int()> speedCode, QWidget *parent = nullptr);

    void setImage(const QByteArray &columns);
    // What the view shows, in words, for a screen reader.
    void describe(const QString &description);
    LedView *view() const { return m_view; }
    QScrollBar *scrollBar() const { return m_scroll; }
    QToolButton *playButton() const { return m_play; }
    bool playing() const { return m_timer.isActive(); }

    // Milliseconds per one-column step for a speed code (10 the fastest, 250 the slowest).
    static int stepMs(int speedCode);

private:
    void togglePlay();
    void step();

    std::function<int()> m_speedCode;
    LedView *m_view;
    QScrollBar *m_scroll;
    QToolButton *m_play;
    QTimer m_timer;
};

} // namespace lumawrite::ui
