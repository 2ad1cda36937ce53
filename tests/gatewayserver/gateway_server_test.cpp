// The gateway between the program's requests and NOAA: which requests reach the upstream and
// how often, what a failure serves, and the honest answer for what has no live source.
#include "GatewayHarness.h"

#include "gateway/NwsProducts.h"

#include <QTcpSocket>

using namespace cirrolux;
using cirrolux::test::GatewayHarness;

namespace {

const std::string BostonFile = "2026/01/15 14:54\n"
                               "KBOS 151454Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012 RMK AO2 "
                               "SLP201 T10061089\n";
const std::string Boston = "http://www.wunderground.com/US/MA/Boston.html";
const std::string BostonZip =
    "http://www.wunderground.com/cgi-bin/findweather/getForecast?query=02134";

class GatewayConditions : public GatewayHarness
{
protected:
    void SetUp() override
    {
        GatewayHarness::SetUp();
        if (IsSkipped())
            return;
        request = live->resolve("/US/MA/Boston.html");
        ASSERT_TRUE(request && request->station);
        ASSERT_EQ(request->station->icao, "KBOS");
        noaa.setFile(observationPath("KBOS"), QByteArray::fromStdString(BostonFile));
    }

    std::optional<gateway::LiveRequest> request;
};

TEST_F(GatewayConditions, FetchTheStationsFileOnceInTenMinutesWithTheGatewaysName)
{
    EXPECT_EQ(page(Boston), live->page(*request, BostonFile, now));
    ASSERT_EQ(noaa.hits(observationPath("KBOS")), 1);
    EXPECT_EQ(noaa.requests()[0].header("User-Agent"),
              "Cirrolux-gateway/1.40.0.8 (+https://www.cirrolux.net/; support@cirrolux.net)");

    now = now.addSecs(9 * 60 + 59);
    EXPECT_EQ(page(Boston), live->page(*request, BostonFile, now.addSecs(-(9 * 60 + 59))));
    // A zip whose nearest station is the same one shares its file.
    const std::optional<gateway::LiveRequest> zip =
        live->resolve("/cgi-bin/findweather/getForecast?query=02134");
    ASSERT_TRUE(zip && zip->station);
    EXPECT_EQ(zip->station->icao, "KBOS");
    EXPECT_EQ(page(BostonZip), live->page(*zip, BostonFile, now));
    EXPECT_EQ(noaa.hits(observationPath("KBOS")), 1);

    now = now.addSecs(1);
    const std::string newer = "2026/01/15 15:54\nKBOS 151554Z 00000KT 10SM CLR M02/M09 A3015\n";
    noaa.setFile(observationPath("KBOS"), QByteArray::fromStdString(newer));
    EXPECT_EQ(page(Boston), live->page(*request, newer, now));
    EXPECT_EQ(noaa.hits(observationPath("KBOS")), 2);
}

TEST_F(GatewayConditions, RequestsArrivingDuringATransferWaitForIt)
{
    std::vector<std::string> pages;
    for (const std::string& target : {Boston, BostonZip, Boston}) {
        server->answer(QByteArray::fromStdString("GET " + target + " HTTP/1.0\r\n\r\n"),
                       [&](const HttpReply& r) { pages.push_back(r.body.toStdString()); });
    }
    ASSERT_TRUE(test::WaitFor([&] { return pages.size() == 3; }, 5000));
    EXPECT_EQ(noaa.hits(observationPath("KBOS")), 1);
    EXPECT_EQ(pages[0], pages[2]);
    EXPECT_EQ(pages[0], live->page(*request, BostonFile, now));
}

TEST_F(GatewayConditions, ClosingWhileATransferRunsDropsItsRequests)
{
    noaa.setSilent(true);
    int answered = 0;
    server->answer(QByteArray::fromStdString("GET " + Boston + " HTTP/1.0\r\n\r\n"),
                   [&](const HttpReply&) { ++answered; });
    ASSERT_TRUE(test::WaitFor([&] { return noaa.requests().size() == 1; }, 5000));
    server.reset();
    test::WaitFor([] { return false; }, 200);
    EXPECT_EQ(answered, 0);
}

struct FailureCase
{
    const char* name;
    int status;  // what NOAA answers; 0: nothing at all (time-out)
    bool cached; // a file was fetched 25 minutes before
    const char* reason;
};

class GatewayFailures : public GatewayConditions, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(GatewayFailures, ServeTheLastFileMarkedAsCachedOrSayWhatFailed)
{
    const FailureCase& c = GetParam();
    const QDateTime fetched = now;
    if (c.cached)
        page(Boston);
    now = now.addSecs(25 * 60);
    if (c.status == 0)
        noaa.setSilent(true);
    else
        noaa.setFailing(c.status);

