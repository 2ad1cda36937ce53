#pragma once

#include "httpserver/HttpReply.h"
#include "httpserver/RequestHeadBuffer.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

class QTcpSocket;

namespace cirrolux::gateway {

// How long a connection may take and how much it may hold.
struct ConnectionLimits
{
    // A client that has not sent its whole request head by then is dropped.
    int headTimeoutMs = 30 * 1000;
    // A client that has not taken the whole reply this long after it was ready is dropped.
    int writeTimeoutMs = 30 * 1000;
    // The longest request head; a longer one is refused.
    qsizetype maxHead = 64 * 1024;
};

// One client connection of the gateway: reads the request head, hands it on, and sends the
// reply whenever it is ready (a live page may wait for NOAA), then closes. Deletes itself once
// the connection is closed; a reply that comes after the client left is dropped. What it holds is
// bounded: the head by maxHead (the socket buffers no more), the reply by its own size, and a
// client that stops reading is dropped at the write deadline.
class GatewayConnection : public QObject
{
    Q_OBJECT
public:
    using Send = std::function<void(const HttpReply&)>;
    // Receives the head's bytes and the function that sends the reply (call it once).
    using Handler = std::function<void(const QByteArray& head, Send send)>;

    // Takes ownership of `socket`.
    GatewayConnection(QTcpSocket* socket, Handler handler, std::function<QDateTime()> clock,
                      ConnectionLimits limits, QObject* parent);

    static constexpr QByteArrayView kServerName = "cirrolux-gateway";

signals:
    void closed();

private:
    void readAvailable();
    void answer(const QByteArray& head);
    void send(const HttpReply& reply);
    void drop();
    void onDisconnected();

    QTcpSocket* m_socket;
    Handler m_handler;
    std::function<QDateTime()> m_clock;
    ConnectionLimits m_limits;
    QTimer m_timer; // the head deadline, then the write deadline
    RequestHeadBuffer m_head;
    bool m_answered = false;
    bool m_closed = false;
    bool m_gone = false;
};

} // namespace cirrolux::gateway
