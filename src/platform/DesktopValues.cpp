#include "platform/DesktopValues.h"

#include "settings/SettingNames.h"

namespace cirrolux {

DesktopValues desktopValues(const QString& bitmapPath, int style, int x, int y)
{
    if (style < 0 || style > 3)
        style = 1;
    const bool placed = style == 3;
    return {{{SettingNames::Wallpaper, bitmapPath},
             {SettingNames::TileWallpaper, style == 0 ? QStringLiteral("1") : QStringLiteral("0")},
             {SettingNames::WallpaperStyle, style == 2 ? QStringLiteral("2") : QStringLiteral("0")},
             {SettingNames::WallpaperOriginX, QString::number(placed ? x : 0)},
             {SettingNames::WallpaperOriginY, QString::number(placed ? y : 0)}}};
}

} // namespace cirrolux
