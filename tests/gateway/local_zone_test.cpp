#include "gateway/LocalZone.h"

#include "PrintCase.h"

#include <gtest/gtest.h>

namespace cirrolux::gateway {
namespace {

using test::PrintTo;

struct UsZoneCase
{
    const char* name;
    const char* state;
    double longitudeDeg;
    const char* zone; // IANA id, or the fixed offset's id
};

class UsStateZone : public ::testing::TestWithParam<UsZoneCase>
{
};

TEST_P(UsStateZone, ByStateAndMeridian)
{
    const UsZoneCase& c = GetParam();
    EXPECT_EQ(LocalZone::forUsState(c.state, c.longitudeDeg).id().toStdString(), c.zone);
}

INSTANTIATE_TEST_SUITE_P(
    States, UsStateZone,
    ::testing::Values(UsZoneCase{"boston", "MA", -71.0, "America/New_York"},
                      UsZoneCase{"miami", "FL", -80.2, "America/New_York"},
                      UsZoneCase{"pensacola", "FL", -87.2, "America/Chicago"},
                      UsZoneCase{"knoxville", "TN", -83.9, "America/New_York"},
                      UsZoneCase{"nashville", "TN", -86.8, "America/Chicago"},
                      UsZoneCase{"houston", "tx", -95.4, "America/Chicago"},
                      UsZoneCase{"el_paso", "TX", -106.4, "America/Denver"},
                      UsZoneCase{"phoenix", "AZ", -112.1, "America/Phoenix"},
                      UsZoneCase{"honolulu", "HI", -157.9, "Pacific/Honolulu"},
                      UsZoneCase{"adak", "AK", -176.6, "America/Adak"},
                      UsZoneCase{"san_juan", "PR", -66.1, "America/Puerto_Rico"},
                      // Not a state: the longitude alone, a whole-hour offset.
                      UsZoneCase{"unknown_state", "XX", -75.0, "UTC-05"}),
    [](const ::testing::TestParamInfo<UsZoneCase>& info) { return info.param.name; });

struct CountryZoneCase
{
    const char* name;
    const char* country;
    double latitudeDeg;
    double longitudeDeg;
    const char* zone;
};

class CountryZone : public ::testing::TestWithParam<CountryZoneCase>
{
};

TEST_P(CountryZone, NearestZoneOfTheCountry)
{
    const CountryZoneCase& c = GetParam();
    EXPECT_EQ(LocalZone::forCountry(c.country, c.latitudeDeg, c.longitudeDeg).id().toStdString(),
              c.zone);
}

INSTANTIATE_TEST_SUITE_P(
    Countries, CountryZone,
    ::testing::Values(CountryZoneCase{"london", "United Kingdom", 51.48, -0.46, "Europe/London"},
                      CountryZoneCase{"nairobi", "Kenya", -1.32, 36.93, "Africa/Nairobi"},
                      CountryZoneCase{"moscow", "Russia", 55.97, 37.41, "Europe/Moscow"},
                      CountryZoneCase{"vladivostok", "Russia", 43.4, 132.15, "Asia/Vladivostok"},
                      CountryZoneCase{"perth", "Australia", -31.94, 115.97, "Australia/Perth"},
                      CountryZoneCase{"sydney", "Australia", -33.95, 151.18, "Australia/Sydney"},
                      CountryZoneCase{"madrid", "Spain", 40.47, -3.56, "Europe/Madrid"},
                      CountryZoneCase{"las_palmas", "Spain", 27.93, -15.39, "Atlantic/Canary"},
                      CountryZoneCase{"toronto", "Ontario", 43.68, -79.63, "America/Toronto"},
                      CountryZoneCase{"vancouver", "British Columbia", 49.19, -123.18,
                                      "America/Vancouver"},
                      CountryZoneCase{"seoul", "South Korea", 37.47, 126.45, "Asia/Seoul"},
                      CountryZoneCase{"unknown_country", "Atlantis", 0.0, 45.0, "UTC+03"}),
    [](const ::testing::TestParamInfo<CountryZoneCase>& info) { return info.param.name; });

TEST(LocalZone, AbbreviationsFollowSummerTime)
{
    const QTimeZone eastern("America/New_York");
    EXPECT_EQ(
        LocalZone::abbreviation(eastern, QDateTime(QDate(2026, 12, 9), QTime(18, 0), Qt::UTC)),
        QStringLiteral("EST"));
    EXPECT_EQ(LocalZone::abbreviation(eastern, QDateTime(QDate(2026, 7, 1), QTime(18, 0), Qt::UTC)),
              QStringLiteral("EDT"));
    const QTimeZone london("Europe/London");
    EXPECT_EQ(LocalZone::abbreviation(london, QDateTime(QDate(2026, 7, 1), QTime(12, 0), Qt::UTC)),
              QStringLiteral("BST"));
}

} // namespace
} // namespace cirrolux::gateway
