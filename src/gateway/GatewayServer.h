#pragma once

#include "gateway/LiveConditions.h"
#include "gateway/NwsProducts.h"
#include "gateway/StationIndex.h"
#include "gateway/UpstreamCache.h"
#include "gateway/UpstreamFetcher.h"
#include "servicesim/EmulatorReply.h"
#include "servicesim/HttpRequestHead.h"
#include "servicesim/ServiceRouter.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace cirrolux::gateway {

// The live gateway: an HTTP/1.0 proxy on 127.0.0.1 that the program reaches through its ordinary
// proxy setting. Conditions pages are written from the nearest station's current NOAA
// observation, the forecast window's NWS pages from the text products of the state's zones, and
// every other address is answered with the service emulator's content in this process.
//
// Upstream files are cached (observations 10 minutes, products 30) and a file asked for again
// while its transfer runs waits for that transfer. When NOAA cannot be reached, the last file
// fetched is used and the page says so; with none, the page says what failed.
class GatewayServer : public QObject
{
    Q_OBJECT
public:
    using Send = std::function<void(const servicesim::EmulatorReply&)>;

    GatewayServer(const StationIndex& index, const LiveConditions& live, UpstreamSettings settings,
                  QObject* parent = nullptr);
    ~GatewayServer() override;

    // Listens on 127.0.0.1:`port` (0: any free port).
    bool listen(quint16 port);
    // Serves on a socket that is already listening (handed over by systemd); takes ownership.
    bool listenOnDescriptor(qintptr descriptor);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }
    void close();
    // Client connections open now.
    int connectionCount() const { return m_connectionCount; }

    // The clock of pages, caching and reply dates; the system clock by default.
    void setClock(std::function<QDateTime()> clock);
    QDateTime now() const { return m_clock(); }

    // Answers one request head, now or once the upstream files are in.
    void answer(const QByteArray& head, Send send);

    servicesim::ServiceRouter& emulatorContent() { return m_router; }
    UpstreamFetcher& upstream() { return m_upstream; }
    const UpstreamCache& cache() const { return m_cache; }

    // An observation older than this counts as a station that stopped reporting.
    static constexpr qint64 kStoppedReportingSeconds = 6 * 3600;
    // The note on the "Updated:" line of a page written from a cached file.
    static std::string staleNote(const QDateTime& fetchedAt);

signals:
    void connectionCountChanged(int count);

private:
    using Ready = std::function<void()>;

    void answerConditions(const LiveRequest& request, const std::string& pathAndQuery, Send send);
    void answerProducts(const ProductRequest& request, const std::vector<std::string>& zones,
                        Send send);
    // Brings `key` up to date from `url` unless it is fresh; then `ready` runs (also when the
    // transfer failed: the cache then holds what it had, and lastFailure(key) says why).
    void refresh(const std::string& key, const QUrl& url, std::chrono::seconds maxAge, Ready ready);
    std::string conditionsPage(const LiveRequest& request, const std::string& pathAndQuery,
                               const std::string& key);

    const StationIndex& m_index;
    const LiveConditions& m_live;
    std::function<QDateTime()> m_clock;
    QTcpServer m_server;
    int m_connectionCount = 0;
    servicesim::ServiceRouter m_router;
    UpstreamFetcher m_upstream;
    UpstreamCache m_cache;
    // Transfers running, with everyone waiting for them.
    std::unordered_map<std::string, std::vector<Ready>> m_inFlight;
    // Why the last transfer of a key failed; removed once one succeeds.
    std::unordered_map<std::string, std::string> m_failures;
    // Pages written from a cached observation, so a repeated request is answered at once.
    struct MemoPage
    {
        QDateTime fetchedAt;
        bool stale = false;
        QDateTime builtAt;
        std::string page;
    };
    std::unordered_map<std::string, MemoPage> m_pages;
};

} // namespace cirrolux::gateway
