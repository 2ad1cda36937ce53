#include "gateway/GatewayServer.h"

#include "gateway/GatewayConnection.h"
#include "net/ServiceAddresses.h"
#include "servicesim/CatalogueStations.h"
#include "servicesim/ReportStates.h"
#include "servicesim/ServiceRouter.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimeZone>
#include <QUrl>

#include <memory>

namespace cirrolux::gateway {

namespace {

constexpr int kListenBacklog = 128;
// A page written from a cached file is written again after this long (the day may have turned
// at the station, which moves the sun and moon times).
constexpr qint64 kMemoSeconds = 10 * 60;

QByteArray hostOf(std::string_view address)
{
    return QUrl(QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size())))
        .host()
        .toLatin1()
        .toLower();
}

bool isLoopbackOrLocal(const QByteArray& host)
{
    if (host.isEmpty() || host == "localhost")
        return true;
    QHostAddress address;
    return address.setAddress(QString::fromLatin1(host)) && address.isLoopback();
}

std::string lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string escapedText(std::string_view text)
{
    std::string out;
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

servicesim::EmulatorReply htmlReply(std::string page)
{
    return servicesim::EmulatorReply::make(200, "text/html; charset=iso-8859-1",
                                           QByteArray::fromStdString(page));
}

// The time on the first line of a NOAA station file ("2026/12/09 18:54"), UTC; invalid when the
// line is not such a time.
QDateTime observationTime(std::string_view file)
{
    const std::size_t end = file.find('\n');
    std::string_view line = file.substr(0, end == std::string_view::npos ? file.size() : end);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.remove_suffix(1);
    QDateTime time =
        QDateTime::fromString(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())),
                              QStringLiteral("yyyy/MM/dd HH:mm"));
    time.setTimeZone(QTimeZone::utc());
    return time;
}

std::string placeName(const LiveRequest& request)
{
    return request.place.title;
}

// The page when no observation could be fetched and none is cached: no reading, so the program
// shows its usual parse messages, and the reason for whoever looks at the page.
std::string unreachablePage(const LiveRequest& request, const std::string& icao,
                            const std::string& reason)
{
    const std::string place = escapedText(placeName(request));
    return "<html><head><title>Cirrolux gateway: no current observation for " + place +
           "</title></head>\n<body>\n<h1>No current observation for " + place +
           "</h1>\n<p>The observation of station " + escapedText(icao) +
           " could not be fetched from NOAA (" + escapedText(reason) +
           ") and none is cached. Please try again in a few minutes.</p>\n</body></html>\n";
}

} // namespace

GatewayServer::GatewayServer(const StationIndex& index, const LiveConditions& live,
                             UpstreamSettings settings, QObject* parent)
    : QObject(parent), m_index(index), m_live(live),
      m_clock([] { return QDateTime::currentDateTimeUtc(); }),
      m_upstream(std::move(settings), this), m_cache([this] { return m_clock(); })
{
    m_router.setStationDirectory(servicesim::CatalogueStationDirectory());
    m_server.setListenBacklogSize(kListenBacklog);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto* connection = new GatewayConnection(
                socket,
                [this](const QByteArray& head, GatewayConnection::Send send) {
                    answer(head, std::move(send));
                },
                [this] { return m_clock(); }, this);
            connect(connection, &QObject::destroyed, this,
                    [this] { emit connectionCountChanged(--m_connectionCount); });
            emit connectionCountChanged(++m_connectionCount);
        }
    });
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
}

void GatewayServer::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

std::string GatewayServer::staleNote(const QDateTime& fetchedAt)
{
    return "(cached " + fetchedAt.toUTC().toString(QStringLiteral("HH:mm")).toStdString() +
           " UTC: NOAA not reachable)";
}

void GatewayServer::answer(const QByteArray& head, Send send)
{
    const servicesim::HttpRequestHead request = servicesim::HttpRequestHead::parse(head);
    if (request.valid && request.method == "GET") {
        const std::string path = request.path.toStdString();
        const bool everySite = isLoopbackOrLocal(request.host);
        if (everySite || request.host == servicesim::ServiceRouter::conditionsHost()) {
            if (std::optional<LiveRequest> live = m_live.resolve(path)) {
                answerConditions(*live, path, std::move(send));
                return;
            }
        }
        if (everySite || request.host == hostOf(ServiceAddresses::NwsBase)) {
            if (std::optional<ProductRequest> product = ProductRequestOf(path)) {
                std::vector<std::string> zones = m_index.zonesOfState(lower(product->state));
                if (!zones.empty() && servicesim::FindReportState(product->state)) {
                    answerProducts(*product, zones, std::move(send));
                    return;
                }
            }
        }
    }
    send(m_router.route(request, m_clock()));
}

