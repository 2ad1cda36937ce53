#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cirrolux::gateway {

// One decoded METAR or SPECI report. Groups the report lacks, or gives as missing ("/////KT",
// "///"), are left unset.
struct Metar
{
    struct Wind
    {
        std::optional<int> directionDeg; // true degrees; unset for "VRB" and for calm
        double speedKt = 0;
        std::optional<double> gustKt;
        std::optional<int> variableFromDeg; // "280V350"
        std::optional<int> variableToDeg;

        bool variable() const { return !directionDeg && speedKt > 0; }
        bool calm() const { return speedKt == 0; }
    };

    enum class Cover { Few, Scattered, Broken, Overcast, VerticalVisibility };
    struct SkyLayer
    {
        Cover cover = Cover::Few;
        std::optional<int> heightFt; // above ground
        std::string cloudType;       // "CB", "TCU" or ""
    };

    struct Weather
    {
        std::string code; // as reported: "-SN", "VCTS", "+TSRA"
        std::string text; // in words: "Light Snow", "Thunderstorm in the Vicinity"
    };

    std::string station; // "KBOS"
    int day = 0;         // of the month, with hour and minute in UTC; 0 when not given
    int hour = 0;
    int minute = 0;
    bool automatic = false; // AUTO
    bool corrected = false; // COR
    bool missing = false;   // NIL: the report itself is missing

    std::optional<Wind> wind;
    std::optional<double> visibilityMetres; // 9999 and "P6SM" give their lower bound
    bool visibilityBelow = false;           // "M1/4SM": less than the value
    bool cavok = false;
    std::vector<Weather> weather;
    std::vector<SkyLayer> sky;
    bool skyClear = false; // CLR, SKC, NSC, NCD (or CAVOK)
    std::optional<double> temperatureC;
    std::optional<double> dewPointC;
    std::optional<double> altimeterInHg; // A3012
    std::optional<double> qnhHpa;        // Q1013

    // Relative humidity in percent (1..100) from temperature and dew point.
    std::optional<int> relativeHumidity() const;
    // The station pressure reduced to sea level, in inches of mercury, from either group.
    std::optional<double> pressureInHg() const;
    // The sky in the words of a conditions page: the first present weather ("Light Snow"), else
    // the cover ("Clear", "Partly Cloudy", "Scattered Clouds", "Mostly Cloudy", "Overcast");
    // "Unknown" when the report says neither.
    std::string skyText() const;
};

} // namespace cirrolux::gateway
