// The population clocks: the Census Bureau's clock feed carried on to the time of fetching, as
// its own page does, and refused when it holds no figure.
#include "datapictures/DrawnPictures.h"
#include "datapictures/PopulationClock.h"
#include "imageconvert/ConversionError.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace cirrolux;
using namespace cirrolux::datapictures;

namespace {

const QDateTime kFetched(QDate(2026, 12, 10), QTime(4, 0), Qt::UTC);
const qint64 kFetchedSecs = kFetched.toSecsSinceEpoch();

struct ClockCase
{
    const char* name;
    std::string json;
    std::int64_t population;
    QDateTime asOf;
};

class PopulationClocks : public ::testing::TestWithParam<ClockCase>
{
};

TEST_P(PopulationClocks, GiveTheFigureAndItsTime)
{
    const PopulationFigure figure = PopulationOfClock(GetParam().json, kFetched);
    EXPECT_EQ(figure.population, GetParam().population);
    EXPECT_EQ(figure.asOf, GetParam().asOf);
}

std::string clock(const std::string& body)
{
    return "{\"world\":{" + body + "}}";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PopulationClocks,
    ::testing::Values(
        // 100 s at 2.5 a second since the base figure.
        ClockCase{"carried_on", clock("\"population\":8000000000,\"population_rate\":2.5,"
                                      "\"rate_interval\":\"second\",\"last_updated\":" +
                                      std::to_string(kFetchedSecs - 100)),
                  8000000250, kFetched},
        ClockCase{"per_minute_in_milliseconds",
                  "{\"us\":{\"population\":342000000,\"population_rate\":6,"
                  "\"rate_interval\":\"minute\",\"last_updated\":" +
                      std::to_string((kFetchedSecs - 600) * 1000) + "}}",
                  342000060, kFetched},
        // Without a rate the base figure is shown for its own time.
        ClockCase{"no_rate", clock("\"population\":8000000000,\"last_updated\":" +
                                   std::to_string(kFetchedSecs - 3600)),
                  8000000000, kFetched.addSecs(-3600)},
        // A base more than a year old is not carried on that far.
        ClockCase{"stale_base", clock("\"population\":7900000000,\"population_rate\":2.5,"
                                      "\"rate_interval\":\"second\",\"last_updated\":" +
                                      std::to_string(kFetchedSecs - 400 * 86400)),
                  7900000000, kFetched.addDays(-400)},
        ClockCase{"figure_only", clock("\"population\":8000000001"), 8000000001, kFetched}),
    [](const auto& info) { return std::string(info.param.name); });

class BadClocks : public ::testing::TestWithParam<std::string>
{
};

TEST_P(BadClocks, AreRefused)
{
    EXPECT_THROW(PopulationOfClock(GetParam(), kFetched), ConversionError);
}

INSTANTIATE_TEST_SUITE_P(Table, BadClocks,
                         ::testing::Values("", "<html>503</html>", "{\"world\":{}}",
                                           clock("\"population\":0"),
                                           clock("\"population\":1e300"),
                                           clock("\"population\":\"many\"")));

TEST(PopulationClockPicture, IsAGifWithTheGroupedFigure)
{
    const DrawStep step = DrawFromData(
        {"popclock-us", "www.census.gov/cgi-bin/pcugifd.pl?1",
         QByteArray("{\"us\":{\"population\":342123456}}"),
         QStringLiteral("https://www.census.gov/popclock/data/population.php/us"), kFetched, 0});
    QBuffer buffer;
    buffer.setData(step.gif);
    QImageReader reader(&buffer, "gif");
    const QImage image = reader.read();
    ASSERT_EQ(image.size(), QSize(480, 150));
    // The figure is drawn at five times the font's size in the figure's own colour: eleven
    // characters "342,123,456" of 30 pixels less the gap after the last ('3' and '6' fill their
    // outer columns).
    int left = 480, right = -1;
    for (int y = 42; y < 42 + 35; ++y) {
        for (int x = 0; x < 480; ++x) {
            if (image.pixel(x, y) == qRgb(0, 40, 120)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_EQ(right - left + 1, 11 * 30 - 5);
    EXPECT_EQ(left, (480 - (11 * 30 - 5)) / 2);
}

} // namespace
