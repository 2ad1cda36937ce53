#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace cirrolux::gateway {

// Tells when the gateway has had no connection for a given time, so a socket-activated gateway
// can end and give its memory back; systemd keeps the socket and starts it again on the next
// connection. The idle time runs from the moment the last connection closed (or from the start).
class IdleExit : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // `clock` is the steady clock unless a test gives its own (then it calls check() itself).
    explicit IdleExit(std::chrono::milliseconds idleTime, Clock clock = {},
                      QObject* parent = nullptr);

    // The number of open connections, as the server reports it.
    void setConnectionCount(int count);
    // Emits idle() once when there has been no connection for the idle time; otherwise waits
    // for the rest of it.
    void check();

    std::chrono::milliseconds idleTime() const { return m_idleTime; }

signals:
    void idle();

private:
    void armFor(std::chrono::steady_clock::duration rest);

    std::chrono::milliseconds m_idleTime;
    Clock m_clock;
    std::chrono::steady_clock::time_point m_idleSince;
    int m_connections = 0;
    bool m_done = false;
    QTimer m_timer;
};

} // namespace cirrolux::gateway
