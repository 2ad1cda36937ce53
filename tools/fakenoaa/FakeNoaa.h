#pragma once

#include "httpserver/HttpRequestHead.h"
#include "servicesim/EmulatorReply.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <map>
#include <set>
#include <vector>

namespace cirrolux::fakenoaa {

// A stand-in for NOAA's file server (tgftp) on 127.0.0.1, plain HTTP: station observation files
// and zone text products from a folder laid out as on the real server ("data/observations/
// metar/stations/KBOS.TXT", "data/forecasts/zone/ma/maz015.txt"), files set by the test, and the
// ways the real one fails (a status, or no answer at all so the client times out).
class FakeNoaa : public QObject
{
    Q_OBJECT
public:
    explicit FakeNoaa(QObject* parent = nullptr);
    ~FakeNoaa() override;

    bool listen(quint16 port = 0);
    quint16 port() const { return m_server.serverPort(); }
    // The base addresses the gateway takes: ".../data/observations/metar/stations/", ".../data/".
    QString observationsBase() const;
    QString productsBase() const;

    // Serves the files under `root` by their path ("/data/..." is `root`/data/...).
    void serveFolder(const QString& root) { m_root = root; }
    // A file of its own at `path` (with an ETag; a request whose If-None-Match matches gets 304)
    // ("/data/observations/metar/stations/KBOS.TXT"), over the folder's.
    void setFile(const QByteArray& path, QByteArray body);
    // `path` answers "302 Found" pointing at `location` from now on.
    void setRedirect(const QByteArray& path, QByteArray location)
    {
        m_redirects[path] = std::move(location);
    }
    // `path` answers 404 from now on, as a station that stopped reporting.
    void removeFile(const QByteArray& path);
    // Every request is answered with `status` (0: served normally again).
    void setFailing(int status) { m_failing = status; }
    // No request is answered at all until the client gives up (true) or normally (false).
    void setSilent(bool silent) { m_silent = silent; }

    const std::vector<cirrolux::HttpRequestHead>& requests() const { return m_requests; }
    // Requests for `path` so far.
    int hits(QByteArrayView path) const;
    void clearRequests() { m_requests.clear(); }

signals:
    // Each request as it is answered: its method and path, and the status (0: no answer).
    void answered(const QByteArray& method, const QByteArray& path, int status);

private:
    servicesim::EmulatorReply answer(const QByteArray& head);
    servicesim::EmulatorReply replyTo(const cirrolux::HttpRequestHead& request) const;

    QTcpServer m_server;
    QString m_root;
    std::map<QByteArray, QByteArray> m_files;
    std::set<QByteArray> m_removed;
    std::map<QByteArray, QByteArray> m_redirects;
    std::vector<cirrolux::HttpRequestHead> m_requests;
    int m_failing = 0;
    bool m_silent = false;
};

} // namespace cirrolux::fakenoaa
