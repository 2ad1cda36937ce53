// What the user waits for when a dialog opens: the choose-location dialog's first opening (the
// whole tree of 2,272 nodes) against an empty dialog of the same size in the same run, and the
// preferences dialog filling itself from a full store.
//
// Runs headless (QT_QPA_PLATFORM=offscreen unless set) over a throwaway settings file.
#include "locations/TfrmLocation.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "settings/TfrmPref.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace cirrolux;
namespace names = SettingNames;

// Shown and painted once, as the user first sees it.
void openAndPaint(QDialog& dialog)
{
    dialog.show();
    QApplication::processEvents();
    dialog.repaint();
}

void BM_EmptyDialogFirstOpen(benchmark::State& state)
{
    for (auto _ : state) {
        QDialog dialog;
        dialog.setFixedSize(426, 320);
        openAndPaint(dialog);
    }
}
BENCHMARK(BM_EmptyDialogFirstOpen)->Unit(benchmark::kMillisecond);

void BM_ChooseLocationFirstOpen(benchmark::State& state)
{
    SilentUserInterface ui;
    SharedState shared;
    TNMHTTP http;
    for (auto _ : state) {
        TfrmLocation dialog(shared, ui, http, {}, nullptr);
        dialog.releaseTreeLock();
        openAndPaint(dialog);
    }
}
BENCHMARK(BM_ChooseLocationFirstOpen)->Unit(benchmark::kMillisecond);

// Loading's ten steps with 20 presets, the proxy and an explicit wallpaper position stored.
void BM_PreferencesLoading(benchmark::State& state)
{
    QTemporaryDir folder;
    SettingsStore store(folder.path() + QStringLiteral("/Cirrolux/Cirrolux.ini"));
    for (int slot = 0; slot < 20; ++slot)
        store.write_setting(names::Locations, "loc" + std::to_string(slot),
                            "City " + std::to_string(slot) + ", TX");
    for (const auto& [name, value] :
         {std::pair{names::AutoUpdate, "y"}, std::pair{names::StartupLoc, "City 3, TX"},
          std::pair{names::AutoWallpaper, "US Radar Image - Purdue"},
          std::pair{names::WallpaperLoc, "120,45"}, std::pair{names::ProxyUse, "y"},
          std::pair{names::Proxy, "cache.example"}, std::pair{names::ProxyPort, "3128"},
          std::pair{names::ProxyUserid, "weather"}, std::pair{names::ProxyPass, "s3cret"}})
        store.write_setting(names::Settings, name, value);

    SilentUserInterface ui;
    TNMHTTP http;
    TfrmPref dialog(store, ui, http, nullptr, nullptr);
    dialog.show();
    QApplication::processEvents();
    for (auto _ : state)
        dialog.FormShow();
}
BENCHMARK(BM_PreferencesLoading)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
