// The forecast window's costs on large reports.
//
// Text: StripReportHtml + parse_text over an emulator zone forecast page grown to 40 KB, 1 MB and
// 4 MB, against the conditions parser's text cleaning (CleanPageText) over the same bytes in the
// same run. The per-byte time should not grow with the size.
//
// Display: a 1 MB report shown in RichEdit1 of the forecast window (set and first paint) against
// the same text set on a bare QPlainTextEdit of the same size, and on a bare QTextEdit.
//
//   QT_QPA_PLATFORM=offscreen forecast_bench --benchmark_counters_tabular=true
#include "conditions/ConditionsParser.h"
#include "forecast/ReportText.h"
#include "forecast/TfrmForecast.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"
#include "servicesim/ReportContent.h"
#include "settings/SettingsStore.h"
#include "ui_TfrmForecast.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace cirrolux;

// The emulator's Massachusetts zone page with its county sections repeated up to `size` bytes.
std::string reportPage(std::size_t size)
{
    const QDateTime now(QDate(2026, 1, 15), QTime(14, 0), Qt::UTC);
    const auto page =
        servicesim::ReportContent::page("iwin.nws.noaa.gov", "/iwin/MA/zone.html", now);
    if (!page) {
        std::fprintf(stderr, "the emulator has no zone page\n");
        std::exit(1);
    }
    const std::string whole = page->toStdString();
    const std::size_t first = whole.find("MAZ");
    const std::size_t last = whole.find("</pre>");
    const std::string sections = whole.substr(first, last - first);
    std::string grown = whole.substr(0, last);
    while (grown.size() + sections.size() + whole.size() - last <= size)
        grown += sections;
    grown += whole.substr(last);
    return grown;
}

const std::string& page(std::size_t size)
{
    static const std::string small = reportPage(40 * 1024);
    static const std::string medium = reportPage(1024 * 1024);
    static const std::string large = reportPage(4 * 1024 * 1024);
    return size <= 40 * 1024 ? small : size <= 1024 * 1024 ? medium : large;
}

void perByte(benchmark::State& state, std::size_t bytes)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["time_per_byte"] = benchmark::Counter(
        static_cast<double>(bytes),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_StripAndParse(benchmark::State& state)
{
    const std::string& text = page(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(parse_text(StripReportHtml(text)));
    perByte(state, text.size());
}

void BM_CleanPageTextBaseline(benchmark::State& state)
{
    const std::string& text = page(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CleanPageText(text));
    perByte(state, text.size());
}

// The floor of any reduction that writes its result to memory: one copy of the page.
//
// At 4 MB the strip and the table cut hold two large blocks at once; glibc gives the heap's top
// back to the system when both are freed, so every round pays the page faults of fresh memory
// again and the per-byte time triples. Run with MALLOC_TOP_PAD_=67108864 to keep the heap and
// see the per-byte time of the work itself.
void BM_CopyBaseline(benchmark::State& state)
{
    const std::string& text = page(std::size_t(state.range(0)));
    for (auto _ : state) {
        std::string copy(text);
        benchmark::DoNotOptimize(copy.data());
    }
    perByte(state, text.size());
}

BENCHMARK(BM_StripAndParse)->Arg(40 * 1024)->Arg(1024 * 1024)->Arg(4 * 1024 * 1024);
BENCHMARK(BM_CleanPageTextBaseline)->Arg(40 * 1024)->Arg(1024 * 1024)->Arg(4 * 1024 * 1024);
BENCHMARK(BM_CopyBaseline)->Arg(40 * 1024)->Arg(1024 * 1024)->Arg(4 * 1024 * 1024);

// The 1 MB report as the window shows it (table text, with CR LF line ends).
const std::string& shownReport()
{
    static const std::string text = parse_text(StripReportHtml(page(1024 * 1024)));
    return text;
}

struct Window
{
    QTemporaryDir dir;
    SettingsStore store{dir.path() + QStringLiteral("/Cirrolux.ini")};
    SilentUserInterface ui;
    SharedState shared;
    TNMHTTP http;
    TfrmForecast window{TfrmForecast::Environment{shared, store, ui, http, {}, {}, {}, {}}};
    Window()
    {
        window.resize(486, 313);
        window.show();
    }
};

void BM_ShowReportInRichEdit1(benchmark::State& state)
{
    // Made for each run, as the bare edits are: a window kept in a static would outlive the
    // application object and crash the program at its exit.
    Window w;
    QPlainTextEdit* box = w.window.form().RichEdit1;
    for (auto _ : state) {
        w.window.setReportText(shownReport());
        box->viewport()->repaint();
    }
    state.counters["blocks"] = box->document()->blockCount();
}

template <typename Edit> void showOnBare(benchmark::State& state)
{
    Edit edit;
    edit.setLineWrapMode(Edit::NoWrap);
    edit.resize(481, 251);
    edit.show();
    const std::string& text = shownReport();
    for (auto _ : state) {
        QString shown = QString::fromLatin1(text.data(), qsizetype(text.size()));
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        edit.setPlainText(shown);
        edit.viewport()->repaint();
    }
    state.counters["blocks"] = edit.document()->blockCount();
}

void BM_ShowReportOnBareQPlainTextEdit(benchmark::State& state)
{
    showOnBare<QPlainTextEdit>(state);
}

void BM_ShowReportOnBareQTextEdit(benchmark::State& state)
{
    showOnBare<QTextEdit>(state);
}

BENCHMARK(BM_ShowReportOnBareQPlainTextEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowReportInRichEdit1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowReportOnBareQTextEdit)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
