// The gateway's live pictures, offline: a fake upstream on 127.0.0.1 serves recorded pictures
// under "/<source host>/<path>", the gateway fetches them through --image-upstream, converts
// them and answers the program's picture requests.
#include "GatewayHarness.h"
#include "TestPictures.h"
#include "gateway/ImageCheck.h"
#include "gateway/LiveImages.h"
#include "livesources/SourceTable.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace cirrolux;
using namespace cirrolux::test;

namespace {

// Rows as the shipped table has them, for requests the program makes.
constexpr std::string_view kTable =
    "request\tlive\tconversion\tmax_age\tcredit\tconfidence\treason\n"
    "www.weatherbank.com/free/hrad/hr00us.gif\thttps://radar.weather.gov/ridge/standard/"
    "CONUS_loop.gif\tanimate-gif\t300\tNOAA/NWS radar mosaic (RIDGE)\thigh\t-\n"
    "thunder.eas.purdue.edu/surface/prec_mon.gif\thttps://hprcc.example.edu/maps/missing.png "
    "https://hprcc.example.edu/maps/30dPNormUS.png\tto-gif\t86400\tHPRCC\tmedium\t-\n"
    "wxp.eas.purdue.edu/radar/rad_comp.gif\thttps://radar.weather.gov/ridge/standard/"
    "CONUS_0.gif\tpass-through\t300\tNOAA/NWS radar mosaic (RIDGE)\thigh\t-\n"
    "www.weatherbank.com/free/hrad/big.jpg\thttps://cdn.star.example.gov/GOES16/{YYYY}/"
    "{HHMM}.png\tto-jpeg\t600\tNOAA/NESDIS STAR\tmedium\t-\n"
    "weather.yahoo.com/graphics/radar/nat_rad.wni.gif\thttps://www.spc.example.gov/"
    "text.gif\tto-gif\t3600\tSPC\thigh\t-\n"
    "www.weatherbank.com/free/hrad/none.gif\t-\tnone\t-\t-\tnone\tcommercial only\n"
    "www.weatherbank.com/free/hrad/quakes.gif\thttps://earthquake.usgs.gov/feed.geojson"
    "\tdrawn:usgs-quakes-us\t600\tUSGS\tmedium\t-\n"
    "www.weatherbank.com/free/hrad/quakes2.gif\thttps://earthquake.usgs.gov/moved.geojson"
    "\tdrawn:usgs-quakes-us\t600\tUSGS\tmedium\t-\n"
    "www.census.gov/cgi-bin/ipc/pcwgif\thttps://www.census.gov/popclock/data/population.php/"
    "world\tdrawn:popclock-world\t60\tU.S. Census Bureau\tmedium\t-\n"
    "www.weatherbank.com/free/hrad/tides.gif\thttps://tides.example.gov/today.json"
    "\tdrawn:tide-chart\t600\tTides\tlow\t-\n"
    "www.kxan.com/skycam/skycam.jpg\thttps://cam.example.gov/austin.jpg\tpass-through+caption"
    "\t120\tCity of Austin\tmedium\t-\n"
    "www.usda.gov/nass/graphics/crn_harv.gif\thttps://usda.library.cornell.edu/api/v1/release/"
    "findByIdentifier/CropProg?latest=true\tdrawn:nass-crop-progress\t86400\tUSDA NASS\tmedium"
    "\t-\n";

// ESMIS's latest release: the list names the text file, which the chart is drawn from.
constexpr char kCropRelease[] =
    R"([{"identifier":"CropProg","files":["https://downloads.usda.library.cornell.edu/usda-esmis/)"
    R"(files/8336h188j/cropprog1225/prog4925.pdf","https://downloads.usda.library.cornell.edu/)"
    R"(usda-esmis/files/8336h188j/cropprog1225/prog4925.txt"]}])";

