#pragma once

#include <array>
#include <string_view>

namespace cirrolux {

// The 20 moon pictures: the name the phase choice produces and the main window's picture
// control that shows it.
namespace MoonPictures {

struct Picture
{
    std::string_view name;
    std::string_view control;
};

inline constexpr std::array<Picture, 20> All{{
    {"newmoonx", "GIFImagenew"},      {"fullmoonx", "GIFImageFull"},
    {"GifImage10x", "GIFImage10x"},   {"GifImage20x", "GIFImage20x"},
    {"GifImage30x", "GIFImage30x"},   {"GifImage40x", "GIFImage40x"},
    {"GifImage50x", "GIFImage50x"},   {"GifImage60x", "GIFImage60x"},
    {"GifImage70x", "GIFImage70x"},   {"GifImage80x", "GIFImage80x"},
    {"GifImage90x", "GIFImage90x"},   {"GifImageL10x", "GIFImagel10x"},
    {"GifImageL20x", "GIFImagel20x"}, {"GifImageL30x", "GIFImagel30x"},
    {"GifImageL40x", "GIFImagel40x"}, {"GifImageL50x", "GIFImagel50x"},
    {"GifImageL60x", "GIFImagel60x"}, {"GifImageL70x", "GIFImagel70x"},
    {"GifImageL80x", "GIFImagel80x"}, {"GifImageL90x", "GIFImagel90x"},
}};

// The control name for a picture name ("GifImageL40x" -> "GIFImagel40x"); empty when the name
// is none of the 20.
constexpr std::string_view ControlNameFor(std::string_view pictureName)
{
    for (const Picture& picture : All) {
        if (picture.name == pictureName)
            return picture.control;
    }
    return {};
}

} // namespace MoonPictures
} // namespace cirrolux
