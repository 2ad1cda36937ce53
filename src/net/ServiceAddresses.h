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

} // namespace ServiceAddresses
} // namespace cirrolux
