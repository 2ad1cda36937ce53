#include "MoonEphemeris.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace cirrolux::moongen {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double KmPerAu = 149597870.7;

double Radians(double degrees)
{
    return degrees * Pi / 180.0;
}

double Degrees(double radians)
{
    return radians * 180.0 / Pi;
}

double Normalized(double degrees)
{
    double reduced = std::fmod(degrees, 360.0);
    return reduced < 0 ? reduced + 360.0 : reduced;
}

double Centuries(double jde)
{
    return (jde - 2451545.0) / 36525.0;
}

// One periodic term: multiples of D, M, M', F and the coefficient(s).
struct LongitudeDistanceTerm
{
    int d, m, mp, f;
    int sinLongitude; // 1e-6 degree
    int cosDistance;  // 1e-3 km
};

struct LatitudeTerm
{
    int d, m, mp, f;
    int sinLatitude; // 1e-6 degree
};

// Meeus table 47.A.
constexpr std::array<LongitudeDistanceTerm, 60> LongitudeDistanceTerms{{
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
}};

// Meeus table 47.B.
constexpr std::array<LatitudeTerm, 60> LatitudeTerms{{
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602},  {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},  {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},   {0, 0, 2, -1, 8822},   {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},    {2, 1, 0, -1, -3359},  {2, -1, -1, 1, 2463},  {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828},  {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},   {0, 1, -1, 1, -1565},  {1, 0, 0, 1, -1491},   {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},  {0, 1, 0, -1, -1344},  {1, 0, 0, -1, -1335},  {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},   {4, 0, -1, 1, 833},    {0, 0, 1, -3, 777},    {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607},    {2, 0, 2, -1, 596},    {2, -1, 1, -1, 491},   {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},    {2, 0, 2, 1, 422},     {2, 0, -3, -1, 421},   {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},    {4, 0, 0, 1, 331},     {2, -1, 1, 1, 315},    {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283},    {2, 1, 1, -1, -229},   {1, 1, 0, -1, 223},    {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},  {2, 1, -1, -1, -220},  {1, 0, 1, 1, -185},    {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177},    {4, 0, -2, -1, 176},   {4, -1, -1, -1, 166},  {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132},    {1, 0, -1, -1, -119},  {4, -1, 0, -1, 115},   {2, -2, 0, 1, 107},
}};

// Terms with the Sun's anomaly shrink with the Earth's decreasing eccentricity.
double EccentricityFactor(int m, double e)
{
    const int order = m < 0 ? -m : m;
    return order == 2 ? e * e : order == 1 ? e : 1.0;
}

} // namespace

double JulianDay(int year, int month, int day)
{
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int a = year / 100;
    const int b = 2 - a + a / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b -
           1524.5;
}

double DeltaTSeconds(double decimalYear)
{
    const double t = decimalYear - 2000.0;
    if (decimalYear < 2005.0) {
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
               0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
    }
    if (decimalYear < 2050.0)
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    const double u = (decimalYear - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - decimalYear);
}

MoonPosition MoonAt(double jde)
{
    const double t = Centuries(jde);
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;

    const double lp = Normalized(218.3164477 + 481267.88123421 * t - 0.0015786 * t2 +
                                 t3 / 538841.0 - t4 / 65194000.0);
    const double d = Normalized(297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868.0 -
                                t4 / 113065000.0);
    const double m = Normalized(357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000.0);
    const double mp = Normalized(134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699.0 -
                                 t4 / 14712000.0);
    const double f = Normalized(93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000.0 +
                                t4 / 863310000.0);
    const double a1 = Normalized(119.75 + 131.849 * t);
    const double a2 = Normalized(53.09 + 479264.290 * t);
    const double a3 = Normalized(313.45 + 481266.484 * t);
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;

    double sumL = 0;
    double sumR = 0;
    for (const auto& term : LongitudeDistanceTerms) {
        const double arg = Radians(term.d * d + term.m * m + term.mp * mp + term.f * f);
        const double factor = EccentricityFactor(term.m, e);
        sumL += term.sinLongitude * factor * std::sin(arg);
        sumR += term.cosDistance * factor * std::cos(arg);
    }
    double sumB = 0;
    for (const auto& term : LatitudeTerms) {
        const double arg = Radians(term.d * d + term.m * m + term.mp * mp + term.f * f);
        sumB += term.sinLatitude * EccentricityFactor(term.m, e) * std::sin(arg);
    }

    // Venus, Jupiter and the Earth's flattening.
    sumL += 3958 * std::sin(Radians(a1)) + 1962 * std::sin(Radians(lp - f)) +
            318 * std::sin(Radians(a2));
    sumB += -2235 * std::sin(Radians(lp)) + 382 * std::sin(Radians(a3)) +
            175 * std::sin(Radians(a1 - f)) + 175 * std::sin(Radians(a1 + f)) +
            127 * std::sin(Radians(lp - mp)) - 115 * std::sin(Radians(lp + mp));

    return {Normalized(lp + sumL / 1e6), sumB / 1e6, 385000.56 + sumR / 1000.0};
}

SunPosition SunAt(double jde)
{
    const double t = Centuries(jde);
    const double l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double m = Radians(357.52911 + 35999.05029 * t - 0.0001537 * t * t);
    const double e = 0.016708634 - 0.000042037 * t - 0.0000001267 * t * t;
    const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(m) +
                     (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double trueAnomaly = m + Radians(c);
    const double radiusAu = 1.000001018 * (1 - e * e) / (1 + e * std::cos(trueAnomaly));
    // 20.5" of annual aberration; nutation is left out of both bodies since it cancels.
    return {Normalized(l0 + c - 0.00569), radiusAu * KmPerAu};
}

double PhaseAngle(double jde)
{
    const MoonPosition moon = MoonAt(jde);
    const SunPosition sun = SunAt(jde);
    const double cosElongation =
        std::cos(Radians(moon.latitude)) * std::cos(Radians(moon.longitude - sun.longitude));
    const double elongation = std::acos(std::clamp(cosElongation, -1.0, 1.0));
    return Degrees(std::atan2(sun.distanceKm * std::sin(elongation),
                              moon.distanceKm - sun.distanceKm * std::cos(elongation)));
}

double IlluminatedFraction(double jde)
{
    return (1.0 + std::cos(Radians(PhaseAngle(jde)))) / 2.0;
}

} // namespace cirrolux::moongen
