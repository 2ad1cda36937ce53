#include "gateway/UpstreamProxy.h"

#include <QHostAddress>
#include <QUrl>

namespace cirrolux::gateway {

UpstreamProxy::UpstreamProxy(const UpstreamSettings& settings)
    : m_proxy(QNetworkProxy::NoProxy), m_noProxy(settings.noProxy)
{
    if (!settings.proxy.isEmpty()) {
        if (std::optional<QNetworkProxy> proxy = parse(settings.proxy, nullptr))
            m_proxy = *proxy;
    }
}

QList<QNetworkProxy> UpstreamProxy::queryProxy(const QNetworkProxyQuery& query)
{
    if (m_proxy.type() == QNetworkProxy::NoProxy || bypasses(m_noProxy, query.peerHostName()))
        return {QNetworkProxy(QNetworkProxy::NoProxy)};
    return {m_proxy};
}

std::optional<QNetworkProxy> UpstreamProxy::parse(const QString& address, QString* error)
{
    const QString text = address.trimmed();
    const QUrl url =
        QUrl(text.contains(QStringLiteral("://")) ? text : QStringLiteral("http://") + text,
             QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    QNetworkProxy::ProxyType type = QNetworkProxy::HttpProxy;
    if (scheme == QStringLiteral("socks5") || scheme == QStringLiteral("socks5h"))
        type = QNetworkProxy::Socks5Proxy;
    else if (scheme != QStringLiteral("http"))
        type = QNetworkProxy::DefaultProxy; // marks an unknown scheme
    const auto fail = [&](const QString& why) -> std::optional<QNetworkProxy> {
        if (error)
            *error = QStringLiteral("the proxy \"%1\" %2").arg(text, why);
        return std::nullopt;
    };
    if (!url.isValid() || url.host().isEmpty())
        return fail(QStringLiteral("is not an address of the form http://host:port"));
    if (type == QNetworkProxy::DefaultProxy)
        return fail(QStringLiteral("is neither an http:// nor a socks5:// proxy"));
    if (url.port() <= 0)
        return fail(QStringLiteral("names no port (http://host:port)"));
    if (!url.path().isEmpty() && url.path() != QStringLiteral("/"))
        return fail(QStringLiteral("has a path; a proxy is only host and port"));
    return QNetworkProxy(type, url.host(), static_cast<quint16>(url.port()),
                         url.userName(QUrl::FullyDecoded), url.password(QUrl::FullyDecoded));
}

bool UpstreamProxy::bypasses(const QString& noProxy, const QString& host)
{
    const QString name = host.toLower();
    QHostAddress address;
    if (name == QStringLiteral("localhost") || (address.setAddress(name) && address.isLoopback()))
        return true;
    for (QString entry : noProxy.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        entry = entry.trimmed().toLower();
        if (entry == QStringLiteral("*"))
            return true;
        // "host:port" entries name the host; the port does not narrow it here.
        if (entry.count(QLatin1Char(':')) == 1)
            entry.truncate(entry.indexOf(QLatin1Char(':')));
        while (entry.startsWith(QLatin1Char('.')))
            entry.remove(0, 1);
        if (entry.isEmpty())
            continue;
        if (name == entry || name.endsWith(QLatin1Char('.') + entry))
            return true;
    }
    return false;
}

} // namespace cirrolux::gateway
