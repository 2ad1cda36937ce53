#include "gateway/UpstreamFetcher.h"

#include "gateway/UpstreamProxy.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace cirrolux::gateway {

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
    ++m_started;
    BoundedGetLimits limits;
    limits.maxBody = maxBody(pending.lane);
    limits.readBuffer = kReadBuffer;
    // Each redirect is checked against the configured bases before it is followed.
    limits.redirectAllowed = [this](const QUrl& target) { return withinBases(target); };
    const QUrl url = pending.url;
    const Validators validators = pending.validators;
    BoundedGet(m_network, m_settings, url, validators, limits, this,
               [this, pending = std::move(pending)](const UpstreamTransfer& transfer) {
                   finished(pending, transfer);
               });
}

void UpstreamFetcher::finished(const Pending& pending, const UpstreamTransfer& transfer)
{
    --m_lanes[index(pending.lane)].running;
    UpstreamResult result;
    result.status = transfer.status;
    result.timedOut = transfer.timedOut;
    if (transfer.ok()) {
        result.outcome = UpstreamResult::Outcome::Ok;
        result.body = transfer.body;
        result.etag = transfer.etag;
        result.lastModified = transfer.lastModified;
    } else if (transfer.notModified()) {
        result.outcome = UpstreamResult::Outcome::NotModified;
    } else if (!transfer.cutOff && (transfer.status == 404 || transfer.status == 410)) {
        result.outcome = UpstreamResult::Outcome::NotFound;
    } else {
        result.error = transfer.error;
    }
    if (pending.context)
        pending.done(result);
    startNext(pending.lane);
}

} // namespace cirrolux::gateway
