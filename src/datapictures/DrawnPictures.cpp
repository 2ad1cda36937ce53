#include "datapictures/DrawnPictures.h"

#include "datapictures/CropProgressChart.h"
#include "datapictures/PopulationClock.h"
#include "datapictures/QuakeMap.h"
#include "imageconvert/ConversionError.h"
#include "imageconvert/GifEncoder.h"

#include <string>

namespace cirrolux::datapictures {

namespace {

std::string_view viewOf(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// What the feed an address names holds, for the map's caption.
std::string quakeFeedTitle(const QString& source)
{
    const QString name = source.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    const QString magnitude = name.section(QLatin1Char('_'), 0, 0);
    const QString period = name.section(QLatin1Char('_'), 1, 1);
    QString title = magnitude == QLatin1String("all")           ? QStringLiteral("All magnitudes")
                    : magnitude == QLatin1String("significant") ? QStringLiteral("Significant")
                    : magnitude.isEmpty() ? QStringLiteral("Earthquakes")
                                          : QStringLiteral("M") + magnitude + QStringLiteral("+");
    if (!period.isEmpty())
        title += QStringLiteral(", past ") + period;
    return title.toStdString();
}

DrawStep finished(const drawing::PixelCanvas& canvas)
{
    return {GifOf(canvas), QSize(canvas.width(), canvas.height()), {}};
}

} // namespace

bool KnowsDrawnKind(std::string_view kind)
{
    return kind == "usgs-quakes-us" || kind == "popclock-world" || kind == "popclock-us" ||
           kind == "nass-crop-progress";
}

DrawStep DrawFromData(const DrawInput& input)
{
    const std::string_view body = viewOf(input.body);
    if (input.kind == "usgs-quakes-us")
        return finished(QuakeMap(QuakesOfFeed(body), input.now, quakeFeedTitle(input.source)));
    if (input.kind == "popclock-world" || input.kind == "popclock-us") {
        const bool world = input.kind == "popclock-world";
        return finished(PopulationClockPicture(PopulationOfClock(body, input.now),
                                               world ? "WORLD POPULATION" : "U.S. POPULATION"));
    }
    if (input.kind == "nass-crop-progress") {
        const std::optional<std::string> table = CropChartTable(input.request);
        if (!table)
            throw ConversionError("no crop chart is known for this address");
        if (input.stage == 0) {
            const std::string text = CropProgressTextAddress(body);
            if (text.empty())
                throw ConversionError("the release list names no text file");
            return {{}, {}, QString::fromStdString(text)};
        }
        return finished(CropProgressChart(body, *table, input.now));
    }
    throw ConversionError("no drawing is known for \"" + std::string(input.kind) + "\"");
}

QByteArray GifOf(const drawing::PixelCanvas& canvas)
{
    IndexedPicture picture;
    picture.width = canvas.width();
    picture.height = canvas.height();
    picture.pixels.reserve(static_cast<std::size_t>(canvas.width()) * canvas.height());
    for (int y = 0; y < canvas.height(); ++y)
        picture.pixels.insert(picture.pixels.end(), canvas.row(y), canvas.row(y) + canvas.width());
    std::vector<QRgb> palette;
    for (const drawing::Rgb& colour : canvas.palette())
        palette.push_back(qRgb(colour.r, colour.g, colour.b));
    return GifEncoder::still(picture, palette);
}

} // namespace cirrolux::datapictures
