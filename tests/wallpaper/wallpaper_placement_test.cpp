#include "CaseName.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "settings/SettingNames.h"
#include "wallpaper/WallpaperPlacement.h"

#include <gtest/gtest.h>

using namespace cirrolux;

namespace {

struct PlacementCase
{
    std::string value;
    WallpaperPlacement placement;
    std::string conversionError;
};

std::ostream& operator<<(std::ostream& out, const PlacementCase& c)
{
    return out << c.value;
}

class ReadWallpaperloc : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(ReadWallpaperloc, GivesStyleAndOrigin)
{
    const WallpaperlocReading reading = readWallpaperloc(GetParam().value);
    EXPECT_EQ(reading.placement, GetParam().placement);
    EXPECT_EQ(reading.conversionError, GetParam().conversionError);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadWallpaperloc,
    ::testing::Values(
        PlacementCase{"0", {0, 0, 0}, ""}, PlacementCase{"1", {1, 0, 0}, ""},
        PlacementCase{"2", {2, 0, 0}, ""}, PlacementCase{"n/a", {1, 0, 0}, ""},
        PlacementCase{"", {1, 0, 0}, ""}, PlacementCase{"3", {1, 0, 0}, ""},
        PlacementCase{" 2", {1, 0, 0}, ""}, PlacementCase{"120,45", {3, 120, 45}, ""},
        PlacementCase{"0,0", {3, 0, 0}, ""}, PlacementCase{"-20,+7", {3, -20, 7}, ""},
        PlacementCase{"120, 45", {3, 120, 45}, ""},
        // Mend: not two whole numbers is centred, with the conversion's message.
        PlacementCase{"12a,45", {1, 0, 0}, "'12a' is not a valid integer value"},
        PlacementCase{"120,", {1, 0, 0}, "'' is not a valid integer value"},
        PlacementCase{",45", {1, 0, 0}, "'' is not a valid integer value"},
        PlacementCase{"1,2,3", {1, 0, 0}, "'2,3' is not a valid integer value"},
        PlacementCase{"1.5,2", {1, 0, 0}, "'1.5' is not a valid integer value"},
        PlacementCase{"+-1,2", {1, 0, 0}, "'+-1' is not a valid integer value"},
        PlacementCase{"99999999999,2", {1, 0, 0}, "'99999999999' is not a valid integer value"}),
    [](const auto& info) {
        return test::CaseName(std::to_string(info.index) + "_" + info.param.value);
    });

TEST(WallpaperPlacementReader, ReadsTheSettingAndReportsABadPositionOncePerRun)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    WallpaperPlacementReader reader;

    // Missing: centred, nothing shown.
    EXPECT_EQ(reader.read(store, ui), (WallpaperPlacement{1, 0, 0}));
    store.write_setting(SettingNames::Settings, SettingNames::WallpaperLoc, "120,45");
    EXPECT_EQ(reader.read(store, ui), (WallpaperPlacement{3, 120, 45}));
    EXPECT_TRUE(ui.events().empty());

    // Three timed refreshes with a bad position: centred each time, one message.
    store.write_setting(SettingNames::Settings, SettingNames::WallpaperLoc, "x,45");
    for (int refresh = 0; refresh < 3; ++refresh)
        EXPECT_EQ(reader.read(store, ui), (WallpaperPlacement{1, 0, 0}));
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"'x' is not a valid integer value"});

    // Another bad value is news to the user and is reported as well.
    store.write_setting(SettingNames::Settings, SettingNames::WallpaperLoc, "10,y");
    reader.read(store, ui);
    reader.read(store, ui);
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"'x' is not a valid integer value",
                                                     "'y' is not a valid integer value"}));
}

} // namespace
