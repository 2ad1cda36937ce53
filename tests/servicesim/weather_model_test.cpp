// The weather behind the pages: reproducible for a place and hour, varied across places and
// hours, and wide enough to exercise every tray picture and every reading rule.
#include "SamplePlaces.h"

#include "servicesim/PlaceDirectory.h"
#include "servicesim/WeatherModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace cirrolux::test {
namespace {

using cirrolux::Observation;
using cirrolux::Place;
using servicesim::PlaceDirectory;
using servicesim::WeatherModel;

Place usCity(const char* state, const char* city)
{
    return *PlaceDirectory().usCity(state, city);
}

// The tray picture keywords in the order the program tries them; "" stands for none of them.
constexpr std::array<const char*, 14> kSkyKeywords{
    "sun",  "clear", "mostly cloud", "scattered clouds", "partly cloud", "cloud", "overcast",
    "haze", "fog",   "snow",         "thunderstorm",     "rain",         "mist",  "drizzle"};

std::string firstKeyword(const std::string& sky)
{
    std::string lower = sky;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* keyword : kSkyKeywords)
        if (lower.find(keyword) != std::string::npos)
            return keyword;
    return "";
}

struct TimeCase
{
    const char* name;
    QDateTime now;
    QDateTime expected;
};

class ObservationTime : public ::testing::TestWithParam<TimeCase>
{
};

