#pragma once

#include <QColor>
#include <QSize>

#include <cstdint>
#include <string>

namespace cirrolux {

// What a conversion accepts and what it makes.
struct ConvertLimits
{
    // No result is larger than this; a bigger picture is scaled down keeping its aspect ratio.
    QSize maxSize{1280, 1024};
    // Inputs longer than this are refused unread.
    std::int64_t maxInputBytes = 32LL * 1024 * 1024;
    // Pictures whose header announces more pixels than this (or a side longer than maxSide) are
    // refused before decoding: a few bytes can claim a picture of gigabytes.
    std::int64_t maxPixels = 32LL * 1000 * 1000;
    int maxSide = 16384;
    // Animations with more frames, or whose frames hold more pixels in all, are refused.
    int maxFrames = 400;
    std::int64_t maxTotalPixels = 256LL * 1000 * 1000;
};

struct ConvertOptions
{
    ConvertLimits limits;
    // Transparent pixels are laid on this colour (GIF and JPEG results are opaque).
    QColor background = QColor(255, 255, 255);
    // Ordered dither when a picture has more than 256 colours: smoother photographs, but maps
    // and text stay crisper without it.
    bool dither = false;
    int jpegQuality = 85;
    // When not empty, a still gets a dark strip under it with this line in a small pixel font
    // (credit and time for a source whose picture names neither); animations are left as they are.
    std::string caption;
};

} // namespace cirrolux
