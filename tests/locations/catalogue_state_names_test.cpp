#include "CaseName.h"
#include "locations/LocationCatalogue.h"
#include "platform/SharedState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using namespace cirrolux;

namespace {

struct NameCode
{
    const char* name;
    const char* code;
};

void PrintTo(const NameCode& row, std::ostream* out)
{
    *out << row.name << " -> " << row.code;
}

// Postal codes written out independently of the catalogue, in the catalogue's compare order.
const NameCode kPostalCodes[] = {
    {"Alabama", "AL"},        {"Alaska", "AK"},        {"Arizona", "AZ"},
    {"Arkansas", "AR"},       {"California", "CA"},    {"Colorado", "CO"},
    {"Connecticut", "CT"},    {"Delaware", "DE"},      {"District of Columbia", "DC"},
    {"Florida", "FL"},        {"Georgia", "GA"},       {"Hawaii", "HI"},
    {"Idaho", "ID"},          {"Illinois", "IL"},      {"Indiana", "IN"},
    {"Iowa", "IA"},           {"Kansas", "KS"},        {"Kentucky", "KY"},
    {"Lousiana", "LA"},       {"Maine", "ME"},         {"Massachusetts", "MA"},
    {"Maryland", "MD"},       {"Michigan", "MI"},      {"Minnesota", "MN"},
    {"Mississippi", "MS"},    {"Missouri", "MO"},      {"Montana", "MT"},
    {"Nebraska", "NE"},       {"New Hampshire", "NH"}, {"Nevada", "NV"},
    {"New Jersey", "NJ"},     {"New Mexico", "NM"},    {"New York", "NY"},
    {"North Carolina", "NC"}, {"North Dakota", "ND"},  {"Ohio", "OH"},
    {"Oklahoma", "OK"},       {"Oregon", "OR"},        {"Pennsylvania", "PA"},
    {"Puerto Rico", "PR"},    {"Rhode Island", "RI"},  {"South Carolina", "SC"},
    {"South Dakota", "SD"},   {"Texas", "TX"},         {"Tennessee", "TN"},
    {"Utah", "UT"},           {"Vermont", "VT"},       {"Virgin Islands", "VI"},
    {"Virginia", "VA"},       {"Washington", "WA"},    {"West Virginia", "WV"},
    {"Wisconsin", "WI"},      {"Wyoming", "WY"},
};

} // namespace

TEST(StateNameTables, ConvertTableHoldsTheFiftyThreeNamesInOrder)
{
    const auto table = ConvertStateNameTable();
    ASSERT_EQ(table.size(), 53u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].name, kPostalCodes[i].name) << "row " << i;
        EXPECT_EQ(table[i].code, kPostalCodes[i].code) << "row " << i;
    }
}

TEST(StateNameTables, TitleTableDropsNewHampshireAndEndsWithTwoForeignRows)
{
    const auto table = StateNameToCodeTable();
    ASSERT_EQ(table.size(), 54u);
    std::vector<NameCode> expected;
    for (const NameCode& row : kPostalCodes) {
        if (std::string(row.name) != "New Hampshire")
            expected.push_back(row);
    }
    expected.push_back({"Peru", "Peru (O)"});
    expected.push_back({"United_Kingdom", "United Kingdom (O)"});
    ASSERT_EQ(expected.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].name, expected[i].name) << "row " << i;
        EXPECT_EQ(table[i].code, expected[i].code) << "row " << i;
    }
}

class ConvertEveryState : public ::testing::TestWithParam<NameCode>
{
};

TEST_P(ConvertEveryState, FullNameBecomesItsCode)
{
    SharedState state;
    state.locationState = GetParam().name;
    ConvertStateName(state);
    EXPECT_EQ(state.locationState, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(AllRows, ConvertEveryState, ::testing::ValuesIn(kPostalCodes),
                         [](const auto& info) { return test::CaseName(info.param.name); });

class ConvertUnknown : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ConvertUnknown, OtherTextStaysAsItIs)
{
    SharedState state;
    state.locationState = GetParam();
    ConvertStateName(state);
    EXPECT_EQ(state.locationState, GetParam());
}

// Names compare exactly: the usual spelling of Louisiana, other case, outer spaces, codes,
// foreign labels and the title table's foreign rows are all left alone.
INSTANTIATE_TEST_SUITE_P(Texts, ConvertUnknown,
                         ::testing::Values("Louisiana", "texas", " Texas", "Texas ", "TX", "",
                                           "France (O)", "Peru", "United_Kingdom"),
                         [](const auto& info) { return test::CaseName(info.param); });

struct TitleCase
{
    const char* name;
    const char* title;
    const char* city;
    const char* code;
};

void PrintTo(const TitleCase& row, std::ostream* out)
{
    *out << '"' << row.title << '"';
}

class TitleSplit : public ::testing::TestWithParam<TitleCase>
{
};

TEST_P(TitleSplit, GivesCityAndCode)
{
    SharedState state;
    state.titleCity = "stale city";
    state.stateCode = "ZZ";
    state.locationTitle = GetParam().title;
    StateNameToCode(state);
    EXPECT_EQ(state.titleCity, GetParam().city);
    EXPECT_EQ(state.stateCode, GetParam().code);
    EXPECT_EQ(state.locationTitle, GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleSplit,
    ::testing::Values(
        TitleCase{"NoSpace", "Austin,Texas", "Austin", "TX"},
        TitleCase{"SpaceAfterComma", "Austin, Texas", "Austin", "TX"},
        TitleCase{"TabsAndLineEnd", "Austin,\tTexas \r\n", "Austin", "TX"},
        TitleCase{"CityKeepsItsSpaces", " San Antonio , Texas", " San Antonio ", "TX"},
        TitleCase{"NewHampshireHasNoRow", "Concord, New Hampshire", "Concord", ""},
        TitleCase{"LousianaSpelling", "New Orleans, Lousiana", "New Orleans", "LA"},
        TitleCase{"UsualLouisianaSpellingUnknown", "New Orleans, Louisiana", "New Orleans", ""},
        TitleCase{"District", "Washington, District of Columbia", "Washington", "DC"},
        TitleCase{"Peru", "Lima, Peru", "Lima", "Peru (O)"},
        TitleCase{"UnitedKingdom", "London, United_Kingdom", "London", "United Kingdom (O)"},
        TitleCase{"UnitedKingdomWithSpace", "London, United Kingdom", "London", ""},
        TitleCase{"CaseCounts", "Austin, texas", "Austin", ""},
        TitleCase{"FirstCommaSplits", "Austin, Texas, USA", "Austin", ""},
        TitleCase{"NoComma", "Concord New Hampshire", "Concord New Hampshire", ""},
        TitleCase{"Empty", "", "", ""}, TitleCase{"OnlyComma", ",", "", ""},
        TitleCase{"NoCity", ",Wyoming", "", "WY"}),
    [](const auto& info) { return std::string(info.param.name); });
