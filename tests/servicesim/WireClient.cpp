#include "WireClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

namespace cirrolux::test {

bool WireClient::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds guard)
{
    QDeadlineTimer deadline(guard);
    // Bytes may have arrived while another client was waiting.
    drain();
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&m_socket, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
        QObject::connect(&m_socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
        QObject::connect(&m_socket, &QTcpSocket::connected, &loop, &QEventLoop::quit);
        tick.start(10);
        loop.exec();
        drain();
    }
    return done();
}

void WireClient::drain()
{
    if (m_socket.bytesAvailable() > 0) {
        m_received += m_socket.readAll();
        ++m_reads;
    }
}

bool WireClient::connectTo(quint16 port)
{
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    return waitUntil([this] { return m_socket.state() == QAbstractSocket::ConnectedState; },
                     kGuard);
}

void WireClient::send(const QByteArray& bytes)
{
    m_socket.write(bytes);
}

bool WireClient::waitForClose(std::chrono::milliseconds guard)
{
    return waitUntil([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                     guard);
}

bool WireClient::waitForBytes(qsizetype count, std::chrono::milliseconds guard)
{
    return waitUntil([this, count] { return m_received.size() >= count; }, guard);
}

bool WireClient::waitForText(const QByteArray& text, std::chrono::milliseconds guard)
{
    return waitUntil([this, &text] { return m_received.contains(text); }, guard);
}

void WireClient::sendSlowly(const QByteArray& bytes)
{
    for (const char c : bytes) {
        m_socket.write(&c, 1);
        m_socket.flush();
        idle(std::chrono::milliseconds(1));
    }
}

void WireClient::idle(std::chrono::milliseconds period)
{
    waitUntil([] { return false; }, period);
}

void WireClient::close()
{
    m_socket.abort();
}

QByteArray WireClient::exchange(quint16 port, const QByteArray& request)
{
    WireClient client;
    if (!client.connectTo(port))
        return {};
    client.send(request);
    client.waitForClose();
    return client.received();
}

QByteArray WireReply::header(QByteArrayView name) const
{
    for (const QByteArray& line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

WireReply WireReply::parse(const QByteArray& bytes)
{
    WireReply reply;
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    if (end < 0) {
        reply.body = bytes;
        return reply;
    }
    reply.head = bytes.left(end + 4);
    reply.body = bytes.mid(end + 4);
    const QList<QByteArray> words = reply.head.left(reply.head.indexOf('\r')).split(' ');
    bool ok = false;
    if (words.size() >= 2)
        reply.status = words[1].toInt(&ok);
    if (!ok)
        reply.status = -1;
    return reply;
}

} // namespace cirrolux::test
