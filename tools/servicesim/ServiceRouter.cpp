#include "ServiceRouter.h"

#include "FactbookSite.h"
#include "ReportContent.h"
#include "WeatherModel.h"
#include "net/ServiceAddresses.h"
#include "pagelayout/ConditionsPageBuilder.h"
#include "pagelayout/HtmlText.h"

#include <QHostAddress>
#include <QUrl>

namespace cirrolux::servicesim {

namespace {

constexpr qint64 kMaxGeneratedBody = qint64(1) << 40;
constexpr qint64 kMaxTrickleBody = 64 * 1024;
constexpr int kUsageCounterStart = 48213;

QByteArray hostOfAddress(std::string_view address)
{
    return QUrl(QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size())))
        .host()
        .toLatin1()
        .toLower();
}

QByteArray latin1(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray escaped(QByteArrayView text)
{
    return latin1(escapeHtml(std::string_view(text.data(), static_cast<std::size_t>(text.size()))));
}

// The error page of the Apache server the services ran on.
EmulatorReply errorPage(int status, const QByteArray& message, const QByteArray& host)
{
    const QByteArray title = QByteArray::number(status) + ' ' + EmulatorReply::reasonPhrase(status);
    QByteArray html =
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n<html><head>\n<title>" + title +
        "</title>\n</head><body>\n<h1>" + EmulatorReply::reasonPhrase(status) + "</h1>\n<p>" +
        message + "</p>\n";
    html += "<hr>\n<address>Apache/1.3.33 Server at " +
            escaped(host.isEmpty() ? "localhost" : host) + " Port 80</address>\n</body></html>\n";
    return EmulatorReply::make(status, "text/html; charset=iso-8859-1", html);
}

EmulatorReply notFound(const HttpRequestHead& request)
{
    return errorPage(
        404, "The requested URL " + escaped(request.path) + " was not found on this server.",
        request.host);
}

EmulatorReply textReply(int status, QByteArray text)
{
    return EmulatorReply::make(status, "text/plain", std::move(text));
}

EmulatorReply redirect(int status, QByteArray location)
{
    EmulatorReply reply = EmulatorReply::make(
        status, "text/html",
        "<html><head><title>Document Moved</title></head><body>\n<h1>Document Moved</h1>\n"
        "<p>This document may be found <a href=\"" +
            escaped(location) + "\">here</a>.</p>\n</body></html>\n");
    reply.addHeader("Location", std::move(location));
    return reply;
}

// The address of another path on the host the request was made to.
QByteArray sameHost(const HttpRequestHead& request, const QByteArray& path)
{
    return request.authority.isEmpty() ? path : "http://" + request.authority + path;
}

QByteArray queryValue(const QByteArray& query, QByteArrayView name)
{
    for (const QByteArray& pair : query.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        const QByteArray key = equals < 0 ? pair : pair.left(equals);
        if (key == name) {
            QByteArray value = equals < 0 ? QByteArray() : pair.mid(equals + 1);
            value.replace('+', ' ');
            return QByteArray::fromPercentEncoding(value);
        }
    }
    return {};
}

std::optional<qint64> number(QByteArrayView text, qint64 max)
{
    if (text.isEmpty() || text.size() > 15)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > max)
        return std::nullopt;
    return value;
}

bool reachesEverySite(const QByteArray& host)
{
    if (host.isEmpty() || host == "localhost")
        return true;
    QHostAddress address;
    return address.setAddress(QString::fromLatin1(host)) && address.isLoopback();
}

QByteArray homePage(const QByteArray& title)
{
    return "<html><head><title>" + title + "</title></head>\n<body>\n<h1>" + title +
           "</h1>\n</body></html>\n";
}

} // namespace

QByteArray ServiceRouter::conditionsHost()
{
    return hostOfAddress(ServiceAddresses::ConditionsBase);
}

QByteArray ServiceRouter::makerHost()
{
    return hostOfAddress(ServiceAddresses::MakerSite);
}

void ServiceRouter::setStationDirectory(StationDirectory directory)
{
    m_places.setStationDirectory(std::move(directory));
}

void ServiceRouter::setRequiredAuthorization(
    std::optional<std::pair<std::string, std::string>> credentials)
{
    if (!credentials) {
        m_authorization.reset();
        return;
    }
    m_authorization = "Basic " + latin1(credentials->first + ":" + credentials->second).toBase64();
}

