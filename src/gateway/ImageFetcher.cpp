#include "gateway/ImageFetcher.h"

#include "gateway/UpstreamProxy.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace cirrolux::gateway {

namespace {

constexpr const char* kStopReason = "cirroluxStopReason";
constexpr const char* kTimedOut = "cirroluxTimedOut";

void stop(QNetworkReply* reply, const QString& reason)
{
    if (reply->property(kStopReason).toString().isEmpty())
        reply->setProperty(kStopReason, reason);
    reply->abort();
}

} // namespace

ImageFetcher::ImageFetcher(UpstreamSettings settings, QObject* parent)
    : QObject(parent), m_settings(std::move(settings))
{
    m_network.setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
    m_network.setProxyFactory(new UpstreamProxy(m_settings));
}

ImageFetcher::~ImageFetcher()
{
    m_hosts.clear();
    for (QNetworkReply* reply : m_network.findChildren<QNetworkReply*>()) {
        reply->disconnect(this);
        reply->abort();
    }
}

void ImageFetcher::get(const QUrl& url, const ImageValidators& validators, QObject* context,
                       Done done)
{
    const QString host = url.host().toLower();
    m_hosts[host].waiting.push_back(Pending{url, validators, context, std::move(done)});
    startNext(host);
}

void ImageFetcher::startNext(const QString& host)
{
    const auto found = m_hosts.find(host);
    if (found == m_hosts.end())
        return;
    HostState& state = found->second;
    while (state.running < kPerHost && !state.waiting.empty()) {
        Pending pending = std::move(state.waiting.front());
        state.waiting.pop_front();
        if (!pending.context)
            continue;
        ++state.running;
        start(std::move(pending));
    }
    if (state.running == 0 && state.waiting.empty())
        m_hosts.erase(found);
}

void ImageFetcher::start(Pending pending)
{
    QNetworkRequest request(pending.url);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_settings.userAgent);
    if (!pending.validators.etag.isEmpty())
        request.setRawHeader("If-None-Match", pending.validators.etag);
    if (!pending.validators.lastModified.isEmpty())
        request.setRawHeader("If-Modified-Since", pending.validators.lastModified);
    QNetworkReply* reply = m_network.get(request);
    reply->setReadBufferSize(64 * 1024);
    ++m_started;

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [this, reply] {
        reply->setProperty(kTimedOut, true);
        stop(reply, QStringLiteral("no answer within %1 ms").arg(m_settings.timeout.count()));
    });
    deadline->start(static_cast<int>(m_settings.timeout.count()));

    // A source may move its file within its own server; another host is another source, which
    // the table would have to name.
    const QString host = pending.url.host().toLower();
    connect(reply, &QNetworkReply::redirected, reply, [reply, host](const QUrl& target) {
        if (target.host().toLower() == host)
            emit reply->redirectAllowed();
        else
            stop(reply, QStringLiteral("redirected to %1, which is not followed")
                            .arg(target.toString(QUrl::RemoveUserInfo)));
    });

    auto body = std::make_shared<QByteArray>();
    connect(reply, &QIODevice::readyRead, reply, [reply, body] {
        if (!reply->property(kStopReason).toString().isEmpty())
            return;
        *body += reply->read(kMaxBody + 1 - body->size());
        if (body->size() > kMaxBody) {
            body->clear();
            stop(reply, QStringLiteral("the file is larger than %1 bytes").arg(kMaxBody));
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, pending, body, host] {
        if (reply->property(kStopReason).toString().isEmpty() && reply->bytesAvailable() > 0)
            *body += reply->read(kMaxBody + 1 - body->size());
        reply->deleteLater();
        ImageTransfer result;
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QString stopReason = reply->property(kStopReason).toString();
        if (!stopReason.isEmpty()) {
            result.timedOut = reply->property(kTimedOut).toBool();
            result.error = stopReason;
        } else if (body->size() > kMaxBody) {
            result.error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxBody);
        } else if (result.status == 304) {
            // Qt reports no error for a 304 it did not answer from its own cache.
        } else if (reply->error() == QNetworkReply::NoError && result.status == 200) {
            result.body = *body;
            result.etag = reply->rawHeader("ETag");
            result.lastModified = reply->rawHeader("Last-Modified");
        } else {
            result.error = result.status != 0 ? QStringLiteral("HTTP status %1").arg(result.status)
                                              : reply->errorString();
        }
        if (const auto found = m_hosts.find(host); found != m_hosts.end())
            --found->second.running;
        if (pending.context)
            pending.done(result);
        startNext(host);
    });
}

} // namespace cirrolux::gateway
