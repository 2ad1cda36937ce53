#include "locations/CatalogueStations.h"

#include "locations/LocationCatalogue.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"

#include <map>
#include <memory>

namespace cirrolux {

CatalogueStationMap CatalogueStationNumbers()
{
    CatalogueStationMap names;
    SilentUserInterface ui;
    std::string continent, country, province;
    for (const TreeNode& node : LocationTree()) {
        const std::string text(node.text);
        std::string region;
        if (node.depth == 1)
            continent = text;
        else if (node.depth == 2)
            country = text;
        else if (node.depth == 3 && continent == "North America")
            province = text;
        else if (node.depth == 3)
            region = country;
        else if (node.depth == 4 && country == "Canada")
            region = province;
        if (region.empty())
            continue;

        SharedState state;
        state.locationCity = text;
        for (char& c : state.locationCity) {
            if (c == '_')
                c = ' ';
        }
        state.locationState = region + " (O)";
        LookupStation(state, ui);
        if (state.stationNumber.size() == 5)
            names.try_emplace(state.stationNumber, state.locationCity, region);
    }
    return names;
}

CatalogueStationNames CatalogueStationDirectory()
{
    auto names = std::make_shared<const CatalogueStationMap>(CatalogueStationNumbers());
    return
        [names](const std::string& number) -> std::optional<std::pair<std::string, std::string>> {
            const auto found = names->find(number);
            if (found == names->end())
                return std::nullopt;
            return found->second;
        };
}

} // namespace cirrolux
