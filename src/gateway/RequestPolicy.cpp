#include "gateway/RequestPolicy.h"

#include "net/ServiceAddresses.h"

#include <QUrl>

#include <array>

namespace cirrolux::gateway {

namespace {

QByteArray escaped(QByteArrayView text)
{
    QByteArray out;
    for (const char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

bool endsWithAny(const QByteArray& path, std::initializer_list<QByteArrayView> endings)
{
    const QByteArray lower = path.toLower();
    for (const QByteArrayView ending : endings) {
        if (lower.endsWith(ending))
            return true;
    }
    return false;
}

} // namespace

QByteArray HostOf(std::string_view address)
{
    return QUrl(QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size())))
        .host()
        .toLatin1()
        .toLower();
}

bool IsServiceHost(QByteArrayView host)
{
    namespace sa = ServiceAddresses;
    static const std::vector<QByteArray> hosts = [] {
        std::vector<QByteArray> all;
        for (const std::string_view address :
             {sa::ConditionsBase, sa::MakerSite, sa::FactbookSite, sa::FireReportSite, sa::TexasAM,
              sa::NwsBase, sa::EpaBase, sa::UsdaNassBase, sa::CensusRanksBase, sa::CensusLookupBase,
              sa::UsgsNeicBase})
            all.push_back(HostOf(address));
        for (const std::string_view address : sa::ImageHosts)
            all.push_back(HostOf(address));
        return all;
    }();
    if (host.isEmpty())
        return false;
    for (const QByteArray& known : hosts) {
        if (known == host)
            return true;
    }
    return false;
}

HttpReply GatewayPage(int status, QByteArray reason, const QByteArray& title,
                      const QByteArray& text)
{
    HttpReply reply =
        HttpReply::make(status, "text/html; charset=iso-8859-1",
                        "<html><head><title>" + title + "</title></head>\n<body>\n<h1>" + title +
                            "</h1>\n<p>" + text + "</p>\n</body></html>\n");
    reply.reason = std::move(reason);
    return reply;
}

std::optional<HttpReply> RefusalOf(const HttpRequestHead& request)
{
    if (!request.valid)
        return GatewayPage(400, {}, "Bad Request",
                           "The Cirrolux gateway could not read this request.");
    if (request.method != "GET")
        return GatewayPage(501, {}, "Not Implemented",
                           escaped(request.method) + " is not supported by the Cirrolux gateway.");
    for (const auto& [name, value] : request.headers) {
        if (name.compare("Origin", Qt::CaseInsensitive) == 0 ||
            name.toLower().startsWith("sec-fetch-"))
            return GatewayPage(403, {}, "Forbidden",
                               "The Cirrolux gateway answers the Cirrolux program only, not web "
                               "pages.");
    }
    if (IsServiceHost(request.host))
        return std::nullopt;
    if (request.proxyForm)
        return GatewayPage(502, {}, "Bad Gateway",
                           "Host " + escaped(request.host) +
                               " is not one of the services the Cirrolux gateway answers for.");
    return GatewayPage(403, {}, "Forbidden",
                       "The Cirrolux gateway is a proxy for the Cirrolux program: set it as the "
                       "program's HTTP proxy. Requests for " +
                           escaped(request.host.isEmpty() ? QByteArray("no host") : request.host) +
                           " are refused.");
}

HttpReply NoLiveSource(const HttpRequestHead& request)
{
    namespace sa = ServiceAddresses;
    const qsizetype mark = request.path.indexOf('?');
    const QByteArray path = mark < 0 ? request.path : request.path.left(mark);
    const QByteArray address = "http://" + request.host + request.path;
    int status = 503;
    QByteArray what;
    if (request.host == HostOf(sa::ConditionsBase)) {
        status = 404;
        what = "the conditions at this address";
    } else if (endsWithAny(path, {".gif", ".jpg", ".jpeg", ".png"})) {
        what = "the picture " + escaped(path.mid(path.lastIndexOf('/') + 1));
    } else if (request.host == HostOf(sa::MakerSite)) {
        what = path == "/" || path.isEmpty() ? QByteArray("the maker's home page")
                                             : "the maker's file " + escaped(path);
    } else if (request.host == HostOf(sa::FactbookSite)) {
        what = "the World Factbook";
    } else if (request.host == HostOf(sa::FireReportSite)) {
        what = "the fire report";
    } else {
        what = "this report";
    }
    const QByteArray title = "No live source for " + what;
    const QByteArray text =
        "The Cirrolux gateway shows live data only: it never makes anything up. " +
        (status == 404 ? QByteArray("This conditions address names no place the gateway can find a "
                                    "reporting station for")
                       : "There is no live source for " + what + " yet") +
        ", so nothing is shown rather than something made up.<br>\nAddress: " + escaped(address) +
        "</p>\n<p>Live are the conditions pages of US cities, zip codes and the catalogue's "
        "foreign stations, every report of the forecast window, the country pages with their "
        "flags and maps, the fire report, and the pictures of the gateway's source table that have "
        "a live source (cirrolux-gateway --check lists them).";
    return GatewayPage(status, status == 404 ? QByteArray() : QByteArray("No Live Source"), title,
                       text);
}

std::optional<HttpReply> MakerFileAnswer(const HttpRequestHead& request)
{
    namespace sa = ServiceAddresses;
    const qsizetype mark = request.path.indexOf('?');
    const QByteArray path = mark < 0 ? request.path : request.path.left(mark);
    if (path == QByteArrayView(sa::UsageCounterPath)) {
        HttpReply reply;
        reply.status = 204;
        reply.reason = "Not Counted";
        return reply;
    }
    if (path == QByteArrayView(sa::VersionFilePath))
        return GatewayPage(
            404, "No Version File", "No version file",
            "The Cirrolux gateway does not ask the maker's server which version is the latest, "
            "and no other source it knows says so. Updates of Cirrolux come with its package, "
            "through the system's package manager.");
    return std::nullopt;
}

} // namespace cirrolux::gateway