    const HttpReply reply = get(Boston);
    const std::string answer = reply.body.toStdString();
    if (c.cached) {
        EXPECT_EQ(reply.status, 200);
        EXPECT_EQ(answer, live->page(*request, BostonFile, now,
                                     gateway::GatewayServer::staleNote(fetched)));
        EXPECT_EQ(gateway::GatewayServer::staleNote(fetched),
                  "(cached 15:00 UTC: NOAA not reachable)");
    } else {
        // A failed transfer for the program, which keeps its last readings.
        EXPECT_EQ(reply.status, c.status == 0 ? 504 : 502);
        EXPECT_EQ(reply.reason,
                  c.status == 0 ? "NOAA Did Not Answer In Time" : "NOAA Not Reachable");
        EXPECT_EQ(answer,
                  "<html><head><title>No current observation for Boston, "
                  "Massachusetts</title></head>\n<body>\n<h1>No current observation for Boston, "
                  "Massachusetts</h1>\n<p>The observation of station KBOS could not be fetched "
                  "from NOAA (" +
                      std::string(c.reason) +
                      ") and none is cached. Please try again in a few minutes.</p>\n"
                      "</body></html>\n");
    }
    // Once NOAA answers again, the page is fresh.
    noaa.setSilent(false);
    noaa.setFailing(0);
    EXPECT_EQ(page(Boston), live->page(*request, BostonFile, now));
}

INSTANTIATE_TEST_SUITE_P(
    Upstream, GatewayFailures,
    ::testing::Values(FailureCase{"ServerErrorWithCache", 503, true, ""},
                      FailureCase{"ServerErrorWithoutCache", 503, false, "HTTP status 503"},
                      FailureCase{"TimeOutWithCache", 0, true, ""},
                      FailureCase{"TimeOutWithoutCache", 0, false, "no answer within 400 ms"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

struct StoppedCase
{
    const char* name;
    std::optional<std::string> file; // nullopt: 404
};

class StoppedStations : public GatewayConditions, public ::testing::WithParamInterface<StoppedCase>
{
};

TEST_P(StoppedStations, GiveTheNoLiveStationPageNotAnOldReading)
{
    if (GetParam().file)
        noaa.setFile(observationPath("KBOS"), QByteArray::fromStdString(*GetParam().file));
    else
        noaa.removeFile(observationPath("KBOS"));
    EXPECT_EQ(page(Boston), live->noStationPage(*request));
    // Known to be missing: not asked for again within ten minutes.
    now = now.addSecs(5 * 60);
    EXPECT_EQ(page(Boston), live->noStationPage(*request));
    EXPECT_EQ(noaa.hits(observationPath("KBOS")), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoppedStations,
    ::testing::Values(StoppedCase{"NotFound", std::nullopt},
                      StoppedCase{"LastReportYearsAgo",
                                  "2019/03/02 06:00\nKBOS 020600Z 27010KT 10SM CLR 01/M05 A3001\n"},
                      StoppedCase{
                          "LastReportSevenHoursAgo",
                          "2026/01/15 07:54\nKBOS 150754Z 27010KT 10SM CLR 01/M05 A3001\n"}),
    [](const ::testing::TestParamInfo<StoppedCase>& info) { return std::string(info.param.name); });

TEST_F(GatewayHarness, APlaceWithoutStationIsAnsweredWithoutAnyTransfer)
{
    const std::optional<gateway::LiveRequest> nowhere =
        live->resolve("/global/stations/99999.html");
    ASSERT_TRUE(nowhere);
    ASSERT_FALSE(nowhere->station);
    EXPECT_EQ(page("http://www.wunderground.com/global/stations/99999.html"),
              live->noStationPage(*nowhere));
    EXPECT_TRUE(noaa.requests().empty());
}

TEST_F(GatewayHarness, ZoneForecastsOfAStateAreFetchedPerZoneOnceInThirtyMinutes)
{
    const std::vector<std::string> zones = index->zonesOfState("ma");
    ASSERT_GE(zones.size(), 20u);
    const std::string zonePage = page("http://iwin.nws.noaa.gov/iwin/MA/zone.html");
    EXPECT_TRUE(zonePage.starts_with("<html>\n<head><title>Massachusetts Zone Forecasts</title>"));
    EXPECT_NE(zonePage.find("MAZ015-152100-\nSUFFOLK-\n"), std::string::npos);
    EXPECT_NE(zonePage.find("MAZ006-007-152100-\nWESTERN ESSEX-EASTERN ESSEX-\n"),
              std::string::npos);
    EXPECT_EQ(noaa.requests().size(), zones.size());
    EXPECT_EQ(noaa.hits("/data/forecasts/zone/ma/maz015.txt"), 1);

    now = now.addSecs(29 * 60);
    EXPECT_EQ(page("http://iwin.nws.noaa.gov/iwin/MA/zone.html"), zonePage);
    EXPECT_EQ(noaa.requests().size(), zones.size());
    now = now.addSecs(60);
    page("http://iwin.nws.noaa.gov/iwin/MA/zone.html");
    EXPECT_EQ(noaa.requests().size(), 2 * zones.size());
}

TEST_F(GatewayHarness, WarningsOfAStateShowEachProductOnce)
{
    const std::string warnings = page("http://iwin.nws.noaa.gov/iwin/MA/allwarnings.html");
    EXPECT_NE(warnings.find("...WIND ADVISORY IN EFFECT FROM 1 PM"), std::string::npos);
    EXPECT_EQ(warnings.find("NPWBOX"), warnings.rfind("NPWBOX"));
    const std::string special = page("http://iwin.nws.noaa.gov/iwin/MA/special.html");
    EXPECT_NE(special.find("...SLICK SPOTS ON UNTREATED ROADS"), std::string::npos);
    // A state without any statement on file says so.
    EXPECT_NE(page("http://iwin.nws.noaa.gov/iwin/RI/special.html")
                  .find("THERE ARE NO SPECIAL WEATHER STATEMENTS IN EFFECT FOR RI AT THIS TIME."),
              std::string::npos);
}

TEST_F(GatewayHarness, ProductsWithNOAAUnreachableSayTheyAreNotAvailable)
{
    noaa.setFailing(500);
    const std::string zonePage = page("http://iwin.nws.noaa.gov/iwin/MA/zone.html");
    EXPECT_NE(zonePage.find("<p>The Zone Forecasts product for Massachusetts is not currently "
                            "available (NOAA not reachable: HTTP status 500).</p>"),
              std::string::npos);
    // With some files cached, those are shown with a note.
    noaa.setFailing(0);
    page("http://iwin.nws.noaa.gov/iwin/MA/zone.html");
    now = now.addSecs(31 * 60);
    noaa.setFailing(500);
    const std::string cached = page("http://iwin.nws.noaa.gov/iwin/MA/zone.html");
    EXPECT_NE(cached.find("NOTE: " + std::to_string(index->zonesOfState("ma").size()) + " OF " +
                          std::to_string(index->zonesOfState("ma").size()) +
                          " ZONE FILES COULD NOT BE FETCHED FROM NOAA; CACHED COPIES FROM 15:00 "
                          "UTC ARE SHOWN."),
              std::string::npos);
    EXPECT_NE(cached.find("MAZ015-152100-"), std::string::npos);
}

struct HonestCase
{
    const char* name;
    const char* target;
    int status;
    const char* bodyStart;
};

class NoLiveSourceContent : public GatewayHarness, public ::testing::WithParamInterface<HonestCase>
{
};

// Whatever has no live source is refused in words, with no reading, picture or file made up.
TEST_P(NoLiveSourceContent, IsAnsweredHonestlyWithoutTouchingNOAA)
{
    const HttpReply reply = get(GetParam().target);
    EXPECT_EQ(reply.status, GetParam().status);
    EXPECT_TRUE(reply.body.startsWith(GetParam().bodyStart)) << reply.body.left(120).constData();
    EXPECT_EQ(reply.header("Content-Type"), "text/html; charset=iso-8859-1");
    EXPECT_GE(reply.body.size(), 500) << "the image window takes a shorter body for a stub";
    EXPECT_FALSE(reply.body.contains("&#176;"));
    EXPECT_FALSE(reply.body.contains("Version#"));
    EXPECT_TRUE(noaa.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sites, NoLiveSourceContent,
    ::testing::Values(
        HonestCase{"MakerHomePage", "http://www.cirrolux.net/", 503,
                   "<html><head><title>No live source for the maker's home page</title>"},
        HonestCase{"MakerOtherFile", "http://www.cirrolux.net/assets/news.txt", 503,
                   "<html><head><title>No live source for the maker's file "
                   "/assets/news.txt</title>"},
        HonestCase{"RadarPicture", "http://wxp.eas.purdue.edu/radar/rad_comp.gif", 503,
                   "<html><head><title>No live source for the picture rad_comp.gif</title>"},
        HonestCase{"Camera", "http://www.alta.com/cam/current.gif", 503,
                   "<html><head><title>No live source for the picture current.gif</title>"},
        // Public information is live for the states (tests/livereportsroad); not for Puerto Rico.
        HonestCase{"PublicInformationBeyondTheStates",
                   "http://iwin.nws.noaa.gov/iwin/PR/public.html", 503,
                   "<html><head><title>No live source for this report</title>"},
        HonestCase{"ForeignStateProducts", "http://iwin.nws.noaa.gov/iwin/Peru%20(O)/zone.html",
                   503, "<html><head><title>No live source for this report</title>"},
        HonestCase{"Earthquakes", "http://neic.usgs.gov/neis/bulletin/", 503,
                   "<html><head><title>No live source for this report</title>"},
        HonestCase{"Factbook", "http://www.odci.gov/cia/publications/factbook/geos/ke.html", 503,
                   "<html><head><title>No live source for the World Factbook</title>"},
        // The fire report's own address is live (tests/livereportsroad); no other NIFC page.
        HonestCase{"FireReportSite", "http://www.nifc.gov/news/other.html", 503,
                   "<html><head><title>No live source for the fire report</title>"},
        HonestCase{"ConditionsSearch",
                   "http://www.wunderground.com/cgi-bin/findweather/getForecast?query=Boston", 404,
                   "<html><head><title>No live source for the conditions at this address"},
        HonestCase{"UnresolvableCity", "http://www.wunderground.com/US/MA/a%2Fb.html", 404,
                   "<html><head><title>No live source for the conditions at this address"}),
    [](const ::testing::TestParamInfo<HonestCase>& info) { return std::string(info.param.name); });

} // namespace

namespace {

// What a client gets over a real connection to the gateway for the bytes it sends.
QByteArray exchange(quint16 port, const QByteArray& bytes)
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
        5000);
    return reply + socket.readAll();
}

struct WireCase
{
    const char* name;
    QByteArray request;
    const char* statusLine;
    const char* bodyPart;
};

class GatewayWire : public GatewayConditions, public ::testing::WithParamInterface<WireCase>
{
};

TEST_P(GatewayWire, AnswersEveryHeadAndClosesTheConnection)
{
    ASSERT_TRUE(server->listen(0));
    const QByteArray reply = exchange(server->port(), GetParam().request);
    EXPECT_TRUE(reply.startsWith(GetParam().statusLine)) << reply.left(60).constData();
    EXPECT_TRUE(reply.contains("\r\nConnection: close\r\n"));
    EXPECT_TRUE(reply.contains(GetParam().bodyPart));
}

INSTANTIATE_TEST_SUITE_P(
    Heads, GatewayWire,
    ::testing::Values(
        WireCase{"ProxyForm",
                 "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\nReferer: "
                 "Cirrolux by Tallowmere\r\n\r\n",
                 "HTTP/1.0 200 OK\r\n", "<b>30</b>&#176;F"},
        WireCase{"PlainFormByHostHeader",
                 "GET /US/MA/Boston.html HTTP/1.0\r\nHost: www.wunderground.com\r\n\r\n",
                 "HTTP/1.0 200 OK\r\n", "<b>30</b>&#176;F"},
        WireCase{"BareLineEnds", "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\n\n",
                 "HTTP/1.0 200 OK\r\n", "<b>30</b>&#176;F"},
        WireCase{"Garbage", "\x01\x02 nonsense\r\n\r\n", "HTTP/1.0 400 ", "could not read"},
        WireCase{"HeadTooLong", QByteArray(70 * 1024, 'A'), "HTTP/1.0 431 ",
                 "longer than the gateway accepts"},
        WireCase{"OtherHost", "GET http://example.org/ HTTP/1.0\r\n\r\n", "HTTP/1.0 502 ",
                 "Bad Gateway"}),
    [](const ::testing::TestParamInfo<WireCase>& info) { return std::string(info.param.name); });

TEST_F(GatewayConditions, AClientThatLeavesBeforeTheAnswerLeavesTheGatewayServing)
{
    ASSERT_TRUE(server->listen(0));
    noaa.setSilent(true);
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, server->port());
        ASSERT_TRUE(
            test::WaitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 3000));
        socket.write("GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n\r\n");
        ASSERT_TRUE(test::WaitFor([&] { return noaa.requests().size() == 1; }, 3000));
    } // gone before NOAA answers
    // The transfer times out after the client left; the next client gets its page.
    test::WaitFor([] { return false; }, 600);
    noaa.setSilent(false);
    const QByteArray reply = exchange(
        server->port(), "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(reply.contains("<b>30</b>&#176;F"));
}

} // namespace
