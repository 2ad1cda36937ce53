#pragma once

#include <string>
#include <string_view>

namespace cirrolux::livereports {

// Mode "usfi": the NIFC's Incident Management Situation Report. NIFC publishes it as a PDF
// (www.nifc.gov/nicc-files/sitreprt.pdf); this takes the text already extracted from it (UTF-8,
// pages separated by form feeds, as poppler's text output gives it) and lays it out as a page for
// the web page window: the report's own layout kept in a preformatted block, pages divided by a
// rule, no images. Text with nothing in it gives the honest page.
std::string FireReportPage(std::string_view reportText);

} // namespace cirrolux::livereports
