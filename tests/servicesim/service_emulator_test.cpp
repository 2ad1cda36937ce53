// The emulator over loopback: both request forms, the recorded bytes, the fault paths as a
// client sees them, and robustness against clients that misbehave.
#include "SamplePlaces.h"
#include "WireClient.h"

#include "pagelayout/ConditionsPageBuilder.h"
#include "servicesim/EmulatorConnection.h"
#include "servicesim/ServiceEmulator.h"
#include "servicesim/WeatherModel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace cirrolux::test {
namespace {

using namespace std::chrono_literals;
using servicesim::EmulatorReply;
using servicesim::ServiceEmulator;

const QDateTime kNow = utc(2005, 1, 12, 20, 55);

// The request TNMHTTP sends through a proxy.
QByteArray proxyRequest(const QByteArray& url, const QByteArray& host)
{
    return "GET " + url +
           " HTTP/1.0\r\n"
           "Proxy-Connection: Keep-Alive\r\n"
           "Host: " +
           host +
           "\r\n"
           "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
           "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
           "Referer: Cirrolux by Tallowmere\r\n"
           "Authorization: Basic YW5uOnMzY3JldA==\r\n"
           "Content-type: application/x-www-form-urlencoded\r\n"
           "\r\n";
}

QByteArray plainRequest(const QByteArray& path, const QByteArray& host)
{
    return "GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
}

class Emulator : public ::testing::Test
{
protected:
    void SetUp() override
    {
        emulator.setNow(kNow);
        ASSERT_TRUE(emulator.listen(0)) << emulator.errorString().toStdString();
    }

    WireReply fetch(const QByteArray& request)
    {
        return WireReply::parse(WireClient::exchange(emulator.port(), request));
    }

    // Turns the event loop until the emulator has no open connection left.
    bool allConnectionsClosed()
    {
        WireClient idler;
        for (int i = 0; i < 2000 && emulator.openConnections() > 0; ++i)
            idler.idle(10ms);
        return emulator.openConnections() == 0;
    }

    ServiceEmulator emulator;
};

TEST_F(Emulator, ListensOnLoopbackOnly)
{
    EXPECT_EQ(emulator.address(), QHostAddress(QHostAddress::LocalHost));
    EXPECT_NE(emulator.port(), 0);
}

TEST_F(Emulator, ProxyFormConditionsPage)
{
    const QByteArray request =
        proxyRequest("http://www.wunderground.com/US/MA/Boston.html", "www.wunderground.com");
    const WireReply reply = fetch(request);
    ASSERT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.head.startsWith("HTTP/1.0 200 OK\r\n"));
    EXPECT_EQ(reply.header("Content-Length").toLongLong(), reply.body.size());
    EXPECT_EQ(reply.header("Connection"), "close");
    EXPECT_EQ(reply.header("Date"), "Wed, 12 Jan 2005 20:55:00 GMT");

    const cirrolux::Place boston = *servicesim::PlaceDirectory().usCity("MA", "Boston");
    const std::string page = cirrolux::ConditionsPageBuilder::page(
        boston, servicesim::WeatherModel::observe(boston, kNow));
    EXPECT_EQ(reply.body.toStdString(), page);

    ASSERT_EQ(emulator.requests().size(), 1u);
    EXPECT_EQ(emulator.requests()[0].raw, request);
    EXPECT_TRUE(emulator.requests()[0].proxyForm);
    EXPECT_EQ(emulator.requests()[0].header("Authorization"), "Basic YW5uOnMzY3JldA==");
}

TEST_F(Emulator, PlainFormByHostHeader)
{
    const WireReply version = fetch(plainRequest("/assets/cirroluxvs.txt", "www.cirrolux.net"));
    EXPECT_EQ(version.status, 200);
    EXPECT_EQ(version.body, "Version#1.40.0.8\r\n");
    const WireReply zip =
        fetch(plainRequest("/cgi-bin/findweather/getForecast?query=02134", "www.wunderground.com"));
    EXPECT_EQ(zip.status, 200);
    EXPECT_TRUE(zip.body.contains("Underground: Boston, Massachusetts Weather Forecast</title>"));
    ASSERT_EQ(emulator.requests().size(), 2u);
    EXPECT_FALSE(emulator.requests()[1].proxyForm);
}

