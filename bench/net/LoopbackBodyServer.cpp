#include "LoopbackBodyServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace cirrolux::bench {

LoopbackBodyServer::LoopbackBodyServer(std::size_t bodyBytes) : m_bodyBytes(bodyBytes)
{
    m_reply = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
              std::to_string(bodyBytes) + "\r\n\r\n";
    const std::size_t headerSize = m_reply.size();
    m_reply.resize(headerSize + bodyBytes);
    for (std::size_t i = 0; i < bodyBytes; ++i)
        m_reply[headerSize + i] = char('A' + i % 61);

    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

LoopbackBodyServer::~LoopbackBodyServer()
{
    m_stop = true;
    // Wakes the blocking accept.
    ::shutdown(m_listener, SHUT_RDWR);
    m_thread.join();
    ::close(m_listener);
}

std::string LoopbackBodyServer::url() const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + "/body.bin";
}

void LoopbackBodyServer::serve()
{
    while (!m_stop) {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = ::read(client, buffer, sizeof buffer);
            if (got <= 0)
                break;
            request.append(buffer, std::size_t(got));
        }
        std::size_t sent = 0;
        while (sent < m_reply.size()) {
            const ssize_t put =
                ::send(client, m_reply.data() + sent, m_reply.size() - sent, MSG_NOSIGNAL);
            if (put <= 0)
                break;
            sent += std::size_t(put);
        }
        ::close(client);
    }
}

} // namespace cirrolux::bench
