#include "gateway/MainStations.h"
#include "gateway/StationIndex.h"

#include "CaseName.h"

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

// A place of the catalogue, as its requests name it, and the station a person there would expect
// the weather from: the main airport, or the city's own climate site (New York's Central Park).
struct WellKnownPlace
{
    const char* region; // a US state code, or the catalogue's country or province
    const char* city;
    const char* icao;
};

void PrintTo(const WellKnownPlace& c, std::ostream* os)
{
    *os << c.city << ", " << c.region;
}

class WellKnownPlaces : public RealStationData, public ::testing::WithParamInterface<WellKnownPlace>
{
};

TEST_P(WellKnownPlaces, GetTheirMainStation)
{
    const WellKnownPlace& c = GetParam();
    const std::string_view region = c.region;
    const auto station = region.size() == 2 ? s_index->forUsCity(region, c.city)
                                            : s_index->forForeignPlace(c.city, region);
    ASSERT_TRUE(station);
    EXPECT_EQ(station->icao, c.icao) << station->description;
}

INSTANTIATE_TEST_SUITE_P(
    Installed, WellKnownPlaces,
    ::testing::Values(
        // Cities where the nearest census place chose a lesser field.
        WellKnownPlace{"HI", "Honolulu", "PHNL"}, WellKnownPlace{"CA", "San_Francisco", "KSFO"},
        WellKnownPlace{"CO", "Denver", "KDEN"}, WellKnownPlace{"NY", "New_York", "KNYC"},
        WellKnownPlace{"CA", "Los_Angeles", "KLAX"}, WellKnownPlace{"GA", "Atlanta", "KATL"},
        WellKnownPlace{"AZ", "Phoenix", "KPHX"}, WellKnownPlace{"IL", "Chicago", "KORD"},
        WellKnownPlace{"TX", "Houston", "KIAH"}, WellKnownPlace{"DC", "Washington", "KDCA"},
        WellKnownPlace{"MI", "Detroit", "KDTW"}, WellKnownPlace{"NV", "Las_Vegas", "KLAS"},
        WellKnownPlace{"OH", "Cincinnati", "KCVG"}, WellKnownPlace{"OK", "Oklahoma_City", "KOKC"},
        // Catalogue names no census place carries: stations, short and joined forms.
        WellKnownPlace{"TX", "Dallas-Ft_Worth", "KDFW"},
        WellKnownPlace{"NC", "Raleigh-Durham", "KRDU"}, WellKnownPlace{"TX", "Mc_Allen", "KMFE"},
        WellKnownPlace{"IL", "Mt_Vernon", "KMVN"}, WellKnownPlace{"NH", "Mount_Washington", "KMWN"},
        WellKnownPlace{"RI", "Block_Island", "KBID"}, WellKnownPlace{"HI", "Kailua-Kona", "PHKO"},
        WellKnownPlace{"NC", "Winston-Salem", "KINT"}, WellKnownPlace{"AK", "Mc_Grath", "PAMC"},
        // Cities the rule gets right by the description.
        WellKnownPlace{"MA", "Boston", "KBOS"}, WellKnownPlace{"WA", "Seattle", "KSEA"},
        WellKnownPlace{"FL", "Miami", "KMIA"}, WellKnownPlace{"PA", "Philadelphia", "KPHL"},
        WellKnownPlace{"MN", "Minneapolis", "KMSP"}, WellKnownPlace{"MO", "St_Louis", "KSTL"},
        WellKnownPlace{"LA", "New_Orleans", "KMSY"}, WellKnownPlace{"TN", "Nashville", "KBNA"},
        WellKnownPlace{"OR", "Portland", "KPDX"}, WellKnownPlace{"ME", "Portland", "KPWM"},
        WellKnownPlace{"AK", "Anchorage", "PANC"}, WellKnownPlace{"PR", "San_Juan", "TJSJ"},
        WellKnownPlace{"UT", "Salt_Lake_City", "KSLC"},
        // Abroad.
        WellKnownPlace{"United Kingdom", "London", "EGLL"},
        WellKnownPlace{"United Kingdom", "Heathrow", "EGLL"},
        WellKnownPlace{"United Kingdom", "Gatwick", "EGKK"},
        WellKnownPlace{"Spain", "Madrid", "LEMD"}, WellKnownPlace{"India", "Bombay", "VABB"},
        WellKnownPlace{"India", "New Delhi", "VIDP"}, WellKnownPlace{"France", "Paris", "LFPG"},
        WellKnownPlace{"Japan", "Tokyo", "RJTT"}, WellKnownPlace{"Kenya", "Nairobi", "HKJK"},
        WellKnownPlace{"Ontario", "Toronto Int. Arpt", "CYYZ"},
        WellKnownPlace{"Alberta", "Calgary Int. Arpt", "CYYC"},
        WellKnownPlace{"New South Wales", "Sydney", "YSSY"},
        WellKnownPlace{"Western Australia", "Perth", "YPPH"},
        WellKnownPlace{"Victoria", "Melbourne", "YMML"},
        WellKnownPlace{"Germany", "Munich", "EDDM"}, WellKnownPlace{"Germany", "Frankfurt", "EDDF"},
        WellKnownPlace{"Austria", "Vienna", "LOWW"},
        WellKnownPlace{"Netherlands", "Amsterdam", "EHAM"},
        WellKnownPlace{"Mexico", "Mexico City", "MMMX"}, WellKnownPlace{"Peru", "Lima", "SPJC"},
        WellKnownPlace{"Thailand", "Bangkok", "VTBD"}, WellKnownPlace{"Russia", "Moscow", "UUEE"},
        WellKnownPlace{"Italy", "Rome Fiumicino", "LIRF"},
        WellKnownPlace{"New Zealand", "Auckland", "NZAA"}, WellKnownPlace{"Egypt", "Cairo", "HECA"},
        WellKnownPlace{"Bahamas", "Nassau", "MYNN"}, WellKnownPlace{"Jamaica", "Kingston", "MKJP"}),
    [](const ::testing::TestParamInfo<WellKnownPlace>& info) {
        return test::CaseName(std::string(info.param.city) + "_" + info.param.region);
    });

