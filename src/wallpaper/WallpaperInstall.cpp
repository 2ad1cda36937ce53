#include "wallpaper/WallpaperInstall.h"

#include "platform/UserInterface.h"
#include "wallpaper/WallpaperBitmap.h"
#include "wallpaper/WallpaperPlacement.h"

#include <QFileInfo>

namespace cirrolux {

bool installWallpaperBitmap(const SetWallpaperFunction& setWallpaper,
                            WallpaperPlacementReader& placement, const SettingsStore& store,
                            UserInterface& ui)
{
    const QString windowsDir = GetWinDir();
    if (windowsDir.isEmpty()) {
        ui.showMessage("Error - windows directory not found for Wallpaper logic.");
        return false;
    }
    const QString working = WallpaperBitmap::workingPath();
    if (!QFileInfo(working).isFile()) {
        ui.showMessage("Error - cirrolux.bmp not found; msg#: xUnit1.");
        return false;
    }
    const QString installed = WallpaperBitmap::install(working, windowsDir);
    const WallpaperPlacement where = placement.read(store, ui);
    setWallpaper(installed, where.style, where.x, where.y);
    return true;
}

} // namespace cirrolux
