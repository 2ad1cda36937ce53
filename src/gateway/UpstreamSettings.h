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
    std::chrono::milliseconds timeout = std::chrono::seconds(15);
    // Transfers at the same time; a state's products are many small files.
    int maxParallel = 6;
    QString userAgent = defaultUserAgent();

    static QString defaultUserAgent();
    // `base` with a trailing "/".
    static QString baseAddress(QString base);

    // The settings with CIRROLUX_GATEWAY_OBSERVATIONS, CIRROLUX_GATEWAY_PRODUCTS and
    // CIRROLUX_GATEWAY_TIMEOUT_MS from the environment applied over the defaults.
    static UpstreamSettings fromEnvironment();
};

// The gateway's own version, also in its User-Agent.
QString GatewayVersion();

} // namespace cirrolux::gateway
