#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace cirrolux::test {

// Turns the event loop until `done` holds or `ms` pass; returns whether it held.
inline bool WaitFor(const std::function<bool()>& done, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace cirrolux::test
