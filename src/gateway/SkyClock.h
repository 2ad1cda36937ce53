#pragma once

#include <QDate>
#include <QDateTime>
#include <QTimeZone>

#include <optional>
#include <string>

namespace cirrolux::gateway {

// Sun and moon times for a place. Positions are geocentric: the Sun after NOAA's solar
// calculation (the equations of its sunrise/sunset spreadsheet), the Moon from the lunar theory
// the moon phase tables are built with.
class SkyClock
{
public:
    // A rise and a set within one local calendar day, as UTC instants; either is missing when
    // the body does not cross the horizon that day (polar day or night, or a moonrise that
    // falls on the next day).
    struct Day
    {
        std::optional<QDateTime> rise;
        std::optional<QDateTime> set;
    };

    struct MoonPhase
    {
        std::string name; // "New Moon", "Waxing Crescent", ..., "Waning Crescent"
        int illuminatedPercent = 0;
    };

    // The upper limb at the horizon with standard refraction: altitude -0.833 deg.
    static Day sun(const QDate& localDate, const QTimeZone& zone, double latitudeDeg,
                   double longitudeDeg);
    // The Moon's standard altitude h0 = 0.7275 * parallax - 0.5667 deg (about +0.125 deg):
    // parallax, semi-diameter and refraction together.
    static Day moon(const QDate& localDate, const QTimeZone& zone, double latitudeDeg,
                    double longitudeDeg);
    static MoonPhase moonPhase(const QDateTime& utc);

    // The Sun's altitude in degrees, geometric (no refraction).
    static double sunAltitude(const QDateTime& utc, double latitudeDeg, double longitudeDeg);
    // The Moon's geocentric altitude minus its standard altitude h0, in degrees.
    static double moonAltitudeAboveH0(const QDateTime& utc, double latitudeDeg,
                                      double longitudeDeg);
};

} // namespace cirrolux::gateway
