#include "PrivateSessionBus.h"

#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>

namespace cirrolux::test {

PrivateSessionBus::PrivateSessionBus(const QString& address)
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) {
        m_failure = "dbus-daemon is not installed (Debian package dbus-daemon)";
        return;
    }
    // The daemon goes when the test process goes, even when it crashes.
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    QStringList arguments{QStringLiteral("--session"), QStringLiteral("--nofork"),
                          QStringLiteral("--nopidfile"), QStringLiteral("--print-address")};
    if (!address.isEmpty())
        arguments << QStringLiteral("--address=") + address;
    m_daemon.start(daemon, arguments);
    if (!m_daemon.waitForStarted(10000)) {
        m_failure = "dbus-daemon did not start";
        return;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
    }
    m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty())
        m_failure = "dbus-daemon gave no address: " + m_daemon.readAllStandardError().toStdString();
}

PrivateSessionBus::~PrivateSessionBus()
{
    for (const QString& name : m_connections)
        QDBusConnection::disconnectFromBus(name);
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
}

QDBusConnection PrivateSessionBus::connect(const QString& name)
{
    m_connections << name;
    return QDBusConnection::connectToBus(m_address, name);
}

} // namespace cirrolux::test
