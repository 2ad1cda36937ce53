#pragma once

#include "MetarReader.h"
#include "StationIndex.h"
#include "pagelayout/Place.h"

#include <QDateTime>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace cirrolux::gateway {

// Names a foreign station by its five-digit WMO number: city and country (or Canadian
// province), as the program's location catalogue offers it; nothing for an unknown number.
using StationNames =
    std::function<std::optional<std::pair<std::string, std::string>>(const std::string& number)>;

// What a conditions request asks for: the place the page is titled after, and the reporting
// station whose observation it shows (none when the place has no live station).
struct LiveRequest
{
    cirrolux::Place place;
    std::optional<Station> station;
    // The US state code ("MA") or the country ("Kenya") the place lies in: it chooses the
    // local time zone.
    std::string region;
};

// Turns the program's conditions requests into pages from live observations. Pure: the caller
// fetches the station file and caches pages.
class LiveConditions
{
public:
    // `index` must outlive this object; `names` may be empty (foreign stations then have none).
    LiveConditions(const StationIndex& index, StationNames names);

    // The place and station behind a request of the three conditions forms, path and query of
    // the address ("/US/MA/Boston.html", "/cgi-bin/findweather/getForecast?query=02134",
    // "/global/stations/03772.html") or the whole proxy-form address. Nothing when the address
    // is not a conditions page; a request whose place has no station comes back without one.
    std::optional<LiveRequest> resolve(std::string_view pathAndQuery) const;

    // The conditions page from a NOAA station file ("2026/12/09 18:54\nKBOS 091854Z ...\n"),
    // with sun and moon times for the station's position and local date of `nowUtc`.
    // `staleNote` (empty when fresh) is added to the "Updated:" line of a page served from the
    // cache after an upstream failure. A file that does not decode gives noStationPage().
    std::string page(const LiveRequest& request, std::string_view stationFile,
                     const QDateTime& nowUtc, std::string_view staleNote = {}) const;

    // The page for a place without a live station (or without a current report): the title the
    // program names the place by, a "No live station for ..." text, and no "Updated:" line, so
    // the program's parser gives its usual message and shows no made-up readings.
    std::string noStationPage(const LiveRequest& request) const;

    // The report of a NOAA station file when it is the current observation of station `icao`
    // at `nowUtc`: it reads, is no NIL report, has a temperature, names that station, is at
    // most MaxReportAgeSecs old and at most MaxClockSkewSecs ahead of the clock. Nothing
    // otherwise: the place then gets noStationPage(), never another station's or an old reading.
    static std::optional<StationReport>
    currentReport(std::string_view stationFile, std::string_view icao, const QDateTime& nowUtc);

    // How old an observation may be and still be shown; older means the station stopped
    // reporting. Six hours lets the stations that report every three hours through a late
    // report.
    static constexpr qint64 MaxReportAgeSecs = 6 * 3600;
    // How far a report may be dated ahead of this machine's clock (a clock a few minutes slow);
    // beyond it the file is wrong, not current.
    static constexpr qint64 MaxClockSkewSecs = 10 * 60;

private:
    const StationIndex& m_index;
    StationNames m_names;
};

} // namespace cirrolux::gateway
