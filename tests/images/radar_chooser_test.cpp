#include "images/RadarChooser.h"
#include "images/TSelectState_dlg.h"

#include "CaseName.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "settings/SettingNames.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <set>

namespace cirrolux {
namespace {

struct RecordingTarget final : RadarChooser::Target
{
    void showRadarImage(const std::string& title, const std::string& url,
                        const std::string& file) override
    {
        shown.push_back(title + "|" + url + "|" + file);
    }
    void showWallpaperChoice(const std::string& value) override { wallpaper.push_back(value); }
    std::vector<std::string> shown;
    std::vector<std::string> wallpaper;
};

const std::string Refusal =
    "Sorry, you chose None for both selections. Please select a valid location.";

std::string wbank(const std::string& file)
{
    return "http://www.cirrolux.net/assets/images/wbank/" + file;
}

struct OkCase
{
    std::string name;
    std::string state;
    std::string region;
    bool preferences;
    RadarChooser::Outcome outcome;
    std::string shown;           // "title|url|file" of the image requested, or empty
    std::string storedWallpaper; // "AutoWallpaper" afterwards ("n/a" when not written)
};

void PrintTo(const OkCase& c, std::ostream* os)
{
    *os << c.name;
}

class RadarOk : public ::testing::TestWithParam<OkCase>
{
};

TEST_P(RadarOk, ChoiceLeadsToImageOrWallpaper)
{
    const OkCase& c = GetParam();
    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    RecordingTarget target;
    RadarChooser chooser(store, ui, target);
    chooser.setPreferencesMode(c.preferences);
    int hidden = 0;

    EXPECT_EQ(chooser.OKBtnClick(c.state, c.region, [&] { ++hidden; }), c.outcome);

    const bool refused = c.outcome == RadarChooser::Outcome::Refused;
    EXPECT_EQ(hidden, refused ? 0 : 1);
    EXPECT_EQ(ui.messages(),
              refused ? std::vector<std::string>{Refusal} : std::vector<std::string>{});
    EXPECT_EQ(ui.beeps(), refused ? 1 : 0);
    EXPECT_EQ(target.shown,
              c.shown.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.shown});
    EXPECT_EQ(store.read_setting(SettingNames::Settings, SettingNames::AutoWallpaper),
              c.storedWallpaper);
    EXPECT_EQ(target.wallpaper, c.preferences && !refused
                                    ? std::vector<std::string>{c.storedWallpaper}
                                    : std::vector<std::string>{});
    // A confirmed preferences choice ends the mode; a refusal keeps it for the next try.
    EXPECT_EQ(chooser.preferencesMode(), c.preferences && refused);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadarOk,
    ::testing::Values(
        OkCase{"TexasNorth", "NT-Texas - North", "", false, RadarChooser::Outcome::Shown,
               "Cirrolux - Texas - North Radar - Courtesy of WeatherBank, Inc.|" +
                   wbank("NT_radar.GIF") + "|NT_radar.GIF",
               "n/a"},
        OkCase{"Alabama", "AL-Alabama", "None", false, RadarChooser::Outcome::Shown,
               "Cirrolux - Alabama Radar - Courtesy of WeatherBank, Inc.|" + wbank("AL_radar.GIF") +
                   "|AL_radar.GIF",
               "n/a"},
        OkCase{"StateWinsOverRegion", "DC-Delaware", "R1-US Northeast Region", false,
               RadarChooser::Outcome::Shown,
               "Cirrolux - Delaware Radar - Courtesy of WeatherBank, Inc.|" +
                   wbank("DC_radar.GIF") + "|DC_radar.GIF",
               "n/a"},
        OkCase{"RegionWhenStateNone", "None", "US-United States", false,
               RadarChooser::Outcome::Shown,
               "Cirrolux - United States Radar - Courtesy of WeatherBank, Inc.|" +
                   wbank("US_radar.GIF") + "|US_radar.GIF",
               "n/a"},
        OkCase{"BothNone", "None", "None", false, RadarChooser::Outcome::Refused, "", "n/a"},
        OkCase{"BothUntouched", "", "", false, RadarChooser::Outcome::Refused, "", "n/a"},
        OkCase{"StateNoneRegionUntouched", "None", "", false, RadarChooser::Outcome::Refused, "",
               "n/a"},
        OkCase{"PreferencesRegion", "", "R3-US North Central", true, RadarChooser::Outcome::Stored,
               "", "Regional/State Radar=R3"},
        OkCase{"PreferencesState", "WT-Texas - West", "None", true, RadarChooser::Outcome::Stored,
               "", "Regional/State Radar=WT"},
        OkCase{"PreferencesRefused", "None", "None", true, RadarChooser::Outcome::Refused, "",
               "n/a"}),
    [](const auto& info) { return test::CaseName(info.param.name); });

TEST(RadarLists, EntriesAndSharedCodes)
{
    const auto states = RadarChooser::stateEntries();
    const auto regions = RadarChooser::regionEntries();
    ASSERT_EQ(states.size(), 53u);
    EXPECT_EQ(states.front(), "AL-Alabama");
    EXPECT_EQ(states.back(), "None");
    ASSERT_EQ(regions.size(), 8u);
    EXPECT_EQ(regions.front(), "None");
    EXPECT_EQ(regions.back(), "US-United States");

    std::set<std::string_view> codes;
    for (const auto list : {states, regions}) {
        for (const std::string_view entry : list) {
            if (entry == "None")
                continue;
            ASSERT_GE(entry.size(), 4u) << entry;
            EXPECT_EQ(entry[2], '-') << entry;
            codes.insert(entry.substr(0, 2));
        }
    }
    // Areas share the image that covers them: 47 state images and 7 region images.
    EXPECT_EQ(codes.size(), 47u + 7u);
    for (const std::string_view shared :
         {"DC-Delaware", "CT-Maryland", "CT-Massachusetts", "CT-Rhode Island", "NH-Vermont"})
        EXPECT_NE(std::find(states.begin(), states.end(), shared), states.end()) << shared;
}

class RadarDialog : public ::testing::Test
{
protected:
    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    RecordingTarget target;
    RadarChooser chooser{store, ui, target};
    TSelectState_dlg dialog{chooser};
};

TEST_F(RadarDialog, ShowsBothListsUnselectedEveryTime)
{
    dialog.open(false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Radar Area Coverage"));
    EXPECT_EQ(dialog.size(), QSize(313, 172));
    EXPECT_EQ(dialog.cboState().count(), 53);
    EXPECT_EQ(dialog.cboRegion().count(), 8);
    EXPECT_EQ(dialog.cboState().itemText(43), QStringLiteral("ST-Texas - South"));
    EXPECT_FALSE(dialog.cboState().isEditable());
    dialog.cboState().setCurrentIndex(2);
    dialog.CancelBtnClick();
    dialog.open(false);
    EXPECT_EQ(dialog.cboState().currentIndex(), -1);
    EXPECT_EQ(dialog.cboRegion().currentIndex(), -1);
}

// The window manager maps the dialog again after an iconify or a desktop switch: a show event
// that no command caused keeps what the user chose; only the command starts afresh.
TEST_F(RadarDialog, ShowingAgainWithoutTheCommandKeepsTheChoice)
{
    dialog.open(false);
    const int north = dialog.cboState().findText(QStringLiteral("NT-Texas - North"));
    ASSERT_GE(north, 0);
    dialog.cboState().setCurrentIndex(north);
    dialog.cboRegion().setCurrentIndex(3);
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.cboState().currentIndex(), north);
    EXPECT_EQ(dialog.cboRegion().currentIndex(), 3);
    EXPECT_EQ(dialog.cboState().count(), 53);
    dialog.open(false);
    EXPECT_EQ(dialog.cboState().currentIndex(), -1);
    EXPECT_EQ(dialog.cboRegion().currentIndex(), -1);
}

TEST_F(RadarDialog, OkWithNothingChosenKeepsTheDialogOpen)
{
    dialog.open(false);
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.messages(), std::vector<std::string>{Refusal});
    EXPECT_TRUE(target.shown.empty());
}

