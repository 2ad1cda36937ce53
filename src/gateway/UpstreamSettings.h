#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace cirrolux::gateway {

// Where the gateway fetches from, how long it waits, and how it names itself. Tests point the
// base addresses at a fake NOAA on 127.0.0.1.
struct UpstreamSettings
{
    // One file per station: "<base>KBOS.TXT"; ends in "/".
    QString observationsBase =
        QStringLiteral("https://tgftp.nws.noaa.gov/data/observations/metar/stations/");
    // Text products: "<base>forecasts/zone/ma/maz015.txt"; ends in "/".
    QString productsBase = QStringLiteral("https://tgftp.nws.noaa.gov/data/");
    // Where the reports beyond NOAA's products may be fetched (and redirected) from; each ends
    // in "/". Filled by the report sources (LiveReports.h).
    QStringList reportBases;
    std::chrono::milliseconds timeout = std::chrono::seconds(15);
    // Transfers at the same time; a state's products are many small files.
    int maxParallel = 6;
    QString userAgent = defaultUserAgent();
    // The proxy that NOAA's files are fetched through, "http://[user:password@]host:port" or
    // "socks5://host:port"; empty: direct. Loopback addresses and the hosts of `noProxy` are
    // always reached directly.
    QString proxy;
    // Host names (and their sub-domains) reached without the proxy, separated by commas, as in
    // no_proxy ("noaa.gov,.example.org"); "*" for every host.
    QString noProxy;

    static QString defaultUserAgent();
    // `base` with a trailing "/".
    static QString baseAddress(QString base);

    // The settings with CIRROLUX_GATEWAY_OBSERVATIONS, CIRROLUX_GATEWAY_PRODUCTS and
    // CIRROLUX_GATEWAY_TIMEOUT_MS from the environment applied over the defaults, and the
    // system's proxy: https_proxy (or HTTPS_PROXY) and no_proxy (or NO_PROXY).
    static UpstreamSettings fromEnvironment();
};

// The gateway's own version, also in its User-Agent.
QString GatewayVersion();

} // namespace cirrolux::gateway
