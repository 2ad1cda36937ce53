#include "CaseName.h"
#include "RecordingUserInterface.h"
#include "locations/LocationCatalogue.h"
#include "platform/SharedState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using namespace cirrolux;
using Event = test::RecordingUserInterface::Event;

namespace {

struct Lookup
{
    SharedState state;
    test::RecordingUserInterface ui;

    Lookup(std::string group, std::string label, std::string city)
    {
        state.locationGroup = std::move(group);
        state.locationState = std::move(label);
        state.locationCity = std::move(city);
        state.stationNumber = "stale";
        LookupStation(state, ui);
    }
};

Event message(std::string text)
{
    return {Event::Kind::Message, std::move(text)};
}

const Event kBeep{Event::Kind::Beep, {}};

std::string shown(const test::RecordingUserInterface& ui)
{
    std::string all;
    for (const std::string& text : ui.texts())
        all += text + "; ";
    return all + std::to_string(ui.beeps()) + " beeps";
}

} // namespace

// ---- the Part's edge cases ----

TEST(LookupStation, FirstRichmondOfAustraliaWins)
{
    Lookup lookup("Australia", "New South Wales (O)", "Richmond");
    EXPECT_EQ(lookup.state.stationNumber, "94753");
    EXPECT_TRUE(lookup.ui.events().empty());
}

TEST(LookupStation, SantiagoDependsOnTheList)
{
    EXPECT_EQ(Lookup("Central America", "Dominican Republic (O)", "Santiago").state.stationNumber,
              "78460");
    EXPECT_EQ(Lookup("Europe", "Spain (O)", "Santiago").state.stationNumber, "08042");
    EXPECT_EQ(Lookup("", "Spain (O)", "Santiago").state.stationNumber, "08042");
}

TEST(LookupStation, BellaCoolaArptGivesAnEmptyNumberWithoutMessage)
{
    Lookup lookup("Canada", "British Columbia (O)", "Bella Coola Arpt");
    EXPECT_EQ(lookup.state.stationNumber, "");
    EXPECT_TRUE(lookup.ui.events().empty());
}

TEST(LookupStation, TellingCanadaRows)
{
    EXPECT_EQ(Lookup("", "Quebec (O)", "Parc Des Laurentid").state.stationNumber, "71382");
    EXPECT_EQ(Lookup("", "Quebec (O)", "Parent").state.stationNumber, "71726");
}

struct SilentCase
{
    const char* group;
    const char* label;
};

void PrintTo(const SilentCase& row, std::ostream* out)
{
    *out << '"' << row.group << "\" \"" << row.label << '"';
}

class LabelPicksNoList : public ::testing::TestWithParam<SilentCase>
{
};

