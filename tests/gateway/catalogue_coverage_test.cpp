#include "gateway/LiveConditions.h"
#include "locations/CatalogueStations.h"

#include <QFileInfo>

#include "PrintCase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace cirrolux::gateway {
namespace {

using test::PrintTo;

// How many of the program's foreign catalogue places the installed correlation data gives a live
// station, matched by city and country against the station descriptions.
TEST(CatalogueCoverage, MostForeignPlacesGetALiveStation)
{
    const QString dir = QStringLiteral("/usr/share/weather-util");
    if (!QFileInfo::exists(dir + QStringLiteral("/stations.gz")))
        GTEST_SKIP() << "weather-util-data is not installed";
    const StationIndex index = StationIndex::load(dir);
    const cirrolux::CatalogueStationNames names = cirrolux::CatalogueStationDirectory();

    int places = 0;
    int covered = 0;
    std::map<std::string, std::pair<int, int>> byRegion; // region -> places, covered
    std::string missed;
    for (int n = 0; n < 100000; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "%05d", n);
        const auto name = names(number);
        if (!name)
            continue;
        ++places;
        auto& region = byRegion[name->second];
        ++region.first;
        if (index.forForeignPlace(name->first, name->second)) {
            ++covered;
            ++region.second;
        } else if (missed.size() < 2000) {
            missed += name->first + " (" + name->second + "); ";
        }
    }
    const double share = places == 0 ? 0 : 100.0 * covered / places;
    std::printf("Live stations for %d of %d foreign catalogue places (%.1f%%)\n", covered, places,
                share);
    std::printf("Some without one: %s\n", missed.c_str());
    RecordProperty("foreign_places", places);
    RecordProperty("with_live_station", covered);
    ASSERT_GT(places, 1000);
    EXPECT_GE(share, 50.0);
}

struct RealRequest
{
    const char* name;
    const char* address;
    const char* title;
    const char* icao;
};

class RealRequests : public ::testing::TestWithParam<RealRequest>
{
};

// The three request forms against the installed tables and the program's own catalogue.
TEST_P(RealRequests, ResolveToTheExpectedStation)
{
    const QString dir = QStringLiteral("/usr/share/weather-util");
    if (!QFileInfo::exists(dir + QStringLiteral("/stations.gz")))
        GTEST_SKIP() << "weather-util-data is not installed";
    static const StationIndex index = StationIndex::load(dir);
    static const LiveConditions live(index, cirrolux::CatalogueStationDirectory());
    const RealRequest& c = GetParam();
    const auto request = live.resolve(c.address);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->place.title, c.title);
    ASSERT_TRUE(request->station);
    EXPECT_EQ(request->station->icao, c.icao);
}

INSTANTIATE_TEST_SUITE_P(
    Installed, RealRequests,
    ::testing::Values(
        RealRequest{"boston", "/US/MA/Boston.html", "Boston, Massachusetts", "KBOS"},
        RealRequest{"chicago", "/US/IL/Chicago.html", "Chicago, Illinois", "KMDW"},
        // Allston: named after the nearest census place, as the tables carry no postal names.
        RealRequest{"zip_02134", "/cgi-bin/findweather/getForecast?query=02134",
                    "Cambridge, Massachusetts", "KBOS"},
        RealRequest{"heathrow", "/global/stations/03772.html", "Heathrow, United Kingdom", "EGLL"},
        RealRequest{"nairobi", "/global/stations/63741.html", "Nairobi, Kenya", "HKJK"}),
    [](const ::testing::TestParamInfo<RealRequest>& info) { return info.param.name; });

} // namespace
} // namespace cirrolux::gateway