TEST_P(ObservationTime, IsTheLatestMinute51)
{
    EXPECT_EQ(WeatherModel::observationTime(GetParam().now), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Model, ObservationTime,
    ::testing::Values(TimeCase{"After51", utc(2005, 1, 12, 20, 55), utc(2005, 1, 12, 20, 51)},
                      TimeCase{"At51", utc(2005, 1, 12, 20, 51), utc(2005, 1, 12, 20, 51)},
                      TimeCase{"Before51", utc(2005, 1, 12, 20, 50), utc(2005, 1, 12, 19, 51)},
                      TimeCase{"AcrossMidnight", utc(2005, 1, 1, 0, 10), utc(2004, 12, 31, 23, 51)},
                      TimeCase{"LocalTimeIsReadAsAnInstant",
                               QDateTime(QDate(2005, 1, 12), QTime(22, 55), QTimeZone(2 * 3600)),
                               utc(2005, 1, 12, 20, 51)}),
    [](const auto& info) { return std::string(info.param.name); });

struct LocalCase
{
    const char* name;
    Place place;
    QDateTime now;
    const char* time;
    const char* date;
};

class LocalClock : public ::testing::TestWithParam<LocalCase>
{
};

TEST_P(LocalClock, ObservationTimeInThePlacesZone)
{
    const Observation obs = WeatherModel::observe(GetParam().place, GetParam().now);
    EXPECT_EQ(obs.time, GetParam().time);
    EXPECT_EQ(obs.date, GetParam().date);
}

std::vector<LocalCase> localCases()
{
    PlaceDirectory directory;
    return {
        {"BostonWinter", usCity("MA", "Boston"), utc(2005, 1, 12, 20, 55), "3:51 PM EST",
         "January 12, 2005"},
        {"BostonSummer", usCity("MA", "Boston"), utc(2005, 7, 12, 20, 55), "4:51 PM EDT",
         "July 12, 2005"},
        {"PhoenixKeepsStandardTime", usCity("AZ", "Phoenix"), utc(2005, 7, 12, 20, 55),
         "1:51 PM MST", "July 12, 2005"},
        {"AnchorageMorning", usCity("AK", "Anchorage"), utc(2005, 1, 12, 17, 55), "8:51 AM AKST",
         "January 12, 2005"},
        {"LondonSummer", *directory.station("03772"), utc(2005, 7, 12, 11, 55), "12:51 PM BST",
         "July 12, 2005"},
        {"TokyoNextDay", *directory.station("47662"), utc(2005, 1, 12, 20, 55), "5:51 AM JST",
         "January 13, 2005"},
        {"SaoPauloNoSummerTime", *directory.station("83780"), utc(2005, 1, 12, 20, 55),
         "5:51 PM BRT", "January 12, 2005"},
        {"UsSummerTimeStartsSecondSundayOfMarch", usCity("IL", "Chicago"), utc(2005, 3, 13, 8, 55),
         "3:51 AM CDT", "March 13, 2005"},
        {"UsSummerTimeNotYetOnTheDayBefore", usCity("IL", "Chicago"), utc(2005, 3, 12, 8, 55),
         "2:51 AM CST", "March 12, 2005"},
    };
}

INSTANTIATE_TEST_SUITE_P(Model, LocalClock, ::testing::ValuesIn(localCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WeatherModel, SamePlaceAndHourGiveTheSameObservation)
{
    for (const Place& place : samplePlaces()) {
        SCOPED_TRACE(place.key);
        const Observation first = WeatherModel::observe(place, utc(2005, 1, 12, 20, 51));
        EXPECT_EQ(WeatherModel::observe(place, utc(2005, 1, 12, 21, 50)), first);
        EXPECT_EQ(WeatherModel::observe(place, utc(2005, 1, 12, 20, 51)), first);
    }
}

TEST(WeatherModel, ReadingsChangeFromHourToHour)
{
    for (const Place& place : samplePlaces()) {
        SCOPED_TRACE(place.key);
        std::set<int> temperatures;
        std::set<std::string> winds;
        std::set<int> humidities;
        for (int hour = 0; hour < 24; ++hour) {
            const Observation obs =
                WeatherModel::observe(place, utc(2005, 4, 20, 0, 55).addSecs(hour * 3600));
            temperatures.insert(obs.temperatureF);
            winds.insert(obs.wind);
            humidities.insert(obs.humidity);
        }
        EXPECT_GE(temperatures.size(), 4u);
        EXPECT_GE(winds.size(), 6u);
        EXPECT_GE(humidities.size(), 6u);
    }
}

TEST(WeatherModel, PlacesDifferAtTheSameHour)
{
    std::set<std::string> readings;
    const std::vector<Place> places = samplePlaces();
    for (const Place& place : places) {
        const Observation obs = WeatherModel::observe(place, utc(2005, 4, 20, 15, 55));
        readings.insert(std::to_string(obs.temperatureF) + "|" + std::to_string(obs.humidity) +
                        "|" + obs.wind);
    }
    EXPECT_GE(readings.size(), places.size() - 2);
}

TEST(WeatherModel, ZipCodesOfOneCityStillHaveTheirOwnWeather)
{
    PlaceDirectory directory;
    // 12345 is not in the table and borrows a city from it; its readings are its own.
    const Place borrowed = *directory.zip("12345");
    const auto& zips = PlaceDirectory::zipTable();
    const auto named = std::find_if(zips.begin(), zips.end(), [&](const servicesim::ZipEntry& e) {
        return borrowed.title.starts_with(std::string(e.city) + ",");
    });
    ASSERT_NE(named, zips.end());
    int differences = 0;
    for (int hour = 0; hour < 24; ++hour) {
        const QDateTime now = utc(2005, 4, 20, 0, 55).addSecs(hour * 3600);
        const Observation a = WeatherModel::observe(borrowed, now);
        const Observation b = WeatherModel::observe(*directory.zip(named->zip), now);
        differences += a.wind != b.wind || a.temperatureF != b.temperatureF ? 1 : 0;
    }
    EXPECT_GT(differences, 12);
}

// Over a year of hours at the sample places, the pages exercise everything the program reads.
class YearOfPages : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_observations = new std::vector<Observation>;
        for (const Place& place : samplePlaces())
            for (int hour = 0; hour < 365 * 24; hour += 7)
                s_observations->push_back(
                    WeatherModel::observe(place, utc(2005, 1, 1, 0, 55).addSecs(hour * 3600LL)));
    }
    static void TearDownTestSuite()
    {
        delete s_observations;
        s_observations = nullptr;
    }
    static const std::vector<Observation>& observations() { return *s_observations; }

private:
    static inline std::vector<Observation>* s_observations = nullptr;
};

TEST_F(YearOfPages, EveryTrayPictureKeywordAndOneWithNone)
{
    std::map<std::string, int> seen;
    for (const Observation& obs : observations())
        ++seen[firstKeyword(obs.sky)];
    for (const char* keyword : kSkyKeywords)
        EXPECT_GT(seen[keyword], 0) << "no sky text picks the picture of \"" << keyword << "\"";
    EXPECT_GT(seen[""], 0) << "no sky text without any keyword";
}

TEST_F(YearOfPages, TemperaturesFromBelowZeroToAbove100)
{
    const auto [coldest, hottest] = std::minmax_element(
        observations().begin(), observations().end(),
        [](const Observation& a, const Observation& b) { return a.temperatureF < b.temperatureF; });
    EXPECT_LE(coldest->temperatureF, -12);
    EXPECT_GT(hottest->temperatureF, 100);
}

