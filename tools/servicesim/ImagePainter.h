#pragma once

#include "ImageCatalogue.h"
#include "drawing/PixelCanvas.h"

#include <QDateTime>

#include <cstdint>
#include <string>
#include <vector>

namespace cirrolux::servicesim {

using drawing::PixelCanvas;

// The hour a picture shows: pictures change on the hour, like the conditions pages.
struct PictureHour
{
    std::int64_t hour = 0;  // hours since 1970, UTC
    std::uint64_t seed = 0; // drawn from the picture's path and the hour

    QDateTime start() const;
    // "hh:mm UTC", or "MM/dd/yy hh:mm" shifted by `offsetHours` (local clock of a camera).
    std::string clock(double hoursLater = 0, int offsetHours = 0, bool withDate = false) const;
};

// Draws the frames of a served picture (one for a still picture). The same picture and hour
// always give the same pixels.
class ImagePainter
{
public:
    static std::vector<PixelCanvas> paint(const ServedImage& image, const PictureHour& when);

    // A small "image not available" picture, as a server shows while its mosaic is rebuilt;
    // `textured` lays a faint checker behind the text (which JPEG does not compress well).
    static PixelCanvas notAvailable(int width, int height, const std::string& label,
                                    bool textured = true);
};

// The painters, by family (WeatherPictures.cpp and ScenePictures.cpp).
namespace painters {
std::vector<PixelCanvas> radarComposite(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> radarLoop(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> satellite(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> fullDisk(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> surfaceMap(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> colourBands(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> seasonalPage(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> seismic(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> lightning(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> camera(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> population(const ServedImage& image, const PictureHour& when);
std::vector<PixelCanvas> chart(const ServedImage& image, const PictureHour& when);
} // namespace painters

} // namespace cirrolux::servicesim
