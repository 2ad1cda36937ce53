#include "drawing/PixelCanvas.h"

#include "drawing/PixelFont.h"

#include <algorithm>
#include <cmath>

namespace cirrolux::drawing {

Rgb blend(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const auto mix = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

PixelCanvas::PixelCanvas(int width, int height)
    : m_width(std::max(1, width)), m_height(std::max(1, height)),
      m_pixels(std::size_t(m_width) * m_height, 0), m_clipRight(m_width), m_clipBottom(m_height)
{
}

void PixelCanvas::setClip(int x, int y, int width, int height)
{
    m_clipLeft = std::clamp(x, 0, m_width);
    m_clipTop = std::clamp(y, 0, m_height);
    m_clipRight = std::clamp(x + width, m_clipLeft, m_width);
    m_clipBottom = std::clamp(y + height, m_clipTop, m_height);
}

std::uint8_t PixelCanvas::addColour(Rgb colour)
{
    if (m_palette.size() < 256) {
        m_palette.push_back(colour);
        return static_cast<std::uint8_t>(m_palette.size() - 1);
    }
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const Rgb p = m_palette[std::size_t(i)];
        const int distance = (p.r - colour.r) * (p.r - colour.r) +
                             (p.g - colour.g) * (p.g - colour.g) +
                             (p.b - colour.b) * (p.b - colour.b);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(best);
}

std::uint8_t PixelCanvas::addRamp(Rgb from, Rgb to, int count)
{
    const std::uint8_t first = addColour(from);
    for (int i = 1; i < count; ++i)
        addColour(blend(from, to, double(i) / std::max(1, count - 1)));
    return first;
}

std::uint8_t PixelCanvas::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[std::size_t(y) * m_width + x];
}

void PixelCanvas::set(int x, int y, std::uint8_t colour)
{
    if (x < m_clipLeft || y < m_clipTop || x >= m_clipRight || y >= m_clipBottom)
        return;
    m_pixels[std::size_t(y) * m_width + x] = colour;
}

void PixelCanvas::fill(std::uint8_t colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), colour);
}

void PixelCanvas::fillRect(int x, int y, int width, int height, std::uint8_t colour)
{
    const int x0 = std::max(m_clipLeft, x);
    const int y0 = std::max(m_clipTop, y);
    const int x1 = std::min(m_clipRight, x + width);
    const int y1 = std::min(m_clipBottom, y + height);
    for (int yy = y0; yy < y1; ++yy)
        std::fill(row(yy) + x0, row(yy) + std::max(x0, x1), colour);
}

void PixelCanvas::frameRect(int x, int y, int width, int height, std::uint8_t colour)
{
    fillRect(x, y, width, 1, colour);
    fillRect(x, y + height - 1, width, 1, colour);
    fillRect(x, y, 1, height, colour);
    fillRect(x + width - 1, y, 1, height, colour);
}

void PixelCanvas::line(double x0, double y0, double x1, double y1, std::uint8_t colour,
                       int thickness)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length = std::max(std::abs(dx), std::abs(dy));
    // Far-off points (a projection gone wild) are not worth millions of steps.
    if (!std::isfinite(length) || length > 4.0 * (m_width + m_height))
        return;
    const int steps = std::max(1, static_cast<int>(std::ceil(length)));
    const int half = (thickness - 1) / 2;
    for (int i = 0; i <= steps; ++i) {
        const int x = static_cast<int>(std::lround(x0 + dx * i / steps));
        const int y = static_cast<int>(std::lround(y0 + dy * i / steps));
        if (thickness <= 1)
            set(x, y, colour);
        else
            fillRect(x - half, y - half, thickness, thickness, colour);
    }
}

void PixelCanvas::polyline(const std::vector<QPointF>& points, std::uint8_t colour, int thickness)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y(), colour, thickness);
}

void PixelCanvas::fillPolygon(const std::vector<QPointF>& points, std::uint8_t colour)
{
    if (points.size() < 3)
        return;
    double top = points.front().y();
    double bottom = top;
    for (const QPointF& p : points) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    const int y0 = std::max(m_clipTop, static_cast<int>(std::floor(top)));
    const int y1 = std::min(m_clipBottom - 1, static_cast<int>(std::ceil(bottom)));
    std::vector<double> crossings;
    for (int y = y0; y <= y1; ++y) {
        const double sampleY = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF& a = points[i];
            const QPointF& b = points[(i + 1) % points.size()];
            if ((a.y() <= sampleY) == (b.y() <= sampleY))
                continue;
            crossings.push_back(a.x() + (sampleY - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int xa = std::max(m_clipLeft, static_cast<int>(std::ceil(crossings[i] - 0.5)));
            const int xb =
                std::min(m_clipRight - 1, static_cast<int>(std::floor(crossings[i + 1] - 0.5)));
            if (xa <= xb)
                std::fill(row(y) + xa, row(y) + xb + 1, colour);
        }
    }
}

void PixelCanvas::fillCircle(double cx, double cy, double radius, std::uint8_t colour)
{
    const int y0 = std::max(m_clipTop, static_cast<int>(std::floor(cy - radius)));
    const int y1 = std::min(m_clipBottom - 1, static_cast<int>(std::ceil(cy + radius)));
    for (int y = y0; y <= y1; ++y) {
        const double dy = y + 0.5 - cy;
        const double span = radius * radius - dy * dy;
        if (span < 0)
            continue;
        const double half = std::sqrt(span);
        const int xa = std::max(m_clipLeft, static_cast<int>(std::ceil(cx - half - 0.5)));
        const int xb = std::min(m_clipRight - 1, static_cast<int>(std::floor(cx + half - 0.5)));
        if (xa <= xb)
            std::fill(row(y) + xa, row(y) + xb + 1, colour);
    }
}

void PixelCanvas::circle(double cx, double cy, double radius, std::uint8_t colour)
{
    const int steps = std::max(8, static_cast<int>(radius * 6.3));
    for (int i = 0; i < steps; ++i) {
        const double angle = 6.283185307179586 * i / steps;
        set(static_cast<int>(std::lround(cx + radius * std::cos(angle))),
            static_cast<int>(std::lround(cy + radius * std::sin(angle))), colour);
    }
}

int PixelCanvas::text(int x, int y, std::string_view text, std::uint8_t colour, int scale)
{
    scale = std::max(1, scale);
    for (const char c : text) {
        const auto& glyph = pixelGlyph(c);
        for (int gy = 0; gy < 7; ++gy) {
            for (int gx = 0; gx < 5; ++gx) {
                if (glyph[std::size_t(gy)] & (0x10 >> gx))
                    fillRect(x + gx * scale, y + gy * scale, scale, scale, colour);
            }
        }
        x += 6 * scale;
    }
    return x;
}

int PixelCanvas::textWidth(std::string_view text, int scale)
{
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * std::max(1, scale) - scale;
}

} // namespace cirrolux::drawing
