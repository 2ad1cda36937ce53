#pragma once

#include <array>
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

// The one shared field (its lattices take a moment to build).
const WeatherField& weatherField();

} // namespace cirrolux::servicesim
