#include "display/MoonTables.h"

#include "display/MoonTableData.h"

namespace cirrolux::MoonTables {

std::string_view TableFor(int year)
{
    if (year < FirstYear || year > LastYear)
        return {};
    const int index = year - MoonTableData::FirstYear;
    // Guards against a generator run for fewer years than this library covers.
    if (index < 0 || index >= MoonTableData::YearCount)
        return {};
    return MoonTableData::Tables[index];
}

std::string_view Entry(std::string_view table, int day, int month)
{
    if (day < 1 || day > 32 || month < 1 || month > 12)
        return {};
    const std::size_t position = 52 * static_cast<std::size_t>(day - 1) + 4 * month;
    if (position + 4 > table.size())
        return {};
    return table.substr(position, 4);
}

std::string_view EntryAfterLastYear()
{
    return MoonTableData::EntryAfterLastYear;
}

} // namespace cirrolux::MoonTables
