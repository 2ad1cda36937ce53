#include "pagelayout/Place.h"

namespace cirrolux {

Place usPlaceNamed(Place::Kind kind, std::string key, const std::string& city,
                   std::string_view stateName, std::string_view stateCode)
{
    Place place;
    place.kind = kind;
    place.key = std::move(key);
    place.title = city + ", " + std::string(stateName);
    place.observed = city + ", " + std::string(stateCode);
    place.breadcrumb = std::string(stateName);
    return place;
}

} // namespace cirrolux
