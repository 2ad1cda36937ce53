#pragma once

#include "pagelayout/Observation.h"
#include "pagelayout/Place.h"

#include <string>
#include <string_view>

namespace cirrolux {

// Writes the conditions service's pages as HTML (8-bit text, lines ending in "\n").
//
// The program cuts its readings out of the page by label words and fixed offsets counted in the
// text left after markup is removed, so the layout here is exact: every reading is a table row
// "<tr><td>Label</td>\n<td>Value</td></tr>\n", which leaves the label, one space, the value and
// one space before the next label. The rows come in the order the readings are cut.
class ConditionsPageBuilder
{
public:
    // The current-conditions page of `place`.
    static std::string page(const Place& place, const Observation& observation);

    // The search page for a zip query that names no place (no conditions on it).
    static std::string searchPage(std::string_view query);

    // Value texts as they read once markup is removed.
    static std::string temperatureText(int fahrenheit, int celsius); // "72°F / 22°C"
    static std::string pressureText(double inches);                  // "30.12 in / 1020 hPa"
    static std::string visibilityText(double miles);                 // " 7.0 mi", "10.0 mi"
};

} // namespace cirrolux
