#pragma once

#include "gateway/BoundedGet.h"
#include "gateway/UpstreamSettings.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <array>
#include <deque>
#include <functional>

namespace cirrolux::gateway {

// The outcome of one upstream transfer.
struct UpstreamResult
{
    // NotModified: a conditional request found the copy held still current (no body).
    enum class Outcome { Ok, NotFound, Failed, NotModified };
    Outcome outcome = Outcome::Failed;
    int status = 0;  // HTTP status; 0 when none arrived
    QByteArray body; // Ok only
    QString error;   // Failed: what went wrong, for the log and the error page
    bool timedOut = false;
    // The validators of an Ok answer, for the next conditional request; empty when not sent.
    QByteArray etag;
    QByteArray lastModified;
};

// Fetches files from NOAA's servers over HTTPS with Qt's network access manager: a descriptive
// User-Agent, a deadline for the whole transfer, a size limit enforced while the body arrives,
// no redirect outside the configured base addresses, and a few transfers at a time in each lane
// (the others wait in order). Observations and products have lanes of their own, so a state's
// hundreds of product files never hold up a conditions page.
class UpstreamFetcher : public QObject
{
    Q_OBJECT
public:
    // Reports: the forecast window's other reports, the country pages and the fire report, from
    // sources beyond NOAA; larger files (a PDF, a year of pay data), so a larger limit.
    enum class Lane { Observations, Products, Reports };
    using Done = std::function<void(const UpstreamResult&)>;

    explicit UpstreamFetcher(UpstreamSettings settings, QObject* parent = nullptr);
    // Transfers still running are dropped without calling back.
    ~UpstreamFetcher() override;

    const UpstreamSettings& settings() const { return m_settings; }
    // Where report transfers may go and be redirected (ReportSettings::bases()).
    void setReportBases(QStringList bases) { m_settings.reportBases = std::move(bases); }

    // Starts (or queues) a transfer; `done` runs in this thread's event loop unless `context`
    // has been destroyed by then.
    void get(const QUrl& url, Lane lane, QObject* context, Done done, Validators validators = {});

    // Transfers started so far (for tests that check nothing is fetched twice).
    int transfersStarted() const { return m_started; }
    // Transfers running or waiting in a lane.
    int running(Lane lane) const { return m_lanes[index(lane)].running; }
    std::size_t waiting(Lane lane) const { return m_lanes[index(lane)].waiting.size(); }

    // The largest file accepted; NOAA's text files are a few kilobytes.
    static constexpr qint64 kMaxBody = 2 * 1024 * 1024;
    static constexpr qint64 kMaxReportBody = 24 * 1024 * 1024;
    static qint64 maxBody(Lane lane) { return lane == Lane::Reports ? kMaxReportBody : kMaxBody; }
    // What Qt may buffer of a body before this side takes it.
    static constexpr qint64 kReadBuffer = 64 * 1024;

private:
    struct Pending
    {
        QUrl url;
        Lane lane;
        QPointer<QObject> context;
        Done done;
        Validators validators;
    };
    struct LaneState
    {
        std::deque<Pending> waiting;
        int running = 0;
    };
    static std::size_t index(Lane lane) { return static_cast<std::size_t>(lane); }

    void startNext(Lane lane);
    void start(Pending pending);
    void finished(const Pending& pending, const UpstreamTransfer& transfer);
    bool withinBases(const QUrl& url) const;

    UpstreamSettings m_settings;
    QNetworkAccessManager m_network;
    std::array<LaneState, 3> m_lanes;
    int m_started = 0;
};

} // namespace cirrolux::gateway
