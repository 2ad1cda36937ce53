#include "settings/GeneralPreferences.h"

#include "platform/UserInterface.h"
#include "platform/WindowCommands.h"
#include "settings/ProxySettings.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <array>

namespace cirrolux {

namespace names = SettingNames;

namespace {

constexpr std::array<std::string_view, 21> ImageTitles{
    "None",
    "Regional/State Radar",
    "Australia Satellite Image - JCU/JMA",
    "Australia (Queensland) Satellite Image - JCU/JMA",
    "N.A. Surface Temperature Contour - Purdue",
    "GMS Infrared - Australia, east Asia, west Pacific Ocean",
    "GMS-5 - Japan and Far East Infrared",
    "GOES-East Infrared - North and South America",
    "GOES-West Infrared - North America and Pacific Ocean",
    "Meteosat Infrared - Africa, Europe, and Atlantic Ocean",
    "US Frontal Positions - Purdue",
    "US Monthly Precipitation - Purdue",
    "US Radar Image - Purdue",
    "US Radar Image - Yahoo",
    "US Surface Data Plot - Purdue",
    "Europe Satellite Image",
    "Europe Satellite Image - Meteo",
    "Global Temp/Weather Image - UW-M",
    "US Infrared Satellite Image - Purdue",
    "US Infrared/Satellite/Radar Image - Purdue",
    "U.S. StormWatch",
};

constexpr std::array<std::string_view, 4> StyleNames{"Tile", "Center", "SizeToFit", "Choose X,Y:"};

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string trimmed(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

} // namespace

GeneralPreferences::GeneralPreferences(SettingsStore& settings, UserInterface& ui, TNMHTTP& http,
                                       RadarChooserCommands* radarChooser)
    : m_settings(settings), m_ui(ui), m_http(http), m_radarChooser(radarChooser)
{
}

std::span<const std::string_view> GeneralPreferences::WallpaperImageTitles()
{
    return ImageTitles;
}

std::span<const std::string_view> GeneralPreferences::WallpaperStyleNames()
{
    return StyleNames;
}

void GeneralPreferences::SortWallpaperImages(std::vector<std::string>& titles)
{
    std::stable_sort(titles.begin(), titles.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char l, char r) { return folded(l) < folded(r); });
    });
}

