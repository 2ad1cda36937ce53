#pragma once

#include <string>
#include <string_view>

namespace cirrolux::test {

// The page text as a reader of label offsets sees it: markup gone without a trace, the degree
// and non-breaking space entities turned into their characters, any other entity's "&" dropped,
// line ends and tabs turned into spaces. Deliberately written apart from the program's parser.
inline std::string cleanedPageText(std::string_view page)
{
    std::string out;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const char c = page[i];
        if (c == '<') {
            const std::size_t close = page.find('>', i);
            if (close == std::string_view::npos)
                break;
            i = close;
        } else if (page.substr(i, 6) == "&#176;") {
            out += '\xB0';
            i += 5;
        } else if (page.substr(i, 6) == "&nbsp;") {
            out += ' ';
            i += 5;
        } else if (c == '&') {
            continue;
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

// The cleaned text from one character before "Updated:", where the readings are cut from.
inline std::string observationText(std::string_view page)
{
    const std::size_t updated = page.find("Updated:");
    if (updated == std::string_view::npos || updated == 0)
        return {};
    return cleanedPageText(page.substr(updated - 1));
}

} // namespace cirrolux::test
