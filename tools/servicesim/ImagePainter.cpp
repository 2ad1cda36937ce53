#include "ImagePainter.h"

#include <QTimeZone>

#include <cmath>

namespace cirrolux::servicesim {

using drawing::PixelCanvas;

QDateTime PictureHour::start() const
{
    return QDateTime::fromSecsSinceEpoch(hour * 3600, QTimeZone::utc());
}

std::string PictureHour::clock(double hoursLater, int offsetHours, bool withDate) const
{
    const QDateTime at =
        start().addSecs(static_cast<qint64>(std::lround((hoursLater + offsetHours) * 3600)));
    const QString format = withDate ? QStringLiteral("MM/dd/yy hh:mm") : QStringLiteral("hh:mm");
    std::string text = at.toString(format).toStdString();
    if (offsetHours == 0)
        text += " UTC";
    return text;
}

std::vector<PixelCanvas> ImagePainter::paint(const ServedImage& image, const PictureHour& when)
{
    switch (image.look) {
    case ImageLook::RadarComposite:
        return painters::radarComposite(image, when);
    case ImageLook::RadarLoop:
        return painters::radarLoop(image, when);
    case ImageLook::SatelliteLoop:
    case ImageLook::Satellite:
    case ImageLook::EnhancedSatellite:
    case ImageLook::SatelliteRadar:
        return painters::satellite(image, when);
    case ImageLook::FullDisk:
        return painters::fullDisk(image, when);
    case ImageLook::Fronts:
    case ImageLook::StationPlot:
    case ImageLook::TemperatureContour:
        return painters::surfaceMap(image, when);
    case ImageLook::ColourBands:
        return painters::colourBands(image, when);
    case ImageLook::SeasonalPage:
        return painters::seasonalPage(image, when);
    case ImageLook::Seismic:
        return painters::seismic(image, when);
    case ImageLook::Lightning:
        return painters::lightning(image, when);
    case ImageLook::Camera:
        return painters::camera(image, when);
    case ImageLook::Population:
        return painters::population(image, when);
    case ImageLook::ProgressChart:
    case ImageLook::Timetable:
    case ImageLook::BarChart:
        return painters::chart(image, when);
    }
    return {notAvailable(image.width, image.height, image.label)};
}

PixelCanvas ImagePainter::notAvailable(int width, int height, const std::string& label,
                                       bool textured)
{
    PixelCanvas canvas(width, height);
    const std::uint8_t back = canvas.addColour({0, 0, 0});
    const std::uint8_t grey = canvas.addColour({90, 90, 90});
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    canvas.fill(back);
    // A faint checker keeps the picture from compressing to almost nothing.
    for (int y = 0; textured && y < height; ++y)
        for (int x = (y / 4) % 2 * 4; x < width; x += 8)
            canvas.fillRect(x, y, 4, 1, grey);
    canvas.fillRect(8, height / 2 - 22, width - 16, 44, back);
    const std::string first = "IMAGE NOT AVAILABLE";
    canvas.text((width - PixelCanvas::textWidth(first)) / 2, height / 2 - 16, first, white);
    canvas.text((width - PixelCanvas::textWidth(label)) / 2, height / 2 + 6, label, white);
    return canvas;
}

} // namespace cirrolux::servicesim
