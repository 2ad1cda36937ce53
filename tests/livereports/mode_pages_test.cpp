// Each mode's page built from a recorded file in its source's published format, then read back
// by the program's own extraction; the text a user reads is compared with a reviewed expected
// file (data/expected/<case>.ref, CR LF written as LF). CIRROLUX_WRITE_REFS=1 rewrites the
// expected files for review instead of comparing.
#include "ProgramExtraction.h"

#include "livereports/AirQualityReport.h"
#include "livereports/CensusReport.h"
#include "livereports/CropWeatherReport.h"
#include "livereports/EarthquakeBulletin.h"
#include "livereports/FactbookPages.h"
#include "livereports/FireReport.h"
#include "livereports/NwsTextReport.h"
#include "livereports/SalaryRankings.h"
#include "livereports/StateTable.h"
#include "webwindow/CountryIndex.h"

#include <QDir>

#include <functional>
#include <vector>

namespace cirrolux::livereports {
namespace {

using cirrolux::testing::ForecastWindowText;
using cirrolux::testing::ReadTestFile;
using cirrolux::testing::WebWindowText;
using cirrolux::testing::WithLf;

const StateRow& state(std::string_view code)
{
    return *FindStateByCode(code);
}

struct ModeCase
{
    const char* name;
    const char* mode; // forecast window mode, or "ci" / "usfi" for the web page window
    const char* locationState;
    std::function<std::string()> page;
};

std::string pnsMassachusetts()
{
    const std::vector<NwsProduct> products{{"BOX", ReadTestFile("pns_box.txt")},
                                           {"ALY", ReadTestFile("pns_aly.html")}};
    return NwsStatePage("p", state("MA"), products);
}

std::string hydroMassachusetts()
{
    const std::vector<NwsProduct> products{{"BOX", ReadTestFile("rvs_box.txt")},
                                           {"BOX", ReadTestFile("fls_box.txt")},
                                           {"BOX", ReadTestFile("rvs_box.txt")}};
    return NwsStatePage("h", state("MA"), products);
}

const std::vector<ModeCase>& cases()
{
    static const std::vector<ModeCase> list{
        {"p_massachusetts", "p", "MA", pnsMassachusetts},
        {"h_massachusetts", "h", "MA", hydroMassachusetts},
        {"ap_green_book", "ap", "MA",
         [] { return AirQualityPage(ReadTestFile("greenbook_ancl.html")); }},
        {"cw_illinois", "cw", "IL",
         [] {
             return CropWeatherPage(ReadTestFile("cropprog_2026-05-04.txt"), state("IL"),
                                    QDate(2026, 5, 5));
         }},
        {"cw_new_york", "cw", "NY",
         [] {
             return CropWeatherPage(ReadTestFile("cropprog_2026-05-04.txt"), state("NY"),
                                    QDate(2026, 5, 5));
         }},
        {"s1_massachusetts", "s1", "MA",
         [] { return CensusDetailPage("s1", ReadTestFile("census_acs5_state25.json"), 2024); }},
        {"s2_zip_02134", "s2", "MA",
         [] { return CensusDetailPage("s2", ReadTestFile("census_acs5_zcta02134.json"), 2024); }},
        {"si_income_ranks", "si", "MA",
         [] { return CensusIncomePage(ReadTestFile("census_acs5_income_states.json"), 2024); }},
        {"ss_salary_ranks", "ss", "MA",
         [] { return SalaryRankingsPage(ReadTestFile("qcew_2025_a_industry_10.csv")); }},
        {"eb_world_bulletin", "eb", "MA",
         [] {
             return EarthquakeBulletinPage(ReadTestFile("usgs_2.5_week.csv"),
                                           QDateTime(QDate(2026, 12, 10), QTime(1, 5, 9), Qt::UTC),
                                           "Magnitude 2.5 and greater, past 7 days");
         }},
        {"ci_germany", "ci", "",
         [] { return FactbookCountryPage(ReadTestFile("factbook_gm.json")); }},
        {"usfi_imsr", "usfi", "",
         [] { return FireReportPage(ReadTestFile("imsr_2026-08-14.txt")); }},
    };
    return list;
}

// The text a user reads for the case's page, in the window of its mode.
std::string shownText(const ModeCase& c)
{
    const std::string page = c.page();
    const std::string_view mode = c.mode;
    if (mode == "ci" || mode == "usfi")
        return WebWindowText(page);
    return WithLf(ForecastWindowText(mode, page, c.locationState));
}

class ModePages : public ::testing::TestWithParam<ModeCase>
{
};

TEST_P(ModePages, ProgramExtractionShowsTheExpectedText)
{
    const ModeCase& c = GetParam();
    const std::string shown = shownText(c);
    const std::string refName = std::string("expected/") + c.name + ".ref";
    if (qEnvironmentVariableIsSet("CIRROLUX_WRITE_REFS")) {
        QDir().mkpath(QStringLiteral(CIRROLUX_LIVEREPORTS_DATA "/expected"));
        QFile out(QStringLiteral(CIRROLUX_LIVEREPORTS_DATA "/") + QString::fromStdString(refName));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(shown.data(), qint64(shown.size()));
        GTEST_SKIP() << "wrote " << refName;
    }
    EXPECT_EQ(shown, ReadTestFile(refName));
}

INSTANTIATE_TEST_SUITE_P(LiveReports, ModePages, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The country list the web page window reads from the index page: every country once, by name,
// code first, names as the archive spells them (Latin-1), and nothing for a file without a name.
TEST(FactbookIndex, CountryListReadsEveryNamedCountry)
{
    std::vector<FactbookCountry> countries;
    for (const char* code : {"gm", "ac", "uv", "iv", "oo"}) {
        countries.push_back(
            {code, FactbookCountryName(ReadTestFile(std::string("factbook_") + code + ".json"))});
    }
    const std::vector<std::string> list = ParseCountryIndex(FactbookIndexPage(countries));
    EXPECT_EQ(list, (std::vector<std::string>{"ac,Antigua and Barbuda", "uv,Burkina Faso",
                                              "iv,C\xF4te d'Ivoire", "gm,Germany"}));
}

} // namespace
} // namespace cirrolux::livereports
