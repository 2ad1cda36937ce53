#include "livereports/CensusReport.h"

#include "livereports/FailurePage.h"
#include "livereports/JsonTree.h"
#include "livereports/PageText.h"
#include "livereports/StateTable.h"

#include <algorithm>
#include <array>
#include <optional>

namespace cirrolux::livereports {

namespace {

constexpr std::array<CensusVariable, 12> DetailVariables{{
    {"B01003_001E", "Total population", false},
    {"B01001_002E", "Male", false},
    {"B01001_026E", "Female", false},
    {"B01002_001E", "Median age (years)", false},
    {"B11001_001E", "Households", false},
    {"B19013_001E", "Median household income", true},
    {"B19301_001E", "Per capita income", true},
    {"B17001_002E", "Persons below the poverty level", false},
    {"B25001_001E", "Housing units", false},
    {"B25002_003E", "Vacant housing units", false},
    {"B25077_001E", "Median value, owner-occupied homes", true},
    {"B25064_001E", "Median gross rent", true},
}};

using Table = std::vector<std::vector<std::string>>;

// The API's rows, or nothing when the answer is not an array of arrays of strings with a header
// and at least one row.
std::optional<Table> rowsOf(std::string_view json)
{
    const std::optional<JsonValue> doc = ParseJson(json);
    if (!doc || !doc->isArray() || doc->items.size() < 2)
        return std::nullopt;
    Table table;
    for (const JsonValue& row : doc->items) {
        if (!row.isArray())
            return std::nullopt;
        std::vector<std::string> cells;
        for (const JsonValue& cell : row.items)
            cells.push_back(cell.kind == JsonValue::Kind::Null ? std::string()
                                                               : Utf8ToLatin1(cell.text));
        table.push_back(std::move(cells));
    }
    return table;
}

int columnOf(const std::vector<std::string>& header, std::string_view name)
{
    const auto it = std::find(header.begin(), header.end(), name);
    return it == header.end() ? -1 : int(it - header.begin());
}

// "1234567" -> "1,234,567"; decimals kept ("38.9"); negative annotations and empty: "N/A".
std::string estimate(std::string_view value, bool dollars)
{
    if (value.empty() || value.starts_with('-'))
        return "N/A";
    const std::size_t dot = value.find('.');
    const std::string_view whole = value.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : value.substr(dot);
    std::string out = WithCommas(whole);
    if (!fraction.empty() && fraction != ".0")
        out += fraction;
    return dollars ? "$" + out : out;
}

bool keyRefused(std::string_view answer)
{
    return answer.find("Invalid Key") != std::string_view::npos ||
           answer.find("invalid key") != std::string_view::npos;
}

std::string years(int acsYear)
{
    return std::to_string(acsYear - 4) + "-" + std::to_string(acsYear);
}

constexpr std::string_view Credit =
    "Source: U.S. Census Bureau, American Community Survey 5-year estimates (api.census.gov). "
    "This product uses the Census Bureau Data API but is not endorsed or certified by the Census "
    "Bureau.";

} // namespace

std::span<const CensusVariable> CensusDetailVariables()
{
    return DetailVariables;
}

std::string CensusDetailGetList()
{
    std::string list = "NAME";
    for (const CensusVariable& v : DetailVariables)
        list += "," + std::string(v.name);
    return list;
}

std::string CensusNoKeyPage(std::string_view mode, std::string_view subject)
{
    return FailurePage({mode, FailureKind::NoKey, subject, {}});
}

std::string CensusDetailPage(std::string_view mode, std::string_view json, int acsYear)
{
    const bool zip = mode == "s2";
    if (keyRefused(json))
        return FailurePage(
            {mode, FailureKind::NoKey, {}, "the key given to the gateway was refused"});
    const std::optional<Table> table = rowsOf(json);
    if (!table) {
        return FailurePage({mode, FailureKind::SourceFailed, {}, "its answer could not be read"});
    }
    const std::vector<std::string>& header = table->front();
    const std::vector<std::string>& row = (*table)[1];
    const auto value = [&](std::string_view name) {
        const int c = columnOf(header, name);
        return c >= 0 && std::size_t(c) < row.size() ? row[std::size_t(c)] : std::string();
    };

    std::string subject;
    if (zip) {
        subject = "ZIP Code Tabulation Area " + value("zip code tabulation area");
    } else {
        const StateRow* state = FindStateByFips(value("state"));
        subject = state ? std::string(state->name) : value("NAME");
    }
    subject = ReportSafe(subject);
    std::string body = "Census Detail for " + subject + "\n" +
                       "American Community Survey 5-year estimates, " + years(acsYear) + "\n";
    if (zip) {
        body += "(ZIP Code Tabulation Areas are the Census Bureau's approximation of the\n"
                "Postal Service's ZIP code areas.)\n";
    }
    body += "\n";
    for (const CensusVariable& v : DetailVariables) {
        if (columnOf(header, v.name) < 0)
            continue;
        body +=
            "  " + PadRight(v.label, 40) + PadLeft(estimate(value(v.name), v.dollars), 14) + "\n";
    }
    body += "\nN/A: no estimate for this area.\n";
    return ForecastPage(WithoutHttpPrefix(body), Credit);
}

std::string CensusIncomePage(std::string_view json, int acsYear)
{
    if (keyRefused(json))
        return FailurePage(
            {"si", FailureKind::NoKey, {}, "the key given to the gateway was refused"});
    const std::optional<Table> table = rowsOf(json);
    if (!table)
        return FailurePage({"si", FailureKind::SourceFailed, {}, "its answer could not be read"});
    const std::vector<std::string>& header = table->front();
    const int income = columnOf(header, "B19013_001E");
    const int stateColumn = columnOf(header, "state");
    if (income < 0 || stateColumn < 0)
        return FailurePage(
            {"si", FailureKind::SourceFailed, {}, "its answer has no income column"});

    struct Entry
    {
        std::string_view name;
        long long amount;
    };
    std::vector<Entry> entries;
    for (std::size_t r = 1; r < table->size(); ++r) {
        const std::vector<std::string>& row = (*table)[r];
        if (std::size_t(std::max(income, stateColumn)) >= row.size())
            continue;
        const StateRow* state = FindStateByFips(row[std::size_t(stateColumn)]);
        const std::string& amount = row[std::size_t(income)];
        if (state == nullptr || amount.empty() || amount.starts_with('-') ||
            !std::all_of(amount.begin(), amount.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        entries.push_back({state->name, amount.size() > 12 ? 0 : std::stoll(amount)});
    }
    if (entries.empty())
        return FailurePage({"si", FailureKind::SourceFailed, {}, "its answer has no state rows"});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.amount != b.amount ? a.amount > b.amount : a.name < b.name;
    });

    std::string body = "Median Household Income by State, " + years(acsYear) + "\n" +
                       "[In inflation-adjusted dollars of " + std::to_string(acsYear) + "]\n\n" +
                       "Rank  State                    Amount\n"
                       "----  --------------------  ---------\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        body += PadLeft(std::to_string(i + 1), 4) + "  " + PadRight(entries[i].name, 20) + "  " +
                PadLeft("$" + WithCommas(std::to_string(entries[i].amount)), 9) + "\n";
    }
    return ForecastPage(body, Credit);
}

} // namespace cirrolux::livereports
