// The program's own conditions parser over the emulator's pages: every reading comes out as the
// page meant it, for US cities, zip codes and stations, over a year of hours, in both unit modes.
#include "CaseName.h"
#include "RecordingView.h"
#include "SamplePlaces.h"

#include "RecordingUserInterface.h"
#include "TempProfile.h"

#include "conditions/ConditionsParser.h"
#include "conditions/ReadingMath.h"
#include "pagelayout/ConditionsPageBuilder.h"
#include "platform/SharedState.h"
#include "servicesim/WeatherModel.h"
#include "settings/SettingNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

namespace cirrolux::test {
namespace {

using cirrolux::ConditionsPageBuilder;
using cirrolux::Observation;
using cirrolux::Place;
using servicesim::WeatherModel;
using HeatIndexRow = Observation::HeatIndexRow;

const std::string kDegree = "\xB0";

// Whole-number text, halves to the even neighbour.
std::string wholeText(double value)
{
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        rounded = 2.0 * std::round(value / 2.0);
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", rounded + 0.0);
    return text;
}

std::string celsiusText(double fahrenheit)
{
    return wholeText((fahrenheit - 32.0) * 5.0 / 9.0) + kDegree + " C  ";
}

// The tray pictures by sky keyword, in the order they are tried.
int expectedPicture(const std::string& sky)
{
    static const std::vector<std::pair<std::string, int>> pictures{
        {"sun", 11},         {"clear", 11}, {"mostly cloud", 3}, {"scattered clouds", 4},
        {"partly cloud", 4}, {"cloud", 12}, {"overcast", 3},     {"haze", 1},
        {"fog", 1},          {"snow", 10},  {"thunderstorm", 2}, {"rain", 9},
        {"mist", 5},         {"drizzle", 5}};
    std::string lower = sky;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& [word, picture] : pictures)
        if (lower.find(word) != std::string::npos)
            return picture;
    return 0;
}

// What each reading should read once the page has been parsed and completed.
struct Expected
{
    std::string updated, temperature, heatIndex, humidity, wind, pressure, sky, visibility, sunrise,
        sunset, moonRise, moonSet, windChill;
    int temperatureF = 999;
    int skyIcon = 0;
};

Expected expectedReadings(const Observation& obs, bool metric)
{
    Expected e;
    e.updated = "Conditions at " + obs.time;
    e.temperatureF = obs.temperatureF;
    const std::string fahrenheit = std::to_string(obs.temperatureF) + kDegree + "F ";
    e.temperature = metric ? celsiusText(obs.temperatureF) : fahrenheit;

    e.humidity = std::to_string(obs.humidity) + "%";
    e.humidity.resize(4, ' ');

    e.wind = obs.wind + " ";
    if (e.wind.size() > 22) {
        for (std::size_t at; (at = e.wind.find(" mph")) != std::string::npos;)
            e.wind.erase(at, 1);
    }
    e.pressure = ConditionsPageBuilder::pressureText(obs.pressureIn) + " ";
    e.sky = obs.sky;
    e.skyIcon = expectedPicture(obs.sky);
    e.visibility = ConditionsPageBuilder::visibilityText(obs.visibilityMiles) + " ";
    e.sunrise = " " + obs.sunrise + " ";
    e.sunset = " " + obs.sunset + " ";
    e.moonRise = " " + obs.moonRise + " ";
    e.moonSet = " " + obs.moonSet + " ";

    // In metric mode an empty heat index cell goes through the Celsius conversion, which finds
    // no digit and makes the temperature unknown: no heat index, and the wind chill is a copy
    // of the temperature.
    if (metric && obs.heatIndexRow == HeatIndexRow::Empty) {
        e.temperatureF = 999;
        e.heatIndex = "n/a";
        e.windChill = e.temperature;
        return e;
    }

    // The page's own heat index, else the program's, from the temperature and humidity read.
    if (obs.heatIndexRow == HeatIndexRow::Value) {
        const int celsius = static_cast<int>(std::lround((obs.heatIndexF - 32) * 5.0 / 9.0));
        e.heatIndex = metric
                          ? celsiusText(obs.heatIndexF)
                          : ConditionsPageBuilder::temperatureText(obs.heatIndexF, celsius) + " ";
    } else if (obs.temperatureF < 60) {
        e.heatIndex = "n/a";
    } else {
        // The service's algorithm, checked against its chart in the conditions tests.
        const double index = std::max(0.0, HeatIndexF(obs.temperatureF, obs.humidity));
        e.heatIndex =
            metric ? celsiusText(std::stod(wholeText(index))) : wholeText(index) + kDegree + " F";
    }

    // Wind chill: the speed is the digits among the first characters of the wind text.
    const std::size_t n = e.wind.size() > 20 ? 16 : e.wind.size();
    std::string digits;
    for (const char c : e.wind.substr(0, n))
        if (c >= '0' && c <= '9')
            digits += c;
    if (digits.empty()) {
        e.windChill = "n/a";
    } else if (obs.temperatureF > 50 || std::stoi(digits) < 3) {
        e.windChill = e.temperature;
    } else {
        const double v = std::stoi(digits);
        const double p = std::pow(v, 0.16);
        const double chill =
            35.74 + 0.6215 * obs.temperatureF - 35.75 * p + 0.4275 * obs.temperatureF * p;
        e.windChill =
            metric ? celsiusText(std::stod(wholeText(chill))) : wholeText(chill) + kDegree + " F";
    }
    return e;
}

class ParseHarness
{
public:
    explicit ParseHarness(bool metric)
    {
        settings.write_setting(SettingNames::Settings, SettingNames::Metric, metric ? "y" : "n");
        state.currentLocationKey = "Somewhere, ST";
    }

