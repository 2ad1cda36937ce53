// The painters of the weather maps: radar, satellite, surface maps, outlooks and earthquakes.
#include "ImagePainter.h"

#include "drawing/GeoMap.h"
#include "StableHash.h"
#include "WeatherField.h"
#include "artgen/Rng.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace cirrolux::servicesim::painters {

using drawing::blend;
using drawing::GeoBox;
using drawing::MapView;
using drawing::isLand;
using drawing::Rgb;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kTitleHeight = 14;

using Levels = std::array<std::uint8_t, 7>;

Levels addEchoColours(PixelCanvas& canvas)
{
    static constexpr Rgb kColours[7] = {{2, 253, 2},   {1, 197, 1}, {0, 142, 0},  {253, 248, 2},
                                        {229, 160, 0}, {253, 0, 0}, {248, 0, 253}};
    Levels levels{};
    for (std::size_t i = 0; i < levels.size(); ++i)
        levels[i] = canvas.addColour(kColours[i]);
    return levels;
}

void titleBar(PixelCanvas& canvas, const std::string& left, const std::string& right,
              std::uint8_t back, std::uint8_t text)
{
    canvas.fillRect(0, 0, canvas.width(), kTitleHeight, back);
    canvas.text(4, 4, left, text);
    canvas.text(canvas.width() - 4 - PixelCanvas::textWidth(right), 4, right, text);
}

// Radar echoes of the storms over the view, in squares of `block` pixels (a radar's bins).
void paintEchoes(PixelCanvas& canvas, const MapView& view, const std::vector<StormCell>& storms,
                 double hours, const Levels& levels, int block = 2)
{
    const WeatherField& field = weatherField();
    const int width = view.width();
    const int height = view.height();
    std::vector<double> lons(static_cast<std::size_t>(width));
    std::vector<double> lats(static_cast<std::size_t>(height));
    for (int x = 0; x < width; ++x)
        lons[std::size_t(x)] = view.toGeo(view.x() + x, 0).x();
    for (int y = 0; y < height; ++y)
        lats[std::size_t(y)] = view.toGeo(0, view.y() + y).y();
    // Each storm reaches past its nominal edge, where the texture decides whether it shows, so
    // the echoes get ragged outlines instead of ellipses.
    constexpr double kReach = 1.8;
    const double reach = std::sqrt(kReach);
    std::vector<float> core(std::size_t(width) * height, -1.0f);
    const GeoBox& box = view.box();
    for (const StormCell& cell : storms) {
        const double reachLon = cell.radiusLon * reach;
        const double reachLat = cell.radiusLat * reach;
        if (cell.lon + reachLon < box.west || cell.lon - reachLon > box.east ||
            cell.lat + reachLat < box.south || cell.lat - reachLat > box.north)
            continue;
        const QPointF a = view.toPixel(cell.lon - reachLon, cell.lat + reachLat);
        const QPointF b = view.toPixel(cell.lon + reachLon, cell.lat - reachLat);
        const int x0 = std::max(0, static_cast<int>(a.x()) - view.x());
        const int x1 = std::min(width - 1, static_cast<int>(b.x()) + 1 - view.x());
        const int y0 = std::max(0, static_cast<int>(a.y()) - view.y());
        const int y1 = std::min(height - 1, static_cast<int>(b.y()) + 1 - view.y());
        for (int y = y0 - y0 % block; y <= y1; y += block) {
            const double dy = (lats[std::size_t(y)] - cell.lat) / cell.radiusLat;
            float* line = core.data() + std::size_t(y) * width;
            for (int x = x0 - x0 % block; x <= x1; x += block) {
                const double dx = (lons[std::size_t(x)] - cell.lon) / cell.radiusLon;
                const double d2 = dx * dx + dy * dy;
                if (d2 < kReach)
                    line[x] = std::max(line[x], static_cast<float>(cell.strength * (1.0 - d2)));
            }
        }
    }
    static constexpr double kThresholds[7] = {0.16, 0.27, 0.38, 0.5, 0.62, 0.74, 0.86};
    for (int y = 0; y < height; y += block) {
        const float* line = core.data() + std::size_t(y) * width;
        for (int x = 0; x < width; x += block) {
            const float c = line[x];
            if (c <= -0.9f)
                continue;
            const double texture = field.noise().fractal(lons[std::size_t(x)] * 3.1 - hours * 0.4,
                                                         lats[std::size_t(y)] * 3.1, 3);
            const double value = std::max(0.0, double(c)) * (0.5 + 0.9 * texture) +
                                 0.55 * (texture - 0.5) + 0.1 * std::min(0.0, double(c));
            int level = -1;
            while (level < 6 && value >= kThresholds[level + 1])
                ++level;
            if (level >= 0)
                canvas.fillRect(view.x() + x, view.y() + y, block, block,
                                levels[std::size_t(level)]);
        }
    }
}

