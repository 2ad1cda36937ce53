// Feeds arbitrary bytes to the observation reader, as a bare report and as a NOAA station file,
// and writes the live conditions page from whatever decodes. A crash, an out-of-bounds read,
// undefined behaviour or a broken invariant is a finding.
#include "gateway/LiveConditions.h"
#include "gateway/MetarReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace cirrolux::gateway;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkInvariants(const Metar& metar)
{
    check(metar.station.size() == 4);
    if (const auto rh = metar.relativeHumidity())
        check(*rh >= 1 && *rh <= 100);
    if (metar.wind) {
        check(metar.wind->speedKt >= 0 && metar.wind->speedKt <= 250);
        if (metar.wind->directionDeg)
            check(*metar.wind->directionDeg >= 0 && *metar.wind->directionDeg <= 360);
    }
    if (metar.visibilityMetres)
        check(*metar.visibilityMetres >= 0);
    check(!metar.skyText().empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto metar = MetarReader::read(text))
        checkInvariants(*metar);
    const auto report = MetarReader::readStationFile(text);
    if (!report)
        return 0;
    checkInvariants(report->metar);

    static const StationIndex index;
    static const LiveConditions live(index, {});
    LiveRequest request;
    request.place.title = "Boston, Massachusetts";
    request.place.observed = "Boston, MA";
    request.region = "MA";
    request.station = Station{"KBOS", "Boston Logan International, MA, United States", 42.3665,
                              -71.016, "maz015"};
    const std::string page = live.page(request, text, report->observedUtc.addSecs(600));
    check(page.find("Underground: Boston, Massachusetts Weather Forecast</title>") !=
          std::string::npos);
    return 0;
}
