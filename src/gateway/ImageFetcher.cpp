#include "gateway/ImageFetcher.h"

#include "gateway/UpstreamProxy.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace cirrolux::gateway {

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
    ++m_started;
    BoundedGetLimits limits;
    limits.maxBody = kMaxBody;
    // A source may move its file within its own server; another host is another source, which
    // the table would have to name.
    const QString host = pending.url.host().toLower();
    limits.redirectAllowed = [host](const QUrl& target) { return target.host().toLower() == host; };
    const QUrl url = pending.url;
    const ImageValidators validators = pending.validators;
    BoundedGet(m_network, m_settings, url, validators, limits, this,
               [this, pending = std::move(pending), host](const ImageTransfer& result) {
                   if (const auto found = m_hosts.find(host); found != m_hosts.end())
                       --found->second.running;
                   if (pending.context)
                       pending.done(result);
                   startNext(host);
               });
}

} // namespace cirrolux::gateway