void echoLegend(PixelCanvas& canvas, const Levels& levels, std::uint8_t text)
{
    const int y = canvas.height() - 14;
    int x = canvas.width() - 7 * 22 - 40;
    x = canvas.text(x, y + 2, "DBZ", text) + 4;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        canvas.fillRect(x, y, 20, 10, levels[i]);
        x += 22;
    }
}

// The drawn pixels of an overlay (coasts and towns put over the echoes of each frame of a loop).
struct Overlay
{
    std::vector<std::pair<std::size_t, std::uint8_t>> pixels;

    Overlay(const PixelCanvas& layer, std::uint8_t transparent)
    {
        for (int y = 0; y < layer.height(); ++y) {
            const std::uint8_t* from = layer.row(y);
            for (int x = 0; x < layer.width(); ++x) {
                if (from[x] != transparent)
                    pixels.emplace_back(std::size_t(y) * layer.width() + x, from[x]);
            }
        }
    }

    void apply(PixelCanvas& canvas) const
    {
        std::uint8_t* to = canvas.row(0);
        for (const auto& [offset, colour] : pixels)
            to[offset] = colour;
    }
};

double temperatureF(double lon, double lat, double hours)
{
    const double day = std::fmod(hours / 24.0, 365.25);
    const double summer = 0.5 + 0.5 * std::cos(2 * kPi * (day - 200) / 365.25);
    const double noise =
        weatherField().noise().fractal(lon / 14.0 + 40, lat / 14.0 + hours / 200, 3);
    return 96 - 1.1 * (lat - 20) - (1 - summer) * 0.9 * std::max(0.0, lat - 15) +
           18 * (noise - 0.5);
}

// Elevation 0..1 for shaded relief: the western mountains and some texture.
double elevation(double lon, double lat)
{
    const double west = std::exp(-std::pow((lon + 112) / 9.0, 2)) * 0.7;
    const double east =
        std::exp(-std::pow((lon + 80) / 4.0, 2)) * std::exp(-std::pow((lat - 37) / 8, 2)) * 0.3;
    return std::clamp(west + east + 0.35 * weatherField().noise().fractal(lon / 2.0, lat / 2.0, 3) -
                          0.1,
                      0.0, 1.0);
}

} // namespace

std::vector<PixelCanvas> radarComposite(const ServedImage& image, const PictureHour& when)
{
    PixelCanvas canvas(image.width, image.height);
    struct Style
    {
        Rgb sea, land, coast, text, bar;
    };
    static constexpr Style kStyles[4] = {
        {{0, 0, 0}, {48, 48, 48}, {230, 230, 230}, {255, 255, 255}, {0, 0, 96}},
        {{160, 196, 232}, {236, 228, 204}, {120, 120, 120}, {0, 0, 0}, {255, 255, 255}},
        {{0, 0, 0}, {0, 56, 24}, {200, 200, 200}, {255, 255, 0}, {0, 0, 0}},
        {{40, 70, 140}, {90, 120, 60}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}},
    };
    const Style& style = kStyles[std::clamp(image.variant, 0, 3)];
    const std::uint8_t sea = canvas.addColour(style.sea);
    const std::uint8_t land = canvas.addColour(style.land);
    const std::uint8_t coast = canvas.addColour(style.coast);
    const std::uint8_t text = canvas.addColour(style.text);
    const std::uint8_t bar = canvas.addColour(style.bar);
    const Levels levels = addEchoColours(canvas);
    const MapView view(image.area, 0, 0, image.width, image.height);
    canvas.fill(sea);
    view.drawLand(canvas, land, sea);
    if (image.variant == 3) {
        const std::uint8_t relief = canvas.addRamp({70, 110, 50}, {150, 110, 70}, 12);
        const std::uint8_t peaks = canvas.addColour({235, 235, 235});
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if (canvas.row(y)[x] != land)
                    continue;
                const QPointF geo = view.toGeo(x, y);
                const double e = elevation(geo.x(), geo.y());
                canvas.row(y)[x] = e > 0.85 ? peaks
                                            : static_cast<std::uint8_t>(
                                                  relief + std::min(11, static_cast<int>(e * 12)));
            }
        }
    }
    if (image.variant != 1)
        view.drawGraticule(canvas, 10, coast);
    const double hours =
        double(when.hour) - (image.path.find("/previous/") != std::string::npos ? 2 : 0);
    paintEchoes(canvas, view, weatherField().storms(hours), hours, levels,
                image.variant == 2 ? 8 : 2);
    view.drawCoasts(canvas, coast);
    view.drawUsDetail(canvas, coast, text, false);
    titleBar(canvas, image.label, PictureHour{static_cast<std::int64_t>(hours), 0}.clock(), bar,
             text);
    echoLegend(canvas, levels, text);
    return {std::move(canvas)};
}

