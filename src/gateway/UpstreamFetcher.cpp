#include "gateway/UpstreamFetcher.h"

#include "gateway/UpstreamProxy.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace cirrolux::gateway {

namespace {

constexpr const char* kTooLarge = "cirroluxTooLarge";

} // namespace

UpstreamFetcher::UpstreamFetcher(UpstreamSettings settings, QObject* parent)
    : QObject(parent), m_settings(std::move(settings))
{
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    // The gateway is the program's proxy; its own transfers take the upstream proxy of its
    // settings (the system's https_proxy) or none. The manager owns the factory.
    m_network.setProxyFactory(new UpstreamProxy(m_settings));
}

UpstreamFetcher::~UpstreamFetcher()
{
    m_waiting.clear();
    for (QNetworkReply* reply : m_network.findChildren<QNetworkReply*>()) {
        reply->disconnect(this);
        reply->abort();
    }
}

void UpstreamFetcher::get(const QUrl& url, QObject* context, Done done)
{
    m_waiting.push_back(Pending{url, context, std::move(done)});
    startNext();
}

void UpstreamFetcher::startNext()
{
    while (m_running < std::max(1, m_settings.maxParallel) && !m_waiting.empty()) {
        Pending pending = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (!pending.context)
            continue; // nobody waits for it any more
        QNetworkRequest request(pending.url);
        request.setHeader(QNetworkRequest::UserAgentHeader, m_settings.userAgent);
        request.setTransferTimeout(static_cast<int>(m_settings.timeout.count()));
        QNetworkReply* reply = m_network.get(request);
        ++m_running;
        ++m_started;
        connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
            if (received > kMaxBody) {
                reply->setProperty(kTooLarge, true);
                reply->abort();
            }
        });
        connect(reply, &QNetworkReply::finished, this,
                [this, reply, pending] { finished(reply, pending); });
    }
}

void UpstreamFetcher::finished(QNetworkReply* reply, const Pending& pending)
{
    reply->deleteLater();
    --m_running;
    UpstreamResult result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    if (reply->property(kTooLarge).toBool()) {
        result.error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxBody);
    } else if (error == QNetworkReply::NoError && result.status == 200) {
        result.body = reply->readAll();
        result.outcome = UpstreamResult::Outcome::Ok;
    } else if (result.status == 404 || result.status == 410) {
        result.outcome = UpstreamResult::Outcome::NotFound;
    } else {
        // Qt reports a transfer time-out as an operation cancelled by the timer.
        result.timedOut = error == QNetworkReply::OperationCanceledError;
        result.error =
            result.timedOut
                ? QStringLiteral("no answer within %1 ms").arg(m_settings.timeout.count())
            : result.status != 0 ? QStringLiteral("HTTP status %1").arg(result.status)
                                 : reply->errorString();
    }
    if (pending.context)
        pending.done(result);
    startNext();
}

} // namespace cirrolux::gateway
