#include "SignView.h"

#include <QPainter>

namespace {
constexpr int Pitch = 8;
constexpr int Rows = 16;
} // namespace

SignView::SignView(int columns, QWidget *parent) : QWidget(parent), m_columns(columns)
{
    setFixedSize(columns * Pitch + Pitch, Rows * Pitch + Pitch);
    setWindowTitle(QStringLiteral("Virtual sign"));
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const int total = int(m_image.size() / 2);
        if (total > 0)
            m_scroll = (m_scroll + 1) % (total + m_columns);
        update();
    });
}

int SignView::stepMs(int speedCode)
{
    return speedCode > 0 ? qMax(10, speedCode) : 50;
}

void SignView::play(const QByteArray &image, int speedCode)
{
    m_image = image;
    m_scroll = 0;
    m_timer.start(stepMs(speedCode));
    update();
}

bool SignView::lit(int column, int row) const
{
    // The message enters from the right edge and scrolls to the left.
    const int c = column + m_scroll - m_columns;
    if (c < 0 || 2 * c + 1 >= m_image.size())
        return false;
    const quint8 byte = quint8(m_image[2 * c + row / 8]);
    return byte & (1 << (row % 8));
}

void SignView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor on(255, 176, 0);
    const QColor off(58, 42, 16);
    for (int c = 0; c < m_columns; ++c)
        for (int r = 0; r < Rows; ++r) {
            p.setBrush(lit(c, r) ? on : off);
            p.drawEllipse(QPointF(Pitch + c * Pitch, Pitch + r * Pitch), Pitch * 0.38,
                          Pitch * 0.38);
        }
}
