// Arbitrary bytes as the EPA Green Book's nonattainment page.
#include "LiveReportFuzz.h"
#include "livereports/AirQualityReport.h"

using namespace cirrolux;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    fuzzing::checkForecastPage(input, livereports::AirQualityPage(input), false);
    return 0;
}
