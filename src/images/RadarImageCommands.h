#pragma once

#include "images/RadarChooser.h"
#include "platform/WindowCommands.h"

#include <functional>
#include <memory>

class QWidget;

namespace cirrolux {

class ImageDownload;
class ImageWindow;
class SettingsStore;
class TNMHTTP;
class TSelectState_dlg;
class UserInterface;
struct SharedState;

// The radar chooser as the menus and the preferences dialog open it: its window, and what a
// confirmed choice does (the area's loop in the image window, or the wallpaper choice).
class RadarImageCommands final : public RadarChooserCommands, private RadarChooser::Target
{
public:
    // The image window and its download, once they exist (they are made after the chooser).
    struct Images
    {
        ImageWindow* window = nullptr;
        ImageDownload* download = nullptr;
    };

    // References must outlive this object; `parent` owns nothing here.
    RadarImageCommands(SharedState& state, SettingsStore& settings, UserInterface& ui,
                       TNMHTTP& http, std::function<Images()> images, QWidget* parent);
    ~RadarImageCommands() override;

    void openRadarChooser(bool preferencesMode) override;
    // Where a choice made for the preferences goes (their wallpaper list).
    void setWallpaperChoiceHandler(std::function<void(const std::string&)> handler)
    {
        m_wallpaperChoice = std::move(handler);
    }

    TSelectState_dlg& dialog() { return *m_dialog; }
    RadarChooser& chooser() { return m_chooser; }

private:
    void showRadarImage(const std::string& title, const std::string& url,
                        const std::string& file) override;
    void showWallpaperChoice(const std::string& value) override;

    SharedState& m_state;
    TNMHTTP& m_http;
    std::function<Images()> m_images;
    std::function<void(const std::string&)> m_wallpaperChoice;
    RadarChooser m_chooser;
    std::unique_ptr<TSelectState_dlg> m_dialog;
};

} // namespace cirrolux
