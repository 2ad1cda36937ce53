// The rules behind single readings: text helpers, the Fahrenheit reading, the sky picture, the
// computed heat index and wind chill, and how each table reading is cut from a page.
#include "ConditionsPage.h"
#include "ParserHarness.h"

#include "conditions/ReadingMath.h"

#include <gtest/gtest.h>

namespace cirrolux::test {
namespace {

using test::PrintTo;
using Reading = ConditionsView::Reading;

template <typename Case> std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

// --- ReplaceAll -------------------------------------------------------------------------------

struct ReplaceCase
{
    std::string name;
    std::string text, pattern, replacement, expected;
};

class ReplaceAllRule : public ::testing::TestWithParam<ReplaceCase>
{
};

TEST_P(ReplaceAllRule, ReplacesLeftToRightWithoutRescanning)
{
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, ReplaceAllRule,
    ::testing::Values(ReplaceCase{"EveryOccurrence", "Wind NW Wind", "Wind", "~", "~ NW ~"},
                      ReplaceCase{"ReplacementNotSearchedAgain", "aaa", "a", "aa", "aaaaaa"},
                      ReplaceCase{"NoMatchAcrossAReplacement", "  mph", " mph", "mph", " mph"},
                      ReplaceCase{"NonOverlapping", "aaaa", "aa", "a", "aa"},
                      ReplaceCase{"EmptyPatternKeepsText", "abc", "", "x", "abc"},
                      ReplaceCase{"NoOccurrence", "South at 9 mph", "Wind", "~", "South at 9 mph"},
                      ReplaceCase{"WholeText", "Wind", "Wind", "", ""},
                      ReplaceCase{"EmptyText", "", "Wind", "~", ""},
                      ReplaceCase{"PatternAtBothEnds", " mph at 9 mph", " mph", "mph",
                                  "mph at 9mph"}),
    caseName<ReplaceCase>);

// --- CleanPageText ----------------------------------------------------------------------------

struct CleanCase
{
    std::string name;
    std::string raw, expected;
};

class CleanText : public ::testing::TestWithParam<CleanCase>
{
};

TEST_P(CleanText, TurnsPageTextIntoPlainText)
{
    const CleanCase& c = GetParam();
    EXPECT_EQ(visible(CleanPageText(c.raw)), visible(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, CleanText,
    ::testing::Values(
        CleanCase{"DegreeEntity", "72&#176;F",
                  "72\xB0"
                  "F"},
        CleanCase{"NonBreakingSpace", "72&nbsp;F", "72 F"},
        CleanCase{"OtherEntityLosesOnlyItsAmpersand", "Radar &amp; Satellite",
                  "Radar amp; Satellite"},
        CleanCase{"HashSwallowsFourCharacters", "station #KBOS now", "station \xB0 now"},
        CleanCase{"HashNearTheEnd", "x #12", "x \xB0"},
        CleanCase{"BareEntityNamesToo", "a#176;b nbsp;c",
                  "a\xB0"
                  "b  c"},
        CleanCase{"MarkupVanishesWithoutASpace", "<td><b>72</b></td>", "72"},
        CleanCase{"LabelSplitByMarkup", "Heat<br>Index", "HeatIndex"},
        CleanCase{"MarkupKeepsItsContentsOut", "a<img alt=\"#x & y\">b", "ab"},
        CleanCase{"UnclosedTagEndsTheText", "Sunset 8:17 PM <font size=", "Sunset 8:17 PM"},
        CleanCase{"OpeningInsideTagIsPartOfIt", "a<<b>c", "ac"},
        CleanCase{"StrayClosingKept", "a > b", "a > b"},
        CleanCase{"ControlCharactersBecomeSpaces", std::string("a\rb\nc\bd\te\vf\fg_h\0i", 17),
                  "a b c d e f g h i"},
        CleanCase{"OtherBytesKept", "a\x01\x7F\xE9z", "a\x01\x7F\xE9z"},
        CleanCase{"Trimmed", "\n\t <p> 72 \r\n", "72"},
        CleanCase{"AmpersandBeforeHash", "&#", "\xB0"}, CleanCase{"Empty", "", ""}),
    caseName<CleanCase>);

TEST(CleanText, LongTextOfEveryKindIsCleanedInOnePass)
{
    // 100,000 repetitions of each construct: the result must be exact, not merely fast.
    std::string raw;
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        raw += "<td>7&#176;&nbsp;#1234_";
        expected += "7\xB0 \xB0 ";
    }
    EXPECT_EQ(CleanPageText(raw), expected.substr(0, expected.size() - 1));
}

// --- ConvertReading ---------------------------------------------------------------------------

struct ConvertCase
{
    std::string name;
    std::string text;
    ConvertMode mode;
    std::string expected;
    int expectedF; // temperatureF afterwards; it starts at 50
};

class ConvertReadingRule : public ::testing::TestWithParam<ConvertCase>
{
};

TEST_P(ConvertReadingRule, ConvertsAndSetsTheTemperature)
{
    const ConvertCase& c = GetParam();
    int temperatureF = 50;
    EXPECT_EQ(visible(ConvertReading(c.text, c.mode, temperatureF)), visible(c.expected));
    EXPECT_EQ(temperatureF, c.expectedF);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, ConvertReadingRule,
    ::testing::Values(
        ConvertCase{"FahrenheitKept",
                    "72 \xB0"
                    "F ",
                    ConvertMode::FX,
                    "72 \xB0"
                    "F ",
                    72},
        ConvertCase{"Celsius",
                    "72 \xB0"
                    "F ",
                    ConvertMode::FC, "22\xB0 C  ", 72},
        ConvertCase{"NoModeLeavesTemperature", "72\xB0 F", ConvertMode::None, "22\xB0 C  ", 50},
        ConvertCase{"NoDigitFX", "n/a", ConvertMode::FX, "n/a", 999},
        ConvertCase{"NoDigitFC",
                    "-- \xB0"
                    "F",
                    ConvertMode::FC, "n/a", 999},
        ConvertCase{"NoDigitWithoutModeStillUnknown", "   ", ConvertMode::None, "n/a", 999},
        ConvertCase{"Empty", "", ConvertMode::FX, "n/a", 999},
        ConvertCase{"OnlyFirstFourCharacters",
                    "   72\xB0"
                    "F",
                    ConvertMode::FX,
                    "   72\xB0"
                    "F",
                    7},
        ConvertCase{"DigitOutsideFirstFour", "abcd7", ConvertMode::FC, "n/a", 999},
        ConvertCase{"DigitsJoined",
                    "1\xB0"
                    "0F",
                    ConvertMode::FX,
                    "1\xB0"
                    "0F",
                    10},
        ConvertCase{"MinusBeforeFirstDigit",
                    "-5\xB0"
                    "F",
                    ConvertMode::FX,
                    "-5\xB0"
                    "F",
                    -5},
        ConvertCase{"MinusCelsius",
                    "-5\xB0"
                    "F",
                    ConvertMode::FC, "-21\xB0 C  ", -5},
        ConvertCase{"MinusAfterSpace", " -5\xB0", ConvertMode::FC, "-21\xB0 C  ", -5},
        ConvertCase{"MinusNotDirectlyBefore", "- 5F", ConvertMode::FX, "- 5F", 5},
        ConvertCase{"MinusAfterFirstDigit", "5-3F", ConvertMode::FX, "5-3F", 53},
        ConvertCase{"MinusFortyIsMinusForty", "-40F", ConvertMode::FC, "-40\xB0 C  ", -40},
        ConvertCase{"MinusZero", "-0F", ConvertMode::FC, "-18\xB0 C  ", 0},
        ConvertCase{"FreezingIsZeroNotMinusZero", "32F", ConvertMode::FC, "0\xB0 C  ", 32},
        ConvertCase{"JustBelowFreezing", "31F", ConvertMode::FC, "-1\xB0 C  ", 31},
        ConvertCase{"JustAboveFreezing", "33F", ConvertMode::FC, "1\xB0 C  ", 33},
        ConvertCase{"FourDigits", "9999", ConvertMode::FC, "5537\xB0 C  ", 9999},
        ConvertCase{"NegativeStaysDistinctFromUnknown", "-999", ConvertMode::FX, "-999", -999}),
    caseName<ConvertCase>);

// --- Rounding ---------------------------------------------------------------------------------

struct RoundCase
{
    std::string name;
    double value;
    std::string expected;
};

class WholeNumber : public ::testing::TestWithParam<RoundCase>
{
};

TEST_P(WholeNumber, RoundsHalvesToEven)
{
    EXPECT_EQ(WholeNumberText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Conditions, WholeNumber,
                         ::testing::Values(RoundCase{"HalfDown", 0.5, "0"},
                                           RoundCase{"HalfUp", 1.5, "2"},
                                           RoundCase{"TwoAndAHalf", 2.5, "2"},
                                           RoundCase{"NegativeHalf", -0.5, "0"},
                                           RoundCase{"NegativeOneAndAHalf", -1.5, "-2"},
                                           RoundCase{"NegativeTwoAndAHalf", -2.5, "-2"},
                                           RoundCase{"SmallNegativeIsZero", -0.3, "0"},
                                           RoundCase{"Nearest", 105.922, "106"},
                                           RoundCase{"NearestNegative", -48.606, "-49"},
                                           RoundCase{"Large", 1e20, "100000000000000000000"}),
                         caseName<RoundCase>);

TEST(DigitsNumberRule, ReadsDigitsInOrderAndTheSignOnlyWhenAsked)
{
    EXPECT_EQ(DigitsNumber("NW at 20 mph", false), 20.0);
    EXPECT_EQ(DigitsNumber("-20", false), 20.0);
    EXPECT_EQ(DigitsNumber("-20", true), -20.0);
    EXPECT_EQ(DigitsNumber("Calm", false), std::nullopt);
    EXPECT_NEAR(*DigitsNumber("12345678901234567890", false), 1.2345678901234567e19, 1e5);
}

// --- Sky picture ------------------------------------------------------------------------------

struct SkyCase
{
    std::string name;
    std::string sky;
    int icon;
};

class SkyIcon : public ::testing::TestWithParam<SkyCase>
{
};

TEST_P(SkyIcon, FirstMatchingWordChoosesThePicture)
{
    EXPECT_EQ(SkyIconFor(GetParam().sky), GetParam().icon);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, SkyIcon,
    ::testing::Values(
        SkyCase{"MostlyCloudy", "Mostly Cloudy", 3}, SkyCase{"Sunny", "Sunny", 11},
        SkyCase{"Clear", "Clear", 11}, SkyCase{"LightRainShowers", "Light Rain Showers", 9},
        SkyCase{"MostlySunny", "Mostly Sunny", 11}, SkyCase{"NoWord", "Blowing Dust", 0},
        SkyCase{"Empty", "", 0}, SkyCase{"NotAvailable", "n/a", 0},
        SkyCase{"ThunderstormsAndRain", "Thunderstorms and Rain", 2},
        SkyCase{"SnowShowers", "Snow Showers", 10}, SkyCase{"PartlyCloudy", "Partly Cloudy", 4},
        SkyCase{"ScatteredClouds", "Scattered Clouds", 4}, SkyCase{"Cloudy", "Cloudy", 12},
        SkyCase{"Overcast", "Overcast", 3}, SkyCase{"Haze", "Haze", 1},
        SkyCase{"Fog", "Patches of Fog", 1}, SkyCase{"Mist", "Mist", 5},
        SkyCase{"Drizzle", "Light Drizzle", 5}, SkyCase{"SnowBeforeRain", "Rain and Snow", 10},
        SkyCase{"SunBeforeEverything", "Sunny with Thunderstorms", 11},
        SkyCase{"UpperCase", "MOSTLY CLOUDY", 3}),
    caseName<SkyCase>);

// --- Temperature from a page ------------------------------------------------------------------

struct TemperatureCase
{
    std::string name;
    std::string value; // markup of the temperature cell
    bool metric;
    std::string shown;
    int temperatureF;
};

class TemperatureReading : public ::testing::TestWithParam<TemperatureCase>
{
};

TEST_P(TemperatureReading, ShownAndRemembered)
{
    const TemperatureCase& c = GetParam();
    ParserHarness h;
    h.setMetric(c.metric);
    ConditionsPage page;
    page.setValue("Temperature", c.value);

    h.parser.ParseConditionsPage(page.html());

    EXPECT_EQ(visible(h.view.reading(Reading::Temperature)), visible(c.shown));
    EXPECT_EQ(h.state.temperatureF, c.temperatureF);
    EXPECT_TRUE(h.ui.events().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, TemperatureReading,
    ::testing::Values(
        TemperatureCase{"Fahrenheit", "<b>72</b>&nbsp;&#176;F", false,
                        "72 \xB0"
                        "F ",
                        72},
        TemperatureCase{"Metric", "<b>72</b>&nbsp;&#176;F", true, "22\xB0 C  ", 72},
        TemperatureCase{"CelsiusLetter", "<b>22</b>&nbsp;&#176;C", false,
                        "22 \xB0"
                        "C ",
                        22},
        TemperatureCase{"DegreeSignOnly", "<b>72</b>&nbsp;&#176;", false, "72 \xB0 ", 72},
        TemperatureCase{"UnitAtTwelfthCharacterTakesOneMore", "<b>72</b> degrees F", false,
                        "72 degrees F ", 72},
        TemperatureCase{"NoDigit", "<b>--</b>&nbsp;&#176;F", false, "n/a", 999},
        TemperatureCase{"NoDigitMetric", "<b>--</b>&nbsp;&#176;F", true, "n/a", 999},
        TemperatureCase{"BelowZero", "<b>-5</b>&nbsp;&#176;F", false,
                        "-5 \xB0"
                        "F ",
                        -5},
        TemperatureCase{"BelowZeroMetric", "<b>-5</b>&nbsp;&#176;F", true, "-21\xB0 C  ", -5},
        TemperatureCase{"DigitsBeyondFourCharacters", "&nbsp;&nbsp;&nbsp;72&#176;F", false,
                        "   72\xB0"
                        "F ",
                        7}),
    caseName<TemperatureCase>);

// --- Heat index -------------------------------------------------------------------------------

struct HeatIndexCase
{
    std::string name;
    std::string temperature; // markup of the temperature cell
    std::string humidity;    // markup of the humidity cell; empty: no humidity row
    std::string heatIndex;   // markup of the heat index cell; "-none-": no heat index row
    bool metric;
    std::string expected;
};

class HeatIndexCompletion : public ::testing::TestWithParam<HeatIndexCase>
{
};

std::string degreesF(int value)
{
    return "<b>" + std::to_string(value) + "</b>&nbsp;&#176;F";
}

TEST_P(HeatIndexCompletion, FillsInWhereThePageGivesNone)
{
    const HeatIndexCase& c = GetParam();
    ParserHarness h;
    h.setMetric(c.metric);
    ConditionsPage page;
    page.setValue("Temperature", c.temperature);
    if (c.heatIndex == "-none-") {
        page.remove("Heat<br>Index");
        if (c.humidity.empty())
            page.remove("Humidity");
        else
            page.setValue("Humidity", c.humidity);
    } else {
        // The heat index cell runs straight into the humidity label, so that the page's heat
        // index text is exactly the cell's text.
        page.remove("Humidity");
        page.setValue("Heat<br>Index", c.heatIndex + "</td><td>Humidity</td>\n<td>" + c.humidity);
    }

    h.parseAll(page.html());

    EXPECT_EQ(visible(h.parser.record().heatIndex), visible(c.expected));
    EXPECT_EQ(h.view.reading(Reading::HeatIndex), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, HeatIndexCompletion,
    ::testing::Values(
        HeatIndexCase{"NinetyAndSeventy", degreesF(90), "70%", "-none-", false, "106\xB0 F"},
        HeatIndexCase{"NinetyAndSeventyMetric", degreesF(90), "70%", "-none-", true, "41\xB0 C  "},
        HeatIndexCase{"BelowSixty", degreesF(59), "70%", "-none-", false, "n/a"},
        HeatIndexCase{"BelowSixtyAnyHumidity", degreesF(59), "100%", "-none-", false, "n/a"},
        HeatIndexCase{"SixtyIsComputed", degreesF(60), "0%", "-none-", false, "56\xB0 F"},
        HeatIndexCase{"UnknownTemperature", "<b>--</b>&nbsp;&#176;F", "70%", "-none-", false,
                      "n/a"},
        HeatIndexCase{"HumidityOver100Clamped", degreesF(90), "150%", "-none-", false, "132\xB0 F"},
        // The low-humidity adjustment: 86.64 - 3.25 * sqrt(12 / 17).
        HeatIndexCase{"NoHumidityIsZero", degreesF(90), "", "-none-", false, "84\xB0 F"},
        // Below 80 F the simple formula: 0.5 (60 + 61 - 9.6 + 4.7) = 58.05.
        HeatIndexCase{"SixtyAtHalfHumidityIsTheSimpleFormula", degreesF(60), "50%", "-none-", false,
                      "58\xB0 F"},
        HeatIndexCase{"NegativeBecomesZero", degreesF(9999), "0%", "-none-", false, "0\xB0 F"},
        HeatIndexCase{"PageNotAvailableIsCompleted", degreesF(90), "70%", "n/a", false,
                      "106\xB0 F"},
        HeatIndexCase{"OneCharacterIsCompleted", degreesF(90), "70%", "-", false, "106\xB0 F"},
        HeatIndexCase{"EmptyIsCompleted", degreesF(90), "70%", "", false, "106\xB0 F"},
        HeatIndexCase{"PagesOwnIsKept", degreesF(90), "70%", "<b>99</b>&#176;F", false,
                      "99\xB0"
                      "F"},
        HeatIndexCase{"PagesOwnInMetric", degreesF(90), "70%", "<b>99</b>&#176;F", true,
                      "37\xB0 C  "},
        HeatIndexCase{"TwoSpacesAreKept", degreesF(90), "70%", "&nbsp;&nbsp;", false, "  "}),
    caseName<HeatIndexCase>);

TEST(HeatIndexCompletion, PageHeatIndexWithoutDigitInMetricMakesTheTemperatureUnknown)
{
    // The conversion without a mode still marks a reading without digits as unknown.
    ParserHarness h;
    h.setMetric(true);
    ConditionsPage page;
    page.setValue("Heat<br>Index", "N/A");

    h.parseAll(page.html());

    EXPECT_EQ(h.parser.record().heatIndex, "n/a");
    EXPECT_EQ(h.state.temperatureF, 999);
    EXPECT_EQ(h.parser.record().windChill, "32\xB0 C  ") << "a copy of the temperature text";
}

// --- Wind and wind chill ----------------------------------------------------------------------

struct WindCase
{
    std::string name;
    std::string temperature; // markup of the temperature cell
    std::string wind;        // markup of the wind cell
    bool metric;
    std::string shownWind;
    std::string windChill;
};

class WindChillCompletion : public ::testing::TestWithParam<WindCase>
{
};

TEST_P(WindChillCompletion, ComputedFromTheWindText)
{
    const WindCase& c = GetParam();
    ParserHarness h;
    h.setMetric(c.metric);
    ConditionsPage page;
    page.setValue("Temperature", c.temperature);
    page.setValue("Wind", c.wind);

    h.parseAll(page.html());

    EXPECT_EQ(visible(h.parser.record().wind), visible(c.shownWind));
    EXPECT_EQ(visible(h.parser.record().windChill), visible(c.windChill));
    EXPECT_EQ(h.view.reading(Reading::WindChill), c.windChill);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, WindChillCompletion,
    ::testing::Values(
        WindCase{"TwoMphCopiesTemperature", degreesF(30), "<b>NW</b> at <b>2</b> mph", false,
                 "NW at 2 mph   ",
                 "30 \xB0"
                 "F "},
        WindCase{"FourMphIsComputed", degreesF(30), "<b>NW</b> at <b>4</b> mph", false,
                 "NW at 4 mph   ", "26\xB0 F"},
        WindCase{"FiftyOneDegreesCopiesTemperature", degreesF(51), "<b>NW</b> at <b>20</b> mph",
                 false, "NW at 20 mph   ",
                 "51 \xB0"
                 "F "},
        WindCase{"FiftyDegreesIsComputed", degreesF(50), "<b>NW</b> at <b>20</b> mph", false,
                 "NW at 20 mph   ", "44\xB0 F"},
        // The chart's 17 F, not the 13 F of the formula the service used before 2001.
        WindCase{"TwentyMphAtThirty", degreesF(30), "<b>NW</b> at <b>20</b> mph", false,
                 "NW at 20 mph   ", "17\xB0 F"},
        WindCase{"TwentyMphAtThirtyMetric", degreesF(30), "<b>NW</b> at <b>20</b> mph", true,
                 "NW at 20 mph   ", "-8\xB0 C  "},
        WindCase{"Calm", degreesF(30), "Calm", false, "Calm   ", "n/a"},
        WindCase{"FiveMphIsComputed", degreesF(30), "N at 5 mph", false, "N at 5 mph   ",
                 "25\xB0 F"},
        WindCase{"BelowZero", degreesF(-10), "N at 15 mph", false, "N at 15 mph   ", "-32\xB0 F"},
        WindCase{"BelowZeroMetric", degreesF(-10), "N at 15 mph", true, "N at 15 mph   ",
                 "-36\xB0 C  "},
        WindCase{"UnknownTemperatureCopiesIt", "<b>--</b>&nbsp;&#176;F", "NW at 20 mph", false,
                 "NW at 20 mph   ", "n/a"},
        WindCase{"GustDigitsRunTogether", degreesF(30), "NW 10 G 25 mph", false,
                 "NW 10 G 25 mph   ", "-15\xB0 F"},
        WindCase{"LongWindLosesSpaceBeforeMph", degreesF(30), "West Northwest at 23 mph", false,
                 "West Northwest at 23mph   ", "n/a"},
        WindCase{"TwentyTwoCharactersKeepTheSpace", degreesF(30), "Southwest at 10 mph", false,
                 "Southwest at 10 mph   ", "21\xB0 F"},
        WindCase{"TwentyThreeCharactersLoseIt", degreesF(30), "Southwest at 100 mph", false,
                 "Southwest at 100mph   ", "6\xB0 F"},
        WindCase{"WindWordBecomesTilde", degreesF(30), "Variable Wind 3 mph", false,
                 "Variable ~ 3 mph   ", "27\xB0 F"},
        WindCase{"LongTextDigitsPastSixteenIgnored", degreesF(30), "Variable and gusty at 20 mph",
                 false, "Variable and gusty at 20mph   ", "n/a"}),
    caseName<WindCase>);

TEST(WindPosition, AfterAWindChillRowTheWindRowIsFoundNearby)
{
    ParserHarness h;
    ConditionsPage page;
    page.setValue("Temperature", degreesF(30));
    page.setLabel("Heat<br>Index", "Wind<br>chill");
    page.setValue("Wind<br>chill", degreesF(17));
    page.setValue("Wind", "<b>NW</b> at <b>20</b> mph");

    h.parseAll(page.html());

    EXPECT_EQ(h.parser.record().wind, "NW at 20 mph   ");
    EXPECT_EQ(h.parser.record().heatIndex, "n/a");
    EXPECT_EQ(h.parser.record().windChill, "17\xB0 F");
}

TEST(WindPosition, WithoutAWindRowNearTheWindChillTheTextStartsAfterIt)
{
    // "Wind" more than 70 characters after the wind chill value: the text then starts 16
    // characters after "Windchill", i.e. right behind its value.
    const std::string clouds = "Scattered 4,500 ft, Broken 9,000 ft, Overcast 25,000 ft";
    ParserHarness h;
    ConditionsPage page;
    page.setValue("Temperature", degreesF(30));
    page.setLabel("Heat<br>Index", "Wind<br>chill");
    page.setValue("Wind<br>chill", degreesF(17));
    page.remove("Dew&nbsp;Point");
    page.remove("Clouds");
    page.insertBefore("Wind", {"Clouds", clouds});
    page.setValue("Wind", "<b>NW</b> at <b>20</b> mph");

    h.parser.ParseConditionsPage(page.html());

    EXPECT_EQ(visible(h.parser.record().wind),
              visible("  Humidity 70%   Clouds " + clouds + "   ~ NW at 20mph   "));
}

TEST(WindPosition, WithoutWindLabelTheWindIsNotAvailable)
{
    ParserHarness h;
    ConditionsPage page;
    page.remove("Wind");

    h.parseAll(page.html());

    EXPECT_EQ(h.parser.record().wind, "n/a");
    EXPECT_EQ(h.parser.record().windChill, "n/a");
}

// --- Sky --------------------------------------------------------------------------------------

struct SkyPageCase
{
    std::string name;
    std::string conditions; // markup of the conditions cell
    bool withVisibility;    // keep the visibility row after the conditions row
    std::string sky;
    int icon;
};

class SkyReading : public ::testing::TestWithParam<SkyPageCase>
{
};

TEST_P(SkyReading, EndsAtTheRightMark)
{
    const SkyPageCase& c = GetParam();
    ParserHarness h;
    ConditionsPage page;
    page.setValue("Conditions", c.conditions);
    if (!c.withVisibility)
        page.remove("Visibility");

    h.parser.ParseConditionsPage(page.html());

    EXPECT_EQ(visible(h.parser.record().sky), visible(c.sky));
    EXPECT_EQ(h.view.reading(Reading::Sky), c.sky);
    EXPECT_EQ(h.view.trayTips(), std::vector<std::string>{c.sky + " && 90 \xB0"
                                                                  "F "});
    EXPECT_EQ(h.view.trayPictures(), std::vector<int>{c.icon});
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, SkyReading,
    ::testing::Values(
        SkyPageCase{"EndsAtVisibility", "<b>Mostly Cloudy</b>", true, "Mostly Cloudy", 3},
        SkyPageCase{"EndsBeforeUp", "<b>Haze</b> Updated hourly", false, "Haze", 1},
        SkyPageCase{"EndsBeforeAdd", "<b>Fog</b><a href=\"/fav\">Add to My Favorites</a>", false,
                    "Fog", 1},
        SkyPageCase{"NineteenCharactersWithoutMark", "<b>Thunderstorms and Rain</b>", false,
                    "Thunderstorms and R", 2},
        // Nineteen characters reach into the next row, whose "Clouds" then picks the picture.
        SkyPageCase{"ShortTextWithoutMarkRunsOn", "<b>Snow</b>", false, "Snow   Clouds Few 6", 12},
        SkyPageCase{"TrimmedBothEnds", "&nbsp;&nbsp;Clear&nbsp;", true, "Clear", 11},
        SkyPageCase{"NoKnownWord", "<b>Blowing Dust</b>", true, "Blowing Dust", 0}),
    caseName<SkyPageCase>);

TEST(SkyReading, VisibilityBeforeConditionsGivesAnEmptySky)
{
    ParserHarness h;
    ConditionsPage page;
    page.remove("Visibility");
    page.insertBefore("Conditions", {"Visibility", "<b>10</b> miles"});

    h.parser.ParseConditionsPage(page.html());

    EXPECT_EQ(h.parser.record().sky, "");
    EXPECT_EQ(h.view.trayTips(), std::vector<std::string>{" && 90 \xB0"
                                                          "F "});
    EXPECT_EQ(h.view.trayPictures(), std::vector<int>{0});
}

TEST(SkyReading, WithoutConditionsTheTrayIsLeftAlone)
{
    ParserHarness h;
    h.parser.ParseConditionsPage(ConditionsPage().html());
    h.view.clearLog();
    ConditionsPage page;
    page.remove("Conditions");

    h.parser.ParseConditionsPage(page.html());

    EXPECT_EQ(h.parser.record().sky, "n/a");
    EXPECT_EQ(h.parser.record().pressure, "") << "its end label is missing";
    EXPECT_TRUE(h.view.trayTips().empty());
    EXPECT_TRUE(h.view.trayPictures().empty());
    EXPECT_EQ(h.view.trayTip(), "Partly Cloudy && 90 \xB0"
                                "F ");
    EXPECT_EQ(h.parser.record().trayTip, "") << "the record holds this page's tip";
    EXPECT_EQ(h.parser.record().skyIcon, 0);
}

// --- Readings cut up to the next label --------------------------------------------------------

struct SpanCase
{
    std::string name;
    std::function<void(ConditionsPage&)> change;
    Reading which;
    std::string expected;
};

class SpanReading : public ::testing::TestWithParam<SpanCase>
{
};

TEST_P(SpanReading, CutUpToTheFirstEndLabel)
{
    const SpanCase& c = GetParam();
    ParserHarness h;
    ConditionsPage page;
    c.change(page);

    h.parser.ParseConditionsPage(page.html());

    EXPECT_EQ(visible(h.view.reading(c.which)), visible(c.expected));
    EXPECT_TRUE(h.ui.events().empty());
}

void swapSunriseAndSunset(ConditionsPage& page)
{
    page.remove("Sunrise");
    page.insertBefore("Moon&nbsp;Rise", {"Sunrise", "5:25 AM EDT"});
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, SpanReading,
    ::testing::Values(
        SpanCase{"SunriseAsPrinted", [](ConditionsPage&) {}, Reading::Sunrise, " 5:25 AM EDT   "},
        SpanCase{"SunsetBeforeSunriseEmptiesSunrise", swapSunriseAndSunset, Reading::Sunrise, ""},
        SpanCase{"SunsetBeforeSunriseRunsToMoonRise", swapSunriseAndSunset, Reading::Sunset,
                 " 8:17 PM EDT   Sunrise 5:25 AM EDT   "},
        SpanCase{"NoSunriseLabel", [](ConditionsPage& p) { p.remove("Sunrise"); }, Reading::Sunrise,
                 "n/a"},
        SpanCase{"NoMoonPhaseEmptiesMoonSet",
                 [](ConditionsPage& p) { p.remove("Moon&nbsp;Phase"); }, Reading::MoonSet, ""},
        SpanCase{"MoonRise", [](ConditionsPage&) {}, Reading::MoonRise, " 3:02 AM EDT   "},
        SpanCase{"NoPressureEmptiesWind", [](ConditionsPage& p) { p.remove("Pressure"); },
                 Reading::Wind, ""},
        SpanCase{"NoPressureLabel", [](ConditionsPage& p) { p.remove("Pressure"); },
                 Reading::Pressure, "n/a"},
        SpanCase{"NoHumidityEmptiesHeatIndex", [](ConditionsPage& p) { p.remove("Humidity"); },
                 Reading::HeatIndex, ""},
        SpanCase{"NoHumidityLabel", [](ConditionsPage& p) { p.remove("Humidity"); },
                 Reading::Humidity, "n/a"},
        SpanCase{"HumidityFourCharacters",
                 [](ConditionsPage& p) { p.setValue("Humidity", "100 percent"); },
                 Reading::Humidity, "100 "},
        SpanCase{"VisibilityEightCharacters",
                 [](ConditionsPage& p) { p.setValue("Visibility", "<b>10.0</b> miles"); },
                 Reading::Visibility, "10.0 mil"},
        SpanCase{"NoVisibilityLabel", [](ConditionsPage& p) { p.remove("Visibility"); },
                 Reading::Visibility, "n/a"},
        SpanCase{"NoHeatIndexLabel", [](ConditionsPage& p) { p.remove("Heat<br>Index"); },
                 Reading::HeatIndex, "n/a"},
        SpanCase{"EntitiesInAValue",
                 [](ConditionsPage& p) { p.setValue("Pressure", "29.92&nbsp;in &amp; rising"); },
                 Reading::Pressure, "29.92 in amp; rising   "}),
    caseName<SpanCase>);

} // namespace
} // namespace cirrolux::test
