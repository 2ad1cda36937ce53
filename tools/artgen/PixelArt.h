#pragma once

#include <QColor>
#include <QImage>

#include <array>
#include <string_view>
#include <vector>

namespace cirrolux::artgen {

// Hand-drawn pixel pictures: each row is a text, each character one pixel, '.' transparent.
// Small icons stay crisp only when every pixel is placed by hand, so the 16-pixel tray pictures
// are written this way and painted one pixel at a time.
using Grid = std::vector<std::string_view>;

class Palette
{
public:
    Palette() = default;
    Palette(std::initializer_list<std::pair<char, QColor>> entries);

    // Returns a copy with some characters given other colours (a grey cloud from a white one).
    Palette with(std::initializer_list<std::pair<char, QColor>> entries) const;
    QColor colour(char c) const;

private:
    std::array<QColor, 128> m_colours{};
};

// Paints the grid's pixels with their palette colours, top-left at (x, y); parts outside the
// image are dropped. A character without a colour aborts: a typing slip must not pass silently.
void Stamp(QImage& image, const Grid& grid, int x, int y, const Palette& palette);

// Paints `colour` on every transparent grid position (and the ring around the grid) that
// touches a drawn pixel edge-on: a one-pixel outline that keeps the shape's notches.
void Outline(QImage& image, const Grid& grid, int x, int y, const QColor& colour);

} // namespace cirrolux::artgen
