#include "gateway/GatewayServer.h"

#include "gateway/CacheHeaders.h"
#include "gateway/LiveImages.h"
#include "gateway/RequestPolicy.h"
#include "gateway/UsStates.h"
#include "net/ServiceAddresses.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>

#include <memory>

namespace cirrolux::gateway {

namespace {

constexpr int kListenBacklog = 128;
// A page written from a cached file is written again after this long (the day may have turned
// at the station, which moves the sun and moon times).
constexpr qint64 kMemoSeconds = 10 * 60;
// What a memo page costs beyond its text.
constexpr std::size_t kMemoOverhead = 256;

std::string lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

QByteArray escapedText(std::string_view text)
{
    QByteArray out;
    for (const char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else
            out += c;
    }
    return out;
}

HttpReply htmlReply(std::string page)
{
    return HttpReply::make(200, "text/html; charset=iso-8859-1", QByteArray::fromStdString(page));
}

// The reply when no observation could be fetched and none is cached: a failed transfer for the
// program (it keeps its last readings and says the transfer failed), the reason in the status
// line and on the page for whoever looks.
HttpReply unreachableReply(const LiveRequest& request, const std::string& icao,
                           const std::string& reason, bool timedOut)
{
    const QByteArray place = escapedText(request.place.title);
    return GatewayPage(
        timedOut ? 504 : 502, timedOut ? "NOAA Did Not Answer In Time" : "NOAA Not Reachable",
        "No current observation for " + place,
        "The observation of station " + escapedText(icao) + " could not be fetched from NOAA (" +
            escapedText(reason) + ") and none is cached. Please try again in a few minutes.");
}

// Text cut at the last line end within `limit` bytes.
std::string cutAtLine(std::string text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    const std::size_t end = text.rfind('\n', limit);
    text.resize(end == std::string::npos ? limit : end + 1);
    return text;
}

} // namespace

GatewayServer::GatewayServer(const StationIndex& index, const LiveConditions& live,
                             UpstreamSettings settings, QObject* parent)
    : QObject(parent), m_index(index), m_live(live),
      m_clock([] { return QDateTime::currentDateTimeUtc(); }),
      m_upstream(std::move(settings), this),
      m_cache([this] { return m_clock(); }, std::chrono::hours(24), m_limits.cacheEntries,
              m_limits.cacheBytes),
      m_pages(m_limits.memoEntries, m_limits.memoBytes)
{
    setReportSettings(ReportSettings{});
    m_server.setListenBacklogSize(kListenBacklog);
    connect(&m_server, &QTcpServer::newConnection, this, &GatewayServer::accept);
}

GatewayServer::~GatewayServer()
{
    close();
}

bool GatewayServer::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

bool GatewayServer::listenOnDescriptor(qintptr descriptor)
{
    return m_server.setSocketDescriptor(descriptor);
}

void GatewayServer::close()
{
    m_server.close();
    for (GatewayConnection* connection :
         findChildren<GatewayConnection*>(Qt::FindDirectChildrenOnly))
        delete connection;
    if (m_connections != 0) {
        m_connections = 0;
        emit connectionCountChanged(0);
    }
}

void GatewayServer::setLimits(const GatewayLimits& limits)
{
    m_limits = limits;
    m_cache.setLimits(limits.cacheEntries, limits.cacheBytes);
    m_pages.setLimits(limits.memoEntries, limits.memoBytes);
}

void GatewayServer::setReportSettings(ReportSettings settings)
{
    m_upstream.setReportBases(settings.bases());
    m_reports = std::make_unique<LiveReports>(
        m_upstream, [this] { return m_clock(); }, std::move(settings), this);
}

void GatewayServer::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

void GatewayServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_connections >= m_limits.maxConnections) {
            socket->abort(); // at the limit: refused before anything is read or held
            socket->deleteLater();
            continue;
        }
        auto* connection = new GatewayConnection(
            socket,
            [this](const QByteArray& head, GatewayConnection::Send send) {
                answer(head, std::move(send));
            },
            [this] { return m_clock(); }, m_limits.connection, this);
        ++m_connections;
        connect(connection, &GatewayConnection::closed, this, [this] {
            --m_connections;
            emit connectionCountChanged(m_connections);
        });
        emit connectionCountChanged(m_connections);
    }
}

std::string GatewayServer::staleNote(const QDateTime& fetchedAt)
{
    return "(cached " + fetchedAt.toUTC().toString(QStringLiteral("HH:mm")).toStdString() +
           " UTC: NOAA not reachable)";
}