TEST_F(YearOfPages, CalmVariableWindyAndGusty)
{
    int calm = 0, variable = 0, windy = 0, gusty = 0;
    for (const Observation& obs : observations()) {
        calm += obs.wind == "Calm" ? 1 : 0;
        variable += obs.wind.starts_with("Variable at ") ? 1 : 0;
        windy += obs.windMph >= 20 ? 1 : 0;
        gusty += obs.wind.find(", gusting to ") != std::string::npos ? 1 : 0;
    }
    EXPECT_GT(calm, 0);
    EXPECT_GT(variable, 0);
    EXPECT_GT(windy, 0);
    EXPECT_GT(gusty, 0);
}

TEST_F(YearOfPages, HeatIndexGivenEmptyAndMissingAndWindChillRows)
{
    using Row = Observation::HeatIndexRow;
    std::map<Row, int> hot;
    std::map<Row, int> mild;
    int windChill = 0;
    for (const Observation& obs : observations()) {
        ++(obs.temperatureF >= 80 ? hot : mild)[obs.heatIndexRow];
        windChill += obs.windChillF ? 1 : 0;
        if (obs.heatIndexRow == Row::Value) {
            EXPECT_GE(obs.temperatureF, 80);
            EXPECT_FALSE(obs.windChillF);
        }
        if (obs.windChillF) {
            EXPECT_LE(obs.temperatureF, 50);
            EXPECT_LE(*obs.windChillF, obs.temperatureF);
        }
    }
    EXPECT_GT(hot[Row::Value], 0);
    EXPECT_GT(hot[Row::Empty], 0);
    EXPECT_GT(hot[Row::Missing], 0);
    EXPECT_GT(mild[Row::Empty], 0);
    EXPECT_GT(mild[Row::Missing], 0);
    EXPECT_EQ(mild[Row::Value], 0);
    EXPECT_GT(windChill, 0);
}

TEST_F(YearOfPages, ReadingsStayInRange)
{
    for (const Observation& obs : observations()) {
        EXPECT_GE(obs.humidity, 5);
        EXPECT_LE(obs.humidity, 100);
        EXPECT_GT(obs.pressureIn, 28.5);
        EXPECT_LT(obs.pressureIn, 31.5);
        EXPECT_GT(obs.visibilityMiles, 0.0);
        EXPECT_LE(obs.visibilityMiles, 10.0);
        EXPECT_LE(obs.dewPointF, obs.temperatureF);
        EXPECT_EQ(obs.observedUtc.time().minute(), 51);
        if (obs.windMph == 0) {
            EXPECT_EQ(obs.wind, "Calm");
        }
        if (HasFailure())
            return;
    }
}

TEST(WeatherModel, SnowOnlyInTheColdAndThunderOnlyInTheWarm)
{
    for (const Place& place : samplePlaces()) {
        for (int hour = 0; hour < 365 * 24; hour += 11) {
            const Observation obs =
                WeatherModel::observe(place, utc(2005, 1, 1, 0, 55).addSecs(hour * 3600LL));
            const std::string keyword = firstKeyword(obs.sky);
            if (keyword == "snow") {
                EXPECT_LE(obs.temperatureF, 36) << obs.sky;
            }
            if (keyword == "thunderstorm") {
                EXPECT_GE(obs.temperatureF, 60) << obs.sky;
            }
        }
    }
}

TEST(WeatherModel, PolarNightHasNoSunrise)
{
    const Place tromso = *PlaceDirectory().station("01025");
    const Observation obs = WeatherModel::observe(tromso, utc(2005, 12, 21, 11, 55));
    EXPECT_EQ(obs.sunrise, "-");
    EXPECT_EQ(obs.sunset, "-");
    EXPECT_NE(obs.sky, "Sunny");
}

TEST(WeatherModel, HeatIndexAndWindChillFormulas)
{
    EXPECT_NEAR(WeatherModel::heatIndex(90, 70), 105.92, 0.01);
    EXPECT_NEAR(WeatherModel::windChill(30, 20), 17.4, 0.1);
    EXPECT_NEAR(WeatherModel::windChill(-10, 25), -37.0, 0.5);
}

} // namespace
} // namespace cirrolux::test