TEST_F(Emulator, ContentSettingsReachTheRouter)
{
    emulator.setVersion("2.00.0.1");
    emulator.setStationDirectory([](const std::string&) {
        return std::optional(std::make_pair(std::string("Tokyo"), std::string("Japan")));
    });
    EXPECT_EQ(fetch(plainRequest("/assets/cirroluxvs.txt", "www.cirrolux.net")).body,
              "Version#2.00.0.1\r\n");
    EXPECT_TRUE(fetch(proxyRequest("http://www.wunderground.com/global/stations/47662.html",
                                   "www.wunderground.com"))
                    .body.contains("Underground: Tokyo, Japan Weather Forecast</title>"));
}

TEST_F(Emulator, UsageCounterFile)
{
    const WireReply reply =
        fetch(proxyRequest("http://www.cirrolux.net/assets/CirroluxCount.txt", "www.cirrolux.net"));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("Content-Type"), "text/plain");
    EXPECT_EQ(reply.body, "48214\r\n");
}

TEST_F(Emulator, ClockDecidesTheObservationHour)
{
    const QByteArray request = plainRequest("/US/MA/Boston.html", "www.wunderground.com");
    const QByteArray first = fetch(request).body;
    emulator.setClock([] { return utc(2005, 1, 12, 21, 52); });
    const QByteArray later = fetch(request).body;
    EXPECT_NE(first, later);
    EXPECT_TRUE(later.contains("Updated: <b>4:51 PM EST on January 12, 2005</b>"));
}

struct FaultCase
{
    const char* name;
    QByteArray path;
    int status;
    QByteArray headerName;
    QByteArray headerValue; // "" when the header must be absent
    qsizetype bodySize;     // -1: any
};

class FaultPath : public Emulator, public ::testing::WithParamInterface<FaultCase>
{
};

