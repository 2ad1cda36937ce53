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

// The compiled-in catalogue data, in stored order.
std::span<const TreeNode> LocationTree();
std::span<const StationEntry> StationTable();

// Foreign station lookup. Reads locationCity, locationGroup (may be empty) and locationState
// (a region label ending "(O)"); writes stationNumber (a number, "n/a" or empty) and, when it
// was empty, locationGroup. Shows the lookup's messages through `ui`.
void LookupStation(SharedState& state, UserInterface& ui);

// Replaces a full US state name in locationState by its two-letter code.
void ConvertStateName(SharedState& state);

// Splits locationTitle ("City,State Name") into titleCity and stateCode.
void StateNameToCode(SharedState& state);

} // namespace cirrolux
