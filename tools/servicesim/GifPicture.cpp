#include "GifPicture.h"

#include <gif_lib.h>

#include <algorithm>

namespace cirrolux::servicesim {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

int bitsFor(std::size_t colors)
{
    int bits = 1;
    while ((std::size_t{1} << bits) < colors && bits < 8)
        ++bits;
    return bits;
}

} // namespace

GifPicture::GifPicture(int w, int h, std::vector<Color> colors)
    : width(w), height(h), palette(std::move(colors)), pixels(std::size_t(w) * std::size_t(h), 0)
{
}

void GifPicture::fill(int x0, int y0, int x1, int y1, std::uint8_t index)
{
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
            pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = index;
}

void GifPicture::set(int x, int y, std::uint8_t index)
{
    if (x >= 0 && y >= 0 && x < width && y < height)
        pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = index;
}

QByteArray GifPicture::encode() const
{
    QByteArray out;
    if (width <= 0 || height <= 0 || palette.empty() || palette.size() > 256)
        return out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    if (!gif)
        return {};
    const int bits = bitsFor(palette.size());
    std::vector<GifColorType> colors(std::size_t{1} << bits, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i)
        colors[i] = GifColorType{palette[i][0], palette[i][1], palette[i][2]};
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    bool ok = map && EGifPutScreenDesc(gif, width, height, bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(static_cast<std::size_t>(width));
    for (int y = 0; ok && y < height; ++y) {
        std::copy_n(pixels.begin() + std::ptrdiff_t(y) * width, width, row.begin());
        ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok)
        return {};
    return out;
}

} // namespace cirrolux::servicesim
