#include "SkyClock.h"

#include "MoonEphemeris.h"

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace cirrolux::gateway {

namespace {

constexpr double kPi = std::numbers::pi;

double radians(double degrees)
{
    return degrees * kPi / 180.0;
}

double degrees(double radians)
{
    return radians * 180.0 / kPi;
}

double normalized(double degrees)
{
    const double reduced = std::fmod(degrees, 360.0);
    return reduced < 0 ? reduced + 360.0 : reduced;
}

double julianDay(const QDateTime& utc)
{
    const QDateTime u = utc.toUTC();
    const QDate date = u.date();
    const double dayFraction = u.time().msecsSinceStartOfDay() / 86400000.0;
    return moongen::JulianDay(date.year(), date.month(), date.day()) + dayFraction;
}

double decimalYear(const QDateTime& utc)
{
    const QDate date = utc.toUTC().date();
    return date.year() + (date.dayOfYear() - 0.5) / date.daysInYear();
}

// NOAA's solar position: declination and equation of time for a Julian day (UT).
struct SolarTerms
{
    double declinationDeg;
    double equationOfTimeMin;
};

SolarTerms solarTerms(double jd)
{
    const double t = (jd - 2451545.0) / 36525.0;
    const double l0 = normalized(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double m = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double e = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double c = std::sin(radians(m)) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                     std::sin(radians(2 * m)) * (0.019993 - 0.000101 * t) +
                     std::sin(radians(3 * m)) * 0.000289;
    const double trueLongitude = l0 + c;
    const double omega = 125.04 - 1934.136 * t;
    const double apparentLongitude = trueLongitude - 0.00569 - 0.00478 * std::sin(radians(omega));
    const double meanObliquity =
        23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = meanObliquity + 0.00256 * std::cos(radians(omega));
    const double declination =
        degrees(std::asin(std::sin(radians(obliquity)) * std::sin(radians(apparentLongitude))));
    const double y = std::pow(std::tan(radians(obliquity / 2.0)), 2);
    const double eot = y * std::sin(2 * radians(l0)) - 2 * e * std::sin(radians(m)) +
                       4 * e * y * std::sin(radians(m)) * std::cos(2 * radians(l0)) -
                       0.5 * y * y * std::sin(4 * radians(l0)) -
                       1.25 * e * e * std::sin(2 * radians(m));
    return {declination, 4.0 * degrees(eot)};
}

// Mean sidereal time at Greenwich in degrees (Meeus 12.4).
double greenwichSiderealDeg(double jd)
{
    const double t = (jd - 2451545.0) / 36525.0;
    return normalized(280.46061837 + 360.98564736629 * (jd - 2451545.0) + 0.000387933 * t * t -
                      t * t * t / 38710000.0);
}

double altitudeDeg(double latitudeDeg, double declinationDeg, double hourAngleDeg)
{
    const double sinAltitude = std::sin(radians(latitudeDeg)) * std::sin(radians(declinationDeg)) +
                               std::cos(radians(latitudeDeg)) * std::cos(radians(declinationDeg)) *
                                   std::cos(radians(hourAngleDeg));
    return degrees(std::asin(std::clamp(sinAltitude, -1.0, 1.0)));
}

// Finds the horizon crossings of `height` (degrees above the event altitude) over the local day:
// ten-minute steps, then halving the bracket to a second.
SkyClock::Day crossings(const QDate& localDate, const QTimeZone& zone,
                        const std::function<double(const QDateTime&)>& height)
{
    const QDateTime start = QDateTime(localDate, QTime(0, 0), zone).toUTC();
    const QDateTime end = QDateTime(localDate.addDays(1), QTime(0, 0), zone).toUTC();
    const qint64 span = start.secsTo(end);
    constexpr qint64 kStep = 600;
    SkyClock::Day day;
    QDateTime before = start;
    double hBefore = height(before);
    for (qint64 at = kStep; at - kStep < span; at += kStep) {
        const QDateTime after = start.addSecs(std::min(at, span));
        const double hAfter = height(after);
        const bool rising = hBefore < 0 && hAfter >= 0;
        const bool setting = hBefore >= 0 && hAfter < 0;
        if ((rising && !day.rise) || (setting && !day.set)) {
            QDateTime low = before;
            QDateTime high = after;
            double hLow = hBefore;
            while (low.secsTo(high) > 1) {
                const QDateTime middle = low.addSecs(low.secsTo(high) / 2);
                const double hMiddle = height(middle);
                if ((hMiddle < 0) == (hLow < 0)) {
                    low = middle;
                    hLow = hMiddle;
                } else {
                    high = middle;
                }
            }
            (rising ? day.rise : day.set) = low.addSecs(low.secsTo(high) / 2);
        }
        before = after;
        hBefore = hAfter;
    }
    return day;
}

} // namespace

double SkyClock::sunAltitude(const QDateTime& utc, double latitudeDeg, double longitudeDeg)
{
    const double jd = julianDay(utc);
    const SolarTerms terms = solarTerms(jd);
    const QDateTime u = utc.toUTC();
    const double minutes = u.time().msecsSinceStartOfDay() / 60000.0;
    const double trueSolarTime = minutes + terms.equationOfTimeMin + 4.0 * longitudeDeg;
    const double hourAngle = trueSolarTime / 4.0 - 180.0;
    return altitudeDeg(latitudeDeg, terms.declinationDeg, hourAngle);
}

double SkyClock::moonAltitudeAboveH0(const QDateTime& utc, double latitudeDeg, double longitudeDeg)
{
    const double jd = julianDay(utc);
    const double jde = jd + moongen::DeltaTSeconds(decimalYear(utc)) / 86400.0;
    const moongen::MoonPosition moon = moongen::MoonAt(jde);
    const double t = (jde - 2451545.0) / 36525.0;
    const double obliquity =
        23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double lambda = radians(moon.longitude);
    const double beta = radians(moon.latitude);
    const double epsilon = radians(obliquity);
    const double rightAscension = degrees(
        std::atan2(std::sin(lambda) * std::cos(epsilon) - std::tan(beta) * std::sin(epsilon),
                   std::cos(lambda)));
    const double declination =
        degrees(std::asin(std::sin(beta) * std::cos(epsilon) +
                          std::cos(beta) * std::sin(epsilon) * std::sin(lambda)));
    const double hourAngle = greenwichSiderealDeg(jd) + longitudeDeg - rightAscension;
    const double parallax = degrees(std::asin(6378.14 / moon.distanceKm));
    const double h0 = 0.7275 * parallax - 0.5667;
    return altitudeDeg(latitudeDeg, declination, hourAngle) - h0;
}

SkyClock::Day SkyClock::sun(const QDate& localDate, const QTimeZone& zone, double latitudeDeg,
                            double longitudeDeg)
{
    return crossings(localDate, zone, [latitudeDeg, longitudeDeg](const QDateTime& at) {
        return sunAltitude(at, latitudeDeg, longitudeDeg) + 0.833;
    });
}

SkyClock::Day SkyClock::moon(const QDate& localDate, const QTimeZone& zone, double latitudeDeg,
                             double longitudeDeg)
{
    return crossings(localDate, zone, [latitudeDeg, longitudeDeg](const QDateTime& at) {
        return moonAltitudeAboveH0(at, latitudeDeg, longitudeDeg);
    });
}

SkyClock::MoonPhase SkyClock::moonPhase(const QDateTime& utc)
{
    const double jde = julianDay(utc) + moongen::DeltaTSeconds(decimalYear(utc)) / 86400.0;
    const double elongation =
        normalized(moongen::MoonAt(jde).longitude - moongen::SunAt(jde).longitude);
    static constexpr std::array<const char*, 8> names{
        "New Moon",  "Waxing Crescent", "First Quarter", "Waxing Gibbous",
        "Full Moon", "Waning Gibbous",  "Last Quarter",  "Waning Crescent"};
    // The four principal phases within a day or so of their instant (12 degrees of elongation),
    // the crescents and gibbous moons between them.
    std::size_t index = 0;
    if (elongation < 12.0 || elongation >= 348.0)
        index = 0;
    else if (std::abs(elongation - 90.0) < 12.0)
        index = 2;
    else if (std::abs(elongation - 180.0) < 12.0)
        index = 4;
    else if (std::abs(elongation - 270.0) < 12.0)
        index = 6;
    else
        index = 1 + 2 * static_cast<std::size_t>(elongation / 90.0);
    MoonPhase phase;
    phase.name = names[index];
    phase.illuminatedPercent =
        static_cast<int>(std::lround(100.0 * moongen::IlluminatedFraction(jde)));
    return phase;
}

} // namespace cirrolux::gateway
