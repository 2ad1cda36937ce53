#include "datapictures/QuakeMap.h"

#include "drawing/GeoMap.h"
#include "imageconvert/ConversionError.h"
#include "livereports/JsonTree.h"
#include "livereports/PageText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace cirrolux::datapictures {

namespace {

using drawing::GeoBox;
using drawing::MapView;
using drawing::PixelCanvas;
using drawing::Rgb;
using livereports::JsonValue;

// A feed of a month of every magnitude holds about 10,000 events; more is not a feed.
constexpr std::size_t kMaxQuakes = 50000;

std::optional<double> number(std::string_view text)
{
    text = livereports::Trimmed(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A quake kept only when every figure is a place on earth and a magnitude seismographs give.
std::optional<Quake> checked(double lon, double lat, double magnitude, QDateTime time)
{
    if (lon < -180 || lon > 180 || lat < -90 || lat > 90 || magnitude < -3 || magnitude > 10 ||
        !time.isValid())
        return std::nullopt;
    return Quake{lon, lat, magnitude, std::move(time)};
}

std::vector<Quake> quakesOfGeoJson(std::string_view text)
{
    const std::optional<JsonValue> json = livereports::ParseJson(text);
    const JsonValue* features = json ? json->member("features") : nullptr;
    if (!features || !features->isArray())
        throw ConversionError("the earthquake feed is not a GeoJSON feature collection");
    std::vector<Quake> quakes;
    for (const JsonValue& feature : features->items) {
        const JsonValue* properties = feature.member("properties");
        const JsonValue* geometry = feature.member("geometry");
        const JsonValue* coordinates = geometry ? geometry->member("coordinates") : nullptr;
        if (!properties || !coordinates || !coordinates->isArray() ||
            coordinates->items.size() < 2)
            continue;
        if (const JsonValue* type = properties->member("type");
            type && type->isString() && type->text != "earthquake")
            continue;
        const std::optional<double> magnitude = livereports::JsonNumber(properties->member("mag"));
        const std::optional<double> millis = livereports::JsonNumber(properties->member("time"));
        const std::optional<double> lon = livereports::JsonNumber(&coordinates->items[0]);
        const std::optional<double> lat = livereports::JsonNumber(&coordinates->items[1]);
        if (!magnitude || !millis || !lon || !lat || std::abs(*millis) > 1e14)
            continue;
        if (std::optional<Quake> quake =
                checked(*lon, *lat, *magnitude,
                        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(*millis), Qt::UTC)))
            quakes.push_back(std::move(*quake));
        if (quakes.size() >= kMaxQuakes)
            break;
    }
    return quakes;
}

std::vector<Quake> quakesOfCsv(std::string_view text)
{
    const std::vector<std::vector<std::string>> records = livereports::CsvRecords(text);
    if (records.empty())
        throw ConversionError("the earthquake feed is empty");
    const std::vector<std::string>& header = records.front();
    const auto column = [&header](std::string_view name) -> std::optional<std::size_t> {
        const auto at = std::find(header.begin(), header.end(), name);
        return at == header.end() ? std::nullopt
                                  : std::optional<std::size_t>(std::size_t(at - header.begin()));
    };
    const auto time = column("time"), lat = column("latitude"), lon = column("longitude"),
               mag = column("mag"), type = column("type");
    if (!time || !lat || !lon || !mag)
        throw ConversionError("the earthquake feed has no time, latitude, longitude and mag columns");
    std::vector<Quake> quakes;
    for (std::size_t i = 1; i < records.size() && quakes.size() < kMaxQuakes; ++i) {
        const std::vector<std::string>& fields = records[i];
        const std::size_t needed = std::max({*time, *lat, *lon, *mag}) + 1;
        if (fields.size() < needed || (type && *type < fields.size() && !fields[*type].empty() &&
                                       fields[*type] != "earthquake"))
            continue;
        const std::optional<double> la = number(fields[*lat]), lo = number(fields[*lon]),
                                    m = number(fields[*mag]);
        QDateTime when = QDateTime::fromString(QString::fromStdString(fields[*time]), Qt::ISODateWithMs);
        if (!la || !lo || !m)
            continue;
        if (std::optional<Quake> quake = checked(*lo, *la, *m, when.toUTC()))
            quakes.push_back(std::move(*quake));
    }
    return quakes;
}

int dotRadius(double magnitude)
{
    return std::clamp(static_cast<int>(std::lround((magnitude - 1.0) * 1.5)), 2, 12);
}

} // namespace

std::vector<Quake> QuakesOfFeed(std::string_view feed)
{
    const std::string_view text = livereports::Trimmed(feed);
    if (text.starts_with('{'))
        return quakesOfGeoJson(text);
    if (text.starts_with("time,"))
        return quakesOfCsv(text);
    throw ConversionError("the earthquake feed is neither GeoJSON nor CSV");
}

PixelCanvas QuakeMap(const std::vector<Quake>& quakes, const QDateTime& drawnAt,
                     std::string_view feedTitle)
{
    constexpr int kWidth = 640;
    constexpr int kHeight = 400;
    constexpr int kMapTop = 24;
    constexpr int kMapHeight = 300; // 64 by 30 degrees at 10 pixels a degree
    PixelCanvas canvas(kWidth, kHeight);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t ink = canvas.addColour({0, 0, 0});
    const std::uint8_t land = canvas.addColour({236, 232, 220});
    const std::uint8_t coast = canvas.addColour({120, 130, 140});
    const std::uint8_t border = canvas.addColour({170, 150, 150});
    const std::uint8_t city = canvas.addColour({90, 90, 90});
    // Newest first: the last hour, day, week, and anything older.
    const std::uint8_t ages[] = {canvas.addColour({220, 0, 0}), canvas.addColour({255, 140, 0}),
                                 canvas.addColour({240, 210, 0}), canvas.addColour({60, 110, 200})};
    canvas.fill(white);

    const MapView view(GeoBox{-128, -64, 22, 52}, 0, kMapTop, kWidth, kMapHeight);
    view.drawLand(canvas, land, white);
    view.drawCoasts(canvas, coast);
    view.drawUsDetail(canvas, border, city, true);
    canvas.frameRect(0, kMapTop, kWidth, kMapHeight, ink);

    std::vector<const Quake*> order;
    for (const Quake& quake : quakes)
        order.push_back(&quake);
    // The oldest are drawn first so that the newest stay on top.
    std::stable_sort(order.begin(), order.end(),
                     [](const Quake* a, const Quake* b) { return a->time < b->time; });
    const auto ageOf = [&drawnAt](const QDateTime& time) {
        const qint64 seconds = time.secsTo(drawnAt);
        return seconds < 3600 ? 0 : seconds < 86400 ? 1 : seconds < 7 * 86400 ? 2 : 3;
    };
    int shown = 0;
    double largest = -10;
    canvas.setClip(1, kMapTop + 1, kWidth - 2, kMapHeight - 2);
    for (const Quake* quake : order) {
        const QPointF at = view.toPixel(quake->lon, quake->lat);
        if (at.x() < 0 || at.x() >= kWidth || at.y() < kMapTop || at.y() >= kMapTop + kMapHeight)
            continue;
        ++shown;
        largest = std::max(largest, quake->magnitude);
        const int radius = dotRadius(quake->magnitude);
        canvas.fillCircle(at.x(), at.y(), radius, ages[ageOf(quake->time)]);
        canvas.circle(at.x(), at.y(), radius, ink);
    }
    canvas.clearClip();

    canvas.text(6, 6, "U.S. EARTHQUAKES", ink, 2);
    const std::string count = std::to_string(shown) + (shown == 1 ? " EVENT" : " EVENTS") +
                              (shown > 0 ? ", LARGEST M" + QString::number(largest, 'f', 1).toStdString() : "");
    canvas.text(kWidth - 6 - PixelCanvas::textWidth(count), 10, count, ink);

    // Legend: colour by age, size by magnitude.
    int x = 6;
    const int legendY = kMapTop + kMapHeight + 10;
    const char* ageNames[] = {"PAST HOUR", "PAST DAY", "PAST WEEK", "OLDER"};
    for (int i = 0; i < 4; ++i) {
        canvas.fillCircle(x + 4, legendY + 3, 4, ages[i]);
        canvas.circle(x + 4, legendY + 3, 4, ink);
        x = canvas.text(x + 12, legendY, ageNames[i], ink) + 12;
    }
    x += 12;
    for (const int magnitude : {3, 5, 7}) {
        const int radius = dotRadius(magnitude);
        canvas.circle(x + radius, legendY + 3, radius, ink);
        x = canvas.text(x + 2 * radius + 4, legendY, "M" + std::to_string(magnitude), ink) + 10;
    }
    // The pixel font draws lower case as upper case.
    canvas.text(6, legendY + 22, feedTitle, ink);
    const std::string credit = "U.S. GEOLOGICAL SURVEY EARTHQUAKE FEED, DRAWN " +
                               drawnAt.toUTC().toString(QStringLiteral("dd MMM yyyy HH:mm 'UTC'")).toStdString();
    canvas.text(6, legendY + 38, credit, ink);
    return canvas;
}

} // namespace cirrolux::datapictures
