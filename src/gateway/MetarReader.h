#pragma once

#include "Metar.h"

#include <QDateTime>

#include <optional>
#include <string_view>

namespace cirrolux::gateway {

// A NOAA station file: the observation time line and the raw report.
struct StationReport
{
    QDateTime observedUtc;
    Metar metar;
};

// Reads raw METAR/SPECI reports in the WMO FM 15 code with the US (FMH-1) forms: station, time,
// AUTO/COR, wind, visibility (metres or statute miles, CAVOK), runway visual range (skipped),
// present weather, sky layers, temperature and dew point, altimeter or QNH. Remarks (RMK) and
// trend groups are not read; groups it does not know are passed over. Never reads past the text.
class MetarReader
{
public:
    // The report, or nothing when it has no station identifier first.
    static std::optional<Metar> read(std::string_view report);

    // A station file of NOAA's observation directory: "2026/12/09 18:54\nKBOS 091854Z ...\n".
    // Nothing when the time line or the report does not read.
    static std::optional<StationReport> readStationFile(std::string_view file);
};

} // namespace cirrolux::gateway
