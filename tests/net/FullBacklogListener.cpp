#include "FullBacklogListener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace cirrolux::test {

FullBacklogListener::FullBacklogListener()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 0) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    // Nobody accepts, so the queue fills with these and later handshakes are dropped.
    for (int i = 0; i < 3; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
        if (filler < 0)
            return;
        ::fcntl(filler, F_SETFL, ::fcntl(filler, F_GETFL) | O_NONBLOCK);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        m_fillers.push_back(filler);
    }
    // The first filler completing its handshake means the queue is taken.
    pollfd first{m_fillers.front(), POLLOUT, 0};
    m_ok = ::poll(&first, 1, 5000) == 1;
}

FullBacklogListener::~FullBacklogListener()
{
    for (const int filler : m_fillers)
        ::close(filler);
    if (m_listener >= 0)
        ::close(m_listener);
}

} // namespace cirrolux::test
