#include "pagelayout/ConditionsPageBuilder.h"

#include "pagelayout/HtmlText.h"

#include <cmath>
#include <cstdio>

namespace cirrolux {

namespace {

std::string row(std::string_view labelHtml, std::string_view valueHtml)
{
    std::string html = "<tr><td class=\"obsLabel\">";
    html += labelHtml;
    html += "</td>\n<td class=\"obsValue\">";
    html += valueHtml;
    html += "</td></tr>\n";
    return html;
}

std::string temperatureHtml(int fahrenheit, int celsius)
{
    return "<b>" + std::to_string(fahrenheit) + "</b>&#176;F&nbsp;/&nbsp;<b>" +
           std::to_string(celsius) + "</b>&#176;C";
}

std::string temperatureHtml(int fahrenheit)
{
    return temperatureHtml(fahrenheit,
                           static_cast<int>(std::lround((fahrenheit - 32) * 5.0 / 9.0)));
}

std::string windHtml(const Observation& obs)
{
    if (obs.windMph == 0)
        return "<b>Calm</b>";
    // "NW at 20 mph" -> direction and speeds in bold, as the service prints them.
    std::string html;
    std::string word;
    auto flush = [&html, &word] {
        const bool strong = !word.empty() && word != "at" && word != "mph" && word != "mph," &&
                            word != "gusting" && word != "to";
        html += strong ? "<b>" + word + "</b>" : word;
        word.clear();
    };
    for (const char c : obs.wind) {
        if (c == ' ') {
            flush();
            html += ' ';
        } else {
            word += c;
        }
    }
    flush();
    return html;
}

std::string moonIcon(const Observation& obs)
{
    return "<img src=\"/images/moon/" + std::to_string(obs.moonIlluminated / 10) +
           ".gif\" width=\"16\" height=\"16\" alt=\"\" align=\"absmiddle\">";
}

std::string pageHead(std::string_view titleHtml)
{
    std::string html = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                       "<html>\n<head>\n<title>Weather Underground: ";
    html += titleHtml;
    html += " Weather Forecast</title>\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
            "<meta http-equiv=\"Refresh\" content=\"1800\">\n"
            "<link rel=\"stylesheet\" type=\"text/css\" href=\"/css/wu.css\">\n"
            "</head>\n"
            "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#003399\" vlink=\"#663366\">\n"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"2\">\n"
            "<tr><td><a href=\"/\"><img src=\"/images/wu_logo.gif\" width=\"185\" height=\"44\" "
            "border=\"0\" alt=\"Weather Underground\"></a></td>\n"
            "<td align=\"right\"><form action=\"/cgi-bin/findweather/getForecast\" "
            "method=\"get\">Find the weather for any city, state or zip code: "
            "<input type=\"text\" name=\"query\" size=\"20\"> "
            "<input type=\"submit\" value=\"Go\"></form></td></tr>\n"
            "</table>\n";
    return html;
}

constexpr std::string_view kFooter =
    "<hr size=\"1\" noshade>\n"
    "<p class=\"footer\"><a href=\"/about/\">About Us</a> | <a href=\"/members/\">Members</a> | "
    "<a href=\"/privacy.html\">Privacy Policy</a> | <a href=\"#top\">Top of Page</a><br>\n"
    "&copy; Copyright 2005 The Weather Underground, Inc.</p>\n"
    "</body>\n</html>\n";

} // namespace

std::string ConditionsPageBuilder::temperatureText(int fahrenheit, int celsius)
{
    return std::to_string(fahrenheit) +
           "\xB0"
           "F / " +
           std::to_string(celsius) +
           "\xB0"
           "C";
}

std::string ConditionsPageBuilder::pressureText(double inches)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.2f in / %ld hPa", inches, std::lround(inches * 33.8639));
    return text;
}

std::string ConditionsPageBuilder::visibilityText(double miles)
{
    // Always seven characters, so the fixed-width cut of the reading ends on the row's space.
    char text[16];
    std::snprintf(text, sizeof text, "%4.1f mi", miles);
    return text;
}

