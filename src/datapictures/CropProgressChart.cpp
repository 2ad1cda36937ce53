#include "datapictures/CropProgressChart.h"

#include "imageconvert/ConversionError.h"

namespace cirrolux::datapictures {

// Being written on its own branch; until then the crop charts keep the honest failure.
std::optional<std::string> CropChartTable(std::string_view)
{
    return std::nullopt;
}

std::string CropProgressTextAddress(std::string_view)
{
    return {};
}

drawing::PixelCanvas CropProgressChart(std::string_view, std::string_view, const QDateTime&)
{
    throw ConversionError("crop charts are not drawn yet");
}

} // namespace cirrolux::datapictures
