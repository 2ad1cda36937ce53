#pragma once

#include "pagelayout/Place.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace cirrolux::servicesim {

// Names a station by its 5-digit number: city and country (or region), or nothing when the
// number is not known. The program's location catalogue is the natural source.
using StationDirectory =
    std::function<std::optional<std::pair<std::string, std::string>>(const std::string& number)>;

// A zip code the emulator knows by name.
struct ZipEntry
{
    std::string_view zip;
    std::string_view city;
    std::string_view stateCode;
};

// Turns the three kinds of conditions page address into places with a title and a climate.
class PlaceDirectory
{
public:
    // Without a directory, every station is named "Station <number>, Unknown".
    void setStationDirectory(StationDirectory directory);

    // A US city page; `city` as in the address (underscores for spaces). Nothing for a state code
    // that is not one of the 50 states, DC, PR or VI, or for an empty city.
    std::optional<Place> usCity(std::string_view stateCode, std::string_view city) const;
    // Any 5-digit zip code. Codes not in zipTable() are given one of its cities, always the same.
    std::optional<Place> zip(std::string_view zip) const;
    // Any 5-digit station number.
    std::optional<Place> station(std::string_view number) const;

    // Full name of a state code ("MA" -> "Massachusetts"), any letter case.
    static std::optional<std::string> stateName(std::string_view code);
    static std::span<const ZipEntry> zipTable();
    // The two-letter codes the emulator has pages for.
    static std::span<const std::string_view> stateCodes();

private:
    StationDirectory m_stations;
};

} // namespace cirrolux::servicesim
