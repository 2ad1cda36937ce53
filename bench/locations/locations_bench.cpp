// Cost of the two catalogue operations a user waits for: loading the tree into the model the
// choose-location dialog shows, and resolving foreign places to station numbers.

#include "locations/LocationCatalogue.h"
#include "locations/LocationTreeModel.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"
#include "platform/UserInterface.h"

#include <QGuiApplication>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace cirrolux;

void BM_BuildTreeModel(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<QStandardItemModel> model = BuildLocationTreeModel();
        benchmark::DoNotOptimize(model->rowCount());
    }
    state.counters["nodes"] = static_cast<double>(LocationTree().size());
}
BENCHMARK(BM_BuildTreeModel)->Unit(benchmark::kMillisecond);

// The lookups the requests make: every row of the table in turn, by its first selecting label
// with the group left empty (as a preset request does), cycled up to 10,000 lookups.
void BM_TenThousandLookups(benchmark::State& state)
{
    struct Query
    {
        std::string label;
        std::string city;
    };
    std::vector<Query> queries;
    for (const StationList& list : StationLists()) {
        std::string label;
        if (!list.labels.empty()) {
            label = list.labels.front();
        } else {
            for (const RegionLabel& row : RegionGroupTable()) {
                if (row.group == list.group) {
                    label = row.label;
                    break;
                }
            }
        }
        for (const StationEntry& entry : StationListRows(list.name))
            queries.push_back({label, std::string(entry.city)});
    }
    if (queries.empty()) {
        state.SkipWithError("no station rows");
        return;
    }

    SilentUserInterface ui;
    SharedState shared;
    constexpr int Lookups = 10000;
    for (auto _ : state) {
        for (int i = 0; i < Lookups; ++i) {
            const Query& query = queries[static_cast<std::size_t>(i) % queries.size()];
            shared.locationGroup.clear();
            shared.locationState = query.label;
            shared.locationCity = query.city;
            LookupStation(shared, ui);
            benchmark::DoNotOptimize(shared.stationNumber.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * Lookups);
}
BENCHMARK(BM_TenThousandLookups)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The model lives in QtGui; an application object keeps Qt's object machinery as it is in
    // the program. No window is shown.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
