#include "locations/PresetList.h"

#include "locations/LocationCatalogue.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace cirrolux {

namespace {

namespace names = SettingNames;

const std::string FullListText =
    "Sorry, you can only have up to 20 preset locations. Please use the Clear option under "
    "Get_Stats to clear the locations and start over.";
const std::string AddedText = "Location added to Get_Stats presets: ";
const std::string RemoveQuestion =
    "Are you sure you want to select and delete a location from the GetStats menu?";
const std::string RemoveHint =
    "Please select (click) the location you would like to remove (from the GetStats menu).";

bool isMissing(const std::string& value)
{
    return value == names::NotAvailable;
}

// Latin-1 case folding: A-Z and the accented capitals (not the multiplication sign).
unsigned char foldCase(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<unsigned char>(byte + 0x20);
    return byte;
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return foldCase(x) < foldCase(y); });
}

} // namespace

PresetList::PresetList(SharedState& state, SettingsStore& settings, UserInterface& ui,
                       PresetMenu& menu)
    : m_state(state), m_settings(settings), m_ui(ui), m_menu(menu)
{
}

std::string PresetList::SlotName(int index)
{
    return std::string(names::PresetPrefix) + std::to_string(index);
}

std::string PresetList::readSlot(int index) const
{
    return m_settings.read_setting(names::Locations, SlotName(index));
}

void PresetList::LoadPresets()
{
    for (int n = 0; n < PresetMenu::Size; ++n) {
        const std::string value = readSlot(n);
        if (isMissing(value))
            return;
        SetPresetEntry(n, value);
    }
}

void PresetList::AddPreset()
{
    if (m_state.automaticRequest == "y")
        return;

    int freeSlot = -1;
    for (int n = 0; n < PresetMenu::Size; ++n) {
        if (isMissing(readSlot(n))) {
            freeSlot = n;
            break;
        }
    }
    if (freeSlot < 0) {
        m_ui.showMessage(FullListText);
        return;
    }

    std::string text;
    if (m_state.locationZip.size() >= 2) {
        StateNameToCode(m_state);
        m_state.locationState = m_state.stateCode;
        text = m_state.locationZip + " - " + m_state.titleCity + ", " + m_state.stateCode;
    } else if (const auto paren = m_state.locationState.find('(');
               paren != std::string::npos && paren >= 1) {
        text = m_state.locationTitle + " (O)";
    } else {
        text = m_state.locationCity + ", " + m_state.locationState;
    }

    // Slots after a gap count too, so an outside edit cannot make a stored location a double.
    for (int n = 0; n < PresetMenu::Size; ++n) {
        if (readSlot(n) == text) {
            m_state.lastPresetName = text;
            return;
        }
    }

    m_state.lastPresetName = text;
    m_ui.showInformation(AddedText + text);
    m_settings.write_setting(names::Locations, SlotName(freeSlot), text);
    SetPresetEntry(freeSlot, text);
    m_menu.repaint();
}

void PresetList::SetPresetEntry(int index, const std::string& text)
{
    if (index < 0 || index >= PresetMenu::Size)
        return;
    m_menu.showEntry(index, text);
}

void PresetList::ClearPresets()
{
    m_settings.erase_section(names::Locations);
    m_ui.beep();
    for (int n = 0; n < PresetMenu::Size; ++n)
        m_menu.hideEntry(n);
    m_menu.repaint();
}

void PresetList::RebuildPresets()
{
    const bool removing = m_state.removeLocationMode == "Y";
    std::vector<std::string> values;
    // All 20 slots, not just up to the first gap: values stored after a gap would otherwise be
    // erased with the section and never written back. Empty values carry no location; skipping
    // them keeps one from sorting first and ending the rewrite before anything is written.
    for (int n = 0; n < PresetMenu::Size; ++n) {
        std::string value = readSlot(n);
        if (isMissing(value) || value.empty())
            continue;
        if (removing && value == m_state.currentLocationKey)
            continue;
        values.push_back(std::move(value));
    }
    SortPresets(values);

    ClearPresets();
    for (int n = 0; n < static_cast<int>(values.size()) && n < PresetMenu::Size; ++n) {
        m_settings.write_setting(names::Locations, SlotName(n), values[n]);
        SetPresetEntry(n, values[n]);
    }
    m_ui.beep();
}

void PresetList::RemoveLocationDialogue()
{
    if (!m_ui.confirm(RemoveQuestion))
        return;
    m_state.removeLocationMode = "Y";
    m_ui.showInformation(RemoveHint);
}

void PresetList::SortPresets(std::vector<std::string>& values)
{
    std::sort(values.begin(), values.end(), [](const std::string& a, const std::string& b) {
        if (lessIgnoringCase(a, b))
            return true;
        if (lessIgnoringCase(b, a))
            return false;
        return a < b;
    });
}

} // namespace cirrolux
