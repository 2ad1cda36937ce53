// The honest pages (source failed, nothing issued, no key, out of season) as the user reads them
// through the program's own extraction.
#include "ProgramExtraction.h"

#include "livereports/AirQualityReport.h"
#include "livereports/CensusReport.h"
#include "livereports/CropWeatherReport.h"
#include "livereports/EarthquakeBulletin.h"
#include "livereports/FactbookPages.h"
#include "livereports/FailurePage.h"
#include "livereports/FireReport.h"
#include "livereports/NwsTextReport.h"
#include "livereports/SalaryRankings.h"
#include "livereports/StateTable.h"

#include <functional>

namespace cirrolux::livereports {
namespace {

using cirrolux::testing::ForecastWindowText;
using cirrolux::testing::ReadTestFile;
using cirrolux::testing::WebWindowText;
using cirrolux::testing::WithLf;

constexpr const char* Ending = "\n\n--- End of File --\nThanks for using Cirrolux...";

struct FailureCase
{
    const char* name;
    const char* mode;
    std::function<std::string()> page;
    std::string expected; // as read, CR LF as LF
};

const std::vector<FailureCase>& cases()
{
    const StateRow& ma = *FindStateByCode("MA");
    static const std::vector<FailureCase> list{
        {"p_source_failed", "p",
         [] {
             return FailurePage({"p", FailureKind::SourceFailed, "Massachusetts", "timed out"});
         },
         " Sorry, this MA information is not currently available.\n--- End of File --"},
        {"h_nothing_issued", "h", [ma] { return NwsStatePage("h", ma, {}); },
         " Sorry, this MA information is not currently available.\n--- End of File --"},
        {"ap_page_without_table", "ap",
         [] { return AirQualityPage("<html><body><p>Page moved</p></body></html>"); },
         " Sorry, this MA information is not currently available.\n--- End of File --"},
        {"cw_out_of_season", "cw",
         [] {
             return CropWeatherPage(ReadTestFile("cropprog_2026-05-04.txt"), *FindStateByCode("IL"),
                                    QDate(2026, 12, 10));
         },
         std::string("Sorry, there is no crop weather report for Illinois at this time of year.\n\n"
                     "USDA NASS publishes its weekly Crop Progress report from April to November;\n"
                     "from December to March there is no weekly report. The first one of the new\n"
                     "season comes out in early April.\n\nCirrolux gateway") +
             Ending},
        {"cw_state_without_rows", "cw",
         [] {
             return CropWeatherPage(ReadTestFile("cropprog_2026-05-04.txt"), *FindStateByCode("AK"),
                                    QDate(2026, 5, 5));
         },
         std::string("Sorry, USDA NASS has no crop weather report for Alaska (this week's national "
                     "Crop Progress report has no rows for it).\n\nCirrolux gateway") +
             Ending},
        {"s1_no_key", "s1", [] { return CensusNoKeyPage("s1", "Massachusetts"); },
         std::string(
             "Sorry, the census detail by state for Massachusetts needs a free key from the U.S. "
             "Census Bureau.\n\n"
             "Census information comes from the U.S. Census Bureau's Data API, which since May "
             "2026\n"
             "answers only requests that carry a key. The key is free:\n\n"
             "  1. Ask for one at api.census.gov/data/key_signup.html (one key per e-mail\n"
             "     address); it comes by e-mail within minutes.\n"
             "  2. Give it to the Cirrolux gateway, either with the option\n"
             "         cirrolux-gateway --census-key YOUR-KEY\n"
             "     or in the gateway's environment as\n"
             "         CIRROLUX_CENSUS_KEY=YOUR-KEY\n"
             "  3. Restart the gateway and open this report again.\n\n"
             "The gateway keeps the key to itself: it is never written into a page or a log.\n\n"
             "Cirrolux gateway") +
             Ending},
        {"si_key_refused", "si",
         [] {
             return CensusIncomePage("<html><body><h1>Invalid Key</h1><p>A valid <em>key</em> must "
                                     "be included with each data API request.</p></body></html>",
                                     2024);
         },
         std::string("Sorry, the median household income by state needs a free key from the U.S. "
                     "Census Bureau (the key given to the gateway was refused).\n\n") +
             "Census information comes from the U.S. Census Bureau's Data API, which since May "
             "2026\n"
             "answers only requests that carry a key. The key is free:\n\n"
             "  1. Ask for one at api.census.gov/data/key_signup.html (one key per e-mail\n"
             "     address); it comes by e-mail within minutes.\n"
             "  2. Give it to the Cirrolux gateway, either with the option\n"
             "         cirrolux-gateway --census-key YOUR-KEY\n"
             "     or in the gateway's environment as\n"
             "         CIRROLUX_CENSUS_KEY=YOUR-KEY\n"
             "  3. Restart the gateway and open this report again.\n\n"
             "The gateway keeps the key to itself: it is never written into a page or a log.\n\n"
             "Cirrolux gateway" +
             Ending},
        {"s2_unreadable_answer", "s2", [] { return CensusDetailPage("s2", "[[\"NAME\"]", 2024); },
         std::string("Sorry, the census detail by zip could not be fetched from the U.S. Census "
                     "Bureau (its answer could not be read).\nPlease try again later.\n\n"
                     "Cirrolux gateway") +
             Ending},
        {"ss_csv_of_another_layout", "ss", [] { return SalaryRankingsPage("a,b,c\n1,2,3\n"); },
         std::string("Sorry, the state salary rankings could not be fetched from the Bureau of "
                     "Labor Statistics (the QCEW file lacks the fields of its published layout)."
                     "\nPlease try again later.\n\nCirrolux gateway") +
             Ending},
        {"eb_source_failed", "eb",
         [] {
             return FailurePage({"eb",
                                 FailureKind::SourceFailed,
                                 {},
                                 "http://earthquake.usgs.gov answered 503 <Service Unavailable>"});
         },
         std::string("Sorry, the earthquake bulletin could not be fetched from the U.S. Geological "
                     "Survey (earthquake.usgs.gov answered 503 Service Unavailable).\nPlease try "
                     "again later.\n\nCirrolux gateway") +
             Ending},
        {"ci_unreadable_country", "ci", [] { return FactbookCountryPage("{\"Geography\": ["); },
         "Country Information\nSorry, the country information could not be fetched from the World "
         "Factbook archive (the archived country file could not be read). Please try again later."},
        {"usfi_empty_report", "usfi", [] { return FireReportPage(" \f \n"); },
         "US Fire/Acreage Incident Report\nSorry, the National Interagency Fire Center has no "
         "fire/acreage incident report (the report it published holds no text)."},
    };
    return list;
}

class FailurePages : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(FailurePages, ReadAsTheProgramsOwnHonestAnswer)
{
    const FailureCase& c = GetParam();
    const std::string page = c.page();
    const std::string_view mode = c.mode;
    const std::string shown = mode == "ci" || mode == "usfi"
                                  ? WebWindowText(page)
                                  : WithLf(ForecastWindowText(mode, page, "MA"));
    EXPECT_EQ(shown, c.expected);
}

// The gateway keeps the last good page over these and never keeps them: only pages of a source
// that failed or could not be read count, not "nothing issued", "no key" or "out of season".
TEST_P(FailurePages, AreToldFromReportsWhenTheSourceFailed)
{
    const FailureCase& c = GetParam();
    const std::set<std::string_view> failed = {"ap_page_without_table", "s2_unreadable_answer",
                                               "ss_csv_of_another_layout", "eb_source_failed",
                                               "ci_unreadable_country"};
    EXPECT_EQ(IsSourceFailurePage(c.mode, c.page()), failed.count(c.name) == 1);
}

TEST(FailurePages, AReportIsNoFailure)
{
    EXPECT_FALSE(IsSourceFailurePage(
        "ss", SalaryRankingsPage(ReadTestFile("qcew_2025_a_industry_10.csv"))));
    EXPECT_FALSE(IsSourceFailurePage("ap", AirQualityPage(ReadTestFile("greenbook_ancl.html"))));
}

INSTANTIATE_TEST_SUITE_P(LiveReports, FailurePages, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cirrolux::livereports
