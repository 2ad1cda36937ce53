#include "gateway/GatewayConnection.h"

#include <QPointer>
#include <QTcpSocket>

namespace cirrolux::gateway {

GatewayConnection::GatewayConnection(QTcpSocket* socket, Handler handler,
                                     std::function<QDateTime()> clock, QObject* parent)
    : QObject(parent), m_socket(socket), m_handler(std::move(handler)), m_clock(std::move(clock))
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &GatewayConnection::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &GatewayConnection::onDisconnected);
    m_headTimer.setSingleShot(true);
    connect(&m_headTimer, &QTimer::timeout, this, [this] {
        if (!m_answered) {
            m_socket->abort();
            onDisconnected();
        }
    });
    m_headTimer.start(kHeadTimeoutMs);
    if (m_socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &GatewayConnection::readAvailable);
}

void GatewayConnection::readAvailable()
{
    if (m_answered) {
        m_socket->readAll(); // a request body is not read
        return;
    }
    if (const std::optional<QByteArray> head = m_head.feed(m_socket->readAll()))
        answer(*head);
}

void GatewayConnection::answer(const QByteArray& head)
{
    m_answered = true;
    m_headTimer.stop();
    QPointer<GatewayConnection> self(this);
    m_handler(head, [self](const servicesim::EmulatorReply& reply) {
        if (self)
            self->send(reply);
    });
}

void GatewayConnection::send(const servicesim::EmulatorReply& reply)
{
    using Delivery = servicesim::EmulatorReply::Delivery;
    if (m_closed)
        return;
    m_closed = true;
    if (reply.delivery == Delivery::Raw) {
        m_socket->write(reply.raw);
    } else if (reply.delivery != Delivery::Silent) {
        // The emulator's misbehaving deliveries are for testing the program against the
        // emulator itself; through the gateway every reply is sent whole.
        servicesim::EmulatorReply whole = reply;
        if (whole.generatedLength >= 0) {
            whole.body = servicesim::EmulatorReply::generatedBytes(
                0, std::min<qint64>(whole.generatedLength, 64 * 1024 * 1024));
            whole.generatedLength = -1;
        }
        whole.delivery =
            reply.delivery == Delivery::NoLength ? Delivery::NoLength : Delivery::Whole;
        m_socket->write(whole.head(m_clock()));
        m_socket->write(whole.body);
    }
    m_socket->disconnectFromHost();
}

void GatewayConnection::onDisconnected()
{
    if (m_gone)
        return;
    m_gone = true;
    m_closed = true;
    emit closed();
    deleteLater();
}

} // namespace cirrolux::gateway
