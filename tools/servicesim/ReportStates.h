#pragma once

#include <span>
#include <string_view>

namespace cirrolux::servicesim {

// A US state (or the District of Columbia) as the report sites know it: its code, name, FIPS
// number, the NWS office that writes its zone forecasts, and a few of its counties (upper case,
// as the forecasts write them).
struct ReportState
{
    std::string_view code;
    std::string_view name;
    std::string_view fips;
    std::string_view office;     // three-letter office id
    std::string_view officeCity; // "TAUNTON MA"
    std::span<const std::string_view> counties;
};

std::span<const ReportState> ReportStates();
// By code, any letter case; null when unknown.
const ReportState* FindReportState(std::string_view code);
// By two-digit FIPS number; null when unknown.
const ReportState* FindReportStateByFips(std::string_view fips);

} // namespace cirrolux::servicesim
