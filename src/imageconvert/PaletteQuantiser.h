#pragma once

#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace cirrolux {

// A picture as palette indexes, row by row, ready for a GIF writer.
struct IndexedPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height indexes into the palette
};

// Chooses at most 256 colours for one or more opaque pictures and maps them onto those colours.
// A picture set with 256 colours or fewer keeps them exactly (maps and text stay as drawn);
// otherwise median cut over a 15-bit colour histogram picks the colours, each the mean of the
// colours it stands for, and every pixel takes the nearest one (optionally after a 4 x 4
// ordered dither).
class PaletteQuantiser
{
public:
    PaletteQuantiser();
    ~PaletteQuantiser();
    PaletteQuantiser(const PaletteQuantiser&) = delete;
    PaletteQuantiser& operator=(const PaletteQuantiser&) = delete;

    // Counts the colours of `image` (Format_RGB32 or ARGB32, alpha ignored). Call for every
    // picture that is to share the palette, then choosePalette once.
    void add(const QImage& image);
    void choosePalette();
    // The chosen colours (1 to 256).
    const std::vector<QRgb>& palette() const { return m_palette; }
    // `image` mapped onto the palette. Only after choosePalette.
    IndexedPicture map(const QImage& image, bool dither);

    // add + choosePalette + map for a single picture.
    static IndexedPicture quantise(const QImage& image, bool dither, std::vector<QRgb>& palette);

private:
    struct Bin;
    std::uint8_t nearest(int bin);
    std::uint8_t closestExact(QRgb colour) const;
    bool addExact(QRgb colour);

    std::unique_ptr<Bin[]> m_bins;
    // Exact colours while there are at most 256 of them: an open-addressed table of 1024 slots.
    std::array<std::uint32_t, 1024> m_exactKeys{};
    std::array<std::uint16_t, 1024> m_exactIndex{};
    int m_exactCount = 0;
    bool m_exact = true;
    std::vector<QRgb> m_palette;
    std::vector<std::int16_t> m_lookup; // bin -> palette index, -1 = not yet worked out
};

} // namespace cirrolux
