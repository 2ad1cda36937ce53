#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "platform/AppPaths.h"
#include "platform/DesktopWallpaper.h"
#include "settings/SettingNames.h"
#include "wallpaper/WallpaperBitmap.h"
#include "wallpaper/WallpaperInstall.h"
#include "wallpaper/WallpaperPlacement.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace cirrolux;

namespace {

class WallpaperInstall : public ::testing::Test
{
protected:
    // The program runs in its working directory.
    void SetUp() override
    {
        QDir().mkpath(AppPaths::workingDirectory());
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(AppPaths::workingDirectory());
    }
    void TearDown() override { QDir::setCurrent(m_oldDir); }
    QString m_oldDir;

    void makeWorkingBitmap()
    {
        QImage picture(16, 12, QImage::Format_RGB32);
        picture.fill(Qt::cyan);
        ASSERT_TRUE(WallpaperBitmap::save(picture, WallpaperBitmap::workingPath()));
    }
    WallpaperHandOver install()
    {
        const WallpaperInstalled installed = installWallpaperBitmap(
            [this](const QString& path, int style, int x, int y) {
                return m_desktop.SetDesktopWallpaper(path, style, x, y);
            },
            m_placement, m_store, m_ui);
        m_bitmap = installed.bitmap;
        return installed.handOver;
    }
    std::string desktopValue(std::string_view name) const
    {
        return m_store.read_setting(SettingNames::Desktop, name);
    }

    test::TempProfile m_profile;
    SettingsStore m_store = m_profile.store();
    test::RecordingUserInterface m_ui;
    // A desktop the program does not know, so no desktop takes the bitmap.
    DesktopWallpaper m_desktop{
        m_store, DesktopWallpaper::Environment{QDBusConnection(QStringLiteral("cirrolux-no-bus")),
                                               QStringLiteral("sway"),
                                               QSize(64, 48),
                                               {},
                                               {},
                                               {}}};
    WallpaperPlacementReader m_placement;
    QString m_bitmap; // where the last install put the bitmap
};

TEST_F(WallpaperInstall, MovesTheBitmapIntoTheDataDirectoryAndSetsItWithItsPlacement)
{
    makeWorkingBitmap();
    QDir().mkpath(AppPaths::windowsDirectory());
    QFile old(AppPaths::windowsDirectory() + QStringLiteral("/cirrolux.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    m_store.write_setting(SettingNames::Settings, SettingNames::WallpaperLoc, "120,45");

    EXPECT_EQ(install(), WallpaperHandOver::NoDesktop);
    const QString installed = AppPaths::windowsDirectory() + QStringLiteral("/cirrolux.bmp");
    EXPECT_EQ(m_bitmap, installed);
    EXPECT_FALSE(QFile::exists(WallpaperBitmap::workingPath()));
    EXPECT_EQ(QImage(installed).size(), QSize(16, 12));
    EXPECT_EQ(desktopValue(SettingNames::Wallpaper), installed.toStdString());
    EXPECT_EQ(desktopValue(SettingNames::TileWallpaper), "0");
    EXPECT_EQ(desktopValue(SettingNames::WallpaperStyle), "0");
    EXPECT_EQ(desktopValue(SettingNames::WallpaperOriginX), "120");
    EXPECT_EQ(desktopValue(SettingNames::WallpaperOriginY), "45");
    // Saying that no desktop took it is the caller's.
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(WallpaperInstall, DesktopThatTakesItIsReported)
{
    makeWorkingBitmap();
    std::vector<std::string> shown;
    const WallpaperInstalled installed = installWallpaperBitmap(
        [&](const QString& path, int style, int x, int y) {
            shown.push_back(path.toStdString() + "|" + std::to_string(style) + "|" +
                            std::to_string(x) + "|" + std::to_string(y));
            return true;
        },
        m_placement, m_store, m_ui);
    EXPECT_EQ(installed.handOver, WallpaperHandOver::Shown);
    EXPECT_EQ(shown, std::vector<std::string>{installed.bitmap.toStdString() + "|1|0|0"});
    EXPECT_TRUE(m_ui.events().empty());
}

TEST_F(WallpaperInstall, NoBitmapIsReportedAndNothingIsSet)
{
    EXPECT_EQ(install(), WallpaperHandOver::Stopped);
    EXPECT_EQ(m_ui.messages(),
              std::vector<std::string>{"Error - cirrolux.bmp not found; msg#: xUnit1."});
    EXPECT_EQ(desktopValue(SettingNames::Wallpaper), "n/a");
}

TEST_F(WallpaperInstall, NoDataDirectoryIsReportedAndTheBitmapStays)
{
    makeWorkingBitmap();
    const QString blocker = m_profile.root() + QStringLiteral("/not-a-folder");
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", blocker.toLocal8Bit());

    EXPECT_EQ(install(), WallpaperHandOver::Stopped);
    EXPECT_EQ(m_ui.messages(),
              std::vector<std::string>{"Error - windows directory not found for Wallpaper logic."});
    EXPECT_TRUE(QFile::exists(WallpaperBitmap::workingPath()));
    EXPECT_EQ(desktopValue(SettingNames::Wallpaper), "n/a");
}

TEST_F(WallpaperInstall, BadPositionIsCentredAtEveryRefreshAndReportedOnce)
{
    m_store.write_setting(SettingNames::Settings, SettingNames::WallpaperLoc, "12a,45");
    for (int refresh = 0; refresh < 3; ++refresh) {
        makeWorkingBitmap();
        EXPECT_EQ(install(), WallpaperHandOver::NoDesktop);
        EXPECT_EQ(desktopValue(SettingNames::TileWallpaper), "0");
        EXPECT_EQ(desktopValue(SettingNames::WallpaperStyle), "0");
        EXPECT_EQ(desktopValue(SettingNames::WallpaperOriginX), "0");
    }
    EXPECT_EQ(m_ui.errors(), std::vector<std::string>{"'12a' is not a valid integer value"});
    EXPECT_TRUE(m_ui.messages().empty());
}

} // namespace
