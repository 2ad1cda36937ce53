#pragma once

#include <QPointF>

#include <cstdint>
#include <string_view>
#include <vector>

namespace cirrolux::drawing {

struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

// Mixes two colours: 0 gives `a`, 1 gives `b`.
Rgb blend(Rgb a, Rgb b, double t);

// A picture of palette indices with its palette (at most 256 colours), the form both the GIF
// and the JPEG writer start from. Drawing needs no QtGui, so the emulator and the gateway draw
// under a plain QCoreApplication; every drawing call clips to the canvas.
class PixelCanvas
{
public:
    PixelCanvas(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::vector<Rgb>& palette() const { return m_palette; }
    const std::uint8_t* row(int y) const { return m_pixels.data() + std::size_t(y) * m_width; }
    std::uint8_t* row(int y) { return m_pixels.data() + std::size_t(y) * m_width; }
    bool operator==(const PixelCanvas& other) const = default;

    // Adds a colour and returns its index; once 256 are in use the nearest one is returned.
    std::uint8_t addColour(Rgb colour);
    // Adds `count` colours running from `from` to `to`; returns the index of the first.
    std::uint8_t addRamp(Rgb from, Rgb to, int count);

    std::uint8_t at(int x, int y) const;
    void set(int x, int y, std::uint8_t colour);
    void fill(std::uint8_t colour);
    void fillRect(int x, int y, int width, int height, std::uint8_t colour);
    void frameRect(int x, int y, int width, int height, std::uint8_t colour);
    void line(double x0, double y0, double x1, double y1, std::uint8_t colour, int thickness = 1);
    void polyline(const std::vector<QPointF>& points, std::uint8_t colour, int thickness = 1);
    // Fills the polygon by the even-odd rule (the closing edge is implied).
    void fillPolygon(const std::vector<QPointF>& points, std::uint8_t colour);
    void fillCircle(double cx, double cy, double radius, std::uint8_t colour);
    void circle(double cx, double cy, double radius, std::uint8_t colour);
    // Text in the built-in 5 x 7 pixel font, `scale` pixels per font pixel; lower case is drawn
    // as upper case. Returns the x just past the text.
    int text(int x, int y, std::string_view text, std::uint8_t colour, int scale = 1);
    static int textWidth(std::string_view text, int scale = 1);
    static int textHeight(int scale = 1) { return 7 * scale; }

    // Limits every drawing call to the rectangle (cut to the canvas) until clearClip().
    void setClip(int x, int y, int width, int height);
    void clearClip() { setClip(0, 0, m_width, m_height); }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
    std::vector<Rgb> m_palette;
    int m_clipLeft = 0;
    int m_clipTop = 0;
    int m_clipRight;  // one past the last column drawn
    int m_clipBottom; // one past the last row drawn
};

} // namespace cirrolux::drawing
