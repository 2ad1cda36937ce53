// Which reply each request gets, without sockets.
#include "SamplePlaces.h"

#include "servicesim/ServiceRouter.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace cirrolux::test {
namespace {

using cirrolux::HttpRequestHead;
using servicesim::EmulatorReply;
using servicesim::ServiceRouter;
using Delivery = EmulatorReply::Delivery;

const QDateTime kNow = utc(2005, 1, 12, 20, 55);

HttpRequestHead proxyGet(const QByteArray& url, const QByteArray& extra = {})
{
    return HttpRequestHead::parse("GET " + url + " HTTP/1.0\r\nProxy-Connection: Keep-Alive\r\n" +
                                  extra + "\r\n");
}

QByteArray headerOf(const EmulatorReply& reply, QByteArrayView name)
{
    for (const auto& [key, value] : reply.headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

struct RouteCase
{
    const char* name;
    QByteArray url;
    int status;
    QByteArray contentType;
    QByteArray bodyHas;
    Delivery delivery = Delivery::Whole;
};

class Route : public ::testing::TestWithParam<RouteCase>
{
};

TEST_P(Route, StatusTypeAndBody)
{
    ServiceRouter router;
    const EmulatorReply reply = router.route(proxyGet(GetParam().url), kNow);
    EXPECT_EQ(reply.status, GetParam().status);
    EXPECT_EQ(reply.delivery, GetParam().delivery);
    if (!GetParam().contentType.isEmpty()) {
        EXPECT_EQ(headerOf(reply, "Content-Type").left(GetParam().contentType.size()),
                  GetParam().contentType);
    }
    const QByteArray body = reply.delivery == Delivery::Raw ? reply.raw : reply.body;
    EXPECT_TRUE(body.contains(GetParam().bodyHas)) << body.left(400).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Router, Route,
    ::testing::Values(
        RouteCase{"UsCity", "http://www.wunderground.com/US/MA/Boston.html", 200, "text/html",
                  "Underground: Boston, Massachusetts Weather Forecast</title>"},
        RouteCase{"UsCityWithUnderscores", "http://www.wunderground.com/US/NY/New_York.html", 200,
                  "text/html", "Underground: New York, New York Weather"},
        RouteCase{"UsCityPercentEncoded", "http://www.wunderground.com/US/CA/San%20Jose.html", 200,
                  "text/html", "Underground: San Jose, California Weather"},
        RouteCase{"Zip", "http://www.wunderground.com/cgi-bin/findweather/getForecast?query=62701",
                  200, "text/html", "Underground: Springfield, Illinois Weather Forecast</title>"},
        RouteCase{"ZipAmongOtherParameters",
                  "http://www.wunderground.com/cgi-bin/findweather/getForecast?x=1&query=10001",
                  200, "text/html", "Underground: New York, New York Weather"},
        RouteCase{"ZipThatIsNoZip",
                  "http://www.wunderground.com/cgi-bin/findweather/getForecast?query=Boston", 200,
                  "text/html", "no cities that match your search for <b>Boston</b>"},
        RouteCase{"Station", "http://www.wunderground.com/global/stations/83780.html", 200,
                  "text/html", "Underground: Station 83780, Unknown Weather Forecast</title>"},
        RouteCase{"StationNumberTooShort", "http://www.wunderground.com/global/stations/8378.html",
                  404, "text/html", "The requested URL /global/stations/8378.html was not found"},
        RouteCase{"UnknownState", "http://www.wunderground.com/US/ZZ/Boston.html", 404, "text/html",
                  "<title>404 Not Found</title>"},
        RouteCase{"EmptyState", "http://www.wunderground.com/US//Boston.html", 404, "text/html",
                  "Not Found"},
        RouteCase{"UnknownPath", "http://www.wunderground.com/nothing/here.html", 404, "text/html",
                  "Apache/1.3.33 Server at www.wunderground.com Port 80"},
        RouteCase{"PathIsEscapedInThe404Page", "http://www.wunderground.com/<script>", 404,
                  "text/html", "/&lt;script&gt;"},
        RouteCase{"VersionFile", "http://www.cirrolux.net/assets/cirroluxvs.txt", 200, "text/plain",
                  "Version#1.40.0.8"},
        RouteCase{"VersionFileAnyCase", "http://www.cirrolux.net/Assets/CirroluxVS.txt", 200,
                  "text/plain", "Version#1.40.0.8"},
        RouteCase{"UsageCounter", "http://www.cirrolux.net/assets/CirroluxCount.txt", 200,
                  "text/plain", "48214"},
        RouteCase{"MakerUnknownPath", "http://www.cirrolux.net/assets/other.txt", 404, "text/html",
                  "Not Found"},
        RouteCase{"ConditionsPathOnTheMakersHost", "http://www.cirrolux.net/US/MA/Boston.html", 404,
                  "text/html", "Not Found"},
        RouteCase{"LoopbackReachesConditions", "http://127.0.0.1:8080/US/MA/Boston.html", 200,
                  "text/html", "Boston, Massachusetts"},
        RouteCase{"LocalhostReachesTheMaker", "http://localhost/assets/cirroluxvs.txt", 200,
                  "text/plain", "Version#"},
        RouteCase{"HostNotServed", "http://www.example.com/US/MA/Boston.html", 502, "text/html",
                  "www.example.com is not one the service emulator serves"},
        RouteCase{"AnyStatus", "http://www.example.com/sim/status/404", 404, "text/html",
                  "<title>404 Not Found</title>"},
        RouteCase{"UnusualStatus", "http://www.wunderground.com/sim/status/599", 599, "text/html",
                  "599 Unknown Reason"},
        RouteCase{"StatusOutOfRange", "http://www.wunderground.com/sim/status/1000", 404,
                  "text/html", "Not Found"},
        RouteCase{"Landing", "http://www.wunderground.com/sim-landing.html", 200, "text/html",
                  "You have arrived"},
        RouteCase{"NoLength", "http://www.wunderground.com/sim/no-length", 200, "text/plain",
                  "no Content-Length", Delivery::NoLength},
        RouteCase{"Short", "http://www.wunderground.com/sim/short", 200, "text/plain", "0123",
                  Delivery::Short},
        RouteCase{"Stall", "http://www.wunderground.com/sim/stall", 200, "text/plain", "",
                  Delivery::Stall},
        RouteCase{"Silent", "http://www.wunderground.com/sim/silent", 200, "", "",
                  Delivery::Silent},
        RouteCase{"Trickle", "http://www.wunderground.com/sim/trickle/30", 200, "text/plain",
                  "0123456789abcdefghijklmnopqrst", Delivery::Trickle},
        RouteCase{"TrickleTooLarge", "http://www.wunderground.com/sim/trickle/99999999", 404,
                  "text/html", "Not Found"},
        RouteCase{"BadStatus", "http://www.wunderground.com/sim/bad-status", 200, "",
                  "HTTP/1.0 ??? Unreadable\r\n", Delivery::Raw},
        RouteCase{"NoHeader", "http://www.wunderground.com/sim/no-header", 200, "",
                  "no status line", Delivery::Raw},
        RouteCase{"UnknownFaultPath", "http://www.wunderground.com/sim/nothing", 404, "text/html",
                  "Not Found"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Router, PlainFormChoosesTheSiteByHostHeader)
{
    ServiceRouter router;
    const EmulatorReply version =
        router.route(HttpRequestHead::parse(
                         "GET /assets/cirroluxvs.txt HTTP/1.0\r\nHost: www.cirrolux.net\r\n\r\n"),
                     kNow);
    EXPECT_EQ(version.status, 200);
    EXPECT_EQ(version.body, "Version#1.40.0.8\r\n");
    const EmulatorReply page =
        router.route(HttpRequestHead::parse(
                         "GET /US/IL/Chicago.html HTTP/1.0\r\nHost: www.wunderground.com\r\n\r\n"),
                     kNow);
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.body.contains("Underground: Chicago, Illinois Weather"));
}

TEST(Router, HostsComeFromTheServiceAddresses)
{
    EXPECT_EQ(ServiceRouter::conditionsHost(), "www.wunderground.com");
    EXPECT_EQ(ServiceRouter::makerHost(), "www.cirrolux.net");
}

TEST(Router, VersionIsConfigurable)
{
    ServiceRouter router;
    router.setVersion("1.40.0.9");
    EXPECT_EQ(router.route(proxyGet("http://www.cirrolux.net/assets/cirroluxvs.txt"), kNow).body,
              "Version#1.40.0.9\r\n");
}

TEST(Router, UsageCounterCountsItsFetches)
{
    ServiceRouter router;
    const HttpRequestHead request = proxyGet("http://www.cirrolux.net/assets/CirroluxCount.txt");
    EXPECT_EQ(router.route(request, kNow).body, "48214\r\n");
    EXPECT_EQ(router.route(request, kNow).body, "48215\r\n");
    EXPECT_EQ(router.usageCounterFetches(), 2);
}

TEST(Router, StationDirectoryNamesTheStation)
{
    ServiceRouter router;
    router.setStationDirectory(
        [](const std::string& number) -> std::optional<std::pair<std::string, std::string>> {
            if (number == "83780")
                return std::make_pair(std::string("Sao Paulo"), std::string("Brazil"));
            return std::nullopt;
        });
    EXPECT_TRUE(
        router.route(proxyGet("http://www.wunderground.com/global/stations/83780.html"), kNow)
            .body.contains("Underground: Sao Paulo, Brazil Weather Forecast</title>"));
}

TEST(Router, SamePageForTheSameHourOnly)
{
    ServiceRouter router;
    const HttpRequestHead request = proxyGet("http://www.wunderground.com/US/MN/Duluth.html");
    const QByteArray at51 = router.route(request, utc(2005, 1, 12, 20, 51)).body;
    EXPECT_EQ(router.route(request, utc(2005, 1, 12, 21, 50)).body, at51);
    EXPECT_NE(router.route(request, utc(2005, 1, 12, 21, 51)).body, at51);
}

TEST(Router, RedirectToABareFileName)
{
    ServiceRouter router;
    const EmulatorReply reply =
        router.route(proxyGet("http://www.wunderground.com/sim/redirect-bare"), kNow);
    EXPECT_EQ(reply.status, 302);
    EXPECT_EQ(headerOf(reply, "Location"), "sim-landing.html");
    EXPECT_EQ(headerOf(router.route(proxyGet("http://a.b/sim/redirect-bare/page2.html"), kNow),
                       "Location"),
              "page2.html");
    EXPECT_EQ(router.route(proxyGet("http://a.b/sim/redirect-bare/x%2Fy"), kNow).status, 302);
}

TEST(Router, RedirectLoopPointsBackAtItself)
{
    ServiceRouter router;
    const EmulatorReply reply =
        router.route(proxyGet("http://www.wunderground.com:81/sim/redirect-loop"), kNow);
    EXPECT_EQ(reply.status, 302);
    EXPECT_EQ(headerOf(reply, "Location"), "http://www.wunderground.com:81/sim/redirect-loop");
}

TEST(Router, RedirectChainCountsDown)
{
    ServiceRouter router;
    EXPECT_EQ(headerOf(router.route(proxyGet("http://a.b/sim/redirect-chain/3"), kNow), "Location"),
              "http://a.b/sim/redirect-chain/2");
    EXPECT_EQ(headerOf(router.route(proxyGet("http://a.b/sim/redirect-chain/0"), kNow), "Location"),
              "http://a.b/sim/landing");
}

TEST(Router, StatusWithLocation)
{
    ServiceRouter router;
    const EmulatorReply reply = router.route(
        proxyGet("http://a.b/sim/status/301?location=http%3A%2F%2Fa.b%2Fnew.html"), kNow);
    EXPECT_EQ(reply.status, 301);
    EXPECT_EQ(headerOf(reply, "Location"), "http://a.b/new.html");
    EXPECT_EQ(
        headerOf(router.route(proxyGet("http://a.b/sim/status/401"), kNow), "WWW-Authenticate"),
        "Basic realm=\"sim\"");
}

TEST(Router, CookieThenRedirectThenShownBack)
{
    ServiceRouter router;
    const EmulatorReply set = router.route(proxyGet("http://a.b/sim/cookie"), kNow);
    EXPECT_EQ(set.status, 302);
    ASSERT_FALSE(set.headers.isEmpty());
    EXPECT_EQ(set.headers.front().first, "Set-Cookie");
    EXPECT_EQ(set.headers.front().second, "simsession=7Q2X9B; path=/");
    EXPECT_EQ(headerOf(set, "Location"), "http://a.b/sim/cookie-landing");
    EXPECT_EQ(
        router
            .route(proxyGet("http://a.b/sim/cookie-landing", "Cookie: simsession=7Q2X9B\r\n"), kNow)
            .body,
        "Cookie: simsession=7Q2X9B\r\n");
    EXPECT_EQ(router.route(proxyGet("http://a.b/sim/cookie-landing"), kNow).body,
              "Cookie: (none)\r\n");
}

TEST(Router, EchoReturnsTheRequestBytes)
{
    ServiceRouter router;
    const HttpRequestHead request = proxyGet("http://a.b/sim/echo", "Referer: x\r\n");
    EXPECT_EQ(router.route(request, kNow).body, request.raw);
}

TEST(Router, BigBodyIsGeneratedNotHeld)
{
    ServiceRouter router;
    const EmulatorReply reply = router.route(proxyGet("http://a.b/sim/big/67108864"), kNow);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.generatedLength, 67108864);
    EXPECT_TRUE(reply.body.isEmpty());
    EXPECT_EQ(reply.contentLength(), 67108864);
    EXPECT_EQ(router.route(proxyGet("http://a.b/sim/big/abc"), kNow).status, 404);
}

TEST(Router, UnreadableRequestIs400AndOtherMethods501)
{
    ServiceRouter router;
    EXPECT_EQ(router.route(HttpRequestHead::parse("\x01\x02garbage\r\n\r\n"), kNow).status, 400);
    EXPECT_EQ(router.route(HttpRequestHead::parse("POST /x HTTP/1.0\r\n\r\n"), kNow).status, 501);
}

TEST(Router, RequiredAuthorization)
{
    ServiceRouter router;
    router.setRequiredAuthorization(std::make_pair(std::string("ann"), std::string("s3cret")));
    const QByteArray url = "http://www.cirrolux.net/assets/cirroluxvs.txt";
    const EmulatorReply refused = router.route(proxyGet(url), kNow);
    EXPECT_EQ(refused.status, 407);
    EXPECT_FALSE(headerOf(refused, "Proxy-Authenticate").isEmpty());
    EXPECT_EQ(router.route(proxyGet(url, "Authorization: Basic YW5uOndyb25n\r\n"), kNow).status,
              407);
    // "ann:s3cret" in Base64.
    EXPECT_EQ(router.route(proxyGet(url, "Authorization: Basic YW5uOnMzY3JldA==\r\n"), kNow).status,
              200);
    EXPECT_EQ(
        router.route(HttpRequestHead::parse("GET /assets/cirroluxvs.txt HTTP/1.0\r\n\r\n"), kNow)
            .status,
        401);
    router.setRequiredAuthorization(std::nullopt);
    EXPECT_EQ(router.route(proxyGet(url), kNow).status, 200);
}

TEST(Reply, HeadOfAWholeReply)
{
    EmulatorReply reply = EmulatorReply::make(200, "text/plain", "hello");
    EXPECT_EQ(reply.head(kNow), "HTTP/1.0 200 OK\r\n"
                                "Date: Wed, 12 Jan 2005 20:55:00 GMT\r\n"
                                "Server: Apache/1.3.33 (Unix)\r\n"
                                "Content-Type: text/plain\r\n"
                                "Content-Length: 5\r\n"
                                "Connection: close\r\n\r\n");
    reply.delivery = Delivery::NoLength;
    EXPECT_FALSE(reply.head(kNow).contains("Content-Length"));
    reply.delivery = Delivery::Short;
    reply.announcedLength = 99;
    EXPECT_TRUE(reply.head(kNow).contains("Content-Length: 99\r\n"));
}

TEST(Reply, GeneratedBytesFollowOnePattern)
{
    const QByteArray whole = EmulatorReply::generatedBytes(0, 300);
    EXPECT_EQ(EmulatorReply::generatedBytes(70, 100), whole.mid(70, 100));
    EXPECT_EQ(whole.left(10), "0123456789");
    EXPECT_EQ(whole[63], '\n');
    EXPECT_EQ(whole[64], '0');
}

} // namespace
} // namespace cirrolux::test

namespace cirrolux::test {
namespace {

// Heads made of request-like pieces and random bytes: each is read and answered, never a crash.
TEST(RouterRobustness, RandomHeadsAlwaysGetAReply)
{
    QRandomGenerator random(20050112);
    const std::vector<QByteArray> pieces{"GET ",
                                         "http://",
                                         "www.wunderground.com",
                                         "www.cirrolux.net",
                                         "/",
                                         "US",
                                         "MA",
                                         ".html",
                                         "?query=",
                                         "%",
                                         "%2",
                                         "sim/",
                                         "status/",
                                         "big/",
                                         "999999999999999999",
                                         " HTTP/1.0",
                                         "\r\n",
                                         "\n",
                                         "Host: ",
                                         ":",
                                         "@",
                                         "[",
                                         "]",
                                         "#",
                                         "Cookie: ",
                                         "\0",
                                         "\xFF",
                                         " "};
    ServiceRouter router;
    for (int round = 0; round < 5000; ++round) {
        QByteArray head;
        const int count = static_cast<int>(random.bounded(1, 24));
        for (int i = 0; i < count; ++i) {
            if (random.bounded(4) == 0)
                head += static_cast<char>(random.bounded(256));
            else
                head += pieces[random.bounded(static_cast<int>(pieces.size()))];
        }
        head += "\r\n\r\n";
        const EmulatorReply reply = router.route(HttpRequestHead::parse(head), kNow);
        EXPECT_GE(reply.status, 100) << head.toHex().toStdString();
        EXPECT_LE(reply.status, 999);
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace cirrolux::test