TEST_P(FaultPath, AsAClientSeesIt)
{
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    client.send(
        proxyRequest("http://www.wunderground.com" + GetParam().path, "www.wunderground.com"));
    ASSERT_TRUE(client.waitForClose()) << "the server did not close the connection";
    const WireReply reply = WireReply::parse(client.received());
    EXPECT_EQ(reply.status, GetParam().status);
    EXPECT_EQ(reply.header(GetParam().headerName), GetParam().headerValue);
    if (GetParam().bodySize >= 0) {
        EXPECT_EQ(reply.body.size(), GetParam().bodySize);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wire, FaultPath,
    ::testing::Values(
        FaultCase{"Status503", "/sim/status/503", 503, "Content-Type",
                  "text/html; charset=iso-8859-1", -1},
        FaultCase{"NoLength", "/sim/no-length", 200, "Content-Length", "", 69},
        FaultCase{"Short", "/sim/short", 200, "Content-Length", "2048", 512},
        FaultCase{"BareRedirect", "/sim/redirect-bare", 302, "Location", "sim-landing.html", -1},
        FaultCase{"RedirectLoop", "/sim/redirect-loop", 302, "Location",
                  "http://www.wunderground.com/sim/redirect-loop", -1},
        FaultCase{"BadStatusLine", "/sim/bad-status", -1, "Content-Type", "text/plain", 48},
        FaultCase{"Trickle", "/sim/trickle/120", 200, "Content-Length", "120", 120},
        FaultCase{"Big", "/sim/big/1000000", 200, "Content-Length", "1000000", 1000000},
        FaultCase{"NotFound", "/sim/unknown", 404, "Connection", "close", -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Emulator, StatusAndRedirectBodiesAreSmallPages)
{
    const WireReply reply = fetch(plainRequest("/sim/status/503", "a.b"));
    EXPECT_TRUE(reply.body.contains("<title>503 Service Unavailable</title>"));
    EXPECT_EQ(reply.header("Content-Length").toLongLong(), reply.body.size());
}

TEST_F(Emulator, NoHeaderSendsOnlyTheBody)
{
    EXPECT_EQ(WireClient::exchange(emulator.port(), plainRequest("/sim/no-header", "a.b")),
              "This reply has no status line and no header.\r\n");
}

TEST_F(Emulator, TrickleComesInPieces)
{
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    client.send(plainRequest("/sim/trickle/120", "a.b"));
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(WireReply::parse(client.received()).body, EmulatorReply::generatedBytes(0, 120));
    EXPECT_GE(client.readCount(), 5);
}

TEST_F(Emulator, TrickledReplyComesAByteAtATimeHeaderIncluded)
{
    EmulatorReply drip = EmulatorReply::make(200, "text/plain", "twenty bytes of body");
    drip.delivery = EmulatorReply::Delivery::Trickle;
    drip.trickleHead = true;
    drip.tricklePiece = 1;
    drip.tricklePauseMs = 2;
    emulator.queueReply(drip);
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    client.send(plainRequest("/", "a.b"));
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(client.received(), drip.head(kNow) + drip.body);
    // Pieces may meet on the way, but far more of them come than a whole reply would make.
    EXPECT_GT(client.readCount(), 20);
}

// A reset reaches the client as an error of the connection, not as the end of the reply.
TEST_F(Emulator, ResetTearsTheConnectionDownAfterTheFirstBytes)
{
    EmulatorReply reset = EmulatorReply::make(200, "text/plain", QByteArray(1000, 'r'));
    reset.delivery = EmulatorReply::Delivery::Reset;
    reset.resetAfter = 300;
    emulator.queueReply(reset);

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(emulator.port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const QByteArray request = plainRequest("/", "a.b");
    QByteArray received;
    int error = 0;
    bool sent = false;
    QDeadlineTimer guard(WireClient::kGuard);
    while (error == 0 && !guard.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!sent)
            sent = ::send(fd, request.constData(), std::size_t(request.size()), MSG_NOSIGNAL) ==
                   request.size();
        char buffer[4096];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got > 0)
            received.append(buffer, got);
        else if (got == 0)
            break; // an orderly close: not what a reset looks like
        else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOTCONN)
            error = errno;
    }
    ::close(fd);
    EXPECT_EQ(error, ECONNRESET);
    const WireReply reply = WireReply::parse(received);
    EXPECT_EQ(reply.header("Content-Length"), "1000");
    EXPECT_EQ(reply.body, QByteArray(300, 'r'));
    EXPECT_TRUE(allConnectionsClosed());
}

TEST_F(Emulator, BigBodyIsThePattern)
{
    const qsizetype size = 8 * 1024 * 1024 + 13;
    const WireReply reply = fetch(plainRequest("/sim/big/" + QByteArray::number(size), "a.b"));
    ASSERT_EQ(reply.body.size(), size);
    EXPECT_EQ(reply.body, EmulatorReply::generatedBytes(0, size));
}

TEST_F(Emulator, StallSendsTheHeaderThenNothingUntilTheClientCloses)
{
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    client.send(plainRequest("/sim/stall", "a.b"));
    ASSERT_TRUE(client.waitForText("\r\n\r\n"));
    client.idle(300ms);
    const WireReply reply = WireReply::parse(client.received());
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("Content-Length"), "1024");
    EXPECT_TRUE(reply.body.isEmpty());
    EXPECT_TRUE(client.isOpen());
    EXPECT_EQ(emulator.openConnections(), 1);
    client.close();
    EXPECT_TRUE(allConnectionsClosed());
}

