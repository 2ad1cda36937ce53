#pragma once

#include "drawing/PixelCanvas.h"

#include <QPointF>

#include <cstdint>

namespace cirrolux::drawing {

// An area of the earth in degrees; east may pass 180 for areas across the date line.
struct GeoBox
{
    double west = -180;
    double east = 180;
    double south = -90;
    double north = 90;

    static GeoBox around(double lon, double lat, double width, double height)
    {
        return {lon - width / 2, lon + width / 2, lat - height / 2, lat + height / 2};
    }
};

// A plate carree map of a box drawn into a rectangle of a canvas.
class MapView
{
public:
    MapView(GeoBox box, int x, int y, int width, int height)
        : m_box(box), m_x(x), m_y(y), m_width(width), m_height(height)
    {
    }

    const GeoBox& box() const { return m_box; }
    int x() const { return m_x; }
    int y() const { return m_y; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    QPointF toPixel(double lon, double lat) const;
    // The place at the centre of pixel (px, py) of the canvas.
    QPointF toGeo(int px, int py) const;

    // Fills the land, and the inland waters with `water` unless it is negative; everything
    // stays inside the view's rectangle.
    void drawLand(PixelCanvas& canvas, std::uint8_t land, int water = -1) const;
    // Draws the coasts and the shores of the inland waters as lines.
    void drawCoasts(PixelCanvas& canvas, std::uint8_t colour) const;
    // Lines of longitude and latitude every `step` degrees.
    void drawGraticule(PixelCanvas& canvas, double step, std::uint8_t colour) const;
    // The borders of the United States with Canada and Mexico, and the larger US cities as dots
    // (with their airport codes when `labels`).
    void drawUsDetail(PixelCanvas& canvas, std::uint8_t border, std::uint8_t city,
                      bool labels) const;

private:
    GeoBox m_box;
    int m_x;
    int m_y;
    int m_width;
    int m_height;
};

// Whether a place is land, from the coastlines rasterised once at a quarter degree.
bool isLand(double lon, double lat);

} // namespace cirrolux::drawing
