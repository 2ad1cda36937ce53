// The Factbook and NIFC sites of the emulator: every country's index entry, page, flag and map,
// and the fire report, as the web page window reads them.
#include "CaseName.h"
#include "SamplePlaces.h"

#include "servicesim/FactbookSite.h"
#include "servicesim/ServiceRouter.h"
#include "webwindow/CountryIndex.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

namespace cirrolux::test {
namespace {

using cirrolux::HttpRequestHead;
using servicesim::EmulatorReply;
using servicesim::FactbookSite;
using servicesim::ServiceRouter;

const QDateTime kNow = utc(2005, 8, 12, 11, 30);

EmulatorReply get(const QByteArray& url, const QDateTime& now = kNow)
{
    ServiceRouter router;
    return router.route(HttpRequestHead::parse("GET " + url + " HTTP/1.0\r\n\r\n"), now);
}

QByteArray contentType(const EmulatorReply& reply)
{
    for (const auto& [key, value] : reply.headers)
        if (key.compare("Content-Type", Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

const QByteArray Factbook = "http://www.odci.gov/cia/publications/factbook/";

struct RouteCase
{
    const char* name;
    QByteArray url;
    int status;
    QByteArray type;
};

class WebSiteRoutes : public ::testing::TestWithParam<RouteCase>
{
};

TEST_P(WebSiteRoutes, StatusAndType)
{
    const EmulatorReply reply = get(GetParam().url);
    EXPECT_EQ(reply.status, GetParam().status);
    if (GetParam().status == 200) {
        EXPECT_TRUE(contentType(reply).startsWith(GetParam().type));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WebSiteRoutes,
    ::testing::Values(
        RouteCase{"index", Factbook + "country.html", 200, "text/html"},
        RouteCase{"page", Factbook + "af.html", 200, "text/html"},
        RouteCase{"flag", Factbook + "figures/af-t.gif", 200, "image/gif"},
        RouteCase{"map", Factbook + "figures/zi-150.gif", 200, "image/gif"},
        RouteCase{"unknown_country", Factbook + "qq.html", 404, ""},
        RouteCase{"unknown_figure", Factbook + "figures/af-300.gif", 404, ""},
        RouteCase{"parent_folder", Factbook + "../etc.html", 404, ""},
        RouteCase{"outside_the_folder", "http://www.odci.gov/index.html", 404, ""},
        RouteCase{"fire_report", "http://www.nifc.gov/news/sitreprt.html", 200, "text/html"},
        RouteCase{"nifc_elsewhere", "http://www.nifc.gov/news/other.html", 404, ""},
        RouteCase{"by_path_on_loopback", "http://127.0.0.1/cia/publications/factbook/af.html", 200,
                  "text/html"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FactbookSite, IndexListsEveryCountryInTheWindowsLinkForm)
{
    const QByteArray index = get(Factbook + "country.html").body;
    const std::vector<std::string> entries =
        ParseCountryIndex(std::string_view(index.constData(), std::size_t(index.size())));
    ASSERT_EQ(entries.size(), FactbookSite::countries().size());
    EXPECT_GE(entries.size(), 250u);
    std::set<std::string> codes;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FactbookSite::Country& c = FactbookSite::countries()[i];
        EXPECT_EQ(entries[i], std::string(c.code) + "," + std::string(c.name));
        codes.insert(std::string(c.code));
    }
    EXPECT_EQ(codes.size(), entries.size()) << "codes repeat";
}

// Every country's flag and map are GIF files a viewer can read.
class CountryFigures : public ::testing::TestWithParam<FactbookSite::Country>
{
};

TEST_P(CountryFigures, PageFlagAndMapDecode)
{
    const std::string code(GetParam().code);
    const QByteArray page = get(Factbook + QByteArray::fromStdString(code) + ".html").body;
    EXPECT_TRUE(page.contains("<img src=\"figures/" + QByteArray::fromStdString(code) + "-t.gif"));
    const QImage flag = QImage::fromData(
        get(Factbook + "figures/" + QByteArray::fromStdString(code) + "-t.gif").body, "GIF");
    ASSERT_FALSE(flag.isNull());
    EXPECT_EQ(flag.width(), 72);
    EXPECT_LE(flag.height(), 40);
    const QImage map = QImage::fromData(
        get(Factbook + "figures/" + QByteArray::fromStdString(code) + "-150.gif").body, "GIF");
    ASSERT_FALSE(map.isNull());
    EXPECT_EQ(map.width(), 150);
}

INSTANTIATE_TEST_SUITE_P(Countries, CountryFigures, ::testing::ValuesIn(FactbookSite::countries()),
                         [](const auto& info) { return std::string(info.param.code); });

TEST(FireReport, SameDaySamePageNextDayAnother)
{
    const QByteArray url = "http://www.nifc.gov/news/sitreprt.html";
    const QByteArray morning = get(url, utc(2005, 8, 12, 6, 0)).body;
    EXPECT_EQ(get(url, utc(2005, 8, 12, 23, 0)).body, morning);
    EXPECT_NE(get(url, utc(2005, 8, 13, 6, 0)).body, morning);
    EXPECT_TRUE(morning.contains("Friday, August 12, 2005"));
    EXPECT_TRUE(morning.contains("National Preparedness Level"));
    EXPECT_TRUE(morning.contains("<img src="));
}

} // namespace
} // namespace cirrolux::test
