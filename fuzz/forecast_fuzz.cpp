// Feeds arbitrary bytes to the forecast window's text reductions as a report page: the strip,
// the table cut, the earthquake cut, the warning text and the county section (the county is
// taken from the first bytes). A crash, an out-of-bounds read, undefined behaviour or a broken
// invariant is a finding.
#include "forecast/ReportText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t countyLength = size == 0 ? 0 : std::size_t(data[0] % 8);
    const std::string_view county = input.substr(size == 0 ? 0 : 1, countyLength);
    const std::string_view page = input.substr(std::min(size, countyLength + 1));

    const std::string stripped = StripReportHtml(page);
    require(stripped.size() <= page.size());
    require(stripped.find('<') == std::string::npos); // every "<" starts a tag
    require(stripped.empty() || (!isTrimmed(stripped.front()) && !isTrimmed(stripped.back())));

    const std::string table = parse_text(stripped);
    require(table.size() <= 2 * stripped.size());
    require(table.find("http://") == std::string::npos);
    const std::string cut = EarthquakeCut(table);
    // The explanation part may overlap the middle one, so the cut is at most twice as long.
    require(cut.size() <= 2 * table.size());

    const std::string warning = parse_warning_html(stripped, county);
    require(warning.ends_with("\r\n--- End of File --"));

    for (const CountyKind kind : {CountyKind::Forecast, CountyKind::Nowcast}) {
        const CountySection section = ExtractCountySection(stripped, county, kind, "MA");
        require(section.section.size() <= stripped.size());
        require(stripped.find(section.section) != std::string::npos);
        require(section.countyUsed == (county.size() >= 2));
        require(!section.found || section.countyUsed);
        if (section.found) {
            // From one character before the county up to the first "$$" from there on.
            const std::size_t p = stripped.find(section.countyName);
            const std::size_t start = p == 0 ? 0 : p - 1;
            const std::size_t after = start + section.section.size();
            require(stripped.compare(start, section.section.size(), section.section) == 0);
            require(section.section.find("$$") == std::string::npos);
            require(after == stripped.size() || stripped.compare(after, 2, "$$") == 0);
        }
        require(section.found || section.section == stripped);
        require(section.title.starts_with("Cirrolux - Text "));
        require(section.title.ends_with("MA"));
    }
    return 0;
}
