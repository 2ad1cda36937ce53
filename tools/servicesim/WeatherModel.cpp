#include "WeatherModel.h"

#include "StableHash.h"

#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace cirrolux::servicesim {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kSynodicMonth = 29.530588853;

// The kind of weather that holds over a few hours; the sky text is drawn from it.
enum class Regime {
    Clear,
    Partly,
    Scattered,
    Mostly,
    Cloudy,
    Overcast,
    Haze,
    Fog,
    Mist,
    Drizzle,
    Rain,
    Thunder,
    Snow,
    Other,
};

constexpr std::array<const char*, 16> kDirections{"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                                  "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};

constexpr std::array<const char*, 12> kMonths{"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

QDate nthSunday(int year, int month, int n)
{
    QDate day(year, month, 1);
    day = day.addDays((7 - day.dayOfWeek()) % 7);
    return day.addDays(7 * (n - 1));
}

QDate lastSunday(int year, int month)
{
    QDate day(year, month, QDate(year, month, 1).daysInMonth());
    return day.addDays(-(day.dayOfWeek() % 7));
}

QDateTime utcAt(QDate date, int hour, int minute)
{
    return QDateTime(date, QTime(hour, minute), QTimeZone::utc());
}

bool inSummerTime(const Climate& climate, const QDateTime& utc)
{
    switch (climate.summerTime) {
    case Climate::SummerTime::None:
        return false;
    case Climate::SummerTime::UnitedStates: {
        // From 2:00 standard time on the second Sunday of March to 2:00 summer time (1:00
        // standard) on the first Sunday of November, both in local time.
        const QDateTime standard = utc.addSecs(climate.utcOffsetMinutes * 60);
        const int year = standard.date().year();
        return standard >= utcAt(nthSunday(year, 3, 2), 2, 0) &&
               standard < utcAt(nthSunday(year, 11, 1), 1, 0);
    }
    case Climate::SummerTime::Europe: {
        const int year = utc.date().year();
        return utc >= utcAt(lastSunday(year, 3), 1, 0) && utc < utcAt(lastSunday(year, 10), 1, 0);
    }
    }
    return false;
}

std::string clockText(int minutesOfDay, const std::string& zone)
{
    const int minutes = ((minutesOfDay % 1440) + 1440) % 1440;
    const int hour = minutes / 60;
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d %s ", hour12, minutes % 60, hour < 12 ? "AM" : "PM");
    return text + zone;
}

Regime chooseRegime(const Climate& climate, double localHour, std::uint64_t key)
{
    const double wet = climate.humidity / 100.0;
    const bool night = localHour < 9.0 || localHour > 20.0;
    const std::array<std::pair<Regime, double>, 14> weights{{
        {Regime::Clear, 24.0 * (1.4 - wet)},
        {Regime::Partly, 11.0},
        {Regime::Scattered, 9.0},
        {Regime::Mostly, 9.0},
        {Regime::Cloudy, 5.0},
        {Regime::Overcast, 10.0 * wet},
        {Regime::Haze, 1.0 + 4.0 * (1.2 - wet)},
        {Regime::Fog, (night ? 6.0 : 1.5) * wet},
        {Regime::Mist, 4.0 * wet},
        {Regime::Drizzle, 4.0 * wet},
        {Regime::Rain, 10.0 * wet},
        {Regime::Thunder, 5.0 * wet},
        {Regime::Snow, 1.0},
        {Regime::Other, 2.5},
    }};
    double total = 0.0;
    for (const auto& [regime, weight] : weights)
        total += weight;
    double pick = unitFraction(key) * total;
    for (const auto& [regime, weight] : weights) {
        if (pick < weight)
            return regime;
        pick -= weight;
    }
    return Regime::Clear;
}

// Cold turns rain to snow; thunder needs warm air.
Regime settle(Regime regime, double temperatureF)
{
    if (regime == Regime::Snow && temperatureF > 36.0)
        return Regime::Rain;
    if ((regime == Regime::Rain || regime == Regime::Thunder) && temperatureF <= 34.0)
        return Regime::Snow;
    if (regime == Regime::Thunder && temperatureF < 60.0)
        return Regime::Rain;
    return regime;
}

bool damped(Regime regime)
{
    switch (regime) {
    case Regime::Cloudy:
    case Regime::Overcast:
    case Regime::Fog:
    case Regime::Mist:
    case Regime::Drizzle:
    case Regime::Rain:
    case Regime::Snow:
        return true;
    default:
        return false;
    }
}

template <std::size_t N>
std::string pickText(const std::array<const char*, N>& texts, std::uint64_t key)
{
    return texts[mixHash(key, 0x5C7) % N];
}

std::string skyText(Regime regime, double temperatureF, bool sunUp, std::uint64_t key)
{
    switch (regime) {
    case Regime::Clear:
        return sunUp && (mixHash(key, 3) & 1) != 0 ? "Sunny" : "Clear";
    case Regime::Partly:
        return "Partly Cloudy";
    case Regime::Scattered:
        return "Scattered Clouds";
    case Regime::Mostly:
        return "Mostly Cloudy";
    case Regime::Cloudy:
        return "Cloudy";
    case Regime::Overcast:
        return "Overcast";
    case Regime::Haze:
        return "Haze";
    case Regime::Fog:
        return pickText(std::array{"Fog", "Patches of Fog", "Shallow Fog"}, key);
    case Regime::Mist:
        return "Mist";
    case Regime::Drizzle:
        if (temperatureF <= 32.0)
            return "Light Freezing Drizzle";
        return pickText(std::array{"Light Drizzle", "Drizzle"}, key);
    case Regime::Rain:
        return pickText(std::array{"Light Rain", "Rain", "Heavy Rain", "Light Rain Showers"}, key);
    case Regime::Thunder:
        return pickText(
            std::array{"Thunderstorm", "Thunderstorms and Rain", "Light Thunderstorms and Rain"},
            key);
    case Regime::Snow:
        return pickText(std::array{"Light Snow", "Snow", "Heavy Snow", "Light Snow Showers"}, key);
    case Regime::Other:
        if (temperatureF <= 34.0)
            return "Ice Pellets";
        return pickText(std::array{"Smoke", "Widespread Dust", "Squalls"}, key);
    }
    return "Clear";
}

struct Range
{
    double low;
    double high;
};

Range windRange(Regime regime)
{
    switch (regime) {
    case Regime::Clear:
        return {0, 12};
    case Regime::Haze:
        return {0, 8};
    case Regime::Fog:
    case Regime::Mist:
        return {0, 6};
    case Regime::Drizzle:
        return {3, 12};
    case Regime::Rain:
        return {5, 20};
    case Regime::Thunder:
        return {10, 28};
    case Regime::Snow:
        return {4, 22};
    case Regime::Other:
        return {5, 25};
    default:
        return {2, 16};
    }
}

Range visibilityRange(Regime regime)
{
    switch (regime) {
    case Regime::Fog:
        return {0.1, 0.6};
    case Regime::Mist:
        return {1.0, 4.0};
    case Regime::Haze:
        return {2.0, 6.0};
    case Regime::Drizzle:
        return {3.0, 7.0};
    case Regime::Rain:
        return {2.0, 9.0};
    case Regime::Thunder:
        return {2.0, 7.0};
    case Regime::Snow:
        return {0.3, 4.0};
    case Regime::Other:
        return {1.0, 5.0};
    default:
        return {10.0, 10.0};
    }
}

std::string cloudText(Regime regime, std::uint64_t key)
{
    const int base = static_cast<int>(spread(key, 8, 120)) * 100;
    const int low = static_cast<int>(spread(key, 2, 25)) * 100;
    switch (regime) {
    case Regime::Clear:
        return "Clear";
    case Regime::Partly:
        return "Few " + std::to_string(base) + " ft";
    case Regime::Scattered:
        return "Scattered " + std::to_string(base) + " ft";
    case Regime::Mostly:
    case Regime::Thunder:
        return "Broken " + std::to_string(base / 2) + " ft";
    case Regime::Fog:
        return "Overcast 200 ft";
    case Regime::Haze:
    case Regime::Other:
        return "Few " + std::to_string(base) + " ft";
    default:
        return "Overcast " + std::to_string(low) + " ft";
    }
}

std::string moonPhaseName(double age)
{
    constexpr std::array<const char*, 8> names{
        "New Moon",  "Waxing Crescent", "First Quarter", "Waxing Gibbous",
        "Full Moon", "Waning Gibbous",  "Last Quarter",  "Waning Crescent"};
    const int index = static_cast<int>(std::floor(age / kSynodicMonth * 8.0 + 0.5)) % 8;
    return names[index];
}

} // namespace

