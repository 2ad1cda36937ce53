// Feeds arbitrary bytes to a conditions request as its location key (a preset caption, the
// start-up location or a key read back from the settings file): the key is split into its
// location parts with the catalogue's state-name table, and foreign keys are looked up in the
// station table. The parts must be cut from the key as a request relies on.
#include "conditions/ConditionsRequest.h"
#include "locations/LocationCatalogue.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string replaced(std::string text, char from, char to)
{
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string key(reinterpret_cast<const char*>(data), size);
    SharedState state;
    state.currentLocationKey = key;
    // Parts of the previous request, which the split must overwrite or leave as they were.
    state.locationGroup = "old group";
    state.locationCity = "old city";
    state.stateCode = "old code";
    ConditionsRequest::SplitLocationKey(state, StateNameToCode);
    require(state.currentLocationKey == key);

    const std::size_t comma = key.find(',');
    const std::string afterComma =
        comma == std::string::npos || comma + 2 > key.size() ? "" : key.substr(comma + 2);
    const std::string city = comma == std::string::npos ? key : key.substr(0, comma);

    if (!key.empty() && isDigit(key.front())) {
        // A zip code and the city and state after it.
        require(state.locationZip == key.substr(0, 5));
        require(state.locationState == afterComma);
        require(state.locationGroup.empty());
        return 0;
    }
    require(state.locationZip.empty());

    const std::size_t paren = key.find('(');
    if (paren != std::string::npos && paren >= 1) {
        // A foreign place: "City, Region (O)".
        require(state.locationCity == replaced(city, '_', ' '));
        require(state.locationState.ends_with("(O)"));
        require(state.locationState.size() <= afterComma.size() + 3);
        require(state.locationGroup.empty());

        SilentUserInterface ui;
        LookupStation(state, ui);
        require(ui.messages <= 1);
        if (!state.stationNumber.empty() && state.stationNumber != "n/a") {
            // A station of the table, which names the page to fetch.
            const auto rows = StationTable();
            require(std::ranges::any_of(rows, [&](const StationEntry& row) {
                return row.number == state.stationNumber && row.city == state.locationCity;
            }));
            require(std::all_of(state.stationNumber.begin(), state.stationNumber.end(),
                                [](char c) { return isDigit(c) || (c >= 'A' && c <= 'Z'); }));
        }
        return 0;
    }

    // A US place: "City, ST" or "City, State Name".
    require(state.locationGroup == "US");
    require(state.locationCity == replaced(city, ' ', '_'));
    if (afterComma.size() > 2) {
        require(state.locationTitle == state.locationCity + "," + afterComma);
        require(state.locationState == state.stateCode);
    } else {
        require(state.locationState == afterComma);
    }
    return 0;
}
