// Arbitrary bytes as a BLS QCEW annual CSV slice.
#include "LiveReportFuzz.h"
#include "livereports/SalaryRankings.h"

using namespace cirrolux;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    fuzzing::checkForecastPage(input, livereports::SalaryRankingsPage(input), true);
    return 0;
}
