#pragma once

#include <cstdint>

namespace cirrolux::artgen {

// Small seeded generator (SplitMix64). The standard distributions differ between library
// implementations, so the conversions to ranges are done here to keep every picture identical
// from build to build.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [lo, hi).
    double uniform(double lo, double hi)
    {
        const double unit = static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
        return lo + (hi - lo) * unit;
    }

    // Uniform in [lo, hi] (both ends included).
    int between(int lo, int hi)
    {
        const auto span = static_cast<std::uint64_t>(hi - lo + 1);
        return lo + static_cast<int>(next() % span);
    }

private:
    std::uint64_t m_state;
};

} // namespace cirrolux::artgen
