// Arbitrary bytes as NASS's Crop Progress text, for a state with rows and one without.
#include "LiveReportFuzz.h"
#include "livereports/CropWeatherReport.h"
#include "livereports/StateTable.h"

using namespace cirrolux;
using namespace cirrolux::livereports;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    for (const char* code : {"IL", "NY", "AK"})
        fuzzing::checkForecastPage(
            input, CropWeatherPage(input, *FindStateByCode(code), QDate(2026, 5, 5)), true);
    return 0;
}
