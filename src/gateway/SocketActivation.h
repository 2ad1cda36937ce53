#pragma once

#include <QString>
#include <QtGlobal>

namespace cirrolux::gateway {

// The port the gateway listens on when neither systemd nor --port names one. Above Linux's
// ephemeral range (32768-60999), so no outgoing connection holds it, and in IANA's dynamic
// range, where no service is ever registered; 8080 and 8088 belong to many local servers.
inline constexpr quint16 kDefaultPort = 61088;

// The listening socket systemd (or systemd-socket-activate) hands over through LISTEN_FDS and
// LISTEN_PID (the sd_listen_fds protocol).
struct InheritedSocket
{
    enum class Kind {
        None,   // not socket-activated: the variables are absent or name another process
        Socket, // one listening TCP socket on a loopback address
        Error   // handed over, but not something the gateway may serve on
    };
    Kind kind = Kind::None;
    qintptr descriptor = -1;
    quint16 port = 0;
    QString error; // Error only: what is wrong, in words for the log
};

// Takes the socket handed over to this process and removes the variables from the environment
// (so nothing the gateway starts inherits them). Exactly one socket is accepted, and it must be
// a listening TCP socket bound to a loopback address; anything else is an Error.
InheritedSocket TakeInheritedSocket();

// The message for a failed listen on 127.0.0.1:`port`: a port another program holds says so and
// what to do; any other failure gives `errorString`.
QString ListenFailureMessage(quint16 port, const QString& errorString);

} // namespace cirrolux::gateway
