// The US earthquake map: the USGS feed in both of its published forms, and where the quakes land.
#include "datapictures/DrawnPictures.h"
#include "datapictures/QuakeMap.h"
#include "drawing/GeoMap.h"
#include "imageconvert/ConversionError.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace cirrolux;
using namespace cirrolux::datapictures;

namespace {

// A FeatureCollection as the summary feeds give it (trimmed to the fields read): an earthquake,
// a quarry blast, one without a magnitude and one off the earth.
constexpr std::string_view kGeoJson = R"({"type":"FeatureCollection",
 "metadata":{"generated":1765339200000,"title":"USGS Magnitude 2.5+ Earthquakes, Past Week"},
 "features":[
  {"type":"Feature","properties":{"mag":4.2,"place":"10 km NW of Ojai, CA","time":1765337400000,
   "type":"earthquake"},"geometry":{"type":"Point","coordinates":[-119.3,34.5,8.1]},"id":"ci1"},
  {"type":"Feature","properties":{"mag":2.6,"place":"5 km S of Quarry, TX","time":1765330000000,
   "type":"quarry blast"},"geometry":{"type":"Point","coordinates":[-97.0,30.0,0]},"id":"tx1"},
  {"type":"Feature","properties":{"mag":null,"time":1765330000000,"type":"earthquake"},
   "geometry":{"type":"Point","coordinates":[-110.0,44.0,5]},"id":"uu1"},
  {"type":"Feature","properties":{"mag":3.0,"time":1765330000000,"type":"earthquake"},
   "geometry":{"type":"Point","coordinates":[-200.0,44.0,5]},"id":"bad"},
  {"type":"Feature","properties":{"mag":5.1,"time":1765000000000,"type":"earthquake"},
   "geometry":{"type":"Point","coordinates":[-150.4,61.2,40.0]},"id":"ak1"}]})";

// The CSV form: a header row, quoted places with commas, an explosion left out.
constexpr std::string_view kCsv =
    "time,latitude,longitude,depth,mag,magType,nst,gap,dmin,rms,net,id,updated,place,type\r\n"
    "2026-12-10T03:30:00.000Z,36.2,-89.5,7.5,3.1,md,20,50,0.1,0.2,nm,nm1,"
    "2026-12-10T03:40:00.000Z,\"4 km NE of Ridgely, Tennessee\",earthquake\r\n"
    "2026-12-09T12:00:00.000Z,47.5,-122.0,0,2.5,ml,,,,,uw,uw1,2026-12-09T12:10:00.000Z,"
    "\"Mine, WA\",explosion\r\n"
    "2026-12-08T00:00:00.000Z,not-a-number,-100,5,3.0,ml,,,,,us,us1,,\"x\",earthquake\r\n";

struct FeedCase
{
    const char* name;
    std::string_view feed;
    std::vector<Quake> quakes;
};

class QuakeFeeds : public ::testing::TestWithParam<FeedCase>
{
};

TEST_P(QuakeFeeds, KeepOnlyEarthquakesWithEveryFigure)
{
    const std::vector<Quake> quakes = QuakesOfFeed(GetParam().feed);
    ASSERT_EQ(quakes.size(), GetParam().quakes.size());
    for (std::size_t i = 0; i < quakes.size(); ++i) {
        EXPECT_DOUBLE_EQ(quakes[i].lon, GetParam().quakes[i].lon);
        EXPECT_DOUBLE_EQ(quakes[i].lat, GetParam().quakes[i].lat);
        EXPECT_DOUBLE_EQ(quakes[i].magnitude, GetParam().quakes[i].magnitude);
        EXPECT_EQ(quakes[i].time, GetParam().quakes[i].time);
    }
}

