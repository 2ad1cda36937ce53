#pragma once

#include <string>
#include <string_view>

namespace cirrolux::livereports {

// Mode "ss": the states ranked by average annual pay, from a BLS QCEW open-data annual CSV slice
// (data.bls.gov/cew/data/api/{year}/a/industry/10.csv: all industries). The CSV has a header row
// of field names (area_fips, own_code, industry_code, agglvl_code, ..., year, ..., avg_annual_pay,
// ...); the state rows are agglvl_code 50 with own_code 0 and area_fips "SS000". The national row
// (area_fips "US000", agglvl_code 10, own_code 0) is shown above the ranking when present.
// A CSV without those fields or without state rows gives the honest page.
std::string SalaryRankingsPage(std::string_view qcewCsv);

} // namespace cirrolux::livereports
