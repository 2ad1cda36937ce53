// cirrolux-gateway as systemd starts it: a listening socket handed over as descriptor 3 with
// LISTEN_FDS and LISTEN_PID. It answers on that socket, fetches from its upstream (the fake
// NOAA), and ends after the idle time; a socket it may not serve on, or a port another program
// holds, gives a clear message.
#include "FakeNoaa.h"
#include "WaitFor.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimeZone>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cirrolux;

namespace {

// A socket as a socket unit makes it; closed with the test.
class Socket
{
public:
    Socket(int type, const char* address, bool listening)
    {
        m_fd = ::socket(AF_INET, type, 0);
        sockaddr_in in{};
        in.sin_family = AF_INET;
        ::inet_pton(AF_INET, address, &in.sin_addr);
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&in), sizeof in), 0);
        if (listening) {
            EXPECT_EQ(::listen(m_fd, 16), 0);
        }
        socklen_t length = sizeof in;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&in), &length);
        m_port = ntohs(in.sin_port);
    }
    ~Socket() { ::close(m_fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return m_fd; }
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

// The gateway with `sockets` handed over from descriptor 3 on. A shell sets LISTEN_PID to its
// own process number and execs the gateway, which keeps it; `forOtherProcess` names another
// process instead, as when the variables were inherited by mistake.
class ActivatedGateway
{
public:
    ActivatedGateway(std::vector<int> sockets, QStringList arguments, bool forOtherProcess = false)
    {
        const std::vector<int> fds = std::move(sockets);
        m_process.setChildProcessModifier([fds] {
            // Only async-signal-safe calls here: dup2 clears close-on-exec on the copy.
            for (std::size_t i = 0; i < fds.size(); ++i)
                ::dup2(fds[i], static_cast<int>(3 + i));
        });
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LISTEN_FDS"), QString::number(fds.size()));
        for (const char* name : {"https_proxy", "HTTPS_PROXY", "no_proxy", "NO_PROXY"})
            environment.remove(QString::fromLatin1(name));
        m_process.setProcessEnvironment(environment);
        const QString pid = forOtherProcess ? QStringLiteral("1") : QStringLiteral("$$");
        m_process.setProgram(QStringLiteral("/bin/sh"));
        m_process.setArguments(
            QStringList{QStringLiteral("-c"),
                        QStringLiteral("LISTEN_PID=%1 exec \"$0\" \"$@\"").arg(pid),
                        QStringLiteral(CIRROLUX_GATEWAY_EXE)} +
            arguments);
        m_process.start();
        EXPECT_TRUE(m_process.waitForStarted(5000));
    }
    ~ActivatedGateway()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Waits (turning the event loop) for the gateway to end; false when it is still running.
    bool waitForEnd(int ms)
    {
        return test::WaitFor([this] { return m_process.state() == QProcess::NotRunning; }, ms);
    }
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    std::string errors() { return m_process.readAllStandardError().toStdString(); }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

// The whole reply to one request on 127.0.0.1:`port`.
std::string Ask(quint16 port, const QByteArray& request)
{
    QTcpSocket client;
    client.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!client.waitForConnected(5000))
        return "no connection: " + client.errorString().toStdString();
    client.write(request);
    QByteArray reply;
    test::WaitFor(
        [&] {
            reply += client.readAll();
            return client.state() == QAbstractSocket::UnconnectedState;
        },
        20000);
    return (reply + client.readAll()).toStdString();
}

QStringList TableArguments()
{
    return {QStringLiteral("--data"), QStringLiteral("/usr/share/weather-util")};
}

bool TablesInstalled()
{
    return QFile::exists(QStringLiteral("/usr/share/weather-util/stations.gz"));
}

TEST(SocketActivation, AnswersOnTheHandedOverSocketAndEndsWhenIdle)
{
    if (!TablesInstalled())
        GTEST_SKIP() << "weather-util-data is not installed";
    fakenoaa::FakeNoaa noaa;
    const QString observed =
        QDateTime::currentDateTimeUtc().addSecs(-600).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    noaa.setFile("/data/observations/metar/stations/KBOS.TXT",
                 observed.toLatin1() +
                     "\nKBOS 151454Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012 RMK AO2\n");
    ASSERT_TRUE(noaa.listen());

    Socket socket(SOCK_STREAM, "127.0.0.1", true);
    // 0.05 minutes: three seconds.
    ActivatedGateway gateway(
        {socket.fd()},
        TableArguments() + QStringList{QStringLiteral("--idle-exit"), QStringLiteral("0.05"),
                                       QStringLiteral("--observations"), noaa.observationsBase()});
    const std::string reply =
        Ask(socket.port(), "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n\r\n");
    EXPECT_EQ(reply.substr(0, 15), "HTTP/1.0 200 OK") << reply.substr(0, 300);
    EXPECT_NE(reply.find("Boston"), std::string::npos);
    // The readings of the fake upstream's file: -1 C and gusts of 22 knots.
    EXPECT_NE(reply.find("<b>30</b>&#176;F"), std::string::npos) << reply;
    EXPECT_NE(reply.find("gusting to <b>25</b> mph"), std::string::npos) << reply;
    EXPECT_EQ(noaa.hits("/data/observations/metar/stations/KBOS.TXT"), 1);

    QElapsedTimer idle;
    idle.start();
    ASSERT_TRUE(gateway.waitForEnd(30000)) << "still running after 30 s idle";
    EXPECT_GE(idle.elapsed(), 2500);
    EXPECT_EQ(gateway.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(gateway.exitCode(), 0);
    const std::string log = gateway.errors();
    EXPECT_NE(log.find("listening on 127.0.0.1:" + std::to_string(socket.port()) +
                       " (socket from systemd)"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("no connection for 0.05 minutes; ending"), std::string::npos) << log;
}

TEST(SocketActivation, VariablesForAnotherProcessAreNotTaken)
{
    if (!TablesInstalled())
        GTEST_SKIP() << "weather-util-data is not installed";
    Socket socket(SOCK_STREAM, "127.0.0.1", true);
    ActivatedGateway gateway(
        {socket.fd()},
        TableArguments() + QStringList{QStringLiteral("--port"), QStringLiteral("0")}, true);
    ASSERT_TRUE(gateway.process().waitForReadyRead(20000)) << gateway.errors();
    const uint port = gateway.process().readLine().trimmed().toUInt();
    EXPECT_NE(port, 0u);
    EXPECT_NE(port, socket.port());
    EXPECT_EQ(
        Ask(static_cast<quint16>(port), "GET http://127.0.0.1/ HTTP/1.0\r\n\r\n").substr(0, 9),
        "HTTP/1.0 ");
}

struct RefusedCase
{
    const char* name;
    int type;
    const char* address;
    bool listening;
    int count;
    const char* message;
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class RefusedSocket : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedSocket, EndsWithAClearMessage)
{
    const RefusedCase& c = GetParam();
    std::vector<std::unique_ptr<Socket>> sockets;
    std::vector<int> fds;
    for (int i = 0; i < c.count; ++i) {
        sockets.push_back(std::make_unique<Socket>(c.type, c.address, c.listening));
        fds.push_back(sockets.back()->fd());
    }
    ActivatedGateway gateway(fds, TableArguments());
    ASSERT_TRUE(gateway.waitForEnd(30000));
    EXPECT_EQ(gateway.exitCode(), 1);
    EXPECT_EQ(gateway.errors(), std::string("cirrolux-gateway: ") + c.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Sockets, RefusedSocket,
    ::testing::Values(
        RefusedCase{"AllAddresses", SOCK_STREAM, "0.0.0.0", true, 1,
                    "the socket systemd handed over listens on 0.0.0.0, not on the loopback "
                    "address; the gateway answers on 127.0.0.1 only"},
        RefusedCase{"Datagram", SOCK_DGRAM, "127.0.0.1", false, 1,
                    "the socket systemd handed over is not a listening TCP socket (the socket "
                    "unit needs ListenStream=127.0.0.1:PORT)"},
        RefusedCase{"NotListening", SOCK_STREAM, "127.0.0.1", false, 1,
                    "the socket systemd handed over is not a listening TCP socket (the socket "
                    "unit needs ListenStream=127.0.0.1:PORT)"},
        RefusedCase{"TwoSockets", SOCK_STREAM, "127.0.0.1", true, 2,
                    "systemd handed over 2 sockets; the gateway serves exactly one (one "
                    "ListenStream= in its socket unit)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GatewayPort, TakenPortIsNamedWithWhatToDo)
{
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost));
    QProcess gateway;
    gateway.start(QStringLiteral(CIRROLUX_GATEWAY_EXE),
                  TableArguments() +
                      QStringList{QStringLiteral("--port"), QString::number(other.serverPort())});
    ASSERT_TRUE(gateway.waitForFinished(30000));
    EXPECT_EQ(gateway.exitCode(), 1);
    EXPECT_EQ(gateway.readAllStandardError().toStdString(),
              "cirrolux-gateway: port " + std::to_string(other.serverPort()) +
                  " on 127.0.0.1 is already in use by another program. Stop that program, or "
                  "start the gateway on a free port (--port N) and enter that port as the proxy "
                  "port in Cirrolux's General Preferences.\n");
}

} // namespace
