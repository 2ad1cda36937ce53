// Arbitrary bytes as a Census Data API answer, for the state, zip and income pages.
#include "LiveReportFuzz.h"
#include "livereports/CensusReport.h"

using namespace cirrolux;
using namespace cirrolux::livereports;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    fuzzing::checkForecastPage(input, CensusDetailPage("s1", input, 2024), true);
    fuzzing::checkForecastPage(input, CensusDetailPage("s2", input, 2024), true);
    fuzzing::checkForecastPage(input, CensusIncomePage(input, 2024), true);
    return 0;
}
