#pragma once

#include <string>

namespace cirrolux {

// The forecast window's own texts (the ones it shares with the main window live in
// SharedState: forecastMode, locationCity, locationState).
struct ForecastState
{
    std::string pageText;      // body of the last report transfer, then stripped
    std::string reportText;    // the part parse_text cut out of pageText
    std::string countyName;    // the county typed in editCounty, upper-cased
    std::string cropStateCode; // state picked in the list for "cw", else empty
    std::string savedFontName; // RichEdit1's font before the fixed font; empty when none
};

} // namespace cirrolux
