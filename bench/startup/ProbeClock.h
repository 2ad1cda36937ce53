#pragma once

#include <QEvent>
#include <QFile>
#include <QObject>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

// Helpers shared by the two start-up probes: the wall-clock now, the launch time handed over by
// the bench script, and the process's peak resident memory.
namespace probe {

inline long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Nanoseconds since the script launched the process (PROBE_LAUNCH_NS), or since main() began.
inline double msSinceLaunch(long long mainStartNs)
{
    const char* launch = std::getenv("PROBE_LAUNCH_NS");
    const long long start = launch ? std::atoll(launch) : mainStartNs;
    return double(nowNs() - start) / 1e6;
}

inline long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

// Calls `done` once, at the first paint of `widget`.
class FirstPaint : public QObject
{
public:
    FirstPaint(QObject* widget, std::function<void()> done) : m_done(std::move(done))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_done) {
            watched->removeEventFilter(this);
            std::exchange(m_done, nullptr)();
        }
        return false;
    }

private:
    std::function<void()> m_done;
};

} // namespace probe
