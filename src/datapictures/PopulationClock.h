#pragma once

#include "drawing/PixelCanvas.h"

#include <QDateTime>

#include <cstdint>
#include <string_view>

namespace cirrolux::datapictures {

struct PopulationFigure
{
    std::int64_t population = 0;
    QDateTime asOf; // the clock's own date when the file gives one, else when it was fetched
};

// The figure of the Census Bureau's population clock feed (JSON with a "population" number, for
// the world or the United States). Throws ConversionError when the file holds no such number.
PopulationFigure PopulationOfClock(std::string_view json, const QDateTime& fetchedAt);

// The population as a number on a white plate, titled and captioned with the source and time.
drawing::PixelCanvas PopulationClockPicture(const PopulationFigure& figure, std::string_view title);

} // namespace cirrolux::datapictures
