#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cirrolux {

// Window options of a catalogue row; combine with |.
enum class ImageOption : std::uint8_t {
    None = 0,
    Animate = 1,    // GIF animation on before the download
    Frame2 = 2,     // and its current frame set to 2
    White = 4,      // white background in the image window
    NoMaximize = 8, // no maximize button in the image window's title bar
};

constexpr ImageOption operator|(ImageOption a, ImageOption b)
{
    return static_cast<ImageOption>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool HasOption(ImageOption set, ImageOption option)
{
    return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(option)) != 0;
}

// One fixed picture the menus offer: where it comes from, the file it is saved to and how the
// image window shows it. All texts are 8-bit and point at constants.
struct ImageSource
{
    std::string_view component; // objectName of the menu item
    std::string_view caption;   // menu caption, "&" before the access key
    std::string_view title;     // window title after "Cirrolux - ", shown verbatim
    std::string_view base;      // provider's base address, or the whole address of a camera
    std::string_view path;      // follows `base`; empty for cameras
    std::string_view file;      // local file name when it is not the address's last segment
    ImageOption options = ImageOption::None;
    std::string_view note; // shown in a message box after the download; empty: none

    bool has(ImageOption option) const { return HasOption(options, option); }
    // `base` + `path`.
    std::string url() const;
    // The file the body is written to, in the working directory.
    std::string localFile() const;
    // "Cirrolux - " + title.
    std::string windowTitle() const;
};

} // namespace cirrolux
