#pragma once

#include "pagelayout/Observation.h"
#include "pagelayout/Place.h"

#include <QDateTime>

namespace cirrolux::servicesim {

// Draws a place's observation for a moment from its climate: season, time of day, and weather
// that changes every few hours. The same place and observation hour always give the same
// observation; no state is kept between calls.
class WeatherModel
{
public:
    // Stations report at 51 minutes past the hour: the latest such time at or before `now`.
    static QDateTime observationTime(const QDateTime& now);

    // The observation in force at `now` (any time zone; it is read as an instant).
    static Observation observe(const Place& place, const QDateTime& now);

    // Minutes to add to UTC for the place's local time at `utc`, summer time included.
    static int localOffsetMinutes(const Climate& climate, const QDateTime& utc);

    // The heat index regression of the US National Weather Service, degrees F.
    static double heatIndex(double temperatureF, double humidity);
    // The US National Weather Service wind chill (2001), degrees F.
    static double windChill(double temperatureF, double windMph);
};

} // namespace cirrolux::servicesim
