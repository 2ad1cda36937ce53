#include "gateway/LiveConditions.h"
#include "gateway/MetarReader.h"

#include "../conditions/ParserHarness.h"
#include "conditions/ReadingMath.h"
#include "CaseName.h"

#include <gtest/gtest.h>

#include <map>

namespace cirrolux::gateway {
namespace {

using cirrolux::Place;
using test::PrintTo;

const StationIndex& fixtureIndex()
{
    static const StationIndex index =
        StationIndex::load(QStringLiteral(CIRROLUX_TEST_DATA "/gateway"));
    return index;
}

// The catalogue's names of a few WMO stations.
StationNames catalogueNames()
{
    static const std::map<std::string, std::pair<std::string, std::string>> names{
        {"03772", {"London", "United Kingdom"}}, {"63741", {"Nairobi", "Kenya"}},
        {"71624", {"Toronto", "Ontario"}},       {"83780", {"Sao Paulo", "Brazil"}},
        {"61641", {"Dakar", "Senegal"}},
    };
    return [](const std::string& number) -> std::optional<std::pair<std::string, std::string>> {
        const auto found = names.find(number);
        if (found == names.end())
            return std::nullopt;
        return found->second;
    };
}

const LiveConditions& live()
{
    static const LiveConditions conditions(fixtureIndex(), catalogueNames());
    return conditions;
}

struct ResolveCase
{
    const char* name;
    const char* address;
    bool conditionsPage;
    Place::Kind kind;
    const char* key;
    const char* title;
    const char* observed;
    const char* icao; // "" without a station
    const char* region;
};

class Resolve : public ::testing::TestWithParam<ResolveCase>
{
};

TEST_P(Resolve, PlaceAndStationOfTheAddress)
{
    const ResolveCase& c = GetParam();
    const auto request = live().resolve(c.address);
    if (!c.conditionsPage) {
        EXPECT_FALSE(request) << request->place.key;
        return;
    }
    ASSERT_TRUE(request);
    EXPECT_EQ(request->place.kind, c.kind);
    EXPECT_EQ(request->place.key, c.key);
    EXPECT_EQ(request->place.title, c.title);
    EXPECT_EQ(request->place.observed, c.observed);
    EXPECT_EQ(request->station ? request->station->icao : std::string(), c.icao);
    EXPECT_EQ(request->region, c.region);
}

constexpr auto US = Place::Kind::UsCity;
constexpr auto ZIP = Place::Kind::Zip;
constexpr auto WMO = Place::Kind::Station;

INSTANTIATE_TEST_SUITE_P(
    Addresses, Resolve,
    ::testing::Values(
        ResolveCase{"us_city", "/US/MA/Boston.html", true, US, "US/MA/Boston",
                    "Boston, Massachusetts", "Boston, MA", "KBOS", "MA"},
        ResolveCase{"proxy_form", "http://www.wunderground.com/US/UT/Salt_Lake_City.html", true, US,
                    "US/UT/Salt Lake City", "Salt Lake City, Utah", "Salt Lake City, UT", "KSLC",
                    "UT"},
        ResolveCase{"percent_encoded", "/US/MO/St.%20Louis.html", true, US, "US/MO/St. Louis",
                    "St. Louis, Missouri", "St. Louis, MO", "KSTL", "MO"},
        ResolveCase{"city_without_station", "/US/MA/Ghost_Hollow.html", true, US,
                    "US/MA/Ghost Hollow", "Ghost Hollow, Massachusetts", "Ghost Hollow, MA", "",
                    "MA"},
        ResolveCase{"unknown_city", "/US/MA/Atlantis.html", true, US, "US/MA/Atlantis",
                    "Atlantis, Massachusetts", "Atlantis, MA", "", "MA"},
        ResolveCase{"zip", "/cgi-bin/findweather/getForecast?query=02134", true, ZIP, "zip/02134",
                    "Boston, Massachusetts", "Boston, MA", "KBOS", "MA"},
        ResolveCase{"zip_among_parameters",
                    "http://www.wunderground.com/cgi-bin/findweather/getForecast?x=1&query=01103",
                    true, ZIP, "zip/01103", "Springfield, Massachusetts", "Springfield, MA", "KBAF",
                    "MA"},
        ResolveCase{"zip_named_in_latin1", "/cgi-bin/findweather/getForecast?query=87532", true,
                    ZIP, "zip/87532",
                    "Espa\xF1"
                    "ola, New Mexico",
                    "Espa\xF1"
                    "ola, NM",
                    "KSLC", "NM"},
        ResolveCase{"zip_without_station", "/cgi-bin/findweather/getForecast?query=12345", true,
                    ZIP, "zip/12345", "Zip code 12345", "12345", "", ""},
        ResolveCase{"foreign", "/global/stations/03772.html", true, WMO, "station/03772",
                    "London, United Kingdom", "London (03772)", "EGLL", "United Kingdom"},
        ResolveCase{"canadian", "/global/stations/71624.html", true, WMO, "station/71624",
                    "Toronto, Ontario", "Toronto (71624)", "CYYZ", "Ontario"},
        ResolveCase{"foreign_without_station", "/global/stations/61641.html", true, WMO,
                    "station/61641", "Dakar, Senegal", "Dakar (61641)", "", "Senegal"},
        ResolveCase{"number_not_in_catalogue", "/global/stations/00000.html", true, WMO,
                    "station/00000", "Station 00000, Unknown", "Station 00000", "", ""},
        ResolveCase{"search_query", "/cgi-bin/findweather/getForecast?query=Boston", false, US, "",
                    "", "", "", ""},
        ResolveCase{"unknown_state", "/US/XX/Boston.html", false, US, "", "", "", "", ""},
        ResolveCase{"empty_city", "/US/MA/.html", false, US, "", "", "", "", ""},
        ResolveCase{"deeper_path", "/US/MA/Boston/x.html", false, US, "", "", "", "", ""},
        ResolveCase{"short_station", "/global/stations/0377.html", false, US, "", "", "", "", ""},
        ResolveCase{"image", "/images/wu_logo.gif", false, US, "", "", "", "", ""},
        ResolveCase{"root", "http://www.wunderground.com", false, US, "", "", "", "", ""},
        ResolveCase{"empty", "", false, US, "", "", "", "", ""}),
    [](const ::testing::TestParamInfo<ResolveCase>& info) { return info.param.name; });

// A station file served for a request, and what the program shows for the page written from it.
struct PageCase
{
    const char* name;
    const char* address;
    const char* stationFile;
    QDateTime nowUtc;
    const char* updated;
    const char* temperature;
    const char* humidity;
    const char* wind;
    const char* pressure;
    const char* sky;
    const char* visibility;
    const char* zone; // the abbreviation the sun and moon times carry
};

class LivePage : public ::testing::TestWithParam<PageCase>
{
};

QDateTime utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

// " 7:02 AM EST ": a clock time in the zone, or "-" for an event that day lacks.
bool isClockReading(std::string text, const std::string& zone)
{
    while (text.starts_with(' '))
        text.erase(0, 1);
    while (text.ends_with(' '))
        text.pop_back();
    if (text == "-")
        return true;
    const std::string tail = " " + zone;
    if (!text.ends_with(tail))
        return false;
    const std::string clock = text.substr(0, text.size() - tail.size()); // "7:02 AM"
    const std::size_t colon = clock.find(':');
    return (colon == 1 || colon == 2) && clock.size() == colon + 6 &&
           (clock.ends_with(" AM") || clock.ends_with(" PM"));
}

TEST_P(LivePage, ReadsBackAsTheReport)
{
    const PageCase& c = GetParam();
    const auto request = live().resolve(c.address);
    ASSERT_TRUE(request && request->station);
    const std::string page = live().page(*request, c.stationFile, c.nowUtc);

    test::ParserHarness harness;
    const ConditionsRecord& r = harness.parseAll(page);
    EXPECT_EQ(harness.ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(r.title, request->place.title);
    EXPECT_EQ(r.updated, c.updated);
    EXPECT_EQ(r.temperature, c.temperature);
    EXPECT_EQ(r.humidity, c.humidity);
    EXPECT_EQ(r.wind, c.wind);
    EXPECT_EQ(r.pressure, c.pressure);
    EXPECT_EQ(r.sky, c.sky);
    EXPECT_EQ(r.visibility, c.visibility);
    for (const std::string* reading : {&r.sunrise, &r.sunset, &r.moonRise, &r.moonSet})
        EXPECT_TRUE(isClockReading(*reading, c.zone)) << test::visible(*reading);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, LivePage,
    ::testing::Values(
        PageCase{"boston_gusts_below_zero", "/US/MA/Boston.html",
                 "2026/12/09 18:54\nKBOS 091854Z 28012G25KT 10SM FEW045 SCT250 M05/M12 A3012 RMK "
                 "AO2 SLP201\n",
                 utc(2026, 12, 9, 19, 5), "Conditions at 1:54 PM EST",
                 "23\xB0"
                 "F ",
                 "58% ", "W at 14mph, gusting to 29mph ", "30.12 in / 1020 hPa ",
                 "Scattered Clouds", "10.0 mi ", "EST"},
        PageCase{"zip_calm_clear", "/cgi-bin/findweather/getForecast?query=84101",
                 "2026/01/15 11:53\nKSLC 151153Z 00000KT 10SM CLR M02/M08 A3035 RMK AO2\n",
                 utc(2026, 1, 15, 12, 10), "Conditions at 4:53 AM MST",
                 "28\xB0"
                 "F ",
                 "64% ", "Calm ", "30.35 in / 1028 hPa ", "Clear", "10.0 mi ", "MST"},
        PageCase{"london_summer_qnh_metres", "/global/stations/03772.html",
                 "2026/07/01 12:50\nEGLL 011250Z 31015KT 280V350 9999 FEW020 18/09 Q1013 NOSIG\n",
                 utc(2026, 7, 1, 13, 0), "Conditions at 1:50 PM BST",
                 "64\xB0"
                 "F ",
                 "56% ", "NW at 17 mph ", "29.91 in / 1013 hPa ", "Partly Cloudy", " 6.2 mi ",
                 "BST"},
        PageCase{"toronto_thunderstorm", "/global/stations/71624.html",
                 "2026/06/20 21:00\nCYYZ 202100Z 24018G32KT 2 1/2SM +TSRA BKN030CB 27/22 A2981\n",
                 utc(2026, 6, 20, 21, 20), "Conditions at 5:00 PM EDT",
                 "81\xB0"
                 "F ",
                 "74% ", "WSW at 21mph, gusting to 37mph ", "29.81 in / 1009 hPa ",
                 "Heavy Thunderstorms and Rain", " 2.5 mi ", "EDT"},
        PageCase{"missing_groups_say_so", "/US/MA/Boston.html",
                 "2026/12/09 18:54\nKBOS 091854Z AUTO /////KT M05/ A//// RMK AO2 PWINO\n",
                 utc(2026, 12, 9, 19, 0), "Conditions at 1:54 PM EST",
                 "23\xB0"
                 "F ",
                 "N/A ", "N/A ", "N/A ", "Unknown", " N/A    ", "EST"}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return info.param.name; });

TEST(LivePage, CachedPageSaysSoOnItsUpdatedLine)
{
    const auto request = live().resolve("/US/MA/Boston.html");
    ASSERT_TRUE(request);
    const std::string page =
        live().page(*request, "2026/12/09 18:54\nKBOS 091854Z 28012KT 10SM CLR M05/M12 A3012\n",
                    utc(2026, 12, 9, 19, 40), "(cached: the observation service did not answer)");
    EXPECT_NE(page.find("Updated: <b>1:54 PM EST on December 9, 2026 (cached: the observation "
                        "service did not answer)</b>"),
              std::string::npos);
    test::ParserHarness harness;
    EXPECT_EQ(harness.parseAll(page).updated, "Conditions at 1:54 PM EST");
    EXPECT_EQ(harness.ui.messages(), std::vector<std::string>{});
}

// The page's heat index and wind chill are the ones the program works out itself when a page
// gives none: the National Weather Service's formulas with their low- and high-humidity
// adjustments, read back from the page by the program's parser.
TEST(LivePage, HeatIndexAndWindChillFollowTheProgramsOwnFormulas)
{
    const auto request = live().resolve("/US/MA/Boston.html");
    ASSERT_TRUE(request);
    const auto number = [](const std::string& text) {
        return std::stoi(text.substr(text.find_first_of("-0123456789")));
    };
    struct Case
    {
        const char* report;
        bool heat; // else wind chill
    };
    for (const Case& c : {
             // 108 F at 5 %: the dry-air adjustment takes 2 degrees off the regression.
             Case{"KBOS 091854Z 20005KT 10SM CLR 42/M02 A2992", true},
             // 81 F at 94 %: the humid-air adjustment adds one.
             Case{"KBOS 091854Z 20005KT 10SM CLR 27/26 A2992", true},
             Case{"KBOS 091854Z 18010KT 10SM CLR 33/24 A2992", true},
             Case{"KBOS 091854Z 28025KT 10SM CLR M12/M20 A3012", false},
         }) {
        const std::string page = live().page(
            *request, std::string("2026/12/09 18:54\n") + c.report + "\n", utc(2026, 12, 9, 19, 5));
        test::ParserHarness harness;
        const ConditionsRecord& r = harness.parseAll(page);
        const double t = number(r.temperature);
        const double rh = number(r.humidity);
        if (c.heat) {
            EXPECT_EQ(number(r.heatIndex), std::lround(HeatIndexF(t, rh))) << c.report;
        } else {
            const double mph = number(r.wind.substr(r.wind.find(" at ")));
            EXPECT_EQ(number(r.windChill), std::lround(WindChillF(t, mph))) << c.report;
        }
    }
}

struct NoReadingCase
{
    const char* name;
    const char* address;
    const char* stationFile;
    QDateTime nowUtc;
    const char* text; // of the page's paragraph
};

class NoLiveReading : public ::testing::TestWithParam<NoReadingCase>
{
};

TEST_P(NoLiveReading, GivesTheParsersUsualMessageAndNoReadings)
{
    const NoReadingCase& c = GetParam();
    const auto request = live().resolve(c.address);
    ASSERT_TRUE(request);
    const std::string page = live().page(*request, c.stationFile, c.nowUtc);
    EXPECT_NE(page.find(c.text), std::string::npos) << page;

    test::ParserHarness harness;
    const ConditionsRecord& r = harness.parseAll(page);
    EXPECT_EQ(harness.ui.messages(), std::vector<std::string>{test::MessageP2});
    EXPECT_EQ(r.title, request->place.title);
    EXPECT_EQ(harness.state.locationTitle, request->place.title);
    EXPECT_EQ(r.temperature, "");
    EXPECT_EQ(r.sky, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoLiveReading,
    ::testing::Values(
        NoReadingCase{"city_without_station", "/US/MA/Ghost_Hollow.html", "",
                      utc(2026, 12, 9, 19, 0),
                      "<p>No live station for Ghost Hollow, Massachusetts.</p>"},
        NoReadingCase{"foreign_without_station", "/global/stations/61641.html", "",
                      utc(2026, 12, 9, 19, 0), "<p>No live station for Dakar, Senegal.</p>"},
        NoReadingCase{"station_stopped_reporting", "/US/MA/Boston.html",
                      "2026/12/01 06:54\nKBOS 010654Z 28012KT 10SM CLR M05/M12 A3012\n",
                      utc(2026, 12, 9, 19, 0),
                      "<p>No live station for Boston, Massachusetts: station KBOS has no current "
                      "report.</p>"},
        NoReadingCase{"missing_report", "/US/MA/Boston.html",
                      "2026/12/09 18:54\nKBOS 091854Z NIL\n", utc(2026, 12, 9, 19, 0),
                      "station KBOS has no current report"},
        NoReadingCase{"no_temperature", "/US/MA/Boston.html",
                      "2026/12/09 18:54\nKBOS 091854Z 28012KT 10SM CLR ///// A3012\n",
                      utc(2026, 12, 9, 19, 0), "station KBOS has no current report"},
        NoReadingCase{"error_page_for_a_file", "/global/stations/03772.html",
                      "<html><body>404 Not Found</body></html>", utc(2026, 12, 9, 19, 0),
                      "station EGLL has no current report"}),
    [](const ::testing::TestParamInfo<NoReadingCase>& info) { return info.param.name; });

// The request for `address` with its station named `icao`, so that a real report of any
// station can be served as that station's file.
LiveRequest requestFor(const char* address, const char* icao)
{
    auto request = live().resolve(address);
    EXPECT_TRUE(request && request->station);
    request->station->icao = icao;
    return *request;
}

// Real reports (sources in README.md beside this file) written into a page and read back by
// the program's own parser.
struct RealPageCase
{
    const char* name;
    const char* address; // the place whose sun, moon and zone the page takes
    const char* stationFile;
    const char* temperature;
    const char* wind;
    const char* pressure;
    const char* sky;
    const char* visibility;
};

class RealReportPage : public ::testing::TestWithParam<RealPageCase>
{
};

TEST_P(RealReportPage, ShowsWhatTheStationReported)
{
    const RealPageCase& c = GetParam();
    const auto report = MetarReader::readStationFile(c.stationFile);
    ASSERT_TRUE(report);
    const LiveRequest request = requestFor(c.address, report->metar.station.c_str());
    const std::string page =
        live().page(request, c.stationFile, report->observedUtc.addSecs(10 * 60));

    test::ParserHarness harness;
    const ConditionsRecord& r = harness.parseAll(page);
    EXPECT_EQ(harness.ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(r.temperature, c.temperature);
    EXPECT_EQ(r.wind, c.wind);
    EXPECT_EQ(r.pressure, c.pressure);
    EXPECT_EQ(r.sky, c.sky);
    EXPECT_EQ(r.visibility, c.visibility);
}

INSTANTIATE_TEST_SUITE_P(
    RealReports, RealReportPage,
    ::testing::Values(
        // 1 3/4 miles is 1.8, as 1/4, 3/4 and 1 1/4 round up.
        RealPageCase{"one_and_three_quarter_miles", "/US/MA/Boston.html",
                     "2018/01/11 15:15\nKHAF 111515Z AUTO 00000KT 1 3/4SM BR OVC003 10/09 A3028 "
                     "RMK AO2\n",
                     "50\xB0"
                     "F ",
                     "Calm ", "30.28 in / 1025 hPa ", "Mist", " 1.8 mi "},
        // "M1/4SM": less than a quarter mile, in the eight characters the parser takes.
        RealPageCase{"less_than_a_quarter_mile", "/US/MA/Boston.html",
                     "2019/07/01 12:15\nKHBV 011215Z AUTO 00000KT M1/4SM FG OVC001 22/21 A3001 "
                     "RMK AO2 T02160208\n",
                     "72\xB0"
                     "F ",
                     "Calm ", "30.01 in / 1016 hPa ", "Fog",
                     "under \xBC"
                     " "},
        // Both pressure groups: inches from A, hPa from Q (converting A gives 1012).
        RealPageCase{"inches_and_hectopascals_as_reported", "/global/stations/03772.html",
                     "2019/07/01 11:50\nMSLP 011150Z 01007KT 9999 SCT076 26/21 Q1011 A2987 "
                     "NOSIG\n",
                     "79\xB0"
                     "F ",
                     "N at 8 mph ", "29.87 in / 1011 hPa ", "Scattered Clouds", " 6.2 mi "},
        // A missing gust keeps the wind.
        RealPageCase{"missing_gust", "/global/stations/71624.html",
                     "2020/11/17 16:00\nCYAZ 171600Z 14040G//KT 10SM -RA OVC012 12/11 A2895 RMK "
                     "NS8 VIA CYXY SLP806 DENSITY ALT 900FT\n",
                     "54\xB0"
                     "F ",
                     "SE at 46 mph ", "28.95 in / 980 hPa ", "Light Rain", "10.0 mi "},
        // The trend's gusts and thunderstorm are a forecast, not the weather.
        RealPageCase{"tempo_is_not_the_observation", "/global/stations/03772.html",
                     "2019/07/01 12:00\nURWI 011200Z 02005MPS 9999 SCT///CB 19/14 Q1012 "
                     "R27/190060 TEMPO 35018G25MPS 0800 +TSRAGR SCT003 BKN020CB\n",
                     "66\xB0"
                     "F ",
                     "NNE at 11 mph ", "29.88 in / 1012 hPa ", "Scattered Clouds", " 6.2 mi "},
        // The trailing "///" leaves temperature and dew point.
        RealPageCase{"slashes_after_the_temperature", "/global/stations/03772.html",
                     "2025/11/26 21:20\nETHC 262120Z AUTO 27003KT 3700 // ////// 14/14 Q1023 "
                     "///\n",
                     "57\xB0"
                     "F ",
                     "W at 3 mph ", "30.21 in / 1023 hPa ", "Unknown", " 2.3 mi "},
        // A layer without its height still covers the sky.
        RealPageCase{"overcast_without_height", "/US/MA/Boston.html",
                     "2025/11/26 18:55\nKBOS 261855Z AUTO 18008KT OVC/// 15/10 A3000\n",
                     "59\xB0"
                     "F ",
                     "S at 9 mph ", "30.00 in / 1016 hPa ", "Overcast", " N/A    "}),
    [](const ::testing::TestParamInfo<RealPageCase>& info) { return info.param.name; });

// Which station files count as the current observation: the right station, at most six hours
// old, at most ten minutes ahead of the clock.
struct CurrentCase
{
    const char* name;
    const char* icao;
    QDateTime nowUtc;
    bool shown;
};

class CurrentReport : public ::testing::TestWithParam<CurrentCase>
{
};

// A real San Francisco report.
constexpr const char* SanFranciscoFile =
    "2019/07/01 11:56\nKSFO 011156Z 24007KT 10SM FEW006 BKN010 13/11 A3006 RMK AO2 SLP177 "
    "T01330106 10150 20133 53001\n";

TEST_P(CurrentReport, OnlyTheStationsOwnRecentReport)
{
    const CurrentCase& c = GetParam();
    EXPECT_EQ(LiveConditions::currentReport(SanFranciscoFile, c.icao, c.nowUtc).has_value(),
              c.shown);
    // The page says so in the gateway's words, with no reading.
    const std::string page =
        live().page(requestFor("/US/MA/Boston.html", c.icao), SanFranciscoFile, c.nowUtc);
    EXPECT_EQ(page.find("has no current report") == std::string::npos, c.shown) << page;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CurrentReport,
    ::testing::Values(CurrentCase{"fresh", "KSFO", utc(2019, 7, 1, 12, 5), true},
                      CurrentCase{"lower_case_station", "ksfo", utc(2019, 7, 1, 12, 5), true},
                      CurrentCase{"another_station", "KBOS", utc(2019, 7, 1, 12, 5), false},
                      CurrentCase{"six_hours_old", "KSFO", utc(2019, 7, 1, 17, 56), true},
                      CurrentCase{"older", "KSFO", utc(2019, 7, 1, 17, 57), false},
                      CurrentCase{"ten_minutes_ahead", "KSFO", utc(2019, 7, 1, 11, 46), true},
                      CurrentCase{"dated_ahead", "KSFO", utc(2019, 7, 1, 11, 45), false},
                      CurrentCase{"a_day_ahead", "KSFO", utc(2019, 6, 30, 11, 56), false}),
    [](const ::testing::TestParamInfo<CurrentCase>& info) { return info.param.name; });

TEST(LivePage, TitlesAreEscaped)
{
    LiveRequest request;
    request.place.title = "A<b>&\"C";
    const std::string page = live().noStationPage(request);
    EXPECT_NE(page.find("Underground: A&lt;b&gt;&amp;&quot;C Weather Forecast</title>"),
              std::string::npos);
    EXPECT_EQ(page.find("<b>&"), std::string::npos);
}

} // namespace
} // namespace cirrolux::gateway
