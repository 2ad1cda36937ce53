#include "WmoStations.h"

#include <algorithm>

namespace cirrolux::gateway {

namespace {

std::string_view field(std::string_view line, std::size_t index)
{
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            return {};
        line.remove_prefix(tab + 1);
    }
    return line.substr(0, line.find('\t'));
}

bool allOf(std::string_view text, std::size_t size, bool (*accept)(char))
{
    return text.size() == size && std::all_of(text.begin(), text.end(), accept);
}

} // namespace

std::vector<WmoStation> ReadWmoStations(std::string_view text)
{
    std::vector<WmoStation> rows;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::string_view number = field(line, 0);
        const std::string_view icao = field(line, 1);
        const std::string_view how = field(line, 2);
        if (!allOf(number, 5, [](char c) { return c >= '0' && c <= '9'; }) ||
            !allOf(icao, 4,
                   [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }))
            continue;
        const bool sameSite = how == "wmo" || how == "isd";
        if (!sameSite && how != "nearest" && how != "byname")
            continue;
        rows.push_back({std::string(number), std::string(icao), sameSite});
    }
    return rows;
}

} // namespace cirrolux::gateway
