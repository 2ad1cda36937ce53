// The lunar theory behind the tables, checked against published worked examples and eclipses.
#include "MoonEphemeris.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace cirrolux::moongen {
namespace {

TEST(MoonEphemeris, JulianDayOfCalendarDates)
{
    EXPECT_DOUBLE_EQ(JulianDay(2000, 1, 1), 2451544.5);
    EXPECT_DOUBLE_EQ(JulianDay(1992, 4, 12), 2448724.5);
    EXPECT_DOUBLE_EQ(JulianDay(1998, 3, 1) - JulianDay(1998, 2, 28), 1.0);
    EXPECT_DOUBLE_EQ(JulianDay(2000, 3, 1) - JulianDay(2000, 2, 28), 2.0);
    EXPECT_DOUBLE_EQ(JulianDay(2100, 3, 1) - JulianDay(2100, 2, 28), 1.0);
}

TEST(MoonEphemeris, DeltaTIsAboutAMinuteAroundTheTables)
{
    EXPECT_NEAR(DeltaTSeconds(1998.0), 63.0, 1.0);
    EXPECT_NEAR(DeltaTSeconds(2000.0), 63.86, 0.01);
    // The pieces of the polynomial meet without a jump.
    EXPECT_NEAR(DeltaTSeconds(2004.999), DeltaTSeconds(2005.0), 0.5);
    EXPECT_NEAR(DeltaTSeconds(2049.999), DeltaTSeconds(2050.0), 0.5);
}

// Meeus, Astronomical Algorithms, example 47.a: 1992 April 12, 0h TD.
TEST(MoonEphemeris, MoonPositionOfTheWorkedExample)
{
    const MoonPosition moon = MoonAt(2448724.5);
    EXPECT_NEAR(moon.longitude, 133.162655, 0.000002);
    EXPECT_NEAR(moon.latitude, -3.229126, 0.000002);
    EXPECT_NEAR(moon.distanceKm, 368409.7, 0.1);
}

// Example 48.a, same instant: i = 69.0756 degrees, k = 0.6786 (our Sun is the low-accuracy one).
TEST(MoonEphemeris, PhaseOfTheWorkedExample)
{
    EXPECT_NEAR(PhaseAngle(2448724.5), 69.0756, 0.01);
    EXPECT_NEAR(IlluminatedFraction(2448724.5), 0.6786, 0.0001);
}

TEST(MoonEphemeris, SunPositionOfTheWorkedExample)
{
    // Example 25.a, 1992 October 13, 0h TD: true longitude 199.90988, distance 0.99766 AU; we
    // add the aberration of -0.00569 but not the nutation, which cancels in the phase.
    const SunPosition sun = SunAt(2448908.5);
    EXPECT_NEAR(sun.longitude, 199.90988 - 0.00569, 0.00002);
    EXPECT_NEAR(sun.distanceKm / 149597870.7, 0.99766, 0.00002);
}

struct Eclipse
{
    const char* name;
    int year, month, day;
    double hourUt; // greatest eclipse
    bool lunar;
};

void PrintTo(const Eclipse& e, std::ostream* out)
{
    *out << e.name;
}

class EclipseTest : public ::testing::TestWithParam<Eclipse>
{
};

// At an eclipse the Moon is exactly full or new, seen along the line Sun-Earth.
TEST_P(EclipseTest, MoonIsFullOrNew)
{
    const Eclipse& e = GetParam();
    const double jde = JulianDay(e.year, e.month, e.day) + e.hourUt / 24.0 +
                       DeltaTSeconds(e.year + (e.month - 0.5) / 12.0) / 86400.0;
    const double k = IlluminatedFraction(jde);
    if (e.lunar) {
        EXPECT_GT(k, 0.9995);
        EXPECT_GT(k, IlluminatedFraction(jde - 0.25));
        EXPECT_GT(k, IlluminatedFraction(jde + 0.25));
    } else {
        EXPECT_LT(k, 0.0005);
        EXPECT_LT(k, IlluminatedFraction(jde - 0.25));
        EXPECT_LT(k, IlluminatedFraction(jde + 0.25));
    }
    // A day later the phase has visibly moved on.
    EXPECT_GT(std::abs(IlluminatedFraction(jde + 1.0) - k), 0.008);
}

INSTANTIATE_TEST_SUITE_P(Published, EclipseTest,
                         ::testing::Values(Eclipse{"Solar1999Aug11", 1999, 8, 11, 11.05, false},
                                           Eclipse{"Lunar2000Jan21", 2000, 1, 21, 4.73, true},
                                           Eclipse{"Solar2017Aug21", 2017, 8, 21, 18.43, false},
                                           Eclipse{"Lunar2022Nov08", 2022, 11, 8, 10.98, true},
                                           Eclipse{"Solar2024Apr08", 2024, 4, 8, 18.30, false},
                                           Eclipse{"Lunar2025Mar14", 2025, 3, 14, 6.98, true}),
                         [](const ::testing::TestParamInfo<Eclipse>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace cirrolux::moongen
