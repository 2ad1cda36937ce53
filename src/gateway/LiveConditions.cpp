#include "LiveConditions.h"

#include "LocalZone.h"
#include "MetarReader.h"
#include "SkyClock.h"
#include "UsStates.h"
#include "conditions/ReadingMath.h"
#include "pagelayout/ConditionsPageBuilder.h"
#include "pagelayout/HtmlText.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace cirrolux::gateway {

namespace {

using cirrolux::Place;

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
    return cirrolux::usPlaceNamed(kind, std::move(key), city, state.name, state.code);
}

constexpr std::array<const char*, 16> kCompass{"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                               "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};

int mph(double knots)
{
    return static_cast<int>(std::lround(knots * 1.150779));
}

int fahrenheit(double celsius)
{
    return static_cast<int>(std::lround(celsius * 9.0 / 5.0 + 32.0));
}

int wholeCelsius(double celsius)
{
    return static_cast<int>(std::lround(celsius));
}

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// "3:51 PM EST".
std::string clockText(const QDateTime& utc, const QTimeZone& zone)
{
    const QDateTime local = utc.toTimeZone(zone);
    const int hour = local.time().hour();
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d %s", hour12, local.time().minute(),
                  hour < 12 ? "AM" : "PM");
    return std::string(text) + " " + latin1(LocalZone::abbreviation(zone, local));
}

// A rise or set to the nearest minute, as almanacs give them; "-" when the day has none.
std::string eventText(const std::optional<QDateTime>& utc, const QTimeZone& zone)
{
    return utc ? clockText(utc->addSecs(30), zone) : std::string("-");
}

std::string windText(const Metar::Wind& wind)
{
    const int speed = mph(wind.speedKt);
    if (speed == 0)
        return "Calm";
    std::string text =
        wind.directionDeg
            ? kCompass[static_cast<std::size_t>(std::lround(*wind.directionDeg / 22.5)) %
                       kCompass.size()]
            : "Variable";
    text += " at " + std::to_string(speed) + " mph";
    if (wind.gustKt && mph(*wind.gustKt) > speed)
        text += ", gusting to " + std::to_string(mph(*wind.gustKt)) + " mph";
    return text;
}

std::string cloudsText(const Metar& metar)
{
    if (metar.cavok || metar.skyClear)
        return "Clear";
    std::string text;
    for (const Metar::SkyLayer& layer : metar.sky) {
        static constexpr std::array<const char*, 5> words{"Few", "Scattered", "Broken", "Overcast",
                                                          "Obscured"};
        if (!text.empty())
            text += ", ";
        text += words[static_cast<std::size_t>(layer.cover)];
        if (layer.heightFt)
            text += " " + std::to_string(*layer.heightFt) + " ft";
    }
    return text.empty() ? std::string("-") : text;
}

