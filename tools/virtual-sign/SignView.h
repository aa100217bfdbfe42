#pragma once

#include <QByteArray>
#include <QTimer>
#include <QWidget>

// A 16-row LED display drawn as round amber dots, scrolling the message from right to left.
class SignView : public QWidget {
    Q_OBJECT
public:
    explicit SignView(int columns, QWidget *parent = nullptr);

    // Starts the show: the image (two bytes per column) at a pace from the speed code.
    void play(const QByteArray &image, int speedCode);

    // Milliseconds per column step for a speed code (10 is the fastest, 250 the slowest).
    static int stepMs(int speedCode);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool lit(int column, int row) const;

    int m_columns;
    QByteArray m_image;
    int m_scroll = 0;
    QTimer m_timer;
};
