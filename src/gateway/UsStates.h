#pragma once

#include <optional>
#include <string_view>

namespace cirrolux::gateway {

// A US state, district or territory as the conditions pages name it.
struct UsState
{
    std::string_view code; // "MA"
    std::string_view name; // "Massachusetts"
    // The IANA zone of most of the state, and for states that two zones share, the zone west of
    // `westOfLongitude` (degrees east; the boundary is followed only roughly, by one meridian).
    std::string_view zone;
    std::string_view westZone;
    double westOfLongitude = -180.0;

    // The zone of a point in the state.
    std::string_view zoneAt(double longitudeDeg) const
    {
        return !westZone.empty() && longitudeDeg < westOfLongitude ? westZone : zone;
    }
};

// The state of a two-letter code in any letter case; nothing for an unknown code.
std::optional<UsState> FindUsState(std::string_view code);

} // namespace cirrolux::gateway