QDateTime utc(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuakeFeeds,
    ::testing::Values(
        FeedCase{"geojson", kGeoJson,
                 {{-119.3, 34.5, 4.2, utc(1765337400000)}, {-150.4, 61.2, 5.1, utc(1765000000000)}}},
        FeedCase{"csv", kCsv,
                 {{-89.5, 36.2, 3.1,
                   QDateTime(QDate(2026, 12, 10), QTime(3, 30), Qt::UTC)}}},
        FeedCase{"empty_week", R"({"type":"FeatureCollection","features":[]})", {}},
        FeedCase{"csv_header_only", "time,latitude,longitude,mag\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadFeed
{
    const char* name;
    std::string_view feed;
    const char* reason;
};

class BadQuakeFeeds : public ::testing::TestWithParam<BadFeed>
{
};

TEST_P(BadQuakeFeeds, AreRefusedWithTheReason)
{
    try {
        QuakesOfFeed(GetParam().feed);
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadQuakeFeeds,
    ::testing::Values(
        BadFeed{"html_page", "<html><body>Service Unavailable</body></html>",
                "the earthquake feed is neither GeoJSON nor CSV"},
        BadFeed{"empty", "", "the earthquake feed is neither GeoJSON nor CSV"},
        BadFeed{"json_without_features", R"({"type":"FeatureCollection"})",
                "the earthquake feed is not a GeoJSON feature collection"},
        BadFeed{"cut_json", R"({"type":"FeatureCollection","features":[{"type":)",
                "the earthquake feed is not a GeoJSON feature collection"},
        BadFeed{"csv_without_positions", "time,depth,mag\n2026-12-10T00:00:00Z,5,3\n",
                "the earthquake feed has no time, latitude, longitude and mag columns"}),
    [](const auto& info) { return std::string(info.param.name); });

// Where a quake of the map lands, and its colour there.
drawing::Rgb colourAt(const drawing::PixelCanvas& canvas, double lon, double lat)
{
    const drawing::MapView view({-128, -64, 22, 52}, 0, 24, 640, 300);
    const QPointF at = view.toPixel(lon, lat);
    return canvas.palette()[canvas.at(static_cast<int>(at.x()), static_cast<int>(at.y()))];
}

TEST(QuakeMap, ColoursEachQuakeByItsAgeWhereItHappened)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(4, 0), Qt::UTC);
    const std::vector<Quake> quakes = {
        {-100.0, 40.0, 5.0, now.addSecs(-1800)},       // past hour: red
        {-90.0, 35.0, 4.0, now.addSecs(-5 * 3600)},    // past day: orange
        {-110.0, 45.0, 4.0, now.addDays(-3)},          // past week: yellow
        {-80.0, 45.0, 4.0, now.addDays(-20)},          // older: blue
        {-100.0, 40.0, 3.0, now.addDays(-6)},          // under the newest, drawn first
    };
    const drawing::PixelCanvas map = QuakeMap(quakes, now, "M2.5+, past week");
    ASSERT_EQ(map.width(), 640);
    ASSERT_EQ(map.height(), 400);
    const std::pair<QPointF, drawing::Rgb> expected[] = {
        {{-100.0, 40.0}, {220, 0, 0}},
        {{-90.0, 35.0}, {255, 140, 0}},
        {{-110.0, 45.0}, {240, 210, 0}},
        {{-80.0, 45.0}, {60, 110, 200}},
    };
    for (const auto& [place, colour] : expected) {
        const drawing::Rgb got = colourAt(map, place.x(), place.y());
        EXPECT_EQ(got.r, colour.r) << place.x() << "," << place.y();
        EXPECT_EQ(got.g, colour.g) << place.x() << "," << place.y();
        EXPECT_EQ(got.b, colour.b) << place.x() << "," << place.y();
    }
    // The background is white: the catalogue shows this picture on white.
    EXPECT_EQ(map.palette()[map.at(630, 390)].r, 255);
}

TEST(QuakeMap, IsAGifTheProgramCanShow)
{
    const DrawStep step =
        DrawFromData({"usgs-quakes-us", "wwwneic.cr.usgs.gov/neis/gifs/usa.gif",
                      QByteArray(kGeoJson.data(), qsizetype(kGeoJson.size())),
                      QStringLiteral("https://earthquake.usgs.gov/earthquakes/feed/v1.0/summary/"
                                     "2.5_week.geojson"),
                      QDateTime(QDate(2026, 12, 10), QTime(4, 0), Qt::UTC), 0});
    EXPECT_TRUE(step.follow.isEmpty());
    EXPECT_EQ(step.size, QSize(640, 400));
    QBuffer buffer;
    buffer.setData(step.gif);
    QImageReader reader(&buffer, "gif");
    const QImage image = reader.read();
    EXPECT_EQ(image.size(), QSize(640, 400));
}

} // namespace
