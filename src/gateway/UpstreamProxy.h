#pragma once

#include "gateway/UpstreamSettings.h"

#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QString>

#include <optional>

namespace cirrolux::gateway {

// Chooses the proxy of each upstream transfer from the gateway's settings: the configured proxy,
// except for loopback addresses and the hosts of the no-proxy list, which are reached directly.
// The gateway never uses Qt's own reading of the system's proxy, so what applies is exactly what
// its settings say. A proxy address parse() refuses counts as none (the gateway refuses it at
// start, before anything is fetched).
class UpstreamProxy : public QNetworkProxyFactory
{
public:
    explicit UpstreamProxy(const UpstreamSettings& settings);

    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override;

    // The proxy an address names: "http://[user:password@]host:port", "host:port" (taken as
    // http), or "socks5://host:port". nullopt, with the reason in `error`, for anything else.
    static std::optional<QNetworkProxy> parse(const QString& address, QString* error);
    // Whether `host` is reached directly under the no-proxy list `noProxy`.
    static bool bypasses(const QString& noProxy, const QString& host);

private:
    QNetworkProxy m_proxy; // NoProxy: every transfer goes direct
    QString m_noProxy;
};

} // namespace cirrolux::gateway
