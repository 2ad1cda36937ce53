// The gateway under attack on 127.0.0.1, by a hostile client and a hostile upstream: each case
// is one way a local process or a broken NOAA could make it misbehave, bounded in time and
// memory.
#include "GatewayHarness.h"
#include "HostileUpstream.h"

#include "gateway/BoundedCache.h"
#include "gateway/GatewayConnection.h"
#include "gateway/UpstreamFetcher.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>

#include <csignal>

using namespace cirrolux;
using cirrolux::test::GatewayHarness;
using cirrolux::test::HostileUpstream;

namespace {

const QByteArray BostonFile = "2026/01/15 14:54\n"
                              "KBOS 151454Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012 RMK AO2 "
                              "SLP201 T10061089\n";
const QByteArray BostonRequest =
    "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n\r\n";

// Everything a client gets for the bytes it sends, until the gateway closes.
QByteArray exchange(quint16 port, const QByteArray& bytes, int waitMs = 5000)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(
        test::WaitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 3000));
    socket.write(bytes);
    QByteArray reply;
    test::WaitFor(
        [&] {
            reply += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        },
        waitMs);
    return reply + socket.readAll();
}

class GatewayAttack : public GatewayHarness
{
protected:
    void SetUp() override
    {
        GatewayHarness::SetUp();
        if (IsSkipped())
            return;
        noaa.setFile(observationPath("KBOS"), BostonFile);
        ASSERT_TRUE(server->listen(0));
    }
};

// --- The emulator's test paths are not in the gateway -------------------------------------

struct ProbeCase
{
    const char* name;
    QByteArray request;
    const char* mustNotContain;
};

class EmulatorPaths : public GatewayAttack, public ::testing::WithParamInterface<ProbeCase>
{
};

TEST_P(EmulatorPaths, AreRefusedWithASmallHonestPage)
{
    const QByteArray reply = exchange(server->port(), GetParam().request);
    EXPECT_TRUE(reply.startsWith("HTTP/1.0 404 Not Found\r\n")) << reply.left(80).constData();
    EXPECT_LT(reply.size(), 4096);
    EXPECT_FALSE(reply.contains(GetParam().mustNotContain));
    EXPECT_FALSE(reply.contains("\r\nLocation:"));
}