bool GeneralPreferences::ValidPosition(const std::string& text)
{
    return !text.empty() && text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void GeneralPreferences::Load(PreferenceControls& c)
{
    const auto read = [this](std::string_view name) {
        return m_settings.read_setting(names::Settings, name);
    };
    const auto stored = [](const std::string& value) { return value != names::NotAvailable; };

    const std::string autoUpdate = read(names::AutoUpdate);
    c.autoUpdate = autoUpdate == "y" || !stored(autoUpdate);
    c.autoUpdateListsEnabled = c.autoUpdate;

    // Ticking the box runs its handler, which stores the same value again.
    const bool minimized = read(names::StartMinimized) == "y";
    if (minimized != c.minimized) {
        c.minimized = minimized;
        ckMinimizedClick(c);
    }

    c.metric = read(names::Metric) == "y";

    c.startupLocations.clear();
    c.startupLocation.clear();
    for (int slot = 0; slot < 20; ++slot) {
        const std::string key = m_settings.read_setting(
            names::Locations, std::string(names::PresetPrefix) + std::to_string(slot));
        if (!stored(key))
            break;
        c.startupLocations.push_back(key);
    }
    c.startupLocations.emplace_back(names::None);
    if (const std::string startup = read(names::StartupLoc); stored(startup))
        c.startupLocation = startup;

    c.wallpaperImages.assign(ImageTitles.begin(), ImageTitles.end());
    const std::string image = read(names::AutoWallpaper);
    ShowRadarWallpaper(c, stored(image) ? image : std::string(names::None));

    c.proxyUse = read(names::ProxyUse) == "y";
    c.proxyEditsEnabled = c.proxyUse;
    const struct
    {
        std::string_view name;
        std::string* edit;
    } proxyEdits[] = {{names::Proxy, &c.proxy},
                      {names::ProxyPort, &c.proxyPort},
                      {names::ProxyUserid, &c.proxyUserid},
                      {names::ProxyPass, &c.proxyPass}};
    for (const auto& edit : proxyEdits) {
        if (const std::string value = read(edit.name); stored(value))
            *edit.edit = value;
    }

    c.wallpaperStyles.assign(StyleNames.begin(), StyleNames.end());
    const std::string position = read(names::WallpaperLoc);
    if (position == "0" || !stored(position)) {
        c.wallpaperStyle = StyleNames[0];
    } else if (position == "1" || position == "2") {
        c.wallpaperStyle = StyleNames[std::size_t(position[0] - '0')];
    } else {
        c.wallpaperStyle = ChooseXY;
        const std::size_t comma = position.find(',');
        c.x = position.substr(0, comma);
        c.y = comma == std::string::npos ? std::string() : position.substr(comma + 1);
    }
    // The position edits follow the style shown, also when it was loaded.
    cboWallpaperStylesChange(c);
}

void GeneralPreferences::radioYesupstatClick(PreferenceControls& c)
{
    c.autoUpdate = true;
    c.autoUpdateListsEnabled = true;
}

void GeneralPreferences::radioNoupstatClick(PreferenceControls& c)
{
    c.autoUpdate = false;
    c.autoUpdateListsEnabled = false;
}

void GeneralPreferences::CheckBox1Click(PreferenceControls& c)
{
    // The four edits follow the box, so they never end up enabled while it is unticked.
    c.proxyEditsEnabled = c.proxyUse;
}

void GeneralPreferences::ckMinimizedClick(PreferenceControls& c)
{
    write(names::StartMinimized, c.minimized ? "y" : "n");
}

void GeneralPreferences::cboWallpaperStylesChange(PreferenceControls& c)
{
    c.positionEnabled = c.wallpaperStyle == ChooseXY;
}

void GeneralPreferences::cboAutoWallpaperChange(PreferenceControls& c)
{
    if (c.wallpaperImage == RadarWallpaper && m_radarChooser)
        m_radarChooser->openRadarChooser(true);
}

void GeneralPreferences::ShowRadarWallpaper(PreferenceControls& c, const std::string& text)
{
    if (std::find(c.wallpaperImages.begin(), c.wallpaperImages.end(), text) ==
        c.wallpaperImages.end())
        c.wallpaperImages.push_back(text);
    SortWallpaperImages(c.wallpaperImages);
    c.wallpaperImage = text;
}

void GeneralPreferences::btnOkayClick(PreferenceControls& c)
{
    if (c.autoUpdate) {
        write(names::AutoUpdate, "y");
        if (c.startupLocation.size() < 5)
            m_ui.showMessage(
                "Warning - you chose auto-update but didn't choose a startup location.");
    } else {
        write(names::AutoUpdate, "n");
    }
    write(names::StartupLoc, c.startupLocation);

    if (c.proxyUse) {
        ToInteger(c.proxyPort);
        write(names::Proxy, c.proxy);
        write(names::ProxyPort, c.proxyPort);
        write(names::ProxyUse, "y");
        write(names::ProxyUserid, c.proxyUserid);
        write(names::ProxyPass, c.proxyPass);
    } else {
        write(names::ProxyUse, "n");
    }

    write(names::Metric, c.metric ? "y" : "n");

    // A radar choice was stored by the radar chooser itself, with its code.
    if (c.wallpaperImage.find(RadarWallpaper) == std::string::npos)
        write(names::AutoWallpaper, c.wallpaperImage);

    if (c.wallpaperStyle == ChooseXY) {
        c.x = trimmed(c.x);
        c.y = trimmed(c.y);
        if (!ValidPosition(c.x))
            m_ui.showMessage(
                "Input error - you didn't enter a valid X value for Wallpaper location.");
        if (!ValidPosition(c.y))
            m_ui.showMessage(
                "Input error - you didn't enter a valid Y value for Wallpaper location.");
        write(names::WallpaperLoc, c.x + "," + c.y);
    } else if (const auto style = std::find(StyleNames.begin(), StyleNames.end(), c.wallpaperStyle);
               style != StyleNames.end()) {
        write(names::WallpaperLoc, std::to_string(style - StyleNames.begin()));
    } else {
        m_ui.showMessage("Error - invalid choice from Wallpaper style options.");
    }

    process_proxy_info(m_settings, m_http);
}

void GeneralPreferences::write(std::string_view name, std::string_view value)
{
    m_settings.write_setting(names::Settings, name, value);
}

} // namespace cirrolux
