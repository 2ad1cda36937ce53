#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cirrolux::livereports {

// Modes "s1", "s2" and "si" from the Census Data API's American Community Survey 5-year tables
// (api.census.gov/data/{year}/acs/acs5). The API answers a JSON array of rows, the first naming
// the columns ("NAME", variables, then the geography: "state" or "zip code tabulation area"),
// every value a string. Negative "annotation" values (-666666666 and the like) mean no estimate.
// The API needs a key; without one the gateway shows CensusNoKeyPage.

// One variable of the detail pages.
struct CensusVariable
{
    std::string_view name;  // "B01003_001E"
    std::string_view label; // "Total population"
    bool dollars = false;
};

// The variables of the "s1" and "s2" pages, in page order.
std::span<const CensusVariable> CensusDetailVariables();
// "NAME,B01003_001E,...": the get= list of a detail query.
std::string CensusDetailGetList();

// "s1" (one state) or "s2" (one ZIP code tabulation area) from the API's answer; `acsYear` is the
// last year of the 5-year estimates (2023: "2019-2023"). An answer that is not such JSON, or has
// no data row, gives the honest page; the API's "Invalid Key" answer gives the key page.
std::string CensusDetailPage(std::string_view mode, std::string_view json, int acsYear);

// "si": median household income (B19013_001E) of every state, ranked, from the answer to
// get=NAME,B19013_001E&for=state:*. Rows of places that are not one of the 50 states and the
// District of Columbia are left out.
std::string CensusIncomePage(std::string_view json, int acsYear);

// The honest page for a gateway without a Census key: how to get a free key and give it to the
// gateway (--census-key / CIRROLUX_CENSUS_KEY). `subject` names what was asked (may be empty).
std::string CensusNoKeyPage(std::string_view mode, std::string_view subject);

} // namespace cirrolux::livereports
