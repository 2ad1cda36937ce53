#pragma once

namespace cirrolux {

// The wallpaper step the image window's "Save As &Wallpaper" ends with; the wallpaper work
// implements it. It reads imageFile and imageFileUpper, and finds "cirrolux.bmp" in the working
// directory when the window captured a WeatherBank loop.
class WallpaperCommands
{
public:
    virtual ~WallpaperCommands() = default;
    virtual void do_wallpaper() = 0;
};

} // namespace cirrolux
