#include "gateway/GatewayConnection.h"

#include <QPointer>
#include <QTcpSocket>

namespace cirrolux::gateway {

GatewayConnection::GatewayConnection(QTcpSocket* socket, Handler handler,
                                     std::function<QDateTime()> clock, ConnectionLimits limits,
                                     QObject* parent)
    : QObject(parent), m_socket(socket), m_handler(std::move(handler)), m_clock(std::move(clock)),
      m_limits(limits), m_head(limits.maxHead)
{
    m_socket->setParent(this);
    // The kernel holds what a client sends beyond this; nothing grows here.
    m_socket->setReadBufferSize(m_limits.maxHead);
    connect(m_socket, &QTcpSocket::readyRead, this, &GatewayConnection::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &GatewayConnection::onDisconnected);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &GatewayConnection::drop);
    m_timer.start(m_limits.headTimeoutMs);
    if (m_socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &GatewayConnection::readAvailable);
}

void GatewayConnection::readAvailable()
{
    if (m_answered) {
        m_socket->readAll(); // a request body is not read
        return;
    }
    const std::optional<QByteArray> head = m_head.feed(m_socket->readAll());
    if (!head)
        return;
    if (m_head.cut()) {
        m_answered = true;
        send(HttpReply::make(431, "text/plain",
                             "The request head is longer than the gateway accepts.\r\n"));
        return;
    }
    answer(*head);
}

void GatewayConnection::answer(const QByteArray& head)
{
    m_answered = true;
    m_timer.stop();
    QPointer<GatewayConnection> self(this);
    m_handler(head, [self](const HttpReply& reply) {
        if (self)
            self->send(reply);
    });
}

void GatewayConnection::send(const HttpReply& reply)
{
    if (m_closed)
        return;
    m_closed = true;
    m_socket->write(reply.head(m_clock(), kServerName));
    m_socket->write(reply.body);
    // disconnectFromHost() closes once everything is written; a client that does not read by
    // the deadline is cut off, and the reply's memory with it.
    m_timer.start(m_limits.writeTimeoutMs);
    m_socket->disconnectFromHost();
}

void GatewayConnection::drop()
{
    m_socket->abort();
    onDisconnected();
}

void GatewayConnection::onDisconnected()
{
    if (m_gone)
        return;
    m_gone = true;
    m_closed = true;
    m_timer.stop();
    emit closed();
    deleteLater();
}

} // namespace cirrolux::gateway
