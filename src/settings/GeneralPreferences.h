#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cirrolux {

class RadarChooserCommands;
class SettingsStore;
class TNMHTTP;
class UserInterface;

// What the preferences dialog shows, control by control, as the logic reads and writes it. The
// dialog copies its widgets into this, runs a step of GeneralPreferences and shows the result.
struct PreferenceControls
{
    // Group " Auto Update "
    bool autoUpdate = true;             // radioYesupstat (else radioNoupstat)
    bool autoUpdateListsEnabled = true; // cboStartupLoc and cboAutoWallpaper
    std::vector<std::string> startupLocations;
    std::string startupLocation;              // cboStartupLoc's edit field
    std::vector<std::string> wallpaperImages; // cboAutoWallpaper, sorted
    std::string wallpaperImage;
    std::vector<std::string> wallpaperStyles;
    std::string wallpaperStyle;
    std::string x, y; // txtXloc, txtYloc
    bool positionEnabled = false;
    // Group " Proxy Settings "
    bool proxyUse = false; // CheckBox1
    bool proxyEditsEnabled = false;
    std::string proxy, proxyPort, proxyUserid, proxyPass;
    // Group " Metric Setting "
    bool metric = false;    // radioMetric (else radioEnglish)
    bool minimized = false; // ckMinimized
};

// The preferences dialog without its widgets: loading from the store, the rules while it is
// open, and OK. Store and transfer errors are not caught; they end the step and reach the
// caller's command guard.
class GeneralPreferences
{
public:
    static constexpr std::string_view RadarWallpaper = "Regional/State Radar";
    static constexpr std::string_view ChooseXY = "Choose X,Y:";

    // `radarChooser` may be null (no radar chooser installed). All references must outlive this.
    GeneralPreferences(SettingsStore& settings, UserInterface& ui, TNMHTTP& http,
                       RadarChooserCommands* radarChooser);

    // The 21 wallpaper image titles in the order they are added, and the four styles.
    static std::span<const std::string_view> WallpaperImageTitles();
    static std::span<const std::string_view> WallpaperStyleNames();
    // Sorts as the wallpaper image list shows its entries: without regard to letter case.
    static void SortWallpaperImages(std::vector<std::string>& titles);
    // Whether an X or Y text is a whole number 0 to 99999.
    static bool ValidPosition(const std::string& text);

    // Fills the controls from the store. An edit whose value is not stored keeps its text.
    void Load(PreferenceControls& c);

    void radioYesupstatClick(PreferenceControls& c);
    void radioNoupstatClick(PreferenceControls& c);
    void CheckBox1Click(PreferenceControls& c);
    // Stores "StartMinimized" at once.
    void ckMinimizedClick(PreferenceControls& c);
    void cboWallpaperStylesChange(PreferenceControls& c);
    // "Regional/State Radar" opens the radar chooser in its preferences mode.
    void cboAutoWallpaperChange(PreferenceControls& c);
    // The radar chooser's choice ("Regional/State Radar=" + code), which it has stored itself,
    // shown as the wallpaper image.
    static void ShowRadarWallpaper(PreferenceControls& c, const std::string& text);

    // OK: stores the choices and hands the proxy to the transfer component. A proxy port that is
    // not a whole number throws CirroluxError("'<port>' is not a valid integer value") after
    // "AutoUpdate" and "StartupLoc" were written; the dialog then stays open.
    void btnOkayClick(PreferenceControls& c);

private:
    void write(std::string_view name, std::string_view value);
    SettingsStore& m_settings;
    UserInterface& m_ui;
    TNMHTTP& m_http;
    RadarChooserCommands* m_radarChooser;
};

} // namespace cirrolux
