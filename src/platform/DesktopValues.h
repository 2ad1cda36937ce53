#pragma once

#include <QString>

#include <array>
#include <string_view>

namespace cirrolux {

// The five desktop wallpaper values for a bitmap, a style code (0 tile, 1 centre, 2 stretch,
// 3 explicit origin) and an origin, in the order they are written. A code outside 0..3 counts
// as centre; the origin is 0 unless the code is 3.
struct DesktopValue
{
    std::string_view name; // "Wallpaper", "TileWallpaper", ...
    QString value;
};
using DesktopValues = std::array<DesktopValue, 5>;

DesktopValues desktopValues(const QString& bitmapPath, int style, int x, int y);

} // namespace cirrolux
