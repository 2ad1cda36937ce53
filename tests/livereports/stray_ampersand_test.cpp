// The forecast window's extraction keeps the ampersand of an entity ("HIGHS&nbsp;AROUND" reads
// "HIGHS& AROUND"), so no page may carry an entity in the text it passes through. Every report
// mode, the four the gateway already serves from NOAA's zone files included, is read back from
// recorded files and must show no "&" at all.
#include "ProgramExtraction.h"

#include "gateway/NwsProducts.h"
#include "livereports/AirQualityReport.h"
#include "livereports/CensusReport.h"
#include "livereports/CropWeatherReport.h"
#include "livereports/EarthquakeBulletin.h"
#include "livereports/FailurePage.h"
#include "livereports/NwsTextReport.h"
#include "livereports/SalaryRankings.h"
#include "livereports/StateTable.h"

#include <functional>

namespace cirrolux::livereports {
namespace {

using cirrolux::testing::ForecastWindowText;
using cirrolux::testing::ReadTestFile;

struct AmpersandCase
{
    const char* name;
    const char* mode;
    std::function<std::string()> page;
};

std::string gatewayPage(gateway::ProductPage page, const char* file)
{
    const std::vector<gateway::ZoneProduct> products{{"maz015", ReadTestFile(file)}};
    return gateway::BuildProductPage(gateway::ProductRequest{page, "MA"}, "Massachusetts", products,
                                     "Note: 1 of 3 zone files could not be fetched.");
}

const std::vector<AmpersandCase>& cases()
{
    const StateRow& ma = *FindStateByCode("MA");
    static const std::vector<AmpersandCase> list{
        {"f_gateway_zone_forecast", "f",
         [] { return gatewayPage(gateway::ProductPage::ZoneForecast, "zone_maz015.txt"); }},
        {"n_gateway_nowcast", "n",
         [] { return gatewayPage(gateway::ProductPage::Nowcast, "nowcast_maz015.txt"); }},
        {"w_gateway_warnings", "w",
         [] { return gatewayPage(gateway::ProductPage::Warnings, "warning_maz015.txt"); }},
        {"sw_gateway_special", "sw",
         [] { return gatewayPage(gateway::ProductPage::Special, "special_maz015.txt"); }},
        {"p_public_information", "p",
         [ma] {
             const std::vector<NwsProduct> products{{"BOX", ReadTestFile("pns_box.txt")},
                                                    {"ALY", ReadTestFile("pns_aly.html")}};
             return NwsStatePage("p", ma, products);
         }},
        {"h_hydrological", "h",
         [ma] {
             const std::vector<NwsProduct> products{{"BOX", ReadTestFile("rvs_box.txt")},
                                                    {"BOX", ReadTestFile("fls_box.txt")}};
             return NwsStatePage("h", ma, products);
         }},
        {"ap_air_pollution", "ap",
         [] { return AirQualityPage(ReadTestFile("greenbook_ancl.html")); }},
        {"cw_crop_weather", "cw",
         [] {
             return CropWeatherPage(ReadTestFile("cropprog_2026-05-04.txt"), *FindStateByCode("IL"),
                                    QDate(2026, 5, 5));
         }},
        {"s1_census_state", "s1",
         [] { return CensusDetailPage("s1", ReadTestFile("census_acs5_state25.json"), 2024); }},
        {"s2_census_zip", "s2",
         [] { return CensusDetailPage("s2", ReadTestFile("census_acs5_zcta02134.json"), 2024); }},
        {"si_income", "si",
         [] { return CensusIncomePage(ReadTestFile("census_acs5_income_states.json"), 2024); }},
        {"ss_salaries", "ss",
         [] { return SalaryRankingsPage(ReadTestFile("qcew_2025_a_industry_10.csv")); }},
        {"eb_bulletin", "eb",
         [] {
             return EarthquakeBulletinPage(ReadTestFile("usgs_2.5_week.csv"),
                                           QDateTime(QDate(2026, 12, 10), QTime(1, 0), Qt::UTC),
                                           "Magnitude 2.5 and greater, past 7 days");
         }},
        {"s1_no_key", "s1", [] { return CensusNoKeyPage("s1", "Massachusetts"); }},
        {"eb_failure_with_markup_in_reason", "eb",
         [] {
             return FailurePage({"eb", FailureKind::SourceFailed, "the world",
                                 "answered <b>502</b> &amp; closed"});
         }},
    };
    return list;
}

class StrayAmpersand : public ::testing::TestWithParam<AmpersandCase>
{
};

TEST_P(StrayAmpersand, ExtractedReportHoldsNoAmpersand)
{
    const AmpersandCase& c = GetParam();
    std::string shown = ForecastWindowText(c.mode, c.page(), "MA");
    ASSERT_GT(shown.size(), 40u) << shown;
    const std::size_t at = shown.find('&');
    EXPECT_EQ(at, std::string::npos)
        << "\"&\" in the " << c.mode << " report at: "
        << shown.substr(at == std::string::npos ? 0 : at - std::min<std::size_t>(at, 30), 60);
}

INSTANTIATE_TEST_SUITE_P(LiveReports, StrayAmpersand, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cirrolux::livereports
