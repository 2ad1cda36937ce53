// Feeds arbitrary bytes to the conditions parser as a page, with both completions after it, in
// English units or in metric units (lowest bit of the first byte), and to the reading helpers.
// A crash, an out-of-bounds read, undefined behaviour or a broken invariant is a finding.
#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsView.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace cirrolux;

class NullView final : public ConditionsView
{
public:
    void setStatusText(const std::string& text) override { lastStatus = text; }
    void setForecastStatusText(const std::string&) override {}
    void showReading(Reading, const std::string&) override {}
    std::string reading(Reading) const override { return {}; }
    void setTrayTip(const std::string&) override {}
    void setTrayPicture(int index) override { pictures += index < 0 || index > 12; }
    void setWindowTitle(const std::string& title) override { titles += title.empty(); }
    std::string windowTitle() const override { return {}; }

    std::string lastStatus;
    int pictures = 0; // pictures outside the tray list
    int titles = 0;   // empty window titles
};

// Two throwaway profiles: one without settings (English units), one with Metric "y".
struct Profiles
{
    QTemporaryDir dir;
    SettingsStore english{dir.path() + QStringLiteral("/english.ini")};
    SettingsStore metric{dir.path() + QStringLiteral("/metric.ini")};
    Profiles() { metric.write_setting(SettingNames::Settings, SettingNames::Metric, "y"); }
};

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Profiles profiles;
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const bool metric = size > 0 && (data[0] & 1) != 0;

    SharedState state;
    state.currentLocationKey = size % 3 == 0 ? "" : "Boston, MA";
    NullView view;
    SilentUserInterface ui;
    int presets = 0;
    ConditionsParser parser(state, metric ? profiles.metric : profiles.english, ui, view, [&] {
        ++presets;
        state.lastPresetName = "Boston, MA";
    });
    parser.ParseConditionsPage(page);
    parser.CompleteHeatIndex();
    parser.CompleteWindChill();

    const ConditionsRecord& record = parser.record();
    require(ui.messages <= 2);
    require(presets == 1);
    require(view.lastStatus == "Thank you for using Cirrolux...");
    require(view.pictures == 0 && view.titles == 0);
    require(record.skyIcon >= 0 && record.skyIcon <= 12);
    require(record.temperatureF == state.temperatureF);
    require(state.temperatureF >= -999 && state.temperatureF <= 9999);
    require(record.title.size() <= size && record.sky.size() <= size);

    int temperatureF = 0;
    for (const ConvertMode mode : {ConvertMode::FC, ConvertMode::FX, ConvertMode::None})
        require(!ConvertReading(page, mode, temperatureF).empty());
    require(ReplaceAll(page, " mph", "mph").size() <= size);
    require(ReplaceAll(page, "Wind", "~").size() <= size);
    require(CleanPageText(page).size() <= size);
    const int icon = SkyIconFor(page);
    require(icon >= 0 && icon <= 12);
    return 0;
}
