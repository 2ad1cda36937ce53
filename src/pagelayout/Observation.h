#pragma once

#include <QDateTime>

#include <optional>
#include <string>

namespace cirrolux {

// One hourly observation of a place, as the conditions page shows it. Texts are 8-bit; the
// degree sign, where one appears, is '\xB0'.
struct Observation
{
    // How the page treats the heat index row.
    enum class HeatIndexRow {
        Value,   // the row with the page's own heat index
        Empty,   // the row is there but its value cell is empty
        Missing, // no such row
    };

    QDateTime observedUtc; // the hour's observation time, always at minute 51
    std::string time;      // local time and zone: "3:51 PM EST"
    std::string date;      // local date: "January 12, 2005"
    int temperatureF = 0;
    int temperatureC = 0;
    HeatIndexRow heatIndexRow = HeatIndexRow::Missing;
    int heatIndexF = 0;            // meaningful with HeatIndexRow::Value
    std::optional<int> windChillF; // the page shows a wind chill row when set
    int humidity = 0;              // percent, 5..100
    int dewPointF = 0;
    int dewPointC = 0;
    int windMph = 0;  // 0 when calm
    std::string wind; // "Calm", "NW at 12 mph", "WNW at 24 mph, gusting to 35 mph"
    double pressureIn = 30.0;
    std::string sky; // "Mostly Cloudy", "Light Snow", ...
    double visibilityMiles = 10.0;
    std::string clouds;  // "Scattered 3500 ft"
    std::string sunrise; // "7:07 AM EST", "-" when the sun does not rise that day
    std::string sunset;
    std::string moonRise;
    std::string moonSet;
    std::string moonPhase;   // "Waxing Crescent"
    int moonIlluminated = 0; // percent

    bool operator==(const Observation&) const = default;
};

} // namespace cirrolux