EmulatorReply ServiceRouter::route(const HttpRequestHead& request, const QDateTime& now)
{
    if (!request.valid)
        return errorPage(400, "Your browser sent a request that this server could not understand.",
                         request.host);
    if (request.method != "GET")
        return errorPage(
            501, escaped(request.method) + " to " + escaped(request.path) + " not supported.",
            request.host);
    if (m_authorization && request.header("Authorization") != *m_authorization &&
        request.header("Proxy-Authorization") != *m_authorization) {
        EmulatorReply reply = errorPage(request.proxyForm ? 407 : 401,
                                        "This server could not verify that you are authorized to "
                                        "access the document requested.",
                                        request.host);
        reply.addHeader(request.proxyForm ? "Proxy-Authenticate" : "WWW-Authenticate",
                        "Basic realm=\"Cirrolux service emulator\"");
        return reply;
    }

    const qsizetype mark = request.path.indexOf('?');
    const QByteArray path = mark < 0 ? request.path : request.path.left(mark);
    const QByteArray query = mark < 0 ? QByteArray() : request.path.mid(mark + 1);

    if (path.startsWith("/sim/") || path == "/sim-landing.html")
        return faultPath(path, query, request);
    if (std::optional<EmulatorReply> image = m_images.reply(request.path, now))
        return std::move(*image);

    const bool anySite = reachesEverySite(request.host);
    if (std::optional<EmulatorReply> report =
            ReportContent::route(request.host, path, anySite, now))
        return *report;
    if (request.host == makerHost() || (anySite && path.toLower().startsWith("/assets/")))
        return makerSite(path, request);
    if (auto web = WebWindowSites::reply(request.host, path, anySite, now))
        return *web;
    if (WebWindowSites::serves(request.host))
        return notFound(request);
    if (request.host == conditionsHost() || anySite)
        return conditionsSite(path, query, request, now);
    return errorPage(502,
                     "The proxy server could not handle the request <em>GET " +
                         escaped(request.target) + "</em>. Host " + escaped(request.host) +
                         " is not one the service emulator serves.",
                     request.host);
}

EmulatorReply ServiceRouter::conditionsSite(const QByteArray& path, const QByteArray& query,
                                            const HttpRequestHead& request,
                                            const QDateTime& now) const
{
    if (path == "/")
        return EmulatorReply::make(200, "text/html", homePage("Weather Underground"));

    std::optional<Place> place;
    if (path == "/cgi-bin/findweather/getForecast") {
        const QByteArray wanted = queryValue(query, "query");
        place = m_places.zip(wanted.toStdString());
        if (!place)
            return EmulatorReply::make(
                200, "text/html", latin1(ConditionsPageBuilder::searchPage(wanted.toStdString())));
    } else {
        const QList<QByteArray> parts = path.split('/');
        if (parts.size() == 4 && parts[1] == "US" && parts[3].endsWith(".html")) {
            const QByteArray city = QByteArray::fromPercentEncoding(parts[3].chopped(5));
            place = m_places.usCity(parts[2].toStdString(), city.toStdString());
        } else if (parts.size() == 4 && parts[1] == "global" && parts[2] == "stations" &&
                   parts[3].endsWith(".html")) {
            place = m_places.station(parts[3].chopped(5).toStdString());
        }
    }
    if (!place)
        return notFound(request);
    const Observation observation = WeatherModel::observe(*place, now);
    return EmulatorReply::make(200, "text/html",
                               latin1(ConditionsPageBuilder::page(*place, observation)));
}

EmulatorReply ServiceRouter::makerSite(const QByteArray& path, const HttpRequestHead& request)
{
    // The maker's server did not tell letter cases apart.
    const QByteArray lower = path.toLower();
    if (lower == latin1(ServiceAddresses::UsageCounterPath).toLower()) {
        ++m_counterFetches;
        return textReply(200, QByteArray::number(kUsageCounterStart + m_counterFetches) + "\r\n");
    }
    if (lower == latin1(ServiceAddresses::VersionFilePath).toLower())
        return textReply(200, "Version#" + latin1(m_version) + "\r\n");
    if (path == "/")
        return EmulatorReply::make(200, "text/html", homePage("Cirrolux"));
    return notFound(request);
}

