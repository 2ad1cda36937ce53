#include "locations/LocationCatalogue.h"

#include "platform/SharedState.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <array>
#include <vector>

// LocationTree() and StationTable() are defined in the source generated from src/locations/data.

namespace cirrolux {
namespace {

using namespace std::string_view_literals;

constexpr RegionLabel kRegionGroups[] = {
    {"Kenya (O)", "Africa"},
    {"Egypt (O)", "Africa"},
    {"South Africa (O)", "Africa"},
    {"Tanzania (O)", "Africa"},
    {"India (O)", "Asia"},
    {"Japan (O)", "Asia"},
    {"Malaysia (O)", "Asia"},
    {"Philippines (O)", "Asia"},
    {"Thailand (O)", "Asia"},
    {"Australia (O)", "Australia"},
    {"Capital Territory (O)", "Australia"},
    {"New South Wales (O)", "Australia"},
    {"New Zealand (O)", "Australia"},
    {"Northern Territory (O)", "Australia"},
    {"Queensland (O)", "Australia"},
    {"South Australia (O)", "Australia"},
    {"Tasmania (O)", "Australia"},
    {"Victoria (O)", "Australia"},
    {"Western Australia (O)", "Australia"},
    {"Belize (O)", "Central America"},
    {"Costa Rica (O)", "Central America"},
    {"Dominica (O)", "Central America"},
    {"Dominican Republic (O)", "Central America"},
    {"El Salvador (O)", "Central America"},
    {"Guatemala (O)", "Central America"},
    {"Honduras (O)", "Central America"},
    {"Mexico (O)", "Central America"},
    {"Nicaragua (O)", "Central America"},
    {"Panama (O)", "Central America"},
    {"Austria (O)", "Europe"},
    {"Belgium (O)", "Europe"},
    {"Finland (O)", "Europe"},
    {"France (O)", "Europe"},
    {"Germany (O)", "Europe"},
    {"Italy (O)", "Europe"},
    {"Netherlands (O)", "Europe"},
    {"Norway (O)", "Europe"},
    {"Romania (O)", "Europe"},
    {"Russia (O)", "Europe"},
    {"Spain (O)", "Europe"},
    {"Switzerland (O)", "Europe"},
    {"Turkey (O)", "Europe"},
    {"United Kingdom (O)", "Europe"},
    {"Canada (O)", "Canada"},
    {"Alberta (O)", "Canada"},
    {"British Columbia (O)", "Canada"},
    {"Manitoba (O)", "Canada"},
    {"New Brunswick (O)", "Canada"},
    {"Nova Scotia (O)", "Canada"},
    {"Ontario (O)", "Canada"},
    {"Prince Edward Island (O)", "Canada"},
    {"Quebec (O)", "Canada"},
    {"Saskatchewan (O)", "Canada"},
    {"Antigua (O)", "Islands"},
    {"Cayman_Island (O)", "Islands"},
    {"Fiji (O)", "Islands"},
    {"Bermuda (O)", "Islands"},
    {"Barbados (O)", "Islands"},
    {"Bahamas (O)", "Islands"},
    {"Jamaica (O)", "Islands"},
    {"Trinidad_And_Tobago (O)", "Islands"},
    {"Peru (O)", "South America"},
};

// The tree names these two islands with spaces, and the dialog builds its label from the tree,
// so without these a choice of either island could never reach its stations.
constexpr RegionLabel kTreeSpelledIslands[] = {
    {"Cayman Island (O)", "Islands"},
    {"Trinidad And Tobago (O)", "Islands"},
};

// The group's eight labels, then the tree's spellings of two of them.
constexpr std::string_view kIslandLabels[] = {
    "Antigua (O)",       "Cayman_Island (O)",
    "Fiji (O)",          "Bermuda (O)",
    "Barbados (O)",      "Bahamas (O)",
    "Jamaica (O)",       "Trinidad_And_Tobago (O)",
    "Cayman Island (O)", "Trinidad And Tobago (O)",
};
constexpr std::string_view kIndia[] = {"India (O)"};
constexpr std::string_view kJapan[] = {"Japan (O)"};
constexpr std::string_view kMalaysia[] = {"Malaysia (O)"};
constexpr std::string_view kPhilippines[] = {"Philippines (O)"};
constexpr std::string_view kThailand[] = {"Thailand (O)"};
constexpr std::string_view kAustria[] = {"Austria (O)"};
constexpr std::string_view kBelgium[] = {"Belgium (O)"};
constexpr std::string_view kFinland[] = {"Finland (O)"};
constexpr std::string_view kFrance[] = {"France (O)"};
constexpr std::string_view kGermany[] = {"Germany (O)"};
constexpr std::string_view kItaly[] = {"Italy (O)"};
constexpr std::string_view kNetherlands[] = {"Netherlands (O)"};
constexpr std::string_view kNorway[] = {"Norway (O)"};
constexpr std::string_view kRomania[] = {"Romania (O)"};
constexpr std::string_view kRussia[] = {"Russia (O)"};
constexpr std::string_view kSpain[] = {"Spain (O)"};
constexpr std::string_view kSwitzerland[] = {"Switzerland (O)"};
constexpr std::string_view kTurkey[] = {"Turkey (O)"};
constexpr std::string_view kUnitedKingdom[] = {"United Kingdom (O)"};
constexpr std::string_view kPeru[] = {"Peru (O)"};

constexpr StationList kLists[] = {
    {"Africa", "Africa", {}, "Sorry, invalid Province/City found for Africa:"},
    {"Asia", "India", kIndia, "Sorry, invalid City found for India:"},
    {"Asia", "Japan", kJapan, "Sorry, invalid City found for Japan:"},
    {"Asia", "Malaysia", kMalaysia, "Sorry, invalid City found for Malaysia:"},
    {"Asia", "Philippines", kPhilippines, "Sorry, invalid City found for Philippines:"},
    {"Asia", "Thailand", kThailand, "Sorry, invalid City found for Thailand:"},
    {"Australia", "Australia", {}, "Sorry, invalid Province/City found for Australia:"},
    {"Canada", "Canada", {}, "Sorry, invalid Province/City found for Canada:"},
    {"Central America",
     "Central America",
     {},
     "Sorry, invalid Province/City found for Central America:"},
    {"Europe", "Austria", kAustria, "Sorry, invalid Province/City found for Austria:"},
    {"Europe", "Belgium", kBelgium, "Sorry, invalid City found for Belgium:"},
    {"Europe", "Finland", kFinland, "Sorry, invalid City found for Finland:"},
    {"Europe", "France", kFrance, "Sorry, invalid City found for France:"},
    {"Europe", "Germany", kGermany, "Sorry, invalid City found for Germany:"},
    {"Europe", "Italy", kItaly, "Sorry, invalid City found for Italy:"},
    {"Europe", "Netherlands", kNetherlands, "Sorry, invalid City found for Netherlands:"},
    {"Europe", "Norway", kNorway, "Sorry, invalid City found for Norway:"},
    {"Europe", "Romania", kRomania, "Sorry, invalid City found for Romania:"},
    {"Europe", "Russia", kRussia, "Sorry, invalid City found for Russia:"},
    {"Europe", "Spain", kSpain, "Sorry, invalid City found for Spain:"},
    {"Europe", "Switzerland", kSwitzerland, "Sorry, invalid City found for Switzerland:"},
    {"Europe", "Turkey", kTurkey, "Sorry, invalid City found for Turkey:"},
    {"Europe", "United Kingdom", kUnitedKingdom, "Sorry, invalid City found for UK:"},
    {"Islands", "Islands", kIslandLabels, "Sorry, invalid city found for Island locations:"},
    {"South America", "Peru", kPeru, "Sorry, invalid City found for Peru:"},
};

constexpr StateNameRow kStateNames[] = {
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

// The title table lacks New Hampshire (so "Concord, New Hampshire" keeps no code) and ends
// with two foreign names that page titles carry.
constexpr auto kTitleStateNames = [] {
    std::array<StateNameRow, std::size(kStateNames) + 1> rows{};
    std::size_t n = 0;
    for (const StateNameRow& row : kStateNames) {
        if (row.name != "New Hampshire"sv)
            rows[n++] = row;
    }
    rows[n++] = {"Peru", "Peru (O)"};
    rows[n++] = {"United_Kingdom", "United Kingdom (O)"};
    return rows;
}();

// Spaces and control characters (every byte up to ' ') go from both ends.
std::string_view trimmed(std::string_view text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view codeOf(std::span<const StateNameRow> table, std::string_view name)
{
    const auto row = std::ranges::find(table, name, &StateNameRow::name);
    return row == table.end() ? std::string_view() : row->code;
}

struct ListRows
{
    std::string_view name;
    std::span<const StationEntry> rows;
};

// The generator keeps each list's rows together, so one pass finds every list's run.
const std::vector<ListRows>& listRuns()
{
    static const std::vector<ListRows> runs = [] {
        std::vector<ListRows> result;
        const std::span<const StationEntry> table = StationTable();
        std::size_t begin = 0;
        for (std::size_t i = 1; i <= table.size(); ++i) {
            if (i == table.size() || table[i].list != table[begin].list) {
                result.push_back({table[begin].list, table.subspan(begin, i - begin)});
                begin = i;
            }
        }
        return result;
    }();
    return runs;
}

enum class Selection { List, NoList, UnknownGroup };

Selection selectList(std::string_view group, std::string_view label, const StationList*& chosen)
{
    bool groupKnown = false;
    for (const StationList& list : kLists) {
        if (list.group != group)
            continue;
        groupKnown = true;
        if (list.labels.empty() || std::ranges::find(list.labels, label) != list.labels.end()) {
            chosen = &list;
            return Selection::List;
        }
    }
    return groupKnown ? Selection::NoList : Selection::UnknownGroup;
}

} // namespace

std::span<const RegionLabel> RegionGroupTable()
{
    return kRegionGroups;
}

std::span<const RegionLabel> TreeSpelledIslandLabels()
{
    return kTreeSpelledIslands;
}

std::string_view GroupOfRegionLabel(std::string_view label)
{
    for (const std::span<const RegionLabel> table :
         {RegionGroupTable(), TreeSpelledIslandLabels()}) {
        const auto row = std::ranges::find(table, label, &RegionLabel::label);
        if (row != table.end())
            return row->group;
    }
    return {};
}

std::span<const StationList> StationLists()
{
    return kLists;
}

std::span<const StationEntry> StationListRows(std::string_view name)
{
    const std::vector<ListRows>& runs = listRuns();
    const auto run = std::ranges::find(runs, name, &ListRows::name);
    return run == runs.end() ? std::span<const StationEntry>() : run->rows;
}

void LookupStation(SharedState& state, UserInterface& ui)
{
    state.stationNumber.clear();
    if (state.locationCity.empty()) {
        ui.showMessage("Error - City field is empty in Foreign_locations; city:" +
                       state.locationCity);
        ui.beep();
        return;
    }
    if (state.locationGroup.empty()) {
        const std::string_view group = GroupOfRegionLabel(state.locationState);
        if (group.empty()) {
            ui.beep();
            ui.showMessage("Error - invalid state/territory (Foreign_locations):" +
                           state.locationState);
            return;
        }
        state.locationGroup = group;
    }

    const StationList* list = nullptr;
    switch (selectList(state.locationGroup, state.locationState, list)) {
    case Selection::List:
        break;
    case Selection::NoList:
        return;
    case Selection::UnknownGroup:
        ui.showMessage("Sorry, this foreign country info is not added yet..." +
                       state.locationGroup);
        return;
    }

    const std::span<const StationEntry> rows = StationListRows(list->name);
    const auto row =
        std::ranges::find(rows, std::string_view(state.locationCity), &StationEntry::city);
    if (row == rows.end()) {
        ui.showMessage(std::string(list->notFoundMessage) + state.locationCity);
        state.stationNumber = "n/a";
        return;
    }
    state.stationNumber = row->number;
}

std::span<const StateNameRow> ConvertStateNameTable()
{
    return kStateNames;
}

std::span<const StateNameRow> StateNameToCodeTable()
{
    return kTitleStateNames;
}

void ConvertStateName(SharedState& state)
{
    const std::string_view code = codeOf(kStateNames, state.locationState);
    if (!code.empty())
        state.locationState = code;
}

void StateNameToCode(SharedState& state)
{
    const std::string input = state.locationTitle;
    state.titleCity = input;
    state.stateCode.clear();
    const std::size_t comma = input.find(',');
    if (comma == std::string::npos)
        return;
    state.titleCity = input.substr(0, comma);
    state.stateCode = codeOf(kTitleStateNames, trimmed(std::string_view(input).substr(comma + 1)));
}

} // namespace cirrolux
