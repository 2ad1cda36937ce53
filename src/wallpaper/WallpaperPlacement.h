#pragma once

#include <set>
#include <string>
#include <string_view>

namespace cirrolux {

class SettingsStore;
class UserInterface;

// How the wallpaper sits on the desktop, from the "Wallpaperloc" setting: style 0 tile, 1 centre,
// 2 stretch, 3 explicit origin x, y (x and y are 0 unless the style is 3).
struct WallpaperPlacement
{
    int style = 1;
    int x = 0;
    int y = 0;
    bool operator==(const WallpaperPlacement&) const = default;
};

// One reading of a "Wallpaperloc" value.
struct WallpaperlocReading
{
    WallpaperPlacement placement;
    // The number conversion's message when the value has a comma but is not two whole numbers
    // ("'12a' is not a valid integer value"); the placement is then centred. Empty otherwise.
    std::string conversionError;
};

// "0" tile, "1" centre, "2" stretch; a value with a comma is "X,Y" (the text before the first
// comma and the text after it, each a decimal integer, spaces around it allowed); anything else,
// "n/a" included, is centre.
WallpaperlocReading readWallpaperloc(std::string_view value);

// Reads "Wallpaperloc" for each wallpaper update of a run. A position that is not two whole
// numbers gives a centred wallpaper, and its conversion message is shown in the standard error
// box once per run for each such value, not at every timed refresh. Keep one for the program's run.
class WallpaperPlacementReader
{
public:
    // From the "Wallpaperloc" setting (section "Settings") of `store`.
    WallpaperPlacement read(const SettingsStore& store, UserInterface& ui);
    // From a value already read.
    WallpaperPlacement placementFor(std::string_view value, UserInterface& ui);

private:
    std::set<std::string, std::less<>> m_reported;
};

} // namespace cirrolux
