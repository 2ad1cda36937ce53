// Throughput of TNMHTTP::Get for a 64 MB body against curl on the same loopback server in the
// same run, body to memory and to a file; and how late a 10 ms timer fires while Get runs.
#include "LoopbackBodyServer.h"
#include "net/TNMHTTP.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using cirrolux::TNMHTTP;
using cirrolux::bench::LoopbackBodyServer;

constexpr std::size_t BodyBytes = 64 * 1024 * 1024;

LoopbackBodyServer* server = nullptr;
QTemporaryDir* scratch = nullptr;
// Bytes per second of the last run of each benchmark, for the closing comparison.
std::map<std::string, double> throughput;
std::vector<double> lateness; // milliseconds

std::string scratchFile(const char* name)
{
    return scratch->filePath(QString::fromLatin1(name)).toStdString();
}

// One curl download; its own measure of the transfer, without process start-up.
double curlSeconds(const std::string& output)
{
    const std::string command =
        "curl -s -o '" + output + "' -w '%{time_total}' '" + server->url() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot start curl");
    char text[64] = {};
    const std::size_t got = std::fread(text, 1, sizeof text - 1, pipe);
    const int status = ::pclose(pipe);
    if (status != 0 || got == 0)
        throw std::runtime_error("curl failed: " + command);
    return std::stod(std::string(text, got));
}

void record(benchmark::State& state, const std::string& name, double seconds)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(BodyBytes));
    throughput[name] = double(state.iterations()) * double(BodyBytes) / seconds;
}

void curlTo(benchmark::State& state, const std::string& name, const std::string& output)
{
    double total = 0;
    for (auto _ : state) {
        const double seconds = curlSeconds(output);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    record(state, name, total);
}

void getTo(benchmark::State& state, const std::string& name, bool toFile)
{
    TNMHTTP http;
    http.ReportLevel = 0;
    http.InputFileMode = toFile;
    const std::string file = scratchFile("get.bin");
    double total = 0;
    for (auto _ : state) {
        if (toFile)
            http.Body = file;
        const auto start = std::chrono::steady_clock::now();
        try {
            http.Get(server->url());
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            break;
        }
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(seconds.count());
        total += seconds.count();
        if (!toFile && http.Body.size() != BodyBytes)
            state.SkipWithError("short body");
    }
    record(state, name, total);
}

// Repeats 64 MB transfers while a 10 ms single-shot timer re-arms itself; each firing notes
// how long after its due time it came.
void timerLatency(benchmark::State& state)
{
    TNMHTTP http;
    http.ReportLevel = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QElapsedTimer armed;
    std::vector<double> samples;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        samples.push_back(double(armed.nsecsElapsed()) / 1e6 - 10.0);
        armed.start();
        timer.start(10);
    });
    for (auto _ : state) {
        samples.clear();
        armed.start();
        timer.start(10);
        while (samples.size() < 300)
            http.Get(server->url());
        timer.stop();
    }
    std::sort(samples.begin(), samples.end());
    lateness = samples;
    state.counters["p50_ms"] = samples[samples.size() / 2];
    state.counters["p99_ms"] = samples[samples.size() * 99 / 100];
    state.counters["max_ms"] = samples.back();
}

void summary()
{
    auto ratio = [](const char* ours, const char* curl) {
        const double a = throughput[ours] / 1e6;
        const double b = throughput[curl] / 1e6;
        std::printf("%-16s %8.0f MB/s   curl %8.0f MB/s   ratio %.2f (goal >= 0.80)\n", ours, a, b,
                    b > 0 ? a / b : 0.0);
    };
    std::printf("\n64 MB body over 127.0.0.1\n");
    ratio("Get to memory", "curl to null");
    ratio("Get to file", "curl to file");
    if (!lateness.empty())
        std::printf(
            "10 ms timer during Get: late by p50 %.2f ms, p99 %.2f ms, max %.2f ms over %zu "
            "firings (goal p99 < 20 ms)\n",
            lateness[lateness.size() / 2], lateness[lateness.size() * 99 / 100], lateness.back(),
            lateness.size());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    LoopbackBodyServer body(BodyBytes);
    QTemporaryDir dir;
    server = &body;
    scratch = &dir;

    benchmark::RegisterBenchmark(
        "curl_to_devnull", [](benchmark::State& s) { curlTo(s, "curl to null", "/dev/null"); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Get_to_memory",
                                 [](benchmark::State& s) { getTo(s, "Get to memory", false); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "curl_to_file",
        [](benchmark::State& s) { curlTo(s, "curl to file", scratchFile("curl.bin")); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Get_to_file",
                                 [](benchmark::State& s) { getTo(s, "Get to file", true); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("timer_10ms_during_Get", timerLatency)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    summary();
    return 0;
}
