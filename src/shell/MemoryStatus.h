#pragma once

#include <cstdint>
#include <string_view>

namespace cirrolux {

// Physical memory of the machine, in bytes.
struct MemoryStatus
{
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;

    // Percentage of free memory: free ÷ (total ÷ 100), whole numbers; 0 when the total is unknown.
    int freePercent() const;
};

// The figures of a /proc/meminfo text. On Linux "MemAvailable" (what programs can still get)
// counts as free; "MemFree" only where the kernel gives no "MemAvailable". Missing or unreadable
// lines give 0.
MemoryStatus MemoryStatusFromMeminfo(std::string_view meminfo);

// The machine's memory now (/proc/meminfo on Linux, the system's memory status on Windows).
MemoryStatus CurrentMemoryStatus();

} // namespace cirrolux
