#pragma once

#include <array>
#include <random>
#include <string>
#include <vector>

namespace cirrolux::test {

// The writes of the durability test, the same in the writing child and in the test that checks
// what a killed child left behind: write i stores "<sequence>-<i>" under one of a few names,
// chosen at random from the sequence number.
struct SettingWrite
{
    std::string name;
    std::string value;
};

inline const std::array<const char*, 8>& WrittenNames()
{
    static const std::array<const char*, 8> names = {"Metric",    "AutoUpdate",  "StartupLoc",
                                                     "lbltrans",  "formbkgd",    "Proxy",
                                                     "ProxyPort", "Wallpaperloc"};
    return names;
}

inline std::vector<SettingWrite> WriteSequence(unsigned sequence, int count)
{
    std::mt19937 random(sequence);
    std::vector<SettingWrite> writes;
    writes.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const char* name = WrittenNames()[random() % WrittenNames().size()];
        writes.push_back({name, std::to_string(sequence) + "-" + std::to_string(i)});
    }
    return writes;
}

} // namespace cirrolux::test