void GatewayServer::answer(const QByteArray& head, Send deliver)
{
    ++m_requests;
    // An answer that says nothing of its freshness is not kept by a cache in front of the gateway.
    Send send = [deliver = std::move(deliver)](const HttpReply& reply) {
        if (!reply.header("Cache-Control").isEmpty()) {
            deliver(reply);
            return;
        }
        HttpReply marked = reply;
        MarkNotStored(marked);
        deliver(marked);
    };
    const HttpRequestHead request = HttpRequestHead::parse(head);
    if (std::optional<HttpReply> refusal = RefusalOf(request)) {
        send(*refusal);
        return;
    }
    const std::string path = request.path.toStdString();
    if (request.host == HostOf(ServiceAddresses::ConditionsBase)) {
        if (std::optional<LiveRequest> live = m_live.resolve(path)) {
            answerConditions(*live, std::move(send));
            return;
        }
    }
    if (request.host == HostOf(ServiceAddresses::NwsBase)) {
        if (std::optional<ProductRequest> product = ProductRequestOf(path)) {
            std::vector<std::string> zones = m_index.zonesOfState(lower(product->state));
            if (const std::optional<UsState> state = FindUsState(product->state);
                state && !zones.empty()) {
                answerProducts(*product, state->name, zones, std::move(send));
                return;
            }
        }
    }
    if (request.host == HostOf(ServiceAddresses::MakerSite)) {
        if (std::optional<HttpReply> reply = MakerFileAnswer(request)) {
            send(*reply);
            return;
        }
    }
    if (m_reports->answer(request, send))
        return;
    if (m_images && m_images->answer(request, send))
        return;
    send(NoLiveSource(request));
}

std::string GatewayServer::kept(const std::string& key, const QByteArray& body) const
{
    // Only what the pages read is kept: a station file's first lines, a product's text as the
    // page shows it.
    if (key.starts_with("obs:"))
        return cutAtLine(
            body.left(static_cast<qsizetype>(m_limits.observationTextBytes)).toStdString(),
            m_limits.observationTextBytes);
    return cutAtLine(NormalisedProductText(body.toStdString()), m_limits.productTextBytes);
}

void GatewayServer::refresh(const std::string& key, const QUrl& url, std::chrono::seconds maxAge,
                            UpstreamFetcher::Lane lane, Ready ready)
{
    if (m_cache.fresh(key, maxAge)) {
        ready();
        return;
    }
    if (const auto failure = m_failures.find(key);
        m_limits.failureMemoryMs > 0 && failure != m_failures.end() &&
        !failure->second.since.hasExpired(m_limits.failureMemoryMs)) {
        ready();
        return;
    }
    auto [running, first] = m_inFlight.try_emplace(key);
    running->second.push_back(std::move(ready));
    if (!first)
        return; // the transfer already running serves this one too
    m_upstream.get(url, lane, this, [this, key](const UpstreamResult& result) {
        switch (result.outcome) {
        case UpstreamResult::Outcome::Ok:
            m_cache.storeBody(key, kept(key, result.body));
            m_failures.erase(key);
            break;
        case UpstreamResult::Outcome::NotModified: // not asked for: no validators are sent
            m_failures.erase(key);
            break;
        case UpstreamResult::Outcome::NotFound:
            m_cache.storeMissing(key);
            m_failures.erase(key);
            break;
        case UpstreamResult::Outcome::Failed: {
            Failure& failure = m_failures[key];
            failure.reason = result.error.toStdString();
            failure.timedOut = result.timedOut;
            failure.since.start();
            break;
        }
        }
        std::vector<Ready> waiting = std::move(m_inFlight[key]);
        m_inFlight.erase(key);
        for (Ready& done : waiting)
            done();
    });
}

void GatewayServer::answerConditions(const LiveRequest& request, Send send)
{
    if (!request.station) {
        send(htmlReply(m_live.noStationPage(request)));
        return;
    }
    const std::string key = "obs:" + request.station->icao;
    const std::string memoKey = request.place.key + '|' + request.station->icao;
    if (const UpstreamEntry* fresh = m_cache.fresh(key, ObservationMaxAge)) {
        const MemoPage* memo = m_pages.find(memoKey);
        if (memo && !memo->stale && memo->fetchedAt == fresh->fetchedAt &&
            memo->builtAt.secsTo(m_clock()) < kMemoSeconds) {
            HttpReply reply = htmlReply(memo->page);
            MarkFresh(reply, memo->fetchedAt, ObservationMaxAge, m_clock());
            send(reply);
            return;
        }
    }
    const QUrl url(m_upstream.settings().observationsBase +
                   QString::fromStdString(request.station->icao) + QStringLiteral(".TXT"));
    refresh(key, url, ObservationMaxAge, UpstreamFetcher::Lane::Observations,
            [this, request, key, send] { send(conditionsReply(request, key)); });
}

