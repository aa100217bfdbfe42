#include "SignView.h"

#include "SignPanel.h"

SignView::SignView(int columns, QWidget *parent) : LedView(columns, 8, parent)
{
    setWindowTitle(tr("Virtual sign"));
    connect(&m_timer, &QTimer::timeout, this, &SignView::scrollOneColumn);
}

void SignView::play(const QByteArray &image, int speedCode)
{
    setImage(image);
    setFirstColumn(-visibleColumns());
    m_timer.start(lumawrite::ui::SignPanel::stepMs(speedCode));
}
