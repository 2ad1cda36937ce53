// Arbitrary bytes as an NWS text product (raw bulletin or product page) of one or two offices.
#include "LiveReportFuzz.h"
#include "livereports/NwsTextReport.h"

#include <vector>

using namespace cirrolux;
using namespace cirrolux::livereports;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    const std::size_t half = input.size() / 2;
    const std::vector<NwsProduct> products{{"BOX", std::string(input.substr(0, half))},
                                           {"ALY", std::string(input.substr(half))}};
    for (const char* mode : {"p", "h"})
        fuzzing::checkForecastPage(input, NwsStatePage(mode, *FindStateByCode("MA"), products),
                                   false);
    return 0;
}
