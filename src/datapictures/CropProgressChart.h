#pragma once

#include "drawing/PixelCanvas.h"

#include <QDateTime>

#include <optional>
#include <string>
#include <string_view>

namespace cirrolux::datapictures {

// The crop and stage a chart request shows: "www.usda.gov/nass/graphics/crn_harv.gif" gives the
// Crop Progress table titled "Corn Harvested"; nothing for a request that is no crop chart.
std::optional<std::string> CropChartTable(std::string_view request);

// The address of the release's text file in ESMIS's answer for the latest Crop Progress release
// (JSON); empty when it names none on ESMIS's file server.
std::string CropProgressTextAddress(std::string_view releaseJson);

// The chart of one table of the weekly Crop Progress report (its text form): every state's
// percentage this week against last week, last year and the five-year average, captioned with
// the week, the release and the source. Throws ConversionError when the text has no such table.
drawing::PixelCanvas CropProgressChart(std::string_view cropProgressText, std::string_view table,
                                       const QDateTime& drawnAt);

} // namespace cirrolux::datapictures
