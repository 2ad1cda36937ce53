#pragma once

#include <string>
#include <string_view>

namespace cirrolux {

// How a place's weather behaves over the year and the day. Temperatures in degrees F.
struct Climate
{
    enum class SummerTime { None, UnitedStates, Europe };

    double latitude = 40.0;   // negative south of the equator (turns the seasons round)
    double meanF = 55.0;      // mean over the year
    double seasonalF = 20.0;  // warmest month's mean minus the yearly mean
    double diurnalF = 10.0;   // afternoon high minus the daily mean
    double humidity = 65.0;   // typical relative humidity in percent; also how wet it is
    int utcOffsetMinutes = 0; // standard time
    std::string zone = "GMT"; // zone abbreviation of standard time
    SummerTime summerTime = SummerTime::None;
    std::string summerZone;      // zone abbreviation in summer time
    double solarNoonShift = 0.0; // minutes between 12:00 standard time and the sun's noon
};

// One place the conditions service has pages for.
struct Place
{
    enum class Kind { UsCity, Zip, Station };

    Kind kind = Kind::UsCity;
    std::string key;        // what the readings are drawn from: "US/MA/Boston", "zip/02134", ...
    std::string title;      // page title: "Boston, Massachusetts", "Sao Paulo, Brazil"
    std::string observed;   // where the observation was made: "Boston, MA", "Sao Paulo (83780)"
    std::string breadcrumb; // the region shown in the page's navigation: "Massachusetts"
    Climate climate;
};

// A US city or zip code area named as the conditions service names it: titled with the state's
// name ("Boston, Massachusetts"), observed at the city and state code ("Boston, MA").
Place usPlaceNamed(Place::Kind kind, std::string key, const std::string& city,
                   std::string_view stateName, std::string_view stateCode);

} // namespace cirrolux