TEST_F(Emulator, SilentAnswersNothing)
{
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    client.send(plainRequest("/sim/silent", "a.b"));
    client.idle(300ms);
    EXPECT_TRUE(client.received().isEmpty());
    EXPECT_TRUE(client.isOpen());
    EXPECT_EQ(emulator.requests().size(), 1u);
    client.close();
    EXPECT_TRUE(allConnectionsClosed());
}

TEST_F(Emulator, CloseDropsStalledConnections)
{
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    client.send(plainRequest("/sim/stall", "a.b"));
    ASSERT_TRUE(client.waitForText("\r\n\r\n"));
    emulator.close();
    EXPECT_TRUE(client.waitForClose());
    EXPECT_EQ(emulator.openConnections(), 0);
}

TEST_F(Emulator, EchoReturnsTheExactBytes)
{
    const QByteArray request = proxyRequest("http://www.cirrolux.net/sim/echo", "www.cirrolux.net");
    EXPECT_EQ(fetch(request).body, request);
}

TEST_F(Emulator, RequestSentOneByteAtATime)
{
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    const QByteArray request = "\r\n" + plainRequest("/sim/echo", "a.b");
    client.sendSlowly(request);
    ASSERT_TRUE(client.waitForClose());
    // A stray line end before the request line is passed over.
    EXPECT_EQ(WireReply::parse(client.received()).body, request.mid(2));
}

TEST_F(Emulator, BareLineEnds)
{
    const WireReply reply =
        fetch("GET /assets/cirroluxvs.txt HTTP/1.0\nHost: www.cirrolux.net\n\n");
    EXPECT_EQ(reply.body, "Version#1.40.0.8\r\n");
}

TEST_F(Emulator, QueuedRepliesComeFirstThenRoutingResumes)
{
    emulator.queueReply(EmulatorReply::make(418, "text/plain", "teapot"));
    emulator.queueReply(EmulatorReply::rawBytes("HTTP/1.0 200 OK\r\n\r\nraw"));
    const QByteArray request = plainRequest("/assets/cirroluxvs.txt", "www.cirrolux.net");
    const WireReply first = fetch(request);
    EXPECT_EQ(first.status, 418);
    EXPECT_EQ(first.body, "teapot");
    EXPECT_EQ(WireClient::exchange(emulator.port(), request), "HTTP/1.0 200 OK\r\n\r\nraw");
    EXPECT_EQ(fetch(request).body, "Version#1.40.0.8\r\n");
    EXPECT_EQ(emulator.requests().size(), 3u);
}

TEST_F(Emulator, RequestReceivedSignal)
{
    std::vector<int> indexes;
    QObject::connect(&emulator, &ServiceEmulator::requestReceived, &emulator,
                     [&indexes](int index) { indexes.push_back(index); });
    fetch(plainRequest("/", "www.wunderground.com"));
    fetch(plainRequest("/", "www.cirrolux.net"));
    EXPECT_EQ(indexes, (std::vector<int>{0, 1}));
}

TEST_F(Emulator, GarbageGets400AndTheServerGoesOn)
{
    QByteArray garbage(4096, '\0');
    QRandomGenerator random(7);
    for (char& c : garbage)
        c = static_cast<char>(random.bounded(256));
    const WireReply reply = fetch(garbage + "\r\n\r\n");
    EXPECT_EQ(reply.status, 400);
    ASSERT_EQ(emulator.requests().size(), 1u);
    EXPECT_FALSE(emulator.requests()[0].valid);
    EXPECT_EQ(fetch(plainRequest("/assets/cirroluxvs.txt", "www.cirrolux.net")).status, 200);
}

TEST_F(Emulator, EndlessLineIsCutOffWith400)
{
    WireClient client;
    ASSERT_TRUE(client.connectTo(emulator.port()));
    client.send("GET /" + QByteArray(200 * 1024, 'a'));
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(WireReply::parse(client.received()).status, 400);
    ASSERT_EQ(emulator.requests().size(), 1u);
    EXPECT_EQ(emulator.requests()[0].raw.size(), servicesim::EmulatorConnection::kMaxHead);
}

