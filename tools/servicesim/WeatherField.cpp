#include "WeatherField.h"

#include "drawing/GeoMap.h"
#include "StableHash.h"

#include <algorithm>
#include <cmath>

namespace cirrolux::servicesim {

using drawing::isLand;

namespace {

constexpr double kEpochHours = 6.0;

double smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

std::int64_t floorDiv(double value, double step)
{
    return static_cast<std::int64_t>(std::floor(value / step));
}

} // namespace

ValueNoise::ValueNoise(std::uint64_t seed)
{
    for (std::size_t i = 0; i < m_lattice.size(); ++i)
        m_lattice[i] = static_cast<float>(unitFraction(mixHash(seed, i)));
}

double ValueNoise::at(double x, double y) const
{
    // Truncation and a step down for negatives is a floor without the library call, which
    // matters here: the pictures sample the noise some fifty million times.
    auto ix = static_cast<std::int64_t>(x);
    auto iy = static_cast<std::int64_t>(y);
    ix -= x < static_cast<double>(ix) ? 1 : 0;
    iy -= y < static_cast<double>(iy) ? 1 : 0;
    const double tx = smooth(x - static_cast<double>(ix));
    const double ty = smooth(y - static_cast<double>(iy));
    const std::size_t x0 = static_cast<std::size_t>(ix & 255);
    const std::size_t y0 = static_cast<std::size_t>(iy & 255) * 256;
    const std::size_t x1 = (x0 + 1) & 255;
    const std::size_t y1 = (y0 + 256) & (255 * 256);
    const double a = m_lattice[y0 + x0];
    const double b = m_lattice[y0 + x1];
    const double c = m_lattice[y1 + x0];
    const double d = m_lattice[y1 + x1];
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double ValueNoise::fractal(double x, double y, int octaves) const
{
    double sum = 0;
    double weight = 0.5;
    double total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * at(x, y);
        total += weight;
        x = x * 2.03 + 17.1;
        y = y * 2.03 + 5.7;
        weight *= 0.5;
    }
    return sum / total;
}

WeatherField::WeatherField() : m_noise(0x52414441ull), m_cloudNoise(0x434C4F55ull) {}

std::vector<StormCell> WeatherField::storms(double hours) const
{
    std::vector<StormCell> cells;
    const std::int64_t epoch = floorDiv(hours, kEpochHours);
    for (std::int64_t e = epoch - 2; e <= epoch; ++e) {
        std::uint64_t key = mixHash(0x53544F52ull, static_cast<std::uint64_t>(e));
        const auto draw = [&key](double low, double high) {
            key = mixHash(key, 0x9E37ull);
            return spread(key, low, high);
        };
        const int count = static_cast<int>(draw(7, 15));
        for (int i = 0; i < count; ++i) {
            const double birth = e * kEpochHours + draw(0, kEpochHours);
            const double life = draw(4, 12);
            double lon = draw(-123, -70);
            double lat = draw(26, 48);
            // Storms start over land; a few tries find some.
            for (int attempt = 0; attempt < 4 && !isLand(lon, lat); ++attempt) {
                lon = draw(-123, -70);
                lat = draw(26, 48);
            }
            const double speedLon = draw(0.2, 1.1);
            const double speedLat = draw(-0.25, 0.35);
            const double rx = draw(0.5, 2.6);
            const double ry = rx * draw(0.45, 1.1);
            const double peak = draw(0.55, 1.0);
            const double age = hours - birth;
            if (age <= 0 || age >= life)
                continue;
            cells.push_back({lon + speedLon * age, lat + speedLat * age, rx, ry,
                             peak * std::sin(3.141592653589793 * age / life)});
        }
    }
    return cells;
}

double WeatherField::cloud(double lon, double lat, double hours) const
{
    const double drift = hours * 0.05;
    double c = m_cloudNoise.fractal(lon / 9.0 - drift, lat / 9.0, 5);
    const double tropics = std::exp(-std::pow((lat - 6.0) / 7.0, 2));
    const double desert = std::exp(-std::pow((std::abs(lat) - 24.0) / 8.0, 2));
    const double stormTrack = std::exp(-std::pow((std::abs(lat) - 50.0) / 12.0, 2));
    c += 0.22 * tropics - 0.18 * desert + 0.14 * stormTrack;
    return std::clamp((c - 0.42) * 2.2, 0.0, 1.0);
}

const WeatherField& weatherField()
{
    static const WeatherField field;
    return field;
}

} // namespace cirrolux::servicesim
