#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace cirrolux {

// Names a foreign station by its five-digit WMO number: city and country (or Canadian
// province); nothing for a number the catalogue does not hold.
using CatalogueStationNames =
    std::function<std::optional<std::pair<std::string, std::string>>(const std::string& number)>;

// Every foreign station of the program's location catalogue by its WMO number, with the city (with
// spaces) and the country or Canadian province the tree lists it under.
using CatalogueStationMap = std::map<std::string, std::pair<std::string, std::string>>;
CatalogueStationMap CatalogueStationNumbers();

// Names each station of the program's location catalogue as the tree offers it: the city with
// spaces and the country or province it sits under, so a page title ("Nairobi, Kenya") turns
// back into a preset the program can fetch again ("Nairobi, Kenya (O)").
CatalogueStationNames CatalogueStationDirectory();

} // namespace cirrolux
