#pragma once

#include <string>
#include <string_view>

namespace cirrolux::livereports {

// Mode "ap": the EPA Green Book's "Current Nonattainment Counties for All Criteria Pollutants"
// page (www3.epa.gov/airquality/greenbook/ancl.html), a listing by state, county, then pollutant,
// as the window's fixed-width table: for each state with a nonattainment county, how many of its
// counties are designated nonattainment for each pollutant.
//
// The page's table is read by its header row: the column whose heading names the county, the one
// that names the pollutant or standard (NAAQS), and a "State" column when there is one; without
// it, a row whose first cell is a state's name (optionally followed by "(Region ...)") starts
// that state's rows. The "Data is current as of ..." sentence is kept. A page without such a
// table gives the honest page.
std::string AirQualityPage(std::string_view greenBookHtml);

} // namespace cirrolux::livereports
