#include "livereports/AirQualityReport.h"

#include "livereports/FailurePage.h"
#include "livereports/PageText.h"
#include "livereports/StateTable.h"

#include <array>
#include <map>
#include <set>

namespace cirrolux::livereports {

namespace {

constexpr std::array<std::string_view, 7> Pollutants{"OZONE", "PM-2.5", "PM-10", "SO2",
                                                     "LEAD",  "CO",     "NO2"};

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    }
    return out;
}

// The pollutant a cell names, as an index into Pollutants; -1 for none.
int pollutantOf(std::string_view cell)
{
    const std::string t = lower(cell);
    const auto has = [&t](std::string_view what) { return t.find(what) != std::string::npos; };
    if (has("ozone"))
        return 0;
    if (has("pm-2.5") || has("pm2.5"))
        return 1;
    if (has("pm-10") || has("pm10"))
        return 2;
    if (has("sulfur dioxide") || has("so2"))
        return 3;
    if (has("lead"))
        return 4;
    if (has("carbon monoxide") || t == "co" || t.starts_with("co "))
        return 5;
    if (has("nitrogen dioxide") || has("no2"))
        return 6;
    return -1;
}

// A state heading cell: "ILLINOIS (Region V)", "Illinois".
const StateRow* stateHeading(std::string_view cell)
{
    std::string_view name = cell;
    if (const std::size_t paren = name.find(" ("); paren != std::string_view::npos)
        name = name.substr(0, paren);
    return FindStateByName(Trimmed(name));
}

struct Columns
{
    int state = -1;
    int county = -1;
    int pollutant = -1;
};

Columns columnsOf(const std::vector<std::string>& header)
{
    Columns c;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string h = lower(header[i]);
        // "State/County" is the county column of a page that heads each state's rows.
        if (c.county < 0 && h.find("county") != std::string::npos)
            c.county = int(i);
        else if (c.state < 0 && h.starts_with("state"))
            c.state = int(i);
        else if (c.pollutant < 0 &&
                 (h.find("pollutant") != std::string::npos || h.find("naaqs") != std::string::npos))
            c.pollutant = int(i);
    }
    return c;
}

std::string currentAsOf(std::string_view html)
{
    const std::string text = HtmlToText(html);
    const std::size_t at = text.find("current as of ");
    if (at == std::string::npos)
        return {};
    std::size_t end = at + 14;
    // "February 28, 2025": up to and including the year.
    while (end < text.size() && text[end] != '.' &&
           !(end >= at + 18 && text[end - 1] >= '0' && text[end - 1] <= '9' && text[end] == ' '))
        ++end;
    return ReportSafe(text.substr(at + 14, end - at - 14));
}

} // namespace

std::string AirQualityPage(std::string_view greenBookHtml)
{
    // counties[state code][pollutant]
    std::map<std::string_view, std::array<std::set<std::string>, Pollutants.size()>> counties;
    bool tableFound = false;
    for (const HtmlTable& table : HtmlTables(greenBookHtml)) {
        std::size_t headerRow = 0;
        Columns cols;
        for (; headerRow < table.size(); ++headerRow) {
            cols = columnsOf(table[headerRow]);
            if (cols.county >= 0 && cols.pollutant >= 0)
                break;
        }
        if (headerRow == table.size())
            continue;
        tableFound = true;
        const StateRow* current = nullptr;
        for (std::size_t r = headerRow + 1; r < table.size(); ++r) {
            const std::vector<std::string>& row = table[r];
            const auto cell = [&row](int i) {
                return i >= 0 && std::size_t(i) < row.size() ? std::string_view(row[std::size_t(i)])
                                                             : std::string_view();
            };
            if (cols.state >= 0) {
                if (const StateRow* s = stateHeading(cell(cols.state)))
                    current = s;
            } else if (const StateRow* s = stateHeading(cell(0)); s != nullptr && cell(1).empty()) {
                current = s;
                continue;
            }
            const int pollutant = pollutantOf(cell(cols.pollutant));
            const std::string_view county = Trimmed(cell(cols.county));
            if (current == nullptr || pollutant < 0 || county.empty())
                continue;
            counties[current->code][std::size_t(pollutant)].insert(std::string(county));
        }
    }
    if (!tableFound) {
        return FailurePage(
            {"ap", FailureKind::SourceFailed, {}, "the Green Book page holds no county table"});
    }

    std::string body = "Air Pollution Levels by State\n"
                       "Counties designated nonattainment for each criteria pollutant";
    const std::string asOf = currentAsOf(greenBookHtml);
    body += asOf.empty() ? std::string(".\n") : ",\nas of " + asOf + ".\n";
    body += "\nSTATE                  OZONE  PM-2.5  PM-10   SO2  LEAD    CO   NO2\n"
            "--------------------   -----  ------  -----  ----  ----  ----  ----\n";
    const std::array<std::size_t, Pollutants.size()> widths{5, 8, 7, 6, 6, 6, 6};
    for (const StateRow& state : States()) {
        const auto found = counties.find(state.code);
        if (found == counties.end())
            continue;
        std::string line = PadRight(state.name, 20) + "   ";
        for (std::size_t p = 0; p < Pollutants.size(); ++p)
            line += PadLeft(std::to_string(found->second[p].size()), widths[p]);
        body += line + "\n";
    }
    if (counties.empty())
        body += "No county is designated nonattainment.\n";
    body += "\nStates not listed have no county designated nonattainment.\n";
    return ForecastPage(body, "Source: U.S. EPA Green Book, www3.epa.gov/airquality/greenbook/");
}

} // namespace cirrolux::livereports
