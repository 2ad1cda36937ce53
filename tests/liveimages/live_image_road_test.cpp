// The real program through the gateway's live pictures, offline: the main window, its transfer
// component and image window, the proxy set to the gateway on 127.0.0.1, the shipped source
// table, and a fake upstream serving pictures made here under "/<source host>/<path>".
#include "GatewayHarness.h"
#include "MainWindowFixture.h"
#include "TestPictures.h"

#include "display/TGIFImage.h"
#include "gateway/LiveImages.h"
#include "images/TfrmImage.h"
#include "platform/AppPaths.h"
#include "platform/DesktopWallpaper.h"
#include "settings/SettingNames.h"

#include <gmock/gmock.h>

#include <QAction>
#include <QDir>
#include <QImageReader>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

class LiveImageRoad : public test::MainWindowFixture
{
protected:
    void SetUp() override
    {
        index = test::InstalledStationIndex();
        if (!index)
            GTEST_SKIP() << "weather-util-data is not installed";
        live.emplace(*index, cirrolux::CatalogueStationDirectory());
        noaa.serveFolder(test::GatewayTestData());
        ASSERT_TRUE(noaa.listen());
        gateway::UpstreamSettings settings;
        settings.observationsBase = noaa.observationsBase();
        settings.productsBase = noaa.productsBase();
        server.emplace(*index, *live, settings);
        images.emplace(settings, [] { return QDateTime::currentDateTimeUtc(); });
        images->setTable(
            std::make_shared<const SourceTable>(SourceTable::load(CIRROLUX_SHIPPED_SOURCE_TABLE)));
        images->setUpstream(QStringLiteral("http://127.0.0.1:%1").arg(noaa.port()));
        server->setLiveImages(&*images);
        ASSERT_TRUE(server->listen(0));
        useProxy(server->port());

        noaa.setFile(kLoop, test::RadarLoop(160, 120, 2));
        noaa.setFile(kSite, test::RadarLoop(200, 150, 3));
        noaa.setFile(kPrecipitation, test::Encoded(test::MapPicture(420, 300), "png"));

        QDir().mkpath(AppPaths::workingDirectory());
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(AppPaths::workingDirectory());
        createWindow();
        window->createRadarChooser();
        window->createImageWindow();
        window->imageWindow()->setCaptureDelay(0);
        window->show();
    }
    void TearDown() override
    {
        if (!m_oldDir.isEmpty())
            QDir::setCurrent(m_oldDir);
    }

    static constexpr const char* kLoop = "/radar.weather.gov/ridge/standard/CONUS_loop.gif";
    static constexpr const char* kSite = "/radar.weather.gov/ridge/standard/KOHX_loop.gif";
    static constexpr const char* kPrecipitation =
        "/hprcc.unl.edu/products/maps/acis/30dPNormUS.png";

    const gateway::StationIndex* index = nullptr;
    std::optional<gateway::LiveConditions> live;
    fakenoaa::FakeNoaa noaa;
    std::optional<gateway::GatewayServer> server;
    std::optional<gateway::LiveImages> images;
    QString m_oldDir;
};

TEST_F(LiveImageRoad, TheWeatherBankMenuShowsTheLiveRadarLoopAnimated)
{
    window->action(QStringLiteral("mnuUSRadarWeatherBank1"))->trigger();
    TfrmImage& image = *window->imageWindow();
    ASSERT_TRUE(image.isVisible());
    EXPECT_EQ(noaa.hits(kLoop), 1);
    EXPECT_EQ(image.GIFImage1().FrameCount(), 2);
    EXPECT_TRUE(image.GIFImage1().Animate());
    EXPECT_EQ(image.GIFImage1().size(), QSize(160, 120));
    EXPECT_TRUE(ui.errors().empty());
    image.close();
}

TEST_F(LiveImageRoad, APngSourceIsShownAsTheGifTheProgramAsksFor)
{
    window->action(QStringLiteral("mnuUSMonthlyPrecipitation1"))->trigger();
    TfrmImage& image = *window->imageWindow();
    ASSERT_TRUE(image.isVisible());
    EXPECT_EQ(noaa.hits(kPrecipitation), 1);
    EXPECT_FALSE(image.GIFImage1().Empty());
    EXPECT_EQ(image.GIFImage1().FrameCount(), 1);
    EXPECT_EQ(image.GIFImage1().size(), QSize(420, 300));
    image.close();
}

TEST_F(LiveImageRoad, AFailingSourceShowsNoPicture)
{
    noaa.setFailing(503);
    window->action(QStringLiteral("mnuUSRadarWeatherBank1"))->trigger();
    EXPECT_FALSE(window->imageWindow()->isVisible());
    EXPECT_GE(noaa.hits(kLoop), 1);
}

TEST_F(LiveImageRoad, TheTimedRefreshMakesTheWallpaperFromTheConvertedLoop)
{
    store.write_setting(names::Settings, names::AutoUpdate, "y");
    store.write_setting(names::Settings, names::AutoWallpaper, "Regional/State Radar=TN");
    store.write_setting(names::Settings, names::WallpaperLoc, "0,0");
    window->setWindowTitle(std::string("Cirrolux - Boston, MA"));

    window->Timer1Timer();

    EXPECT_EQ(noaa.hits(kSite), 1);
    const QString installed =
        QDir(AppPaths::windowsDirectory()).filePath(QStringLiteral("cirrolux.bmp"));
    QImageReader bitmap(installed);
    EXPECT_EQ(bitmap.format(), "bmp");
    // The 200 x 150 loop with the wallpaper's margin around it.
    EXPECT_GE(bitmap.size().width(), 200);
    EXPECT_LE(bitmap.size().width(), 220);
    EXPECT_GE(bitmap.size().height(), 150);
    EXPECT_LE(bitmap.size().height(), 170);
    EXPECT_EQ(store.read_setting(names::Desktop, names::Wallpaper), installed.toStdString());
    // (The conditions page of the refresh is not this test's business.)
    EXPECT_THAT(ui.messages(), ::testing::Contains(DesktopWallpaper::noDesktopMessage(installed)));
}

} // namespace