void GatewayServer::refresh(const std::string& key, const QUrl& url, std::chrono::seconds maxAge,
                            Ready ready)
{
    if (m_cache.fresh(key, maxAge)) {
        ready();
        return;
    }
    auto [running, first] = m_inFlight.try_emplace(key);
    running->second.push_back(std::move(ready));
    if (!first)
        return; // the transfer already running serves this one too
    m_upstream.get(url, this, [this, key](const UpstreamResult& result) {
        switch (result.outcome) {
        case UpstreamResult::Outcome::Ok:
            m_cache.storeBody(key, result.body.toStdString());
            m_failures.erase(key);
            break;
        case UpstreamResult::Outcome::NotFound:
            m_cache.storeMissing(key);
            m_failures.erase(key);
            break;
        case UpstreamResult::Outcome::Failed:
            m_failures[key] = result.error.toStdString();
            break;
        }
        std::vector<Ready> waiting = std::move(m_inFlight[key]);
        m_inFlight.erase(key);
        for (Ready& done : waiting)
            done();
    });
}

void GatewayServer::answerConditions(const LiveRequest& request, const std::string& pathAndQuery,
                                     Send send)
{
    if (!request.station) {
        send(htmlReply(m_live.noStationPage(request)));
        return;
    }
    const std::string key = "obs:" + request.station->icao;
    if (const UpstreamEntry* fresh = m_cache.fresh(key, ObservationMaxAge)) {
        const auto memo = m_pages.find(pathAndQuery);
        if (memo != m_pages.end() && !memo->second.stale &&
            memo->second.fetchedAt == fresh->fetchedAt &&
            memo->second.builtAt.secsTo(m_clock()) < kMemoSeconds) {
            send(htmlReply(memo->second.page));
            return;
        }
    }
    const QUrl url(m_upstream.settings().observationsBase +
                   QString::fromStdString(request.station->icao) + QStringLiteral(".TXT"));
    refresh(key, url, ObservationMaxAge, [this, request, pathAndQuery, key, send] {
        send(htmlReply(conditionsPage(request, pathAndQuery, key)));
    });
}

std::string GatewayServer::conditionsPage(const LiveRequest& request,
                                          const std::string& pathAndQuery, const std::string& key)
{
    const UpstreamEntry* entry = m_cache.any(key);
    const auto failure = m_failures.find(key);
    const bool failed = failure != m_failures.end();
    if (!entry)
        return unreachablePage(request, request.station->icao,
                               failed ? failure->second : std::string("no answer"));
    if (entry->missing)
        return m_live.noStationPage(request);
    const QDateTime now = m_clock();
    const QDateTime observed = observationTime(entry->body);
    if (observed.isValid() && observed.secsTo(now) > kStoppedReportingSeconds)
        return m_live.noStationPage(request);

    const bool stale = failed || entry->fetchedAt.secsTo(now) >= ObservationMaxAge.count();
    const std::string note = stale ? staleNote(entry->fetchedAt) : std::string();
    std::string page = m_live.page(request, entry->body, now, note);
    m_pages[pathAndQuery] = MemoPage{entry->fetchedAt, stale, now, page};
    return page;
}

void GatewayServer::answerProducts(const ProductRequest& request,
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
    const std::string stateName(servicesim::FindReportState(request.state)->name);
    auto finish = [this, request, stateName, files, send] {
        std::vector<ZoneProduct> products;
        std::size_t failed = 0;
        std::size_t unknown = 0;
        QDateTime oldest;
        std::string reason;
        for (const File& file : *files) {
            const UpstreamEntry* entry = m_cache.any(file.key);
            const auto failure = m_failures.find(file.key);
            if (failure != m_failures.end()) {
                ++failed;
                reason = failure->second;
                if (entry && (!oldest.isValid() || entry->fetchedAt < oldest))
                    oldest = entry->fetchedAt;
            }
            if (!entry) {
                ++unknown;
                continue;
            }
            if (!entry->missing)
                products.push_back(ZoneProduct{file.zone, entry->body});
        }
        if (unknown == files->size()) {
            send(htmlReply(
                ProductUnavailablePage(request, stateName, "NOAA not reachable: " + reason)));
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
        send(htmlReply(BuildProductPage(request, stateName, products, note)));
    };
    for (const File& file : *files) {
        const QUrl url(m_upstream.settings().productsBase + QString::fromStdString(file.key));
        refresh(file.key, url, ProductMaxAge, [remaining, finish] {
            if (--*remaining == 0)
                finish();
        });
    }
}

} // namespace cirrolux::gateway