QDateTime WeatherModel::observationTime(const QDateTime& now)
{
    const QDateTime utc = now.toUTC();
    QDateTime at = utcAt(utc.date(), utc.time().hour(), 51);
    if (utc.time().minute() < 51)
        at = at.addSecs(-3600);
    return at;
}

int WeatherModel::localOffsetMinutes(const Climate& climate, const QDateTime& utc)
{
    return climate.utcOffsetMinutes + (inSummerTime(climate, utc.toUTC()) ? 60 : 0);
}

double WeatherModel::heatIndex(double t, double rh)
{
    return -42.379 + 2.04901523 * t + 10.14333127 * rh - 0.22475541 * t * rh - 0.00683783 * t * t -
           0.05481717 * rh * rh + 0.00122874 * t * t * rh + 0.00085282 * t * rh * rh -
           0.00000199 * t * t * rh * rh;
}

double WeatherModel::windChill(double t, double v)
{
    const double p = std::pow(v, 0.16);
    return 35.74 + 0.6215 * t - 35.75 * p + 0.4275 * t * p;
}

Observation WeatherModel::observe(const Place& place, const QDateTime& now)
{
    const Climate& climate = place.climate;
    Observation obs;
    obs.observedUtc = observationTime(now);

    const bool summer = inSummerTime(climate, obs.observedUtc);
    const std::string& zone = summer ? climate.summerZone : climate.zone;
    const int offset = climate.utcOffsetMinutes + (summer ? 60 : 0);
    const QDateTime local = obs.observedUtc.addSecs(offset * 60);
    const QDate localDate = local.date();
    const double localHour = local.time().hour() + local.time().minute() / 60.0;

    const std::uint64_t seed = stableHash(place.key);
    const std::int64_t hourIndex = obs.observedUtc.toSecsSinceEpoch() / 3600;
    const std::uint64_t hourKey = mixHash(seed, static_cast<std::uint64_t>(hourIndex));
    const std::uint64_t blockKey =
        mixHash(seed ^ 0xB10CB10Cull, static_cast<std::uint64_t>(floorDiv(hourIndex, 3)));
    const std::int64_t dayIndex = localDate.toJulianDay();

    obs.time = clockText(local.time().hour() * 60 + local.time().minute(), zone);
    obs.date = std::string(kMonths[localDate.month() - 1]) + " " + std::to_string(localDate.day()) +
               ", " + std::to_string(localDate.year());

    // Sun: its declination and the place's latitude give the day's length.
    const double declination =
        23.44 * std::sin(kTwoPi * (284 + localDate.dayOfYear()) / 365.0) * std::numbers::pi / 180;
    const double cosHourAngle =
        -std::tan(climate.latitude * std::numbers::pi / 180) * std::tan(declination);
    const double solarNoon = 720.0 + climate.solarNoonShift + (summer ? 60.0 : 0.0);
    bool sunUp = false;
    int sunriseMinute = static_cast<int>(solarNoon) - 360;
    if (cosHourAngle >= 1.0) {
        obs.sunrise = obs.sunset = "-"; // polar night
    } else if (cosHourAngle <= -1.0) {
        obs.sunrise = obs.sunset = "-"; // midnight sun
        sunUp = true;
    } else {
        const double halfDay = std::acos(cosHourAngle) * 180 / std::numbers::pi / 15.0 * 60.0;
        sunriseMinute = static_cast<int>(std::lround(solarNoon - halfDay));
        const int sunsetMinute = static_cast<int>(std::lround(solarNoon + halfDay));
        obs.sunrise = clockText(sunriseMinute, zone);
        obs.sunset = clockText(sunsetMinute, zone);
        const double minuteOfDay = localHour * 60.0;
        sunUp = minuteOfDay >= sunriseMinute && minuteOfDay < sunsetMinute;
    }

    // Temperature: the year's course, the day's course and a drifting day-to-day anomaly.
    const double hemisphere = climate.latitude < 0 ? -1.0 : 1.0;
    const double seasonal =
        -hemisphere * climate.seasonalF * std::cos(kTwoPi * (localDate.dayOfYear() - 18) / 365.25);
    const double dayShape = std::cos(kTwoPi * (localHour - 15.0) / 24.0);
    const double anomalyToday =
        spread(mixHash(seed ^ 0xDA7ull, static_cast<std::uint64_t>(dayIndex)), -9.0, 9.0);
    const double anomalyTomorrow =
        spread(mixHash(seed ^ 0xDA7ull, static_cast<std::uint64_t>(dayIndex + 1)), -9.0, 9.0);
    const double anomaly = anomalyToday + (anomalyTomorrow - anomalyToday) * localHour / 24.0;
    const double base = climate.meanF + seasonal + anomaly + spread(mixHash(hourKey, 1), -1.5, 1.5);

    Regime regime = chooseRegime(climate, localHour, blockKey);
    const double diurnal = climate.diurnalF * dayShape * (damped(regime) ? 0.5 : 1.0);
    const double temperature = base + diurnal;
    regime = settle(regime, temperature);
    obs.temperatureF = static_cast<int>(std::lround(temperature));
    obs.temperatureC = static_cast<int>(std::lround((obs.temperatureF - 32) * 5.0 / 9.0));
    obs.sky = skyText(regime, temperature, sunUp, hourKey);

    // Humidity: lowest in the afternoon, high in rain and fog, low in haze and dust.
    double humidity = climate.humidity - 14.0 * dayShape + spread(mixHash(hourKey, 2), -8.0, 8.0);
    switch (regime) {
    case Regime::Fog:
        humidity = spread(mixHash(hourKey, 3), 95.0, 101.0);
        break;
    case Regime::Mist:
    case Regime::Drizzle:
    case Regime::Rain:
    case Regime::Thunder:
    case Regime::Snow:
        humidity = std::max(humidity, spread(mixHash(hourKey, 3), 82.0, 97.0));
        break;
    case Regime::Haze:
    case Regime::Other:
        humidity = std::min(humidity, spread(mixHash(hourKey, 3), 25.0, 55.0));
        break;
    default:
        break;
    }
    obs.humidity = std::clamp(static_cast<int>(std::lround(humidity)), 5, 100);
    {
        const double c = (obs.temperatureF - 32) * 5.0 / 9.0;
        const double gamma = std::log(obs.humidity / 100.0) + 17.62 * c / (243.12 + c);
        const double dewC = 243.12 * gamma / (17.62 - gamma);
        obs.dewPointC = static_cast<int>(std::lround(dewC));
        obs.dewPointF = static_cast<int>(std::lround(dewC * 9.0 / 5.0 + 32.0));
    }

    // Wind: a prevailing direction for the block, now and then a windy spell with gusts.
    const Range windSpan = windRange(regime);
    const bool windy = unitFraction(mixHash(blockKey, 4)) < 0.14;
    const double speed = spread(mixHash(hourKey, 4), windSpan.low, windSpan.high + 1.0) +
                         (windy ? spread(mixHash(hourKey, 5), 12.0, 22.0) : 0.0);
    obs.windMph = static_cast<int>(speed);
    if (obs.windMph < 3) {
        obs.windMph = 0;
        obs.wind = "Calm";
    } else {
        const int prevailing = static_cast<int>(mixHash(blockKey, 6) % kDirections.size());
        const int turn = static_cast<int>(mixHash(hourKey, 6) % 3) - 1;
        const char* direction = kDirections[(prevailing + turn + 16) % 16];
        const std::uint64_t style = mixHash(hourKey, 7);
        if (obs.windMph <= 6 && style % 4 == 0)
            direction = "Variable";
        obs.wind = std::string(direction) + " at " + std::to_string(obs.windMph) + " mph";
        if (windy && obs.windMph >= 15 && (style >> 8) % 2 == 0) {
            const int gust = obs.windMph + static_cast<int>(spread(mixHash(hourKey, 8), 8, 17));
            obs.wind += ", gusting to " + std::to_string(gust) + " mph";
        }
    }

    double pressure =
        30.0 + spread(mixHash(blockKey, 7), -0.25, 0.25) + spread(mixHash(hourKey, 9), -0.03, 0.03);
    if (regime == Regime::Clear)
        pressure += 0.15;
    else if (regime == Regime::Rain || regime == Regime::Thunder || regime == Regime::Snow)
        pressure -= 0.35;
    obs.pressureIn = std::round(pressure * 100.0) / 100.0;

    const Range visibilitySpan = visibilityRange(regime);
    obs.visibilityMiles =
        std::round(spread(mixHash(hourKey, 10), visibilitySpan.low, visibilitySpan.high) * 10.0) /
        10.0;
    if (obs.visibilityMiles <= 0.0 || obs.visibilityMiles > 10.0)
        obs.visibilityMiles = 10.0;
    obs.clouds = cloudText(regime, mixHash(blockKey, 11));

    // The page gives a heat index only in the heat, and not always; a wind chill in the cold.
    const double rowChoice = unitFraction(mixHash(hourKey, 12));
    if (obs.temperatureF <= 50 && obs.windMph >= 3)
        obs.windChillF = static_cast<int>(std::lround(windChill(obs.temperatureF, obs.windMph)));
    if (obs.temperatureF >= 80) {
        if (rowChoice < 0.6) {
            obs.heatIndexRow = Observation::HeatIndexRow::Value;
            obs.heatIndexF =
                static_cast<int>(std::lround(heatIndex(obs.temperatureF, obs.humidity)));
        } else {
            obs.heatIndexRow = rowChoice < 0.8 ? Observation::HeatIndexRow::Empty
                                               : Observation::HeatIndexRow::Missing;
        }
    } else if (!obs.windChillF) {
        obs.heatIndexRow =
            rowChoice < 0.5 ? Observation::HeatIndexRow::Empty : Observation::HeatIndexRow::Missing;
    }

    // Moon: its age since a known new moon gives the phase and, roughly, its rise and set.
    const QDateTime knownNewMoon = utcAt(QDate(2000, 1, 6), 18, 14);
    const double days = knownNewMoon.secsTo(obs.observedUtc) / 86400.0;
    const double age = std::fmod(std::fmod(days, kSynodicMonth) + kSynodicMonth, kSynodicMonth);
    obs.moonPhase = moonPhaseName(age);
    obs.moonIlluminated =
        static_cast<int>(std::lround(50.0 * (1.0 - std::cos(kTwoPi * age / kSynodicMonth))));
    const int moonRise =
        sunriseMinute + static_cast<int>(std::lround(age / kSynodicMonth * 1440.0));
    obs.moonRise = clockText(moonRise, zone);
    obs.moonSet = clockText(moonRise + 745, zone);
    return obs;
}

} // namespace cirrolux::servicesim
