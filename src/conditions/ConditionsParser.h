#pragma once

#include "conditions/ConditionsRecord.h"
#include "conditions/ConditionsView.h"

#include <functional>
#include <string>
#include <string_view>

namespace cirrolux {

class ConditionsView;
class SettingsStore;
class UserInterface;
struct SharedState;

// How ConvertReading treats a Fahrenheit reading.
enum class ConvertMode {
    FC,   // temperature in metric mode: set temperatureF, convert to Celsius
    FX,   // temperature in Fahrenheit mode: set temperatureF, keep the text
    None, // heat index or wind chill in metric mode: convert, leave temperatureF alone
};

// Replaces every occurrence of `pattern`, scanning left to right and never searching a
// replacement again. An empty pattern leaves the text as it is.
std::string ReplaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement);

// Removes markup and turns the page's entities and control characters into plain text; trimmed.
std::string CleanPageText(std::string_view text);

// Reads the number in the first four characters of a Fahrenheit reading (a minus sign right
// before the first digit counts) and returns the display text for `mode`. Writes temperatureF
// in the modes FC and FX, and sets it to 999 in every mode when the reading holds no digit.
std::string ConvertReading(std::string_view text, ConvertMode mode, int& temperatureF);

// Tray picture index for a sky conditions text (first keyword that matches, 0 for none).
int SkyIconFor(std::string_view sky);

// The conditions page parser: cuts a conditions page into a ConditionsRecord and shows it.
// Callers run ParseConditionsPage, CompleteHeatIndex and CompleteWindChill back to back.
class ConditionsParser
{
public:
    // `addPreset` is run at the end of every parse (the preset list's AddPreset).
    ConditionsParser(SharedState& state, const SettingsStore& settings, UserInterface& ui,
                     ConditionsView& view, std::function<void()> addPreset);

    // Parses one whole page, shows its readings, messages, tray tip and picture and the window
    // title, and records the readings in record().
    void ParseConditionsPage(std::string_view page);
    // Fills in a heat index where the page gave none.
    void CompleteHeatIndex();
    // Computes the wind chill from the wind and temperature.
    void CompleteWindChill();

    // False when the last page held no observation block at all (messages P1 or P2): an error
    // page or a file that is no conditions page.
    bool observationFound() const { return m_observationFound; }
    // Shows the readings of `previous` again and records them: what a caller does when the page
    // turned out to hold no observation, so the user keeps the last good readings. Does nothing
    // when `previous` holds no readings from a page.
    void restoreReadings(const ConditionsRecord& previous);

    // The readings of the last parse as shown. After a parse error the readings not reached
    // stay empty, as their labels do, and `updated` keeps the conditions line shown before.
    // Without a sky on the page trayTip is empty and skyIcon 0, while the tray itself keeps
    // its last tip and picture.
    const ConditionsRecord& record() const { return m_record; }

private:
    bool metric() const;
    void show(ConditionsView::Reading which, std::string& field, std::string text);
    void clearReadings();
    // Everything between the first status text and the finish; returns early after P2 or P3.
    void readPage(std::string_view page);
    // False after P3, which ends the reading.
    bool readTemperature(const std::string& text);
    void readTable(const std::string& text);
    void readSky(const std::string& text);
    void finishParse();

    SharedState& m_state;
    const SettingsStore& m_settings;
    UserInterface& m_ui;
    ConditionsView& m_view;
    std::function<void()> m_addPreset;
    ConditionsRecord m_record;
    bool m_observationFound = false;
};

} // namespace cirrolux
