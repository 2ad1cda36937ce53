#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cirrolux::servicesim {

// Smooth noise in [0, 1) on a 256 x 256 lattice that repeats; the same seed gives the same field.
class ValueNoise
{
public:
    explicit ValueNoise(std::uint64_t seed);
    double at(double x, double y) const;
    // Octaves of ever finer noise added up, still in [0, 1).
    double fractal(double x, double y, int octaves) const;

private:
    std::array<float, 256 * 256> m_lattice;
};

// One thunderstorm or band of rain over the United States at a moment.
struct StormCell
{
    double lon;
    double lat;
    double radiusLon; // half axes in degrees
    double radiusLat;
    double strength; // 0..1
};

// The weather the emulator's pictures share, so the national radar, the state radars and the
// satellite pictures of one hour agree. Time is in hours since 1970 and may be fractional; storms
// are born, drift east and die smoothly, so consecutive frames of a loop follow on.
class WeatherField
{
public:
    WeatherField();

    std::vector<StormCell> storms(double hours) const;
    // Cloud cover 0..1 (1 is a cold, high top) at a place and time.
    double cloud(double lon, double lat, double hours) const;
    const ValueNoise& noise() const { return m_noise; }

private:
    ValueNoise m_noise;
    ValueNoise m_cloudNoise;
};

// A smooth field over a picture, sampled at every second pixel and filled in between: the
// cloud and outlook fields are costly and have no detail finer than that. `sample(x, y)` is
// called for pixel coordinates up to one grid step past the picture.
class HalfGrid
{
public:
    template <typename Sample>
    HalfGrid(int width, int height, Sample sample)
        : m_columns(width / 2 + 2), m_rows(height / 2 + 2),
          m_values(std::size_t(m_columns) * m_rows)
    {
        for (int gy = 0; gy < m_rows; ++gy)
            for (int gx = 0; gx < m_columns; ++gx)
                m_values[std::size_t(gy) * m_columns + gx] =
                    static_cast<float>(sample(gx * 2, gy * 2));
    }

    double at(int x, int y) const
    {
        const int gx = x / 2;
        const int gy = y / 2;
        const double tx = (x % 2) * 0.5;
        const double ty = (y % 2) * 0.5;
        const auto v = [this](int a, int b) {
            return double(m_values[std::size_t(b) * m_columns + a]);
        };
        const double top = v(gx, gy) + (v(gx + 1, gy) - v(gx, gy)) * tx;
        const double bottom = v(gx, gy + 1) + (v(gx + 1, gy + 1) - v(gx, gy + 1)) * tx;
        return top + (bottom - top) * ty;
    }

private:
    int m_columns;
    int m_rows;
    std::vector<float> m_values;
};

// The one shared field (its lattices take a moment to build).
const WeatherField& weatherField();

} // namespace cirrolux::servicesim
