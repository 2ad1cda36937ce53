#pragma once

#include "EmulatorReply.h"
#include "PlaceDirectory.h"
#include "ServiceRouter.h"
#include "httpserver/HttpRequestHead.h"

#include <QDateTime>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cirrolux::servicesim {

// The service emulator: an HTTP/1.0 server on 127.0.0.1 that stands in for every outside
// service the program calls (see ServiceRouter for its sites and fault paths). The program
// reaches it as its proxy ("GET http://host/path HTTP/1.0"); plain "GET /path" requests are
// answered by their Host header. Each reply closes its connection.
//
// It runs on the thread that creates it, in that thread's event loop, so a test can drive a
// blocking client that keeps the loop turning. It records every request for assertions, and a
// test can put its own replies in front of the routed ones.
class ServiceEmulator : public QObject
{
    Q_OBJECT
public:
    explicit ServiceEmulator(QObject* parent = nullptr);
    ~ServiceEmulator() override;

    // Listens on 127.0.0.1:`port` (0: any free port). False, with errorString(), when that fails.
    bool listen(quint16 port = 0);
    quint16 port() const;
    QHostAddress address() const;
    QString errorString() const;
    // Stops listening and drops every open connection.
    void close();

    // The clock that dates replies and picks the observation hour; the system clock by default.
    void setNow(const QDateTime& now);
    void setClock(std::function<QDateTime()> clock);
    QDateTime now() const;

    // Content settings, passed on to the router.
    void setStationDirectory(StationDirectory directory);
    void setVersion(std::string version);
    void setRequiredAuthorization(std::optional<std::pair<std::string, std::string>> credentials);
    ServiceRouter& router() { return m_router; }

    // Answers the next request (whatever it asks for) with `reply`; queued replies are used in
    // order, one per request, before routing resumes.
    void queueReply(EmulatorReply reply);

    // Every request received, in order of arrival, including unreadable ones.
    const std::vector<HttpRequestHead>& requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    int openConnections() const { return m_openConnections; }

signals:
    // A request head arrived; it is requests()[index]. Emitted before the reply is sent.
    void requestReceived(int index);

private:
    void acceptConnections();
    EmulatorReply answer(const QByteArray& head);

    QTcpServer m_server;
    ServiceRouter m_router;
    std::function<QDateTime()> m_clock;
    std::deque<EmulatorReply> m_queued;
    std::vector<HttpRequestHead> m_requests;
    int m_openConnections = 0;
};

} // namespace cirrolux::servicesim
