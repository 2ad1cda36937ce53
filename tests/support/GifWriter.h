#pragma once

#include <gif_lib.h>

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace cirrolux::test {

// Writes GIF files for tests that need real, animated ones (Qt reads GIF but cannot write it).
// Link GIF::GIF to use it.
struct GifFrame
{
    std::vector<std::uint8_t> pixels; // width * height palette indexes, row by row
    int delayCs = 10;                 // delay after the frame, in hundredths of a second
};

// Palette entry i is (i, 255 - i, 3i mod 256), so a pixel's colour tells its index.
inline ColorMapObject* MakeTestPalette()
{
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i)
        map->Colors[i] =
            GifColorType{static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                         static_cast<GifByteType>((3 * i) & 0xFF)};
    return map;
}

// `loop`: write the application extension that asks for endless looping.
inline bool WriteGif(const QString& path, int width, int height,
                     const std::vector<GifFrame>& frames, bool loop)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    if (gif == nullptr)
        return false;
    EGifSetGifVersion(gif, true);
    ColorMapObject* palette = MakeTestPalette();
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, palette) == GIF_OK;
    if (ok && loop) {
        static const GifByteType netscape[] = "NETSCAPE2.0";
        static const GifByteType endless[] = {1, 0, 0};
        ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
             EGifPutExtensionBlock(gif, 11, netscape) == GIF_OK &&
             EGifPutExtensionBlock(gif, 3, endless) == GIF_OK &&
             EGifPutExtensionTrailer(gif) == GIF_OK;
    }
    for (const GifFrame& frame : frames) {
        if (!ok)
            break;
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, frame.delayCs, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
        std::vector<GifPixelType> row(static_cast<std::size_t>(width));
        for (int y = 0; ok && y < height; ++y) {
            for (int x = 0; x < width; ++x)
                row[static_cast<std::size_t>(x)] =
                    frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                 static_cast<std::size_t>(x)];
            ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
        }
    }
    GifFreeMapObject(palette);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

// `count` frames of one colour each: frame k (from 1) is palette index k, so the colour of any
// pixel names the frame on show.
inline bool WriteNumberedGif(const QString& path, int width, int height, int count, bool loop,
                             int delayCs = 10)
{
    std::vector<GifFrame> frames;
    for (int k = 1; k <= count; ++k)
        frames.push_back(GifFrame{std::vector<std::uint8_t>(static_cast<std::size_t>(width) *
                                                                static_cast<std::size_t>(height),
                                                            static_cast<std::uint8_t>(k & 0xFF)),
                                  delayCs});
    return WriteGif(path, width, height, frames, loop);
}

// The frame number a picture drawn by WriteNumberedGif shows at (x, y).
inline int FrameShown(const QImage& image, int x = 0, int y = 0)
{
    return image.isNull() ? 0 : qRed(image.pixel(x, y));
}

} // namespace cirrolux::test
