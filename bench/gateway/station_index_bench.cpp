// How long the gateway takes to index the correlation tables it starts with, against the floor of
// decompressing the same four files and splitting them into lines. Reads the installed
// weather-util-data (or the directory in CIRROLUX_WEATHER_UTIL_DIR). The resident set counters
// are the process's own after the first load and its peak.
#include "gateway/GzipLines.h"
#include "gateway/StationIndex.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace cirrolux::gateway;

QString dataDir()
{
    const char* dir = std::getenv("CIRROLUX_WEATHER_UTIL_DIR");
    return dir != nullptr ? QString::fromLocal8Bit(dir) : QStringLiteral("/usr/share/weather-util");
}

// "VmRSS:   12345 kB" of /proc/self/status, in MB.
double statusMegabytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').front().toDouble() /
                   1024.0;
    }
    return 0;
}

bool haveData(benchmark::State& state)
{
    if (QFile::exists(dataDir() + QStringLiteral("/stations.gz")))
        return true;
    state.SkipWithError("weather-util-data is not installed");
    return false;
}

void BM_LoadStationIndex(benchmark::State& state)
{
    if (!haveData(state))
        return;
    const double before = statusMegabytes("VmRSS:");
    std::size_t entries = 0;
    for (auto _ : state) {
        StationIndex index = StationIndex::load(dataDir());
        entries = index.stationCount() + index.placeCount() + index.zipCount();
        if (state.iterations() == 0) {
            state.counters["rss_with_index_MB"] = statusMegabytes("VmRSS:");
            state.counters["index_MB"] = statusMegabytes("VmRSS:") - before;
        }
        benchmark::DoNotOptimize(index);
    }
    state.counters["entries"] = double(entries);
    state.counters["peak_rss_MB"] = statusMegabytes("VmHWM:");
}

void BM_DecompressTablesOnly(benchmark::State& state)
{
    if (!haveData(state))
        return;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const char* table : {"stations.gz", "places.gz", "zctas.gz", "zones.gz"})
            forEachGzipLine(dataDir() + QLatin1Char('/') + QLatin1String(table),
                            [&bytes](std::string_view line) { bytes += line.size() + 1; });
    }
    state.counters["MB_per_round"] = double(bytes) / double(state.iterations()) / (1024.0 * 1024.0);
}

} // namespace

BENCHMARK(BM_LoadStationIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecompressTablesOnly)->Unit(benchmark::kMillisecond);
