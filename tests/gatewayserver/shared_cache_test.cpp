// Many desktops, one upstream: Debian's Squid on 127.0.0.1 in front of one gateway, the gateway
// fetching from the fake NOAA. Desktops use the program's own transfer component with Squid as
// their proxy; what the gateway's answers say of their freshness is what lets Squid answer the
// second desktop itself.
#include "GatewayHarness.h"
#include "SquidProxy.h"

#include "gateway/RequestPolicy.h"
#include "net/TNMHTTP.h"

#include <QRegularExpression>
#include <QTimer>

using namespace cirrolux;

namespace {

const std::string Boston = "http://www.wunderground.com/US/MA/Boston.html";

class SharedCache : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (test::SquidProxy::program().isEmpty())
            GTEST_SKIP() << "squid is not installed (scripts/setup installs Debian's squid)";
        index = test::InstalledStationIndex();
        if (!index)
            GTEST_SKIP() << "weather-util-data is not installed";
        live.emplace(*index, cirrolux::CatalogueStationDirectory());
        // Squid ages answers by the real clock, so the gateway runs on it, and the report is
        // one of this minute.
        const QDateTime now = QDateTime::currentDateTimeUtc();
        noaa.setFile("/data/observations/metar/stations/KBOS.TXT",
                     now.toString(QStringLiteral("yyyy/MM/dd HH:mm")).toLatin1() + "\nKBOS " +
                         now.toString(QStringLiteral("ddHHmm")).toLatin1() +
                         "Z 31012KT 10SM FEW045 M01/M09 A3012\n");
        ASSERT_TRUE(noaa.listen());
        gateway::UpstreamSettings settings;
        settings.observationsBase = noaa.observationsBase();
        settings.productsBase = noaa.productsBase();
        server.emplace(*index, *live, settings);
        ASSERT_TRUE(server->listen(0));
        ASSERT_TRUE(squid.start(server->port()));
    }

    // One desktop's request through Squid, with the program's transfer component.
    std::string desktopGet(const std::string& url, int* status = nullptr,
                           std::string* head = nullptr)
    {
        TNMHTTP http;
        http.TimeOut = 20000;
        http.Proxy = "127.0.0.1";
        http.ProxyPort = squid.port();
        // The component reads a body until the connection closes: a proxy that kept it open
        // would hold the test, so the wait is bounded.
        QTimer::singleShot(20000, &http, [&http] { http.AbortTransfer(); });
        http.Get(url);
        if (status)
            *status = http.ReplyStatus();
        if (head)
            *head = http.Header;
        return http.Body;
    }

    const gateway::StationIndex* index = nullptr;
    std::optional<gateway::LiveConditions> live;
    fakenoaa::FakeNoaa noaa;
    std::optional<gateway::GatewayServer> server;
    test::SquidProxy squid;
};

qint64 maxAgeIn(const std::string& head)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Cache-Control: max-age=(\\d+)"))
            .match(QString::fromStdString(head));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

TEST_F(SharedCache, TwoDesktopsAskingForOnePageReachNoaaOnce)
{
    std::string firstHead;
    std::string secondHead;
    int firstStatus = 0;
    int secondStatus = 0;
    const std::string first = desktopGet(Boston, &firstStatus, &firstHead);
    const std::string second = desktopGet(Boston, &secondStatus, &secondHead);
    EXPECT_EQ(firstStatus, 200) << firstHead << squid.log().constData();
    EXPECT_EQ(secondStatus, 200) << secondHead;
    EXPECT_NE(first.find("Boston"), std::string::npos);
    EXPECT_EQ(second, first);
    EXPECT_EQ(noaa.hits("/data/observations/metar/stations/KBOS.TXT"), 1);
    EXPECT_EQ(server->requestCount(), 1u) << "the second desktop was answered by Squid alone\n"
                                          << squid.log().constData();

    // The freshness the gateway gave: the observation was just fetched, so nearly its whole
    // lifetime is left; the dates are in HTTP form.
    const qint64 maxAge = maxAgeIn(firstHead);
    EXPECT_GT(maxAge, 540) << firstHead;
    EXPECT_LE(maxAge, 600) << firstHead;
    const QRegularExpression date(
        QStringLiteral("\\w{3}, \\d{2} \\w{3} \\d{4} \\d{2}:\\d{2}:\\d{2} GMT\r?\n"));
    for (const char* name : {"\nDate: ", "\nLast-Modified: "}) {
        const std::size_t at = firstHead.find(name);
        ASSERT_NE(at, std::string::npos) << name << firstHead;
        EXPECT_TRUE(date.match(QString::fromStdString(firstHead.substr(at + std::strlen(name))))
                        .capturedStart() == 0)
            << firstHead;
    }
    // Squid says the second answer was its own.
    EXPECT_NE(secondHead.find("X-Cache: HIT"), std::string::npos) << secondHead;
}

// What the gateway says must not be kept goes to the gateway each time: a refusal, the version
// file, the usage counter, the maker's home page. None of them reaches NOAA.
TEST_F(SharedCache, AnswersMarkedNotStoredReachTheGatewayEachTime)
{
    struct Case
    {
        const char* url;
        int status;
    };
    for (const Case& c : {Case{"http://www.cirrolux.net/assets/cirroluxvs.txt", 404},
                          Case{"http://www.cirrolux.net/assets/CirroluxCount.txt", 204},
                          Case{"http://www.cirrolux.net/", 503}}) {
        const std::size_t before = server->requestCount();
        for (int desktop = 0; desktop < 2; ++desktop) {
            int status = 0;
            std::string head;
            desktopGet(c.url, &status, &head);
            EXPECT_EQ(status, c.status) << c.url << "\n" << head;
            EXPECT_NE(head.find("Cache-Control: no-store"), std::string::npos) << head;
        }
        EXPECT_EQ(server->requestCount() - before, 2u) << c.url << squid.log().constData();
    }
    EXPECT_TRUE(noaa.requests().empty());
}

} // namespace
