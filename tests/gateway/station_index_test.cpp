#include "gateway/StationIndex.h"
#include "gateway/WmoStations.h"

#include "CaseName.h"
#include "PrintCase.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace cirrolux::gateway {
namespace {

QString fixtureDir()
{
    return QStringLiteral(CIRROLUX_TEST_DATA "/gateway");
}

const StationIndex& fixtureIndex()
{
    static const StationIndex index = StationIndex::load(fixtureDir());
    return index;
}

struct UsCityCase
{
    const char* state;
    const char* city;
    const char* icao; // "" when the city has no station
    const char* zone;
};

void PrintTo(const UsCityCase& c, std::ostream* os)
{
    *os << c.state << "/" << c.city;
}

class UsCityLookup : public ::testing::TestWithParam<UsCityCase>
{
};

TEST_P(UsCityLookup, FindsThePlacesNearestStation)
{
    const UsCityCase& c = GetParam();
    const auto station = fixtureIndex().forUsCity(c.state, c.city);
    if (std::string_view(c.icao).empty()) {
        EXPECT_FALSE(station) << station->icao;
        return;
    }
    ASSERT_TRUE(station);
    EXPECT_EQ(station->icao, c.icao);
    EXPECT_EQ(station->zone, c.zone);
}

INSTANTIATE_TEST_SUITE_P(
    Cities, UsCityLookup,
    ::testing::Values(UsCityCase{"MA", "Boston", "KBOS", "maz015"},
                      UsCityCase{"ma", "BOSTON", "KBOS", "maz015"},
                      // A city is taken before a census-designated place of the same name.
                      UsCityCase{"MA", "Springfield", "KBAF", "maz011"},
                      UsCityCase{"UT", "Salt_Lake_City", "KSLC", "utz105"},
                      UsCityCase{"MO", "St._Louis", "KSTL", "moz063"},
                      UsCityCase{"MO", "Saint_Louis", "KSTL", "moz063"},
                      UsCityCase{"TN", "Nashville", "KSTL", "tnz027"},
                      // The place's station has no known position.
                      UsCityCase{"MA", "Ghost_Hollow", "", ""},
                      // No census place: the station whose description names the city, with
                      // the station's own zone.
                      UsCityCase{"MA", "Westfield", "KBAF", "maz011"},
                      UsCityCase{"MA", "Logan", "KBOS", "maz015"},
                      // The place's nearest station lies 127 km off: out of reach.
                      UsCityCase{"MA", "Far_Reach", "", ""}, UsCityCase{"MA", "Atlantis", "", ""},
                      UsCityCase{"UT", "Boston", "", ""}, UsCityCase{"MAS", "Boston", "", ""},
                      UsCityCase{"MA", "", "", ""}),
    [](const ::testing::TestParamInfo<UsCityCase>& info) {
        return test::CaseName(std::string(info.param.state) + "_" + info.param.city);
    });

struct ZipCase
{
    const char* zip;
    const char* icao;
    const char* zone;
    const char* place; // "City, ST"
};

void PrintTo(const ZipCase& c, std::ostream* os)
{
    *os << c.zip;
}

class ZipLookup : public ::testing::TestWithParam<ZipCase>
{
};

TEST_P(ZipLookup, FindsTheAreasStationAndTown)
{
    const ZipCase& c = GetParam();
    const auto station = fixtureIndex().forZip(c.zip);
    const auto place = fixtureIndex().placeOfZip(c.zip);
    if (std::string_view(c.icao).empty()) {
        EXPECT_FALSE(station);
    } else {
        ASSERT_TRUE(station);
        EXPECT_EQ(station->icao, c.icao);
        EXPECT_EQ(station->zone, c.zone);
    }
    if (std::string_view(c.place).empty()) {
        EXPECT_FALSE(place);
    } else {
        ASSERT_TRUE(place);
        EXPECT_EQ(place->first + ", " + place->second, c.place);
    }
}

INSTANTIATE_TEST_SUITE_P(Zips, ZipLookup,
                         ::testing::Values(ZipCase{"02134", "KBOS", "maz015", "Boston, MA"},
                                           ZipCase{"01103", "KBAF", "maz011", "Springfield, MA"},
                                           ZipCase{"84101", "KSLC", "utz105", "Salt Lake City, UT"},
                                           ZipCase{"99999", "", "", ""},
                                           ZipCase{"12345", "", "", ""},
                                           ZipCase{"0213", "", "", ""},
                                           ZipCase{"02a34", "", "", ""}),
                         [](const ::testing::TestParamInfo<ZipCase>& info) {
                             return test::CaseName(std::string("zip_") + info.param.zip);
                         });

struct ForeignCase
{
    const char* city;
    const char* country;
    const char* icao;
};

void PrintTo(const ForeignCase& c, std::ostream* os)
{
    *os << c.city << ", " << c.country;
}

class ForeignLookup : public ::testing::TestWithParam<ForeignCase>
{
};

TEST_P(ForeignLookup, MatchesTheDescription)
{
    const ForeignCase& c = GetParam();
    const auto station = fixtureIndex().forForeignPlace(c.city, c.country);
    if (std::string_view(c.icao).empty()) {
        EXPECT_FALSE(station) << station->icao;
        return;
    }
    ASSERT_TRUE(station);
    EXPECT_EQ(station->icao, c.icao);
    EXPECT_EQ(station->zone, "");
}

INSTANTIATE_TEST_SUITE_P(
    Places, ForeignLookup,
    ::testing::Values(
        // The international airport is preferred to a second field named after the city.
        ForeignCase{"Nairobi", "Kenya", "HKJK"}, ForeignCase{"Nyeri", "Kenya", "HKNI"},
        ForeignCase{"London", "United Kingdom", "EGLL"},
        // A Canadian province stands for the country.
        ForeignCase{"Toronto", "Ontario", "CYYZ"}, ForeignCase{"Incheon", "South Korea", "RKSI"},
        ForeignCase{"Sao Paulo", "Brazil", "SBGR"},
        // Local names, written-out umlauts, accents and a name that adds its airport.
        ForeignCase{"Munich", "Germany", "EDDM"}, ForeignCase{"Cologne", "Germany", "EDDK"},
        ForeignCase{"Liege", "Belgium", "EBLG"}, ForeignCase{"Berlin Tegel", "Germany", "EDDB"},
        ForeignCase{"Saint Tegel", "Germany", ""}, ForeignCase{"Sao_Paulo", "brazil", "SBGR"},
        // The name must be whole words of the description, in the right country.
        ForeignCase{"Lond", "United Kingdom", ""}, ForeignCase{"Nairobi", "Brazil", ""},
        ForeignCase{"Boston", "Kenya", ""}, ForeignCase{"", "Kenya", ""},
        ForeignCase{"Nairobi", "Atlantis", ""}),
    [](const ::testing::TestParamInfo<ForeignCase>& info) {
        return test::CaseName(std::string(info.param.city) + "_" + info.param.country);
    });

TEST(StationIndex, StationsByIcaoWithPositionInDegrees)
{
    const auto boston = fixtureIndex().byIcao("kbos");
    ASSERT_TRUE(boston);
    EXPECT_EQ(boston->icao, "KBOS");
    EXPECT_EQ(boston->description, "Boston Logan International, MA, United States");
    EXPECT_NEAR(boston->latitudeDeg, 42.3665, 0.001);
    EXPECT_NEAR(boston->longitudeDeg, -71.0160, 0.001);
    EXPECT_EQ(boston->zone, "maz015");
    EXPECT_FALSE(fixtureIndex().byIcao("KGHO")); // no position
    EXPECT_FALSE(fixtureIndex().byIcao("KXYZ"));
    EXPECT_FALSE(fixtureIndex().byIcao("KBO"));
    EXPECT_EQ(fixtureIndex().stationCount(), 15u);
}

TEST(StationIndex, PublicZonesOfAState)
{
    EXPECT_EQ(fixtureIndex().zonesOfState("ma"),
              (std::vector<std::string>{"maz001", "maz011", "maz015"}));
    EXPECT_EQ(fixtureIndex().zonesOfState("UT"), (std::vector<std::string>{"utz105"}));
    EXPECT_TRUE(fixtureIndex().zonesOfState("an").empty());
    EXPECT_TRUE(fixtureIndex().zonesOfState("").empty());
    EXPECT_EQ(fixtureIndex().zoneDescription("MAZ015"), "Suffolk County, MA, US");
    EXPECT_FALSE(fixtureIndex().zoneDescription("mac025")); // a county, not a forecast zone
    EXPECT_FALSE(fixtureIndex().zoneDescription("anz230")); // a marine zone
}

struct LoadFailureCase
{
    const char* name;
    const char* missingOrBroken; // the table that is missing, or "broken" for bad data
    const char* expected;        // the tail of the message
};

using test::PrintTo;

class LoadFailure : public ::testing::TestWithParam<LoadFailureCase>
{
};

TEST_P(LoadFailure, NamesTheFile)
{
    const LoadFailureCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* table : {"stations.gz", "places.gz", "zctas.gz", "zones.gz"}) {
        if (std::string_view(table) == c.missingOrBroken)
            continue;
        ASSERT_TRUE(QFile::copy(fixtureDir() + QLatin1Char('/') + QLatin1String(table),
                                dir.filePath(QLatin1String(table))));
    }
    const std::string broken = std::string(c.missingOrBroken);
    if (broken == "broken") {
        QFile::remove(dir.filePath(QStringLiteral("stations.gz")));
        ASSERT_TRUE(QFile::copy(fixtureDir() + QStringLiteral("/broken/stations.gz"),
                                dir.filePath(QStringLiteral("stations.gz"))));
    }
    const std::string file =
        dir.filePath(QLatin1String(broken == "broken" ? "stations.gz" : c.missingOrBroken))
            .toStdString();
    try {
        StationIndex::load(dir.path());
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot read the station table " + file + ": " + c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, LoadFailure,
    ::testing::Values(LoadFailureCase{"stations", "stations.gz", "the file does not exist"},
                      LoadFailureCase{"places", "places.gz", "the file does not exist"},
                      LoadFailureCase{"zctas", "zctas.gz", "the file does not exist"},
                      LoadFailureCase{"zones", "zones.gz", "the file does not exist"},
                      LoadFailureCase{"broken", "broken", "the file is not valid gzip data"}),
    [](const ::testing::TestParamInfo<LoadFailureCase>& info) { return info.param.name; });

TEST(StationIndex, CutShortDataIsAnError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* table : {"places.gz", "zctas.gz", "zones.gz"})
        ASSERT_TRUE(QFile::copy(fixtureDir() + QLatin1Char('/') + QLatin1String(table),
                                dir.filePath(QLatin1String(table))));
    QFile whole(fixtureDir() + QStringLiteral("/stations.gz"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(dir.filePath(QStringLiteral("stations.gz")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    EXPECT_THROW(StationIndex::load(dir.path()), std::runtime_error);
}

// The WMO station table's reader: each text gives the rows listed, "number icao same|near".
struct WmoTableCase
{
    const char* name;
    const char* text;
    const char* rows;
};

void PrintTo(const WmoTableCase& c, std::ostream* os)
{
    *os << c.name;
}

class WmoTableReading : public ::testing::TestWithParam<WmoTableCase>
{
};

TEST_P(WmoTableReading, ReadsGoodRowsAndSkipsTheRest)
{
    std::string rows;
    for (const WmoStation& row : ReadWmoStations(GetParam().text))
        rows += row.number + " " + row.icao + (row.sameSite ? " same;" : " near;");
    EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WmoTableReading,
    ::testing::Values(
        WmoTableCase{"kinds",
                     "# comment\n62366\tHECA\twmo\t0.0\tCairo\tCairo Airport\tCairo\n"
                     "91680\tNFFN\tisd\t0.9\n06601\tLFSB\tnearest\t7.5\n"
                     "68840\tFAPE\tbyname\t35.1",
                     "62366 HECA same;91680 NFFN same;06601 LFSB near;68840 FAPE near;"},
        WmoTableCase{"crlf_and_blank", "\r\n\n03772\tEGLL\twmo\r\n", "03772 EGLL same;"},
        WmoTableCase{"bad_number", "6236\tHECA\twmo\n623666\tHECA\twmo\n6236x\tHECA\twmo", ""},
        WmoTableCase{"bad_code", "62366\tHEC\twmo\n62366\theca\twmo\n62366\tHE-A\twmo", ""},
        WmoTableCase{"unknown_how", "62366\tHECA\tguess\n62366\tHECA\n62366\tHECA\t", ""},
        WmoTableCase{"spaces_not_tabs", "62366 HECA wmo", ""}, WmoTableCase{"empty", "", ""}),
    [](const ::testing::TestParamInfo<WmoTableCase>& info) { return info.param.name; });

} // namespace
} // namespace cirrolux::gateway
