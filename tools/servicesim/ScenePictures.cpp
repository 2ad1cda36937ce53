// The painters of the pictures without a map: camera views, the census clocks and USDA charts.
#include "ImagePainter.h"

#include "StableHash.h"
#include "WeatherField.h"
#include "artgen/Rng.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace cirrolux::servicesim::painters {

using drawing::Rgb;
using drawing::blend;

namespace {

constexpr double kPi = 3.141592653589793;

// How light the sky is at a local hour: 0 night, 1 full day.
double daylight(double localHour)
{
    const double fromNoon = std::abs(localHour - 12.5);
    return std::clamp((6.8 - fromNoon) / 1.3, 0.0, 1.0);
}

// A ridge line across the picture: the height above the horizon of each column.
std::vector<int> ridge(int width, int base, int amplitude, double roughness, std::uint64_t seed)
{
    const ValueNoise& noise = weatherField().noise();
    const double offset = unitFraction(seed) * 200;
    std::vector<int> heights(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        heights[std::size_t(x)] =
            base + static_cast<int>(amplitude * noise.fractal(x * roughness / width * 6 + offset,
                                                              offset * 0.5, 4));
    return heights;
}

// Fills under the ridge from the left edge; a ridge narrower than the picture (the coast's
// headland) leaves the columns right of it alone.
void fillBelow(PixelCanvas& canvas, const std::vector<int>& heights, int horizon,
               std::uint8_t colour)
{
    const int columns = std::min(canvas.width(), static_cast<int>(heights.size()));
    for (int x = 0; x < columns; ++x)
        canvas.fillRect(x, horizon - heights[std::size_t(x)], 1, heights[std::size_t(x)] + 1,
                        colour);
}

std::string withCommas(long long value)
{
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(std::size_t(i), ",");
    return digits;
}

} // namespace

std::vector<PixelCanvas> camera(const ServedImage& image, const PictureHour& when)
{
    const int w = image.width;
    const int h = image.height;
    PixelCanvas canvas(w, h);
    artgen::Rng rng(when.seed);
    const double localHour = std::fmod(double(when.hour % 24) + image.utcOffset + 48.0, 24.0);
    const double light = daylight(localHour);
    const double dusk = light > 0 && light < 1 ? 1.0 - std::abs(light - 0.5) * 2 : 0.0;
    const Rgb nightTop{5, 8, 30};
    const Rgb dayTop{40, 100, 200};
    const Rgb dayHorizon{170, 205, 240};
    const Rgb duskHorizon{250, 150, 70};
    const Rgb top = blend(nightTop, dayTop, light);
    const Rgb horizonColour =
        blend(blend({20, 25, 60}, dayHorizon, light), duskHorizon, dusk * 0.8);
    const int horizon = h * 3 / 5;
    const std::uint8_t sky = canvas.addRamp(top, horizonColour, 48);
    const Rgb cloudLit = blend({60, 60, 70}, {245, 245, 245}, light);
    const std::uint8_t cloud = canvas.addRamp(blend(top, cloudLit, 0.3), cloudLit, 16);
    const double shade = 0.25 + 0.75 * light;
    const auto dim = [shade](Rgb c) { return blend({0, 0, 0}, c, shade); };
    const std::uint8_t far = canvas.addColour(dim({110, 130, 165}));
    const std::uint8_t nearHills = canvas.addColour(dim({60, 85, 55}));
    const std::uint8_t snow = canvas.addColour(dim({240, 240, 245}));
    const std::uint8_t ground = canvas.addColour(dim({90, 110, 60}));
    const std::uint8_t road = canvas.addColour(dim({80, 80, 85}));
    const std::uint8_t water = canvas.addRamp(dim({40, 90, 140}), dim({20, 50, 90}), 8);
    const std::uint8_t building = canvas.addRamp(dim({70, 70, 80}), dim({150, 140, 130}), 6);
    const std::uint8_t window =
        canvas.addColour(light > 0.5 ? Rgb{170, 190, 210} : Rgb{255, 220, 120});
    const std::uint8_t tree = canvas.addColour(dim({20, 60, 30}));
    const std::uint8_t sand = canvas.addColour(dim({220, 200, 150}));
    const std::uint8_t steel = canvas.addColour(dim({200, 205, 215}));
    const std::uint8_t orange = canvas.addColour(dim({210, 110, 40}));
    const std::uint8_t sun = canvas.addColour(light > 0 ? Rgb{255, 245, 200} : Rgb{230, 230, 210});
    const std::uint8_t black = canvas.addColour({0, 0, 0});
    const std::uint8_t white = canvas.addColour({255, 255, 255});

    // Sky, clouds and the sun or moon.
    for (int y = 0; y < horizon; ++y)
        canvas.fillRect(0, y, w, 1,
                        static_cast<std::uint8_t>(sky + y * 47 / std::max(1, horizon - 1)));
    if (light < 0.3) {
        for (int i = 0; i < w / 4; ++i)
            canvas.set(rng.between(0, w - 1), rng.between(0, horizon - 1), white);
    }
    const double sunX = w * std::clamp((localHour - 6.0) / 12.0, 0.05, 0.95);
    canvas.fillCircle(sunX, horizon * (0.2 + 0.5 * std::abs(localHour - 12.5) / 7.0), h / 24.0 + 3,
                      sun);
    const ValueNoise& noise = weatherField().noise();
    const double cover = 0.2 + 0.6 * unitFraction(mixHash(when.seed, 7));
    const double drift = unitFraction(when.seed) * 100;
    const HalfGrid clouds(w, horizon, [&](int x, int y) {
        return noise.fractal(x / 60.0 + drift, y / 25.0 + drift, 4);
    });
    for (int y = 0; y < horizon; y += 1) {
        for (int x = 0; x < w; ++x) {
            const double v = clouds.at(x, y);
            if (v > 1.0 - cover * 0.75)
                canvas.set(
                    x, y,
                    static_cast<std::uint8_t>(
                        cloud + std::min(15, static_cast<int>((v - (1.0 - cover * 0.75)) * 60))));
        }
    }

    const auto scene = static_cast<CameraScene>(image.variant);
    const auto skyline = [&](int base, int count) {
        for (int i = 0; i < count; ++i) {
            const int bw = rng.between(w / 30 + 4, w / 10 + 6);
            const int bh = rng.between(h / 12, h / 3);
            const int bx = rng.between(-bw / 2, w - bw / 2);
            canvas.fillRect(bx, base - bh, bw, bh,
                            static_cast<std::uint8_t>(building + rng.between(0, 5)));
            for (int wy = base - bh + 4; wy < base - 4; wy += 7) {
                for (int wx = bx + 3; wx < bx + bw - 3; wx += 6) {
                    if (rng.between(0, 3) != 0)
                        canvas.fillRect(wx, wy, 3, 3, window);
                }
            }
        }
    };
    const auto trees = [&](int base, int count, int size) {
        for (int i = 0; i < count; ++i) {
            const double tx = rng.uniform(0, w);
            const double th = rng.uniform(size * 0.6, size * 1.4);
            const double ty = base + rng.uniform(0, h - base) * 0.6;
            canvas.fillPolygon({{tx, ty - th}, {tx - th / 3, ty}, {tx + th / 3, ty}}, tree);
        }
    };

    canvas.fillRect(0, horizon, w, h - horizon, ground);
    switch (scene) {
    case City:
    case Campus:
        fillBelow(canvas, ridge(w, 4, h / 14, 2, when.seed ^ 1), horizon, far);
        skyline(horizon + h / 10, scene == City ? 26 : 10);
        if (scene == Campus) {
            canvas.fillRect(w / 2 - w / 30, horizon - h / 3, w / 15, h / 3 + h / 10, building + 5);
            canvas.fillPolygon({{w / 2.0 - w / 30.0, horizon - h / 3.0},
                                {w / 2.0, horizon - h / 3.0 - h / 10.0},
                                {w / 2.0 + w / 30.0, horizon - h / 3.0}},
                               orange);
            trees(horizon + h / 10, 24, h / 10);
        }
        canvas.fillRect(0, horizon + h / 10, w, h / 14, road);
        break;
    case Mountains:
    case SkiSlope: {
        const std::vector<int> back = ridge(w, h / 6, h / 3, 1.5, when.seed ^ 2);
        fillBelow(canvas, back, horizon, far);
        for (int x = 0; x < w; ++x) {
            const int peak = back[std::size_t(x)];
            if (peak > h / 3)
                canvas.fillRect(x, horizon - peak, 1, (peak - h / 3) / 2 + 2, snow);
        }
        const std::vector<int> front = ridge(w, h / 14, h / 5, 3, when.seed ^ 3);
        fillBelow(canvas, front, horizon + h / 12, scene == SkiSlope ? snow : nearHills);
        canvas.fillRect(0, horizon + h / 12, w, h, scene == SkiSlope ? snow : ground);
        trees(horizon - h / 20, scene == SkiSlope ? 40 : 60, h / 9);
        if (scene == SkiSlope)
            canvas.line(w * 0.1, h * 0.95, w * 0.7,
                        horizon - front[std::size_t(w * 7 / 10)] + h / 12.0, black);
        break;
    }
    case Lake:
        fillBelow(canvas, ridge(w, h / 10, h / 4, 2, when.seed ^ 4), horizon, far);
        for (int y = horizon; y < h; ++y)
            canvas.fillRect(
                0, y, w, 1,
                static_cast<std::uint8_t>(water + (y - horizon) * 7 / std::max(1, h - horizon)));
        for (int i = 0; i < 30; ++i) {
            const int y = rng.between(horizon + 2, h - 2);
            const int x = rng.between(0, w - 1);
            canvas.fillRect(x, y, rng.between(6, 30), 1, sky + 40);
        }
        trees(horizon, 18, h / 6);
        break;
    case Coast:
        for (int y = horizon; y < h * 4 / 5; ++y)
            canvas.fillRect(0, y, w, 1,
                            static_cast<std::uint8_t>(
                                water + (y - horizon) * 7 / std::max(1, h * 4 / 5 - horizon)));
        canvas.fillRect(0, h * 4 / 5, w, h, sand);
        fillBelow(canvas, ridge(w / 3, h / 12, h / 5, 2, when.seed ^ 5), horizon, nearHills);
        for (int i = 0; i < 12; ++i)
            canvas.fillRect(rng.between(0, w), rng.between(horizon, h * 4 / 5), rng.between(10, 40),
                            1, white);
        break;
    case Falls:
        canvas.fillRect(0, horizon - h / 10, w, h / 10, nearHills);
        for (int y = horizon; y < h; ++y)
            canvas.fillRect(
                0, y, w, 1,
                static_cast<std::uint8_t>(water + (y - horizon) * 7 / std::max(1, h - horizon)));
        // The horseshoe seen from across the river: a curved brink, water falling in streaks
        // of white and pale green, and spray rising from the foot.
        for (int x = w / 8; x < w * 7 / 8; ++x) {
            const double t = (x - w / 2.0) / (w * 0.375);
            const int brink = horizon - h / 10 + static_cast<int>(h / 14.0 * (1 - t * t));
            const int foot = static_cast<int>(h * 0.78) + static_cast<int>(h / 20.0 * (1 - t * t));
            const std::uint8_t streak = rng.between(0, 4) == 0 ? steel : white;
            canvas.fillRect(x, brink, 1, foot - brink, streak);
        }
        for (int i = 0; i < w / 4; ++i)
            canvas.fillCircle(rng.uniform(w * 0.12, w * 0.88), rng.uniform(h * 0.74, h * 0.84),
                              rng.uniform(2, h / 32.0), i % 4 == 0 ? steel : white);
        skyline(horizon - h / 10, 8);
        break;
    case Arch: {
        skyline(horizon + h / 12, 18);
        const double span = w * 0.45;
        const double peak = h * 0.5;
        std::vector<QPointF> curve;
        for (int i = 0; i <= 60; ++i) {
            const double t = -1.0 + 2.0 * i / 60;
            curve.emplace_back(w / 2.0 + t * span / 2, horizon + h / 12.0 - peak * (1 - t * t));
        }
        canvas.polyline(curve, steel, std::max(3, w / 80));
        break;
    }
    case LaunchPad: {
        canvas.fillRect(0, horizon, w, h / 20, water);
        const int pad = horizon + h / 6;
        canvas.fillRect(w / 2 - w / 8, pad - h / 2, w / 14, h / 2, orange);
        for (int y = pad - h / 2; y < pad; y += 6)
            canvas.line(w / 2.0 - w / 8.0, y, w / 2.0 - w / 8.0 + w / 14.0, y + 6, black);
        canvas.fillRect(w / 2, pad - h * 2 / 5, w / 16, h * 2 / 5, orange);
        canvas.fillRect(w / 2 + w / 16, pad - h * 3 / 10, w / 28, h * 3 / 10, white);
        canvas.fillRect(w / 2 - w / 60, pad - h * 3 / 10, w / 60, h * 3 / 10, white);
        canvas.fillRect(0, pad, w, h - pad, road);
        break;
    }
    }

    // The camera's caption strip.
    canvas.fillRect(0, h - 12, w, 12, black);
    canvas.text(3, h - 10, image.label, white);
    const std::string stamp = when.clock(0, image.utcOffset, true);
    canvas.text(w - 3 - PixelCanvas::textWidth(stamp), h - 10, stamp, white);
    (void)kPi;
    return {std::move(canvas)};
}

std::vector<PixelCanvas> population(const ServedImage& image, const PictureHour& when)
{
    PixelCanvas canvas(image.width, image.height);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t black = canvas.addColour({0, 0, 0});
    const std::uint8_t navy = canvas.addColour({0, 0, 128});
    const std::uint8_t grey = canvas.addColour({180, 180, 180});
    canvas.fill(white);
    // Counted from 1 January 2005: the world then grew by about 2.4 people a second and the
    // United States by one person every 13 seconds.
    const double seconds = double(when.hour * 3600 - 1104537600LL);
    const long long count =
        image.variant == 0 ? std::max(0LL, static_cast<long long>(6440000000.0 + seconds * 2.4))
                           : std::max(0LL, static_cast<long long>(294500000.0 + seconds / 13.0));
    const std::string number = withCommas(count);
    canvas.frameRect(0, 0, image.width, image.height, grey);
    canvas.frameRect(3, 3, image.width - 6, image.height - 6, navy);
    const std::string title = image.label + " CLOCK";
    canvas.text((image.width - PixelCanvas::textWidth(title, 2)) / 2, 14, title, navy, 2);
    const int scale = PixelCanvas::textWidth(number, 4) < image.width - 20 ? 4 : 3;
    canvas.text((image.width - PixelCanvas::textWidth(number, scale)) / 2, 50, number, black,
                scale);
    const std::string stamp = "AS OF " + when.clock(0, 0, true) + " - U.S. CENSUS BUREAU";
    canvas.text((image.width - PixelCanvas::textWidth(stamp)) / 2, image.height - 22, stamp, black);
    return {std::move(canvas)};
}

std::vector<PixelCanvas> chart(const ServedImage& image, const PictureHour& when)
{
    const int w = image.width;
    const int h = image.height;
    PixelCanvas canvas(w, h);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t black = canvas.addColour({0, 0, 0});
    const std::uint8_t grid = canvas.addColour({210, 210, 210});
    const std::uint8_t series[3] = {canvas.addColour({200, 0, 0}), canvas.addColour({0, 70, 200}),
                                    canvas.addColour({0, 150, 0})};
    const std::uint8_t title = canvas.addColour({0, 60, 20});
    canvas.fill(white);
    artgen::Rng rng(mixHash(when.seed, std::uint64_t(image.index)));
    canvas.text((w - PixelCanvas::textWidth(image.label, 2)) / 2, 8, image.label, title, 2);
    const std::string source = "USDA - NATIONAL AGRICULTURAL STATISTICS SERVICE";
    canvas.text((w - PixelCanvas::textWidth(source)) / 2, h - 12, source, black);
    const int left = 56;
    const int right = w - 20;
    const int top = 40;
    const int bottom = h - 60;

    if (image.look == ImageLook::Timetable) {
        static const char* kMonths[] = {"J", "F", "M", "A", "M", "J", "J", "A", "S", "O", "N", "D"};
        static const char* kCrops[4][5] = {
            {"CONDITION", "PROGRESS", "FIELDWORK", "SOIL", "PASTURE"},
            {"SOYBEANS", "RICE", "S-WHEAT", "FLAXSEED", "DRY BEANS"},
            {"CORN", "COTTON", "SORGHUM", "SUNFLOWER", "SILAGE"},
            {"PEANUTS", "BARLEY", "OATS", "W-WHEAT", "RYE"}};
        const auto& crops = kCrops[std::clamp(image.variant - 6, 0, 3)];
        const int columnWidth = (right - left - 40) / 12;
        const int x0 = left + 40;
        for (int m = 0; m < 12; ++m) {
            canvas.text(x0 + m * columnWidth + columnWidth / 2 - 2, top, kMonths[m], black);
            canvas.fillRect(x0 + m * columnWidth, top + 10, 1, bottom - top - 10, grid);
        }
        const int rowHeight = (bottom - top - 14) / 5;
        for (int r = 0; r < 5; ++r) {
            const int y = top + 14 + r * rowHeight;
            canvas.text(8, y + rowHeight / 2 - 3, crops[r], black);
            canvas.fillRect(x0, y, columnWidth * 12, 1, grid);
            const int plant = rng.between(1, 5);
            const int harvest = rng.between(7, 10);
            canvas.fillRect(x0 + plant * columnWidth, y + rowHeight / 4,
                            columnWidth * rng.between(1, 3), rowHeight / 4, series[2]);
            canvas.fillRect(x0 + harvest * columnWidth, y + rowHeight / 2,
                            columnWidth * rng.between(1, 2), rowHeight / 4, series[0]);
        }
        canvas.text(left, bottom + 12, "GREEN: PLANTING   RED: HARVEST", black);
        return {std::move(canvas)};
    }

    canvas.line(left, top, left, bottom, black);
    canvas.line(left, bottom, right, bottom, black);
    for (int i = 0; i <= 5; ++i) {
        const int y = bottom - (bottom - top) * i / 5;
        canvas.fillRect(left + 1, y, right - left - 1, 1, grid);
        const std::string value = std::to_string(i * 20);
        canvas.text(left - 6 - PixelCanvas::textWidth(value), y - 3, value, black);
    }
    if (image.look == ImageLook::ProgressChart) {
        static const char* kLabels[] = {"THIS YEAR", "LAST YEAR", "5-YEAR AVG"};
        const int weeks = 12;
        for (int week = 0; week < weeks; ++week) {
            const int x = left + (right - left) * week / (weeks - 1);
            canvas.text(x - 6, bottom + 6, std::to_string(week + 1), black);
        }
        canvas.text(left, bottom + 18, "WEEK OF SEASON", black);
        for (int s = 0; s < 3; ++s) {
            const double middle = rng.uniform(4, 8);
            std::vector<QPointF> points;
            for (int week = 0; week < weeks; ++week) {
                const double share = 100.0 / (1.0 + std::exp(-(week - middle) * 0.9));
                points.emplace_back(left + double(right - left) * week / (weeks - 1),
                                    bottom - (bottom - top) * share / 100.0);
            }
            canvas.polyline(points, series[s], s == 0 ? 3 : 2);
            // Top left, where every curve is still near zero.
            canvas.fillRect(left + 10, top + 6 + s * 12, 10, 7, series[s]);
            canvas.text(left + 26, top + 6 + s * 12, kLabels[s], black);
        }
        canvas.text(6, top - 12, "PERCENT", black);
        return {std::move(canvas)};
    }
    // Bars: two series side by side per year (or size class).
    const int groups = 10;
    const int groupWidth = (right - left) / groups;
    for (int g = 0; g < groups; ++g) {
        const std::string label =
            image.variant == 1 ? std::to_string((g + 1) * 50) : std::to_string(1995 + g).substr(2);
        canvas.text(left + g * groupWidth + groupWidth / 2 - 6, bottom + 6, label, black);
        for (int s = 0; s < 2; ++s) {
            const int value = rng.between(25, 95);
            const int barHeight = (bottom - top) * value / 100;
            canvas.fillRect(left + g * groupWidth + 4 + s * (groupWidth - 8) / 2,
                            bottom - barHeight, (groupWidth - 8) / 2 - 1, barHeight, series[s]);
        }
    }
    const char* names[3][2] = {{"FARMS", "WORKERS"}, {"OPERATIONS", "HEAD"}, {"FARM", "NON-FARM"}};
    const auto& legend = names[std::clamp(image.variant, 0, 2)];
    for (int s = 0; s < 2; ++s) {
        // Above the plot, clear of the bars.
        canvas.fillRect(right - 200 + s * 100, top - 12, 10, 7, series[s]);
        canvas.text(right - 184 + s * 100, top - 12, legend[s], black);
    }
    return {std::move(canvas)};
}

} // namespace cirrolux::servicesim::painters
