#include "drawing/GeoMap.h"

#include "drawing/WorldOutlines.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace cirrolux::drawing {

namespace {

struct City
{
    const char* code;
    double lon;
    double lat;
};

constexpr City kCities[] = {
    {"SEA", -122.3, 47.6}, {"PDX", -122.7, 45.5}, {"SFO", -122.4, 37.8}, {"LAX", -118.2, 34.1},
    {"SAN", -117.2, 32.7}, {"SAC", -121.5, 38.6}, {"LAS", -115.1, 36.2}, {"PHX", -112.1, 33.4},
    {"TUS", -110.9, 32.2}, {"SLC", -111.9, 40.8}, {"BOI", -116.2, 43.6}, {"GTF", -111.3, 47.5},
    {"DEN", -105.0, 39.7}, {"ABQ", -106.6, 35.1}, {"ELP", -106.5, 31.8}, {"CYS", -104.8, 41.1},
    {"BIS", -100.8, 46.8}, {"FSD", -96.7, 43.5},  {"OMA", -95.9, 41.3},  {"ICT", -97.3, 37.7},
    {"OKC", -97.5, 35.5},  {"DFW", -96.8, 32.8},  {"AUS", -97.7, 30.3},  {"HOU", -95.4, 29.8},
    {"SAT", -98.5, 29.4},  {"AMA", -101.8, 35.2}, {"MSP", -93.3, 45.0},  {"DSM", -93.6, 41.6},
    {"STL", -90.2, 38.6},  {"MCI", -94.6, 39.1},  {"MSY", -90.1, 30.0},  {"LIT", -92.3, 34.7},
    {"MEM", -90.0, 35.1},  {"JAN", -90.2, 32.3},  {"BHM", -86.8, 33.5},  {"BNA", -86.8, 36.2},
    {"ORD", -87.6, 41.9},  {"MKE", -87.9, 43.0},  {"DTW", -83.0, 42.3},  {"IND", -86.2, 39.8},
    {"CVG", -84.5, 39.1},  {"CLE", -81.7, 41.5},  {"PIT", -80.0, 40.4},  {"ATL", -84.4, 33.7},
    {"JAX", -81.7, 30.3},  {"MIA", -80.2, 25.8},  {"TPA", -82.5, 28.0},  {"CLT", -80.8, 35.2},
    {"RDU", -78.6, 35.8},  {"RIC", -77.4, 37.5},  {"DCA", -77.0, 38.9},  {"PHL", -75.2, 40.0},
    {"NYC", -74.0, 40.7},  {"BOS", -71.1, 42.4},  {"ALB", -73.8, 42.7},  {"BUF", -78.9, 42.9},
    {"PWM", -70.3, 43.7},  {"BTV", -73.2, 44.5},  {"CHS", -79.9, 32.8},  {"LOU", -85.8, 38.3},
};

// Rough borders: the 49th parallel to the Lake of the Woods, the Great Lakes and the St.
// Lawrence; and the Rio Grande and the desert line to the Pacific.
const std::vector<QPointF> kCanadaBorder = {
    {-123.3, 49.0}, {-95.2, 49.0}, {-94.8, 49.3}, {-89.6, 48.0}, {-84.8, 46.5},
    {-82.4, 43.0},  {-79.0, 42.8}, {-76.5, 44.2}, {-74.7, 45.0}, {-71.5, 45.0},
    {-70.3, 46.0},  {-69.2, 47.4}, {-67.8, 47.1}, {-67.8, 45.7}, {-67.0, 44.9}};
const std::vector<QPointF> kMexicoBorder = {
    {-117.1, 32.5}, {-114.7, 32.7}, {-111.1, 31.3}, {-108.2, 31.3}, {-108.2, 31.8}, {-106.5, 31.8},
    {-104.5, 29.7}, {-103.1, 29.0}, {-102.4, 29.8}, {-101.4, 29.8}, {-99.5, 27.5},  {-97.2, 25.9}};

// The shifts by a whole turn under which a ring may show in the box.
std::vector<double> shiftsFor(const Ring& ring, const GeoBox& box)
{
    double west = ring.front().x();
    double east = west;
    double south = ring.front().y();
    double north = south;
    for (const QPointF& p : ring) {
        west = std::min(west, p.x());
        east = std::max(east, p.x());
        south = std::min(south, p.y());
        north = std::max(north, p.y());
    }
    std::vector<double> shifts;
    if (north < box.south || south > box.north)
        return shifts;
    for (const double shift : {-360.0, 0.0, 360.0}) {
        if (east + shift >= box.west && west + shift <= box.east)
            shifts.push_back(shift);
    }
    return shifts;
}

std::vector<QPointF> project(const MapView& view, const Ring& ring, double shift)
{
    std::vector<QPointF> points;
    points.reserve(ring.size() + 1);
    for (const QPointF& p : ring)
        points.push_back(view.toPixel(p.x() + shift, p.y()));
    return points;
}

struct LandMask
{
    static constexpr int kWidth = 1440;
    static constexpr int kHeight = 720;
    PixelCanvas canvas{kWidth, kHeight};

