#include "datapictures/PopulationClock.h"

#include "imageconvert/ConversionError.h"
#include "livereports/JsonTree.h"
#include "livereports/PageText.h"

#include <cmath>
#include <optional>
#include <string>

namespace cirrolux::datapictures {

namespace {

using drawing::PixelCanvas;
using livereports::JsonValue;

// The clock's figures, as numbers or numeric text.
std::optional<double> numberOf(const JsonValue* value)
{
    return livereports::JsonNumber(value, true);
}

// The first object, depth first, with a "population" figure: the feed wraps it in "world" or
// "us".
const JsonValue* clockObject(const JsonValue& value, int depth = 0)
{
    if (depth > 8)
        return nullptr;
    if (value.isObject() && numberOf(value.member("population")))
        return &value;
    for (const auto& [name, member] : value.members) {
        if (const JsonValue* found = clockObject(member, depth + 1))
            return found;
    }
    return nullptr;
}

double secondsOf(const JsonValue* interval)
{
    if (!interval || !interval->isString())
        return 0;
    const std::string& name = interval->text;
    return name == "second" ? 1 : name == "minute" ? 60 : name == "hour" ? 3600 : name == "day" ? 86400 : 0;
}

} // namespace

PopulationFigure PopulationOfClock(std::string_view json, const QDateTime& fetchedAt)
{
    const std::optional<JsonValue> tree = livereports::ParseJson(json);
    const JsonValue* clock = tree ? clockObject(*tree) : nullptr;
    if (!clock)
        throw ConversionError("the population clock gives no population figure");
    const double population = *numberOf(clock->member("population"));
    // More people than a hundred billion, or fewer than one, is no count of anyone.
    if (population < 1 || population > 1e11)
        throw ConversionError("the population clock's figure is out of range");

    PopulationFigure figure{static_cast<std::int64_t>(std::llround(population)), fetchedAt.toUTC()};
    // The clock publishes a base figure with the time it holds for and a rate; like the
    // clock on the Census Bureau's page, the figure is carried on to the time of fetching.
    const std::optional<double> rate = numberOf(clock->member("population_rate"));
    const double interval = secondsOf(clock->member("rate_interval"));
    std::optional<double> updated = numberOf(clock->member("last_updated"));
    if (updated && *updated > 1e11)
        updated = *updated / 1000; // milliseconds
    if (updated && *updated > 0 && *updated < 1e11) {
        const QDateTime base =
            QDateTime::fromSecsSinceEpoch(static_cast<qint64>(*updated), Qt::UTC);
        const qint64 elapsed = base.secsTo(fetchedAt);
        if (rate && interval > 0 && std::abs(*rate) < 1e6 && elapsed >= 0 && elapsed < 366 * 86400)
            figure.population += static_cast<std::int64_t>(std::llround(*rate * elapsed / interval));
        else
            figure.asOf = base;
    }
    return figure;
}

PixelCanvas PopulationClockPicture(const PopulationFigure& figure, std::string_view title)
{
    constexpr int kWidth = 480;
    constexpr int kHeight = 150;
    PixelCanvas canvas(kWidth, kHeight);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t ink = canvas.addColour({0, 0, 0});
    const std::uint8_t figureInk = canvas.addColour({0, 40, 120});
    const std::uint8_t rule = canvas.addColour({170, 170, 170});
    canvas.fill(white);

    const auto centred = [&canvas](int y, std::string_view text, std::uint8_t colour, int scale) {
        canvas.text((kWidth - PixelCanvas::textWidth(text, scale)) / 2, y, text, colour, scale);
    };
    centred(10, title, ink, 2);
    const std::string number = livereports::WithCommas(std::to_string(figure.population));
    const int scale = PixelCanvas::textWidth(number, 5) <= kWidth - 20 ? 5 : 4;
    centred(42, number, figureInk, scale);
    canvas.fillRect(20, 102, kWidth - 40, 1, rule);
    centred(110, "U.S. CENSUS BUREAU POPULATION CLOCK", ink, 1);
    centred(126,
            "ESTIMATE FOR " +
                figure.asOf.toUTC().toString(QStringLiteral("dd MMM yyyy HH:mm 'UTC'")).toStdString(),
            ink, 1);
    return canvas;
}

} // namespace cirrolux::datapictures
