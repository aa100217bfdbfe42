#include "SignPanel.h"

#include "Accessibility.h"
#include "LedView.h"

#include <QScrollBar>
#include <QToolButton>

namespace lumawrite::ui {

SignPanel::SignPanel(std::function<int()> speedCode, QWidget *parent)
    : QWidget(parent), m_speedCode(std::move(speedCode)), m_view(new LedView(108, 6, this)),
      m_scroll(new QScrollBar(Qt::Horizontal, this)), m_play(new QToolButton(this))
{
    m_view->setObjectName(QStringLiteral("ledView"));
    m_view->setAccessibleName(tr("Sign view"));
    m_view->move(0, 0);
    m_scroll->setObjectName(QStringLiteral("scrSignView"));
    m_scroll->setAccessibleName(tr("Sign view position"));
    m_scroll->setGeometry(0, m_view->height() + 2, m_view->width(), 16);
    m_play->setObjectName(QStringLiteral("cmdPlay"));
    m_play->setText(tr("Play"));
    m_play->setToolTip(tr("Scroll the message as the sign will, at the chosen speed"));
    m_play->setGeometry(0, m_view->height() + 22, 70, 24);
    setFixedSize(m_view->width(), m_view->height() + 46);

    connect(m_scroll, &QScrollBar::valueChanged, m_view, &LedView::setFirstColumn);
    connect(m_play, &QToolButton::clicked, this, &SignPanel::togglePlay);
    connect(&m_timer, &QTimer::timeout, this, &SignPanel::step);
    setImage({});
}

void SignPanel::describe(const QString &description)
{
    ui::describe(m_view, description);
}

int SignPanel::stepMs(int speedCode)
{
    return speedCode > 0 ? qMax(10, speedCode) : 50;
}

void SignPanel::setImage(const QByteArray &columns)
{
    m_view->setImage(columns);
    const int last = qMax(0, m_view->columns() - m_view->visibleColumns());
    m_scroll->setRange(0, last);
    m_scroll->setPageStep(m_view->visibleColumns());
    m_scroll->setSingleStep(8);
    if (!playing())
        m_view->setFirstColumn(m_scroll->value());
}

void SignPanel::togglePlay()
{
    if (playing()) {
        m_timer.stop();
        m_play->setText(tr("Play"));
        m_view->setFirstColumn(m_scroll->value());
        return;
    }
    // The message enters from the right edge, as on the sign.
    m_view->setFirstColumn(-m_view->visibleColumns());
    m_timer.start(stepMs(m_speedCode ? m_speedCode() : 10));
    m_play->setText(tr("Stop"));
}

void SignPanel::step()
{
    m_view->scrollOneColumn();
    m_scroll->blockSignals(true);
    m_scroll->setValue(qBound(0, m_view->firstColumn(), m_scroll->maximum()));
    m_scroll->blockSignals(false);
    m_timer.setInterval(stepMs(m_speedCode ? m_speedCode() : 10));
}

} // namespace lumawrite::ui
