#pragma once

#include <QString>

#include <functional>

namespace cirrolux {

class SettingsStore;
class UserInterface;
class WallpaperPlacementReader;

// `setWallpaper` shows the bitmap at `path` in style 0 tile, 1 centre, 2 stretch or 3 at x, y
// (DesktopWallpaper::SetDesktopWallpaper in the program) and returns false, showing nothing,
// when no desktop can take it.
using SetWallpaperFunction = std::function<bool(const QString& path, int style, int x, int y)>;

// What became of the bitmap.
enum class WallpaperHandOver {
    Stopped,   // no data directory or no bitmap; the message was shown
    Shown,     // the desktop took it
    NoDesktop, // no desktop can take it; the bitmap waits in the data directory
};

struct WallpaperInstalled
{
    WallpaperHandOver handOver;
    QString bitmap; // the moved bitmap's full path; empty when stopped
};

// What follows the making of "cirrolux.bmp" in the working directory: find the data directory
// (GetWinDir), move the bitmap there, read "Wallpaperloc" and put the bitmap on the desktop.
// Shows "Error - windows directory not found for Wallpaper logic." or
// "Error - cirrolux.bmp not found; msg#: xUnit1." and stops when either is missing.
// Throws what WallpaperBitmap::install and `setWallpaper` throw.
WallpaperInstalled installWallpaperBitmap(const SetWallpaperFunction& setWallpaper,
                                          WallpaperPlacementReader& placement,
                                          const SettingsStore& store, UserInterface& ui);

} // namespace cirrolux