TEST_F(Emulator, ClientsThatLeaveEarly)
{
    {
        WireClient halfRequest;
        ASSERT_TRUE(halfRequest.connectTo(emulator.port()));
        halfRequest.send("GET /US/MA/Bos");
        halfRequest.idle(20ms);
        halfRequest.close();
    }
    {
        WireClient bigReader;
        ASSERT_TRUE(bigReader.connectTo(emulator.port()));
        bigReader.send(plainRequest("/sim/big/1073741824", "a.b"));
        ASSERT_TRUE(bigReader.waitForBytes(1024 * 1024));
        bigReader.close();
    }
    EXPECT_TRUE(allConnectionsClosed());
    EXPECT_EQ(fetch(plainRequest("/assets/cirroluxvs.txt", "www.cirrolux.net")).status, 200);
}

TEST_F(Emulator, ManyConnectionsAtOnce)
{
    constexpr int kClients = 150;
    std::vector<std::unique_ptr<WireClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<WireClient>());
        ASSERT_TRUE(clients.back()->connectTo(emulator.port()));
    }
    const std::vector<QByteArray> paths{"/US/TX/Austin.html", "/global/stations/03772.html",
                                        "/cgi-bin/findweather/getForecast?query=99501"};
    for (int i = 0; i < kClients; ++i)
        clients[i]->send(plainRequest(paths[i % paths.size()], "www.wunderground.com"));
    for (int i = 0; i < kClients; ++i) {
        ASSERT_TRUE(clients[i]->waitForClose()) << i;
        const WireReply reply = WireReply::parse(clients[i]->received());
        EXPECT_EQ(reply.status, 200) << i;
        EXPECT_EQ(reply.header("Content-Length").toLongLong(), reply.body.size()) << i;
    }
    EXPECT_EQ(emulator.requests().size(), static_cast<std::size_t>(kClients));
    EXPECT_TRUE(allConnectionsClosed());
}

TEST(EmulatorListen, PortInUse)
{
    ServiceEmulator first;
    ASSERT_TRUE(first.listen(0));
    ServiceEmulator second;
    EXPECT_FALSE(second.listen(first.port()));
    EXPECT_FALSE(second.errorString().isEmpty());
}

TEST(EmulatorProcess, PrintsItsPortAndServes)
{
    QProcess process;
    process.start(QStringLiteral(CIRROLUX_SERVICESIM_EXE),
                  {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--now"),
                   QStringLiteral("2005-01-12T20:55:00Z"), QStringLiteral("--latest-version"),
                   QStringLiteral("1.40.0.9")});
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(process.waitForReadyRead(20000));
    bool ok = false;
    while (!process.canReadLine() && process.waitForReadyRead(20000)) {
    }
    const quint16 port = process.readLine().trimmed().toUShort(&ok);
    ASSERT_TRUE(ok);
    ASSERT_NE(port, 0);

    const WireReply page = WireReply::parse(
        WireClient::exchange(port, proxyRequest("http://www.wunderground.com/US/MA/Boston.html",
                                                "www.wunderground.com")));
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.body.contains("Updated: <b>3:51 PM EST on January 12, 2005</b>"));
    EXPECT_EQ(WireReply::parse(WireClient::exchange(port, plainRequest("/assets/cirroluxvs.txt",
                                                                       "www.cirrolux.net")))
                  .body,
              "Version#1.40.0.9\r\n");
    process.kill();
    process.waitForFinished();
}

TEST(EmulatorProcess, RefusesABadPort)
{
    QProcess process;
    process.start(QStringLiteral(CIRROLUX_SERVICESIM_EXE),
                  {QStringLiteral("--port"), QStringLiteral("http")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("--port"));
}

} // namespace
} // namespace cirrolux::test
