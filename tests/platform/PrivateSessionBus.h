#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

#include <string>

namespace cirrolux::test {

// A session bus of the test's own: a dbus-daemon child that ends with this object (and with the
// test process, should it die first). Nothing of the user's session is touched.
class PrivateSessionBus
{
public:
    // `address` fixes where the bus listens ("unix:path=..."); empty: a place of its own.
    explicit PrivateSessionBus(const QString& address = {});
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when the bus runs; otherwise why it could not be started (for GTEST_SKIP).
    const std::string& failure() const { return m_failure; }
    const QString& address() const { return m_address; }
    // A new connection to the bus under `name`, closed when this object ends.
    QDBusConnection connect(const QString& name);

private:
    QProcess m_daemon;
    QString m_address;
    std::string m_failure;
    QStringList m_connections;
};

} // namespace cirrolux::test
