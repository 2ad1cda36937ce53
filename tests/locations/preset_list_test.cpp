#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "locations/PresetList.h"
#include "platform/CirroluxError.h"
#include "platform/SharedState.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;
using Event = test::RecordingUserInterface::Event;

namespace {

const std::string FullListText =
    "Sorry, you can only have up to 20 preset locations. Please use the Clear option under "
    "Get_Stats to clear the locations and start over.";
const std::string Added = "Location added to Get_Stats presets: ";
const std::string RemoveQuestion =
    "Are you sure you want to select and delete a location from the GetStats menu?";
const std::string RemoveHint =
    "Please select (click) the location you would like to remove (from the GetStats menu).";

// Keeps the 20 entries as the main window would, starting as the form leaves them: placeholder
// captions, hidden.
class RecordingPresetMenu final : public PresetMenu
{
public:
    struct Entry
    {
        std::string caption = "placeholder";
        bool visible = false;
    };

    void showEntry(int index, const std::string& caption) override
    {
        EXPECT_TRUE(index >= 0 && index < Size) << "entry " << index;
        if (index < 0 || index >= Size)
            return;
        m_entries[index] = {caption, true};
        ++m_shows;
    }
    void hideEntry(int index) override
    {
        EXPECT_TRUE(index >= 0 && index < Size) << "entry " << index;
        if (index < 0 || index >= Size)
            return;
        m_entries[index] = {"", false};
        ++m_hides;
    }
    void repaint() override { ++m_repaints; }

    const Entry& entry(int index) const { return m_entries.at(index); }
    // Captions of the visible entries, in menu order, with their index.
    std::map<int, std::string> visible() const
    {
        std::map<int, std::string> result;
        for (int n = 0; n < Size; ++n) {
            if (m_entries[n].visible)
                result[n] = m_entries[n].caption;
        }
        return result;
    }
    int shows() const { return m_shows; }
    int hides() const { return m_hides; }
    int repaints() const { return m_repaints; }

private:
    std::array<Entry, Size> m_entries;
    int m_shows = 0;
    int m_hides = 0;
    int m_repaints = 0;
};

using Slots = std::map<int, std::string>;

// A profile, its store, the user interface, the menu and the list under test.
class PresetFixture : public ::testing::Test
{
protected:
    PresetFixture() : m_store(m_profile.store()), m_list(m_state, m_store, m_ui, m_menu) {}

    void store(const Slots& values)
    {
        for (const auto& [index, text] : values)
            m_store.write_setting(names::Locations, PresetList::SlotName(index), text);
    }
    void storeFull()
    {
        for (int n = 0; n < PresetMenu::Size; ++n)
            store({{n, "City" + std::to_string(n) + ", TX"}});
    }
    // Every slot that reads as something other than "n/a".
    Slots stored() const
    {
        Slots result;
        for (int n = 0; n < PresetMenu::Size; ++n) {
            const std::string value =
                m_store.read_setting(names::Locations, PresetList::SlotName(n));
            if (value != names::NotAvailable)
                result[n] = value;
        }
        return result;
    }
    bool locationsSectionExists() const
    {
        if (!QFileInfo::exists(m_profile.settingsFile()))
            return false;
        QSettings ini(m_profile.settingsFile(), QSettings::IniFormat);
        return ini.childGroups().contains(QStringLiteral("Locations"), Qt::CaseInsensitive);
    }
    void userRequestFor(const std::string& city, const std::string& state)
    {
        m_state.automaticRequest.clear();
        m_state.locationZip.clear();
        m_state.locationCity = city;
        m_state.locationState = state;
    }

    test::TempProfile m_profile;
    SettingsStore m_store;
    SharedState m_state;
    test::RecordingUserInterface m_ui;
    RecordingPresetMenu m_menu;
    PresetList m_list;
};

// --- LoadPresets ------------------------------------------------------------------------------

struct LoadCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const LoadCase& c) { return os << c.name; }
    Slots stored;
    Slots shown;
};

class LoadPresets : public PresetFixture, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(LoadPresets, ShowsSlotsUpToTheFirstMissingOne)
{
    store(GetParam().stored);
    m_list.LoadPresets();
    EXPECT_EQ(m_menu.visible(), GetParam().shown);
    EXPECT_TRUE(m_ui.events().empty());
}

