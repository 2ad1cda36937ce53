#pragma once

#include "PlaceDirectory.h"

namespace cirrolux::servicesim {

// Names each station of the program's location catalogue as the tree offers it: the city with
// spaces and the country or province it sits under, so a page title ("Nairobi, Kenya") turns
// back into a preset the program can fetch again ("Nairobi, Kenya (O)").
StationDirectory CatalogueStationDirectory();

} // namespace cirrolux::servicesim
