#pragma once

// Shared checks of the live report fuzz targets: a page builder must take any bytes without a
// crash or a read out of bounds and give a page the program's extraction reads cleanly.
#include "forecast/ReportText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cirrolux::fuzzing {

inline void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

inline std::string_view bytes(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A forecast window page: never empty; the extraction keeps no "&" the input did not bring (the
// builders write no entity into text); a table-mode page holds no "http://" that would end the
// report early.
inline void checkForecastPage(std::string_view input, const std::string& page, bool tableMode)
{
    require(!page.empty());
    const std::string shown = StripReportHtml(page);
    require(!shown.empty());
    if (input.find('&') == std::string_view::npos)
        require(shown.find('&') == std::string::npos);
    if (tableMode)
        require(page.find("http://") == std::string::npos);
}

} // namespace cirrolux::fuzzing
