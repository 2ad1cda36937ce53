#pragma once

#include "servicesim/EmulatorReply.h"
#include "servicesim/RequestHeadBuffer.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

class QTcpSocket;

namespace cirrolux::gateway {

// One client connection of the gateway: reads the request head, hands it on, and sends the
// reply whenever it is ready (a live page may wait for NOAA), then closes. Deletes itself once
// the connection is closed; a reply that comes after the client left is dropped.
class GatewayConnection : public QObject
{
    Q_OBJECT
public:
    using Send = std::function<void(const servicesim::EmulatorReply&)>;
    // Receives the head's bytes and the function that sends the reply (call it once).
    using Handler = std::function<void(const QByteArray& head, Send send)>;

    // Takes ownership of `socket`.
    GatewayConnection(QTcpSocket* socket, Handler handler, std::function<QDateTime()> clock,
                      QObject* parent);

    static constexpr qsizetype kMaxHead = 64 * 1024;
    // A client that has not sent its whole request head by then is disconnected.
    static constexpr int kHeadTimeoutMs = 30 * 1000;

signals:
    void closed();

private:
    void readAvailable();
    void answer(const QByteArray& head);
    void send(const servicesim::EmulatorReply& reply);
    void onDisconnected();

    QTcpSocket* m_socket;
    Handler m_handler;
    std::function<QDateTime()> m_clock;
    QTimer m_headTimer;
    servicesim::RequestHeadBuffer m_head{kMaxHead};
    bool m_answered = false;
    bool m_closed = false;
    bool m_gone = false;
};

} // namespace cirrolux::gateway
