#include "gateway/SocketActivation.h"

#include <QHostAddress>
#include <QTcpServer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <systemd/sd-daemon.h>

#include <cstring>

namespace cirrolux::gateway {

namespace {

InheritedSocket failure(QString text)
{
    InheritedSocket socket;
    socket.kind = InheritedSocket::Kind::Error;
    socket.error = std::move(text);
    return socket;
}

} // namespace

InheritedSocket TakeInheritedSocket()
{
    // Checks LISTEN_PID against this process and LISTEN_FDS, marks the sockets close-on-exec and
    // unsets both variables.
    const int count = sd_listen_fds(1);
    if (count < 0)
        return failure(QStringLiteral("systemd's LISTEN_FDS cannot be used: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(-count))));
    if (count == 0)
        return {};
    if (count > 1)
        return failure(QStringLiteral("systemd handed over %1 sockets; the gateway serves "
                                      "exactly one (one ListenStream= in its socket unit)")
                           .arg(count));
    const int fd = SD_LISTEN_FDS_START;
    if (sd_is_socket_inet(fd, AF_UNSPEC, SOCK_STREAM, 1, 0) <= 0)
        return failure(
            QStringLiteral("the socket systemd handed over is not a listening TCP "
                           "socket (the socket unit needs ListenStream=127.0.0.1:PORT)"));

    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return failure(QStringLiteral("the socket systemd handed over has no address: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
    const QHostAddress host(reinterpret_cast<const sockaddr*>(&address));
    if (!host.isLoopback())
        return failure(QStringLiteral("the socket systemd handed over listens on %1, not on the "
                                      "loopback address; the gateway answers on 127.0.0.1 only")
                           .arg(host.toString()));
    InheritedSocket socket;
    socket.kind = InheritedSocket::Kind::Socket;
    socket.descriptor = fd;
    socket.port = address.ss_family == AF_INET6
                      ? ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port)
                      : ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
    return socket;
}

QString ListenFailureMessage(quint16 port, const QString& errorString)
{
    // A second try tells a port held by another program from other failures.
    QTcpServer probe;
    if (port != 0 && !probe.listen(QHostAddress::LocalHost, port) &&
        probe.serverError() == QAbstractSocket::AddressInUseError) {
        return QStringLiteral("port %1 on 127.0.0.1 is already in use by another program. Stop "
                              "that program, or start the gateway on a free port (--port N) and "
                              "enter that port as the proxy port in Cirrolux's General "
                              "Preferences.")
            .arg(port);
    }
    return QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(errorString);
}

} // namespace cirrolux::gateway
