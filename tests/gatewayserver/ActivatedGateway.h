#pragma once

#include "WaitFor.h"

#include <QProcess>
#include <QStringList>
#include <QTcpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cirrolux::test {

// A socket as a socket unit makes it; closed with the test.
class Socket
{
public:
    Socket(int type, const char* address, bool listening)
    {
        m_fd = ::socket(AF_INET, type, 0);
        sockaddr_in in{};
        in.sin_family = AF_INET;
        ::inet_pton(AF_INET, address, &in.sin_addr);
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&in), sizeof in), 0);
        if (listening) {
            EXPECT_EQ(::listen(m_fd, 16), 0);
        }
        socklen_t length = sizeof in;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&in), &length);
        m_port = ntohs(in.sin_port);
    }
    ~Socket() { ::close(m_fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return m_fd; }
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

// The gateway with `sockets` handed over from descriptor 3 on. A shell sets LISTEN_PID to its
// own process number and execs the gateway, which keeps it; `forOtherProcess` names another
// process instead, as when the variables were inherited by mistake.
class ActivatedGateway
{
public:
    ActivatedGateway(std::vector<int> sockets, QStringList arguments, bool forOtherProcess = false)
    {
        const std::vector<int> fds = std::move(sockets);
        m_process.setChildProcessModifier([fds] {
            // Only async-signal-safe calls here: dup2 clears close-on-exec on the copy.
            for (std::size_t i = 0; i < fds.size(); ++i)
                ::dup2(fds[i], static_cast<int>(3 + i));
        });
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LISTEN_FDS"), QString::number(fds.size()));
        for (const char* name : {"https_proxy", "HTTPS_PROXY", "no_proxy", "NO_PROXY"})
            environment.remove(QString::fromLatin1(name));
        m_process.setProcessEnvironment(environment);
        const QString pid = forOtherProcess ? QStringLiteral("1") : QStringLiteral("$$");
        m_process.setProgram(QStringLiteral("/bin/sh"));
        m_process.setArguments(
            QStringList{QStringLiteral("-c"),
                        QStringLiteral("LISTEN_PID=%1 exec \"$0\" \"$@\"").arg(pid),
                        QStringLiteral(CIRROLUX_GATEWAY_EXE)} +
            arguments);
        m_process.start();
        EXPECT_TRUE(m_process.waitForStarted(5000));
    }
    ~ActivatedGateway()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Waits (turning the event loop) for the gateway to end; false when it is still running.
    bool waitForEnd(int ms)
    {
        return test::WaitFor([this] { return m_process.state() == QProcess::NotRunning; }, ms);
    }
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    std::string errors() { return m_process.readAllStandardError().toStdString(); }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

// The whole reply to one request on 127.0.0.1:`port`.
inline std::string Ask(quint16 port, const QByteArray& request)
{
    QTcpSocket client;
    client.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!client.waitForConnected(5000))
        return "no connection: " + client.errorString().toStdString();
    client.write(request);
    QByteArray reply;
    test::WaitFor(
        [&] {
            reply += client.readAll();
            return client.state() == QAbstractSocket::UnconnectedState;
        },
        20000);
    return (reply + client.readAll()).toStdString();
}

} // namespace cirrolux::test
