#include "webwindow/CountryIndex.h"

namespace cirrolux {

namespace {

constexpr std::string_view LinkMarker = "<a href=";
constexpr std::size_t SkippedLead = 98;    // the scan starts at the page's 99th character
constexpr std::size_t CodeOffset = 9;      // after the marker and the opening quote
constexpr std::size_t NameSearchFrom = 30; // from the marker's start

bool isAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Text from `from` to the end; empty when `from` lies past the end.
std::string_view tail(std::string_view text, std::size_t from)
{
    return from < text.size() ? text.substr(from) : std::string_view();
}

} // namespace

bool IsCountryCode(std::string_view code)
{
    return code.size() == 2 && isAsciiAlnum(code[0]) && isAsciiAlnum(code[1]);
}

std::vector<std::string> ParseCountryIndex(std::string_view page)
{
    std::vector<std::string> entries;
    std::string_view rest = tail(page, SkippedLead);
    std::size_t marker = rest.find(LinkMarker);
    if (marker == std::string_view::npos || marker == 0)
        return entries;
    for (;;) {
        marker = rest.find(LinkMarker);
        if (marker == std::string_view::npos)
            break;
        const std::string_view code = tail(rest, marker + CodeOffset).substr(0, 2);
        rest = tail(rest, marker + NameSearchFrom);
        const std::size_t quote = rest.find("\">");
        const std::size_t close = rest.find("</a>");
        if (quote == std::string_view::npos || close == std::string_view::npos)
            break;
        const std::size_t nameStart = quote + 2;
        const std::string_view name =
            close > nameStart ? rest.substr(nameStart, close - nameStart) : std::string_view();
        if (IsCountryCode(code)) {
            std::string entry(code);
            entry += ',';
            entry += name;
            entries.push_back(std::move(entry));
        }
        if (marker == 0)
            break;
    }
    return entries;
}

} // namespace cirrolux
