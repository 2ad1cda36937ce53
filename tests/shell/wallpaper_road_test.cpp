// The wallpaper and the radar chooser through the main window, the real transfer component and
// the service emulator. Tests run without a desktop session, so the desktop part ends in the
// no-desktop message (once per run) after the program's own record of the values.
#include "MainWindowFixture.h"

#include "display/TGIFImage.h"
#include "images/RadarImageCommands.h"
#include "images/TSelectState_dlg.h"
#include "images/TfrmImage.h"
#include "platform/AppPaths.h"
#include "platform/DesktopWallpaper.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "settings/TfrmPref.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QImageReader>

using namespace cirrolux;
using cirrolux::test::MainWindowFixture;
namespace names = cirrolux::SettingNames;

namespace {

class WallpaperRoad : public MainWindowFixture
{
protected:
    WallpaperRoad()
    {
        EXPECT_TRUE(emulator.listen());
        useProxy(emulator.port());
        QDir().mkpath(AppPaths::workingDirectory());
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(AppPaths::workingDirectory());
        createWindow();
        window->createRadarChooser();
        window->createPreferences();
        window->createImageWindow();
        window->imageWindow()->setCaptureDelay(0);
        window->show();
    }
    ~WallpaperRoad() override { QDir::setCurrent(m_oldDir); }

    bool requested(const std::string& line) const
    {
        for (const auto& head : emulator.requests())
            if (head.raw.startsWith(QByteArray::fromStdString(line + "\r\n")))
                return true;
        return false;
    }
    std::string desktopValue(std::string_view name) const
    {
        return store.read_setting(names::Desktop, name);
    }
    QString installed() const
    {
        return QDir(AppPaths::windowsDirectory()).filePath(QStringLiteral("cirrolux.bmp"));
    }

    servicesim::ServiceEmulator emulator;
    QString m_oldDir;
};

TEST_F(WallpaperRoad, TimedRefreshPutsTheChosenRadarOnTheDesktop)
{
    store.write_setting(names::Settings, names::AutoUpdate, "y");
    store.write_setting(names::Settings, names::AutoWallpaper, "Regional/State Radar=TX");
    store.write_setting(names::Settings, names::WallpaperLoc, "120,45");
    window->setWindowTitle(std::string("Cirrolux - Boston, MA"));

    window->Timer1Timer();

    EXPECT_TRUE(requested("GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0"));
    EXPECT_TRUE(requested("GET http://www.cirrolux.net/assets/images/wbank/TX_radar.GIF HTTP/1.0"));
    const QImageReader bitmap(installed());
    EXPECT_EQ(bitmap.format(), "bmp");
    EXPECT_GT(bitmap.size().width(), 100);
    EXPECT_EQ(desktopValue(names::Wallpaper), installed().toStdString());
    EXPECT_EQ(desktopValue(names::TileWallpaper), "0");
    EXPECT_EQ(desktopValue(names::WallpaperStyle), "0");
    EXPECT_EQ(desktopValue(names::WallpaperOriginX), "120");
    EXPECT_EQ(desktopValue(names::WallpaperOriginY), "45");
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{DesktopWallpaper::noDesktopMessage(installed())});
    EXPECT_EQ(window->statusPanel(0)->text(),
              QStringLiteral("Wallpaper not set: desktop not supported..."));
    // Nothing was shown, the download is gone and the names are free for the next refresh.
    EXPECT_FALSE(window->imageWindow()->isVisible());
    EXPECT_FALSE(QFile::exists(QStringLiteral("TX_radar.GIF")));
    EXPECT_TRUE(window->state().imageFile.empty());

    // The next refresh does the same without another box: the status bar says it.
    window->Timer1Timer();
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(window->statusPanel(0)->text(),
              QStringLiteral("Wallpaper not set: desktop not supported..."));
    EXPECT_EQ(QImageReader(installed()).format(), "bmp");
}

