#pragma once

#include <string>

namespace cirrolux::gateway {

// A reporting station of NOAA's observation network.
struct Station
{
    std::string icao;        // "KBOS"
    std::string description; // "Boston Logan International, MA, United States"
    double latitudeDeg = 0;  // north positive
    double longitudeDeg = 0; // east positive
    std::string zone;        // the nearest NWS forecast zone, "maz015", or "" abroad

    bool operator==(const Station&) const = default;
};

} // namespace cirrolux::gateway
