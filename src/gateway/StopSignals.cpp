#include "gateway/StopSignals.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace cirrolux::gateway {

namespace {

int g_writeEnd = -1;

void onSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    // Nothing else is safe in a signal handler; a full pipe only loses a repeated signal.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds) != 0)
        return;
    g_writeEnd = m_fds[0];
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

StopSignals::~StopSignals()
{
    if (m_fds[0] < 0)
        return;
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    g_writeEnd = -1;
    delete m_notifier;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void StopSignals::readSignal()
{
    unsigned char byte = 0;
    while (::read(m_fds[1], &byte, 1) == 1)
        emit stopRequested(byte);
}

} // namespace cirrolux::gateway
