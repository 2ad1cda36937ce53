#pragma once

#include "gateway/UpstreamSettings.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>

class QNetworkReply;

namespace cirrolux::gateway {

// The outcome of one upstream transfer.
struct UpstreamResult
{
    enum class Outcome { Ok, NotFound, Failed };
    Outcome outcome = Outcome::Failed;
    int status = 0;  // HTTP status; 0 when none arrived
    QByteArray body; // Ok only
    QString error;   // Failed: what went wrong, for the log and the error page
    bool timedOut = false;
};

// Fetches files from NOAA's servers over HTTPS with Qt's network access manager: a descriptive
// User-Agent, a time-out per transfer, a size limit, and a few transfers at a time (the others
// wait in order).
class UpstreamFetcher : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const UpstreamResult&)>;

    explicit UpstreamFetcher(UpstreamSettings settings, QObject* parent = nullptr);
    // Transfers still running are dropped without calling back.
    ~UpstreamFetcher() override;

    const UpstreamSettings& settings() const { return m_settings; }

    // Starts (or queues) a transfer; `done` runs in this thread's event loop unless `context`
    // has been destroyed by then.
    void get(const QUrl& url, QObject* context, Done done);

    // Transfers started so far (for tests that check nothing is fetched twice).
    int transfersStarted() const { return m_started; }

    // The largest file accepted; NOAA's text files are a few kilobytes.
    static constexpr qint64 kMaxBody = 2 * 1024 * 1024;

private:
    struct Pending
    {
        QUrl url;
        QPointer<QObject> context;
        Done done;
    };

    void startNext();
    void finished(QNetworkReply* reply, const Pending& pending);

    UpstreamSettings m_settings;
    QNetworkAccessManager m_network;
    std::deque<Pending> m_waiting;
    int m_running = 0;
    int m_started = 0;
};

} // namespace cirrolux::gateway
