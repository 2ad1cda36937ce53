// What a shared cache in front of the gateway is told: how long each answer stays fresh (what is
// left of the lifetime of the file it was written from) and when that file was fetched; failures,
// stale copies and the gateway's own refusals are not kept. And the maker's files: answered by
// the gateway itself, with nothing fetched and no version made up.
#include "GatewayHarness.h"

#include "gateway/CacheHeaders.h"
#include "gateway/RequestPolicy.h"

using namespace cirrolux;
using cirrolux::test::GatewayHarness;

namespace {

struct LifetimeCase
{
    const char* name;
    qint64 ageSeconds; // of the file at the time of the answer; negative: fetched "later"
    qint64 lifetimeSeconds;
    qint64 expected;
};

class RemainingLifetimes : public ::testing::TestWithParam<LifetimeCase>
{
};

TEST_P(RemainingLifetimes, AreTheLifetimeLessTheAgeWithinZeroAndTheLifetime)
{
    const LifetimeCase& c = GetParam();
    const QDateTime now(QDate(2026, 1, 15), QTime(15, 0), QTimeZone::utc());
    EXPECT_EQ(gateway::RemainingLifetime(now.addSecs(-c.ageSeconds),
                                         std::chrono::seconds(c.lifetimeSeconds), now)
                  .count(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Ages, RemainingLifetimes,
                         ::testing::Values(LifetimeCase{"ObservationJustFetched", 0, 600, 600},
                                           LifetimeCase{"ObservationFourMinutesOld", 240, 600, 360},
                                           LifetimeCase{"ObservationOneSecondLeft", 599, 600, 1},
                                           LifetimeCase{"ObservationExpired", 600, 600, 0},
                                           LifetimeCase{"ObservationLongExpired", 7200, 600, 0},
                                           LifetimeCase{"FetchTimeAhead", -90, 600, 600},
                                           LifetimeCase{"ProductTwentyMinutesOld", 1200, 1800,
                                                        600}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CacheHeaders, InvalidTimesGiveNoLifetimeAndNoDate)
{
    HttpReply reply;
    gateway::MarkFresh(reply, QDateTime(), std::chrono::seconds(600),
                       QDateTime(QDate(2026, 1, 15), QTime(15, 0), QTimeZone::utc()));
    EXPECT_EQ(reply.header("Cache-Control"), "max-age=0");
    EXPECT_EQ(reply.header("Last-Modified"), "");
    // A reply that says how to cache it keeps that.
    gateway::MarkNotStored(reply);
    EXPECT_EQ(reply.header("Cache-Control"), "max-age=0");
}

const char* const Boston = "http://www.wunderground.com/US/MA/Boston.html";
const char* const BostonFile = "2026/01/15 14:54\n"
                               "KBOS 151454Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012\n";

// The table: what is asked once at 15:00 (to fill the cache; null for nothing), what NOAA does
// after that, how many seconds later the asked address is answered, and the headers it carries.
struct HeaderCase
{
    const char* name;
    const char* first;
    int failingAfter; // 0: NOAA keeps answering; else the status it fails with
    int laterSeconds;
    const char* target;
    int status;
    const char* cacheControl;
    const char* lastModified; // "" for none
};

class AnswerHeaders : public GatewayHarness, public ::testing::WithParamInterface<HeaderCase>
{
protected:
    void SetUp() override
    {
        GatewayHarness::SetUp();
        if (IsSkipped())
            return;
        noaa.setFile(observationPath("KBOS"), BostonFile);
    }
};

TEST_P(AnswerHeaders, SayHowLongTheAnswerStaysFreshAndWhenItsFileWasFetched)
{
    const HeaderCase& c = GetParam();
    if (c.first) {
        EXPECT_EQ(get(c.first).status, 200);
    }
    if (c.failingAfter != 0)
        noaa.setFailing(c.failingAfter);
    now = now.addSecs(c.laterSeconds);
    const HttpReply reply = get(c.target);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_EQ(reply.header("Cache-Control"), c.cacheControl);
    EXPECT_EQ(reply.header("Last-Modified"), c.lastModified);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnswerHeaders,
    ::testing::Values(
        HeaderCase{"ObservationJustFetched", nullptr, 0, 0, Boston, 200, "max-age=600",
                   "Thu, 15 Jan 2026 15:00:00 GMT"},
        // The page memo and the cache answer: four minutes into ten, six are left.
        HeaderCase{"ObservationFourMinutesOld", Boston, 0, 240, Boston, 200, "max-age=360",
                   "Thu, 15 Jan 2026 15:00:00 GMT"},
        // Another place with the same station shares its file and its age.
        HeaderCase{"ZipSharingTheFile", Boston, 0, 300,
                   "http://www.wunderground.com/cgi-bin/findweather/getForecast?query=02134", 200,
                   "max-age=300", "Thu, 15 Jan 2026 15:00:00 GMT"},
        // Expired: fetched again at 15:11, fresh for the whole lifetime from then.
        HeaderCase{"ObservationRefetched", Boston, 0, 660, Boston, 200, "max-age=600",
                   "Thu, 15 Jan 2026 15:11:00 GMT"},
        // NOAA unreachable: the cached copy is served, but no cache downstream may keep it.
        HeaderCase{"StaleCopyWhileNoaaFails", Boston, 500, 660, Boston, 200, "no-store", ""},
        HeaderCase{"NoaaUnreachableNothingCached", nullptr, 500, 0, Boston, 502, "no-store", ""},
        HeaderCase{"ZoneForecastsJustFetched", nullptr, 0, 0,
                   "http://iwin.nws.noaa.gov/iwin/MA/zone.html", 200, "max-age=1800",
                   "Thu, 15 Jan 2026 15:00:00 GMT"},
        HeaderCase{"ZoneForecastsTwentyMinutesOld", "http://iwin.nws.noaa.gov/iwin/MA/zone.html", 0,
                   1200, "http://iwin.nws.noaa.gov/iwin/MA/zone.html", 200, "max-age=600",
                   "Thu, 15 Jan 2026 15:00:00 GMT"},
        HeaderCase{"ZoneForecastsNoaaUnreachable", nullptr, 500, 0,
                   "http://iwin.nws.noaa.gov/iwin/MA/zone.html", 502, "no-store", ""},
        // The fire report is live now; the maker's home page still has no source.
        HeaderCase{"NoLiveSource", nullptr, 0, 0, "http://www.cirrolux.net/", 503, "no-store", ""},
        HeaderCase{"VersionFile", nullptr, 0, 0, "http://www.cirrolux.net/assets/cirroluxvs.txt",
                   404, "no-store", ""},
        HeaderCase{"UsageCounter", nullptr, 0, 0,
                   "http://www.cirrolux.net/assets/CirroluxCount.txt", 204, "no-store", ""},
        HeaderCase{"OtherHostRefused", nullptr, 0, 0, "http://example.com/", 502, "no-store", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CacheHeaders, TheDateLineIsTheGatewaysClockInHttpForm)
{
    const QDateTime now(QDate(2026, 1, 15), QTime(15, 4, 5), QTimeZone::utc());
    EXPECT_EQ(HttpReply::date(now), "Thu, 15 Jan 2026 15:04:05 GMT");
    EXPECT_TRUE(HttpReply::make(200, "text/plain", "x")
                    .head(now, "g")
                    .startsWith("HTTP/1.0 200 OK\r\nDate: Thu, 15 Jan 2026 15:04:05 GMT\r\n"));
}

// --- the maker's files --------------------------------------------------------------------------

struct MakerCase
{
    const char* name;
    const char* target;
    int status;
    const char* reason;
    const char* body;
};

class MakerFiles : public GatewayHarness, public ::testing::WithParamInterface<MakerCase>
{
};

TEST_P(MakerFiles, AreAnsweredByTheGatewayWithoutContactingAnyone)
{
    const MakerCase& c = GetParam();
    const HttpReply reply = get(c.target);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_EQ(reply.reason, c.reason);
    EXPECT_EQ(reply.body.toStdString(), c.body);
    EXPECT_FALSE(reply.body.contains("Version#"));
    EXPECT_TRUE(noaa.requests().empty());
    // No transfer was started at all, to NOAA or anywhere else.
    EXPECT_EQ(server->upstream().transfersStarted(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Maker, MakerFiles,
    ::testing::Values(
        MakerCase{"UsageCounter", "http://www.cirrolux.net/assets/CirroluxCount.txt", 204,
                  "Not Counted", ""},
        MakerCase{"UsageCounterWithQuery",
                  "http://www.cirrolux.net/assets/CirroluxCount.txt?user=1", 204, "Not Counted",
                  ""},
        MakerCase{"VersionFile", "http://www.cirrolux.net/assets/cirroluxvs.txt", 404,
                  "No Version File",
                  "<html><head><title>No version file</title></head>\n<body>\n<h1>No version "
                  "file</h1>\n<p>The Cirrolux gateway does not ask the maker's server which "
                  "version is the latest, and no other source it knows says so. Updates of "
                  "Cirrolux come with its package, through the system's package manager.</p>\n"
                  "</body></html>\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- what a shared cache forwards to the gateway as its parent ----------------------------------

struct ForwardCase
{
    const char* name;
    const char* head;
    int refusal; // 0: taken
};

class ForwardedHeads : public ::testing::TestWithParam<ForwardCase>
{
};

TEST_P(ForwardedHeads, AreTakenUnlessABrowserPageSentThem)
{
    const std::optional<HttpReply> refusal =
        gateway::RefusalOf(HttpRequestHead::parse(GetParam().head));
    EXPECT_EQ(refusal ? refusal->status : 0, GetParam().refusal);
}

// Squid 5.7 forwarding the program's request to its parent, as recorded on 127.0.0.1.
#define SQUID_HEAD                                                                                 \
    "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.1\r\n"                               \
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"                      \
    "Host: www.wunderground.com\r\n"                                                               \
    "Via: 1.0 office (squid/5.7)\r\n"                                                              \
    "X-Forwarded-For: 127.0.0.1\r\n"                                                               \
    "Cache-Control: max-age=259200\r\n"                                                            \
    "Connection: keep-alive\r\n"

INSTANTIATE_TEST_SUITE_P(
    Heads, ForwardedHeads,
    ::testing::Values(
        ForwardCase{"SquidParentRequest", SQUID_HEAD "\r\n", 0},
        ForwardCase{"SquidRevalidation",
                    SQUID_HEAD "If-Modified-Since: Thu, 15 Jan 2026 15:00:00 GMT\r\n\r\n", 0},
        ForwardCase{"ProgramDirect",
                    "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n"
                    "Proxy-Connection: Keep-Alive\r\nHost: www.wunderground.com\r\n\r\n",
                    0},
        ForwardCase{"BrowserPageThroughSquid", SQUID_HEAD "Origin: http://evil.example\r\n\r\n",
                    403},
        ForwardCase{"BrowserFetchThroughSquid", SQUID_HEAD "Sec-Fetch-Mode: no-cors\r\n\r\n", 403},
        ForwardCase{"SquidDigestOfThePeer",
                    "GET http://127.0.0.1:8231/squid-internal-periodic/store_digest HTTP/1.1\r\n"
                    "Host: 127.0.0.1:8231\r\nVia: 1.1 office (squid/5.7)\r\n\r\n",
                    502}),
    [](const auto& info) { return std::string(info.param.name); });

#undef SQUID_HEAD

} // namespace
