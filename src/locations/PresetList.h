#pragma once

#include <string>

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
class PresetList
{
public:
    PresetList(SharedState& state, SettingsStore& settings, UserInterface& ui, PresetMenu& menu);

    void LoadPresets();
    void AddPreset();
    void SetPresetEntry(int index, const std::string& text);
    void ClearPresets();
    void RebuildPresets();
    // "Remove a specific location": the Yes/No question, then arms removeLocationMode.
    void RemoveLocationDialogue();

private:
    SharedState& m_state;
    SettingsStore& m_settings;
    UserInterface& m_ui;
    PresetMenu& m_menu;
};

} // namespace cirrolux