    LandMask()
    {
        const MapView world({-180, 180, -90, 90}, 0, 0, kWidth, kHeight);
        world.drawLand(canvas, 1, 0);
    }
};

} // namespace

QPointF MapView::toPixel(double lon, double lat) const
{
    return {m_x + (lon - m_box.west) / (m_box.east - m_box.west) * m_width,
            m_y + (m_box.north - lat) / (m_box.north - m_box.south) * m_height};
}

QPointF MapView::toGeo(int px, int py) const
{
    return {m_box.west + (px - m_x + 0.5) / m_width * (m_box.east - m_box.west),
            m_box.north - (py - m_y + 0.5) / m_height * (m_box.north - m_box.south)};
}

void MapView::drawLand(PixelCanvas& canvas, std::uint8_t land, int water) const
{
    canvas.setClip(m_x, m_y, m_width, m_height);
    for (const Ring& ring : LandOutlines()) {
        for (const double shift : shiftsFor(ring, m_box))
            canvas.fillPolygon(project(*this, ring, shift), land);
    }
    if (water >= 0) {
        for (const Ring& ring : InlandWaters()) {
            for (const double shift : shiftsFor(ring, m_box))
                canvas.fillPolygon(project(*this, ring, shift), static_cast<std::uint8_t>(water));
        }
    }
    canvas.clearClip();
}

void MapView::drawCoasts(PixelCanvas& canvas, std::uint8_t colour) const
{
    canvas.setClip(m_x, m_y, m_width, m_height);
    for (const auto* rings : {&LandOutlines(), &InlandWaters()}) {
        for (const Ring& ring : *rings) {
            for (const double shift : shiftsFor(ring, m_box)) {
                std::vector<QPointF> points = project(*this, ring, shift);
                points.push_back(points.front());
                canvas.polyline(points, colour);
            }
        }
    }
    canvas.clearClip();
}

void MapView::drawGraticule(PixelCanvas& canvas, double step, std::uint8_t colour) const
{
    canvas.setClip(m_x, m_y, m_width, m_height);
    for (double lon = std::ceil(m_box.west / step) * step; lon <= m_box.east; lon += step) {
        const QPointF top = toPixel(lon, m_box.north);
        for (int y = m_y; y < m_y + m_height; y += 2)
            canvas.set(static_cast<int>(top.x()), y, colour);
    }
    for (double lat = std::ceil(m_box.south / step) * step; lat <= m_box.north; lat += step) {
        const QPointF left = toPixel(m_box.west, lat);
        for (int x = m_x; x < m_x + m_width; x += 2)
            canvas.set(x, static_cast<int>(left.y()), colour);
    }
    canvas.clearClip();
}

void MapView::drawUsDetail(PixelCanvas& canvas, std::uint8_t border, std::uint8_t city,
                           bool labels) const
{
    canvas.setClip(m_x, m_y, m_width, m_height);
    for (const auto* line : {&kCanadaBorder, &kMexicoBorder}) {
        std::vector<QPointF> points;
        for (const QPointF& p : *line)
            points.push_back(toPixel(p.x(), p.y()));
        canvas.polyline(points, border);
    }
    for (const City& c : kCities) {
        const QPointF p = toPixel(c.lon, c.lat);
        canvas.fillRect(static_cast<int>(p.x()) - 1, static_cast<int>(p.y()) - 1, 3, 3, city);
        if (labels)
            canvas.text(static_cast<int>(p.x()) + 3, static_cast<int>(p.y()) - 3, c.code, city);
    }
    canvas.clearClip();
}

bool isLand(double lon, double lat)
{
    static const LandMask mask;
    lon = std::fmod(lon + 180.0, 360.0);
    if (lon < 0)
        lon += 360.0;
    const int x = std::clamp(static_cast<int>(lon * 4), 0, LandMask::kWidth - 1);
    const int y = std::clamp(static_cast<int>((90.0 - lat) * 4), 0, LandMask::kHeight - 1);
    return mask.canvas.row(y)[x] == 1;
}

} // namespace cirrolux::drawing
