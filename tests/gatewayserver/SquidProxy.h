#pragma once

#include "WaitFor.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace cirrolux::test {

// Debian's Squid on 127.0.0.1, with the gateway as its parent, set up as the README shows: a
// throwaway configuration, cache folder, logs and pid file in a temporary folder, in the
// foreground (-N), stopped with the test. Squid keeps root for nothing: started as root it runs as
// "proxy", so the folder is then given to that user; otherwise it runs as the current user.
class SquidProxy
{
public:
    // The squid program; empty when it is not installed.
    static QString program()
    {
        return QStandardPaths::findExecutable(
            QStringLiteral("squid"),
            {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin")});
    }

    ~SquidProxy() { stop(); }

    // Starts Squid in front of the gateway on `gatewayPort`; false (with the reason in the test's
    // failure) when it does not accept connections within `waitMs`.
    bool start(quint16 gatewayPort, int waitMs = 30000)
    {
        if (!m_dir.isValid())
            return false;
        const QString dir = m_dir.path();
        QByteArray user;
        if (::geteuid() == 0) {
            const passwd* proxy = ::getpwnam("proxy");
            if (!proxy || ::chown(dir.toLocal8Bit().constData(), proxy->pw_uid, proxy->pw_gid) != 0)
                return false;
            user = "cache_effective_user proxy\n";
        }
        m_port = freePort();
        const QByteArray d = dir.toLocal8Bit();
        QFile conf(dir + QStringLiteral("/squid.conf"));
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        conf.write("http_port 127.0.0.1:" + QByteArray::number(m_port) + "\n" +
                   ConfigFor(gatewayPort) + user + "cache_dir ufs " + d +
                   "/cache 16 4 16\n"
                   "cache_mem 8 MB\n"
                   "pid_filename " +
                   d + "/squid.pid\ncache_log " + d + "/cache.log\naccess_log stdio:" + d +
                   "/access.log\ncoredump_dir " + d +
                   "\nnetdb_filename none\nshutdown_lifetime 0 seconds\n"
                   "dns_nameservers 127.0.0.1\n");
        conf.close();
        m_conf = conf.fileName();

        // The cache folder's layout first (squid -z), then Squid itself.
        QProcess make;
        make.start(program(),
                   {QStringLiteral("-z"), QStringLiteral("-N"), QStringLiteral("-f"), m_conf});
        if (!make.waitForFinished(waitMs) || make.exitCode() != 0) {
            ADD_FAILURE() << "squid -z: " << make.readAll().constData() << log().constData();
            return false;
        }
        m_squid.setProcessChannelMode(QProcess::MergedChannels);
        m_squid.start(program(), {QStringLiteral("-N"), QStringLiteral("-f"), m_conf});
        const bool up = WaitFor(
            [&] {
                if (m_squid.state() == QProcess::NotRunning)
                    return true;
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, m_port);
                return probe.waitForConnected(200);
            },
            waitMs);
        if (!up || m_squid.state() == QProcess::NotRunning) {
            ADD_FAILURE() << "Squid did not start: " << m_squid.readAll().constData()
                          << log().constData();
            return false;
        }
        return true;
    }

    void stop()
    {
        if (m_squid.state() == QProcess::NotRunning)
            return;
        m_squid.terminate();
        if (!m_squid.waitForFinished(10000)) {
            m_squid.kill();
            m_squid.waitForFinished(5000);
        }
    }

    quint16 port() const { return m_port; }

    // Squid's own log and its access log, for a failure's message.
    QByteArray log() const
    {
        QByteArray text;
        for (const char* name : {"/cache.log", "/access.log"}) {
            QFile file(m_dir.path() + QLatin1String(name));
            if (file.open(QIODevice::ReadOnly))
                text += "\n--- " + QByteArray(name) + "\n" + file.readAll().right(4000);
        }
        return text;
    }

    // The lines the README gives for a Squid in front of the gateway on `gatewayPort`.
    static QByteArray ConfigFor(quint16 gatewayPort)
    {
        return "cache_peer 127.0.0.1 parent " + QByteArray::number(gatewayPort) +
               " 0 no-query no-digest default\n"
               "never_direct allow all\n"
               "client_persistent_connections off\n"
               "http_access allow localhost\n"
               "http_access deny all\n";
    }

private:
    static quint16 freePort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    QTemporaryDir m_dir;
    QString m_conf;
    QProcess m_squid;
    quint16 m_port = 0;
};

} // namespace cirrolux::test
