#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>

namespace cirrolux::test {

// An upstream on 127.0.0.1 that misbehaves in one way for every request, and counts what it
// sent: an endless chunked body as fast as the client takes it, one body byte every
// `trickleMs`, a redirect to `redirectTo`, or no answer at all.
class HostileUpstream
{
public:
    enum class Mode { EndlessChunked, Trickle, Redirect, Silent };

    explicit HostileUpstream(Mode mode) : m_mode(mode)
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    quint16 port() const { return m_server.serverPort(); }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1/data/").arg(port()); }
    void setRedirectTo(QByteArray address) { m_redirectTo = std::move(address); }
    void setTrickleMs(int ms) { m_trickleMs = ms; }

    int requests() const { return m_requests; }
    qint64 bytesSent() const { return m_bytesSent; }
    // Connections the client has closed (or reset).
    int closedByClient() const { return m_closedByClient; }

private:
    void serve(QTcpSocket* socket)
    {
        socket->setParent(&m_server);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            ++m_closedByClient;
            socket->deleteLater();
        });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            const QByteArray seen = socket->readAll();
            if (!seen.contains("\r\n\r\n") || socket->property("answered").toBool())
                return;
            socket->setProperty("answered", true);
            ++m_requests;
            answer(socket);
        });
    }

    void send(QTcpSocket* socket, const QByteArray& bytes)
    {
        if (socket->state() != QAbstractSocket::ConnectedState)
            return;
        socket->write(bytes);
        m_bytesSent += bytes.size();
    }

    void answer(QTcpSocket* socket)
    {
        switch (m_mode) {
        case Mode::Silent:
            return;
        case Mode::Redirect:
            send(socket, "HTTP/1.1 302 Found\r\nLocation: " + m_redirectTo +
                             "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        case Mode::EndlessChunked: {
            send(socket, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: "
                         "chunked\r\nConnection: close\r\n\r\n");
            const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, 'x') + "\r\n";
            // More whenever the socket has taken what was written; up to 1 GiB.
            auto more = [this, socket, chunk] {
                while (socket->bytesToWrite() < 4 * chunk.size() && m_bytesSent < (qint64(1) << 30))
                    send(socket, chunk);
            };
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
            more();
            return;
        }
        case Mode::Trickle: {
            send(socket, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                         "100000\r\nConnection: close\r\n\r\n");
            auto* timer = new QTimer(socket);
            QObject::connect(timer, &QTimer::timeout, socket,
                             [this, socket] { send(socket, "x"); });
            timer->start(m_trickleMs);
            return;
        }
        }
    }

    Mode m_mode;
    QTcpServer m_server;
    QByteArray m_redirectTo;
    int m_trickleMs = 100;
    int m_requests = 0;
    qint64 m_bytesSent = 0;
    int m_closedByClient = 0;
};

} // namespace cirrolux::test
