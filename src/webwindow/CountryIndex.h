#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cirrolux {

// The country list of the web page window, read from the Factbook's country index page.
//
// The scan skips the first 98 characters of the page, then takes one entry per link
// `<a href="xx...">Name</a>`: the two characters after the link's opening quote are the code,
// the text between the first `">` found 30 characters or more after the link's start and the
// next "</a>" is the name. It stops at the first link, `">` or "</a>" it cannot find, and after
// a link that starts the text still to scan. Each entry is written code + "," + name.
//
// A code is used in file names and addresses, so an entry whose code is not two ASCII letters or
// digits (a hostile page could offer "..") is left out. Never reads outside `page`.
std::vector<std::string> ParseCountryIndex(std::string_view page);

// True for two ASCII letters or digits: the only codes the window requests.
bool IsCountryCode(std::string_view code);

} // namespace cirrolux
