#include "LedView.h"

#include "ColumnImage.h"

#include <QPainter>

namespace lumawrite::ui {

LedView::LedView(int visibleColumns, int pitch, QWidget *parent)
    : QWidget(parent), m_visible(visibleColumns), m_pitch(pitch)
{
    setFixedSize(visibleColumns * pitch + pitch, 16 * pitch + pitch);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LedView::setImage(const QByteArray &columns)
{
    m_image = columns;
    update();
}

void LedView::setFirstColumn(int column)
{
    if (column == m_first)
        return;
    m_first = column;
    update();
}

void LedView::scrollOneColumn()
{
    const int next = m_first + 1;
    setFirstColumn(next > columns() ? -m_visible : next);
}

bool LedView::lit(int visibleColumn, int row) const
{
    return render::dotLit(m_image, m_first + visibleColumn, row);
}

void LedView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor on(render::LitDot);
    const QColor off(58, 42, 16);
    const qreal radius = m_pitch * 0.4;
    for (int c = 0; c < m_visible; ++c)
        for (int r = 0; r < 16; ++r) {
            p.setBrush(lit(c, r) ? on : off);
            p.drawEllipse(QPointF(m_pitch + c * m_pitch, m_pitch + r * m_pitch), radius, radius);
        }
}

} // namespace lumawrite::ui
