#include "ScriptedServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace cirrolux::test {

struct ScriptedServer::Connection
{
    QTcpSocket* socket = nullptr;
    QByteArray received;
    std::size_t script = 0;
    std::size_t next = 0;
    bool started = false;
    bool waiting = false;
    bool closed = false;
};

ScriptedServer::Script ScriptedServer::reply(const QByteArray& statusLine,
                                             const QList<QByteArray>& headerLines,
                                             const QByteArray& body)
{
    QByteArray bytes = statusLine + "\r\n";
    for (const QByteArray& line : headerLines)
        bytes += line + "\r\n";
    bytes += "\r\n" + body;
    return {send(bytes), close()};
}

ScriptedServer::ScriptedServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedServer::accept);
    m_server.listen(QHostAddress::LocalHost, 0);
}

ScriptedServer::~ScriptedServer()
{
    for (auto& c : m_connections) {
        if (c->socket) {
            c->socket->disconnect(this);
            c->socket->abort();
        }
    }
}

void ScriptedServer::release()
{
    for (auto& c : m_connections) {
        if (c->waiting) {
            c->waiting = false;
            run(*c);
        }
    }
}

void ScriptedServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        auto connection = std::make_unique<Connection>();
        connection->socket = socket;
        connection->script = m_connections.size();
        Connection* c = connection.get();
        m_connections.push_back(std::move(connection));
        connect(socket, &QIODevice::readyRead, this, [this, c] { readRequest(*c); });
        connect(socket, &QAbstractSocket::disconnected, this, [this, c] {
            if (!c->closed) {
                c->closed = true;
                ++m_closedByClient;
                Q_EMIT clientClosed();
            }
        });
        readRequest(*c);
    }
}

void ScriptedServer::readRequest(Connection& c)
{
    c.received += c.socket->readAll();
    if (c.started)
        return;
    const qsizetype end = c.received.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    m_requests.push_back(c.received.left(end + 4));
    c.started = true;
    run(c);
}

void ScriptedServer::run(Connection& c)
{
    if (m_scripts.empty())
        return;
    const Script& script = m_scripts[std::min(c.script, m_scripts.size() - 1)];
    while (c.next < script.size() && !c.closed) {
        const Step& step = script[c.next++];
        switch (step.kind) {
        case Step::Kind::Send:
            c.socket->write(step.data);
            break;
        case Step::Kind::Delay:
            QTimer::singleShot(step.ms, c.socket, [this, &c] { run(c); });
            return;
        case Step::Kind::WaitRelease:
            c.waiting = true;
            return;
        case Step::Kind::Close:
            c.closed = true;
            c.socket->disconnectFromHost();
            return;
        }
    }
}

} // namespace cirrolux::test