// A week of the USGS summary feed, trimmed to the fields the map reads.
constexpr char kQuakeFeed[] =
    R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"mag":4.2,)"
    R"("time":1765337400000,"type":"earthquake"},"geometry":{"type":"Point",)"
    R"("coordinates":[-119.3,34.5,8.1]}}]})";
constexpr char kWorldClock[] = R"({"world":{"population":8123456789}})";

class LiveImagesTest : public GatewayHarness
{
protected:
    void SetUp() override
    {
        GatewayHarness::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        table = std::make_shared<const SourceTable>(SourceTable::parse(kTable));
        gateway::UpstreamSettings settings;
        settings.timeout = std::chrono::milliseconds(400);
        images = std::make_unique<gateway::LiveImages>(settings, [this] { return now; });
        images->setTable(table);
        images->setUpstream(upstream());
        server->setLiveImages(images.get());
        noaa.setFile("/radar.weather.gov/ridge/standard/CONUS_loop.gif", RadarLoop(120, 90, 2));
        noaa.setFile("/radar.weather.gov/ridge/standard/CONUS_0.gif",
                     StillGif(MapPicture(2000, 1500)));
        noaa.setFile("/hprcc.example.edu/maps/30dPNormUS.png",
                     Encoded(MapPicture(300, 200), "png"));
        noaa.setFile("/cdn.star.example.gov/GOES16/2026/1500.png",
                     Encoded(MapPicture(640, 480), "png"));
        noaa.setFile("/www.spc.example.gov/text.gif", "this is no picture at all");
        noaa.setFile("/earthquake.usgs.gov/feed.geojson", kQuakeFeed);
        // A feed address that now answers with a page instead of data.
        noaa.setFile("/earthquake.usgs.gov/moved.geojson", "<html>moved</html>");
        noaa.setFile("/www.census.gov/popclock/data/population.php/world", kWorldClock);
        noaa.setFile("/cam.example.gov/austin.jpg", Encoded(MapPicture(320, 240), "jpeg"));
        noaa.setFile("/usda.library.cornell.edu/api/v1/release/findByIdentifier/"
                     "CropProg?latest=true",
                     kCropRelease);
        QFile crop(QStringLiteral(CIRROLUX_CROP_PROGRESS_TEXT));
        EXPECT_TRUE(crop.open(QIODevice::ReadOnly));
        noaa.setFile("/downloads.usda.library.cornell.edu/usda-esmis/files/8336h188j/"
                     "cropprog1225/prog4925.txt",
                     crop.readAll());
        // The Factbook's final edition: Germany's web-sized flag, France's large original only,
        // Germany's map only as the original (maps.png/gm.png answers 404).
        const QByteArray factbook = "/raw.githubusercontent.com/openfactbook/master/master/";
        noaa.setFile(factbook + "flags.png/gm.png", Encoded(MapPicture(150, 90), "png"));
        noaa.setFile(factbook + "flags-orig.png/fr.png", Encoded(MapPicture(900, 600), "png"));
        noaa.setFile(factbook + "maps-orig.png/gm.png", Encoded(MapPicture(800, 600), "png"));
    }

    QString upstream() const { return QStringLiteral("http://127.0.0.1:%1").arg(noaa.port()); }

    std::shared_ptr<const SourceTable> table;
    std::unique_ptr<gateway::LiveImages> images;
};

struct PictureCase
{
    const char* name;
    const char* request;
    const char* contentType;
    const char* format; // what Qt reads from the reply
    QSize size;
    int frames;
};

class LiveImagesPictures : public LiveImagesTest, public ::testing::WithParamInterface<PictureCase>
{
};

