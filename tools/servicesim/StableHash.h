#pragma once

#include <cstdint>
#include <string_view>

namespace cirrolux::servicesim {

// FNV-1a over the bytes of `text`. Unlike std::hash it gives the same value on every run and
// every platform, which keeps the emulator's readings reproducible.
constexpr std::uint64_t stableHash(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// Combines two values into a well-spread one (the splitmix64 finaliser).
constexpr std::uint64_t mixHash(std::uint64_t a, std::uint64_t b)
{
    std::uint64_t z = a ^ (b + 0x9E3779B97F4A7C15ull + (a << 6) + (a >> 2));
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A number in [0, 1) drawn from `hash`.
constexpr double unitFraction(std::uint64_t hash)
{
    return static_cast<double>(mixHash(hash, 0x5DEECE66Dull) >> 11) * (1.0 / 9007199254740992.0);
}

// A number in [low, high) drawn from `hash`.
constexpr double spread(std::uint64_t hash, double low, double high)
{
    return low + (high - low) * unitFraction(hash);
}

} // namespace cirrolux::servicesim
