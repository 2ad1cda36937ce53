#include "CaseName.h"
#include "locations/LocationCatalogue.h"
#include "locations/LocationTreeModel.h"

#include <QStandardItemModel>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace cirrolux;

namespace {

// Index of the node `path` names (texts from a child of the root down), or -1.
int findNode(const std::vector<std::string>& path)
{
    const auto tree = LocationTree();
    std::size_t begin = 0;
    std::size_t end = tree.size();
    int found = 0;
    for (std::size_t level = 0; level < path.size(); ++level) {
        const int depth = static_cast<int>(level) + 1;
        found = -1;
        for (std::size_t i = begin + 1; i < end; ++i) {
            if (tree[i].depth == depth && tree[i].text == path[level]) {
                found = static_cast<int>(i);
                break;
            }
        }
        if (found < 0)
            return -1;
        begin = static_cast<std::size_t>(found);
        end = begin + 1;
        while (end < tree.size() && tree[end].depth > depth)
            ++end;
    }
    return found;
}

std::vector<std::string> childrenOf(int index)
{
    std::vector<std::string> children;
    const auto tree = LocationTree();
    const int depth = tree[static_cast<std::size_t>(index)].depth;
    for (std::size_t i = static_cast<std::size_t>(index) + 1;
         i < tree.size() && tree[i].depth > depth; ++i) {
        if (tree[i].depth == depth + 1)
            children.emplace_back(tree[i].text);
    }
    return children;
}

struct ChildCount
{
    const char* continent;
    const char* country;
    int children;
};

const ChildCount kCountries[] = {
    {"Africa", "Egypt", 1},
    {"Africa", "Kenya", 18},
    {"Africa", "South Africa", 138},
    {"Africa", "Tanzania", 15},
    {"Asia", "India", 10},
    {"Asia", "Japan", 123},
    {"Asia", "Malaysia", 14},
    {"Asia", "Philippines", 52},
    {"Asia", "Thailand", 38},
    {"Australia", "Capital Territory", 1},
    {"Australia", "New South Wales", 14},
    {"Australia", "New Zealand", 37},
    {"Australia", "Northern Territory", 13},
    {"Australia", "Queensland", 28},
    {"Australia", "South Australia", 30},
    {"Australia", "Tasmania", 5},
    {"Australia", "Victoria", 8},
    {"Australia", "Western Australia", 98},
    {"Central America", "Belize", 3},
    {"Central America", "Costa Rica", 5},
    {"Central America", "Dominica", 2},
    {"Central America", "Dominican Republic", 8},
    {"Central America", "El Salvador", 3},
    {"Central America", "Guatemala", 8},
    {"Central America", "Honduras", 13},
    {"Central America", "Mexico", 91},
    {"Central America", "Nicaragua", 5},
    {"Central America", "Panama", 4},
    {"Europe", "Austria", 1},
    {"Europe", "Belgium", 16},
    {"Europe", "Finland", 13},
    {"Europe", "France", 72},
    {"Europe", "Germany", 43},
    {"Europe", "Italy", 74},
    {"Europe", "Netherlands", 19},
    {"Europe", "Norway", 42},
    {"Europe", "Romania", 7},
    {"Europe", "Russia", 1},
    {"Europe", "Spain", 4},
    {"Europe", "Switzerland", 9},
    {"Europe", "Turkey", 2},
    {"Europe", "United Kingdom", 51},
    {"Islands", "Antigua", 1},
    {"Islands", "Bahamas", 12},
    {"Islands", "Barbados", 1},
    {"Islands", "Bermuda", 1},
    {"Islands", "Cayman Island", 1},
    {"Islands", "Fiji", 12},
    {"Islands", "Jamaica", 2},
    {"Islands", "Trinidad And Tobago", 2},
    {"North America", "Canada", 12},
    {"North America", "United States", 53},
    {"South America", "Peru", 26},
};

const ChildCount kProvinces[] = {
    {"Canada", "Alberta", 53},
    {"Canada", "British Columbia", 78},
    {"Canada", "Manitoba", 29},
    {"Canada", "New Brunswick", 10},
    {"Canada", "Newfoundland", 0},
    {"Canada", "Northwest Territory", 0},
    {"Canada", "Nova Scotia", 13},
    {"Canada", "Ontario", 63},
    {"Canada", "Prince Edward Island", 3},
    {"Canada", "Quebec", 75},
    {"Canada", "Saskatchewan", 37},
    {"Canada", "Yukon Territory", 0},
};

void PrintTo(const ChildCount& row, std::ostream* out)
{
    *out << row.continent << " > " << row.country << " (" << row.children << ")";
}

std::string childCountName(const ::testing::TestParamInfo<ChildCount>& info)
{
    return test::CaseName(info.param.country);
}

struct ListSize
{
    const char* group;
    const char* list;
    std::size_t entries;
};

const ListSize kListSizes[] = {
    {"Africa", "Africa", 172},
    {"Asia", "India", 10},
    {"Asia", "Japan", 123},
    {"Asia", "Malaysia", 14},
    {"Asia", "Philippines", 53},
    {"Asia", "Thailand", 38},
    {"Australia", "Australia", 233},
    {"Canada", "Canada", 361},
    {"Central America", "Central America", 141},
    {"Europe", "Austria", 1},
    {"Europe", "Belgium", 16},
    {"Europe", "Finland", 13},
    {"Europe", "France", 72},
    {"Europe", "Germany", 43},
    {"Europe", "Italy", 74},
    {"Europe", "Netherlands", 19},
    {"Europe", "Norway", 42},
    {"Europe", "Romania", 7},
    {"Europe", "Russia", 1},
    {"Europe", "Spain", 4},
    {"Europe", "Switzerland", 9},
    {"Europe", "Turkey", 2},
    {"Europe", "United Kingdom", 51},
    {"Islands", "Islands", 32},
    {"South America", "Peru", 26},
};

void PrintTo(const ListSize& row, std::ostream* out)
{
    *out << row.group << " / " << row.list << " (" << row.entries << ")";
}

bool isStationNumber(std::string_view number)
{
    return number.size() == 5 &&
           std::ranges::all_of(number, [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

// ---- location tree ----

TEST(LocationTree, HasOneRootAndTheNodeCountPerDepth)
{
    const auto tree = LocationTree();
    ASSERT_EQ(tree.size(), 2272u);
    EXPECT_EQ(tree[0].text, "Continent");
    EXPECT_EQ(tree[0].depth, 0);
    std::map<int, int> perDepth;
    for (const TreeNode& node : tree)
        ++perDepth[node.depth];
    const std::map<int, int> expected{{0, 1}, {1, 8}, {2, 53}, {3, 1262}, {4, 948}};
    EXPECT_EQ(perDepth, expected);
}

TEST(LocationTree, IsAWellFormedPreOrder)
{
    const auto tree = LocationTree();
    for (std::size_t i = 1; i < tree.size(); ++i) {
        EXPECT_GE(tree[i].depth, 1) << "second root at " << i;
        EXPECT_LE(tree[i].depth, tree[i - 1].depth + 1) << "level skipped at " << tree[i].text;
        EXPECT_FALSE(tree[i].text.empty()) << "empty text at " << i;
    }
}

TEST(LocationTree, ContinentsAreTheEight)
{
    const std::set<std::string> expected{"Africa", "Asia",    "Australia",     "Central America",
                                         "Europe", "Islands", "North America", "South America"};
    const std::vector<std::string> continents = childrenOf(0);
    EXPECT_EQ(continents.size(), 8u);
    EXPECT_EQ(std::set<std::string>(continents.begin(), continents.end()), expected);
}

TEST(LocationTree, CountriesAreExactlyTheListedOnes)
{
    std::set<std::pair<std::string, std::string>> expected;
    for (const ChildCount& row : kCountries)
        expected.insert({row.continent, row.country});
    std::set<std::pair<std::string, std::string>> found;
    std::string continent;
    for (const TreeNode& node : LocationTree()) {
        if (node.depth == 1)
            continent = node.text;
        if (node.depth == 2) {
            EXPECT_TRUE(found.insert({continent, std::string(node.text)}).second)
                << "twice: " << node.text;
        }
    }
    EXPECT_EQ(found, expected);
}

class CountryChildren : public ::testing::TestWithParam<ChildCount>
{
};

TEST_P(CountryChildren, HasItsNumberOfChildren)
{
    const int index = findNode({GetParam().continent, GetParam().country});
    ASSERT_GE(index, 0) << GetParam().country << " is missing";
    EXPECT_EQ(childrenOf(index).size(), static_cast<std::size_t>(GetParam().children));
}

INSTANTIATE_TEST_SUITE_P(Countries, CountryChildren, ::testing::ValuesIn(kCountries),
                         childCountName);

class ProvinceChildren : public ::testing::TestWithParam<ChildCount>
{
};

TEST_P(ProvinceChildren, HasItsNumberOfCities)
{
    const int index = findNode({"North America", "Canada", GetParam().country});
    ASSERT_GE(index, 0) << GetParam().country << " is missing";
    EXPECT_EQ(childrenOf(index).size(), static_cast<std::size_t>(GetParam().children));
}

INSTANTIATE_TEST_SUITE_P(Canada, ProvinceChildren, ::testing::ValuesIn(kProvinces), childCountName);

TEST(LocationTree, CanadaHoldsExactlyTheTwelveProvinces)
{
    const int canada = findNode({"North America", "Canada"});
    ASSERT_GE(canada, 0);
    std::set<std::string> expected;
    for (const ChildCount& row : kProvinces)
        expected.insert(row.country);
    const std::vector<std::string> provinces = childrenOf(canada);
    EXPECT_EQ(std::set<std::string>(provinces.begin(), provinces.end()), expected);
    EXPECT_EQ(provinces.size(), expected.size());
}

TEST(LocationTree, UnitedStatesHoldsTheStateTableNamesWith587Cities)
{
    const int us = findNode({"North America", "United States"});
    ASSERT_GE(us, 0);
    std::set<std::string> expected;
    for (const StateNameRow& row : ConvertStateNameTable())
        expected.insert(std::string(row.name));
    const std::vector<std::string> states = childrenOf(us);
    EXPECT_EQ(states.size(), 53u);
    EXPECT_EQ(std::set<std::string>(states.begin(), states.end()), expected);
    EXPECT_TRUE(expected.contains("Lousiana"));

    std::size_t cities = 0;
    for (const std::string& name : states) {
        const std::vector<std::string> stateCities =
            childrenOf(findNode({"North America", "United States", name}));
        EXPECT_FALSE(stateCities.empty()) << name << " has no cities";
        EXPECT_EQ(std::set<std::string>(stateCities.begin(), stateCities.end()).size(),
                  stateCities.size())
            << name << " lists a city twice";
        cities += stateCities.size();
    }
    EXPECT_EQ(cities, 587u);
}

TEST(LocationTree, UsCitiesWriteSpacesAsUnderscores)
{
    const int us = findNode({"North America", "United States"});
    ASSERT_GE(us, 0);
    const auto tree = LocationTree();
    for (std::size_t i = static_cast<std::size_t>(us) + 1; i < tree.size() && tree[i].depth > 2;
         ++i) {
        if (tree[i].depth == 4) {
            EXPECT_EQ(tree[i].text.find(' '), std::string_view::npos) << tree[i].text;
        }
    }
    for (const auto& path : std::vector<std::vector<std::string>>{
             {"North America", "United States", "Texas", "San_Antonio"},
             {"North America", "United States", "Texas", "Dallas-Ft_Worth"},
             {"North America", "United States", "Texas", "Mc_Allen"}})
        EXPECT_GE(findNode(path), 0) << path.back();
}

TEST(LocationTree, OnlyEightUnitedKingdomCitiesAmongForeignOnesUseUnderscores)
{
    std::vector<std::string> withUnderscore;
    std::string continent;
    std::string country;
    for (const TreeNode& node : LocationTree()) {
        if (node.depth == 1)
            continent = node.text;
        if (node.depth == 2)
            country = node.text;
        if (country == "United States" || node.depth < 3)
            continue;
        if (node.text.find('_') != std::string_view::npos) {
            EXPECT_EQ(country, "United Kingdom") << node.text;
            withUnderscore.emplace_back(node.text);
        }
    }
    EXPECT_EQ(withUnderscore.size(), 8u);
    EXPECT_NE(std::ranges::find(withUnderscore, "Boscombe_Down"), withUnderscore.end());
}

TEST(LocationTreeModel, HoldsEveryNodeUnderTheOneRoot)
{
    const std::unique_ptr<QStandardItemModel> model = BuildLocationTreeModel();
    ASSERT_EQ(model->rowCount(), 1);
    QStandardItem* root = model->item(0);
    EXPECT_EQ(root->text(), QStringLiteral("Continent"));
    EXPECT_EQ(root->rowCount(), 8);

    // Walk the model in pre-order and compare it with the data node by node.
    const auto tree = LocationTree();
    std::size_t index = 0;
    std::vector<std::pair<QStandardItem*, int>> stack{{root, 0}};
    while (!stack.empty()) {
        const auto [item, depth] = stack.back();
        stack.pop_back();
        ASSERT_LT(index, tree.size());
        EXPECT_EQ(item->text().toLatin1().toStdString(), tree[index].text);
        EXPECT_EQ(depth, tree[index].depth);
        EXPECT_FALSE(item->isEditable());
        ++index;
        for (int row = item->rowCount() - 1; row >= 0; --row)
            stack.push_back({item->child(row), depth + 1});
    }
    EXPECT_EQ(index, tree.size());
}

// ---- station table ----

TEST(StationTable, HoldsTheTwentyFiveListsWith1557Entries)
{
    const auto table = StationTable();
    EXPECT_EQ(table.size(), 1557u);
    std::size_t total = 0;
    for (const ListSize& row : kListSizes)
        total += row.entries;
    EXPECT_EQ(total, 1557u);

    std::set<std::pair<std::string, std::string>> expected;
    for (const ListSize& row : kListSizes)
        expected.insert({row.group, row.list});
    std::set<std::pair<std::string, std::string>> inData;
    for (const StationEntry& entry : table)
        inData.insert({std::string(entry.group), std::string(entry.list)});
    EXPECT_EQ(inData, expected);
}

class ListEntries : public ::testing::TestWithParam<ListSize>
{
};

TEST_P(ListEntries, HasItsSizeAndWellFormedRows)
{
    const auto rows = StationListRows(GetParam().list);
    EXPECT_EQ(rows.size(), GetParam().entries);
    const auto table = StationTable();
    const auto inTable = std::ranges::count_if(
        table, [&](const StationEntry& e) { return e.list == GetParam().list; });
    EXPECT_EQ(static_cast<std::size_t>(inTable), GetParam().entries) << "rows are split";
    for (const StationEntry& entry : rows) {
        EXPECT_EQ(entry.group, GetParam().group) << entry.city;
        EXPECT_FALSE(entry.city.empty());
        EXPECT_TRUE(entry.number.empty() || isStationNumber(entry.number))
            << entry.city << " " << entry.number;
    }
}

TEST_P(ListEntries, IsServedByOneListOfTheLookup)
{
    const auto lists = StationLists();
    const auto count = std::ranges::count_if(lists, [&](const StationList& list) {
        return list.name == GetParam().list && list.group == GetParam().group;
    });
    EXPECT_EQ(count, 1);
}

INSTANTIATE_TEST_SUITE_P(Lists, ListEntries, ::testing::ValuesIn(kListSizes),
                         [](const auto& info) { return test::CaseName(info.param.list); });

TEST(StationTable, LookupHasExactlyTwentyFiveLists)
{
    EXPECT_EQ(StationLists().size(), 25u);
}

TEST(StationTable, OnlyBellaCoolaArptLacksANumber)
{
    for (const StationEntry& entry : StationTable()) {
        if (entry.number.empty()) {
            EXPECT_EQ(entry.city, "Bella Coola Arpt") << entry.list;
        }
    }
}

struct TellingRows
{
    const char* name;
    const char* list;
    const char* city;
    std::vector<std::string> numbers; // every row of that city in the list, in stored order
};

void PrintTo(const TellingRows& row, std::ostream* out)
{
    *out << row.list << " / " << row.city;
}

class TellingRow : public ::testing::TestWithParam<TellingRows>
{
};

TEST_P(TellingRow, IsStoredAsFixed)
{
    std::vector<std::string> numbers;
    for (const StationEntry& entry : StationListRows(GetParam().list)) {
        if (entry.city == GetParam().city)
            numbers.emplace_back(entry.number);
    }
    EXPECT_EQ(numbers, GetParam().numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TellingRow,
    ::testing::Values(TellingRows{"Vienna", "Austria", "Vienna", {"11036"}},
                      TellingRows{"Moscow", "Russia", "Moscow", {"27515"}},
                      TellingRows{"Barcelona", "Spain", "Barcelona", {"08181"}},
                      TellingRows{"Madrid", "Spain", "Madrid", {"08221"}},
                      TellingRows{"SanSebastian", "Spain", "San Sebastian", {"08027"}},
                      TellingRows{"SantiagoSpain", "Spain", "Santiago", {"08042"}},
                      TellingRows{"Adana", "Turkey", "Adana", {"69146"}},
                      TellingRows{"Istanbul", "Turkey", "Istanbul", {"17060"}},
                      TellingRows{"ParcDesLaurentid", "Canada", "Parc Des Laurentid", {"71382"}},
                      TellingRows{"Parent", "Canada", "Parent", {"71726"}},
                      TellingRows{"BellaCoolaArpt", "Canada", "Bella Coola Arpt", {""}},
                      TellingRows{"RichmondTwice", "Australia", "Richmond", {"94753", "94340"}},
                      TellingRows{
                          "SantiagoTwice", "Central America", "Santiago", {"78460", "78795"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- group table ----

TEST(RegionGroupTable, HoldsSixtyTwoDistinctLabelsPerGroup)
{
    const auto table = RegionGroupTable();
    ASSERT_EQ(table.size(), 62u);
    std::map<std::string, int> perGroup;
    std::set<std::string> labels;
    for (const RegionLabel& row : table) {
        ++perGroup[std::string(row.group)];
        EXPECT_TRUE(labels.insert(std::string(row.label)).second) << row.label;
        EXPECT_TRUE(row.label.ends_with(" (O)")) << row.label;
    }
    const std::map<std::string, int> expected{
        {"Africa", 4},  {"Asia", 5},    {"Australia", 10}, {"Central America", 10},
        {"Europe", 14}, {"Canada", 10}, {"Islands", 8},    {"South America", 1}};
    EXPECT_EQ(perGroup, expected);
    EXPECT_TRUE(labels.contains("Cayman_Island (O)"));
    EXPECT_TRUE(labels.contains("Trinidad_And_Tobago (O)"));
    EXPECT_FALSE(labels.contains("Cayman Island (O)"));
}

TEST(RegionGroupTable, TreeSpellingsOfTheTwoIslandsBelongToIslands)
{
    const auto extra = TreeSpelledIslandLabels();
    ASSERT_EQ(extra.size(), 2u);
    EXPECT_EQ(extra[0].label, "Cayman Island (O)");
    EXPECT_EQ(extra[1].label, "Trinidad And Tobago (O)");
    EXPECT_EQ(GroupOfRegionLabel("Cayman Island (O)"), "Islands");
    EXPECT_EQ(GroupOfRegionLabel("Trinidad And Tobago (O)"), "Islands");
    EXPECT_EQ(GroupOfRegionLabel("Cayman_Island (O)"), "Islands");
    EXPECT_EQ(GroupOfRegionLabel("Alberta (O)"), "Canada");
    EXPECT_EQ(GroupOfRegionLabel("Chile (O)"), "");
    EXPECT_EQ(GroupOfRegionLabel("Yukon Territory (O)"), "");
}

TEST(StationLists, SelectingLabelsAreThoseOfTheirGroup)
{
    for (const StationList& list : StationLists()) {
        for (std::string_view label : list.labels)
            EXPECT_EQ(GroupOfRegionLabel(label), list.group) << label;
    }
}
