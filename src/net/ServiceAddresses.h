#pragma once

#include <array>
#include <string_view>

namespace cirrolux {

// Base addresses of the outside services the program calls. The service emulator answers for
// every host named here, so tests and the run script reach it through the ordinary proxy settings.
namespace ServiceAddresses {

// Conditions service; ends in "/".
inline constexpr std::string_view ConditionsBase = "http://www.wunderground.com/";
// The maker's web server (usage counter, version file, regional radar); no trailing "/".
inline constexpr std::string_view MakerSite = "http://www.cirrolux.net";
// Paths on the maker's server.
inline constexpr std::string_view UsageCounterPath = "/assets/CirroluxCount.txt";
inline constexpr std::string_view VersionFilePath = "/assets/cirroluxvs.txt";
// The maker's support address, named in some messages.
inline constexpr std::string_view SupportMail = "support@cirrolux.net";

// Report providers of the forecast window; each ends in "/".
inline constexpr std::string_view NwsBase = "http://iwin.nws.noaa.gov/";
inline constexpr std::string_view EpaBase = "http://www.epa.gov/";
inline constexpr std::string_view UsdaNassBase = "http://www.nass.usda.gov/";
inline constexpr std::string_view CensusRanksBase = "http://www.census.gov/";
inline constexpr std::string_view CensusLookupBase = "http://venus.census.gov/";
inline constexpr std::string_view UsgsNeicBase = "http://neic.usgs.gov/";

} // namespace ServiceAddresses
} // namespace cirrolux
