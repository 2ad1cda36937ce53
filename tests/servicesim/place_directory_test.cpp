// Page titles and places for the three kinds of conditions address.
#include "servicesim/PlaceDirectory.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace cirrolux::test {
namespace {

using servicesim::PlaceDirectory;
using servicesim::ZipEntry;

struct CityCase
{
    const char* name;
    const char* state;
    const char* city;
    const char* title;
};

class UsCityTitle : public ::testing::TestWithParam<CityCase>
{
};

TEST_P(UsCityTitle, CityAndFullStateName)
{
    const auto place = PlaceDirectory().usCity(GetParam().state, GetParam().city);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->title, GetParam().title);
    EXPECT_EQ(place->kind, cirrolux::Place::Kind::UsCity);
}

INSTANTIATE_TEST_SUITE_P(
    Places, UsCityTitle,
    ::testing::Values(CityCase{"Boston", "MA", "Boston", "Boston, Massachusetts"},
                      CityCase{"UnderscoresBecomeSpaces", "NY", "New_York", "New York, New York"},
                      CityCase{"LowerCaseCode", "tx", "El_Paso", "El Paso, Texas"},
                      CityCase{"District", "DC", "Washington", "Washington, District of Columbia"},
                      CityCase{"Louisiana", "LA", "Baton_Rouge", "Baton Rouge, Louisiana"},
                      CityCase{"VirginIslands", "VI", "Charlotte_Amalie",
                               "Charlotte Amalie, Virgin Islands"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlaceDirectory, FiftyThreeStatesWithNames)
{
    EXPECT_EQ(PlaceDirectory::stateCodes().size(), 53u);
    for (const std::string_view code : PlaceDirectory::stateCodes()) {
        const auto name = PlaceDirectory::stateName(code);
        ASSERT_TRUE(name) << code;
        EXPECT_GT(name->size(), 2u);
    }
}

TEST(PlaceDirectory, NoPageForUnknownStateOrEmptyCity)
{
    PlaceDirectory directory;
    EXPECT_FALSE(directory.usCity("ZZ", "Boston"));
    EXPECT_FALSE(directory.usCity("", "Boston"));
    EXPECT_FALSE(directory.usCity("MAS", "Boston"));
    EXPECT_FALSE(directory.usCity("MA", ""));
    EXPECT_FALSE(directory.usCity("MA", "__"));
}

class ZipTitle : public ::testing::TestWithParam<ZipEntry>
{
};

TEST_P(ZipTitle, CityOfTheTableWithFullStateName)
{
    const auto place = PlaceDirectory().zip(GetParam().zip);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->title, std::string(GetParam().city) + ", " +
                                *PlaceDirectory::stateName(GetParam().stateCode));
    EXPECT_EQ(place->kind, cirrolux::Place::Kind::Zip);
    EXPECT_EQ(place->key, "zip/" + std::string(GetParam().zip));
}

INSTANTIATE_TEST_SUITE_P(Places, ZipTitle, ::testing::ValuesIn(PlaceDirectory::zipTable()),
                         [](const auto& info) { return "Zip" + std::string(info.param.zip); });

TEST(PlaceDirectory, NamedZipsFromTheBrief)
{
    PlaceDirectory directory;
    EXPECT_EQ(directory.zip("02134")->title, "Boston, Massachusetts");
    EXPECT_EQ(directory.zip("62701")->title, "Springfield, Illinois");
    EXPECT_EQ(directory.zip("10001")->title, "New York, New York");
    EXPECT_EQ(directory.zip("60601")->title, "Chicago, Illinois");
    EXPECT_EQ(directory.zip("94103")->title, "San Francisco, California");
    EXPECT_EQ(directory.zip("73301")->title, "Austin, Texas");
}

TEST(PlaceDirectory, OtherZipsBorrowATableCityAlwaysTheSame)
{
    PlaceDirectory directory;
    std::set<std::string> titles;
    for (const char* zip : {"00001", "12345", "54321", "99999", "30000", "47000"}) {
        const auto place = directory.zip(zip);
        ASSERT_TRUE(place) << zip;
        EXPECT_EQ(directory.zip(zip)->title, place->title);
        bool fromTable = false;
        for (const ZipEntry& entry : PlaceDirectory::zipTable())
            fromTable = fromTable || place->title.starts_with(std::string(entry.city) + ", ");
        EXPECT_TRUE(fromTable) << place->title;
        titles.insert(place->title);
    }
    EXPECT_GT(titles.size(), 1u);
}

TEST(PlaceDirectory, ZipMustBeFiveDigits)
{
    PlaceDirectory directory;
    for (const char* zip : {"", "0213", "021345", "0213a", "abcde", " 2134"})
        EXPECT_FALSE(directory.zip(zip)) << '"' << zip << '"';
}

TEST(PlaceDirectory, StationNamedByTheDirectory)
{
    PlaceDirectory directory;
    std::vector<std::string> asked;
    directory.setStationDirectory(
        [&asked](const std::string& number) -> std::optional<std::pair<std::string, std::string>> {
            asked.push_back(number);
            if (number == "83780")
                return std::make_pair(std::string("Sao Paulo"), std::string("Brazil"));
            return std::nullopt;
        });
    EXPECT_EQ(directory.station("83780")->title, "Sao Paulo, Brazil");
    EXPECT_EQ(directory.station("47662")->title, "Station 47662, Unknown");
    EXPECT_EQ(asked, (std::vector<std::string>{"83780", "47662"}));
}

TEST(PlaceDirectory, StationFallbackWithoutDirectory)
{
    const auto place = PlaceDirectory().station("03772");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->title, "Station 03772, Unknown");
    EXPECT_EQ(place->kind, cirrolux::Place::Kind::Station);
    EXPECT_FALSE(PlaceDirectory().station("3772"));
    EXPECT_FALSE(PlaceDirectory().station("0377x"));
}

TEST(PlaceDirectory, StationRegionsGiveHemisphereAndZone)
{
    PlaceDirectory directory;
    EXPECT_LT(directory.station("83780")->climate.latitude, 0.0);  // Brazil
    EXPECT_LT(directory.station("94767")->climate.latitude, 0.0);  // Australia
    EXPECT_GT(directory.station("03772")->climate.latitude, 45.0); // United Kingdom
    EXPECT_EQ(directory.station("47662")->climate.zone, "JST");
    EXPECT_EQ(directory.station("03772")->climate.zone, "GMT");
    EXPECT_EQ(directory.station("03772")->climate.summerZone, "BST");
}

} // namespace
} // namespace cirrolux::test
