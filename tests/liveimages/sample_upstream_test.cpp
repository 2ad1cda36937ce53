// The sample upstream folder of offline runs: current station files the gateway reads as
// Boston's, a radar loop the gateway passes on as an animation, and a PNG it converts.
#include "SampleUpstream.h"
#include "TestPictures.h"

#include "gateway/MetarReader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

using namespace cirrolux;
using fakenoaa::SampleUpstream;

namespace {

QDateTime utc(int y, int mo, int d, int h, int mi)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc());
}

struct ObservationCase
{
    const char* name;
    QDateTime now;
    const char* file;
};

class SampleObservation : public ::testing::TestWithParam<ObservationCase>
{
};

TEST_P(SampleObservation, IsTheLastHourlyReportBeforeNow)
{
    const QByteArray file = SampleUpstream::observation(GetParam().now);
    EXPECT_EQ(file.toStdString(), GetParam().file);
    // The gateway takes it as Boston's report of that time.
    const auto report = gateway::MetarReader::readStationFile(file.toStdString());
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->metar.station, "KBOS");
    EXPECT_EQ(report->metar.temperatureC, -2.0);
    EXPECT_LE(report->observedUtc, GetParam().now);
    EXPECT_GT(report->observedUtc, GetParam().now.addSecs(-3600));
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, SampleObservation,
    ::testing::Values(
        ObservationCase{"MidHour", utc(2026, 1, 15, 15, 0),
                        "2026/01/15 14:54\nKBOS 151454Z 29011KT 10SM FEW045 SCT250 M02/M12 A3018 "
                        "RMK AO2 SLP222 T10221117\n"},
        ObservationCase{"OnTheReport", utc(2026, 1, 15, 15, 54),
                        "2026/01/15 15:54\nKBOS 151554Z 29011KT 10SM FEW045 SCT250 M02/M12 A3018 "
                        "RMK AO2 SLP222 T10221117\n"},
        ObservationCase{"AcrossTheYear", utc(2027, 1, 1, 0, 10),
                        "2026/12/31 23:54\nKBOS 312354Z 29011KT 10SM FEW045 SCT250 M02/M12 A3018 "
                        "RMK AO2 SLP222 T10221117\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ForecastCase
{
    const char* name;
    QDateTime now;
    const char* head;    // the lines up to the product's name
    const char* issued;  // in Boston's time
    const char* segment; // the zone line with its expiry
    const char* periods; // the first periods
};

class SampleForecast : public ::testing::TestWithParam<ForecastCase>
{
};

TEST_P(SampleForecast, IsBostonsZoneIssuedOnTheLastHalfHour)
{
    const ForecastCase& c = GetParam();
    const std::string text = SampleUpstream::zoneForecast(c.now).toStdString();
    EXPECT_EQ(text.substr(0, std::string(c.head).size()), c.head);
    EXPECT_NE(text.find(c.segment), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "$$\n");
    // Without the system's zone data the times are in UTC.
    if (QTimeZone("America/New_York").isValid()) {
        EXPECT_NE(text.find(c.issued), std::string::npos) << text;
        EXPECT_NE(text.find(c.periods), std::string::npos) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, SampleForecast,
    ::testing::Values(
        ForecastCase{"Morning", utc(2026, 1, 15, 15, 47),
                     "Expires:202601152130;;402211\nFPUS51 KBOX 151530\nZFPBOX\n",
                     "\n1030 AM EST Thu Jan 15 2026\n", "\nMAZ015-152130-\nSuffolk-\n",
                     "\n\n.TODAY...Partly sunny. Highs around 30. Northwest winds 10 to 15 "
                     "mph.\n.TONIGHT...Mostly clear. Lows around 18. West winds around 10 "
                     "mph.\n.FRIDAY...Sunny."},
        ForecastCase{"Evening", utc(2026, 12, 10, 3, 29),
                     "Expires:202612100900;;402211\nFPUS51 KBOX 100300\nZFPBOX\n",
                     "\n1000 PM EST Wed Dec 9 2026\n", "\nMAZ015-100900-\nSuffolk-\n",
                     "\n\n.TONIGHT...Mostly clear. Lows around 18. West winds around 10 "
                     "mph.\n.THURSDAY...Sunny."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SampleRadarLoop, IsAnAnimationTheGatewayPassesOnWithFramesThatDiffer)
{
    const QDateTime now = utc(2026, 1, 15, 15, 47);
    const QByteArray loop = SampleUpstream::radarLoop(now);
    EXPECT_TRUE(loop.startsWith("GIF89a"));
    const test::Decoded decoded = test::Decode(loop);
    EXPECT_EQ(decoded.format, "gif");
    EXPECT_EQ(decoded.size, SampleUpstream::kLoopSize);
    EXPECT_EQ(decoded.frames, SampleUpstream::kLoopFrames);

    // Each frame moves the echoes and keeps the middle of the map clear.
    QBuffer buffer(const_cast<QByteArray*>(&loop));
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage previous;
    for (int f = 0; f < SampleUpstream::kLoopFrames; ++f) {
        const QImage frame = reader.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(frame.isNull()) << f;
        EXPECT_EQ(frame.pixel(300, 275), SampleUpstream::kLand) << f;
        EXPECT_NE(frame, previous) << f;
        EXPECT_EQ(frame, SampleUpstream::radarFrame(f, now)) << "palette lost colours in " << f;
        previous = frame;
    }

    const ConvertedPicture passed = ImageConverter::convert(loop, Conversion::AnimateGif);
    EXPECT_TRUE(passed.unchanged);
    EXPECT_EQ(passed.frames, SampleUpstream::kLoopFrames);
}

TEST(SamplePrecipitationMap, IsAPngTheGatewayConvertsToAGifOfItsSize)
{
    const QByteArray png = SampleUpstream::precipitationMap(utc(2026, 1, 15, 15, 47));
    EXPECT_EQ(test::Decode(png).format, "png");
    const ConvertedPicture gif = ImageConverter::convert(png, Conversion::ToGif);
    EXPECT_EQ(gif.format, PictureFormat::Gif);
    EXPECT_EQ(gif.size, SampleUpstream::kMapSize);
    EXPECT_EQ(gif.frames, 1);
}

TEST(SampleFolder, HoldsEveryFileWhereTheFakeServesItFrom)
{
    QTemporaryDir folder;
    const QDateTime now = utc(2026, 1, 15, 15, 47);
    const auto files = SampleUpstream::write(folder.path(), now);
    const std::vector<std::pair<const char*, QByteArray>> expected{
        {SampleUpstream::kObservationPath, SampleUpstream::observation(now)},
        {SampleUpstream::kForecastPath, SampleUpstream::zoneForecast(now)},
        {SampleUpstream::kLoopPath, SampleUpstream::radarLoop(now)},
        {SampleUpstream::kMapPath, SampleUpstream::precipitationMap(now)}};
    ASSERT_EQ(files.size(), expected.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i].path, QString::fromLatin1(expected[i].first));
        QFile file(folder.filePath(files[i].path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << expected[i].first;
        EXPECT_EQ(file.readAll(), expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(files[0].what,
              QStringLiteral("Boston Logan (KBOS) observation of 2026-01-15 14:54 UTC"));
    EXPECT_EQ(files[2].what,
              QStringLiteral("North Texas radar loop (KFWS), 6 frames of 600 x 550, GIF"));
}

TEST(SampleFolder, SaysWhichFileCouldNotBeWritten)
{
    QTemporaryDir folder;
    // A file where the station folder should be.
    QFile blocker(folder.filePath(QStringLiteral("data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        SampleUpstream::write(folder.path(), utc(2026, 1, 15, 15, 47));
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot write " +
                      folder.filePath(QString::fromLatin1(SampleUpstream::kObservationPath))
                          .toStdString());
    }
}

} // namespace
