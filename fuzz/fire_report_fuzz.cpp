// Arbitrary bytes as a PDF through poppler, and as report text, into the fire report page.
#include "LiveReportFuzz.h"
#include "livereports/FireReport.h"
#include "livereports/PdfText.h"

using namespace cirrolux;
using namespace cirrolux::livereports;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    if (const std::optional<std::string> text = PdfText(input))
        fuzzing::require(!FireReportPage(*text).empty());
    const std::string page = FireReportPage(input);
    // The report's text is escaped: nothing in it becomes markup, no image tag in particular.
    fuzzing::require(page.find("<img") == std::string::npos);
    return 0;
}