EmulatorReply ServiceRouter::faultPath(const QByteArray& path, const QByteArray& query,
                                       const HttpRequestHead& request) const
{
    const QByteArray rest = path == "/sim-landing.html" ? QByteArray("landing") : path.mid(5);
    const qsizetype slash = rest.indexOf('/');
    const QByteArray name = slash < 0 ? rest : rest.left(slash);
    const QByteArray argument = slash < 0 ? QByteArray() : rest.mid(slash + 1);

    if (name == "landing" && argument.isEmpty())
        return EmulatorReply::make(200, "text/html", homePage("You have arrived"));

    if (name == "status") {
        const std::optional<qint64> code = number(argument, 999);
        if (!code || *code < 100)
            return notFound(request);
        const int status = static_cast<int>(*code);
        EmulatorReply reply = errorPage(status, "Status " + argument + " as asked.", request.host);
        if (const QByteArray location = queryValue(query, "location"); !location.isEmpty())
            reply.addHeader("Location", location);
        if (status == 401)
            reply.addHeader("WWW-Authenticate", "Basic realm=\"sim\"");
        if (status == 407)
            reply.addHeader("Proxy-Authenticate", "Basic realm=\"sim\"");
        return reply;
    }
    if (name == "redirect-bare") {
        const QByteArray target = argument.isEmpty() ? QByteArray("sim-landing.html") : argument;
        if (target.contains('/'))
            return notFound(request);
        return redirect(302, target);
    }
    if (name == "redirect-loop" && argument.isEmpty())
        return redirect(302, sameHost(request, "/sim/redirect-loop"));
    if (name == "redirect-chain") {
        const std::optional<qint64> left = number(argument, 1000000);
        if (!left)
            return notFound(request);
        if (*left == 0)
            return redirect(302, sameHost(request, "/sim/landing"));
        return redirect(302,
                        sameHost(request, "/sim/redirect-chain/" + QByteArray::number(*left - 1)));
    }
    if (name == "no-length" && argument.isEmpty()) {
        EmulatorReply reply = textReply(
            200, "This body has no Content-Length; the end of the connection ends it.\r\n");
        reply.delivery = EmulatorReply::Delivery::NoLength;
        return reply;
    }
    if (name == "short" && argument.isEmpty()) {
        EmulatorReply reply = textReply(200, EmulatorReply::generatedBytes(0, 512));
        reply.delivery = EmulatorReply::Delivery::Short;
        reply.announcedLength = 2048;
        return reply;
    }
    if (name == "stall" && argument.isEmpty()) {
        EmulatorReply reply = textReply(200, EmulatorReply::generatedBytes(0, 1024));
        reply.delivery = EmulatorReply::Delivery::Stall;
        return reply;
    }
    if (name == "silent" && argument.isEmpty()) {
        EmulatorReply reply;
        reply.delivery = EmulatorReply::Delivery::Silent;
        return reply;
    }
    if (name == "trickle") {
        const std::optional<qint64> size =
            argument.isEmpty() ? std::optional<qint64>(240) : number(argument, kMaxTrickleBody);
        if (!size)
            return notFound(request);
        EmulatorReply reply = textReply(200, EmulatorReply::generatedBytes(0, *size));
        reply.delivery = EmulatorReply::Delivery::Trickle;
        return reply;
    }
    if (name == "big") {
        const std::optional<qint64> size = number(argument, kMaxGeneratedBody);
        if (!size)
            return notFound(request);
        EmulatorReply reply = EmulatorReply::make(200, "application/octet-stream", {});
        reply.generatedLength = *size;
        return reply;
    }
    if (name == "cookie" && argument.isEmpty()) {
        EmulatorReply reply = redirect(302, sameHost(request, "/sim/cookie-landing"));
        reply.headers.prepend({QByteArray("Set-Cookie"), QByteArray("simsession=7Q2X9B; path=/")});
        return reply;
    }
    if (name == "cookie-landing" && argument.isEmpty()) {
        const QByteArray cookie = request.hasHeader("Cookie") ? request.header("Cookie") : "(none)";
        return textReply(200, "Cookie: " + cookie + "\r\n");
    }
    if (name == "echo" && argument.isEmpty())
        return EmulatorReply::make(200, "application/octet-stream", request.raw);
    if (name == "bad-status" && argument.isEmpty())
        return EmulatorReply::rawBytes("HTTP/1.0 ??? Unreadable\r\nContent-Type: text/plain\r\n\r\n"
                                       "The status line of this reply holds no number.\r\n");
    if (name == "no-header" && argument.isEmpty())
        return EmulatorReply::rawBytes("This reply has no status line and no header.\r\n");
    return notFound(request);
}

} // namespace cirrolux::servicesim
