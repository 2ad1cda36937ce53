#pragma once

namespace cirrolux::moongen {

// Geocentric positions after Meeus, Astronomical Algorithms (2nd ed.): the Sun from chapter 25
// (low accuracy, about 0.01 degree), the Moon from chapter 47 (the ELP-2000/82 terms of tables
// 47.A and 47.B, about 10" in longitude). Angles in degrees, referred to the mean equinox of date.

struct MoonPosition
{
    double longitude = 0;
    double latitude = 0;
    double distanceKm = 0;
};

struct SunPosition
{
    double longitude = 0; // including aberration
    double distanceKm = 0;
};

// Julian day of 0h UT of a Gregorian calendar date.
double JulianDay(int year, int month, int day);
// TT - UT in seconds for a decimal year (Espenak and Meeus polynomials, 1986-2150).
double DeltaTSeconds(double decimalYear);

MoonPosition MoonAt(double jde);
SunPosition SunAt(double jde);

// Geocentric phase angle i of the Moon (0 at full moon, 180 at new moon), in degrees.
double PhaseAngle(double jde);
// Lit fraction of the Moon's disc, k = (1 + cos i) / 2.
double IlluminatedFraction(double jde);

} // namespace cirrolux::moongen
