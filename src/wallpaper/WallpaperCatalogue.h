#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace cirrolux {

// The image servers of the wallpaper catalogue. Each stands for one base address; the two Texas
// A&M rows have a server of their own, and the regional radar comes from the maker's server
// (ServiceAddresses::MakerSite).
enum class WallpaperProvider {
    PurdueRadar,
    PurdueSurface,
    TexasAM,
    Yahoo,
    Meteo,
    UWM,
    NoaaGoes,
    KochiUniversity,
    JamesCookUniversity,
    EarthWatch,
    MakerImages,
};

// What one "AutoWallpaper" choice downloads: the provider's base address followed by `path`,
// saved as `localFile` in the working directory.
struct WallpaperSource
{
    WallpaperProvider provider;
    std::string path;
    std::string localFile;

    // The full address, given the provider's base address (no trailing "/").
    std::string address(std::string_view providerBase) const
    {
        return std::string(providerBase) + path;
    }
    bool operator==(const WallpaperSource&) const = default;
};

// The images "AutoWallpaper" can name: 21 fixed rows, tested in order, and the regional radar.
class WallpaperCatalogue
{
public:
    struct Row
    {
        std::string_view title; // compared with the whole setting, case included ("&&" stored)
        WallpaperProvider provider;
        std::string_view path;
        std::string_view localFile;
    };

    // The part of a regional radar choice before its two-character area code.
    static constexpr std::string_view RadarPrefix = "Regional/State Radar=";

    static const std::array<Row, 21>& rows();

    // The image for an "AutoWallpaper" value. A value equal to a row's title gives that row; a
    // value that contains RadarPrefix gives the radar of the two characters after its first
    // "=": "/assets/images/wbank/" + code + "_radar.GIF" on the maker's server, saved as
    // code + "_radar.GIF". Nothing for "n/a", "None", a value that differs from a title only in
    // letter case, and a radar code that is not two letters or digits (such a code would name
    // another file or a path outside the working directory).
    static std::optional<WallpaperSource> find(std::string_view autoWallpaper);

    // The provider's name ("Purdue radar server", ...), for messages and the address table.
    static std::string_view providerName(WallpaperProvider provider);
};

} // namespace cirrolux
