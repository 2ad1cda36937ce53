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
        std::optional<int> heightFt; // above ground; unset for "OVC///"
        std::string cloudType;       // as reported: "CB", "TCU", "SC", "AC", ... or ""
    };

    // A visibility in statute miles as reported, kept as the exact fraction: "1 3/4SM" is 7/4.
    struct Miles
    {
        int numerator = 0;
        int denominator = 1;
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
    std::optional<Miles> visibilityMiles;   // set when the report gives statute miles
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
    // The station pressure reduced to sea level, in inches of mercury, from either group (the
    // A group when both are given).
    std::optional<double> pressureInHg() const;
    // The same in whole hectopascals: the Q group as reported, else converted from the A group.
    std::optional<int> pressureHpa() const;
    // The visibility in tenths of a statute mile, rounded half up with whole numbers, so that
    // "1 3/4SM" is 18 and "1/4SM" is 3.
    std::optional<int> visibilityTenthsOfMile() const;
    // The sky in the words of a conditions page: the first present weather ("Light Snow"), else
    // the cover ("Clear", "Partly Cloudy", "Scattered Clouds", "Mostly Cloudy", "Overcast");
    // "Unknown" when the report says neither.
    std::string skyText() const;
};

} // namespace cirrolux::gateway
