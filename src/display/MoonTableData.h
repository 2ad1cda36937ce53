#pragma once

#include <string_view>

// The tables written at build time by cirrolux-moongen; read them through MoonTables.
namespace cirrolux::MoonTableData {

extern const int FirstYear;
extern const int YearCount;
// One 1,664-character table per year, FirstYear first.
extern const std::string_view Tables[];
// The lit fraction of 1 January after the last table, so its 31 December has a next day.
extern const std::string_view EntryAfterLastYear;

} // namespace cirrolux::MoonTableData
