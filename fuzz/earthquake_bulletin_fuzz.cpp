// Arbitrary bytes as a USGS CSV feed; a page with rows keeps the markers the window cuts on.
#include "LiveReportFuzz.h"
#include "livereports/EarthquakeBulletin.h"

using namespace cirrolux;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzzing::bytes(data, size);
    const std::string page = livereports::EarthquakeBulletinPage(
        input, QDateTime(QDate(2026, 12, 10), QTime(1, 0), Qt::UTC), "Past day", 50);
    fuzzing::checkForecastPage(input, page, true);
    if (page.find("Current Time:") != std::string::npos) {
        const std::string cut = EarthquakeCut(parse_text(StripReportHtml(page)));
        fuzzing::require(cut.starts_with("Current Time:"));
        fuzzing::require(cut.find("Explanation of earthquake") != std::string::npos);
    }
    return 0;
}