Slots numbered(int count)
{
    Slots result;
    for (int n = 0; n < count; ++n)
        result[n] = "Place" + std::to_string(n) + ", OH";
    return result;
}

INSTANTIATE_TEST_SUITE_P(
    Presets, LoadPresets,
    ::testing::Values(LoadCase{"Empty", {}, {}},
                      LoadCase{"One", {{0, "Boston, MA"}}, {{0, "Boston, MA"}}},
                      LoadCase{"Full", numbered(20), numbered(20)},
                      LoadCase{"GapAtThree",
                               {{0, "A, AL"}, {1, "B, AK"}, {2, "C, AZ"}, {4, "E, CO"}},
                               {{0, "A, AL"}, {1, "B, AK"}, {2, "C, AZ"}}},
                      LoadCase{"FirstSlotMissing", {{1, "B, AK"}, {2, "C, AZ"}}, {}},
                      LoadCase{"EmptyValueIsShown",
                               {{0, ""}, {1, "Lima, Peru (O)"}},
                               {{0, ""}, {1, "Lima, Peru (O)"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- AddPreset: the free slot -----------------------------------------------------------------

struct FreeSlotCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const FreeSlotCase& c)
    {
        return os << c.name;
    }
    Slots stored;
    int expectedSlot;
};

class AddPresetSlot : public PresetFixture, public ::testing::WithParamInterface<FreeSlotCase>
{
};

TEST_P(AddPresetSlot, GoesIntoTheFirstFreeSlot)
{
    store(GetParam().stored);
    userRequestFor("Austin", "TX");
    m_list.AddPreset();

    Slots expected = GetParam().stored;
    expected[GetParam().expectedSlot] = "Austin, TX";
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(m_menu.visible(), (Slots{{GetParam().expectedSlot, "Austin, TX"}}));
    EXPECT_EQ(m_ui.texts(), std::vector<std::string>{Added + "Austin, TX"});
    EXPECT_EQ(m_state.lastPresetName, "Austin, TX");
    EXPECT_EQ(m_menu.repaints(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, AddPresetSlot,
    ::testing::Values(
        FreeSlotCase{"EmptyList", {}, 0}, FreeSlotCase{"AfterTwo", {{0, "A, AL"}, {1, "B, AK"}}, 2},
        FreeSlotCase{"IntoTheGap", {{0, "A, AL"}, {1, "B, AK"}, {2, "C, AZ"}, {4, "E, CO"}}, 3},
        FreeSlotCase{"LastSlot", numbered(19), 19}),
    [](const auto& info) { return std::string(info.param.name); });

// --- AddPreset: the text ----------------------------------------------------------------------

struct CompositionCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const CompositionCase& c)
    {
        return os << c.name;
    }
    const char* zip;
    const char* city;
    const char* state;
    const char* title;
    const char* expected;
    const char* stateAfter; // locationState afterwards
};

class AddPresetText : public PresetFixture, public ::testing::WithParamInterface<CompositionCase>
{
};

TEST_P(AddPresetText, ComposesTheKeyOfItsForm)
{
    const CompositionCase& c = GetParam();
    m_state.locationZip = c.zip;
    m_state.locationCity = c.city;
    m_state.locationState = c.state;
    m_state.locationTitle = c.title;
    m_list.AddPreset();

    EXPECT_EQ(stored(), (Slots{{0, c.expected}}));
    EXPECT_EQ(m_state.lastPresetName, c.expected);
    EXPECT_EQ(m_state.locationState, c.stateAfter);
    EXPECT_EQ(m_ui.texts(), std::vector<std::string>{Added + c.expected});
}

INSTANTIATE_TEST_SUITE_P(
    Presets, AddPresetText,
    ::testing::Values(CompositionCase{"UsCity", "", "San_Antonio", "TX", "San Antonio, Texas",
                                      "San_Antonio, TX", "TX"},
                      CompositionCase{"Zip", "02134", "02134", ".", "Boston, Massachusetts",
                                      "02134 - Boston, MA", "MA"},
                      CompositionCase{"ZipOfUnknownState", "03301", "03301", ".",
                                      "Concord, New Hampshire", "03301 - Concord, ", ""},
                      CompositionCase{"ZipTitleWithoutComma", "90210", "90210", ".",
                                      "Beverly Hills", "90210 - Beverly Hills, ", ""},
                      CompositionCase{"TwoCharacterZip", "12", "12", ".", "Springfield, Illinois",
                                      "12 - Springfield, IL", "IL"},
                      CompositionCase{"OneCharacterZipIsNoZip", "1", "Dayton", "OH", "Dayton, Ohio",
                                      "Dayton, OH", "OH"},
                      CompositionCase{"Foreign", "", "84628", "Peru (O)", "Lima, Peru",
                                      "Lima, Peru (O)", "Peru (O)"},
                      CompositionCase{"ForeignParenAtPositionTwo", "", "03772", "X(O)", "London",
                                      "London (O)", "X(O)"},
                      CompositionCase{"ParenAtPositionOneIsNotForeign", "", "Nowhere", "(O)",
                                      "Elsewhere", "Nowhere, (O)", "(O)"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- AddPreset: duplicates, full list, automatic requests --------------------------------------

TEST_F(PresetFixture, DuplicateTestIsExact)
{
    store({{0, "San Antonio, TX"}});
    userRequestFor("San_Antonio", "TX");
    m_list.AddPreset();
    EXPECT_EQ(stored(), (Slots{{0, "San Antonio, TX"}, {1, "San_Antonio, TX"}}));

    userRequestFor("san_antonio", "TX");
    m_list.AddPreset();
    EXPECT_EQ(stored().size(), 3u) << "case counts in the duplicate test";
}

TEST_F(PresetFixture, KnownPresetSetsLastNameAndShowsNothing)
{
    store({{0, "Boston, MA"}, {1, "Austin, TX"}});
    m_state.lastPresetName = "something older";
    userRequestFor("Austin", "TX");
    m_list.AddPreset();

    EXPECT_EQ(m_state.lastPresetName, "Austin, TX");
    EXPECT_TRUE(m_ui.events().empty());
    EXPECT_EQ(stored(), (Slots{{0, "Boston, MA"}, {1, "Austin, TX"}}));
    EXPECT_EQ(m_menu.shows(), 0);
    EXPECT_EQ(m_menu.repaints(), 0);
}

TEST_F(PresetFixture, PresetStoredAfterAGapIsStillADuplicate)
{
    store({{0, "A, AL"}, {2, "Austin, TX"}});
    userRequestFor("Austin", "TX");
    m_list.AddPreset();
    EXPECT_EQ(stored(), (Slots{{0, "A, AL"}, {2, "Austin, TX"}}));
    EXPECT_TRUE(m_ui.events().empty());
}

struct FullListCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const FullListCase& c)
    {
        return os << c.name;
    }
    const char* city; // "City3" is stored, "Elsewhere" is not
};

class FullListRequest : public PresetFixture, public ::testing::WithParamInterface<FullListCase>
{
};

TEST_P(FullListRequest, EveryUserRequestShowsTheMessageAndStoresNothing)
{
    storeFull();
    const Slots before = stored();
    m_state.lastPresetName = "unchanged";
    for (int request = 0; request < 3; ++request) {
        userRequestFor(GetParam().city, "TX");
        m_list.AddPreset();
    }
    EXPECT_EQ(m_ui.messages(), std::vector<std::string>(3, FullListText));
    EXPECT_EQ(m_ui.texts().size(), 3u);
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(m_state.lastPresetName, "unchanged");
    EXPECT_EQ(m_menu.shows(), 0);
}

INSTANTIATE_TEST_SUITE_P(Presets, FullListRequest,
                         ::testing::Values(FullListCase{"NewLocation", "Elsewhere"},
                                           FullListCase{"ExistingPreset", "City3"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct AutomaticCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const AutomaticCase& c)
    {
        return os << c.name;
    }
    bool full;
};

class AutomaticRequest : public PresetFixture, public ::testing::WithParamInterface<AutomaticCase>
{
};

TEST_P(AutomaticRequest, NeverAddsNorShowsAnything)
{
    if (GetParam().full)
        storeFull();
    const Slots before = stored();
    userRequestFor("Austin", "TX");
    m_state.automaticRequest = "y";
    m_state.lastPresetName = "kept";
    m_list.AddPreset();

    EXPECT_TRUE(m_ui.events().empty());
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(m_state.lastPresetName, "kept");
    EXPECT_EQ(m_menu.shows(), 0);
}

INSTANTIATE_TEST_SUITE_P(Presets, AutomaticRequest,
                         ::testing::Values(AutomaticCase{"EmptyList", false},
                                           AutomaticCase{"FullList", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- SetPresetEntry, ClearPresets -------------------------------------------------------------

TEST_F(PresetFixture, SetPresetEntryIgnoresIndexesOutsideTheMenu)
{
    m_list.SetPresetEntry(-1, "X, XX");
    m_list.SetPresetEntry(20, "X, XX");
    EXPECT_EQ(m_menu.shows(), 0);
    m_list.SetPresetEntry(19, "Last, WY");
    m_list.SetPresetEntry(0, "First, AL");
    EXPECT_EQ(m_menu.visible(), (Slots{{0, "First, AL"}, {19, "Last, WY"}}));
}

TEST_F(PresetFixture, ClearPresetsErasesTheSectionAndHidesAllEntries)
{
    store(numbered(5));
    m_store.write_setting(names::Settings, names::Metric, "y");
    m_list.LoadPresets();
    m_list.ClearPresets();

    EXPECT_FALSE(locationsSectionExists());
    EXPECT_EQ(m_store.read_setting(names::Settings, names::Metric), "y");
    EXPECT_EQ(m_menu.hides(), 20);
    EXPECT_TRUE(m_menu.visible().empty());
    EXPECT_EQ(m_menu.entry(4).caption, "");
    EXPECT_EQ(m_ui.events(), (std::vector<Event>{{Event::Kind::Beep, ""}}));
    EXPECT_EQ(m_menu.repaints(), 1);
}

// --- Sorting ----------------------------------------------------------------------------------

struct SortCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const SortCase& c) { return os << c.name; }
    std::vector<std::string> input;
    std::vector<std::string> sorted;
};

class SortOrder : public PresetFixture, public ::testing::WithParamInterface<SortCase>
{
};

TEST_P(SortOrder, AscendingWithoutRegardToCase)
{
    std::vector<std::string> values = GetParam().input;
    PresetList::SortPresets(values);
    EXPECT_EQ(values, GetParam().sorted);

    // The same order through the store and the menu, and it does not depend on stored order.
    for (const bool reversed : {false, true}) {
        std::vector<std::string> input = GetParam().input;
        if (reversed)
            std::reverse(input.begin(), input.end());
        m_store.erase_section(names::Locations);
        for (int n = 0; n < static_cast<int>(input.size()); ++n)
            store({{n, input[n]}});
        m_list.RebuildPresets();
        Slots expected;
        for (int n = 0; n < static_cast<int>(GetParam().sorted.size()); ++n)
            expected[n] = GetParam().sorted[n];
        EXPECT_EQ(stored(), expected) << (reversed ? "reversed" : "as given");
        EXPECT_EQ(m_menu.visible(), expected) << (reversed ? "reversed" : "as given");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Presets, SortOrder,
    ::testing::Values(
        SortCase{"IgnoresCase",
                 {"boston, MA", "Austin, TX", "Chicago, IL", "akron, OH"},
                 {"akron, OH", "Austin, TX", "boston, MA", "Chicago, IL"}},
        SortCase{"EqualValuesStaySeparate",
                 {"Lima, Peru (O)", "Austin, TX", "Lima, Peru (O)"},
                 {"Austin, TX", "Lima, Peru (O)", "Lima, Peru (O)"}},
        SortCase{"CaseOnlyDifferenceUpperFirst",
                 {"austin, tx", "Austin, TX", "AUSTIN, TX", "Austin, Tx"},
                 {"AUSTIN, TX", "Austin, TX", "Austin, Tx", "austin, tx"}},
        SortCase{"SpaceThenUnderscoreThenLetter",
                 {"Sanford, FL", "San_Antonio, TX", "San Antonio, TX"},
                 {"San Antonio, TX", "San_Antonio, TX", "Sanford, FL"}},
        SortCase{"DigitsBeforeLetters",
                 {"Zurich, Switzerland (O)", "02134 - Boston, MA", "Akron, OH"},
                 {"02134 - Boston, MA", "Akron, OH", "Zurich, Switzerland (O)"}},
        SortCase{"Latin1LettersFoldToo",
                 {"\xC9vian, France (O)", "\xE9tampes, France (O)", "Zug, Switzerland (O)"},
                 {"Zug, Switzerland (O)", "\xE9tampes, France (O)", "\xC9vian, France (O)"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresetFixture, SortOfAnEmptyListErasesTheSectionAndBeepsTwice)
{
    m_store.write_setting(names::Locations, "unrelated", "x");
    ASSERT_TRUE(locationsSectionExists());
    m_list.RebuildPresets();

    EXPECT_FALSE(locationsSectionExists());
    EXPECT_EQ(m_ui.events(),
              (std::vector<Event>{{Event::Kind::Beep, ""}, {Event::Kind::Beep, ""}}));
    EXPECT_EQ(m_menu.shows(), 0);
    EXPECT_EQ(m_menu.hides(), 20);
}

TEST_F(PresetFixture, SortWithoutAnArmedRemovalDropsNothing)
{
    store({{0, "B, AK"}, {1, "A, AL"}});
    m_state.currentLocationKey = "A, AL";
    m_list.RebuildPresets();
    EXPECT_EQ(stored(), (Slots{{0, "A, AL"}, {1, "B, AK"}}));
    EXPECT_EQ(m_ui.beeps(), 2);

    m_state.removeLocationMode = "y"; // only "Y" arms a removal
    m_list.RebuildPresets();
    EXPECT_EQ(stored().size(), 2u);
}

// --- Removal ----------------------------------------------------------------------------------

TEST_F(PresetFixture, RemovalDropsEveryEqualValueAndSorts)
{
    store({{0, "Dayton, OH"},
           {1, "Austin, TX"},
           {2, "Chicago, IL"},
           {3, "Austin, TX"},
           {4, "austin, TX"},
           {5, "Boston, MA"}});
    m_list.LoadPresets();
    m_state.removeLocationMode = "Y";
    m_state.currentLocationKey = "Austin, TX";
    m_list.RebuildPresets();

    const Slots expected{
        {0, "austin, TX"}, {1, "Boston, MA"}, {2, "Chicago, IL"}, {3, "Dayton, OH"}};
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(m_menu.visible(), expected);
    EXPECT_EQ(m_ui.beeps(), 2);
    EXPECT_EQ(m_ui.texts(), std::vector<std::string>{});
    EXPECT_EQ(m_state.removeLocationMode, "Y") << "disarming is the request's job";
}

TEST_F(PresetFixture, RemovalOfTheOnlyPresetLeavesAnEmptyList)
{
    store({{0, "Austin, TX"}});
    m_state.removeLocationMode = "Y";
    m_state.currentLocationKey = "Austin, TX";
    m_list.RebuildPresets();
    EXPECT_TRUE(stored().empty());
    EXPECT_TRUE(m_menu.visible().empty());
}

struct DialogueCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const DialogueCase& c)
    {
        return os << c.name;
    }
    bool yes;
};

class RemovalDialogue : public PresetFixture, public ::testing::WithParamInterface<DialogueCase>
{
};

TEST_P(RemovalDialogue, ArmsTheRemovalOnlyOnYes)
{
    store({{0, "Austin, TX"}});
    m_ui.answerConfirm(GetParam().yes);
    m_list.RemoveLocationDialogue();

    std::vector<Event> expected{{Event::Kind::Confirm, RemoveQuestion}};
    if (GetParam().yes)
        expected.push_back({Event::Kind::Information, RemoveHint});
    EXPECT_EQ(m_ui.events(), expected);
    EXPECT_EQ(m_state.removeLocationMode, GetParam().yes ? "Y" : "");
    EXPECT_EQ(stored(), (Slots{{0, "Austin, TX"}})) << "nothing is removed before the click";
}

INSTANTIATE_TEST_SUITE_P(Presets, RemovalDialogue,
                         ::testing::Values(DialogueCase{"Yes", true}, DialogueCase{"No", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Gaps in the stored slots -----------------------------------------------------------------

TEST_F(PresetFixture, GapHidesLaterSlotsAndTakesTheNextPreset)
{
    store({{0, "C, AZ"}, {1, "A, AL"}, {2, "B, AK"}, {4, "E, CO"}, {5, "D, CA"}});
    m_list.LoadPresets();
    EXPECT_EQ(m_menu.visible(), (Slots{{0, "C, AZ"}, {1, "A, AL"}, {2, "B, AK"}}));

    userRequestFor("F", "CT");
    m_list.AddPreset();
    EXPECT_EQ(m_state.lastPresetName, "F, CT");
    EXPECT_EQ(stored().at(3), "F, CT");
    EXPECT_EQ(m_menu.entry(3).caption, "F, CT");
}

struct GapCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const GapCase& c) { return os << c.name; }
    bool removing;
    Slots expected;
};

class GapRebuild : public PresetFixture, public ::testing::WithParamInterface<GapCase>
{
};

TEST_P(GapRebuild, KeepsPresetsStoredAfterTheGap)
{
    store({{0, "C, AZ"}, {1, "A, AL"}, {2, "B, AK"}, {4, "E, CO"}, {5, "D, CA"}, {19, "G, DE"}});
    if (GetParam().removing) {
        m_state.removeLocationMode = "Y";
        m_state.currentLocationKey = "B, AK";
    }
    m_list.RebuildPresets();
    EXPECT_EQ(stored(), GetParam().expected);
    EXPECT_EQ(m_menu.visible(), GetParam().expected);

    // The list has no gap any more, so a fresh start shows all of it.
    RecordingPresetMenu fresh;
    PresetList(m_state, m_store, m_ui, fresh).LoadPresets();
    EXPECT_EQ(fresh.visible(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, GapRebuild,
    ::testing::Values(
        GapCase{
            "Sort",
            false,
            {{0, "A, AL"}, {1, "B, AK"}, {2, "C, AZ"}, {3, "D, CA"}, {4, "E, CO"}, {5, "G, DE"}}},
        GapCase{"Removal",
                true,
                {{0, "A, AL"}, {1, "C, AZ"}, {2, "D, CA"}, {3, "E, CO"}, {4, "G, DE"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresetFixture, EmptyStoredValueDoesNotEndTheRewrite)
{
    store({{0, "B, AK"}, {1, ""}, {2, "A, AL"}});
    m_list.RebuildPresets();
    EXPECT_EQ(stored(), (Slots{{0, "A, AL"}, {1, "B, AK"}}));
}

// --- Store failures ---------------------------------------------------------------------------

// loc1 holds a value that is not text, as an outside edit could leave it.
void writeNonTextSlot(const QString& iniPath)
{
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    QFile file(iniPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Locations]\nloc0=Boston, MA\nloc1=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n");
}

struct ReadFailureCase
{
    const char* name;
    friend std::ostream& operator<<(std::ostream& os, const ReadFailureCase& c)
    {
        return os << c.name;
    }
    void (PresetList::*command)();
};

class ReadFailure : public PresetFixture, public ::testing::WithParamInterface<ReadFailureCase>
{
};

TEST_P(ReadFailure, PropagatesAsSettingsErrorAndKeepsTheList)
{
    writeNonTextSlot(m_profile.settingsFile());
    userRequestFor("Austin", "TX");
    try {
        (m_list.*GetParam().command)();
        FAIL() << "a non-text slot must stop the command";
    } catch (const SettingsError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'loc1'");
    }
    EXPECT_EQ(m_store.read_setting(names::Locations, "loc0"), "Boston, MA");
    EXPECT_TRUE(m_ui.texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Presets, ReadFailure,
                         ::testing::Values(ReadFailureCase{"LoadPresets", &PresetList::LoadPresets},
                                           ReadFailureCase{"AddPreset", &PresetList::AddPreset},
                                           ReadFailureCase{"RebuildPresets",
                                                           &PresetList::RebuildPresets}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PresetStoreFailure, RefusedWritePropagatesAsSettingsError)
{
    // A store whose folder cannot be made, because a plain file sits where it should be; this
    // fails for root as well.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(dir.filePath(QStringLiteral("blocker/Cirrolux/Cirrolux.ini")));

    SharedState state;
    state.locationCity = "Austin";
    state.locationState = "TX";
    test::RecordingUserInterface ui;
    RecordingPresetMenu menu;
    PresetList list(state, store, ui, menu);
    EXPECT_THROW(list.AddPreset(), SettingsError);
    EXPECT_EQ(menu.shows(), 0) << "the menu shows nothing that was not stored";
}

} // namespace