TEST_P(LiveImagesPictures, AreConvertedToTheTypeTheProgramAsksFor)
{
    const PictureCase& c = GetParam();
    const HttpReply reply = get(c.request);
    ASSERT_EQ(reply.status, 200) << reply.body.left(400).toStdString();
    EXPECT_EQ(reply.header("Content-Type"), c.contentType);
    const Decoded decoded = Decode(reply.body);
    EXPECT_EQ(decoded.format, c.format);
    EXPECT_EQ(decoded.size, c.size);
    EXPECT_EQ(decoded.frames, c.frames);
    EXPECT_FALSE(reply.header("X-Cirrolux-Credit").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LiveImagesPictures,
    ::testing::Values(
        // The WeatherBank loop animates: both frames reach the program.
        PictureCase{"radar_loop", "http://www.weatherbank.com/free/hrad/hr00us.gif", "image/gif",
                    "gif", QSize(120, 90), 2},
        // The first address answers 404; the second is a PNG made a GIF.
        PictureCase{"png_to_gif_second_address",
                    "http://thunder.eas.purdue.edu/surface/prec_mon.gif", "image/gif", "gif",
                    QSize(300, 200), 1},
        // 2000 x 1500 is scaled into 1280 x 1024 keeping its aspect ratio.
        PictureCase{"size_cap", "http://wxp.eas.purdue.edu/radar/rad_comp.gif", "image/gif", "gif",
                    QSize(1280, 960), 1},
        // Fill-ins: the year and the latest 10-minute slot of the gateway's clock.
        PictureCase{"png_to_jpeg_filled_in", "http://www.weatherbank.com/free/hrad/big.jpg",
                    "image/jpeg", "jpeg", QSize(640, 480), 1},
        // The Factbook's flags and maps by country code: a flag at its own size, a large flag
        // fitted in 300 x 200, a map from the second folder fitted in 400 x 400.
        PictureCase{"factbook_flag",
                    "http://www.odci.gov/cia/publications/factbook/figures/gm-t.gif", "image/gif",
                    "gif", QSize(150, 90), 1},
        PictureCase{"factbook_large_flag",
                    "http://www.odci.gov/cia/publications/factbook/figures/fr-t.gif", "image/gif",
                    "gif", QSize(300, 200), 1},
        PictureCase{"factbook_map",
                    "http://www.odci.gov/cia/publications/factbook/figures/gm-150.gif", "image/gif",
                    "gif", QSize(400, 300), 1},
        // Drawn from data: the earthquake map and the population clock.
        PictureCase{"drawn_quake_map", "http://www.weatherbank.com/free/hrad/quakes.gif",
                    "image/gif", "gif", QSize(640, 400), 1},
        PictureCase{"drawn_population_clock", "http://www.census.gov/cgi-bin/ipc/pcwgif",
                    "image/gif", "gif", QSize(480, 150), 1},
        // A camera still that names neither its owner nor its time gets a caption strip.
        PictureCase{"captioned_camera", "http://www.kxan.com/skycam/skycam.jpg", "image/jpeg",
                    "jpeg", QSize(320, 240 + 11), 1},
        // Drawn in two steps: the release list, then the report text it names.
        PictureCase{"drawn_crop_chart", "http://www.usda.gov/nass/graphics/crn_harv.gif",
                    "image/gif", "gif", QSize(600, 450), 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct HonestCase
{
    const char* name;
    const char* request;
    int status;
    const char* text; // on the page
};

class LiveImagesHonest : public LiveImagesTest, public ::testing::WithParamInterface<HonestCase>
{
};

TEST_P(LiveImagesHonest, NeverInventAPicture)
{
    const HonestCase& c = GetParam();
    const HttpReply reply = get(c.request);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_TRUE(reply.header("Content-Type").startsWith("text/html"));
    EXPECT_NE(reply.body.indexOf(c.text), -1) << reply.body.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, LiveImagesHonest,
    ::testing::Values(
        HonestCase{"conversion_fails", "http://weather.yahoo.com/graphics/radar/nat_rad.wni.gif",
                   502, "is not a PNG, GIF or JPEG"},
        HonestCase{"no_source_row", "http://www.weatherbank.com/free/hrad/none.gif", 503,
                   "No live source for the picture"},
        HonestCase{"drawn_kind_unknown", "http://www.weatherbank.com/free/hrad/tides.gif", 503,
                   "No live source for the picture"},
        HonestCase{"drawn_from_a_page_not_data",
                   "http://www.weatherbank.com/free/hrad/quakes2.gif", 502,
                   "the earthquake feed is neither GeoJSON nor CSV"},
        HonestCase{"not_in_table", "http://www.weatherbank.com/free/hrad/other.gif", 503,
                   "No live source for the picture"},
        // Afghanistan's map is in neither folder of the fake.
        HonestCase{"factbook_map_missing",
                   "http://www.odci.gov/cia/publications/factbook/figures/af-150.gif", 502,
                   "figures/af-150.gif could not be used (127.0.0.1: HTTP "
                   "status 404)"},
        HonestCase{"factbook_unknown_code",
                   "http://www.odci.gov/cia/publications/factbook/figures/qq-t.gif", 503,
                   "No live source for the picture qq-t.gif"},
        HonestCase{"factbook_other_figure",
                   "http://www.odci.gov/cia/publications/factbook/figures/gm-x.gif", 503,
                   "No live source for the picture gm-x.gif"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LiveImagesTest, AFailingSourceGivesTheHonestAnswer)
{
    noaa.setFailing(500);
    const HttpReply reply = get("http://www.weatherbank.com/free/hrad/hr00us.gif");
    EXPECT_EQ(reply.status, 502);
    EXPECT_NE(reply.body.indexOf("HTTP status 500"), -1) << reply.body.toStdString();
    EXPECT_EQ(images->cachedPictures(), 0u);
}

TEST_F(LiveImagesTest, ARefreshAnsweredWith304KeepsTheCachedPicture)
{
    const QByteArray path = "/radar.weather.gov/ridge/standard/CONUS_loop.gif";
    const HttpReply first = get("http://www.weatherbank.com/free/hrad/hr00us.gif");
    ASSERT_EQ(first.status, 200);
    // Within the row's 300 s the cached picture is answered without a transfer.
    now = now.addSecs(299);
    EXPECT_EQ(get("http://www.weatherbank.com/free/hrad/hr00us.gif").body, first.body);
    EXPECT_EQ(noaa.hits(path), 1);
    // Then the refresh is conditional; the unchanged file costs a 304 and the copy stays.
    now = now.addSecs(2);
    const HttpReply second = get("http://www.weatherbank.com/free/hrad/hr00us.gif");
    EXPECT_EQ(second.status, 200);
    EXPECT_EQ(second.body, first.body);
    ASSERT_EQ(noaa.hits(path), 2);
    EXPECT_FALSE(noaa.requests().back().header("If-None-Match").isEmpty());
    // A 304 makes the copy fresh again.
    now = now.addSecs(100);
    get("http://www.weatherbank.com/free/hrad/hr00us.gif");
    EXPECT_EQ(noaa.hits(path), 2);
    // A changed file replaces it.
    now = now.addSecs(400);
    noaa.setFile(path, RadarLoop(120, 90, 3));
    EXPECT_EQ(Decode(get("http://www.weatherbank.com/free/hrad/hr00us.gif").body).frames, 3);
}

TEST_F(LiveImagesTest, AFailureIsRememberedForAWhile)
{
    images->setLimits(gateway::ImageCacheLimits{512, 32u << 20, 300});
    noaa.setFailing(500);
    EXPECT_EQ(get("http://www.weatherbank.com/free/hrad/hr00us.gif").status, 502);
    noaa.setFailing(0);
    // Within the memory the sources are not asked again.
    const HttpReply again = get("http://www.weatherbank.com/free/hrad/hr00us.gif");
    EXPECT_EQ(again.status, 502);
    EXPECT_NE(again.body.indexOf("HTTP status 500"), -1);
    EXPECT_EQ(images->fetcher().transfersStarted(), 1);
    WaitFor([] { return false; }, 350);
    EXPECT_EQ(get("http://www.weatherbank.com/free/hrad/hr00us.gif").status, 200);
    EXPECT_EQ(images->fetcher().transfersStarted(), 2);
}

TEST_F(LiveImagesTest, AStaleCopyIsAnsweredWhenTheSourceFails)
{
    const HttpReply first = get("http://www.weatherbank.com/free/hrad/hr00us.gif");
    ASSERT_EQ(first.status, 200);
    now = now.addSecs(3600);
    noaa.setFailing(503);
    EXPECT_EQ(get("http://www.weatherbank.com/free/hrad/hr00us.gif").body, first.body);
}

TEST_F(LiveImagesTest, RequestsWhileATransferRunsWaitForIt)
{
    std::vector<HttpReply> replies;
    for (int i = 0; i < 3; ++i)
        server->answer("GET http://www.weatherbank.com/free/hrad/hr00us.gif HTTP/1.0\r\n\r\n",
                       [&](const HttpReply& r) { replies.push_back(r); });
    ASSERT_TRUE(WaitFor([&] { return replies.size() == 3; }, 5000));
    EXPECT_EQ(noaa.hits("/radar.weather.gov/ridge/standard/CONUS_loop.gif"), 1);
    EXPECT_EQ(images->fetcher().transfersStarted(), 1);
    for (const HttpReply& reply : replies)
        EXPECT_EQ(Decode(reply.body).frames, 2);
}

TEST_F(LiveImagesTest, TheCacheStaysWithinItsBytes)
{
    images->setLimits(gateway::ImageCacheLimits{16, 40 * 1024, 60 * 1000});
    get("http://www.weatherbank.com/free/hrad/hr00us.gif");
    get("http://wxp.eas.purdue.edu/radar/rad_comp.gif");
    get("http://thunder.eas.purdue.edu/surface/prec_mon.gif");
    EXPECT_LE(images->cachedBytes(), 40u * 1024);
    EXPECT_GE(images->cachedPictures(), 1u);
}

TEST_F(LiveImagesTest, RedirectsAreFollowedOnlyWithinTheSourcesHost)
{
    const QByteArray moved = "/radar.weather.gov/ridge/standard/CONUS_0.gif";
    const QByteArray target = "/radar.weather.gov/ridge/standard/CONUS_0_new.gif";
    noaa.setFile(target, StillGif(MapPicture(200, 100)));
    noaa.setRedirect(moved, upstream().toLatin1() + target);
    const HttpReply within = get("http://wxp.eas.purdue.edu/radar/rad_comp.gif");
    EXPECT_EQ(within.status, 200);
    EXPECT_EQ(Decode(within.body).size, QSize(200, 100));

    // "localhost" is another host than the source's 127.0.0.1.
    noaa.setRedirect("/hprcc.example.edu/maps/30dPNormUS.png",
                     QStringLiteral("http://localhost:%1").arg(noaa.port()).toLatin1() + target);
    const HttpReply elsewhere = get("http://thunder.eas.purdue.edu/surface/prec_mon.gif");
    EXPECT_EQ(elsewhere.status, 502);
    EXPECT_NE(elsewhere.body.indexOf("which is not followed"), -1) << elsewhere.body.toStdString();
    EXPECT_EQ(noaa.hits(target), 1);
}

TEST_F(LiveImagesTest, AtMostTwoTransfersGoToOneHost)
{
    noaa.setFile("/radar.weather.gov/ridge/standard/KOHX_loop.gif", RadarLoop(40, 30, 2));
    auto more = std::make_shared<const SourceTable>(SourceTable::parse(
        std::string(kTable) +
        "www.cirrolux.net/assets/images/wbank/TN_radar.GIF\thttps://radar.weather.gov/ridge/"
        "standard/KOHX_loop.gif\tanimate-gif\t300\tNOAA/NWS radar KOHX (RIDGE)\tmedium\t-\n"));
    images->setTable(more);
    noaa.setSilent(true);
    int answered = 0;
    for (const char* request : {"http://www.weatherbank.com/free/hrad/hr00us.gif",
                                "http://wxp.eas.purdue.edu/radar/rad_comp.gif",
                                "http://www.cirrolux.net/assets/images/wbank/TN_radar.GIF"})
        server->answer(QByteArray("GET ") + request + " HTTP/1.0\r\n\r\n",
                       [&](const HttpReply&) { ++answered; });
    WaitFor([&] { return noaa.requests().size() >= 2; }, 2000);
    WaitFor([] { return false; }, 150);
    EXPECT_EQ(noaa.requests().size(), 2u);
    EXPECT_EQ(images->fetcher().transfersStarted(), 2);
    // The silent source times out (400 ms); then the third transfer starts.
    EXPECT_TRUE(WaitFor([&] { return images->fetcher().transfersStarted() == 3; }, 3000));
}

struct FillCase
{
    const char* address;
    QDateTime at;
    const char* expected;
};

// The caption's time is the source's Last-Modified when it is a date no later than the fetch.
TEST(LiveImagesCaption, NamesTheCreditAndWhenThePictureWasMade)
{
    SourceRow row;
    row.credit = "City of Austin";
    const QDateTime fetched(QDate(2026, 12, 10), QTime(3, 50, 30), QTimeZone::utc());
    const std::pair<QByteArray, std::string> cases[] = {
        {"Thu, 10 Dec 2026 03:40:00 GMT", "City of Austin, 10 Dec 2026 03:40 UTC"},
        {"Thu, 10 Dec 2026 04:40:00 +0100", "City of Austin, 10 Dec 2026 03:40 UTC"},
        {"", "City of Austin, 10 Dec 2026 03:50 UTC"},
        {"Fri, 11 Dec 2026 03:40:00 GMT", "City of Austin, 10 Dec 2026 03:50 UTC"},
        {"yesterday", "City of Austin, 10 Dec 2026 03:50 UTC"},
    };
    for (const auto& [lastModified, caption] : cases)
        EXPECT_EQ(gateway::LiveImages::captionOf(row, lastModified, fetched), caption)
            << lastModified.constData();
}

TEST(LiveImagesFillIns, TakeTheUtcDateAndTheLatestTenMinuteSlot)
{
    const FillCase cases[] = {
        {"https://h/{YYYY}/{YYYYMM}/{YYYYMMDD}_{HHMM}.png",
         QDateTime(QDate(2026, 3, 9), QTime(23, 59, 59), QTimeZone::utc()),
         "https://h/2026/202603/20260309_2350.png"},
        {"https://h/{HHMM}{HHMM}", QDateTime(QDate(2026, 3, 9), QTime(0, 9), QTimeZone::utc()),
         "https://h/00000000"},
        // A local time is taken in UTC.
        {"https://h/{YYYYMMDD}", QDateTime(QDate(2026, 1, 1), QTime(1, 0), QTimeZone(3600 * 3)),
         "https://h/20251231"},
    };
    for (const FillCase& c : cases)
        EXPECT_EQ(gateway::LiveImages::filled(c.address, c.at), c.expected) << c.address;
}

TEST(LiveImagesAddresses, AreMappedOntoTheUpstreamByHostAndPath)
{
    EXPECT_EQ(gateway::LiveImages::mapped(
                  QUrl(QStringLiteral("https://Radar.Weather.gov/ridge/a.gif?x=1")),
                  QStringLiteral("http://127.0.0.1:81"))
                  .toString(),
              QStringLiteral("http://127.0.0.1:81/radar.weather.gov/ridge/a.gif?x=1"));
    EXPECT_EQ(gateway::LiveImages::mapped(QUrl(QStringLiteral("https://radar.weather.gov/a.gif")),
                                          QString())
                  .toString(),
              QStringLiteral("https://radar.weather.gov/a.gif"));
}

TEST_F(LiveImagesTest, CheckPrintsEveryRowAndTheSummary)
{
    gateway::UpstreamSettings settings;
    settings.timeout = std::chrono::milliseconds(2000);
    gateway::ImageCheck check(*table, settings, upstream() + QStringLiteral("/"),
                              {"www.weatherbank.com/free/hrad/hr00us.gif",
                               "thunder.eas.purdue.edu/surface/prec_mon.gif",
                               "weather.yahoo.com/graphics/radar/nat_rad.wni.gif",
                               "www.weatherbank.com/free/hrad/none.gif"});
    const std::vector<gateway::CheckLine> lines = check.run(now);
    const QString base = upstream();
    const std::string expected =
        "entry | address | status | bytes | after conversion | verdict\n"
        "www.weatherbank.com/free/hrad/hr00us.gif | " +
        base.toStdString() + "/radar.weather.gov/ridge/standard/CONUS_loop.gif | 200 | " +
        std::to_string(RadarLoop(120, 90, 2).size()) +
        " | gif 120x90 2 frames | live\n"
        "thunder.eas.purdue.edu/surface/prec_mon.gif | " +
        base.toStdString() + "/hprcc.example.edu/maps/30dPNormUS.png | 200 | " +
        std::to_string(Encoded(MapPicture(300, 200), "png").size()) +
        " | gif 300x200 | live\n"
        "wxp.eas.purdue.edu/radar/rad_comp.gif | " +
        base.toStdString() + "/radar.weather.gov/ridge/standard/CONUS_0.gif | 200 | " +
        std::to_string(StillGif(MapPicture(2000, 1500)).size()) +
        " | gif 1280x960 | live\n"
        "www.weatherbank.com/free/hrad/big.jpg | " +
        base.toStdString() + "/cdn.star.example.gov/GOES16/2026/1500.png | 200 | " +
        std::to_string(Encoded(MapPicture(640, 480), "png").size()) +
        " | jpeg 640x480 | live\n"
        "weather.yahoo.com/graphics/radar/nat_rad.wni.gif | " +
        base.toStdString() + "/www.spc.example.gov/text.gif | 200 | 25 | " + lines[4].result +
        " | FAILED\n"
        "www.weatherbank.com/free/hrad/none.gif | - | - | 0 | - | no source\n"
        "www.weatherbank.com/free/hrad/quakes.gif | " +
        base.toStdString() + "/earthquake.usgs.gov/feed.geojson | 200 | " +
        std::to_string(sizeof kQuakeFeed - 1) + " | drawn gif 640x400 | live\n" +
        "www.weatherbank.com/free/hrad/quakes2.gif | " + base.toStdString() +
        "/earthquake.usgs.gov/moved.geojson | 200 | 18 | the earthquake feed is neither GeoJSON "
        "nor CSV | FAILED\n"
        "www.census.gov/cgi-bin/ipc/pcwgif | " +
        base.toStdString() + "/www.census.gov/popclock/data/population.php/world | 200 | " +
        std::to_string(sizeof kWorldClock - 1) + " | drawn gif 480x150 | live\n" +
        "www.weatherbank.com/free/hrad/tides.gif | - | - | 0 | - | not drawn\n"
        "www.kxan.com/skycam/skycam.jpg | " +
        base.toStdString() + "/cam.example.gov/austin.jpg | 200 | " +
        std::to_string(Encoded(MapPicture(320, 240), "jpeg").size()) + " | jpeg 320x251 | live\n" +
        "www.usda.gov/nass/graphics/crn_harv.gif | " + base.toStdString() +
        "/usda.library.cornell.edu/api/v1/release/findByIdentifier/CropProg?latest=true | 200+200 | " +
        std::to_string(sizeof kCropRelease - 1 + QFileInfo(QStringLiteral(CIRROLUX_CROP_PROGRESS_TEXT)).size()) +
        " | drawn gif 600x450 | live\n" +
        "www.odci.gov/cia/publications/factbook/figures/gm-t.gif | " +
        base.toStdString() + "/raw.githubusercontent.com/openfactbook/master/master/flags.png/" +
        "gm.png | 200 | " + std::to_string(Encoded(MapPicture(150, 90), "png").size()) +
        " | gif 150x90 | live\n"
        "www.odci.gov/cia/publications/factbook/figures/gm-150.gif | " +
        base.toStdString() +
        "/raw.githubusercontent.com/openfactbook/master/master/maps-orig.png/gm.png | 200 | " +
        std::to_string(Encoded(MapPicture(800, 600), "png").size()) + " | gif 400x300 | live\n";
    EXPECT_EQ(check.table(lines), expected);
    EXPECT_NE(lines[4].result.find("is not a PNG, GIF or JPEG"), std::string::npos)
        << lines[4].result;
    EXPECT_EQ(check.summary(lines),
              "2 of 4 images live (1 high, 1 medium, 0 low confidence); 8 of 12 table rows live; "
              "Factbook flag and map live\n");
    // The failed SPC row is high confidence.
    EXPECT_EQ(gateway::ImageCheck::exitStatus(lines), 1);
}

} // namespace

namespace {

// The installed program's --check with the shipped table against the fake upstream, which has
// the CONUS loop only: its rows are live, the rest fail, and high-confidence rows failing
// make the exit status 1.
TEST(LiveImagesCheckCommand, PrintsTheShippedTableAgainstTheFake)
{
    fakenoaa::FakeNoaa upstream;
    ASSERT_TRUE(upstream.listen());
    upstream.setFile("/radar.weather.gov/ridge/standard/CONUS_loop.gif", RadarLoop(120, 90, 2));
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(upstream.port());
    QProcess check;
    check.start(QStringLiteral(CIRROLUX_GATEWAY_EXE),
                {QStringLiteral("--check"), QStringLiteral("--check-only"),
                 QStringLiteral("images"), QStringLiteral("--sources"),
                 QStringLiteral(CIRROLUX_SHIPPED_SOURCE_TABLE), QStringLiteral("--image-upstream"),
                 base, QStringLiteral("--timeout"), QStringLiteral("2000")});
    ASSERT_TRUE(WaitFor([&] { return check.state() == QProcess::NotRunning; }, 60000));
    const QStringList lines = QString::fromUtf8(check.readAllStandardOutput()).split(u'\n');
    EXPECT_EQ(check.exitCode(), 1);
    ASSERT_GE(lines.size(), 160);
    EXPECT_EQ(lines[0],
              QStringLiteral("entry | address | status | bytes | after conversion | verdict"));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("www.weatherbank.com/free/hrad/hr00us.gif | ") + base +
                       QStringLiteral("/radar.weather.gov/ridge/standard/CONUS_loop.gif | 200 | ") +
                       QString::number(RadarLoop(120, 90, 2).size()) +
                       QStringLiteral(" | gif 120x90 2 frames | live")));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("www.cirrolux.net/assets/images/wbank/TN_radar.GIF | ") + base +
        QStringLiteral("/radar.weather.gov/ridge/standard/KOHX_loop.gif | 404 | 0 | HTTP status "
                       "404 | FAILED")));
    // Rows without a source name no address.
    EXPECT_EQ(lines.filter(QStringLiteral(" | - | - | 0 | - | no source")).size(), 27);
    // Three catalogue images (WeatherBank, Plymouth, EarthWatch) and the US loop under the
    // maker's address share the CONUS loop.
    // The fake has no Factbook pictures: both addresses of Germany's map answer 404.
    EXPECT_EQ(lines[158].toStdString(),
              "www.odci.gov/cia/publications/factbook/figures/gm-150.gif | " + base.toStdString() +
                  "/raw.githubusercontent.com/openfactbook/master/master/maps-orig.png/gm.png | "
                  "404 | 0 | HTTP status 404 | FAILED");
    EXPECT_EQ(lines[159].toStdString(),
              "3 of 99 images live (3 high, 0 medium, 0 low confidence); 4 of 156 table rows "
              "live; Factbook flag and map not live");
}

} // namespace
