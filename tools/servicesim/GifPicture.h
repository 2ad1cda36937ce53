#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

namespace cirrolux::servicesim {

// A small paletted picture, written as a GIF file with giflib.
struct GifPicture
{
    using Color = std::array<std::uint8_t, 3>;

    int width = 0;
    int height = 0;
    std::vector<Color> palette;       // at most 256 colours
    std::vector<std::uint8_t> pixels; // width * height palette indices, row by row

    GifPicture(int w, int h, std::vector<Color> colors);
    void fill(int x0, int y0, int x1, int y1, std::uint8_t index); // [x0, x1) by [y0, y1)
    void set(int x, int y, std::uint8_t index);

    // The GIF89a file; empty when giflib refused the picture.
    QByteArray encode() const;
};

} // namespace cirrolux::servicesim
