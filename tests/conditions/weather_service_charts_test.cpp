// The computed wind chill and heat index against the charts the US National Weather Service
// publishes, read cell by cell as whole degrees Fahrenheit.
#include "conditions/ReadingMath.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace cirrolux::test {
namespace {

// NWS Wind Chill Chart (effective 11/01/01), https://www.weather.gov/safety/cold-wind-chill-chart:
// one row per wind speed, one column per air temperature.
constexpr std::array<int, 18> ChillTemperatures = {40, 35,  30,  25,  20,  15,  10,  5,   0,
                                                   -5, -10, -15, -20, -25, -30, -35, -40, -45};
struct ChillRow
{
    int mph;
    std::array<int, 18> chill;
};
constexpr std::array<ChillRow, 12> WindChillChart = {{
    {5, {36, 31, 25, 19, 13, 7, 1, -5, -11, -16, -22, -28, -34, -40, -46, -52, -57, -63}},
    {10, {34, 27, 21, 15, 9, 3, -4, -10, -16, -22, -28, -35, -41, -47, -53, -59, -66, -72}},
    {15, {32, 25, 19, 13, 6, 0, -7, -13, -19, -26, -32, -39, -45, -51, -58, -64, -71, -77}},
    {20, {30, 24, 17, 11, 4, -2, -9, -15, -22, -29, -35, -42, -48, -55, -61, -68, -74, -81}},
    {25, {29, 23, 16, 9, 3, -4, -11, -17, -24, -31, -37, -44, -51, -58, -64, -71, -78, -84}},
    {30, {28, 22, 15, 8, 1, -5, -12, -19, -26, -33, -39, -46, -53, -60, -67, -73, -80, -87}},
    {35, {28, 21, 14, 7, 0, -7, -14, -21, -27, -34, -41, -48, -55, -62, -69, -76, -82, -89}},
    {40, {27, 20, 13, 6, -1, -8, -15, -22, -29, -36, -43, -50, -57, -64, -71, -78, -84, -91}},
    {45, {26, 19, 12, 5, -2, -9, -16, -23, -30, -37, -44, -51, -58, -65, -72, -79, -86, -93}},
    {50, {26, 19, 12, 4, -3, -10, -17, -24, -31, -38, -45, -52, -60, -67, -74, -81, -88, -95}},
    {55, {25, 18, 11, 4, -3, -11, -18, -25, -32, -39, -46, -54, -61, -68, -75, -82, -89, -97}},
    {60, {25, 17, 10, 3, -4, -11, -19, -26, -33, -40, -48, -55, -62, -69, -76, -84, -91, -98}},
}};

TEST(WeatherServiceCharts, WindChillMatchesEveryCellOfTheChart)
{
    for (const ChillRow& row : WindChillChart) {
        for (std::size_t i = 0; i < ChillTemperatures.size(); ++i) {
            const int t = ChillTemperatures[i];
            ASSERT_TRUE(WindChillApplies(t, row.mph));
            EXPECT_EQ(WholeNumberText(WindChillF(t, row.mph)), std::to_string(row.chill[i]))
                << t << " F at " << row.mph << " mph";
        }
    }
}

// Where the chart ends: no wind chill above 50 F or below 3 mph, and where there is one it is
// never warmer than the air.
TEST(WeatherServiceCharts, WindChillOnlyAtOrBelowFiftyWithThreeMphOrMore)
{
    EXPECT_TRUE(WindChillApplies(50, 3));
    EXPECT_FALSE(WindChillApplies(51, 3));
    EXPECT_FALSE(WindChillApplies(50, 2));
    EXPECT_FALSE(WindChillApplies(-40, 0));
    for (int t = -60; t <= 50; ++t) {
        for (int v = 3; v <= 120; ++v)
            ASSERT_LT(WindChillF(t, v), t) << t << " F at " << v << " mph";
    }
}

// NWS Heat Index chart, https://www.weather.gov/safety/heat-index: one row per relative
// humidity, one column per air temperature from 80 F in steps of 2 F, as far as the chart goes.
struct HeatRow
{
    int humidity;
    std::vector<int> index;
};
const std::array<HeatRow, 13> HeatIndexChart = {{
    {40, {80, 81, 83, 85, 88, 91, 94, 97, 101, 105, 109, 114, 119, 124, 130, 136}},
    {45, {80, 82, 84, 87, 89, 93, 96, 100, 104, 109, 114, 119, 124, 130, 137}},
    {50, {81, 83, 85, 88, 91, 95, 99, 103, 108, 113, 118, 124, 131, 137}},
    {55, {81, 84, 86, 89, 93, 97, 101, 106, 112, 117, 124, 130, 137}},
    {60, {82, 84, 88, 91, 95, 100, 105, 110, 116, 123, 129, 137}},
    {65, {82, 85, 89, 93, 98, 103, 108, 114, 121, 128, 136}},
    {70, {83, 86, 90, 95, 100, 105, 112, 119, 126, 134}},
    {75, {84, 88, 92, 97, 103, 109, 116, 124, 132}},
    {80, {84, 89, 94, 100, 106, 113, 121, 129}},
    {85, {85, 90, 96, 102, 110, 117, 126, 135}},
    {90, {86, 91, 98, 105, 113, 122, 131}},
    {95, {86, 93, 100, 108, 117, 127}},
    {100, {87, 95, 103, 112, 121, 132}},
}};

// The chart was drawn from Steadman's tables; the regression the service computes with (and
// its own calculator shows) departs from it by up to 2.3 F in these cells, (temperature,
// humidity). Most are in the humid corner where the chart has no high-humidity adjustment.
const std::set<std::pair<int, int>> ChartDepartures = {{90, 45},  {90, 70}, {82, 90}, {80, 95},
                                                       {82, 95},  {84, 95}, {86, 95}, {80, 100},
                                                       {82, 100}, {84, 100}};

TEST(WeatherServiceCharts, HeatIndexMatchesTheChartOutsideItsKnownDepartures)
{
    int matched = 0;
    for (const HeatRow& row : HeatIndexChart) {
        for (std::size_t i = 0; i < row.index.size(); ++i) {
            const int t = 80 + 2 * int(i);
            const double hi = HeatIndexF(t, row.humidity);
            if (ChartDepartures.contains({t, row.humidity})) {
                EXPECT_NE(WholeNumberText(hi), std::to_string(row.index[i]));
                EXPECT_LE(std::fabs(hi - row.index[i]), 2.5) << t << " F at " << row.humidity;
                continue;
            }
            EXPECT_EQ(WholeNumberText(hi), std::to_string(row.index[i]))
                << t << " F at " << row.humidity << " %";
            ++matched;
        }
    }
    EXPECT_EQ(matched, 135 - int(ChartDepartures.size()));
}

// The parts of the algorithm the chart does not reach, worked by hand from the service's
// description of it (https://www.wpc.ncep.noaa.gov/html/heatindex_equation.shtml).
struct HeatCase
{
    double t, rh;
    const char* expected;
};

class HeatIndexAlgorithm : public ::testing::TestWithParam<HeatCase>
{
};

TEST_P(HeatIndexAlgorithm, GivesTheServicesValue)
{
    EXPECT_EQ(WholeNumberText(HeatIndexF(GetParam().t, GetParam().rh)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, HeatIndexAlgorithm,
    ::testing::Values(
        // Simple formula 0.5 (T + 61 + 1.2 (T - 68) + 0.094 RH) while its average with T < 80.
        HeatCase{60, 50, "58"},  // 58.05: the old regression from 60 F gave 83
        HeatCase{70, 50, "69"},  // 69.05
        HeatCase{78, 90, "80"},  // 79.73, average 78.9
        HeatCase{80, 0, "78"},   // 77.7, average 78.85: still the simple formula at 80 F
        HeatCase{75, 100, "77"}, // 76.9
        // Regression minus (13 - RH) / 4 * sqrt((17 - |T - 95|) / 17) below 13 % from 80 to 112 F.
        HeatCase{95, 0, "87"},    // 90.57 - 3.25
        HeatCase{100, 5, "93"},   // 94.18 - 1.68
        HeatCase{110, 5, "101"},  // 102.09 - 0.69
        HeatCase{105, 2, "96"},   // 97.61 - 1.77
        HeatCase{105, 13, "101"}, // no adjustment from 13 %
        // Regression plus (RH - 85) / 10 * (87 - T) / 5 above 85 % from 80 to 87 F.
        HeatCase{85, 90, "102"},  // 101.58 + 0.2
        HeatCase{81, 100, "93"},  // 90.77 + 1.8
        HeatCase{87, 100, "116"}, // adjustment 0 at 87 F
        HeatCase{88, 100, "121"}, // none beyond 87 F
        HeatCase{85, 85, "99"})); // none at 85 %

} // namespace
} // namespace cirrolux::test
