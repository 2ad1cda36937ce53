#include "PixelArt.h"

#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace cirrolux::artgen {

Palette::Palette(std::initializer_list<std::pair<char, QColor>> entries)
{
    for (const auto& [c, colour] : entries)
        m_colours[static_cast<unsigned char>(c) & 0x7F] = colour;
}

Palette Palette::with(std::initializer_list<std::pair<char, QColor>> entries) const
{
    Palette copy = *this;
    for (const auto& [c, colour] : entries)
        copy.m_colours[static_cast<unsigned char>(c) & 0x7F] = colour;
    return copy;
}

QColor Palette::colour(char c) const
{
    return m_colours[static_cast<unsigned char>(c) & 0x7F];
}

namespace {

bool Drawn(const Grid& grid, int col, int row)
{
    if (row < 0 || row >= static_cast<int>(grid.size()))
        return false;
    const std::string_view line = grid[static_cast<std::size_t>(row)];
    if (col < 0 || col >= static_cast<int>(line.size()))
        return false;
    return line[static_cast<std::size_t>(col)] != '.';
}

} // namespace

void Stamp(QImage& image, const Grid& grid, int x, int y, const Palette& palette)
{
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int row = 0; row < static_cast<int>(grid.size()); ++row) {
        const std::string_view line = grid[static_cast<std::size_t>(row)];
        for (int col = 0; col < static_cast<int>(line.size()); ++col) {
            const char c = line[static_cast<std::size_t>(col)];
            if (c == '.')
                continue;
            const QColor colour = palette.colour(c);
            if (!colour.isValid()) {
                std::fprintf(stderr, "artgen: no colour for '%c'\n", c);
                std::abort();
            }
            painter.fillRect(x + col, y + row, 1, 1, colour);
        }
    }
}

void Outline(QImage& image, const Grid& grid, int x, int y, const QColor& colour)
{
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    int width = 0;
    for (const std::string_view line : grid)
        width = std::max(width, static_cast<int>(line.size()));
    const int height = static_cast<int>(grid.size());
    for (int row = -1; row <= height; ++row) {
        for (int col = -1; col <= width; ++col) {
            if (Drawn(grid, col, row))
                continue;
            if (Drawn(grid, col - 1, row) || Drawn(grid, col + 1, row) ||
                Drawn(grid, col, row - 1) || Drawn(grid, col, row + 1))
                painter.fillRect(x + col, y + row, 1, 1, colour);
        }
    }
}

} // namespace cirrolux::artgen
