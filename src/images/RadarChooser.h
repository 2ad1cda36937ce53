#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace cirrolux {

class SettingsStore;
class UserInterface;

// The state and regional radar chooser without its window: the two area lists and what "&OK"
// does with a choice. An area entry is a two-character code, "-" and the area's name
// ("NT-Texas - North"); several states share the code of the image that covers them.
class RadarChooser
{
public:
    // What a confirmed choice drives.
    class Target
    {
    public:
        virtual ~Target() = default;
        // Downloads and shows one radar image (animated from frame 2) in the image window.
        virtual void showRadarImage(const std::string& title, const std::string& url,
                                    const std::string& file) = 0;
        // Puts the stored wallpaper choice into the preferences dialog's wallpaper list.
        virtual void showWallpaperChoice(const std::string& value) = 0;
    };

    enum class Outcome {
        Refused, // nothing usable chosen; the dialog stays open
        Stored,  // preferences mode: the area became the wallpaper image
        Shown,   // the area's radar image was requested
    };

    RadarChooser(SettingsStore& settings, UserInterface& ui, Target& target);

    // The lists in the order they are shown; each ends or starts with "None".
    static std::span<const std::string_view> stateEntries();
    static std::span<const std::string_view> regionEntries();

    // Address and local file of an area's radar image.
    static std::string radarUrl(std::string_view code);
    static std::string radarFile(std::string_view code);

    // Preferences mode stores the choice as the automatic wallpaper instead of showing it. It
    // is the chooser's own state, not the web page window's mode text: sharing that text would
    // turn an open country window into the fire report. A confirmed choice or Cancel (the
    // button, Escape or the title bar's close) ends it.
    void setPreferencesMode(bool on) { m_preferencesMode = on; }
    bool preferencesMode() const { return m_preferencesMode; }

    // "&OK" with the texts of the two lists. A state wins over a region; "None" or an
    // untouched list counts as no choice. `hideDialog` runs once the choice is valid, before
    // anything is stored or downloaded.
    Outcome OKBtnClick(const std::string& stateText, const std::string& regionText,
                       const std::function<void()>& hideDialog = {});
    void CancelBtnClick() { m_preferencesMode = false; }

    UserInterface& ui() const { return m_ui; }

private:
    SettingsStore& m_settings;
    UserInterface& m_ui;
    Target& m_target;
    bool m_preferencesMode = false;
};

} // namespace cirrolux
