#pragma once

#include "drawing/PixelCanvas.h"

#include <QDateTime>

#include <string_view>
#include <vector>

namespace cirrolux::datapictures {

struct Quake
{
    double lon = 0;
    double lat = 0;
    double magnitude = 0;
    QDateTime time; // UTC
};

// The earthquakes of a USGS real-time feed, in its GeoJSON form (a FeatureCollection whose
// features carry properties.mag, properties.time in milliseconds since 1970 and
// geometry.coordinates [lon, lat, depth]) or its CSV form (time, latitude, longitude, depth, mag,
// ... with a header row). Events that are not earthquakes (quarry blasts, explosions) are left
// out. Throws ConversionError for a file that is neither.
std::vector<Quake> QuakesOfFeed(std::string_view feed);

// The earthquakes in and around the lower 48 states on a white map, each a dot sized by
// magnitude and coloured by age, with a legend and a caption naming the feed and the time.
drawing::PixelCanvas QuakeMap(const std::vector<Quake>& quakes, const QDateTime& drawnAt,
                              std::string_view feedTitle);

} // namespace cirrolux::datapictures
