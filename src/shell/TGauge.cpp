#include "shell/TGauge.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cirrolux {

TGauge::TGauge(QWidget* parent) : QWidget(parent) {}

void TGauge::SetProgress(int progress)
{
    m_progress = std::clamp(progress, 0, 100);
    // Start-up sets the gauge between steps that keep the event loop waiting: a later paint
    // would only ever show the last value.
    if (isVisible())
        repaint();
    else
        update();
}

void TGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0x00, 0x00, 0x80));

    const QPointF centre(width() / 2.0, height() - 6.0);
    const double radius = std::min(width() / 2.0, double(height())) - 8.0;
    painter.setPen(QPen(QColor(0x80, 0x80, 0xC0), 2));
    painter.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 0,
                    180 * 16);
    for (int tick = 0; tick <= 10; ++tick) {
        const double angle = std::numbers::pi * (1.0 - tick / 10.0);
        const QPointF outer(centre.x() + radius * std::cos(angle),
                            centre.y() - radius * std::sin(angle));
        const QPointF inner(centre.x() + (radius - 6) * std::cos(angle),
                            centre.y() - (radius - 6) * std::sin(angle));
        painter.drawLine(inner, outer);
    }
    const double angle = std::numbers::pi * (1.0 - m_progress / 100.0);
    painter.setPen(QPen(QColor(0x00, 0xFF, 0x00), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, QPointF(centre.x() + (radius - 4) * std::cos(angle),
                                     centre.y() - (radius - 4) * std::sin(angle)));
}

TBusyAnimation::TBusyAnimation(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this))
{
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 12;
        update();
    });
}

void TBusyAnimation::Start()
{
    m_timer->start();
}

void TBusyAnimation::Stop()
{
    m_timer->stop();
}

bool TBusyAnimation::Active() const
{
    return m_timer->isActive();
}

void TBusyAnimation::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double radius = std::min(width(), height()) / 2.0 - 4.0;
    for (int i = 0; i < 12; ++i) {
        const double angle = 2 * std::numbers::pi * i / 12.0;
        const int age = (m_step - i + 12) % 12;
        painter.setBrush(QColor(255, 255, 255, 255 - age * 18));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(
            QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle)),
            2.5, 2.5);
    }
}

} // namespace cirrolux
