#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace cirrolux::bench {

// Serves one fixed HTTP/1.0 reply (Content-Length announced, then close) to every connection on
// 127.0.0.1, from its own thread with blocking sockets, so the client under measurement and curl
// meet exactly the same server.
class LoopbackBodyServer
{
public:
    explicit LoopbackBodyServer(std::size_t bodyBytes);
    ~LoopbackBodyServer();
    LoopbackBodyServer(const LoopbackBodyServer&) = delete;
    LoopbackBodyServer& operator=(const LoopbackBodyServer&) = delete;

    std::uint16_t port() const { return m_port; }
    std::size_t bodyBytes() const { return m_bodyBytes; }
    std::string url() const;

private:
    void serve();

    std::size_t m_bodyBytes;
    std::string m_reply;
    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace cirrolux::bench
