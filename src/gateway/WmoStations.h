#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cirrolux::gateway {

// One row of the WMO station table: a five-digit WMO station number of the location catalogue
// and the METAR station that reports for its place.
struct WmoStation
{
    std::string number; // "62366"
    std::string icao;   // "HECA"
    // True when NOAA's lists give this ICAO code to the WMO station itself ("wmo", "isd");
    // false when it is only the METAR station nearest the WMO station ("nearest") or nearest
    // the station of the place's name ("byname").
    bool sameSite = false;
};

// The table as compiled in from data/wmo-stations.tsv (written by tools/wmostations).
std::string_view WmoStationsText();

// The rows of a table in that file's form: "number<TAB>icao<TAB>how<TAB>...", '#' comments.
// Lines without a five-digit number, a four-character code and a known "how" are skipped.
std::vector<WmoStation> ReadWmoStations(std::string_view text);

} // namespace cirrolux::gateway
