#pragma once

#include <QPointF>

#include <vector>

namespace cirrolux::drawing {

// A closed outline as (longitude, latitude) points in degrees, east and north positive.
// Longitudes past 180 continue east across the date line.
using Ring = std::vector<QPointF>;

// Simplified coastlines of the continents and the larger islands, coarse enough for a map a
// couple of hundred pixels wide.
const std::vector<Ring>& LandOutlines();

// Inland seas cut out of the land afterwards (Black Sea, Caspian, Baltic, Hudson Bay, ...).
const std::vector<Ring>& InlandWaters();

} // namespace cirrolux::drawing