TEST_F(RadarDialog, OkWithStateHidesAndRequestsItsImage)
{
    dialog.open(false);
    dialog.cboState().setCurrentIndex(0);
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(target.shown.size(), 1u);
    EXPECT_EQ(target.shown[0].substr(0, 24), "Cirrolux - Alabama Radar");
}

TEST_F(RadarDialog, EscapeInPreferencesModeEndsTheMode)
{
    dialog.open(true);
    EXPECT_TRUE(chooser.preferencesMode());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(chooser.preferencesMode());
    // The next choice from the radar menu is shown, not stored.
    dialog.open(false);
    dialog.cboRegion().setCurrentIndex(7);
    dialog.OKBtnClick();
    EXPECT_EQ(target.shown.size(), 1u);
    EXPECT_EQ(store.read_setting(SettingNames::Settings, SettingNames::AutoWallpaper), "n/a");
}

// The radar menu only shows the chooser: one open for the preferences keeps serving them, so
// its choice is stored, not shown.
TEST_F(RadarDialog, RadarMenuOnAChooserOpenForThePreferencesKeepsTheirMode)
{
    dialog.open(true);
    dialog.open(false);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(chooser.preferencesMode());
    dialog.cboRegion().setCurrentIndex(3);
    dialog.OKBtnClick();
    EXPECT_TRUE(target.shown.empty());
    EXPECT_EQ(target.wallpaper, std::vector<std::string>{"Regional/State Radar=R3"});
    EXPECT_EQ(store.read_setting(SettingNames::Settings, SettingNames::AutoWallpaper),
              "Regional/State Radar=R3");
    EXPECT_FALSE(chooser.preferencesMode());
}

enum class Dismissal { CancelButton, Escape, TitleBarClose };

class RadarDismissal : public RadarDialog, public ::testing::WithParamInterface<Dismissal>
{
};

// Every way of closing the chooser without a choice ends the preferences mode, so the next
// choice from the radar menu is shown instead of silently becoming the wallpaper.
TEST_P(RadarDismissal, EndsThePreferencesMode)
{
    dialog.open(true);
    switch (GetParam()) {
    case Dismissal::CancelButton:
        dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
        break;
    case Dismissal::Escape: {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
        break;
    }
    case Dismissal::TitleBarClose:
        dialog.close();
        break;
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(chooser.preferencesMode());
    dialog.open(false);
    dialog.cboState().setCurrentIndex(42);
    dialog.OKBtnClick();
    ASSERT_EQ(target.shown.size(), 1u);
    EXPECT_EQ(target.shown[0].substr(0, 30), "Cirrolux - Texas - North Radar");
    EXPECT_EQ(store.read_setting(SettingNames::Settings, SettingNames::AutoWallpaper), "n/a");
}

std::string dismissalName(const ::testing::TestParamInfo<Dismissal>& info)
{
    static const char* const Names[] = {"CancelButton", "Escape", "TitleBarClose"};
    return Names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, RadarDismissal,
                         ::testing::Values(Dismissal::CancelButton, Dismissal::Escape,
                                           Dismissal::TitleBarClose),
                         dismissalName);

} // namespace
} // namespace cirrolux
