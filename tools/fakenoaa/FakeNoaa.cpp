#include "FakeNoaa.h"

#include "servicesim/EmulatorConnection.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTcpSocket>

namespace cirrolux::fakenoaa {

using servicesim::EmulatorReply;

namespace {

EmulatorReply notFound()
{
    return EmulatorReply::make(404, "text/html",
                               "<html><head><title>404 Not Found</title></head><body><h1>Not "
                               "Found</h1></body></html>\n");
}

QByteArray contentTypeOf(const QByteArray& path)
{
    const QByteArray lower = path.toLower();
    if (lower.endsWith(".gif"))
        return "image/gif";
    if (lower.endsWith(".png"))
        return "image/png";
    if (lower.endsWith(".jpg") || lower.endsWith(".jpeg"))
        return "image/jpeg";
    return "text/plain";
}

} // namespace

FakeNoaa::FakeNoaa(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            new servicesim::EmulatorConnection(
                socket, [this](const QByteArray& head) { return answer(head); },
                [] { return QDateTime::currentDateTimeUtc(); }, this);
        }
    });
}

FakeNoaa::~FakeNoaa()
{
    m_server.close();
    for (auto* connection :
         findChildren<servicesim::EmulatorConnection*>(Qt::FindDirectChildrenOnly))
        delete connection;
}

bool FakeNoaa::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

QString FakeNoaa::observationsBase() const
{
    return productsBase() + QStringLiteral("observations/metar/stations/");
}

QString FakeNoaa::productsBase() const
{
    return QStringLiteral("http://127.0.0.1:%1/data/").arg(port());
}

void FakeNoaa::setFile(const QByteArray& path, QByteArray body)
{
    m_removed.erase(path);
    m_files[path] = std::move(body);
}

void FakeNoaa::removeFile(const QByteArray& path)
{
    m_files.erase(path);
    m_removed.insert(path);
}

int FakeNoaa::hits(QByteArrayView path) const
{
    return static_cast<int>(std::count_if(m_requests.begin(), m_requests.end(),
                                          [&](const auto& r) { return r.path == path; }));
}

EmulatorReply FakeNoaa::answer(const QByteArray& head)
{
    m_requests.push_back(cirrolux::HttpRequestHead::parse(head));
    const cirrolux::HttpRequestHead request = m_requests.back();
    EmulatorReply reply = replyTo(request);
    emit answered(request.method, request.path,
                  reply.delivery == EmulatorReply::Delivery::Silent ? 0 : reply.status);
    return reply;
}

EmulatorReply FakeNoaa::replyTo(const cirrolux::HttpRequestHead& request) const
{
    if (m_silent) {
        EmulatorReply reply;
        reply.delivery = EmulatorReply::Delivery::Silent;
        return reply;
    }
    if (m_failing != 0)
        return EmulatorReply::make(m_failing, "text/html", "<html><body>failing</body></html>\n");
    if (m_removed.count(request.path) > 0)
        return notFound();
    if (const auto redirect = m_redirects.find(request.path); redirect != m_redirects.end()) {
        EmulatorReply reply = EmulatorReply::make(302, "text/html", "<html>moved</html>\n");
        reply.addHeader("Location", redirect->second);
        return reply;
    }
    const auto own = m_files.find(request.path);
    if (own != m_files.end()) {
        // A validator from the body, as a web server gives, so conditional requests get a 304
        // while the file is unchanged.
        const QByteArray etag =
            '"' + QCryptographicHash::hash(own->second, QCryptographicHash::Sha1).toHex().left(16) +
            '"';
        if (request.header("If-None-Match") == etag) {
            EmulatorReply reply = EmulatorReply::make(304, "text/plain", {});
            reply.addHeader("ETag", etag);
            return reply;
        }
        EmulatorReply reply = EmulatorReply::make(200, contentTypeOf(request.path), own->second);
        reply.addHeader("ETag", etag);
        return reply;
    }
    // Only plain relative paths reach the folder.
    const QString path = QString::fromLatin1(request.path);
    if (!m_root.isEmpty() && path.startsWith(QLatin1Char('/')) &&
        !path.contains(QStringLiteral("..")) && !path.contains(QLatin1Char('?'))) {
        QFile file(m_root + path);
        if (file.open(QIODevice::ReadOnly))
            return EmulatorReply::make(200, contentTypeOf(request.path), file.readAll());
    }
    return notFound();
}

} // namespace cirrolux::fakenoaa