    const ConditionsRecord& parse(const std::string& page)
    {
        parser.ParseConditionsPage(page);
        parser.CompleteHeatIndex();
        parser.CompleteWindChill();
        return parser.record();
    }

    TempProfile profile;
    SettingsStore settings{profile.settingsFile()};
    SharedState state;
    RecordingUserInterface ui;
    RecordingView view;
    ConditionsParser parser{state, settings, ui, view, [] {}};
};

void expectParsedAsMeant(ParseHarness& harness, const Place& place, const Observation& obs,
                         bool metric)
{
    const ConditionsRecord& r = harness.parse(ConditionsPageBuilder::page(place, obs));
    const Expected e = expectedReadings(obs, metric);
    EXPECT_TRUE(harness.ui.texts().empty()) << harness.ui.texts().front();
    EXPECT_EQ(r.title, place.title);
    EXPECT_EQ(harness.state.locationTitle, place.title);
    EXPECT_EQ(r.updated, e.updated);
    EXPECT_EQ(r.temperature, e.temperature);
    EXPECT_EQ(harness.state.temperatureF, e.temperatureF);
    EXPECT_EQ(r.heatIndex, e.heatIndex);
    EXPECT_EQ(r.humidity, e.humidity);
    EXPECT_EQ(r.wind, e.wind);
    EXPECT_EQ(r.pressure, e.pressure);
    EXPECT_EQ(r.sky, e.sky);
    EXPECT_EQ(r.skyIcon, e.skyIcon);
    EXPECT_EQ(r.visibility, e.visibility);
    EXPECT_EQ(r.sunrise, e.sunrise);
    EXPECT_EQ(r.sunset, e.sunset);
    EXPECT_EQ(r.moonRise, e.moonRise);
    EXPECT_EQ(r.moonSet, e.moonSet);
    EXPECT_EQ(r.windChill, e.windChill);
    EXPECT_EQ(r.trayTip, e.sky + " && " + e.temperature);
    EXPECT_EQ(harness.view.trayPicture, e.skyIcon);
    EXPECT_EQ(harness.view.reading(ConditionsView::Reading::Temperature), e.temperature);
}

struct PlaceMode
{
    Place place;
    bool metric;
};

void PrintTo(const PlaceMode& c, std::ostream* os)
{
    *os << c.place.key << (c.metric ? " metric" : "");
}

class EmulatorPagesParse : public ::testing::TestWithParam<PlaceMode>
{
};

TEST_P(EmulatorPagesParse, ReadingsAsThePageMeantThemOverAYear)
{
    ParseHarness harness(GetParam().metric);
    for (int hour = 0; hour < 365 * 24; hour += 37) {
        const QDateTime now = utc(2005, 1, 1, 0, 55).addSecs(hour * 3600LL);
        const Observation obs = WeatherModel::observe(GetParam().place, now);
        SCOPED_TRACE(now.toString(Qt::ISODate).toStdString() + ": " + obs.sky + ", " +
                     std::to_string(obs.temperatureF) + " F, " + obs.wind);
        harness.ui.clear();
        expectParsedAsMeant(harness, GetParam().place, obs, GetParam().metric);
        if (HasFailure())
            return;
    }
}

std::vector<PlaceMode> placeModes()
{
    std::vector<PlaceMode> cases;
    for (const Place& place : samplePlaces())
        cases.push_back({place, false});
    for (const Place& place : samplePlaces())
        if (place.kind != Place::Kind::Zip)
            cases.push_back({place, true});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Parser, EmulatorPagesParse, ::testing::ValuesIn(placeModes()),
                         [](const auto& info) {
                             return CaseName(info.param.place.key) +
                                    (info.param.metric ? "_Metric" : "");
                         });

// The parsed pages, all together, reach every tray picture and every completion rule.
TEST(EmulatorPagesParseCoverage, EveryPictureAndEveryRule)
{
    ParseHarness harness(false);
    std::set<int> pictures;
    std::set<HeatIndexRow> heatRows;
    int belowZero = 0, above100 = 0, computedHeatIndex = 0, calm = 0, chillCopied = 0,
        chillComputed = 0, shortenedWind = 0;
    for (const Place& place : samplePlaces()) {
        for (int hour = 0; hour < 365 * 24; hour += 29) {
            const Observation obs =
                WeatherModel::observe(place, utc(2005, 1, 1, 0, 55).addSecs(hour * 3600LL));
            const ConditionsRecord& r = harness.parse(ConditionsPageBuilder::page(place, obs));
            pictures.insert(r.skyIcon);
            heatRows.insert(obs.heatIndexRow);
            belowZero += harness.state.temperatureF < 0 ? 1 : 0;
            above100 += harness.state.temperatureF > 100 ? 1 : 0;
            computedHeatIndex +=
                obs.heatIndexRow != HeatIndexRow::Value && r.heatIndex != "n/a" ? 1 : 0;
            calm += r.windChill == "n/a" ? 1 : 0;
            chillCopied += r.windChill == r.temperature ? 1 : 0;
            chillComputed += r.windChill.ends_with(kDegree + " F") ? 1 : 0;
            shortenedWind += r.wind.find("mph,") != std::string::npos ? 1 : 0;
        }
    }
    EXPECT_TRUE(harness.ui.texts().empty());
    EXPECT_EQ(pictures, (std::set<int>{0, 1, 2, 3, 4, 5, 9, 10, 11, 12}));
    EXPECT_EQ(heatRows.size(), 3u);
    EXPECT_GT(belowZero, 0);
    EXPECT_GT(above100, 0);
    EXPECT_GT(computedHeatIndex, 0);
    EXPECT_GT(calm, 0);
    EXPECT_GT(chillCopied, 0);
    EXPECT_GT(chillComputed, 0);
    EXPECT_GT(shortenedWind, 0);
}

// The worked examples of the reading rules, on pages the emulator writes.
TEST(EmulatorPagesParseExamples, WindChillAndHeatIndexExamples)
{
    const Place place = *servicesim::PlaceDirectory().usCity("MA", "Boston");
    Observation obs = WeatherModel::observe(place, utc(2005, 1, 12, 20, 55));

    obs.temperatureF = 30;
    obs.windMph = 20;
    obs.wind = "NW at 20 mph";
    obs.windChillF = 17;
    obs.heatIndexRow = HeatIndexRow::Missing;
    ParseHarness fahrenheit(false);
    EXPECT_EQ(fahrenheit.parse(ConditionsPageBuilder::page(place, obs)).windChill,
              "17" + kDegree + " F");
    ParseHarness metric(true);
    EXPECT_EQ(metric.parse(ConditionsPageBuilder::page(place, obs)).windChill,
              "-8" + kDegree + " C  ");

    obs.temperatureF = 90;
    obs.humidity = 70;
    obs.windChillF.reset();
    obs.heatIndexRow = HeatIndexRow::Empty;
    EXPECT_EQ(fahrenheit.parse(ConditionsPageBuilder::page(place, obs)).heatIndex,
              "106" + kDegree + " F");
    obs.heatIndexRow = HeatIndexRow::Missing;
    EXPECT_EQ(fahrenheit.parse(ConditionsPageBuilder::page(place, obs)).heatIndex,
              "106" + kDegree + " F");

    obs.temperatureF = -12;
    EXPECT_EQ(fahrenheit.parse(ConditionsPageBuilder::page(place, obs)).temperature,
              "-12" + kDegree + "F ");
    EXPECT_EQ(fahrenheit.state.temperatureF, -12);
}

TEST(EmulatorPagesParseExamples, SearchPageGivesTheParsersMessages)
{
    ParseHarness harness(false);
    harness.parse(ConditionsPageBuilder::searchPage("Boston"));
    EXPECT_EQ(harness.ui.messages(),
              (std::vector<std::string>{
                  "Error (P2) occurred parsing data.  Please try again in a few minutes."}));
}

} // namespace
} // namespace cirrolux::test
