#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace cirrolux {

class SettingsStore;

// The live gateway installed with the program, started by its systemd socket on this port.
struct InstalledGateway
{
    int port = 0;
};

// The set-up of a first start: a user without any settings who has the live gateway installed
// gets the gateway as the proxy, stored like any other setting (so the preferences dialog shows
// it and a user behind another proxy can change it). A user who has settings keeps them.
class FirstStart
{
public:
    // The gateway installed under `prefix` (the folder holding the program's "bin"):
    // bin/cirrolux-gateway and its socket unit lib/systemd/user/cirrolux-gateway.socket, whose
    // loopback ListenStream= names the port. nullopt when either is missing or the unit names no
    // loopback port.
    static std::optional<InstalledGateway> findGateway(const QString& prefix);
    // The prefix the running program is installed under: the folder above its executable's.
    static QString programPrefix();
    // The port of the first loopback "ListenStream=" of a socket unit ("127.0.0.1:61088",
    // "[::1]:61088", "localhost:61088"); nullopt when there is none.
    static std::optional<int> listenPort(const QByteArray& unit);

    // True when the store holds no settings at all yet (its file does not exist).
    static bool isFirstStart(const SettingsStore& settings);
    // On a first start with a gateway: stores "ProxyUse" = "y", "Proxy" = "127.0.0.1" and
    // "ProxyPort" = its port, and returns true. Otherwise stores nothing and returns false.
    // Throws SettingsError as SettingsStore::write_setting.
    static bool setUp(SettingsStore& settings, const std::optional<InstalledGateway>& gateway);
};

} // namespace cirrolux
