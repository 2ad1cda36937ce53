#pragma once

#include "gateway/UpstreamSettings.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QObject;

namespace cirrolux::gateway {

// The validators of a copy held, sent as If-None-Match / If-Modified-Since.
struct Validators
{
    QByteArray etag;
    QByteArray lastModified;
};

// What an upstream server answered to one GET.
struct UpstreamTransfer
{
    int status = 0;  // HTTP status; 0 when none arrived
    QByteArray body; // 200 only
    QByteArray etag; // the validators of a 200, for the next conditional request
    QByteArray lastModified;
    QString error; // empty when a 200 or 304 arrived
    bool timedOut = false;
    // This side ended the transfer (deadline, size limit, a redirect not followed).
    bool cutOff = false;

    bool ok() const { return error.isEmpty() && status == 200; }
    bool notModified() const { return error.isEmpty() && status == 304; }
};

// One GET to an upstream server, bounded for a gateway that must never hang or grow: an
// identifying User-Agent, conditional headers, a deadline for the whole transfer (an upstream
// that sends a byte now and then must not hold a slot for ever), a body limit enforced while the
// body arrives (a chunked body announces no length), and each redirect followed only where
// `redirectAllowed` says. `done` runs once, in `receiver`'s thread, unless `receiver` is gone.
struct BoundedGetLimits
{
    qint64 maxBody = 0;
    qint64 readBuffer = 64 * 1024;
    std::function<bool(const QUrl&)> redirectAllowed;
};
void BoundedGet(QNetworkAccessManager& network, const UpstreamSettings& settings, const QUrl& url,
                const Validators& validators, const BoundedGetLimits& limits, QObject* receiver,
                std::function<void(const UpstreamTransfer&)> done);

} // namespace cirrolux::gateway
