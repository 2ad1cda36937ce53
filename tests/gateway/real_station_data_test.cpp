#include "gateway/StationIndex.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

namespace cirrolux::gateway {
namespace {

// The tables the weather-util-data package installs, where the machine has them.
class RealStationData : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const QString dir = QStringLiteral("/usr/share/weather-util");
        if (QFileInfo::exists(dir + QStringLiteral("/stations.gz")))
            s_index = std::make_unique<StationIndex>(StationIndex::load(dir));
    }
    static void TearDownTestSuite() { s_index.reset(); }
    void SetUp() override
    {
        if (!s_index)
            GTEST_SKIP() << "weather-util-data is not installed";
    }
    static std::unique_ptr<StationIndex> s_index;
};
std::unique_ptr<StationIndex> RealStationData::s_index;

TEST_F(RealStationData, BostonAndItsZipCodesReportAtLogan)
{
    const auto city = s_index->forUsCity("MA", "Boston");
    ASSERT_TRUE(city);
    EXPECT_EQ(city->icao, "KBOS");
    EXPECT_EQ(city->zone, "maz015");
    EXPECT_NEAR(city->latitudeDeg, 42.37, 0.02);
    EXPECT_NEAR(city->longitudeDeg, -71.01, 0.02);
    const auto zip = s_index->forZip("02134");
    ASSERT_TRUE(zip);
    EXPECT_EQ(zip->icao, "KBOS");
    const auto place = s_index->placeOfZip("02134");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->second, "MA");
}

TEST_F(RealStationData, CitiesWithSpacesAndSaints)
{
    const auto saltLake = s_index->forUsCity("ut", "Salt_Lake_City");
    ASSERT_TRUE(saltLake);
    EXPECT_EQ(saltLake->icao, "KSLC");
    const auto stLouis = s_index->forUsCity("MO", "Saint_Louis");
    ASSERT_TRUE(stLouis);
    EXPECT_EQ(stLouis->icao.substr(0, 1), "K");
    EXPECT_FALSE(s_index->forUsCity("MA", "Nowhere_Such_Town"));
}

TEST_F(RealStationData, ZonesOfAState)
{
    const auto zones = s_index->zonesOfState("MA");
    ASSERT_FALSE(zones.empty());
    EXPECT_EQ(zones.front(), "maz001");
    EXPECT_NE(std::find(zones.begin(), zones.end(), "maz015"), zones.end());
}

TEST_F(RealStationData, ForeignCapitals)
{
    const auto nairobi = s_index->forForeignPlace("Nairobi", "Kenya");
    ASSERT_TRUE(nairobi);
    EXPECT_EQ(nairobi->icao.substr(0, 2), "HK");
    const auto toronto = s_index->forForeignPlace("Toronto", "Ontario");
    ASSERT_TRUE(toronto);
    EXPECT_EQ(toronto->icao.substr(0, 1), "C");
}

} // namespace
} // namespace cirrolux::gateway
