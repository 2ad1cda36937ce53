#include "CaseName.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "platform/DesktopValues.h"
#include "platform/DesktopWallpaper.h"
#include "settings/SettingNames.h"

#include <gtest/gtest.h>

using namespace cirrolux;
using Kind = DesktopWallpaper::Kind;

namespace {

struct ValuesCase
{
    int style;
    std::array<const char*, 4> values; // TileWallpaper, WallpaperStyle, OriginX, OriginY
};

class DesktopValuesTable : public ::testing::TestWithParam<ValuesCase>
{
};

TEST_P(DesktopValuesTable, FollowTheStyleCode)
{
    const DesktopValues values =
        desktopValues(QStringLiteral("/data/Cirrolux/cirrolux.bmp"), GetParam().style, 120, 45);
    EXPECT_EQ(values[0].name, "Wallpaper");
    EXPECT_EQ(values[0].value, QStringLiteral("/data/Cirrolux/cirrolux.bmp"));
    const char* const names[] = {"TileWallpaper", "WallpaperStyle", "WallpaperOriginX",
                                 "WallpaperOriginY"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(values[i + 1].name, names[i]);
        EXPECT_EQ(values[i + 1].value, QLatin1String(GetParam().values[i])) << names[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, DesktopValuesTable,
    ::testing::Values(ValuesCase{0, {"1", "0", "0", "0"}}, ValuesCase{1, {"0", "0", "0", "0"}},
                      ValuesCase{2, {"0", "2", "0", "0"}}, ValuesCase{3, {"0", "0", "120", "45"}},
                      ValuesCase{7, {"0", "0", "0", "0"}}, ValuesCase{-1, {"0", "0", "0", "0"}}),
    [](const auto& info) { return test::CaseName("style" + std::to_string(info.param.style)); });

struct NamesCase
{
    const char* currentDesktop;
    std::vector<Kind> kinds;
};

std::ostream& operator<<(std::ostream& out, const NamesCase& c)
{
    return out << c.currentDesktop;
}

class DesktopNames : public ::testing::TestWithParam<NamesCase>
{
};

TEST_P(DesktopNames, AreReadFromXdgCurrentDesktopInOrder)
{
    EXPECT_EQ(DesktopWallpaper::kindsNamed(QLatin1String(GetParam().currentDesktop)),
              GetParam().kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DesktopNames,
    ::testing::Values(NamesCase{"GNOME", {Kind::Gnome}}, NamesCase{"ubuntu:GNOME", {Kind::Gnome}},
                      NamesCase{"GNOME-Classic:GNOME", {Kind::Gnome}},
                      NamesCase{"Budgie:GNOME", {Kind::Budgie, Kind::Gnome}},
                      NamesCase{"Unity:Unity7:ubuntu", {Kind::Unity, Kind::Gnome}},
                      NamesCase{"X-Cinnamon", {Kind::Cinnamon}}, NamesCase{"MATE", {Kind::Mate}},
                      NamesCase{"KDE", {Kind::Plasma}}, NamesCase{"XFCE", {Kind::Xfce}},
                      NamesCase{"xfce", {Kind::Xfce}}, NamesCase{"Hyprland", {}}, NamesCase{"", {}},
                      NamesCase{"::", {}}),
    [](const auto& info) {
        return test::CaseName(std::to_string(info.index) + "_" + info.param.currentDesktop);
    });

TEST(DesktopWallpaperPlaced, PictureSitsAtTheOriginOnBlackAndIsClippedAtTheEdges)
{
    QImage picture(10, 6, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QImage placed = DesktopWallpaper::composePlaced(picture, QSize(30, 20), 25, -2);
    ASSERT_EQ(placed.size(), QSize(30, 20));
    EXPECT_EQ(placed.pixel(25, 0), qRgb(255, 255, 255));
    EXPECT_EQ(placed.pixel(29, 3), qRgb(255, 255, 255));
    EXPECT_EQ(placed.pixel(24, 0), qRgb(0, 0, 0));
    EXPECT_EQ(placed.pixel(25, 4), qRgb(0, 0, 0));
    EXPECT_EQ(placed.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(DesktopWallpaperNone, UnknownDesktopTakesNothingAndTheMessageNamesTheFileAndTheKnownDesktops)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    DesktopWallpaper desktop(store, {QDBusConnection(QStringLiteral("cirrolux-no-bus")),
                                     QStringLiteral("Hyprland"),
                                     QSize(640, 480),
                                     {},
                                     QStringLiteral("hyprland"),
                                     {}});
    EXPECT_EQ(desktop.backend(), nullptr);
    // The caller says it, once per run (see WallpaperUpdate).
    EXPECT_FALSE(desktop.SetDesktopWallpaper(
        QStringLiteral("/home/u/.local/share/Cirrolux/cirrolux.bmp"), 2, 0, 0));
    EXPECT_EQ(DesktopWallpaper::noDesktopMessage(
                  QStringLiteral("/home/u/.local/share/Cirrolux/cirrolux.bmp")),
              "The wallpaper picture was saved as /home/u/.local/share/Cirrolux/cirrolux.bmp, "
              "but Cirrolux cannot put it on this desktop. Cirrolux sets the wallpaper on "
              "GNOME, Unity, Budgie, Cinnamon, MATE, KDE Plasma, Xfce and Windows; on other "
              "desktops choose that picture as the wallpaper in the desktop's own settings.");
    // The program's own record is kept all the same.
    EXPECT_EQ(store.read_setting(SettingNames::Desktop, SettingNames::Wallpaper),
              "/home/u/.local/share/Cirrolux/cirrolux.bmp");
    EXPECT_EQ(store.read_setting(SettingNames::Desktop, SettingNames::WallpaperStyle), "2");
}

struct SessionCase
{
    const char* desktopSession;
    std::vector<Kind> kinds;
};

std::ostream& operator<<(std::ostream& out, const SessionCase& c)
{
    return out << c.desktopSession;
}

class DesktopSessions : public ::testing::TestWithParam<SessionCase>
{
};

TEST_P(DesktopSessions, NameTheDesktopOfTheirSession)
{
    EXPECT_EQ(DesktopWallpaper::kindsOfSession(QLatin1String(GetParam().desktopSession)),
              GetParam().kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DesktopSessions,
    ::testing::Values(
        SessionCase{"xfce", {Kind::Xfce}}, SessionCase{"Xubuntu", {Kind::Xfce}},
        SessionCase{"plasma", {Kind::Plasma}}, SessionCase{"plasmawayland", {Kind::Plasma}},
        SessionCase{"/usr/share/xsessions/plasma", {Kind::Plasma}},
        SessionCase{"gnome-xorg", {Kind::Gnome}}, SessionCase{"ubuntu", {Kind::Gnome}},
        SessionCase{"cinnamon2d", {Kind::Cinnamon}}, SessionCase{"mate", {Kind::Mate}},
        SessionCase{"budgie-desktop", {Kind::Budgie}}, SessionCase{"i3", {}},
        SessionCase{"openbox", {}}, SessionCase{"LXDE", {}}, SessionCase{"lxqt", {}},
        SessionCase{"", {}}),
    [](const auto& info) {
        return test::CaseName(std::to_string(info.index) + "_" + info.param.desktopSession);
    });

} // namespace
