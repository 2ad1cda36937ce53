// libFuzzer target for the web page window's page readers: the country index scan and the image
// tag removal. Both take any bytes; the checks below are what the window relies on.
#include "webwindow/CountryIndex.h"
#include "webwindow/ImageTags.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char*>(data), size);

    for (const std::string& entry : cirrolux::ParseCountryIndex(page)) {
        // Every entry is a usable code, a comma and a name cut from the page.
        if (entry.size() < 3 || entry[2] != ',' ||
            !cirrolux::IsCountryCode(std::string_view(entry).substr(0, 2)) ||
            entry.size() - 3 > page.size())
            std::abort();
    }

    const std::string stripped = cirrolux::StripImageTags(page);
    if (stripped.find("<img src") != std::string::npos || stripped.size() > page.size())
        std::abort();
    return 0;
}
