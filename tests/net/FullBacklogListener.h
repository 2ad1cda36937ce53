#pragma once

#include <cstdint>
#include <vector>

namespace cirrolux::test {

// A loopback port whose listen queue is full: a further connection attempt gets no answer at
// all, the way an unreachable server behaves, so connect time-outs can be tested on 127.0.0.1.
class FullBacklogListener
{
public:
    FullBacklogListener();
    ~FullBacklogListener();
    FullBacklogListener(const FullBacklogListener&) = delete;
    FullBacklogListener& operator=(const FullBacklogListener&) = delete;

    std::uint16_t port() const { return m_port; }
    bool ok() const { return m_ok; }

private:
    int m_listener = -1;
    std::vector<int> m_fillers;
    std::uint16_t m_port = 0;
    bool m_ok = false;
};

} // namespace cirrolux::test
