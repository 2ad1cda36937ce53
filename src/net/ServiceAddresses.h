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
// CIA World Factbook (country index, pages, flags, maps) and NIFC (fire report); no trailing "/".
inline constexpr std::string_view FactbookSite = "http://www.odci.gov";
inline constexpr std::string_view FireReportSite = "http://www.nifc.gov";
inline constexpr std::string_view FactbookPath = "/cia/publications/factbook/";
inline constexpr std::string_view FireReportPath = "/news/sitreprt.html";
// The maker's web site and support address, opened from the about box.
inline constexpr std::string_view MakerHomePage = "http://www.cirrolux.net/";
// The maker's support address, named in some messages.
inline constexpr std::string_view SupportMail = "support@cirrolux.net";

} // namespace ServiceAddresses
} // namespace cirrolux