// Catalogue places whose station comes from their WMO station number (the compiled-in table of
// WmoStations.h), with the station a person there would expect, and what the name alone gives:
// another field, or nothing where no station description names the place.
struct PlaceByNumber
{
    const char* number;
    const char* region;
    const char* city;
    const char* icao;
    const char* byNameOnly; // "" when the name alone finds no station
};

void PrintTo(const PlaceByNumber& c, std::ostream* os)
{
    *os << c.city << ", " << c.region << " (" << c.number << ")";
}

class PlacesByWmoNumber : public RealStationData,
                          public ::testing::WithParamInterface<PlaceByNumber>
{
};

TEST_P(PlacesByWmoNumber, GetTheStationOfTheirNumber)
{
    const PlaceByNumber& c = GetParam();
    const auto station = s_index->forForeignPlace(c.city, c.region, c.number);
    ASSERT_TRUE(station);
    EXPECT_EQ(station->icao, c.icao) << station->description;
    const auto byName = s_index->forForeignPlace(c.city, c.region);
    EXPECT_EQ(byName ? byName->icao : std::string(), c.byNameOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Installed, PlacesByWmoNumber,
    ::testing::Values(
        // NOAA's lists give the WMO station this ICAO code.
        PlaceByNumber{"78792", "Panama", "Panama", "MPTO", "MPPA"},         // Tocumen, not Paitilla
        PlaceByNumber{"71932", "Alberta", "Fort Mcmurray", "CYMM", "CXMM"}, // airport, not CS
        PlaceByNumber{"71836", "Ontario", "Moosonee", "CYMO", "CXZC"},
        PlaceByNumber{"78016", "Bermuda", "Hamilton", "TXKF", ""},
        PlaceByNumber{"78954", "Barbados", "Bridgetown", "TBPB", ""},       // Grantley Adams
        PlaceByNumber{"78862", "Antigua", "St Johns", "TAPA", ""},          // V. C. Bird
        PlaceByNumber{"78384", "Cayman Island", "George Town", "MWCR", ""}, // Owen Roberts
        PlaceByNumber{"78762", "Costa Rica", "San Jose", "MROC", ""},       // Juan Santamaria
        PlaceByNumber{"84686", "Peru", "Cusco", "SPZO", ""},
        PlaceByNumber{"91680", "Fiji", "Nadi", "NFFN", ""},
        PlaceByNumber{"07157", "France", "Roissy", "LFPG", ""},
        // The METAR station nearest the WMO station.
        PlaceByNumber{"06601", "Switzerland", "Basel", "LFSB", ""}, // EuroAirport
        PlaceByNumber{"06447", "Belgium", "Uccle", "EBBR", ""},     // Brussels' climate site
        PlaceByNumber{"43371", "India", "Trivandrum", "VOTV", ""},  // "Thiruvananthapuram"
        PlaceByNumber{"47670", "Japan", "Yokohama", "RJTT", ""},
        PlaceByNumber{"47605", "Japan", "Kanazawa", "RJNK", ""},           // Komatsu
        PlaceByNumber{"47584", "Japan", "Morioka", "RJSI", ""},            // Hanamaki
        PlaceByNumber{"47759", "Japan", "Kyoto", "RJOO", ""},              // Itami
        PlaceByNumber{"68174", "South Africa", "Pietersburg", "FAPP", ""}, // Polokwane
        // The number names another place; the NCEI station of the place's name.
        PlaceByNumber{"68840", "South Africa", "Uitenhage", "FAPE", ""}, // Port Elizabeth
        PlaceByNumber{"71456", "Manitoba", "Shilo", "CYBR", ""},         // Brandon
        PlaceByNumber{"71317", "Ontario", "Pembroke", "CYWA", ""}),      // Petawawa
    [](const ::testing::TestParamInfo<PlaceByNumber>& info) {
        return test::CaseName(std::string(info.param.city) + "_" + info.param.region);
    });

// Every row of the hand-checked table names a station of the installed tables, and a request
// for its city gets that station.
TEST_F(RealStationData, EveryMainStationIsFoundForItsCity)
{
    for (const MainStation& main : MainStations()) {
        SCOPED_TRACE(std::string(main.city) + ", " + std::string(main.region));
        ASSERT_TRUE(s_index->byIcao(main.icao)) << main.icao;
        const auto station = main.region.size() == 2
                                 ? s_index->forUsCity(main.region, main.city)
                                 : s_index->forForeignPlace(main.city, main.region);
        ASSERT_TRUE(station);
        EXPECT_EQ(station->icao, main.icao);
    }
}

} // namespace
} // namespace cirrolux::gateway
