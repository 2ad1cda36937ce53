#include "shell/TPieGauge.h"

#include <QPainter>

#include <algorithm>

namespace cirrolux {

TPieGauge::TPieGauge(QWidget* parent) : QWidget(parent) {}

void TPieGauge::SetProgress(int progress)
{
    m_progress = std::clamp(progress, 0, 100);
    update();
}

void TPieGauge::SetForeColor(const QColor& color)
{
    m_foreColor = color;
    update();
}

void TPieGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRect circle((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(circle);
    painter.setBrush(m_foreColor);
    // From twelve o'clock, clockwise; angles are in sixteenths of a degree.
    painter.drawPie(circle, 90 * 16, -m_progress * 360 * 16 / 100);
}

} // namespace cirrolux
