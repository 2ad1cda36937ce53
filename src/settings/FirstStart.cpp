#include "settings/FirstStart.h"

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <string>

namespace cirrolux {

std::optional<InstalledGateway> FirstStart::findGateway(const QString& prefix)
{
    const QDir root(prefix);
    const QFileInfo program(root.filePath(QStringLiteral("bin/cirrolux-gateway")));
    if (!program.isFile() || !program.isExecutable())
        return std::nullopt;
    QFile unit(root.filePath(QStringLiteral("lib/systemd/user/cirrolux-gateway.socket")));
    if (!unit.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A unit file is a few hundred bytes; a bounded read keeps a stray large file harmless.
    const std::optional<int> port = listenPort(unit.read(64 * 1024));
    if (!port)
        return std::nullopt;
    return InstalledGateway{*port};
}

QString FirstStart::programPrefix()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral(".."));
}

std::optional<int> FirstStart::listenPort(const QByteArray& unit)
{
    for (const QByteArray& rawLine : unit.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith("ListenStream="))
            continue;
        const QByteArray value = line.mid(qsizetype(sizeof "ListenStream=") - 1).trimmed();
        const qsizetype colon = value.lastIndexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray host = value.left(colon);
        if (host != "127.0.0.1" && host != "[::1]" && host != "localhost")
            continue;
        bool ok = false;
        const int port = value.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port <= 65535)
            return port;
    }
    return std::nullopt;
}

bool FirstStart::isFirstStart(const SettingsStore& settings)
{
#ifdef Q_OS_WIN
    // The registry store has no file to miss, and the gateway is not installed there.
    Q_UNUSED(settings);
    return false;
#else
    return !QFileInfo::exists(settings.location());
#endif
}

bool FirstStart::setUp(SettingsStore& settings, const std::optional<InstalledGateway>& gateway)
{
    if (!gateway || !isFirstStart(settings))
        return false;
    namespace names = SettingNames;
    settings.write_setting(names::Settings, names::Proxy, "127.0.0.1");
    settings.write_setting(names::Settings, names::ProxyPort, std::to_string(gateway->port));
    settings.write_setting(names::Settings, names::ProxyUse, "y");
    return true;
}

} // namespace cirrolux
