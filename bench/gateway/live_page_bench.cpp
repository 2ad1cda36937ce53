// What a fresh live conditions page costs: resolving the request (a US city by hash lookup as the
// baseline, a foreign station by matching descriptions) and writing the page from a station file
// (decoding, sun and moon times) against the page layout alone with the same readings.
#include "gateway/LiveConditions.h"
#include "pagelayout/ConditionsPageBuilder.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>

namespace {

using namespace cirrolux::gateway;

constexpr std::string_view kStationFile =
    "2026/12/09 18:54\nKBOS 091854Z 28012G25KT 10SM FEW045 SCT250 M05/M12 A3012 RMK AO2\n";

const StationIndex* realIndex()
{
    static const std::optional<StationIndex> index = []() -> std::optional<StationIndex> {
        const char* dir = std::getenv("CIRROLUX_WEATHER_UTIL_DIR");
        const QString path = dir != nullptr ? QString::fromLocal8Bit(dir)
                                            : QStringLiteral("/usr/share/weather-util");
        if (!QFile::exists(path + QStringLiteral("/stations.gz")))
            return std::nullopt;
        return StationIndex::load(path);
    }();
    return index ? &*index : nullptr;
}

StationNames londonOnly()
{
    return [](const std::string& number) -> std::optional<std::pair<std::string, std::string>> {
        if (number == "03772")
            return std::make_pair(std::string("London"), std::string("United Kingdom"));
        return std::nullopt;
    };
}

void resolve(benchmark::State& state, std::string_view address)
{
    const StationIndex* index = realIndex();
    if (index == nullptr) {
        state.SkipWithError("weather-util-data is not installed");
        return;
    }
    const LiveConditions live(*index, londonOnly());
    for (auto _ : state)
        benchmark::DoNotOptimize(live.resolve(address));
}

void BM_ResolveUsCity(benchmark::State& state)
{
    resolve(state, "/US/MA/Boston.html");
}

void BM_ResolveForeignStation(benchmark::State& state)
{
    resolve(state, "/global/stations/03772.html");
}

LiveRequest bostonRequest()
{
    LiveRequest request;
    request.place.title = "Boston, Massachusetts";
    request.place.observed = "Boston, MA";
    request.place.breadcrumb = "Massachusetts";
    request.region = "MA";
    request.station = Station{"KBOS", "Boston Logan International, MA, United States", 42.3665,
                              -71.016, "maz015"};
    return request;
}

void BM_WriteLivePage(benchmark::State& state)
{
    const StationIndex empty;
    const LiveConditions live(empty, {});
    const LiveRequest request = bostonRequest();
    const QDateTime now(QDate(2026, 12, 9), QTime(19, 0), Qt::UTC);
    for (auto _ : state)
        benchmark::DoNotOptimize(live.page(request, kStationFile, now));
}

void BM_PageLayoutOnly(benchmark::State& state)
{
    const LiveRequest request = bostonRequest();
    cirrolux::Observation obs;
    obs.time = "1:54 PM EST";
    obs.date = "December 9, 2026";
    obs.temperatureF = 23;
    obs.temperatureC = -5;
    obs.humidity = 58;
    obs.windMph = 14;
    obs.wind = "W at 14 mph, gusting to 29 mph";
    obs.pressureIn = 30.12;
    obs.sky = "Scattered Clouds";
    obs.clouds = "Few 4500 ft, Scattered 25000 ft";
    obs.sunrise = "7:02 AM EST";
    obs.sunset = "4:11 PM EST";
    obs.moonRise = "7:54 AM EST";
    obs.moonSet = "4:22 PM EST";
    obs.moonPhase = "New Moon";
    for (auto _ : state)
        benchmark::DoNotOptimize(cirrolux::ConditionsPageBuilder::page(request.place, obs));
}

} // namespace

BENCHMARK(BM_ResolveUsCity)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResolveForeignStation)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteLivePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageLayoutOnly)->Unit(benchmark::kMicrosecond);
