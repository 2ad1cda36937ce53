#include "livereports/EarthquakeBulletin.h"

#include "livereports/FailurePage.h"
#include "livereports/PageText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace cirrolux::livereports {

namespace {

// "2026-12-09T18:54:12.340Z" -> "2026/12/09 18:54:12"; other text: nothing.
std::string bulletinTime(std::string_view iso)
{
    if (iso.size() < 19 || iso[4] != '-' || iso[7] != '-' || iso[10] != 'T' || iso[13] != ':' ||
        iso[16] != ':')
        return {};
    std::string out(iso.substr(0, 19));
    out[4] = '/';
    out[7] = '/';
    out[10] = ' ';
    return ReportSafe(out);
}

bool number(std::string_view text, double& value)
{
    if (text.empty() || text.size() > 32)
        return false;
    const std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() + copy.size();
}

// Source text with the bulletin's markers made harmless: the window cuts on the first
// "Current Time:", "Click on an earthquake below" and "Explanation of earthquake", so a place
// name holding one would cut the table; its first letter in lower case no longer matches.
std::string withoutMarkers(std::string text)
{
    for (const std::string_view marker :
         {"Current Time:", "Click on an earthquake below", "Explanation of earthquake"}) {
        for (std::size_t at = text.find(marker); at != std::string::npos;
             at = text.find(marker, at + 1))
            text[at] = char(text[at] - 'A' + 'a');
    }
    return text;
}

// "19.41N", "155.28W"
std::string coordinate(double value, char positive, char negative)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%c", value < 0 ? -value : value,
                  value < 0 ? negative : positive);
    return text;
}

} // namespace

std::string EarthquakeBulletinPage(std::string_view usgsCsv, const QDateTime& now,
                                   std::string_view feedTitle, std::size_t maxEvents)
{
    const auto records = CsvRecords(usgsCsv);
    const auto failed = [](std::string_view why) {
        return FailurePage({"eb", FailureKind::SourceFailed, {}, why});
    };
    if (records.empty())
        return failed("the feed is empty");
    const std::vector<std::string>& header = records.front();
    const auto column = [&header](std::string_view name) {
        const auto it = std::find(header.begin(), header.end(), name);
        return it == header.end() ? std::size_t(-1) : std::size_t(it - header.begin());
    };
    const std::size_t time = column("time"), lat = column("latitude"), lon = column("longitude"),
                      depth = column("depth"), mag = column("mag"), magType = column("magType"),
                      place = column("place"), type = column("type");
    if (time == std::size_t(-1) || lat == std::size_t(-1) || lon == std::size_t(-1) ||
        depth == std::size_t(-1) || mag == std::size_t(-1) || place == std::size_t(-1))
        return failed("the feed lacks the fields of its published layout");
    const std::size_t needed = std::max({time, lat, lon, depth, mag, place});

    std::string rows;
    std::size_t shown = 0;
    for (std::size_t r = 1; r < records.size() && shown < maxEvents; ++r) {
        const std::vector<std::string>& row = records[r];
        if (row.size() <= needed)
            continue;
        if (type < row.size() && !row[type].empty() && row[type] != "earthquake")
            continue;
        double la = 0, lo = 0, de = 0, ma = 0;
        const std::string when = bulletinTime(row[time]);
        if (when.empty() || !number(row[lat], la) || !number(row[lon], lo) ||
            !number(row[depth], de) || !number(row[mag], ma))
            continue;
        char line[96];
        std::snprintf(line, sizeof line, "  %s %7s %8s %6.1f %4.1f %-3s  ", when.c_str(),
                      coordinate(la, 'N', 'S').c_str(), coordinate(lo, 'E', 'W').c_str(), de, ma,
                      magType < row.size() ? ReportSafe(row[magType]).substr(0, 3).c_str() : "");
        rows += line;
        rows += withoutMarkers(WithoutHttpPrefix(ReportSafe(Utf8ToLatin1(row[place])))) + "\n";
        ++shown;
    }

    std::string body = "USGS Earthquake Hazards Program: Near-Real Time Earthquake Bulletin\n\n";
    body += "Current Time: " +
            now.toUTC().toString(QStringLiteral("ddd MMM d HH:mm:ss 'UTC' yyyy")).toStdString() +
            "\n";
    body += withoutMarkers(WithoutHttpPrefix(ReportSafe(feedTitle))) + ", newest first\n\n";
    char heading[160];
    std::snprintf(heading, sizeof heading,
                  "  %-19s %7s %8s %6s %4s %-3s  %s\n  %-19s %7s %8s %6s\n", "DATE-(UTC)-TIME",
                  "LAT", "LON", "DEPTH", "MAG", "", "REGION", "yyyy/mm/dd hh:mm:ss", "\xB0", "\xB0",
                  "km");
    body += heading;
    body += rows.empty() ? "  No earthquakes in this period.\n" : rows;
    body += "\nClick on an earthquake below for more detail.\n\n";
    body += "Explanation of earthquake parameters\n"
            "DATE-(UTC)-TIME is the origin time in Coordinated Universal Time. LAT and LON give\n"
            "the epicentre in degrees (\xB0) north or south and east or west; DEPTH is the depth\n"
            "of the focus in kilometres. MAG is the magnitude with its type (ml local, md\n"
            "duration, mb body wave, mww moment W-phase). Events are automatic or reviewed\n"
            "locations of the U.S. Geological Survey and its contributing networks; automatic\n"
            "ones may change.\n";
    return ForecastPage(body,
                        "Source: U.S. Geological Survey, earthquake.usgs.gov real-time feeds");
}

} // namespace cirrolux::livereports
