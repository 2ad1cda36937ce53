#pragma once

#include <string_view>

namespace cirrolux {

// The moon's lit fraction for every day of the covered years, as 1,664-character tables of
// 32 rows x 52 characters (row label, then twelve 4-character entries "0.00".."1.00").
// Days a month lacks hold "9.99" up to 1999 and "0.00" from 2000 on; the last row is "9999"
// with "9.99" in every column.
namespace MoonTables {
inline constexpr int FirstYear = 1998;
inline constexpr int LastYear = 2100;
inline constexpr int TableLength = 1664;
// The table of `year`, or empty when the year is not covered.
std::string_view TableFor(int year);
// The 4-character entry for (day, month) of a table; positions as stored. Empty when day is
// outside 1..32, month outside 1..12, or the table is too short to hold the entry.
std::string_view Entry(std::string_view table, int day, int month);
// The entry of the day after 31 December of LastYear, which has no table of its own.
std::string_view EntryAfterLastYear();
} // namespace MoonTables

} // namespace cirrolux