std::string ConditionsPageBuilder::page(const Place& place, const Observation& obs)
{
    const std::string title = escapeHtml(place.title);
    std::string html = pageHead(title);

    html += "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"3\">\n"
            "<tr><td class=\"navBar\"><a href=\"/\">Home</a> &gt; ";
    switch (place.kind) {
    case Place::Kind::UsCity:
    case Place::Kind::Zip:
        html += "<a href=\"/US/\">US</a> &gt; ";
        break;
    case Place::Kind::Station:
        html += "<a href=\"/global/\">Global</a> &gt; ";
        break;
    }
    html += escapeHtml(place.breadcrumb) + " &gt; " + escapeHtml(place.observed) +
            "</td></tr>\n</table>\n";
    html += "<h1>" + title + "</h1>\n";

    html += "<table class=\"obsTable\" width=\"440\" border=\"1\" cellspacing=\"0\" "
            "cellpadding=\"3\" bordercolor=\"#996633\">\n";
    html += "<tr><td class=\"obsHead\" colspan=\"2\"><b>Current Conditions at " +
            escapeHtml(place.observed) + "</b></td></tr>\n";
    // The update line: label, a short tag, the time, then " on" and the date.
    html += "<tr><td class=\"obsUpdated\" colspan=\"2\">\nUpdated: <b>" + obs.time + " on " +
            obs.date + "</b></td></tr>\n";

    html += row("Temperature", temperatureHtml(obs.temperatureF, obs.temperatureC));
    if (obs.windChillF)
        html += row("Windchill", temperatureHtml(*obs.windChillF));
    switch (obs.heatIndexRow) {
    case Observation::HeatIndexRow::Value:
        html += row("Heat<br>Index", temperatureHtml(obs.heatIndexF));
        break;
    case Observation::HeatIndexRow::Empty:
        html += row("Heat<br>Index", "");
        break;
    case Observation::HeatIndexRow::Missing:
        break;
    }
    // A one-digit humidity is padded, so its four characters end on the row's space.
    html += row("Humidity", "<b>" + std::to_string(obs.humidity) + "%</b>" +
                                (obs.humidity < 10 ? "&nbsp;" : ""));
    html += row("Dew Point", temperatureHtml(obs.dewPointF, obs.dewPointC));
    html += row("Wind", windHtml(obs));
    char pressure[24];
    std::snprintf(pressure, sizeof pressure, "%.2f", obs.pressureIn);
    html += row("Pressure", "<b>" + std::string(pressure) + "</b>&nbsp;in / <b>" +
                                std::to_string(std::lround(obs.pressureIn * 33.8639)) +
                                "</b>&nbsp;hPa");
    html += row("Conditions", "<b>" + obs.sky + "</b>");
    // Short numbers are padded to the width of "10.0", as the service lines them up.
    char visibility[16];
    std::snprintf(visibility, sizeof visibility, "%.1f", obs.visibilityMiles);
    const std::string padding = std::string_view(visibility).size() < 4 ? "&nbsp;" : "";
    html += row("Visibility", padding + "<b>" + visibility + "</b>&nbsp;mi");
    html += row("Clouds", obs.clouds);
    html += row("Sunrise", obs.sunrise);
    html += row("Sunset", obs.sunset);
    html += row("Moon Rise", obs.moonRise);
    html += row("Moon Set", obs.moonSet);
    html +=
        row("Moon Phase", moonIcon(obs) + "&nbsp;" + obs.moonPhase + ", " +
                              std::to_string(obs.moonIlluminated) + "% of the Moon is Illuminated");
    html += "</table>\n";
    html += place.kind == Place::Kind::Station
                ? "<p class=\"credit\">Observations from the World Meteorological Organization "
                  "station network.</p>\n"
                : "<p class=\"credit\">Observations from the National Weather Service.</p>\n";
    html += kFooter;
    return html;
}

std::string ConditionsPageBuilder::searchPage(std::string_view query)
{
    std::string html =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        "<html>\n<head>\n<title>Weather Underground: Search Results</title>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        "</head>\n<body bgcolor=\"#FFFFFF\" text=\"#000000\">\n"
        "<h1>Search Results</h1>\n<p>There are no cities that match your search for <b>";
    html += escapeHtml(query);
    html += "</b>.</p>\n<p>Please enter a city and state, or a five-digit US zip code.</p>\n";
    html += kFooter;
    return html;
}

} // namespace cirrolux
