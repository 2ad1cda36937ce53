#include "gateway/BoundedGet.h"

#include <QNetworkAccessManager>
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

QString tooLarge(qint64 limit)
{
    return QStringLiteral("the file is larger than %1 bytes").arg(limit);
}

} // namespace

void BoundedGet(QNetworkAccessManager& network, const UpstreamSettings& settings, const QUrl& url,
                const Validators& validators, const BoundedGetLimits& limits, QObject* receiver,
                std::function<void(const UpstreamTransfer&)> done)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, settings.userAgent);
    if (!validators.etag.isEmpty())
        request.setRawHeader("If-None-Match", validators.etag);
    if (!validators.lastModified.isEmpty())
        request.setRawHeader("If-Modified-Since", validators.lastModified);
    QNetworkReply* reply = network.get(request);
    reply->setReadBufferSize(limits.readBuffer);

    const auto timeout = settings.timeout;
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply, timeout] {
        reply->setProperty(kTimedOut, true);
        stop(reply, QStringLiteral("no answer within %1 ms").arg(timeout.count()));
    });
    deadline->start(static_cast<int>(timeout.count()));

    QObject::connect(reply, &QNetworkReply::redirected, reply,
                     [reply, allowed = limits.redirectAllowed](const QUrl& target) {
                         if (allowed && allowed(target))
                             emit reply->redirectAllowed();
                         else
                             stop(reply, QStringLiteral("redirected to %1, which is not followed")
                                             .arg(target.toString(QUrl::RemoveUserInfo)));
                     });

    const qint64 limit = limits.maxBody;
    auto body = std::make_shared<QByteArray>();
    QObject::connect(reply, &QIODevice::readyRead, reply, [reply, body, limit] {
        if (!reply->property(kStopReason).toString().isEmpty())
            return;
        *body += reply->read(limit + 1 - body->size());
        if (body->size() > limit) {
            body->clear();
            stop(reply, tooLarge(limit));
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, receiver,
                     [reply, body, limit, done = std::move(done)] {
                         if (reply->property(kStopReason).toString().isEmpty() &&
                             reply->bytesAvailable() > 0)
                             *body += reply->read(limit + 1 - body->size());
                         reply->deleteLater();
                         UpstreamTransfer result;
                         result.status =
                             reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                         const QString stopReason = reply->property(kStopReason).toString();
                         if (!stopReason.isEmpty()) {
                             result.timedOut = reply->property(kTimedOut).toBool();
                             result.cutOff = true;
                             result.error = stopReason;
                         } else if (body->size() > limit) {
                             result.cutOff = true;
                             result.error = tooLarge(limit);
                         } else if (result.status == 304) {
                             // Qt reports no error for a 304 it did not answer from a cache.
                         } else if (reply->error() == QNetworkReply::NoError &&
                                    result.status == 200) {
                             result.body = *body;
                             result.etag = reply->rawHeader("ETag");
                             result.lastModified = reply->rawHeader("Last-Modified");
                         } else {
                             result.error = result.status != 0
                                                ? QStringLiteral("HTTP status %1").arg(result.status)
                                                : reply->errorString();
                         }
                         done(result);
                     });
}

} // namespace cirrolux::gateway
