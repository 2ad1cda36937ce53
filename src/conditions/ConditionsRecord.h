#pragma once

#include <string>

namespace cirrolux {

// The readings of one conditions page as display texts ("n/a" for a reading the page lacks),
// in the order the parser produces them. Texts are 8-bit; the degree sign is '\xB0'.
struct ConditionsRecord
{
    std::string title;              // location name from the page title (kept in locationTitle)
    std::string updated;            // "Conditions at " + observation time (lblConditions)
    std::string temperature;        // lblTemp2
    int temperatureF = 999;         // whole degrees F, 999 = unknown
    std::string heatIndex = "n/a";  // lblHeatIndex2
    std::string humidity = "n/a";   // lblHumid2
    std::string wind = "n/a";       // lblWind2
    std::string pressure = "n/a";   // lblPress2
    std::string sky = "n/a";        // lblsky2
    int skyIcon = 0;                // tray picture index 0..12
    std::string visibility = "n/a"; // lblVisible2
    std::string sunrise = "n/a";    // lblSunrise2
    std::string sunset = "n/a";     // lblSunset2
    std::string moonRise = "n/a";   // lblMoonRise2
    std::string moonSet = "n/a";    // lblMoonSet2
    std::string windChill = "n/a";  // lblWindChill2
    std::string trayTip;            // sky + " && " + temperature; empty when the page has no sky
};

} // namespace cirrolux