HttpReply GatewayServer::conditionsReply(const LiveRequest& request, const std::string& key)
{
    const UpstreamEntry* entry = m_cache.any(key);
    const auto failure = m_failures.find(key);
    const bool failed = failure != m_failures.end();
    if (!entry)
        return unreachableReply(request, request.station->icao,
                                failed ? failure->second.reason : std::string("no answer"),
                                failed && failure->second.timedOut);
    const QDateTime now = m_clock();
    if (entry->missing || !LiveConditions::currentReport(entry->body, request.station->icao, now)) {
        // Built from the file NOAA gave (or its absence): as fresh as that file is.
        HttpReply reply = htmlReply(m_live.noStationPage(request));
        if (!failed)
            MarkFresh(reply, entry->fetchedAt, ObservationMaxAge, now);
        return reply;
    }

    const bool stale = failed || entry->fetchedAt.secsTo(now) >= ObservationMaxAge.count();
    const std::string note = stale ? staleNote(entry->fetchedAt) : std::string();
    std::string page = m_live.page(request, entry->body, now, note);
    const std::size_t bytes = page.size() + request.place.key.size() + kMemoOverhead;
    m_pages.put(request.place.key + '|' + request.station->icao,
                MemoPage{entry->fetchedAt, stale, now, page}, bytes);
    HttpReply reply = htmlReply(std::move(page));
    // A copy served while NOAA cannot be reached is not kept downstream: the next request
    // should reach the gateway, which tries NOAA again once the failure is no longer remembered.
    if (!stale)
        MarkFresh(reply, entry->fetchedAt, ObservationMaxAge, now);
    return reply;
}

void GatewayServer::answerProducts(const ProductRequest& request, std::string_view stateName,
                                   const std::vector<std::string>& zones, Send send)
{
    struct File
    {
        std::string zone;
        std::string key;
    };
    auto files = std::make_shared<std::vector<File>>();
    for (const std::string& zone : zones) {
        for (const std::string_view pattern : ProductFiles(request.page)) {
            std::string path = ProductFilePath(pattern, zone);
            files->push_back(File{zone, path});
        }
    }
    auto remaining = std::make_shared<std::size_t>(files->size());
    auto finish = [this, request, stateName = std::string(stateName), files, send] {
        std::vector<ZoneProduct> products;
        std::size_t failed = 0;
        std::size_t unknown = 0;
        QDateTime oldest;
        // The page is as fresh as its oldest file; it last changed with its newest.
        QDateTime oldestFetch;
        QDateTime newestFetch;
        std::string reason;
        for (const File& file : *files) {
            const UpstreamEntry* entry = m_cache.any(file.key);
            const auto failure = m_failures.find(file.key);
            if (failure != m_failures.end()) {
                ++failed;
                reason = failure->second.reason;
                if (entry && (!oldest.isValid() || entry->fetchedAt < oldest))
                    oldest = entry->fetchedAt;
            }
            if (!entry) {
                ++unknown;
                continue;
            }
            if (!oldestFetch.isValid() || entry->fetchedAt < oldestFetch)
                oldestFetch = entry->fetchedAt;
            if (!newestFetch.isValid() || entry->fetchedAt > newestFetch)
                newestFetch = entry->fetchedAt;
            if (!entry->missing)
                products.push_back(ZoneProduct{file.zone, entry->body});
        }
        if (unknown == files->size()) {
            HttpReply reply = htmlReply(
                ProductUnavailablePage(request, stateName, "NOAA not reachable: " + reason));
            reply.status = 502;
            reply.reason = "NOAA Not Reachable";
            send(reply);
            return;
        }
        std::string note;
        if (failed > 0) {
            note = "Note: " + std::to_string(failed) + " of " + std::to_string(files->size()) +
                   " zone files could not be fetched from NOAA";
            if (oldest.isValid())
                note += "; cached copies from " +
                        oldest.toUTC().toString(QStringLiteral("HH:mm")).toStdString() +
                        " UTC are shown";
            note += ".";
        }
        HttpReply reply = htmlReply(BuildProductPage(request, stateName, products, note));
        if (failed == 0 && unknown == 0) {
            MarkFresh(reply, oldestFetch, ProductMaxAge, m_clock(), newestFetch);
        }
        send(reply);
    };
    for (const File& file : *files) {
        const QUrl url(m_upstream.settings().productsBase + QString::fromStdString(file.key));
        refresh(file.key, url, ProductMaxAge, UpstreamFetcher::Lane::Products, [remaining, finish] {
            if (--*remaining == 0)
                finish();
        });
    }
}

} // namespace cirrolux::gateway
