#include "ServiceEmulator.h"

#include "EmulatorConnection.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace cirrolux::servicesim {

namespace {

// Enough for a client that opens many connections at once without waiting for each.
constexpr int kListenBacklog = 512;

} // namespace

ServiceEmulator::ServiceEmulator(QObject* parent)
    : QObject(parent), m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
    m_server.setListenBacklogSize(kListenBacklog);
    m_server.setMaxPendingConnections(kListenBacklog);
    connect(&m_server, &QTcpServer::newConnection, this, &ServiceEmulator::acceptConnections);
}

ServiceEmulator::~ServiceEmulator()
{
    close();
}

bool ServiceEmulator::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

quint16 ServiceEmulator::port() const
{
    return m_server.serverPort();
}

QHostAddress ServiceEmulator::address() const
{
    return m_server.serverAddress();
}

QString ServiceEmulator::errorString() const
{
    return m_server.errorString();
}

void ServiceEmulator::close()
{
    m_server.close();
    // Connections are children; deleting them closes their sockets.
    for (EmulatorConnection* connection :
         findChildren<EmulatorConnection*>(Qt::FindDirectChildrenOnly)) {
        connection->disconnect(this);
        delete connection;
    }
    m_openConnections = 0;
}

void ServiceEmulator::setNow(const QDateTime& now)
{
    m_clock = [now] { return now; };
}

void ServiceEmulator::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QDateTime ServiceEmulator::now() const
{
    return m_clock();
}

void ServiceEmulator::setStationDirectory(StationDirectory directory)
{
    m_router.setStationDirectory(std::move(directory));
}

void ServiceEmulator::setVersion(std::string version)
{
    m_router.setVersion(std::move(version));
}

void ServiceEmulator::setRequiredAuthorization(
    std::optional<std::pair<std::string, std::string>> credentials)
{
    m_router.setRequiredAuthorization(std::move(credentials));
}

void ServiceEmulator::queueReply(EmulatorReply reply)
{
    m_queued.push_back(std::move(reply));
}

void ServiceEmulator::acceptConnections()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        auto* connection = new EmulatorConnection(
            socket, [this](const QByteArray& head) { return answer(head); },
            [this] { return m_clock(); }, this);
        ++m_openConnections;
        connect(connection, &EmulatorConnection::closed, this, [this] { --m_openConnections; });
    }
}

EmulatorReply ServiceEmulator::answer(const QByteArray& head)
{
    m_requests.push_back(HttpRequestHead::parse(head));
    emit requestReceived(static_cast<int>(m_requests.size() - 1));
    if (!m_queued.empty()) {
        EmulatorReply reply = std::move(m_queued.front());
        m_queued.pop_front();
        return reply;
    }
    return m_router.route(m_requests.back(), m_clock());
}

} // namespace cirrolux::servicesim
