#include "gateway/IdleExit.h"

#include <algorithm>

namespace cirrolux::gateway {

IdleExit::IdleExit(std::chrono::milliseconds idleTime, Clock clock, QObject* parent)
    : QObject(parent), m_idleTime(idleTime),
      m_clock(clock ? std::move(clock) : [] { return std::chrono::steady_clock::now(); }),
      m_idleSince(m_clock())
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &IdleExit::check);
    armFor(m_idleTime);
}

void IdleExit::setConnectionCount(int count)
{
    const bool wasIdle = m_connections == 0;
    m_connections = std::max(0, count);
    if (m_connections > 0) {
        m_timer.stop();
    } else if (!wasIdle) {
        m_idleSince = m_clock();
        armFor(m_idleTime);
    }
}

void IdleExit::check()
{
    if (m_done || m_connections > 0)
        return;
    const auto idleFor = m_clock() - m_idleSince;
    if (idleFor >= m_idleTime) {
        m_done = true;
        emit idle();
        return;
    }
    armFor(m_idleTime - idleFor);
}

void IdleExit::armFor(std::chrono::steady_clock::duration rest)
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    // Rounded up, so the timer does not fire a moment before the time is over.
    const auto ms =
        duration_cast<milliseconds>(rest + milliseconds(1) - std::chrono::nanoseconds(1));
    m_timer.start(static_cast<int>(std::clamp<qint64>(ms.count(), 0, 24LL * 3600 * 1000)));
}

} // namespace cirrolux::gateway
