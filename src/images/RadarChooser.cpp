#include "images/RadarChooser.h"

#include "net/ServiceAddresses.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "wallpaper/WallpaperCatalogue.h"

#include <array>

namespace cirrolux {

namespace {

constexpr std::array<std::string_view, 53> StateList = {
    "AL-Alabama",
    "AZ-Arizona",
    "AR-Arkansas",
    "CN-California North",
    "CS-California South",
    "CO-Colorado",
    "CT-Connecticut",
    "DC-Delaware",
    "DC-District of Columbia",
    "FL-Florida",
    "GA-Georgia",
    "ID-Idaho",
    "IL-Illinois",
    "IN-Indiana",
    "IA-Iowa",
    "KS-Kansas",
    "KY-Kentucky",
    "LA-Lousiana",
    "ME-Maine",
    "CT-Maryland",
    "CT-Massachusetts",
    "MI-Michigan",
    "MN-Minnesota",
    "MS-Mississippi",
    "MO-Missouri",
    "MT-Montana",
    "NE-Nebraska",
    "NV-Nevada",
    "NH-New Hampshire",
    "NJ-New Jersey",
    "NM-New Mexico",
    "NY-New York",
    "NC-North Carolina",
    "ND-North Dakota",
    "OH-Ohio",
    "OK-Oklahoma",
    "OR-Oregon",
    "PA-Pennsylvania",
    "CT-Rhode Island",
    "SC-South Carolina",
    "SD-South Dakota",
    "TN-Tennessee",
    "NT-Texas - North",
    "ST-Texas - South",
    "WT-Texas - West",
    "UT-Utah",
    "NH-Vermont",
    "VA-Virginia",
    "WA-Washington",
    "WV-West Virginia",
    "WI-Wisconsin",
    "WY-Wyoming",
    "None",
};

constexpr std::array<std::string_view, 8> RegionList = {
    "None",
    "R1-US Northeast Region",
    "R2-US Southeast Region",
    "R3-US North Central",
    "R4-US South Central",
    "R5-US Northwest",
    "R6-US Southwest",
    "US-United States",
};

bool chosen(const std::string& text)
{
    return !text.empty() && text != SettingNames::None;
}

} // namespace

RadarChooser::RadarChooser(SettingsStore& settings, UserInterface& ui, Target& target)
    : m_settings(settings), m_ui(ui), m_target(target)
{
}

std::span<const std::string_view> RadarChooser::stateEntries()
{
    return StateList;
}

std::span<const std::string_view> RadarChooser::regionEntries()
{
    return RegionList;
}

std::string RadarChooser::radarUrl(std::string_view code)
{
    return std::string(ServiceAddresses::MakerSite) +
           std::string(ServiceAddresses::RegionalRadarFolder) + radarFile(code);
}

std::string RadarChooser::radarFile(std::string_view code)
{
    return std::string(code) + std::string(ServiceAddresses::RegionalRadarSuffix);
}

RadarChooser::Outcome RadarChooser::OKBtnClick(const std::string& stateText,
                                               const std::string& regionText,
                                               const std::function<void()>& hideDialog)
{
    // An untouched list is refused like "None": otherwise the request would name no area.
    const std::string* entry = chosen(stateText)    ? &stateText
                               : chosen(regionText) ? &regionText
                                                    : nullptr;
    if (entry == nullptr) {
        m_ui.beep();
        m_ui.showMessage(
            "Sorry, you chose None for both selections. Please select a valid location.");
        return Outcome::Refused;
    }
    const std::string code = entry->substr(0, 2);
    if (hideDialog)
        hideDialog();
    if (m_preferencesMode) {
        const std::string value = std::string(WallpaperCatalogue::RadarPrefix) + code;
        m_settings.write_setting(SettingNames::Settings, SettingNames::AutoWallpaper, value);
        m_target.showWallpaperChoice(value);
        m_preferencesMode = false;
        return Outcome::Stored;
    }
    const std::string name = entry->size() > 3 ? entry->substr(3) : std::string();
    m_target.showRadarImage("Cirrolux - " + name + " Radar - Courtesy of WeatherBank, Inc.",
                            radarUrl(code), radarFile(code));
    return Outcome::Shown;
}

} // namespace cirrolux