std::vector<PixelCanvas> radarLoop(const ServedImage& image, const PictureHour& when)
{
    PixelCanvas base(image.width, image.height);
    struct Style
    {
        Rgb sea, land, coast, text, bar;
        double step; // hours between frames
    };
    static constexpr Style kStyles[4] = {
        {{10, 20, 70}, {70, 80, 70}, {250, 250, 250}, {255, 255, 255}, {0, 0, 40}, 0.5},
        {{0, 0, 0}, {64, 64, 64}, {200, 200, 200}, {255, 255, 255}, {0, 0, 0}, 1.0},
        {{0, 0, 50}, {30, 40, 80}, {255, 255, 255}, {255, 255, 0}, {0, 0, 0}, 0.25},
        {{10, 20, 70}, {80, 88, 76}, {250, 250, 250}, {255, 255, 255}, {0, 0, 40}, 0.25},
    };
    const Style& style = kStyles[std::clamp(image.variant, 0, 3)];
    const std::uint8_t clear = base.addColour({255, 0, 255});
    const std::uint8_t sea = base.addColour(style.sea);
    const std::uint8_t land = base.addColour(style.land);
    const std::uint8_t coast = base.addColour(style.coast);
    const std::uint8_t text = base.addColour(style.text);
    const std::uint8_t bar = base.addColour(style.bar);
    const std::uint8_t city = base.addColour({255, 210, 120});
    const Levels levels = addEchoColours(base);
    const MapView view(image.area, 0, kTitleHeight, image.width, image.height - kTitleHeight);
    base.fill(sea);
    view.drawLand(base, land, sea);

    PixelCanvas layer = base;
    layer.fill(clear);
    view.drawCoasts(layer, coast);
    const bool zoomed = image.area.east - image.area.west < 30;
    view.drawUsDetail(layer, coast, city, zoomed);
    echoLegend(layer, levels, text);
    const Overlay coasts(layer, clear);

    std::vector<PixelCanvas> frames;
    const int count = std::max(1, image.frames);
    for (int i = 0; i < count; ++i) {
        const double back = (count - 1 - i) * style.step;
        const double hours = double(when.hour) - back;
        PixelCanvas frame = base;
        // A state's radar shows coarser bins than the national mosaic, as the real ones did.
        paintEchoes(frame, view, weatherField().storms(hours), hours, levels, zoomed ? 4 : 2);
        coasts.apply(frame);
        titleBar(frame, image.label, when.clock(-back), bar, text);
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<PixelCanvas> satellite(const ServedImage& image, const PictureHour& when)
{
    const WeatherField& field = weatherField();
    PixelCanvas base(image.width, image.height);
    const std::uint8_t grey = base.addRamp({0, 0, 0}, {255, 255, 255}, 64);
    const bool enhanced = image.look == ImageLook::EnhancedSatellite;
    const bool colourGlobe = image.variant == 1;
    const std::uint8_t cold = base.addRamp({40, 80, 255}, {255, 40, 0}, 24);
    const std::uint8_t seaCloud = base.addRamp({20, 50, 130}, {250, 250, 250}, 24);
    const std::uint8_t landCloud = base.addRamp({70, 120, 50}, {250, 250, 250}, 24);
    const std::uint8_t clear = base.addColour({255, 0, 255});
    const std::uint8_t coast = base.addColour(enhanced ? Rgb{0, 0, 0} : Rgb{230, 200, 0});
    const std::uint8_t text = base.addColour({255, 255, 255});
    const std::uint8_t bar = base.addColour({0, 0, 0});
    const Levels levels = addEchoColours(base);
    const MapView view(image.area, 0, kTitleHeight, image.width, image.height - kTitleHeight);

    PixelCanvas layer = base;
    layer.fill(clear);
    view.drawCoasts(layer, coast);
    if (image.area.west < -60 && image.area.east > -130 && image.area.west > -180)
        view.drawUsDetail(layer, coast, coast, false);
    const Overlay coasts(layer, clear);

    const bool loop = image.look == ImageLook::SatelliteLoop;
    const int count = loop ? std::max(1, image.frames) : 1;
    std::vector<PixelCanvas> frames;
    for (int i = 0; i < count; ++i) {
        const double back = count - 1 - i;
        const double hours = double(when.hour) - back;
        PixelCanvas frame = base;
        // The colour globe keeps its coasts sharp; the infrared pictures are soft anyway, so
        // their whole brightness is sampled every second pixel.
        const HalfGrid brightness(image.width, view.height(), [&](int x, int y) {
            const QPointF geo = view.toGeo(x, view.y() + y);
            const double c = field.cloud(geo.x(), geo.y(), hours);
            if (colourGlobe)
                return c;
            const double surface =
                (isLand(geo.x(), geo.y()) ? 0.22 : 0.14) + 0.4 * std::abs(geo.y()) / 90.0;
            return std::max(surface, c > 0.02 ? 0.3 + 0.7 * c : 0.0);
        });
        for (int y = view.y(); y < view.y() + view.height(); ++y) {
            std::uint8_t* line = frame.row(y);
            const double lat = view.toGeo(0, y).y();
            for (int x = 0; x < image.width; ++x) {
                const double value = brightness.at(x, y - view.y());
                if (colourGlobe) {
                    const bool onLand = isLand(view.toGeo(x, y).x(), lat);
                    line[x] = static_cast<std::uint8_t>((onLand ? landCloud : seaCloud) +
                                                        std::min(23, static_cast<int>(value * 24)));
                    continue;
                }
                if (enhanced && value > 0.78)
                    line[x] = static_cast<std::uint8_t>(
                        cold + std::min(23, static_cast<int>((value - 0.78) / 0.22 * 24)));
                else
                    line[x] = static_cast<std::uint8_t>(grey +
                                                        std::min(63, static_cast<int>(value * 64)));
            }
        }
        if (image.look == ImageLook::SatelliteRadar)
            paintEchoes(frame, view, field.storms(hours), hours, levels);
        coasts.apply(frame);
        titleBar(frame, image.label, when.clock(-back), bar, text);
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<PixelCanvas> fullDisk(const ServedImage& image, const PictureHour& when)
{
    const WeatherField& field = weatherField();
    PixelCanvas canvas(image.width, image.height);
    const std::uint8_t grey = canvas.addRamp({0, 0, 0}, {255, 255, 255}, 128);
    const std::uint8_t text = canvas.addColour({255, 255, 255});
    const std::uint8_t space = canvas.addColour({0, 0, 0});
    canvas.fill(space);
    const double radius = std::min(image.width, image.height) * 0.47;
    const double cx = image.width / 2.0;
    const double cy = image.height / 2.0;
    const double centre = image.variant;
    const double hours = double(when.hour);
    const auto place = [&](int x, int y, double& lon, double& lat, double& cosC) {
        const double u = (x + 0.5 - cx) / radius;
        const double v = (cy - (y + 0.5)) / radius;
        double rho = std::sqrt(u * u + v * v);
        const double scale = rho > 0.999 ? 0.999 / rho : 1.0;
        rho *= scale;
        cosC = std::sqrt(1.0 - rho * rho);
        lat = std::asin(v * scale) * 180 / kPi;
        lon = centre + std::atan2(u * scale, cosC) * 180 / kPi;
    };
    const HalfGrid brightness(image.width, image.height, [&](int x, int y) {
        double lon = 0;
        double lat = 0;
        double cosC = 0;
        place(x, y, lon, lat, cosC);
        const double c = field.cloud(lon, lat, hours);
        const double surface =
            (isLand(lon, lat) ? 0.16 : 0.1) + 0.45 * std::abs(lat) / 90.0 + 0.25 * (1.0 - cosC);
        return std::max(surface, c > 0.02 ? 0.32 + 0.68 * c : 0.0);
    });
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* line = canvas.row(y);
        const double v = (cy - (y + 0.5)) / radius;
        for (int x = 0; x < image.width; ++x) {
            const double u = (x + 0.5 - cx) / radius;
            const double rho2 = u * u + v * v;
            if (rho2 >= 1.0)
                continue;
            const double value = brightness.at(x, y);
            line[x] =
                static_cast<std::uint8_t>(grey + std::min(127, static_cast<int>(value * 128)));
        }
    }
    canvas.text(8, 8, image.label, text, 2);
    canvas.text(8, image.height - 22, when.clock(0, 0, true), text, 2);
    return {std::move(canvas)};
}

std::vector<PixelCanvas> surfaceMap(const ServedImage& image, const PictureHour& when)
{
    PixelCanvas canvas(image.width, image.height);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t land = canvas.addColour({244, 238, 220});
    const std::uint8_t coast = canvas.addColour({90, 90, 90});
    const std::uint8_t black = canvas.addColour({0, 0, 0});
    const std::uint8_t blue = canvas.addColour({0, 60, 230});
    const std::uint8_t red = canvas.addColour({220, 0, 0});
    const std::uint8_t green = canvas.addColour({0, 140, 0});
    const std::uint8_t grid = canvas.addColour({200, 200, 220});
    const MapView view(image.area, 0, kTitleHeight, image.width, image.height - kTitleHeight);
    const double hours = double(when.hour);
    canvas.fill(white);
    view.drawLand(canvas, land, white);
    artgen::Rng rng(when.seed);

    if (image.look == ImageLook::TemperatureContour) {
        const std::uint8_t bands = canvas.addRamp({120, 0, 160}, {0, 90, 255}, 5);
        canvas.addRamp({0, 200, 200}, {60, 200, 60}, 3);
        canvas.addRamp({230, 230, 0}, {230, 0, 0}, 5);
        std::vector<int> band(std::size_t(image.width) * image.height, -1);
        for (int y = view.y(); y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const QPointF geo = view.toGeo(x, y);
                const int b = std::clamp(
                    static_cast<int>(std::floor((temperatureF(geo.x(), geo.y(), hours) + 30) / 10)),
                    0, 12);
                band[std::size_t(y) * image.width + x] = b;
                canvas.row(y)[x] = static_cast<std::uint8_t>(bands + b);
            }
        }
        for (int y = view.y(); y + 1 < image.height; ++y) {
            for (int x = 0; x + 1 < image.width; ++x) {
                const int b = band[std::size_t(y) * image.width + x];
                if (b != band[std::size_t(y) * image.width + x + 1] ||
                    b != band[std::size_t(y + 1) * image.width + x])
                    canvas.row(y)[x] = black;
            }
        }
        view.drawCoasts(canvas, black);
        int x = 6;
        for (int b = 0; b < 13; ++b) {
            canvas.fillRect(x, image.height - 14, 22, 10, static_cast<std::uint8_t>(bands + b));
            x += 24;
        }
        canvas.text(x + 4, image.height - 12, "-30 TO 100+ F", black);
    } else {
        view.drawCoasts(canvas, coast);
        view.drawGraticule(canvas, 10, grid);
    }

    if (image.look == ImageLook::Fronts) {
        const int lows = rng.between(2, 3);
        for (int i = 0; i < lows; ++i) {
            const double lon = rng.uniform(-125, -70);
            const double lat = rng.uniform(36, 56);
            const QPointF centre = view.toPixel(lon, lat);
            std::vector<QPointF> cold{centre};
            std::vector<QPointF> warm{centre};
            double cl = lon;
            double ca = lat;
            double wl = lon;
            double wa = lat;
            for (int k = 0; k < 6; ++k) {
                cl -= rng.uniform(1.5, 3.0);
                ca -= rng.uniform(2.0, 3.2);
                wl += rng.uniform(2.0, 3.5);
                wa -= rng.uniform(0.3, 1.4);
                cold.push_back(view.toPixel(cl, ca));
                warm.push_back(view.toPixel(wl, wa));
            }
            canvas.polyline(cold, blue, 3);
            canvas.polyline(warm, red, 3);
            for (std::size_t k = 1; k < cold.size(); ++k) {
                const QPointF a = cold[k - 1];
                const QPointF b = cold[k];
                const QPointF m = (a + b) / 2;
                const QPointF d = b - a;
                const double len = std::max(1.0, std::hypot(d.x(), d.y()));
                const QPointF n(-d.y() / len * 8, d.x() / len * 8);
                canvas.fillPolygon({m - d / len * 5, m + d / len * 5, m + n}, blue);
                const QPointF wm = (warm[k - 1] + warm[k]) / 2;
                canvas.fillCircle(wm.x(), wm.y() - 3, 5, red);
            }
            canvas.text(static_cast<int>(centre.x()) - 7, static_cast<int>(centre.y()) - 10, "L",
                        red, 3);
            canvas.text(static_cast<int>(centre.x()) - 10, static_cast<int>(centre.y()) + 12,
                        std::to_string(rng.between(984, 1004)), red);
        }
        for (int i = 0; i < 2; ++i) {
            const QPointF p = view.toPixel(rng.uniform(-120, -75), rng.uniform(30, 50));
            canvas.text(static_cast<int>(p.x()) - 7, static_cast<int>(p.y()) - 10, "H", blue, 3);
            canvas.text(static_cast<int>(p.x()) - 10, static_cast<int>(p.y()) + 12,
                        std::to_string(rng.between(1016, 1036)), blue);
        }
    } else if (image.look == ImageLook::StationPlot) {
        for (double lat = image.area.south + 2; lat < image.area.north - 1; lat += 3.0) {
            for (double lon = image.area.west + 2; lon < image.area.east - 1; lon += 3.6) {
                if (!isLand(lon, lat))
                    continue;
                const QPointF p = view.toPixel(lon, lat);
                const int x = static_cast<int>(p.x());
                const int y = static_cast<int>(p.y());
                const int t = static_cast<int>(std::lround(temperatureF(lon, lat, hours)));
                const int dew = t - rng.between(2, 25);
                const double cover = weatherField().cloud(lon, lat, hours);
                canvas.circle(x, y, 4, black);
                if (cover > 0.5)
                    canvas.fillCircle(x, y, 4, black);
                const double direction = rng.uniform(0, 2 * kPi);
                const double ex = x + 16 * std::cos(direction);
                const double ey = y + 16 * std::sin(direction);
                canvas.line(x, y, ex, ey, black);
                canvas.line(ex, ey, ex + 6 * std::cos(direction + 1.2),
                            ey + 6 * std::sin(direction + 1.2), black);
                canvas.text(x - 6 - PixelCanvas::textWidth(std::to_string(t)), y - 10,
                            std::to_string(t), red);
                canvas.text(x - 6 - PixelCanvas::textWidth(std::to_string(dew)), y + 4,
                            std::to_string(dew), green);
            }
        }
    }
    titleBar(canvas, image.label, when.clock(0, 0, true), black, white);
    return {std::move(canvas)};
}

std::vector<PixelCanvas> colourBands(const ServedImage& image, const PictureHour& when)
{
    struct Bands
    {
        std::vector<Rgb> colours;
        std::vector<const char*> labels;
        double scale; // degrees per noise cell
    };
    static const Bands kBands[] = {
        {{{0, 60, 200}, {110, 160, 255}, {240, 240, 240}, {255, 150, 110}, {200, 20, 20}},
         {"MUCH BELOW", "BELOW", "NEAR NORMAL", "ABOVE", "MUCH ABOVE"},
         14},
        {{{150, 90, 30}, {220, 180, 110}, {240, 240, 240}, {120, 220, 120}, {0, 130, 40}},
         {"MUCH BELOW", "BELOW", "NEAR NORMAL", "ABOVE", "MUCH ABOVE"},
         12},
        {{{255, 255, 200},
          {250, 220, 120},
          {180, 230, 120},
          {60, 200, 80},
          {40, 160, 200},
          {30, 80, 220},
          {120, 40, 200},
          {220, 40, 160}},
         {"0.5", "1", "2", "3", "4", "6", "8", "10+"},
         6},
        {{{140, 40, 0},
          {220, 100, 30},
          {250, 190, 90},
          {240, 240, 240},
          {150, 230, 150},
          {40, 180, 80},
          {0, 100, 60}},
         {"-4", "-3", "-2", "0", "+2", "+3", "+4"},
         9},
        {{{0, 160, 0}, {60, 90, 255}, {255, 255, 0}, {255, 140, 0}, {220, 0, 0}},
         {"LOW", "MODERATE", "HIGH", "VERY HIGH", "EXTREME"},
         7},
        {{{160, 220, 160}, {250, 240, 90}, {250, 150, 40}, {200, 30, 30}},
         {"LOW", "MODERATE", "HIGH", "VERY HIGH"},
         8},
        {{{160, 220, 160}, {250, 240, 90}, {250, 150, 40}, {200, 30, 30}},
         {"LOW", "MODERATE", "HIGH", "VERY HIGH"},
         7},
        {{{190, 60, 30}, {240, 170, 60}, {120, 200, 90}, {40, 120, 220}},
         {"VERY SHORT", "SHORT", "ADEQUATE", "SURPLUS"},
         6},
        {{{170, 90, 40},
          {220, 170, 90},
          {230, 230, 120},
          {150, 210, 90},
          {60, 160, 50},
          {0, 100, 30}},
         {"VERY POOR", "POOR", "FAIR", "GOOD", "VERY GOOD", "EXCELLENT"},
         5},
        {{{236, 228, 204}, {200, 230, 255}, {140, 190, 250}, {70, 120, 230}, {120, 40, 200}},
         {"NONE", "0-2 IN", "2-6 IN", "6-12 IN", "12+ IN"},
         5},
        {{{255, 250, 210},
          {250, 220, 150},
          {240, 170, 90},
          {210, 110, 50},
          {160, 60, 30},
          {100, 30, 10}},
         {"<100", "100-500", "500-1000", "1-2 MIL", "2-4 MIL", ">4 MIL"},
         4},
    };
    const Bands& bands = kBands[std::clamp(image.variant, 0, int(std::size(kBands)) - 1)];
    PixelCanvas canvas(image.width, image.height);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t sea = canvas.addColour({215, 232, 250});
    const std::uint8_t land = canvas.addColour({255, 0, 255});
    const std::uint8_t black = canvas.addColour({0, 0, 0});
    const std::uint8_t first = canvas.addColour(bands.colours.front());
    for (std::size_t i = 1; i < bands.colours.size(); ++i)
        canvas.addColour(bands.colours[i]);
    const int classes = static_cast<int>(bands.colours.size());
    const int legendHeight = 26;
    const MapView view(image.area, 0, kTitleHeight, image.width,
                       image.height - kTitleHeight - legendHeight);
    canvas.fill(white);
    canvas.fillRect(0, kTitleHeight, image.width, view.height(), sea);
    view.drawLand(canvas, land, sea);

    const ValueNoise& noise = weatherField().noise();
    const double offset = unitFraction(when.seed) * 200;
    const double hours = double(when.hour);
    const double day = std::fmod(hours / 24.0, 365.25);
    const double winter = 0.5 - 0.5 * std::cos(2 * kPi * (day - 200) / 365.25);
    const bool blocky = image.variant == CattleInventory;
    const HalfGrid field(image.width, view.height(), [&](int x, int y) {
        const QPointF geo = view.toGeo(x, view.y() + y);
        return noise.fractal(geo.x() / bands.scale + offset, geo.y() / bands.scale, 3);
    });
    for (int y = view.y(); y < view.y() + view.height(); ++y) {
        std::uint8_t* line = canvas.row(y);
        for (int x = 0; x < image.width; ++x) {
            if (line[x] != land)
                continue;
            QPointF geo = view.toGeo(x, y);
            double value = field.at(x, y - view.y());
            if (blocky) {
                geo = {std::floor(geo.x() / 4) * 4 + 2, std::floor(geo.y() / 3) * 3 + 1.5};
                value = noise.fractal(geo.x() / bands.scale + offset, geo.y() / bands.scale, 3);
            }
            if (image.variant == SnowCover) {
                const double snowLine = 48 - 14 * winter;
                value = std::clamp((geo.y() - snowLine) / 8.0 + (value - 0.5), -1.0, 1.0);
                value = value <= 0 ? 0.0 : 0.2 + value * 0.8;
            } else {
                value = std::clamp((value - 0.25) * 2.0, 0.0, 0.999);
            }
            line[x] = static_cast<std::uint8_t>(
                first + std::clamp(static_cast<int>(value * classes), 0, classes - 1));
        }
    }
    view.drawCoasts(canvas, black);
    if (image.area.west < -60 && image.area.east > -130)
        view.drawUsDetail(canvas, black, black, false);

    const int boxWidth = (image.width - 12) / classes;
    for (int i = 0; i < classes; ++i) {
        const int x = 6 + i * boxWidth;
        const int y = image.height - legendHeight + 3;
        canvas.fillRect(x, y, boxWidth - 4, 9, static_cast<std::uint8_t>(first + i));
        canvas.frameRect(x, y, boxWidth - 4, 9, black);
        canvas.text(x, y + 12, bands.labels[std::size_t(i)], black);
    }
    titleBar(canvas, image.label, when.clock(0, 0, true), black, white);
    return {std::move(canvas)};
}

std::vector<PixelCanvas> seasonalPage(const ServedImage& image, const PictureHour& when)
{
    PixelCanvas canvas(image.width, image.height);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t land = canvas.addColour({255, 0, 255});
    const std::uint8_t black = canvas.addColour({0, 0, 0});
    const std::uint8_t purple = canvas.addColour({120, 40, 160});
    const std::uint8_t below = canvas.addColour({70, 120, 255});
    const std::uint8_t normal = canvas.addColour({235, 235, 235});
    const std::uint8_t above = canvas.addColour({240, 80, 50});
    const std::uint8_t dry = canvas.addColour({190, 130, 60});
    const std::uint8_t wet = canvas.addColour({40, 170, 70});
    canvas.fill(white);
    const int maps = image.variant == 4 ? 4 : 12;
    const int columns = maps == 4 ? 2 : 4;
    const int rows = maps / columns;
    const int cellWidth = image.width / columns;
    const int cellHeight = (image.height - kTitleHeight) / rows;
    static const char* kMonths = "JFMAMJJASONDJFMAM";
    const int month = when.start().date().month() - 1;
    const ValueNoise& noise = weatherField().noise();
    for (int i = 0; i < maps; ++i) {
        const bool precipitation = image.variant == 13 || (maps == 4 && i % 2 == 1);
        const int x0 = (i % columns) * cellWidth;
        const int y0 = kTitleHeight + (i / columns) * cellHeight;
        const std::string months(kMonths + (month + i / (maps == 4 ? 2 : 1)) % 12, 3);
        canvas.fillRect(x0 + 6, y0 + 12, cellWidth - 12, 4, purple);
        canvas.text(x0 + 6, y0 + 3, months, black);
        const MapView view({-126, -66, 24, 50}, x0 + 4, y0 + 18, cellWidth - 8, cellHeight - 22);
        view.drawLand(canvas, land);
        const double offset = unitFraction(mixHash(when.seed, std::uint64_t(i))) * 100;
        for (int y = view.y(); y < view.y() + view.height(); ++y) {
            for (int x = view.x(); x < view.x() + view.width(); ++x) {
                if (canvas.row(y)[x] != land)
                    continue;
                const QPointF geo = view.toGeo(x, y);
                const double v = noise.fractal(geo.x() / 12 + offset, geo.y() / 12, 2);
                canvas.row(y)[x] = v < 0.4   ? (precipitation ? dry : below)
                                   : v > 0.6 ? (precipitation ? wet : above)
                                             : normal;
            }
        }
        view.drawCoasts(canvas, black);
        canvas.frameRect(x0 + 2, y0 + 1, cellWidth - 4, cellHeight - 2, black);
    }
    titleBar(canvas, image.label, when.clock(0, 0, true), purple, white);
    return {std::move(canvas)};
}

std::vector<PixelCanvas> seismic(const ServedImage& image, const PictureHour& when)
{
    PixelCanvas canvas(image.width, image.height);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t land = canvas.addColour({225, 225, 210});
    const std::uint8_t coast = canvas.addColour({110, 110, 110});
    const std::uint8_t grid = canvas.addColour({205, 215, 235});
    const std::uint8_t black = canvas.addColour({0, 0, 0});
    const std::uint8_t ages[3] = {canvas.addColour({230, 0, 0}), canvas.addColour({250, 150, 0}),
                                  canvas.addColour({240, 220, 0})};
    const MapView view(image.area, 0, kTitleHeight, image.width, image.height - kTitleHeight - 14);
    canvas.fill(white);
    view.drawGraticule(canvas, image.area.east - image.area.west > 100 ? 30 : 10, grid);
    view.drawLand(canvas, land, white);
    view.drawCoasts(canvas, coast);
    // Earthquakes gather where plates meet.
    static constexpr double kZones[][3] = {
        {-122, 37, 3}, {-117, 34, 2}, {-150, 61, 6}, {-178, 52, 8}, {142, 38, 6}, {125, 5, 10},
        {-72, -25, 8}, {-77, -8, 5},  {-98, 17, 4},  {27, 38, 6},   {88, 28, 6},  {175, -38, 5},
        {-112, 44, 3}, {-90, 36, 2},  {-155, 19, 1}, {100, 0, 6},   {70, 36, 5},  {-62, 15, 4}};
    artgen::Rng rng(when.seed);
    const int count = rng.between(120, 200);
    for (int i = 0; i < count; ++i) {
        const auto& zone = kZones[rng.between(0, int(std::size(kZones)) - 1)];
        const double lon = zone[0] + rng.uniform(-zone[2], zone[2]);
        const double lat = zone[1] + rng.uniform(-zone[2], zone[2]) * 0.6;
        const QPointF p = view.toPixel(lon, lat);
        if (p.x() < 0 || p.x() >= image.width || p.y() < view.y() ||
            p.y() >= view.y() + view.height())
            continue;
        const double magnitude = 2.5 + std::pow(rng.uniform(0, 1), 3) * 5;
        canvas.fillCircle(p.x(), p.y(), magnitude - 1.5, ages[rng.between(0, 2)]);
        canvas.circle(p.x(), p.y(), magnitude - 1.5, black);
    }
    int x = canvas.text(6, image.height - 11, "PAST DAY", black) + 4;
    canvas.fillRect(x, image.height - 11, 8, 7, ages[0]);
    x = canvas.text(x + 14, image.height - 11, "PAST WEEK", black) + 4;
    canvas.fillRect(x, image.height - 11, 8, 7, ages[1]);
    x = canvas.text(x + 14, image.height - 11, "OLDER", black) + 4;
    canvas.fillRect(x, image.height - 11, 8, 7, ages[2]);
    titleBar(canvas, image.label, when.clock(0, 0, true), white, black);
    return {std::move(canvas)};
}

std::vector<PixelCanvas> lightning(const ServedImage& image, const PictureHour& when)
{
    PixelCanvas canvas(image.width, image.height);
    const std::uint8_t sea = canvas.addColour({0, 0, 40});
    const std::uint8_t land = canvas.addColour({40, 40, 60});
    const std::uint8_t coast = canvas.addColour({200, 200, 200});
    const std::uint8_t strike = canvas.addColour({255, 255, 0});
    const std::uint8_t recent = canvas.addColour({255, 255, 255});
    const std::uint8_t text = canvas.addColour({255, 255, 255});
    const MapView view(image.area, 0, kTitleHeight, image.width, image.height - kTitleHeight);
    canvas.fill(sea);
    view.drawLand(canvas, land, sea);
    view.drawCoasts(canvas, coast);
    view.drawUsDetail(canvas, coast, coast, false);
    artgen::Rng rng(when.seed);
    int strikes = 0;
    for (const StormCell& cell : weatherField().storms(double(when.hour))) {
        const int count = static_cast<int>(cell.strength * cell.strength * 120);
        for (int i = 0; i < count; ++i) {
            const double angle = rng.uniform(0, 2 * kPi);
            const double r = std::sqrt(rng.uniform(0, 1));
            const QPointF p = view.toPixel(cell.lon + r * cell.radiusLon * std::cos(angle),
                                           cell.lat + r * cell.radiusLat * std::sin(angle));
            const std::uint8_t colour = i % 5 == 0 ? recent : strike;
            canvas.line(p.x() - 2, p.y(), p.x() + 2, p.y(), colour);
            canvas.line(p.x(), p.y() - 2, p.x(), p.y() + 2, colour);
            ++strikes;
        }
    }
    canvas.text(6, image.height - 12, "STRIKES PAST HOUR: " + std::to_string(strikes), text);
    titleBar(canvas, image.label, when.clock(), sea, text);
    return {std::move(canvas)};
}

} // namespace cirrolux::servicesim::painters
