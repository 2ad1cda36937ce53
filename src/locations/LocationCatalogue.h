#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cirrolux {

class UserInterface;
struct SharedState;

// One node of the location tree, in pre-order. depth 0 is the root "Continent".
struct TreeNode
{
    std::string_view text;
    int depth;
};

// One row of the foreign station table. `list` names the list the row belongs to (its group
// for the single-list groups Africa, Australia, Canada, Central America and Islands, else the
// country: "India", "United Kingdom", ...). `number` is 5 digits or empty.
struct StationEntry
{
    std::string_view group;
    std::string_view list;
    std::string_view city;
    std::string_view number;
};

// The compiled-in catalogue data, in stored order. The arrays are generated at build time from
// src/locations/data and live for the whole run.
std::span<const TreeNode> LocationTree();
std::span<const StationEntry> StationTable();

// A region label ("Kenya (O)") and the group it belongs to ("Africa").
struct RegionLabel
{
    std::string_view label;
    std::string_view group;
};

// The group table used when a lookup is given no group: 62 labels in their listed order.
std::span<const RegionLabel> RegionGroupTable();
// The two island labels as the location tree writes them, with spaces ("Cayman Island (O)"),
// accepted beside the table's "_" spellings.
std::span<const RegionLabel> TreeSpelledIslandLabels();
// The group of `label` by the two tables above; empty when the label is in neither.
std::string_view GroupOfRegionLabel(std::string_view label);

// One of the 25 station lists: the group it serves, the labels that select it (none: the
// group's only list, whatever the label) and the message shown before a city it lacks.
struct StationList
{
    std::string_view group;
    std::string_view name;
    std::span<const std::string_view> labels;
    std::string_view notFoundMessage;
};

std::span<const StationList> StationLists();
// The rows of the list named `name`, in stored order; empty for a name without rows.
std::span<const StationEntry> StationListRows(std::string_view name);

// Foreign station lookup. Reads locationCity, locationGroup (may be empty) and locationState
// (a region label ending "(O)"); writes stationNumber (a number, "n/a" or empty) and, when it
// was empty, locationGroup. Shows the lookup's messages through `ui`.
void LookupStation(SharedState& state, UserInterface& ui);

// A full US state name and its code (or, for the two foreign rows of StateNameToCode, the
// region label it stands for).
struct StateNameRow
{
    std::string_view name;
    std::string_view code;
};

// The 53 rows ConvertStateName compares, in order.
std::span<const StateNameRow> ConvertStateNameTable();
// The 54 rows StateNameToCode compares, in order (no New Hampshire; "Peru", "United_Kingdom").
std::span<const StateNameRow> StateNameToCodeTable();

// Replaces a full US state name in locationState by its two-letter code.
void ConvertStateName(SharedState& state);

// Splits locationTitle ("City,State Name") into titleCity and stateCode.
void StateNameToCode(SharedState& state);

} // namespace cirrolux
