#pragma once

#include "gateway/BoundedCache.h"
#include "gateway/GatewayConnection.h"
#include "gateway/LiveConditions.h"
#include "gateway/LiveReports.h"
#include "gateway/NwsProducts.h"
#include "gateway/StationIndex.h"
#include "gateway/UpstreamCache.h"
#include "gateway/UpstreamFetcher.h"
#include "httpserver/HttpReply.h"
#include "httpserver/HttpRequestHead.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace cirrolux::gateway {

class LiveImages;

// What the gateway holds at most, and for how long.
struct GatewayLimits
{
    ConnectionLimits connection;
    // Connections open at the same time; more are closed at once.
    int maxConnections = 64;
    // Pages written from a cached observation, kept to answer a repeated request at once.
    std::size_t memoEntries = 1024;
    std::size_t memoBytes = 8u << 20;
    // Upstream files kept (UpstreamCache).
    std::size_t cacheEntries = 8192;
    std::size_t cacheBytes = 16u << 20;
    // How long a failed transfer is remembered: requests for that file in the meantime get what
    // the cache holds at once instead of waiting for NOAA again.
    int failureMemoryMs = 60 * 1000;
    // What is kept of one product file (its normalised text, cut at a line end).
    std::size_t productTextBytes = 32 * 1024;
    // What is kept of one station file (the time line and the report).
    std::size_t observationTextBytes = 2 * 1024;
};

// The live gateway: an HTTP/1.0 proxy on 127.0.0.1 that the program reaches through its ordinary
// proxy setting. Conditions pages are written from the chosen station's current NOAA
// observation, the forecast window's NWS pages from the text products of the state's zones, the
// other reports, the country pages and the fire report from their public sources (LiveReports.h);
// what has no live source gets an honest refusal (RequestPolicy.h), never made-up content.
//
// Upstream files are cached (observations 10 minutes, products 30) and a file asked for again
// while its transfer runs waits for that transfer. When NOAA cannot be reached, the last file
// fetched is used and the page says so; with none, the reply is "502 NOAA Not Reachable" (504
// when NOAA did not answer in time) with the reason on its page, which the program takes as a
// failed transfer and keeps its last readings.
class GatewayServer : public QObject
{
    Q_OBJECT
public:
    using Send = std::function<void(const HttpReply&)>;

    GatewayServer(const StationIndex& index, const LiveConditions& live, UpstreamSettings settings,
                  QObject* parent = nullptr);
    ~GatewayServer() override;

    // Listens on 127.0.0.1:`port` (0: any free port).
    bool listen(quint16 port);
    // Takes over a socket that is already listening (handed over by the service manager).
    bool listenOnDescriptor(qintptr descriptor);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }
    // Stops listening and drops every open connection.
    void close();
    // Client connections open now.
    int connectionCount() const { return m_connections; }
    // Request heads answered (or being answered) since the start.
    std::size_t requestCount() const { return m_requests; }

    void setLimits(const GatewayLimits& limits);
    const GatewayLimits& limits() const { return m_limits; }

    // The clock of pages, caching and reply dates; the system clock by default.
    void setClock(std::function<QDateTime()> clock);
    QDateTime now() const { return m_clock(); }

    // Answers one request head, now or once the upstream files are in.
    void answer(const QByteArray& head, Send send);

    // Picture requests with a live source are answered by `images` (not owned; null: none).
    void setLiveImages(LiveImages* images) { m_images = images; }

    UpstreamFetcher& upstream() { return m_upstream; }
    // The reports beyond NOAA's zone files (LiveReports.h): their sources and the Census key.
    void setReportSettings(ReportSettings settings);
    LiveReports& reports() { return *m_reports; }
    const UpstreamCache& cache() const { return m_cache; }
    // Pages kept for repeated requests, and their bytes.
    std::size_t memoPages() const { return m_pages.size(); }
    std::size_t memoBytes() const { return m_pages.bytes(); }

    // The note on the "Updated:" line of a page written from a cached file.
    static std::string staleNote(const QDateTime& fetchedAt);

signals:
    void connectionCountChanged(int count);

private:
    using Ready = std::function<void()>;
    struct Failure
    {
        std::string reason;
        bool timedOut = false;
        QElapsedTimer since;
    };

    void accept();
    void answerConditions(const LiveRequest& request, Send send);
    void answerProducts(const ProductRequest& request, std::string_view stateName,
                        const std::vector<std::string>& zones, Send send);
    // Brings `key` up to date from `url` unless it is fresh, or its last transfer failed only a
    // moment ago; then `ready` runs (also when the transfer failed: the cache then holds what it
    // had, and m_failures says why).
    void refresh(const std::string& key, const QUrl& url, std::chrono::seconds maxAge,
                 UpstreamFetcher::Lane lane, Ready ready);
    std::string kept(const std::string& key, const QByteArray& body) const;
    HttpReply conditionsReply(const LiveRequest& request, const std::string& key);

    const StationIndex& m_index;
    const LiveConditions& m_live;
    GatewayLimits m_limits;
    std::function<QDateTime()> m_clock;
    QTcpServer m_server;
    int m_connections = 0;
    std::size_t m_requests = 0;
    UpstreamFetcher m_upstream;
    UpstreamCache m_cache;
    // Transfers running, with everyone waiting for them.
    std::unordered_map<std::string, std::vector<Ready>> m_inFlight;
    // Why the last transfer of a key failed; removed once one succeeds. Its keys are files of
    // the station and zone tables, so it cannot grow past them.
    std::unordered_map<std::string, Failure> m_failures;
    // Pages written from a cached observation, by place and station.
    struct MemoPage
    {
        QDateTime fetchedAt;
        bool stale = false;
        QDateTime builtAt;
        std::string page;
    };
    BoundedCache<MemoPage> m_pages;
    std::unique_ptr<LiveReports> m_reports;
    LiveImages* m_images = nullptr;
};

} // namespace cirrolux::gateway
