#pragma once

#include <span>
#include <string_view>

namespace cirrolux::livereports {

// The 50 states and the District of Columbia, as the forecast window's state list has them.
struct StateRow
{
    std::string_view fips; // "25"
    std::string_view code; // "MA"
    std::string_view name; // "Massachusetts"
};

// In FIPS code order.
std::span<const StateRow> States();
// By two-letter code (any letter case) or FIPS code; null when unknown.
const StateRow* FindStateByCode(std::string_view code);
const StateRow* FindStateByFips(std::string_view fips);
const StateRow* FindStateByName(std::string_view name); // exact, any letter case

} // namespace cirrolux::livereports
