// How the conditions parser's cost grows with the page: a realistic page of about 40 KB, and the
// same page padded with more of its own markup to 4 MB. The per-byte time of both should match.
//
//   parser_bench --benchmark_counters_tabular=true
#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsView.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace cirrolux;

class NullView final : public ConditionsView
{
public:
    void setStatusText(const std::string&) override {}
    void setForecastStatusText(const std::string&) override {}
    void showReading(Reading, const std::string& text) override { benchmark::DoNotOptimize(text); }
    std::string reading(Reading) const override { return {}; }
    void setTrayTip(const std::string&) override {}
    void setTrayPicture(int) override {}
    void setWindowTitle(const std::string&) override {}
    std::string windowTitle() const override { return {}; }
};

std::string readPage()
{
    QFile file(QStringLiteral(CIRROLUX_TEST_DATA "/conditions/boston-summer.html"));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    return file.readAll().toStdString();
}

// The page grown to `size` bytes with rows of its own "nearby stations" table before </body>,
// so the parser cleans and searches all of it.
std::string paddedPage(const std::string& page, std::size_t size)
{
    static const char* const names[] = {"Quincy", "Cambridge", "Newton",  "Waltham", "Lynn",
                                        "Salem",  "Brockton",  "Hanscom", "Norwood", "Taunton"};
    const std::size_t body = page.find("</body>");
    std::string padded = page.substr(0, body);
    for (unsigned i = 0; padded.size() + page.size() - body < size; ++i) {
        const std::string name = names[i % 10];
        padded += "<tr><td><a href=\"/cgi-bin/findweather/getForecast?query=" + name + "\">" +
                  name + "</a></td><td>" + std::to_string(80 + i % 13) + "&#176;F</td><td>" +
                  std::to_string(40 + i % 50) + "%</td><td>SW " + std::to_string(i % 25) +
                  " mph</td><td>" + std::to_string(1 + i % 12) + ":" + std::to_string(10 + i % 50) +
                  " PM</td></tr>\n";
    }
    padded += page.substr(body);
    return padded;
}

struct Pages
{
    std::string small = readPage();
    std::string large = paddedPage(small, 4u * 1024 * 1024);
};

const Pages& pages()
{
    static const Pages instance;
    return instance;
}

// A settings file with Metric set, as a user's profile has one.
const SettingsStore& settings()
{
    static QTemporaryDir dir;
    static SettingsStore store(dir.path() + QStringLiteral("/Cirrolux.ini"));
    static const bool written = [] {
        store.write_setting(SettingNames::Settings, SettingNames::Metric, "n");
        return true;
    }();
    (void)written;
    return store;
}

void parseAll(benchmark::State& state, const std::string& page)
{
    SharedState shared;
    shared.currentLocationKey = "Boston, MA";
    NullView view;
    SilentUserInterface ui;
    ConditionsParser parser(shared, settings(), ui, view, [] {});
    for (auto _ : state) {
        parser.ParseConditionsPage(page);
        parser.CompleteHeatIndex();
        parser.CompleteWindChill();
        benchmark::DoNotOptimize(parser.record());
    }
    if (ui.messages != 0 || parser.record().temperatureF != 90)
        state.SkipWithError("the page did not parse");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["bytes"] = static_cast<double>(page.size());
    state.counters["time_per_byte"] = benchmark::Counter(
        static_cast<double>(page.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void cleanOnly(benchmark::State& state, const std::string& page)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CleanPageText(page));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["time_per_byte"] = benchmark::Counter(
        static_cast<double>(page.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ParsePage40KB(benchmark::State& state)
{
    parseAll(state, pages().small);
}
void BM_ParsePage4MB(benchmark::State& state)
{
    parseAll(state, pages().large);
}
void BM_CleanPageText40KB(benchmark::State& state)
{
    cleanOnly(state, pages().small);
}
void BM_CleanPageText4MB(benchmark::State& state)
{
    cleanOnly(state, pages().large);
}

BENCHMARK(BM_ParsePage40KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParsePage4MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CleanPageText40KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CleanPageText4MB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
