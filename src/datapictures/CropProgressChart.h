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

// Where the chart's 0..100 % scale lies: a bar of p % runs from x = kCropScaleLeft for
// p * kCropScaleWidth / 100 pixels, so a bar's length reads as its share.
inline constexpr int kCropScaleLeft = 112;
inline constexpr int kCropScaleWidth = 300;

// The chart (600 x 450) of one table of the weekly Crop Progress report in its text form, the
// table found by its title ("Corn Harvested - Selected States: Week Ending ..."): a bar for each
// state's percentage this week with a marker at its five-year average, the states' total row
// set apart, the figures of this week, last week, last year and the average beside the bars
// (columns told apart by the names in the table's heading), captioned with the week, the release
// and the time of drawing. A figure that is no percentage ("-", "(NA)", "(D)") draws no bar and
// reads "NA". Throws ConversionError with the reason when the text has no such table, the table
// has no state rows or its heading names no columns.
drawing::PixelCanvas CropProgressChart(std::string_view cropProgressText, std::string_view table,
                                       const QDateTime& drawnAt);

} // namespace cirrolux::datapictures
