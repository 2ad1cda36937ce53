#pragma once

#include <QString>

#include <functional>

namespace cirrolux {

class SettingsStore;
class UserInterface;
class WallpaperPlacementReader;

// What follows the making of "cirrolux.bmp" in the working directory: find the data directory
// (GetWinDir), move the bitmap there, read "Wallpaperloc" and put the bitmap on the desktop.
// Shows "Error - windows directory not found for Wallpaper logic." or
// "Error - cirrolux.bmp not found; msg#: xUnit1." and stops when either is missing.
// `setWallpaper` shows the bitmap at `path` in style 0 tile, 1 centre, 2 stretch or 3 at x, y
// (DesktopWallpaper::SetDesktopWallpaper in the program).
// Returns true when the desktop was handed the wallpaper (or told the user it cannot take it).
// Throws what WallpaperBitmap::install and `setWallpaper` throw.
using SetWallpaperFunction = std::function<void(const QString& path, int style, int x, int y)>;
bool installWallpaperBitmap(const SetWallpaperFunction& setWallpaper,
                            WallpaperPlacementReader& placement, const SettingsStore& store,
                            UserInterface& ui);

} // namespace cirrolux