// The timed refresh draws the radar loop for the wallpaper in the image window, the window that
// may show a loop the user opened: that download goes away with its window, as at any close.
TEST_F(WallpaperRoad, TimedRefreshOverAnOpenRadarLoopLeavesNoDownloadBehind)
{
    window->action(QStringLiteral("StateLevelRadarNEW1"))->trigger();
    TSelectState_dlg& chooser = window->radarChooser()->dialog();
    chooser.cboState().setCurrentIndex(
        chooser.cboState().findText(QStringLiteral("NT-Texas - North")));
    chooser.OKBtnClick();
    ASSERT_TRUE(window->imageWindow()->isVisible());
    ASSERT_TRUE(QFile::exists(QStringLiteral("NT_radar.GIF")));

    store.write_setting(names::Settings, names::AutoUpdate, "y");
    store.write_setting(names::Settings, names::AutoWallpaper, "Regional/State Radar=TX");
    window->setWindowTitle(std::string("Cirrolux - Boston, MA"));
    window->Timer1Timer();

    EXPECT_TRUE(requested("GET http://www.cirrolux.net/assets/images/wbank/TX_radar.GIF HTTP/1.0"));
    // This test desktop is none the program knows: the bitmap is made, the desktop not told.
    EXPECT_EQ(window->statusPanel(0)->text(),
              QStringLiteral("Wallpaper not set: desktop not supported..."));
    EXPECT_TRUE(QFile::exists(installed()));
    EXPECT_FALSE(window->imageWindow()->isVisible());
    EXPECT_EQ(QDir().entryList({QStringLiteral("*.GIF"), QStringLiteral("*.gif")}, QDir::Files),
              QStringList());
}

TEST_F(WallpaperRoad, RadarMenuShowsTheChosenAreaAnimatedAtTheTopLeft)
{
    window->action(QStringLiteral("StateLevelRadarNEW1"))->trigger();
    TSelectState_dlg& chooser = window->radarChooser()->dialog();
    ASSERT_TRUE(chooser.isVisible());
    chooser.cboState().setCurrentIndex(
        chooser.cboState().findText(QStringLiteral("NT-Texas - North")));
    chooser.OKBtnClick();

    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(requested("GET http://www.cirrolux.net/assets/images/wbank/NT_radar.GIF HTTP/1.0"));
    TfrmImage& image = *window->imageWindow();
    EXPECT_TRUE(image.isVisible());
    EXPECT_EQ(image.windowTitle(),
              QStringLiteral("Cirrolux - Texas - North Radar - Courtesy of WeatherBank, Inc."));
    EXPECT_EQ(image.pos(), QPoint(0, 0));
    EXPECT_TRUE(image.GIFImage1().Animate());
    EXPECT_FALSE(image.GIFImage1().Empty());
    EXPECT_TRUE(ui.texts().empty());
    image.mnuClose1Click();
}

TEST_F(WallpaperRoad, PreferencesChooseARegionAsTheWallpaper)
{
    // The web page window is open on a country: its mode outlives the chooser.
    window->state().webMode = "ci";
    TfrmPref& preferences = *window->frmPref();
    preferences.show();
    auto* list = preferences.findChild<QComboBox*>(QStringLiteral("cboAutoWallpaper"));
    ASSERT_NE(list, nullptr);
    const int radar = list->findText(QStringLiteral("Regional/State Radar"));
    list->setCurrentIndex(radar);
    emit list->activated(radar); // as a choice of the user's

    TSelectState_dlg& chooser = window->radarChooser()->dialog();
    ASSERT_TRUE(chooser.isVisible());
    chooser.cboRegion().setCurrentIndex(
        chooser.cboRegion().findText(QStringLiteral("R3-US North Central")));
    chooser.OKBtnClick();

    EXPECT_EQ(store.read_setting(names::Settings, names::AutoWallpaper), "Regional/State Radar=R3");
    EXPECT_EQ(list->currentText(), QStringLiteral("Regional/State Radar=R3"));
    EXPECT_TRUE(emulator.requests().empty());
    EXPECT_EQ(window->state().webMode, "ci");
    preferences.btnOkayClick();
    EXPECT_EQ(store.read_setting(names::Settings, names::AutoWallpaper), "Regional/State Radar=R3");
}

} // namespace
