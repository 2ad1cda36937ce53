// cirrolux-gateway as systemd starts it: a listening socket handed over as descriptor 3 with
// LISTEN_FDS and LISTEN_PID. It answers on that socket, fetches from its upstream (the fake
// NOAA), and ends after the idle time; a socket it may not serve on, or a port another program
// holds, gives a clear message.
#include "ActivatedGateway.h"
#include "FakeNoaa.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace cirrolux;
using test::ActivatedGateway;
using test::Ask;
using test::Socket;

namespace {

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
