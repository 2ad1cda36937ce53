// The page-level behaviour of the conditions parser: fixture pages against their expected
// records, the order of everything shown, the messages, the title and the window title.
#include "ConditionsPage.h"
#include "ParserHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cirrolux::test {
namespace {

using test::PrintTo;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Reading = ConditionsView::Reading;

// --- Fixture pages against their .ref files ---------------------------------------------------

struct FixtureCase
{
    std::string name;
    std::string page;
    std::string reference;
    bool metric;
};

class FixturePages : public ::testing::TestWithParam<FixtureCase>
{
};

TEST_P(FixturePages, ParseMatchesReference)
{
    const FixtureCase& c = GetParam();
    ParserHarness h;
    h.setMetric(c.metric);
    const std::string page = testData("conditions/" + c.page);
    ASSERT_FALSE(page.empty()) << c.page;
    const std::string expected = referenceData("conditions/" + c.reference);
    ASSERT_FALSE(expected.empty()) << c.reference;

    const ConditionsRecord& record = h.parseAll(page);

    EXPECT_EQ(describe(record), expected);
    EXPECT_TRUE(h.ui.events().empty()) << "no message for a good page";
    EXPECT_EQ(h.state.temperatureF, record.temperatureF);
    EXPECT_EQ(h.state.locationTitle, record.title);
}

TEST_P(FixturePages, RecordMirrorsTheLabels)
{
    const FixtureCase& c = GetParam();
    ParserHarness h;
    h.setMetric(c.metric);
    const ConditionsRecord& r = h.parseAll(testData("conditions/" + c.page));

    const std::pair<Reading, const std::string*> labels[] = {
        {Reading::Conditions, &r.updated},
        {Reading::Temperature, &r.temperature},
        {Reading::HeatIndex, &r.heatIndex},
        {Reading::Humidity, &r.humidity},
        {Reading::Wind, &r.wind},
        {Reading::Pressure, &r.pressure},
        {Reading::Sky, &r.sky},
        {Reading::Visibility, &r.visibility},
        {Reading::Sunrise, &r.sunrise},
        {Reading::Sunset, &r.sunset},
        {Reading::MoonRise, &r.moonRise},
        {Reading::MoonSet, &r.moonSet},
        {Reading::WindChill, &r.windChill},
    };
    for (const auto& [which, field] : labels)
        EXPECT_EQ(h.view.reading(which), *field) << RecordingConditionsView::labelName(which);
    EXPECT_EQ(h.view.trayTip(), r.trayTip);
    EXPECT_EQ(h.view.trayPicture(), r.skyIcon);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, FixturePages,
    ::testing::Values(
        FixtureCase{"BostonSummer", "boston-summer.html", "boston-summer.ref", false},
        FixtureCase{"BostonSummerMetric", "boston-summer.html", "boston-summer.metric.ref", true},
        FixtureCase{"ChicagoWinter", "chicago-winter.html", "chicago-winter.ref", false},
        FixtureCase{"ChicagoWinterMetric", "chicago-winter.html", "chicago-winter.metric.ref",
                    true}),
    [](const ::testing::TestParamInfo<FixtureCase>& info) { return info.param.name; });

// --- Order of everything shown ----------------------------------------------------------------

TEST(ParseOrder, GoodPageShowsEachReadingAsItIsTaken)
{
    ParserHarness h;
    h.state.currentLocationKey = "Boston, MA";
    std::size_t logSizeAtPreset = 0;
    h.onPreset = [&] { logSizeAtPreset = h.view.log().size(); };

    h.parseAll(ConditionsPage().html());

    const std::vector<std::string> expected = {
        "status: ...parsing data...",
        "lblsky2: ",
        "lblTemp2: ",
        "lblHumid2: ",
        "lblPress2: ",
        "lblWind2: ",
        "lblVisible2: ",
        "lblSunrise2: ",
        "lblSunset2: ",
        "lblMoonRise2: ",
        "lblMoonSet2: ",
        "lblHeatIndex2: ",
        "lblWindChill2: ",
        "lblConditions: Conditions at 3:51 PM EDT",
        "lblTemp2: 90 \xB0"
        "F ",
        "lblHeatIndex2: 105 \xB0"
        "F   ",
        "lblHumid2: 70% ",
        "lblWind2: South at 9 mph   ",
        "lblPress2: 29.92 in   ",
        "lblsky2: Partly Cloudy",
        "tray tip: Partly Cloudy && 90 \xB0"
        "F ",
        "tray picture: 4",
        "lblVisible2: 10 miles",
        "lblSunrise2:  5:25 AM EDT   ",
        "lblSunset2:  8:17 PM EDT   ",
        "lblMoonRise2:  3:02 AM EDT   ",
        "lblMoonSet2:  6:41 PM EDT   ",
        "status: Thank you for using Cirrolux...",
        "window title: Cirrolux - Boston, MA",
        // CompleteHeatIndex keeps the page's own heat index and shows nothing; above 50 F the
        // wind chill is the temperature.
        "lblWindChill2: 90 \xB0"
        "F ",
    };
    EXPECT_THAT(h.view.log(), ElementsAreArray(expected));
    EXPECT_EQ(h.presetCalls, 1);
    EXPECT_EQ(logSizeAtPreset, 28u) << "the preset is added after the resting status, before "
                                       "the window title";
}

TEST(ParseOrder, ConditionsLineKeepsItsTextUntilTheTimeIsRead)
{
    ParserHarness h;
    h.view.showReading(Reading::Conditions, "Conditions at 1:00 PM EDT");
    ConditionsPage page;
    page.updated = "Last update unknown";

    h.parseAll(page.html());

    EXPECT_EQ(h.view.reading(Reading::Conditions), "Conditions at 1:00 PM EDT");
    EXPECT_THAT(h.ui.messages(), ElementsAre(MessageP2));
}

// --- Messages ---------------------------------------------------------------------------------

struct MessageCase
{
    std::string name;
    std::string page;
    std::vector<std::string> messages;
};

class ParseMessages : public ::testing::TestWithParam<MessageCase>
{
};

TEST_P(ParseMessages, ShowsExactlyTheseMessagesAndStillFinishes)
{
    const MessageCase& c = GetParam();
    ParserHarness h;
    h.state.currentLocationKey = "Boston, MA";

    h.parseAll(c.page);

    EXPECT_THAT(h.ui.messages(), ElementsAreArray(c.messages));
    EXPECT_EQ(h.ui.events().size(), c.messages.size());
    // Step 9 runs whatever happened before it.
    EXPECT_EQ(h.view.statusTexts().back(), "Thank you for using Cirrolux...");
    EXPECT_EQ(h.presetCalls, 1);
    EXPECT_EQ(h.view.windowTitle(), "Cirrolux - Boston, MA");
}

MessageCase pageCase(std::string name, const ConditionsPage& page,
                     std::vector<std::string> messages)
{
    return {std::move(name), page.html(), std::move(messages)};
}

std::vector<MessageCase> messageCases()
{
    ConditionsPage noUnderground;
    noUnderground.title = "Weather Forecast for Boston, Massachusetts";
    ConditionsPage noUpdated;
    noUpdated.updated = "<b>Observed:</b> 3:51 PM EDT on July 18, 2001";
    ConditionsPage noTemperature;
    noTemperature.remove("Temperature");
    ConditionsPage noUnit;
    noUnit.setValue("Temperature", "<b>72</b>");
    ConditionsPage unitFarAway;
    unitFarAway.setValue("Temperature", "<b>72</b> in the shade, Fahrenheit");
    // Without "Conditions at" the block starts at the 9th character after "Underground:".
    const std::string updatedFirst =
        "<title>Weather Underground:12345678Updated: 3:51 PM EDT on July 18</title>\n"
        "Temperature\n72 \xB0"
        "F";
    const std::string updatedSecond =
        "<title>Weather Underground:123456789Updated: 3:51 PM EDT on July 18</title>\n"
        "Temperature\n72 \xB0"
        "F";
    return {
        pageCase("GoodPage", ConditionsPage(), {}),
        {"EmptyPage", "", {MessageP1, MessageP2}},
        pageCase("NoUndergroundGivesP1ThenP2", noUnderground, {MessageP1, MessageP2}),
        pageCase("NoUpdated", noUpdated, {MessageP2}),
        {"UpdatedAtPosition1", updatedFirst, {MessageP2}},
        {"UpdatedAtPosition2", updatedSecond, {}},
        pageCase("NoTemperature", noTemperature, {MessageP3}),
        pageCase("TemperatureWithoutUnit", noUnit, {MessageP3a}),
        pageCase("UnitBeyondTwelveCharacters", unitFarAway, {MessageP3a}),
    };
}

INSTANTIATE_TEST_SUITE_P(Conditions, ParseMessages, ::testing::ValuesIn(messageCases()),
                         [](const ::testing::TestParamInfo<MessageCase>& info) {
                             return info.param.name;
                         });

TEST(ParseFailure, AfterP2TheClearedLabelsStayEmptyAndTheCompletionsStillRun)
{
    ParserHarness h;
    h.parseAll(ConditionsPage().html()); // a good parse first, so every label has a text
    h.view.clearLog();
    ConditionsPage page;
    page.updated = "no time here";

    const ConditionsRecord& r = h.parseAll(page.html());

    EXPECT_THAT(h.ui.messages(), ElementsAre(MessageP2));
    for (const Reading which :
         {Reading::Sky, Reading::Temperature, Reading::Humidity, Reading::Pressure, Reading::Wind,
          Reading::Visibility, Reading::Sunrise, Reading::Sunset, Reading::MoonRise,
          Reading::MoonSet}) {
        EXPECT_EQ(h.view.reading(which), "") << RecordingConditionsView::labelName(which);
    }
    EXPECT_EQ(r.heatIndex, "n/a");
    EXPECT_EQ(h.view.reading(Reading::HeatIndex), "n/a");
    EXPECT_EQ(r.windChill, "") << "a copy of the empty temperature text";
    EXPECT_EQ(h.state.temperatureF, 999);
    EXPECT_TRUE(h.view.trayTips().empty()) << "the tray keeps the last good tip";
    EXPECT_EQ(h.view.trayPicture(), 4);
    EXPECT_EQ(h.view.reading(Reading::Conditions), "Conditions at 3:51 PM EDT");
}

TEST(ParseFailure, AfterP3TheTemperatureIsUnknownAndNothingFurtherIsRead)
{
    ParserHarness h;
    ConditionsPage page;
    page.remove("Temperature");

    const ConditionsRecord& r = h.parseAll(page.html());

    EXPECT_THAT(h.ui.messages(), ElementsAre(MessageP3));
    EXPECT_EQ(r.updated, "Conditions at 3:51 PM EDT") << "the time comes before step 6";
    EXPECT_EQ(r.humidity, "");
    EXPECT_EQ(r.sky, "");
    EXPECT_EQ(r.heatIndex, "n/a");
    EXPECT_EQ(r.windChill, "");
}

TEST(ParseFailure, P3aGoesOnWithTheTemperatureNotAvailable)
{
    ParserHarness h;
    ConditionsPage page;
    page.setValue("Temperature", "<b>72</b>");

    const ConditionsRecord& r = h.parseAll(page.html());

    EXPECT_THAT(h.ui.messages(), ElementsAre(MessageP3a));
    EXPECT_EQ(r.temperature, "n/a");
    EXPECT_EQ(r.temperatureF, 999);
    EXPECT_EQ(r.humidity, "70% ") << "the readings after the temperature are still taken";
    EXPECT_EQ(r.trayTip, "Partly Cloudy && n/a");
    EXPECT_EQ(r.heatIndex, "105 \xB0"
                           "F   ")
        << "the page's heat index is kept";
    EXPECT_EQ(r.windChill, "n/a") << "a copy of the temperature text";
}

// --- Title ------------------------------------------------------------------------------------

struct TitleCase
{
    std::string name;
    std::string title;   // inner text of <title>
    std::string heading; // text before "Updated:"
    std::string expected;
};

class PageTitle : public ::testing::TestWithParam<TitleCase>
{
};

TEST_P(PageTitle, KeepsTheLocationName)
{
    const TitleCase& c = GetParam();
    ParserHarness h;
    h.state.locationTitle = "left from before";
    ConditionsPage page;
    page.title = c.title;
    page.heading = c.heading;

    const ConditionsRecord& r = h.parseAll(page.html());

    EXPECT_EQ(h.state.locationTitle, c.expected);
    EXPECT_EQ(r.title, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, PageTitle,
    ::testing::Values(
        TitleCase{"CityAndState", "Weather Underground: Boston, Massachusetts Weather Forecast",
                  "Current Conditions at Boston", "Boston, Massachusetts"},
        TitleCase{"ForecastBeforeWeather", "Weather Underground: Oslo, Norway Forecast",
                  "Weather Conditions at Oslo", "Oslo, Norway"},
        TitleCase{"NoForecastMark", "Weather Underground: Boston Weather Report",
                  "Current Conditions at Boston", ""},
        TitleCase{"NoWeatherAfterTheMark", "Weather Underground: Oslo, Norway Forecast",
                  "Current Conditions at Oslo", ""},
        TitleCase{"ControlCharactersTrimmed",
                  "Weather Underground:\t\r\n Boston, Massachusetts \t Weather Forecast",
                  "Current Conditions at Boston", "Boston, Massachusetts"},
        TitleCase{"NoUndergroundEmptiesTheTitle", "Boston, Massachusetts Weather Forecast",
                  "Current Conditions at Boston", ""}),
    [](const ::testing::TestParamInfo<TitleCase>& info) { return info.param.name; });

// --- Observation time -------------------------------------------------------------------------

struct TimeCase
{
    std::string name;
    std::string updated; // the page's "Updated:" line
    std::string expected;
};

class ObservationTime : public ::testing::TestWithParam<TimeCase>
{
};

TEST_P(ObservationTime, ShownAfterConditionsAt)
{
    const TimeCase& c = GetParam();
    ParserHarness h;
    ConditionsPage page;
    page.updated = c.updated;

    h.parser.ParseConditionsPage(page.html());

    EXPECT_EQ(h.view.reading(Reading::Conditions), c.expected);
    EXPECT_EQ(h.parser.record().updated, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, ObservationTime,
    ::testing::Values(
        TimeCase{"UpToOn", "<b>Updated:</b> 3:51 PM EDT on July 18, 2001",
                 "Conditions at 3:51 PM EDT"},
        TimeCase{"NoOnTakesThirteenCharacters", "<b>Updated:</b> 3:51 PM EDT, July 18, 2001",
                 "Conditions at 3:51 PM EDT,"},
        TimeCase{"OnBeforeTheTimeGivesNothing", "<b>Updated: on</b> 3:51 PM EDT", "Conditions at "},
        TimeCase{"TimeIsRawPageText", "<b>Updated:</b>&nbsp;3:51 PM EDT on July 18",
                 "Conditions at &nbsp;3:51 PM EDT"},
        TimeCase{"ShortTagTrimmed", "<i>Updated:</i>  11:02 AM GMT on July 18",
                 "Conditions at 11:02 AM GMT"}),
    [](const ::testing::TestParamInfo<TimeCase>& info) { return info.param.name; });

// --- Window title -----------------------------------------------------------------------------

struct WindowTitleCase
{
    std::string name;
    std::string key;
    std::string presetName; // what AddPreset leaves in lastPresetName
    std::string expected;
};

class WindowTitle : public ::testing::TestWithParam<WindowTitleCase>
{
};

TEST_P(WindowTitle, NamesTheLocation)
{
    const WindowTitleCase& c = GetParam();
    ParserHarness h;
    h.state.currentLocationKey = c.key;
    h.onPreset = [&] { h.state.lastPresetName = c.presetName; };

    h.parser.ParseConditionsPage(ConditionsPage().html());

    EXPECT_EQ(h.view.windowTitle(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, WindowTitle,
    ::testing::Values(WindowTitleCase{"Key", "Boston, MA", "Boston, MA", "Cirrolux - Boston, MA"},
                      WindowTitleCase{"TwoCharacterKey", "NY", "New York, NY", "Cirrolux - NY"},
                      WindowTitleCase{"OneCharacterKeyUsesPreset", "X", "Oslo, Norway (O)",
                                      "Cirrolux - Oslo, Norway (O)"},
                      WindowTitleCase{"EmptyKeyUsesPresetAddedJustNow", "", "02134 - Boston, MA",
                                      "Cirrolux - 02134 - Boston, MA"}),
    [](const ::testing::TestParamInfo<WindowTitleCase>& info) { return info.param.name; });

// --- The metric switch ------------------------------------------------------------------------

TEST(MetricSwitch, ReadAgainEachTimeItIsNeeded)
{
    ParserHarness h;
    ConditionsPage page;
    page.remove("Heat<br>Index");
    page.setValue("Wind", "<b>NW</b> at <b>20</b> mph");
    page.setValue("Temperature", "<b>80</b>&nbsp;&#176;F");
    h.setMetric(false);
    h.parser.ParseConditionsPage(page.html());
    EXPECT_EQ(h.parser.record().temperature, "80 \xB0"
                                             "F ");

    h.setMetric(true);
    h.parser.CompleteHeatIndex();
    h.setMetric(false);
    h.parser.CompleteWindChill();

    // HI(80, 70) = 82.95, 83 F; in Celsius 28.
    EXPECT_EQ(h.parser.record().heatIndex, "28\xB0 C  ");
    // At 80 F the wind chill is the temperature's text, read in Fahrenheit.
    EXPECT_EQ(h.parser.record().windChill, "80 \xB0"
                                           "F ");
}

TEST(MetricSwitch, OnlyALowerCaseYMeansMetric)
{
    for (const char* value : {"Y", "yes", "n", ""}) {
        ParserHarness h;
        h.settings.write_setting(SettingNames::Settings, SettingNames::Metric, value);
        h.parser.ParseConditionsPage(ConditionsPage().html());
        EXPECT_EQ(h.parser.record().temperature, "90 \xB0"
                                                 "F ")
            << "Metric=" << value;
    }
}

} // namespace
} // namespace cirrolux::test