TEST_P(LabelPicksNoList, EndsSilentlyWithAnEmptyNumber)
{
    Lookup lookup(GetParam().group, GetParam().label, "Lima");
    EXPECT_EQ(lookup.state.stationNumber, "");
    EXPECT_EQ(lookup.state.locationGroup, GetParam().group);
    EXPECT_TRUE(lookup.ui.events().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelPicksNoList,
    ::testing::Values(SilentCase{"South America", "Chile (O)"}, SilentCase{"Asia", "China (O)"},
                      SilentCase{"Europe", "Poland (O)"}, SilentCase{"Islands", "Cuba (O)"},
                      // Labels of another group do not pick a list either.
                      SilentCase{"Europe", "Japan (O)"}, SilentCase{"Asia", "Peru (O)"},
                      SilentCase{"Islands", "Kenya (O)"},
                      // Labels compare exactly.
                      SilentCase{"Europe", "France(O)"}, SilentCase{"Europe", "france (O)"},
                      SilentCase{"Europe", "United_Kingdom (O)"}),
    [](const auto& info) {
        return test::CaseName(std::string(info.param.group) + "_" + info.param.label);
    });

TEST(LookupStation, UnknownLabelWithoutGroupBeepsThenComplains)
{
    Lookup lookup("", "Chile (O)", "Santiago");
    EXPECT_EQ(lookup.state.stationNumber, "");
    EXPECT_EQ(lookup.state.locationGroup, "");
    const std::vector<Event> expected{
        kBeep, message("Error - invalid state/territory (Foreign_locations):Chile (O)")};
    EXPECT_EQ(lookup.ui.events(), expected);
}

TEST(LookupStation, EmptyCityComplainsThenBeeps)
{
    Lookup lookup("Europe", "France (O)", "");
    EXPECT_EQ(lookup.state.stationNumber, "");
    EXPECT_EQ(lookup.state.locationGroup, "Europe");
    const std::vector<Event> expected{
        message("Error - City field is empty in Foreign_locations; city:"), kBeep};
    EXPECT_EQ(lookup.ui.events(), expected);
}

TEST(LookupStation, EmptyCityStopsBeforeTheGroupIsFilled)
{
    Lookup lookup("", "France (O)", "");
    EXPECT_EQ(lookup.state.locationGroup, "");
    EXPECT_EQ(lookup.ui.messages().size(), 1u);
}

class UnknownGroup : public ::testing::TestWithParam<const char*>
{
};

TEST_P(UnknownGroup, IsNotAddedYet)
{
    Lookup lookup(GetParam(), "France (O)", "Paris");
    EXPECT_EQ(lookup.state.stationNumber, "");
    const std::vector<Event> expected{
        message(std::string("Sorry, this foreign country info is not added yet...") + GetParam())};
    EXPECT_EQ(lookup.ui.events(), expected);
}

INSTANTIATE_TEST_SUITE_P(Groups, UnknownGroup,
                         ::testing::Values("North America", "United States", "US", "europe",
                                           "Antarctica"),
                         [](const auto& info) { return test::CaseName(info.param); });

TEST(LookupStation, EmptyGroupIsFilledFromTheLabel)
{
    Lookup lookup("", "Kenya (O)", "no such town");
    EXPECT_EQ(lookup.state.locationGroup, "Africa");
    EXPECT_EQ(lookup.state.stationNumber, "n/a");
}

TEST(LookupStation, GivenGroupIsKept)
{
    // The label says Canada, the given group says Australia: the group decides the list.
    Lookup lookup("Australia", "Alberta (O)", "Richmond");
    EXPECT_EQ(lookup.state.locationGroup, "Australia");
    EXPECT_EQ(lookup.state.stationNumber, "94753");
}

TEST(LookupStation, CityComparesExactly)
{
    for (const char* city : {"richmond", "Richmond ", " Richmond", "RICHMOND"}) {
        Lookup lookup("Australia", "Victoria (O)", city);
        EXPECT_EQ(lookup.state.stationNumber, "n/a") << city;
        EXPECT_EQ(lookup.ui.messages(),
                  std::vector<std::string>{
                      std::string("Sorry, invalid Province/City found for Australia:") + city});
    }
}

TEST(LookupStation, UnitedKingdomNamesWithUnderscoreAreFoundOnlyWithSpaces)
{
    Lookup asWritten("Europe", "United Kingdom (O)", "Boscombe_Down");
    EXPECT_EQ(asWritten.state.stationNumber, "n/a");
    EXPECT_EQ(asWritten.ui.messages(),
              std::vector<std::string>{"Sorry, invalid City found for UK:Boscombe_Down"});

    Lookup withSpace("", "United Kingdom (O)", "Boscombe Down");
    EXPECT_EQ(withSpace.state.stationNumber.size(), 5u);
    EXPECT_TRUE(withSpace.ui.events().empty());
}

// ---- not-found message of every list ----

struct MissingCase
{
    const char* group;
    const char* label;
    const char* message;
};

void PrintTo(const MissingCase& row, std::ostream* out)
{
    *out << '"' << row.group << "\" \"" << row.label << '"';
}

class CityNotInList : public ::testing::TestWithParam<MissingCase>
{
};

TEST_P(CityNotInList, ShowsTheListsMessageAndGivesNotAvailable)
{
    Lookup lookup(GetParam().group, GetParam().label, "Atlantis");
    EXPECT_EQ(lookup.state.stationNumber, "n/a");
    const std::vector<Event> expected{message(std::string(GetParam().message) + "Atlantis")};
    EXPECT_EQ(lookup.ui.events(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CityNotInList,
    ::testing::Values(
        MissingCase{"Africa", "Egypt (O)", "Sorry, invalid Province/City found for Africa:"},
        MissingCase{"Asia", "India (O)", "Sorry, invalid City found for India:"},
        MissingCase{"Asia", "Japan (O)", "Sorry, invalid City found for Japan:"},
        MissingCase{"Asia", "Malaysia (O)", "Sorry, invalid City found for Malaysia:"},
        MissingCase{"Asia", "Philippines (O)", "Sorry, invalid City found for Philippines:"},
        MissingCase{"Asia", "Thailand (O)", "Sorry, invalid City found for Thailand:"},
        MissingCase{"Australia", "Tasmania (O)",
                    "Sorry, invalid Province/City found for Australia:"},
        MissingCase{"Canada", "Yukon Territory (O)",
                    "Sorry, invalid Province/City found for Canada:"},
        MissingCase{"Central America", "Mexico (O)",
                    "Sorry, invalid Province/City found for Central America:"},
        MissingCase{"Europe", "Austria (O)", "Sorry, invalid Province/City found for Austria:"},
        MissingCase{"Europe", "Belgium (O)", "Sorry, invalid City found for Belgium:"},
        MissingCase{"Europe", "Finland (O)", "Sorry, invalid City found for Finland:"},
        MissingCase{"Europe", "France (O)", "Sorry, invalid City found for France:"},
        MissingCase{"Europe", "Germany (O)", "Sorry, invalid City found for Germany:"},
        MissingCase{"Europe", "Italy (O)", "Sorry, invalid City found for Italy:"},
        MissingCase{"Europe", "Netherlands (O)", "Sorry, invalid City found for Netherlands:"},
        MissingCase{"Europe", "Norway (O)", "Sorry, invalid City found for Norway:"},
        MissingCase{"Europe", "Romania (O)", "Sorry, invalid City found for Romania:"},
        MissingCase{"Europe", "Russia (O)", "Sorry, invalid City found for Russia:"},
        MissingCase{"Europe", "Spain (O)", "Sorry, invalid City found for Spain:"},
        MissingCase{"Europe", "Switzerland (O)", "Sorry, invalid City found for Switzerland:"},
        MissingCase{"Europe", "Turkey (O)", "Sorry, invalid City found for Turkey:"},
        MissingCase{"Europe", "United Kingdom (O)", "Sorry, invalid City found for UK:"},
        MissingCase{"Islands", "Jamaica (O)", "Sorry, invalid city found for Island locations:"},
        MissingCase{"Islands", "Cayman Island (O)",
                    "Sorry, invalid city found for Island locations:"},
        MissingCase{"South America", "Peru (O)", "Sorry, invalid City found for Peru:"}),
    [](const auto& info) { return test::CaseName(info.param.label); });

TEST(LookupStation, SingleListGroupsIgnoreTheLabel)
{
    EXPECT_EQ(Lookup("Canada", "Nowhere (O)", "Parent").state.stationNumber, "71726");
    EXPECT_EQ(Lookup("Australia", "", "Richmond").state.stationNumber, "94753");
}

TEST(LookupStation, IslandsAcceptBothSpellingsOfTheTwoIslands)
{
    for (const char* label : {"Cayman_Island (O)", "Cayman Island (O)", "Trinidad_And_Tobago (O)",
                              "Trinidad And Tobago (O)"}) {
        for (const char* group : {"Islands", ""}) {
            Lookup lookup(group, label, "Atlantis");
            EXPECT_EQ(lookup.state.locationGroup, "Islands") << label;
            EXPECT_EQ(lookup.state.stationNumber, "n/a") << label << " picked no list";
        }
    }
}

// ---- every foreign city the tree offers is found ----

namespace {

// A place of the tree outside the US: its cities, the label the choose-location dialog builds
// from the parent node and the group it passes.
struct TreePlace
{
    std::string group;
    std::string label;
    std::vector<std::string> cities;
};

void PrintTo(const TreePlace& place, std::ostream* out)
{
    *out << place.group << " / " << place.label << " (" << place.cities.size() << " cities)";
}

std::vector<TreePlace> foreignTreePlaces()
{
    std::vector<TreePlace> places;
    std::string continent;
    std::string country;
    for (const TreeNode& node : LocationTree()) {
        const std::string text(node.text);
        if (node.depth == 1)
            continent = text;
        else if (node.depth == 2)
            country = text;
        if (country == "United States" || node.depth < 2)
            continue;
        const bool canada = country == "Canada";
        if ((node.depth == 2 && !canada) || (node.depth == 3 && canada)) {
            places.push_back({canada ? "Canada" : continent, text + " (O)", {}});
        } else if (node.depth >= 3) {
            std::string city = text;
            std::ranges::replace(city, '_', ' ');
            places.back().cities.push_back(city);
        }
    }
    return places;
}

} // namespace

class TreeCity : public ::testing::TestWithParam<TreePlace>
{
};

TEST_P(TreeCity, EveryCityHasAStationNumber)
{
    for (const std::string& city : GetParam().cities) {
        for (const std::string& group : {GetParam().group, std::string()}) {
            Lookup lookup(group, GetParam().label, city);
            EXPECT_TRUE(lookup.ui.events().empty()) << city << ": " << shown(lookup.ui);
            EXPECT_EQ(lookup.state.locationGroup, GetParam().group) << city;
            if (city == "Bella Coola Arpt") {
                EXPECT_EQ(lookup.state.stationNumber, "");
            } else {
                EXPECT_EQ(lookup.state.stationNumber.size(), 5u) << city;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Places, TreeCity, ::testing::ValuesIn(foreignTreePlaces()),
                         [](const auto& info) {
                             return test::CaseName(info.param.group + "_" + info.param.label);
                         });

TEST(TreeCity, PlacesCoverEveryForeignCity)
{
    std::size_t cities = 0;
    for (const TreePlace& place : foreignTreePlaces())
        cities += place.cities.size();
    // 2,145 city nodes less the 587 US ones.
    EXPECT_EQ(cities, 2145u - 587u);
}

// ---- a sample of rows from every list ----

struct SampleRow
{
    const char* group;
    const char* label;
    const char* city;
    const char* number;
};

void PrintTo(const SampleRow& row, std::ostream* out)
{
    *out << '"' << row.group << "\" \"" << row.label << "\" \"" << row.city << '"';
}

class ListSample : public ::testing::TestWithParam<SampleRow>
{
};

TEST_P(ListSample, IsFoundSilently)
{
    Lookup lookup(GetParam().group, GetParam().label, GetParam().city);
    EXPECT_EQ(lookup.state.stationNumber, GetParam().number);
    EXPECT_TRUE(lookup.ui.events().empty()) << shown(lookup.ui);
}

// First, middle and last rows of each list; half the cases leave the group to the label.
INSTANTIATE_TEST_SUITE_P(
    Rows, ListSample,
    ::testing::Values(SampleRow{"Africa", "Egypt (O)", "Cairo", "62366"},
                      SampleRow{"", "South Africa (O)", "Zastron", "68550"},
                      SampleRow{"Africa", "Tanzania (O)", "Zanzibar", "63870"},
                      SampleRow{"Asia", "India (O)", "Ahmadabad", "42647"},
                      SampleRow{"", "India (O)", "Jaipur", "42348"},
                      SampleRow{"Asia", "India (O)", "Trivandrum", "43371"},
                      SampleRow{"", "Japan (O)", "Wakkanai", "47401"},
                      SampleRow{"Asia", "Japan (O)", "Hachijojima", "47678"},
                      SampleRow{"", "Japan (O)", "Minamitorishima", "47991"},
                      SampleRow{"Asia", "Malaysia (O)", "Alor Setar", "48603"},
                      SampleRow{"", "Malaysia (O)", "Kuantan", "48657"},
                      SampleRow{"Asia", "Malaysia (O)", "Senai", "48679"},
                      SampleRow{"", "Philippines (O)", "Basco", "98135"},
                      SampleRow{"Asia", "Philippines (O)", "Calapan", "98531"},
                      SampleRow{"", "Philippines (O)", "General Santos", "98851"},
                      SampleRow{"Asia", "Thailand (O)", "Mae Hong Son", "48300"},
                      SampleRow{"", "Thailand (O)", "Ubon Ratchathani", "48407"},
                      SampleRow{"Asia", "Thailand (O)", "Narathiwat", "48583"},
                      SampleRow{"", "Capital Territory (O)", "Canberra", "94926"},
                      SampleRow{"Australia", "South Australia (O)", "Elliston", "94656"},
                      SampleRow{"", "Western Australia (O)", "Albany", "94802"},
                      SampleRow{"Canada", "Alberta (O)", "Athabasca", "71150"},
                      SampleRow{"", "Nova Scotia (O)", "Sydney", "71707"},
                      SampleRow{"Canada", "Saskatchewan (O)", "Kamsack", "71498"},
                      SampleRow{"", "Belize (O)", "Belize City", "78583"},
                      SampleRow{"Central America", "Mexico (O)", "Isla Guadalupe", "76120"},
                      SampleRow{"", "Austria (O)", "Vienna", "11036"},
                      SampleRow{"Europe", "Belgium (O)", "Antwerp", "06450"},
                      SampleRow{"", "Belgium (O)", "Koksijde", "06400"},
                      SampleRow{"Europe", "Belgium (O)", "Uccle", "06447"},
                      SampleRow{"", "Finland (O)", "Helsinki", "02974"},
                      SampleRow{"Europe", "Finland (O)", "Lappeenranta", "02958"},
                      SampleRow{"", "Finland (O)", "Vaasa", "02911"},
                      SampleRow{"Europe", "France (O)", "Abbeville", "07005"},
                      SampleRow{"", "France (O)", "Le Mans", "07235"},
                      SampleRow{"Europe", "France (O)", "Villacoublay", "07147"},
                      SampleRow{"", "Germany (O)", "Aachen", "10501"},
                      SampleRow{"Europe", "Germany (O)", "Kassel", "10438"},
                      SampleRow{"", "Germany (O)", "Zugspitze", "10961"},
                      SampleRow{"Europe", "Italy (O)", "Alghero", "16520"},
                      SampleRow{"", "Italy (O)", "Monte Cimone", "16134"},
                      SampleRow{"Europe", "Italy (O)", "Cozzo Spadaro", "16480"},
                      SampleRow{"", "Netherlands (O)", "Amsterdam", "06240"},
                      SampleRow{"Europe", "Netherlands (O)", "Leeuwarden", "06270"},
                      SampleRow{"", "Netherlands (O)", "Volkel", "06375"},
                      SampleRow{"Europe", "Norway (O)", "Alesund", "01217"},
                      SampleRow{"", "Norway (O)", "Lillehammer", "01372"},
                      SampleRow{"Europe", "Norway (O)", "Vardo", "01098"},
                      SampleRow{"", "Romania (O)", "Bucharest", "15420"},
                      SampleRow{"Europe", "Romania (O)", "Craiova", "15450"},
                      SampleRow{"", "Romania (O)", "Timisoara", "15247"},
                      SampleRow{"Europe", "Russia (O)", "Moscow", "27515"},
                      SampleRow{"", "Spain (O)", "Barcelona", "08181"},
                      SampleRow{"Europe", "Spain (O)", "Madrid", "08221"},
                      SampleRow{"", "Spain (O)", "San Sebastian", "08027"},
                      SampleRow{"", "Switzerland (O)", "Basel", "06601"},
                      SampleRow{"Europe", "Switzerland (O)", "Lugano", "06770"},
                      SampleRow{"", "Switzerland (O)", "Zurich", "06660"},
                      SampleRow{"Europe", "Turkey (O)", "Adana", "69146"},
                      SampleRow{"", "Turkey (O)", "Istanbul", "17060"},
                      SampleRow{"Europe", "United Kingdom (O)", "Aberdeen", "03091"},
                      SampleRow{"", "United Kingdom (O)", "Leuchars", "03171"},
                      SampleRow{"Europe", "United Kingdom (O)", "Yeovilton", "03853"},
                      SampleRow{"Islands", "Antigua (O)", "St Johns", "78862"},
                      SampleRow{"", "Fiji (O)", "Kadavu", "91691"},
                      SampleRow{"Islands", "Trinidad_And_Tobago (O)", "Piarco", "78970"},
                      SampleRow{"", "Trinidad And Tobago (O)", "Piarco", "78970"},
                      SampleRow{"", "Peru (O)", "Andahuaylas", "84540"},
                      SampleRow{"South America", "Peru (O)", "Lima", "84628"},
                      SampleRow{"", "Peru (O)", "Tumbes", "84370"}),
    [](const auto& info) {
        return test::CaseName(std::string(info.param.city) + "_" + info.param.label +
                              (*info.param.group == '\0' ? "_nogroup" : ""));
    });
