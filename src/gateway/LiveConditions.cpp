#include "LiveConditions.h"

#include "UsStates.h"
#include "servicesim/HtmlText.h"

#include <QByteArray>

#include <algorithm>

namespace cirrolux::gateway {

namespace {

using servicesim::Place;

std::string percentDecoded(std::string_view text)
{
    QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    bytes.replace('+', ' ');
    const QByteArray decoded = QByteArray::fromPercentEncoding(bytes);
    return decoded.toStdString();
}

bool isDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value of `name` in a query string "a=1&query=02134".
std::optional<std::string> queryValue(std::string_view query, std::string_view name)
{
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == name)
            return percentDecoded(pair.substr(equals + 1));
        if (amp == std::string_view::npos)
            break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

Place usPlace(Place::Kind kind, std::string key, const std::string& city, const UsState& state)
{
    Place place;
    place.kind = kind;
    place.key = std::move(key);
    place.title = city + ", " + std::string(state.name);
    place.observed = city + ", " + std::string(state.code);
    place.breadcrumb = std::string(state.name);
    return place;
}

} // namespace

LiveConditions::LiveConditions(const StationIndex& index, StationNames names)
    : m_index(index), m_names(std::move(names))
{
}

std::optional<LiveRequest> LiveConditions::resolve(std::string_view address) const
{
    // A proxy-form request carries the whole address: drop scheme and host.
    if (address.starts_with("http://") || address.starts_with("https://")) {
        const std::size_t hostStart = address.find("//") + 2;
        const std::size_t slash = address.find('/', hostStart);
        address = slash == std::string_view::npos ? std::string_view("/") : address.substr(slash);
    }
    const std::size_t mark = address.find('?');
    const std::string_view path = address.substr(0, mark);
    const std::string_view query =
        mark == std::string_view::npos ? std::string_view() : address.substr(mark + 1);

    if (path == "/cgi-bin/findweather/getForecast") {
        const std::optional<std::string> zip = queryValue(query, "query");
        if (!zip || zip->size() != 5 || !isDigits(*zip))
            return std::nullopt; // a search, not a place
        LiveRequest request;
        const auto where = m_index.placeOfZip(*zip);
        const auto state = where ? FindUsState(where->second) : std::nullopt;
        if (state) {
            request.place = usPlace(Place::Kind::Zip, "zip/" + *zip, where->first, *state);
        } else {
            request.place.kind = Place::Kind::Zip;
            request.place.key = "zip/" + *zip;
            request.place.title = "Zip code " + *zip;
            request.place.observed = *zip;
            request.place.breadcrumb = "US";
        }
        request.station = m_index.forZip(*zip);
        return request;
    }

    constexpr std::string_view usPrefix = "/US/";
    constexpr std::string_view stationPrefix = "/global/stations/";
    constexpr std::string_view html = ".html";
    if (!path.ends_with(html))
        return std::nullopt;
    if (path.starts_with(usPrefix)) {
        const std::string_view rest = path.substr(usPrefix.size());
        const std::size_t slash = rest.find('/');
        if (slash != 2)
            return std::nullopt;
        const auto state = FindUsState(rest.substr(0, 2));
        const std::string cityAddress =
            percentDecoded(rest.substr(3, rest.size() - 3 - html.size()));
        if (!state || cityAddress.find('/') != std::string::npos ||
            cityAddress.find_first_not_of("_ ") == std::string::npos)
            return std::nullopt;
        std::string city = cityAddress;
        std::replace(city.begin(), city.end(), '_', ' ');
        LiveRequest request;
        request.place = usPlace(Place::Kind::UsCity, "US/" + std::string(state->code) + "/" + city,
                                city, *state);
        request.station = m_index.forUsCity(state->code, cityAddress);
        return request;
    }
    if (path.starts_with(stationPrefix)) {
        const std::string number(
            path.substr(stationPrefix.size(), path.size() - stationPrefix.size() - html.size()));
        if (number.size() != 5 || !isDigits(number))
            return std::nullopt;
        LiveRequest request;
        request.place.kind = Place::Kind::Station;
        request.place.key = "station/" + number;
        const auto name = m_names ? m_names(number) : std::nullopt;
        if (name) {
            request.place.title = name->first + ", " + name->second;
            request.place.observed = name->first + " (" + number + ")";
            request.place.breadcrumb = name->second;
            request.station = m_index.forForeignPlace(name->first, name->second);
        } else {
            request.place.title = "Station " + number + ", Unknown";
            request.place.observed = "Station " + number;
            request.place.breadcrumb = "Unknown";
        }
        return request;
    }
    return std::nullopt;
}

std::string LiveConditions::noStationPage(const LiveRequest& request) const
{
    const std::string title = servicesim::escapeHtml(request.place.title);
    std::string html = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                       "<html>\n<head>\n<title>Weather Underground: " +
                       title +
                       " Weather Forecast</title>\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                       "charset=iso-8859-1\">\n</head>\n<body bgcolor=\"#FFFFFF\" "
                       "text=\"#000000\">\n<h1>" +
                       title + "</h1>\n<p>No live station for " + title;
    if (request.station)
        html +=
            ": station " + servicesim::escapeHtml(request.station->icao) + " has no current report";
    html += ".</p>\n</body>\n</html>\n";
    return html;
}

std::string LiveConditions::page(const LiveRequest& request, std::string_view /*stationFile*/,
                                 const QDateTime& /*nowUtc*/, std::string_view /*staleNote*/) const
{
    // Until the observation reader is in, every page is the no-station page.
    return noStationPage(request);
}

} // namespace cirrolux::gateway
