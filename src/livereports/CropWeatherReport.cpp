#include "livereports/CropWeatherReport.h"

#include "livereports/FailurePage.h"
#include "livereports/JsonTree.h"
#include "livereports/PageText.h"
#include "livereports/StateTable.h"

#include <optional>
#include <vector>

namespace cirrolux::livereports {

namespace {

bool isRule(std::string_view line)
{
    const std::string_view t = Trimmed(line);
    if (t.size() < 20)
        return false;
    for (const char c : t) {
        if (c != '-' && c != ':')
            return false;
    }
    return true;
}

// The name of a table row "Illinois .......:  44 ..." ("Illinois"); empty for other lines.
std::string_view rowName(std::string_view line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    std::string_view head = line.substr(0, colon);
    if (head.empty() || head.back() != '.')
        return {};
    while (!head.empty() && (head.back() == '.' || head.back() == ' '))
        head.remove_suffix(1);
    return Trimmed(head);
}

bool sameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string trimmedRight(std::string_view line)
{
    std::string out = ReportSafe(line);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// Where ESMIS keeps a release's files; an address elsewhere in its answer is not followed.
constexpr std::string_view kEsmisFiles = "https://downloads.usda.library.cornell.edu/";

// The first string in a JSON tree that is the address of a ".txt" file of the ESMIS library.
std::string firstTextFile(const JsonValue& value)
{
    if (value.isString())
        return value.text.starts_with(kEsmisFiles) && value.text.ends_with(".txt") &&
                       value.text.find_first_of(" ?#\\") == std::string::npos
                   ? value.text
                   : std::string();
    for (const JsonValue& item : value.items) {
        if (std::string found = firstTextFile(item); !found.empty())
            return found;
    }
    for (const auto& member : value.members) {
        if (std::string found = firstTextFile(member.value); !found.empty())
            return found;
    }
    return {};
}

} // namespace

std::string CropProgressTextAddress(std::string_view releaseJson)
{
    const std::optional<JsonValue> json = ParseJson(releaseJson);
    return json ? firstTextFile(*json) : std::string();
}

bool CropProgressInSeason(QDate day)
{
    return day.month() >= 4 && day.month() <= 11;
}

std::string CropWeatherPage(std::string_view cropProgressText, const StateRow& state, QDate today)
{
    if (!CropProgressInSeason(today))
        return FailurePage({"cw", FailureKind::OutOfSeason, state.name, {}});

    const std::vector<std::string_view> lines = Lines(cropProgressText);
    std::string released;
    std::string tables;
    enum class Part { Between, Heading, Rows } part = Part::Between;
    std::vector<std::string_view> title;   // non-blank lines before the heading block
    std::vector<std::string_view> heading; // the heading block, rules included
    for (const std::string_view line : lines) {
        if (released.empty() && Trimmed(line).starts_with("Released ")) {
            // "Released May 6, 2024, by the National Agricultural Statistics Service ..."
            const std::string_view t = Trimmed(line);
            released = trimmedRight(t.substr(0, t.find(", by ")));
        }
        switch (part) {
        case Part::Between:
            if (isRule(line)) {
                part = Part::Heading;
                heading.assign(1, line);
            } else if (Trimmed(line).empty()) {
                // a blank line between a title and its table is kept with the title
            } else {
                // A bracketed note belongs to the title above it; any other line starts a title.
                if (!Trimmed(line).starts_with("["))
                    title.clear();
                title.push_back(line);
            }
            break;
        case Part::Heading:
            if (!rowName(line).empty()) {
                part = Part::Rows;
            } else {
                heading.push_back(line);
                break;
            }
            [[fallthrough]];
        case Part::Rows:
            if (isRule(line)) {
                part = Part::Between;
                title.clear();
                heading.clear();
            } else if (sameNoCase(rowName(line), state.name)) {
                for (const std::string_view t : title)
                    tables += trimmedRight(t) + "\n";
                for (const std::string_view h : heading)
                    tables += trimmedRight(h) + "\n";
                tables += trimmedRight(line) + "\n" + trimmedRight(heading.front()) + "\n\n";
            }
            break;
        }
    }
    if (tables.empty()) {
        return FailurePage({"cw", FailureKind::NothingIssued, state.name,
                            "this week's national Crop Progress report has no rows for it"});
    }
    std::string body = "Crop Progress for " + std::string(state.name) + "\n";
    if (!released.empty())
        body += released + "\n";
    body += "\n" + tables;
    return ForecastPage(WithoutHttpPrefix(body),
                        "Source: USDA National Agricultural Statistics Service, "
                        "Crop Progress (usda.library.cornell.edu)");
}

} // namespace cirrolux::livereports