constexpr std::array<const char*, 12> kMonths{"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};

cirrolux::Observation observationOf(const Metar& metar, const QDateTime& observedUtc,
                                    const QTimeZone& zone)
{
    cirrolux::Observation obs;
    obs.observedUtc = observedUtc;
    const QDateTime local = observedUtc.toTimeZone(zone);
    obs.time = clockText(observedUtc, zone);
    obs.date = std::string(kMonths[static_cast<std::size_t>(local.date().month() - 1)]) + " " +
               std::to_string(local.date().day()) + ", " + std::to_string(local.date().year());

    const double t = *metar.temperatureC;
    obs.temperatureF = fahrenheit(t);
    obs.temperatureC = wholeCelsius(t);
    if (metar.dewPointC) {
        obs.dewPointF = fahrenheit(*metar.dewPointC);
        obs.dewPointC = wholeCelsius(*metar.dewPointC);
    }
    obs.humidity = metar.relativeHumidity().value_or(0);
    if (metar.wind) {
        obs.windMph = mph(metar.wind->speedKt);
        obs.wind = windText(*metar.wind);
    } else {
        // A placeholder speed keeps the row from reading "Calm" when the wind is not known.
        obs.windMph = 1;
        obs.wind = "N/A";
    }
    obs.pressureIn = metar.pressureInHg().value_or(0.0);
    obs.sky = metar.skyText();
    // The page's field holds up to "99.9"; beyond ten miles the service wrote ten.
    obs.visibilityMiles = std::min(100, metar.visibilityTenthsOfMile().value_or(0)) / 10.0;
    obs.clouds = cloudsText(metar);

    // The program's own formulas, so the page's readings and the ones the program works out
    // when a page gives none agree.
    if (cirrolux::WindChillApplies(obs.temperatureF, obs.windMph) && metar.wind)
        obs.windChillF =
            static_cast<int>(std::lround(cirrolux::WindChillF(obs.temperatureF, obs.windMph)));
    if (obs.temperatureF >= 80 && metar.relativeHumidity()) {
        obs.heatIndexRow = cirrolux::Observation::HeatIndexRow::Value;
        obs.heatIndexF =
            static_cast<int>(std::lround(cirrolux::HeatIndexF(obs.temperatureF, obs.humidity)));
    }
    return obs;
}

// "30.12 in / 1020 hPa", each from the group that reports it: with both an A and a Q group the
// inches come from A and the hectopascals from Q, not one converted from the other.
std::string pressureHtml(const Metar& metar)
{
    char text[64];
    std::snprintf(text, sizeof text, "<b>%.2f</b>&nbsp;in / <b>%d</b>&nbsp;hPa",
                  *metar.pressureInHg(), *metar.pressureHpa());
    return text;
}

// "M1/4SM" as "under ¼": the program reads eight characters of the visibility row and takes
// '<' for markup ("&lt;" loses its '&'), so "less than" is said in a word, before the smallest
// Latin-1 quarter (below a mile) or whole mile at or above the reported bound.
std::optional<std::string> lessThanHtml(const Metar::Miles& miles)
{
    static constexpr std::array<const char*, 3> quarters{"\xBC", "\xBD", "\xBE"};
    const int quartersUp = (4 * miles.numerator + miles.denominator - 1) / miles.denominator;
    const int wholeUp = (miles.numerator + miles.denominator - 1) / miles.denominator;
    if (wholeUp > 9)
        return std::nullopt;
    const std::string bound = quartersUp <= 3
                                  ? quarters[static_cast<std::size_t>(std::max(quartersUp, 1) - 1)]
                                  : std::to_string(wholeUp);
    return "under&nbsp;" + bound + "&nbsp;mi";
}

// Puts `valueHtml` in the value cell of the row labelled `label`.
void replaceValue(std::string& html, std::string_view label, std::string_view valueHtml)
{
    const std::string start =
        "<td class=\"obsLabel\">" + std::string(label) + "</td>\n<td class=\"obsValue\">";
    const std::size_t at = html.find(start);
    if (at == std::string::npos)
        return;
    const std::size_t valueAt = at + start.size();
    const std::size_t end = html.find("</td></tr>", valueAt);
    if (end != std::string::npos)
        html.replace(valueAt, end - valueAt, valueHtml);
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
            // The census names are UTF-8, the page 8-bit Latin-1.
            const std::string city =
                QString::fromUtf8(where->first.data(), static_cast<qsizetype>(where->first.size()))
                    .toLatin1()
                    .toStdString();
            request.place = usPlace(Place::Kind::Zip, "zip/" + *zip, city, *state);
            request.region = std::string(state->code);
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
        request.region = std::string(state->code);
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
            request.station = m_index.forForeignPlace(name->first, name->second, number);
            request.region = name->second;
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
    const std::string title = cirrolux::escapeHtml(request.place.title);
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
            ": station " + cirrolux::escapeHtml(request.station->icao) + " has no current report";
    html += ".</p>\n</body>\n</html>\n";
    return html;
}

std::optional<StationReport> LiveConditions::currentReport(std::string_view stationFile,
                                                           std::string_view icao,
                                                           const QDateTime& nowUtc)
{
    auto report = MetarReader::readStationFile(stationFile);
    // A report without a temperature is no reading to show.
    if (!report || report->metar.missing || !report->metar.temperatureC)
        return std::nullopt;
    // Another station's report is not this place's weather.
    const QByteArray wanted =
        QByteArray(icao.data(), static_cast<qsizetype>(icao.size())).toUpper();
    if (QByteArray::fromStdString(report->metar.station) != wanted)
        return std::nullopt;
    const qint64 age = report->observedUtc.secsTo(nowUtc);
    if (age > MaxReportAgeSecs || age < -MaxClockSkewSecs)
        return std::nullopt;
    return report;
}

std::string LiveConditions::page(const LiveRequest& request, std::string_view stationFile,
                                 const QDateTime& nowUtc, std::string_view staleNote) const
{
    if (!request.station)
        return noStationPage(request);
    const auto report = currentReport(stationFile, request.station->icao, nowUtc);
    if (!report)
        return noStationPage(request);

    const Station& station = *request.station;
    const QTimeZone zone =
        request.place.kind == Place::Kind::Station
            ? LocalZone::forCountry(request.region, station.latitudeDeg, station.longitudeDeg)
            : LocalZone::forUsState(request.region, station.longitudeDeg);
    const Metar& metar = report->metar;
    cirrolux::Observation obs = observationOf(metar, report->observedUtc, zone);
    if (!staleNote.empty())
        obs.date += " " + std::string(staleNote);
    const QDate localDate = nowUtc.toTimeZone(zone).date();
    const SkyClock::Day sun =
        SkyClock::sun(localDate, zone, station.latitudeDeg, station.longitudeDeg);
    const SkyClock::Day moon =
        SkyClock::moon(localDate, zone, station.latitudeDeg, station.longitudeDeg);
    obs.sunrise = eventText(sun.rise, zone);
    obs.sunset = eventText(sun.set, zone);
    obs.moonRise = eventText(moon.rise, zone);
    obs.moonSet = eventText(moon.set, zone);
    const SkyClock::MoonPhase phase = SkyClock::moonPhase(nowUtc);
    obs.moonPhase = phase.name;
    obs.moonIlluminated = phase.illuminatedPercent;

    std::string html = cirrolux::ConditionsPageBuilder::page(request.place, obs);
    // Readings the report lacks are shown as such rather than as a made-up value.
    if (!metar.relativeHumidity()) {
        replaceValue(html, "Humidity", "<b>N/A</b>");
        replaceValue(html, "Dew Point", "<b>N/A</b>");
    }
    if (!metar.pressureInHg())
        replaceValue(html, "Pressure", "<b>N/A</b>");
    else
        replaceValue(html, "Pressure", pressureHtml(metar));
    if (!metar.visibilityMetres) {
        // Seven characters, as the fixed-width cut of the reading expects.
        replaceValue(html, "Visibility", "&nbsp;<b>N/A</b>&nbsp;&nbsp;&nbsp;");
    } else if (metar.visibilityBelow && metar.visibilityMiles) {
        if (const auto below = lessThanHtml(*metar.visibilityMiles))
            replaceValue(html, "Visibility", *below);
    }
    return html;
}

} // namespace cirrolux::gateway
