// Feeds arbitrary bytes to the web page window's country list scan as the country index page.
// Every entry must be a usable code, a comma and a name, both cut from the page, and the list
// can hold no more entries than the page has links.
#include "webwindow/CountryIndex.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::size_t count(std::string_view text, std::string_view pattern)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + 1))
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const auto entries = cirrolux::ParseCountryIndex(page);
    require(entries.size() <= count(page, "<a href="));
    for (const std::string& entry : entries) {
        require(entry.size() >= 3 && entry[2] == ',');
        const std::string_view code = std::string_view(entry).substr(0, 2);
        const std::string_view name = std::string_view(entry).substr(3);
        require(cirrolux::IsCountryCode(code));
        require(page.find(code) != std::string_view::npos);
        // A name lies between "\">" and "</a>"; it is empty when the link's "</a>" comes first.
        require(name.find("</a>") == std::string_view::npos);
        require(name.empty() || page.find(std::string("\">").append(name).append("</a>")) !=
                                    std::string_view::npos);
    }
    return 0;
}
