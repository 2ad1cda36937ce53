// The report sites of the emulator: each state's NWS pages, the census queries for any state
// or zip, and the replies the router gives for report hosts.
#include "CaseName.h"
#include "forecast/ForecastModes.h"
#include "forecast/ReportText.h"
#include "servicesim/ReportContent.h"
#include "servicesim/ReportStates.h"
#include "servicesim/ServiceRouter.h"

#include <gtest/gtest.h>

#include <set>

namespace cirrolux::test {
namespace {

using cirrolux::HttpRequestHead;
using servicesim::ReportContent;
using servicesim::ReportState;

const QDateTime kNow(QDate(2026, 7, 4), QTime(16, 0), Qt::UTC);

std::string pageOf(const char* host, const std::string& path)
{
    const auto page = ReportContent::page(host, QByteArray::fromStdString(path), kNow);
    return page ? page->toStdString() : std::string("(none)");
}

class EveryState : public ::testing::TestWithParam<ReportState>
{
};

TEST_P(EveryState, ZoneAndNowcastPagesHaveACountySectionForEachCounty)
{
    const ReportState& state = GetParam();
    const std::string base = "/iwin/" + std::string(state.code) + "/";
    for (const char* file : {"zone.html", "shortterm.html"}) {
        const std::string page = StripReportHtml(pageOf("iwin.nws.noaa.gov", base + file));
        for (const std::string_view county : state.counties) {
            const CountySection cut =
                ExtractCountySection(page, county, CountyKind::Forecast, state.code);
            ASSERT_TRUE(cut.found) << file << " " << county;
            EXPECT_EQ(page.find("$$", page.find(county)),
                      page.find(county) + cut.section.size() - 1)
                << file << " " << county;
        }
        EXPECT_NE(page.find("&\xB0"), std::string::npos) << file;
        EXPECT_EQ(page.find('<'), std::string::npos) << file;
    }
    for (const char* file : {"public.html", "allwarnings.html", "special.html", "hydro.html"}) {
        const std::string page = pageOf("iwin.nws.noaa.gov", base + file);
        const bool missing = page.find("not currently available") != std::string::npos;
        EXPECT_EQ(missing, ReportContent::productMissing(
                               state.code, std::string(file).substr(0, std::strlen(file) - 5)))
            << file;
    }
    const std::string census =
        pageOf("venus.census.gov",
               "/" + CensusStatePath(std::string(state.fips) + "," + std::string(state.name)));
    EXPECT_NE(census.find("1990 US Census Lookup: " + std::string(state.name)), std::string::npos);
    const std::string crop =
        pageOf("www.nass.usda.gov", "/weather/cpcurr/" + AsciiLower(state.code) + "-crop-weather");
    EXPECT_NE(crop.find(std::string(state.name) + " Crop Weather"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(States, EveryState,
                         ::testing::ValuesIn(servicesim::ReportStates().begin(),
                                             servicesim::ReportStates().end()),
                         [](const ::testing::TestParamInfo<ReportState>& info) {
                             return CaseName(std::string(info.param.code));
                         });

TEST(ReportStates, TheFiftyOneEntriesOfTheStateList)
{
    std::set<std::string> listed;
    for (const std::string_view entry : StateListEntries())
        if (entry != "None")
            listed.emplace(entry.substr(0, 2));
    std::set<std::string> served;
    for (const ReportState& state : servicesim::ReportStates())
        served.emplace(state.fips);
    EXPECT_EQ(listed, served);
}

TEST(ReportContent, CensusQueriesForAZipAndForNoState)
{
    EXPECT_NE(pageOf("venus.census.gov", "/" + CensusZipPath("90210")).find("ZIP Code 90210"),
              std::string::npos);
    EXPECT_NE(pageOf("venus.census.gov", "/" + CensusZipPath("9021x")).find("No records match"),
              std::string::npos);
    EXPECT_NE(pageOf("venus.census.gov", "/" + CensusStatePath("No,e")).find("No records match"),
              std::string::npos);
    // A state name with a space arrives as the program sends it.
    EXPECT_NE(pageOf("venus.census.gov", "/" + CensusStatePath("36,New York")).find("New York"),
              std::string::npos);
}

TEST(ReportContent, RanksAreOrderedAndCutAtTheSourceLink)
{
    const std::string ranks =
        parse_text(StripReportHtml(pageOf("www.census.gov", "/statab/ranks/pg20.txt")));
    EXPECT_TRUE(ranks.starts_with("No. 20.  Median Household Income"));
    EXPECT_TRUE(ranks.ends_with("Statistical Abstract of the United States: 1998, "));
    EXPECT_NE(ranks.find("\r\r\n  51  "), std::string::npos);
}

TEST(ReportContent, BulletinCarriesTheMarksOfTheEarthquakeCut)
{
    const std::string page = pageOf("neic.usgs.gov", "/neis/bulletin/bulletin.html");
    for (const char* mark :
         {"Current Time:", "Click on an earthquake below", "Explanation of earthquake", "http://"})
        EXPECT_NE(page.find(mark), std::string::npos) << mark;
}

struct RouteCase
{
    const char* name;
    QByteArray url;
    int status;
    QByteArray bodyHas;
};

class ReportRoute : public ::testing::TestWithParam<RouteCase>
{
};

TEST_P(ReportRoute, RouterAnswers)
{
    servicesim::ServiceRouter router;
    const RouteCase& c = GetParam();
    const auto reply =
        router.route(HttpRequestHead::parse("GET " + c.url +
                                            " HTTP/1.0\r\nProxy-Connection: Keep-Alive\r\n\r\n"),
                     kNow);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_TRUE(reply.body.contains(c.bodyHas)) << reply.body.left(300).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Sites, ReportRoute,
    ::testing::Values(
        RouteCase{"zone page", "http://iwin.nws.noaa.gov/iwin/TX/zone.html", 200, "HARRIS-"},
        RouteCase{"lower case state", "http://iwin.nws.noaa.gov/iwin/tx/hydro.html", 200,
                  "HYDROLOGIC SUMMARY"},
        RouteCase{"unknown state", "http://iwin.nws.noaa.gov/iwin/XX/zone.html", 404, "Not Found"},
        RouteCase{"foreign place as state", "http://iwin.nws.noaa.gov/iwin/Peru (O)/zone.html", 404,
                  "Not Found"},
        RouteCase{"not available", "http://iwin.nws.noaa.gov/iwin/HI/special.html", 200,
                  "not currently available"},
        RouteCase{"epa table", "http://www.epa.gov/oar/oaqps/greenbk/aycl.html", 200, "Wyoming"},
        RouteCase{"census ranks", "http://www.census.gov/statab/ranks/pg18.txt", 200,
                  "Average Annual Pay"},
        RouteCase{"bulletin", "http://neic.usgs.gov/neis/bulletin/bulletin.html", 200,
                  "Current Time:"},
        RouteCase{"conditions home page", "http://www.wunderground.com/", 200,
                  "Weather Underground"},
        RouteCase{"report path on loopback", "http://127.0.0.1/statab/ranks/pg20.txt", 200,
                  "Median Household Income"}),
    [](const ::testing::TestParamInfo<RouteCase>& info) { return CaseName(info.param.name); });

} // namespace
} // namespace cirrolux::test
