#include "settings/ReadOrReport.h"

#include "platform/CirroluxError.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace cirrolux {

std::string ReadOrReport(const SettingsStore& settings, UserInterface& ui, std::string_view section,
                         std::string_view name)
{
    try {
        return settings.read_setting(section, name);
    } catch (const SettingsError& e) {
        ui.showError(e.what());
        return std::string(SettingNames::NotAvailable);
    }
}

} // namespace cirrolux
