#pragma once

#include <string_view>

namespace cirrolux {

// Every section and value name of the settings store. Names are compared without regard to case,
// so a value written under one spelling is read under another ("Labelfcolor" / "labelfcolor").
namespace SettingNames {

// Sections
inline constexpr std::string_view Settings = "Settings";
inline constexpr std::string_view Locations = "Locations";

// The missing-value sentinel of read_setting.
inline constexpr std::string_view NotAvailable = "n/a";

// Section "Settings": stats panel look
inline constexpr std::string_view LabelColor = "labelcolor";
inline constexpr std::string_view LabelFontColorRead = "labelfcolor";
inline constexpr std::string_view LabelFontColorWrite = "Labelfcolor";
inline constexpr std::string_view StatsFontColor = "statsfcolor";
inline constexpr std::string_view LabelTransparent = "lbltrans";
inline constexpr std::string_view FormBackground = "formbkgd";

// Start-up and refresh
inline constexpr std::string_view StartMinimized = "StartMinimized";
inline constexpr std::string_view AutoUpdate = "AutoUpdate";
inline constexpr std::string_view StartupLoc = "StartupLoc";
inline constexpr std::string_view Metric = "Metric";

// Wallpaper
inline constexpr std::string_view AutoWallpaper = "AutoWallpaper";
inline constexpr std::string_view WallpaperLoc = "Wallpaperloc";

// Proxy
inline constexpr std::string_view ProxyUse = "ProxyUse";
inline constexpr std::string_view Proxy = "Proxy";
inline constexpr std::string_view ProxyPort = "ProxyPort";
inline constexpr std::string_view ProxyUserid = "ProxyUserid";
inline constexpr std::string_view ProxyPass = "ProxyPass";

// Image and forecast windows
inline constexpr std::string_view MaxOpenImage = "MaxOpenImage";
inline constexpr std::string_view ForecastBackground = "Fbgcolor";
inline constexpr std::string_view ForecastFontSizeRead = "FfontSiz";
inline constexpr std::string_view ForecastFontSizeWrite = "Ffontsiz";

// Section "Desktop": the program's own record of the five desktop wallpaper values it set last
inline constexpr std::string_view Desktop = "Desktop";
inline constexpr std::string_view Wallpaper = "Wallpaper";
inline constexpr std::string_view TileWallpaper = "TileWallpaper";
inline constexpr std::string_view WallpaperStyle = "WallpaperStyle";
inline constexpr std::string_view WallpaperOriginX = "WallpaperOriginX";
inline constexpr std::string_view WallpaperOriginY = "WallpaperOriginY";

// Section "Locations": "loc" + slot number 0..19
inline constexpr std::string_view PresetPrefix = "loc";

// Values of "StartupLoc" and "AutoWallpaper" meaning "none".
inline constexpr std::string_view None = "None";

} // namespace SettingNames
} // namespace cirrolux
