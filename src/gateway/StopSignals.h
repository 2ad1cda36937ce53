#pragma once

#include <QObject>
#include <QSocketNotifier>

namespace cirrolux::gateway {

// Turns SIGTERM and SIGINT into a Qt signal in the event loop: the handler only writes the
// signal's number to a socket pair, which a socket notifier reads, so the stop itself runs as
// ordinary code (close the listener, drop the connections, leave the loop). One instance per
// process.
class StopSignals : public QObject
{
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    // Whether the handlers are in place.
    bool installed() const { return m_notifier != nullptr; }

signals:
    void stopRequested(int signalNumber);

private:
    void readSignal();

    int m_fds[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace cirrolux::gateway
