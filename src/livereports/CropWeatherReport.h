#pragma once

#include <QDate>

#include <string>
#include <string_view>

namespace cirrolux::livereports {

struct StateRow;

// Mode "cw": a state's rows of USDA NASS's weekly national Crop Progress report in its text form
// (the .txt release on the USDA ESMIS library). That report is a series of fixed-width tables,
// each a title line ("Corn Planted - Selected States: Week Ending May 5, 2024"), an optional
// bracketed note, a heading block between lines of dashes, and one row per state
// ("Illinois .......:     44     13 ...") ending in a line of dashes.
//
// The page keeps the release line, then for every table with a row for the state: the title, the
// heading block and that row, in the report's own fixed-width layout. `today` decides the season:
// from December to March, when no weekly report is published, the honest out-of-season page is
// given whatever the text holds; a report without a row for the state gives the honest page too.
std::string CropWeatherPage(std::string_view cropProgressText, const StateRow& state, QDate today);

// True from April to November, when NASS publishes the weekly report.
bool CropProgressInSeason(QDate day);

// The address of the release's text file in ESMIS's answer for the latest Crop Progress release
// (usda.library.cornell.edu/api/v1/release/findByIdentifier/CropProg?latest=true, JSON): the first
// ".txt" address on ESMIS's file server (downloads.usda.library.cornell.edu). Empty when the answer
// is not JSON or names none there; an address on any other host is never followed.
std::string CropProgressTextAddress(std::string_view releaseJson);

} // namespace cirrolux::livereports
