#pragma once

#include <string>
#include <vector>

namespace cirrolux {

class SettingsStore;
class UserInterface;
struct SharedState;

// The 20 preset entries of the "&Get Stats" menu, implemented by the main window
// (mnuViewstats0 ... mnuViewStats19) and by a recorder in tests.
class PresetMenu
{
public:
    static constexpr int Size = 20;
    virtual ~PresetMenu() = default;
    // Sets the caption of entry `index` and makes it visible.
    virtual void showEntry(int index, const std::string& caption) = 0;
    // Empties the caption of entry `index` and hides it.
    virtual void hideEntry(int index) = 0;
    // Repaints the main window.
    virtual void repaint() = 0;
};

// Up to 20 location keys kept in section "Locations" (values loc0..loc19) and mirrored by the
// preset menu.
//
// Slots are meant to be filled from loc0 without gaps; a gap (made by an outside edit) ends the
// list for LoadPresets and AddPreset, and AddPreset fills it next. RebuildPresets reads all 20
// slots so that values stored after a gap are kept and the gap closes.
//
// Every store failure propagates as SettingsError; nothing here catches it.
class PresetList
{
public:
    PresetList(SharedState& state, SettingsStore& settings, UserInterface& ui, PresetMenu& menu);

    // Shows loc0, loc1, ... in the menu up to the first missing slot.
    void LoadPresets();
    // Called at the end of every parse. For a request the user started, stores the location
    // just parsed in the first free slot unless it is already a preset, and sets lastPresetName.
    // A full list shows the full-list message instead, even for a location already stored.
    void AddPreset();
    // Sets the caption of menu entry `index` and shows it; an index outside 0..19 does nothing.
    void SetPresetEntry(int index, const std::string& text);
    // Erases section "Locations", beeps and hides all 20 entries.
    void ClearPresets();
    // Re-reads the list, drops every value equal to currentLocationKey while a removal is armed,
    // sorts, clears and rewrites it from loc0, then beeps again. Does not disarm the removal.
    void RebuildPresets();
    // "Remove a specific location": the Yes/No question, then arms removeLocationMode.
    void RemoveLocationDialogue();

    // Sort order of RebuildPresets: ascending without regard to letter case (Latin-1 letters
    // folded to lower case, then byte order). Values that differ only in case are ordered by
    // their plain bytes, so upper case comes first and the result does not depend on the
    // stored order. Equal values stay as separate entries.
    static void SortPresets(std::vector<std::string>& values);

    // "loc" + slot number.
    static std::string SlotName(int index);

private:
    std::string readSlot(int index) const;

    SharedState& m_state;
    SettingsStore& m_settings;
    UserInterface& m_ui;
    PresetMenu& m_menu;
};

} // namespace cirrolux
