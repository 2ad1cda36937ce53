#pragma once

#include "images/WallpaperCommands.h"
#include "wallpaper/WallpaperInstall.h"
#include "wallpaper/WallpaperPlacement.h"

#include <QImage>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

namespace cirrolux {

class ImageDownload;
class SettingsStore;
class TNMHTTP;
class UserInterface;
struct SharedState;

// The desktop wallpaper from a downloaded image: by hand ("Save As &Wallpaper" of the image
// window) and after every timed refresh while "AutoWallpaper" names a catalogue image.
// Decoder, store and desktop errors are not caught: they end the update in the caller's guard.
class WallpaperUpdate final : public WallpaperCommands
{
public:
    // What the update needs of the image window.
    class Window
    {
    public:
        virtual ~Window() = default;
        virtual std::string imageTitle() const = 0;
        // Loads the regional radar loop `file` into the hidden window at the top-left corner,
        // sized to the loop, on frame 2, returns a picture of its client area and closes the
        // window (which deletes the file).
        virtual QImage captureRadar(const std::string& file) = 0;
        // The first frame of the GIF shown; null when the GIF control holds none.
        virtual QImage gifFirstFrame() const = 0;
    };

    // Shows the bitmap at `path` on the desktop: style 0 tile, 1 centre, 2 stretch, 3 at x, y;
    // false when no desktop can take it.
    using SetDesktopWallpaper = SetWallpaperFunction;

    // The main window's status after a wallpaper that no desktop could take.
    static constexpr std::string_view NoDesktopStatus =
        "Wallpaper not set: desktop not supported...";

    // References must outlive this object.
    WallpaperUpdate(SharedState& state, SettingsStore& settings, UserInterface& ui, TNMHTTP& http,
                    ImageDownload& download, Window& window, SetDesktopWallpaper setWallpaper,
                    std::function<void(const std::string&)> setStatusText);

    // After a timed refresh: the image that "AutoWallpaper" names, if any, becomes the wallpaper.
    // When no desktop can take it, the message box comes at the first refresh of the run only;
    // later refreshes say it in the status bar.
    void UpdateAutoWallpaper();
    // Downloads the image under way (without showing it) and makes it the wallpaper.
    void ApplyWallpaperImage();
    // "Save As &Wallpaper": the image shown becomes the wallpaper. A WeatherBank loop was
    // captured into "cirrolux.bmp" by the window just before. The user asked, so a desktop that
    // cannot take it is always told in a message box.
    void do_wallpaper() override;

private:
    // `useCapture`: a "cirrolux.bmp" in the working directory is this image's capture; any other
    // one is left over from an update that stopped and is made again.
    WallpaperHandOver makeAndApply(bool useCapture, bool byHand);
    void makeBitmap(const QString& bitmap);

    SharedState& m_state;
    SettingsStore& m_settings;
    UserInterface& m_ui;
    TNMHTTP& m_http;
    ImageDownload& m_download;
    Window& m_window;
    SetDesktopWallpaper m_setWallpaper;
    std::function<void(const std::string&)> m_setStatusText;
    WallpaperPlacementReader m_placement;
    bool m_toldNoDesktop = false;
};

} // namespace cirrolux
