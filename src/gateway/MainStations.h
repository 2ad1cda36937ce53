#pragma once

#include <span>
#include <string_view>

namespace cirrolux::gateway {

// A city's main reporting station, chosen by hand where the general rule of StationIndex would
// pick a smaller field of the same name (Chicago Midway, Atlanta Fulton County, Madrid Getafe)
// or where no station description names the city (Oklahoma City's Will Rogers World Airport).
struct MainStation
{
    std::string_view region; // a US state code ("NY") or the catalogue's country or province
    std::string_view city;   // as the catalogue writes it ("New_York", "Toronto Int. Arpt")
    std::string_view icao;
};

// The hand-checked table, compiled in.
std::span<const MainStation> MainStations();

} // namespace cirrolux::gateway
