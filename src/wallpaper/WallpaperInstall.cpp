#include "wallpaper/WallpaperInstall.h"

#include "platform/UserInterface.h"
#include "wallpaper/WallpaperBitmap.h"
#include "wallpaper/WallpaperPlacement.h"

#include <QFileInfo>

namespace cirrolux {

WallpaperInstalled installWallpaperBitmap(const SetWallpaperFunction& setWallpaper,
                                          WallpaperPlacementReader& placement,
                                          const SettingsStore& store, UserInterface& ui)
{
    const QString windowsDir = GetWinDir();
    if (windowsDir.isEmpty()) {
        ui.showMessage("Error - windows directory not found for Wallpaper logic.");
        return {WallpaperHandOver::Stopped, {}};
    }
    const QString working = WallpaperBitmap::workingPath();
    if (!QFileInfo(working).isFile()) {
        ui.showMessage("Error - cirrolux.bmp not found; msg#: xUnit1.");
        return {WallpaperHandOver::Stopped, {}};
    }
    const QString installed = WallpaperBitmap::install(working, windowsDir);
    const WallpaperPlacement where = placement.read(store, ui);
    const bool shown = setWallpaper(installed, where.style, where.x, where.y);
    return {shown ? WallpaperHandOver::Shown : WallpaperHandOver::NoDesktop, installed};
}

} // namespace cirrolux