INSTANTIATE_TEST_SUITE_P(
    Probes, EmulatorPaths,
    ::testing::Values(
        ProbeCase{
            "ResponseSplitting",
            "GET http://www.wunderground.com/sim/status/302?location=x%0d%0aSet-Cookie:%20a=1 "
            "HTTP/1.0\r\n\r\n",
            "\r\nSet-Cookie"},
        ProbeCase{"BigBody", "GET http://www.wunderground.com/sim/big/67108864 HTTP/1.0\r\n\r\n",
                  "0123456789abcdef"},
        ProbeCase{"Echo",
                  "GET http://www.wunderground.com/sim/echo HTTP/1.0\r\nX-Secret: 4711\r\n\r\n",
                  "4711"}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

struct SplitCase
{
    const char* name;
    QByteArray reason;
    QByteArray headerName;
    QByteArray headerValue;
    const char* head;
};

class ReplyHeads : public ::testing::TestWithParam<SplitCase>
{
};

// Whatever a reply carries, a line end in it never starts a header line of its own.
TEST_P(ReplyHeads, KeepEveryValueOnItsOwnLine)
{
    HttpReply reply = HttpReply::make(302, "text/html", "abc");
    reply.reason = GetParam().reason;
    reply.addHeader(GetParam().headerName, GetParam().headerValue);
    EXPECT_EQ(reply.head(QDateTime(QDate(2026, 1, 15), QTime(15, 0), QTimeZone::utc()), "t"),
              GetParam().head);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReplyHeads,
    ::testing::Values(
        SplitCase{"Plain", "", "Location", "http://a/b",
                  "HTTP/1.0 302 Moved Temporarily\r\nDate: Thu, 15 Jan 2026 15:00:00 GMT\r\n"
                  "Server: t\r\nContent-Type: text/html\r\nLocation: http://a/b\r\n"
                  "Content-Length: 3\r\nConnection: close\r\n\r\n"},
        SplitCase{"LineEndsInAValue", "", "Location", "x\r\nSet-Cookie: a=1",
                  "HTTP/1.0 302 Moved Temporarily\r\nDate: Thu, 15 Jan 2026 15:00:00 GMT\r\n"
                  "Server: t\r\nContent-Type: text/html\r\nLocation: xSet-Cookie: a=1\r\n"
                  "Content-Length: 3\r\nConnection: close\r\n\r\n"},
        SplitCase{"LineEndsInTheReason", "Found\nSet-Cookie: a=1", "X", "1",
                  "HTTP/1.0 302 FoundSet-Cookie: a=1\r\nDate: Thu, 15 Jan 2026 15:00:00 GMT\r\n"
                  "Server: t\r\nContent-Type: text/html\r\nX: 1\r\n"
                  "Content-Length: 3\r\nConnection: close\r\n\r\n"},
        SplitCase{"OtherControlCharacters", "", "X\x01", QByteArray("a\0b\tc\x7f", 6),
                  "HTTP/1.0 302 Moved Temporarily\r\nDate: Thu, 15 Jan 2026 15:00:00 GMT\r\n"
                  "Server: t\r\nContent-Type: text/html\r\nX: abc\r\n"
                  "Content-Length: 3\r\nConnection: close\r\n\r\n"}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

// --- Requests that are not what the program sends -----------------------------------------

struct FormCase
{
    const char* name;
    QByteArray request; // "{port}" stands for the gateway's port
    const char* statusLine;
};

class RequestForms : public GatewayAttack, public ::testing::WithParamInterface<FormCase>
{
};

TEST_P(RequestForms, OnlyTheProgramsFormsAreServed)
{
    QByteArray request = GetParam().request;
    request.replace("{port}", QByteArray::number(server->port()));
    const QByteArray reply = exchange(server->port(), request);
    EXPECT_TRUE(reply.startsWith(GetParam().statusLine)) << reply.left(80).constData();
    if (!QByteArray(GetParam().statusLine).contains("200")) {
        EXPECT_FALSE(reply.contains("&#176;F"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RequestForms,
    ::testing::Values(
        FormCase{"ProgramsProxyForm", BostonRequest, "HTTP/1.0 200 OK\r\n"},
        FormCase{"OriginFormNamingTheService",
                 "GET /US/MA/Boston.html HTTP/1.0\r\nHost: www.wunderground.com\r\n\r\n",
                 "HTTP/1.0 200 OK\r\n"},
        // A page in a browser fetching from the gateway directly.
        FormCase{"OriginFormForLoopback",
                 "GET /US/MA/Boston.html HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n",
                 "HTTP/1.0 403 Forbidden\r\n"},
        FormCase{"OriginFormForLocalhost",
                 "GET /US/MA/Boston.html HTTP/1.1\r\nHost: localhost:{port}\r\n\r\n",
                 "HTTP/1.0 403 Forbidden\r\n"},
        // A name rebound to 127.0.0.1 after the page loaded.
        FormCase{"DnsRebinding",
                 "GET /US/MA/Boston.html HTTP/1.1\r\nHost: attacker.example:{port}\r\n\r\n",
                 "HTTP/1.0 403 Forbidden\r\n"},
        FormCase{"NoHost", "GET /US/MA/Boston.html HTTP/1.0\r\n\r\n", "HTTP/1.0 403 Forbidden\r\n"},
        FormCase{"ProxyFormForLoopback",
                 "GET http://127.0.0.1:{port}/US/MA/Boston.html HTTP/1.0\r\n\r\n",
                 "HTTP/1.0 502 Bad Gateway\r\n"},
        FormCase{"ProxyFormForAnotherSite", "GET http://example.org/ HTTP/1.0\r\n\r\n",
                 "HTTP/1.0 502 Bad Gateway\r\n"},
        FormCase{"FromAWebPage",
                 "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.1\r\nOrigin: "
                 "http://attacker.example\r\n\r\n",
                 "HTTP/1.0 403 Forbidden\r\n"},
        FormCase{"FetchMetadata",
                 "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.1\r\nSec-Fetch-Mode: "
                 "no-cors\r\n\r\n",
                 "HTTP/1.0 403 Forbidden\r\n"},
        FormCase{"OtherMethod",
                 "POST http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n\r\n",
                 "HTTP/1.0 501 Not Implemented\r\n"}),
    [](const ::testing::TestParamInfo<FormCase>& info) { return std::string(info.param.name); });

// --- Request heads -----------------------------------------------------------------------

struct HeadCase
{
    const char* name;
    QByteArray bytes;
};

class OversizedHeads : public GatewayAttack, public ::testing::WithParamInterface<HeadCase>
{
};

TEST_P(OversizedHeads, AreRefusedAtTheLimit)
{
    QElapsedTimer timer;
    timer.start();
    const QByteArray reply = exchange(server->port(), GetParam().bytes);
    EXPECT_TRUE(reply.startsWith("HTTP/1.0 431 ")) << reply.left(80).constData();
    EXPECT_LT(timer.elapsed(), 4000);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, OversizedHeads,
    ::testing::Values(
        // Bare line ends before the request line count against the limit.
        HeadCase{"BareLineEnds", QByteArray(70 * 1024, '\n')},
        HeadCase{"CrLfPairs", QByteArray(36 * 1024, '\r').replace("\r", "\r\n")},
        HeadCase{"LineEndsThenRequest", QByteArray(65 * 1024, '\n') + BostonRequest},
        // A head cut at 64 KiB is not answered as a request.
        HeadCase{"LongHeaderLine",
                 "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\nX-Pad: " +
                     QByteArray(70 * 1024, 'a') + "\r\n\r\n"}),
    [](const ::testing::TestParamInfo<HeadCase>& info) { return std::string(info.param.name); });

// --- Clients that stop reading --------------------------------------------------------------

TEST(GatewayConnectionLimits, AClientThatStopsReadingIsDroppedAtTheWriteDeadline)
{
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    gateway::ConnectionLimits limits;
    limits.writeTimeoutMs = 300;
    bool closed = false;
    QObject owner;
    QObject::connect(&listener, &QTcpServer::newConnection, &owner, [&] {
        auto* connection = new gateway::GatewayConnection(
            listener.nextPendingConnection(),
            [](const QByteArray&, gateway::GatewayConnection::Send send) {
                // Far more than the socket buffers take, so the write cannot finish.
                send(HttpReply::make(200, "text/plain", QByteArray(64 << 20, 'x')));
            },
            [] { return QDateTime::currentDateTimeUtc(); }, limits, &owner);
        QObject::connect(connection, &gateway::GatewayConnection::closed, [&] { closed = true; });
    });
    QTcpSocket client;
    client.setReadBufferSize(4096);
    client.connectToHost(QHostAddress::LocalHost, listener.serverPort());
    ASSERT_TRUE(
        test::WaitFor([&] { return client.state() == QAbstractSocket::ConnectedState; }, 3000));
    client.write(BostonRequest);
    EXPECT_TRUE(test::WaitFor([&] { return closed; }, 5000));
    // Whatever reached the client is far from the whole reply.
    test::WaitFor([&] { return client.state() == QAbstractSocket::UnconnectedState; }, 2000);
}

TEST_F(GatewayAttack, ManyClientsThatDoNotReadAreAllLetGo)
{
    gateway::GatewayLimits limits = server->limits();
    limits.failureMemoryMs = 0;
    limits.connection.writeTimeoutMs = 300;
    limits.maxConnections = 8;
    server->setLimits(limits);
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 16; ++i) {
        auto client = std::make_unique<QTcpSocket>();
        client->setReadBufferSize(1024);
        client->connectToHost(QHostAddress::LocalHost, server->port());
        clients.push_back(std::move(client));
    }
    ASSERT_TRUE(test::WaitFor(
        [&] {
            return std::all_of(clients.begin(), clients.end(), [](const auto& c) {
                return c->state() == QAbstractSocket::ConnectedState ||
                       c->state() == QAbstractSocket::UnconnectedState;
            });
        },
        3000));
    int most = 0;
    QObject::connect(server.get(), &gateway::GatewayServer::connectionCountChanged,
                     [&](int count) { most = std::max(most, count); });
    for (auto& client : clients)
        client->write(BostonRequest);
    EXPECT_TRUE(test::WaitFor([&] { return server->connectionCount() == 0; }, 5000));
    EXPECT_LE(most, 8);
}

// --- Bounded caches ------------------------------------------------------------------------

struct CacheStep
{
    const char* key;
    std::size_t bytes;
};

struct BoundCase
{
    const char* name;
    std::size_t maxEntries;
    std::size_t maxBytes;
    std::vector<CacheStep> puts;
    const char* touched; // looked up after the puts but the last ("" none)
    std::vector<const char*> kept;
    std::size_t bytes;
};

class CacheBounds : public ::testing::TestWithParam<BoundCase>
{
};

TEST_P(CacheBounds, KeepTheMostRecentlyUsedWithinEntriesAndBytes)
{
    const BoundCase& c = GetParam();
    gateway::BoundedCache<int> cache(c.maxEntries, c.maxBytes);
    for (std::size_t i = 0; i < c.puts.size(); ++i) {
        if (i + 1 == c.puts.size() && *c.touched)
            cache.find(c.touched);
        cache.put(c.puts[i].key, static_cast<int>(i), c.puts[i].bytes);
    }
    std::vector<const char*> kept;
    for (const CacheStep& step : c.puts) {
        if (cache.peek(step.key) && std::find_if(kept.begin(), kept.end(), [&](const char* k) {
                                        return std::string(k) == step.key;
                                    }) == kept.end())
            kept.push_back(step.key);
    }
    EXPECT_EQ(std::vector<std::string>(kept.begin(), kept.end()),
              std::vector<std::string>(c.kept.begin(), c.kept.end()));
    EXPECT_EQ(cache.bytes(), c.bytes);
    EXPECT_LE(cache.size(), c.maxEntries);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, CacheBounds,
    ::testing::Values(
        BoundCase{"ByEntries", 2, 1000, {{"a", 10}, {"b", 10}, {"c", 10}}, "", {"b", "c"}, 20},
        BoundCase{"ByBytes", 10, 25, {{"a", 10}, {"b", 10}, {"c", 10}}, "", {"b", "c"}, 20},
        BoundCase{
            "UseKeepsAnEntry", 2, 1000, {{"a", 10}, {"b", 10}, {"c", 10}}, "a", {"a", "c"}, 20},
        BoundCase{
            "ReplacingCountsOnce", 2, 1000, {{"a", 10}, {"a", 30}, {"b", 5}}, "", {"a", "b"}, 35},
        BoundCase{"TooLargeIsNotKept", 4, 100, {{"a", 10}, {"huge", 101}}, "", {"a"}, 10}),
    [](const ::testing::TestParamInfo<BoundCase>& info) { return std::string(info.param.name); });

TEST_F(GatewayAttack, QueryVariantsOfOnePageKeepOnePage)
{
    for (int i = 0; i < 2000; ++i)
        page("http://www.wunderground.com/US/MA/Boston.html?v=" + std::to_string(i));
    EXPECT_EQ(server->memoPages(), 1u);
    EXPECT_EQ(noaa.hits(observationPath("KBOS")), 1);
}

TEST_F(GatewayAttack, ThePageMemoStaysWithinItsLimits)
{
    gateway::GatewayLimits limits = server->limits();
    limits.memoEntries = 3;
    server->setLimits(limits);
    // Six places, each with a report of its own station.
    for (const char* place : {"/US/MA/Boston.html", "/US/IL/Chicago.html", "/US/CO/Denver.html",
                              "/US/AK/Nome.html", "/US/WA/Seattle.html", "/US/FL/Miami.html"}) {
        const std::optional<gateway::LiveRequest> request = live->resolve(place);
        ASSERT_TRUE(request && request->station) << place;
        QByteArray file = BostonFile;
        file.replace("KBOS", QByteArray::fromStdString(request->station->icao));
        noaa.setFile(observationPath(request->station->icao), file);
        page(std::string("http://www.wunderground.com") + place);
    }
    EXPECT_EQ(server->memoPages(), 3u);
    EXPECT_LE(server->memoBytes(), limits.memoBytes);
}

TEST_F(GatewayAttack, OfAProductFileOnlyTheTextThePageShowsIsKept)
{
    // A zone file of 1.5 MB: the page needs its text, cut to the product limit.
    QByteArray huge = "FPUS51 KBOX 151530\nZFPBOX\n\nMAZ015-152100-\nSUFFOLK-\n";
    while (huge.size() < 1500 * 1024)
        huge += ".TODAY...MOSTLY CLOUDY. HIGHS IN THE MID 30S. NORTHWEST WINDS 10 TO 15 MPH.\n";
    noaa.setFile("/data/forecasts/zone/ma/maz015.txt", huge);
    const std::string zonePage = page("http://iwin.nws.noaa.gov/iwin/MA/zone.html");
    EXPECT_NE(zonePage.find("SUFFOLK-"), std::string::npos);
    EXPECT_LT(zonePage.size(), 256u * 1024);
    EXPECT_LT(server->cache().bytes(), 1024u * 1024);
}

// --- A hostile upstream --------------------------------------------------------------------

struct FetchOutcome
{
    std::optional<gateway::UpstreamResult> result;
    qint64 elapsedMs = 0;
};

FetchOutcome fetch(gateway::UpstreamFetcher& fetcher, const QUrl& url, QObject* context, int waitMs)
{
    FetchOutcome outcome;
    QElapsedTimer timer;
    timer.start();
    fetcher.get(url, gateway::UpstreamFetcher::Lane::Observations, context,
                [&](const gateway::UpstreamResult& r) {
                    outcome.result = r;
                    outcome.elapsedMs = timer.elapsed();
                });
    test::WaitFor([&] { return outcome.result.has_value(); }, waitMs);
    return outcome;
}

TEST(HostileUpstreams, AnEndlessChunkedBodyIsCutOffAtTheLimit)
{
    HostileUpstream upstream(HostileUpstream::Mode::EndlessChunked);
    gateway::UpstreamSettings settings;
    settings.observationsBase = upstream.base();
    settings.timeout = std::chrono::seconds(20);
    gateway::UpstreamFetcher fetcher(settings);
    QObject context;
    const FetchOutcome outcome =
        fetch(fetcher, QUrl(upstream.base() + QStringLiteral("KBOS.TXT")), &context, 20000);
    ASSERT_TRUE(outcome.result);
    EXPECT_EQ(outcome.result->outcome, gateway::UpstreamResult::Outcome::Failed);
    EXPECT_EQ(outcome.result->error.toStdString(), "the file is larger than 2097152 bytes");
    EXPECT_TRUE(outcome.result->body.isEmpty());
    // The transfer was abandoned near the limit, not read to the end.
    EXPECT_TRUE(test::WaitFor([&] { return upstream.closedByClient() == 1; }, 3000));
    EXPECT_LT(upstream.bytesSent(), qint64(32) << 20);
}

TEST(HostileUpstreams, ATrickleEndsAtTheWholeTransferDeadline)
{
    HostileUpstream upstream(HostileUpstream::Mode::Trickle);
    upstream.setTrickleMs(50); // never a pause near the deadline
    gateway::UpstreamSettings settings;
    settings.observationsBase = upstream.base();
    settings.timeout = std::chrono::milliseconds(500);
    gateway::UpstreamFetcher fetcher(settings);
    QObject context;
    const FetchOutcome outcome =
        fetch(fetcher, QUrl(upstream.base() + QStringLiteral("KBOS.TXT")), &context, 5000);
    ASSERT_TRUE(outcome.result);
    EXPECT_EQ(outcome.result->outcome, gateway::UpstreamResult::Outcome::Failed);
    EXPECT_TRUE(outcome.result->timedOut);
    EXPECT_EQ(outcome.result->error.toStdString(), "no answer within 500 ms");
    EXPECT_LT(outcome.elapsedMs, 2500);
}

struct RedirectCase
{
    const char* name;
    bool withinBase;
};

class Redirects : public ::testing::TestWithParam<RedirectCase>
{
};

TEST_P(Redirects, AreFollowedOnlyWithinTheConfiguredBases)
{
    fakenoaa::FakeNoaa canary;
    ASSERT_TRUE(canary.listen());
    canary.setFile("/data/observations/metar/stations/KBOS.TXT", BostonFile);
    HostileUpstream upstream(HostileUpstream::Mode::Redirect);
    gateway::UpstreamSettings settings;
    settings.observationsBase = upstream.base() + QStringLiteral("observations/metar/stations/");
    settings.productsBase = upstream.base();
    if (GetParam().withinBase)
        settings.observationsBase = canary.observationsBase();
    upstream.setRedirectTo((canary.observationsBase() + QStringLiteral("KBOS.TXT")).toLatin1());
    settings.timeout = std::chrono::seconds(3);
    gateway::UpstreamFetcher fetcher(settings);
    QObject context;
    // Asked at the hostile upstream's address; it sends the transfer on to the canary.
    const FetchOutcome outcome = fetch(
        fetcher, QUrl(upstream.base() + QStringLiteral("observations/metar/stations/KBOS.TXT")),
        &context, 5000);
    ASSERT_TRUE(outcome.result);
    if (GetParam().withinBase) {
        EXPECT_EQ(outcome.result->outcome, gateway::UpstreamResult::Outcome::Ok);
        EXPECT_EQ(outcome.result->body, BostonFile);
        EXPECT_EQ(canary.hits("/data/observations/metar/stations/KBOS.TXT"), 1);
    } else {
        EXPECT_EQ(outcome.result->outcome, gateway::UpstreamResult::Outcome::Failed);
        EXPECT_EQ(outcome.result->error,
                  QStringLiteral("redirected to %1KBOS.TXT, which is not followed")
                      .arg(canary.observationsBase()));
        EXPECT_TRUE(canary.requests().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, Redirects,
                         ::testing::Values(RedirectCase{"ToAnotherAddress", false},
                                           RedirectCase{"WithinTheBase", true}),
                         [](const ::testing::TestParamInfo<RedirectCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(GatewayAttack, AFailureIsRememberedForAShortWhile)
{
    gateway::GatewayLimits limits = server->limits();
    limits.failureMemoryMs = 60 * 1000;
    server->setLimits(limits);
    noaa.setSilent(true);
    const HttpReply first = get("http://www.wunderground.com/US/MA/Boston.html");
    EXPECT_EQ(first.status, 504);
    // Asked again at once (the cache has nothing): answered without a second wait for NOAA.
    QElapsedTimer timer;
    timer.start();
    const HttpReply second = get("http://www.wunderground.com/US/MA/Boston.html");
    EXPECT_EQ(second.status, 504);
    EXPECT_LT(timer.elapsed(), 300);
    EXPECT_EQ(server->upstream().transfersStarted(), 1);
}

TEST(GatewayLanes, AConditionsPageNeverWaitsBehindProducts)
{
    const gateway::StationIndex* index = test::InstalledStationIndex();
    if (!index)
        GTEST_SKIP() << "weather-util-data is not installed";
    const gateway::LiveConditions live(*index, CatalogueStationDirectory());
    fakenoaa::FakeNoaa noaa;
    noaa.setFile("/data/observations/metar/stations/KBOS.TXT", BostonFile);
    ASSERT_TRUE(noaa.listen());
    HostileUpstream products(HostileUpstream::Mode::Silent);
    gateway::UpstreamSettings settings;
    settings.observationsBase = noaa.observationsBase();
    settings.productsBase = products.base();
    settings.timeout = std::chrono::seconds(30);
    gateway::GatewayServer server(*index, live, settings);
    server.setClock([] { return QDateTime(QDate(2026, 1, 15), QTime(15, 0), QTimeZone::utc()); });

    bool warningsAnswered = false;
    server.answer("GET http://iwin.nws.noaa.gov/iwin/TX/allwarnings.html HTTP/1.0\r\n\r\n",
                  [&](const HttpReply&) { warningsAnswered = true; });
    ASSERT_TRUE(test::WaitFor([&] { return products.requests() > 0; }, 3000));
    EXPECT_GT(server.upstream().waiting(gateway::UpstreamFetcher::Lane::Products), 100u);

    std::optional<HttpReply> conditions;
    server.answer(BostonRequest, [&](const HttpReply& r) { conditions = r; });
    EXPECT_TRUE(test::WaitFor([&] { return conditions.has_value(); }, 3000));
    EXPECT_EQ(conditions.value_or(HttpReply{}).status, 200);
    EXPECT_FALSE(warningsAnswered);
}

// --- A clean stop ----------------------------------------------------------------------------

TEST(GatewayProcess, StopsCleanlyOnSigterm)
{
    if (!test::InstalledStationIndex())
        GTEST_SKIP() << "weather-util-data is not installed";
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(CIRROLUX_GATEWAY_EXE),
                  {QStringLiteral("--port"), QStringLiteral("0")});
    ASSERT_TRUE(process.waitForStarted(5000));
    while (!process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    const quint16 port = static_cast<quint16>(process.readLine().trimmed().toUInt());
    ASSERT_NE(port, 0);
    // One client connected, so there is something to drop.
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected(3000));
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardError().contains("cirrolux-gateway: stopping on SIGTERM"));
}

} // namespace
