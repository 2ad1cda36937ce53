#include "gateway/UpstreamSettings.h"

#include <QtGlobal>

namespace cirrolux::gateway {

QString GatewayVersion()
{
    return QStringLiteral(CIRROLUX_GATEWAY_VERSION);
}

QString UpstreamSettings::baseAddress(QString base)
{
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

QString UpstreamSettings::defaultUserAgent()
{
    // NOAA asks automated clients to say who they are and how to reach them.
    return QStringLiteral("Cirrolux-gateway/") + GatewayVersion() +
           QStringLiteral(" (+https://www.cirrolux.net/; support@cirrolux.net)");
}

UpstreamSettings UpstreamSettings::fromEnvironment()
{
    UpstreamSettings settings;
    const QString observations = qEnvironmentVariable("CIRROLUX_GATEWAY_OBSERVATIONS");
    if (!observations.isEmpty())
        settings.observationsBase = baseAddress(observations);
    const QString products = qEnvironmentVariable("CIRROLUX_GATEWAY_PRODUCTS");
    if (!products.isEmpty())
        settings.productsBase = baseAddress(products);
    bool ok = false;
    const int timeoutMs = qEnvironmentVariableIntValue("CIRROLUX_GATEWAY_TIMEOUT_MS", &ok);
    if (ok && timeoutMs > 0)
        settings.timeout = std::chrono::milliseconds(timeoutMs);
    // NOAA's files are https addresses: the proxy for those, in either spelling tools use.
    for (const char* name : {"https_proxy", "HTTPS_PROXY"}) {
        settings.proxy = qEnvironmentVariable(name).trimmed();
        if (!settings.proxy.isEmpty())
            break;
    }
    settings.noProxy = qEnvironmentVariable("no_proxy").trimmed();
    if (settings.noProxy.isEmpty())
        settings.noProxy = qEnvironmentVariable("NO_PROXY").trimmed();
    return settings;
}

} // namespace cirrolux::gateway
