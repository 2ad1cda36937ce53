#pragma once

namespace cirrolux {

class DesktopWallpaper;
class SettingsStore;
class UserInterface;
class WallpaperPlacementReader;

// What follows the making of "cirrolux.bmp" in the working directory: find the data directory
// (GetWinDir), move the bitmap there, read "Wallpaperloc" and put the bitmap on the desktop.
// Shows "Error - windows directory not found for Wallpaper logic." or
// "Error - cirrolux.bmp not found; msg#: xUnit1." and stops when either is missing.
// Returns true when the desktop was handed the wallpaper (or told the user it cannot take it).
// Throws what WallpaperBitmap::install and DesktopWallpaper::SetDesktopWallpaper throw.
bool installWallpaperBitmap(DesktopWallpaper& desktop, WallpaperPlacementReader& placement,
                            const SettingsStore& store, UserInterface& ui);

} // namespace cirrolux
