#include "gateway/UpstreamFetcher.h"

#include "gateway/UpstreamProxy.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace cirrolux::gateway {

namespace {

// Why a transfer was cut off by this side, kept on the reply until it finishes.
constexpr const char* kStopReason = "cirroluxStopReason";
constexpr const char* kTimedOut = "cirroluxTimedOut";

void stop(QNetworkReply* reply, const QString& reason)
{
    if (reply->property(kStopReason).toString().isEmpty())
        reply->setProperty(kStopReason, reason);
    reply->abort();
}

} // namespace

UpstreamFetcher::UpstreamFetcher(UpstreamSettings settings, QObject* parent)
    : QObject(parent), m_settings(std::move(settings))
{
    // Each redirect is checked against the configured bases before it is followed.
    m_network.setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
    // The gateway is the program's proxy; its own transfers take the upstream proxy of its
    // settings (the system's https_proxy) or none. The manager owns the factory.
    m_network.setProxyFactory(new UpstreamProxy(m_settings));
}

UpstreamFetcher::~UpstreamFetcher()
{
    for (LaneState& lane : m_lanes)
        lane.waiting.clear();
    for (QNetworkReply* reply : m_network.findChildren<QNetworkReply*>()) {
        reply->disconnect(this);
        reply->abort();
    }
}

void UpstreamFetcher::get(const QUrl& url, Lane lane, QObject* context, Done done,
                          Validators validators)
{
    m_lanes[index(lane)].waiting.push_back(
        Pending{url, lane, context, std::move(done), std::move(validators)});
    startNext(lane);
}

bool UpstreamFetcher::withinBases(const QUrl& url) const
{
    const QString address = url.toString();
    if (address.startsWith(m_settings.observationsBase) ||
        address.startsWith(m_settings.productsBase))
        return true;
    for (const QString& base : m_settings.reportBases) {
        if (address.startsWith(base))
            return true;
    }
    return false;
}

void UpstreamFetcher::startNext(Lane lane)
{
    LaneState& state = m_lanes[index(lane)];
    while (state.running < std::max(1, m_settings.maxParallel) && !state.waiting.empty()) {
        Pending pending = std::move(state.waiting.front());
        state.waiting.pop_front();
        if (!pending.context)
            continue; // nobody waits for it any more
        ++state.running;
        start(std::move(pending));
    }
}

void UpstreamFetcher::start(Pending pending)
{
    QNetworkRequest request(pending.url);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_settings.userAgent);
    if (!pending.validators.etag.isEmpty())
        request.setRawHeader("If-None-Match", pending.validators.etag);
    if (!pending.validators.lastModified.isEmpty())
        request.setRawHeader("If-Modified-Since", pending.validators.lastModified);
    const qint64 limit = maxBody(pending.lane);
    QNetworkReply* reply = m_network.get(request);
    reply->setReadBufferSize(kReadBuffer);
    ++m_started;

    // The deadline is for the whole transfer: an upstream that sends a byte now and then
    // must not hold a slot for ever.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [this, reply] {
        reply->setProperty(kTimedOut, true);
        stop(reply, QStringLiteral("no answer within %1 ms").arg(m_settings.timeout.count()));
    });
    deadline->start(static_cast<int>(m_settings.timeout.count()));

    connect(reply, &QNetworkReply::redirected, reply, [this, reply](const QUrl& target) {
        if (withinBases(target))
            emit reply->redirectAllowed();
        else
            stop(reply, QStringLiteral("redirected to %1, which is not followed")
                            .arg(target.toString(QUrl::RemoveUserInfo)));
    });

    // The body is taken as it arrives, so the limit holds whatever the framing (a chunked body
    // announces no length).
    auto body = std::make_shared<QByteArray>();
    connect(reply, &QIODevice::readyRead, reply, [reply, body, limit] {
        if (!reply->property(kStopReason).toString().isEmpty())
            return;
        *body += reply->read(limit + 1 - body->size());
        if (body->size() > limit) {
            body->clear();
            stop(reply, QStringLiteral("the file is larger than %1 bytes").arg(limit));
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, pending, body, limit] {
        if (reply->property(kStopReason).toString().isEmpty() && reply->bytesAvailable() > 0)
            *body += reply->read(limit + 1 - body->size());
        finished(reply, pending, *body);
    });
}

void UpstreamFetcher::finished(QNetworkReply* reply, const Pending& pending, const QByteArray& body)
{
    reply->deleteLater();
    --m_lanes[index(pending.lane)].running;
    UpstreamResult result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString stopReason = reply->property(kStopReason).toString();
    if (!stopReason.isEmpty()) {
        result.timedOut = reply->property(kTimedOut).toBool();
        result.error = stopReason;
    } else if (body.size() > maxBody(pending.lane)) {
        result.error =
            QStringLiteral("the file is larger than %1 bytes").arg(maxBody(pending.lane));
    } else if (result.status == 304) {
        result.outcome = UpstreamResult::Outcome::NotModified;
    } else if (error == QNetworkReply::NoError && result.status == 200) {
        result.body = body;
        result.outcome = UpstreamResult::Outcome::Ok;
        result.etag = reply->rawHeader("ETag");
        result.lastModified = reply->rawHeader("Last-Modified");
    } else if (result.status == 404 || result.status == 410) {
        result.outcome = UpstreamResult::Outcome::NotFound;
    } else {
        result.error = result.status != 0 ? QStringLiteral("HTTP status %1").arg(result.status)
                                          : reply->errorString();
    }
    if (pending.context)
        pending.done(result);
    startNext(pending.lane);
}

} // namespace cirrolux::gateway
