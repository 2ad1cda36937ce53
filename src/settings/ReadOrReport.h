#pragma once

#include <string>
#include <string_view>

namespace cirrolux {

class SettingsStore;
class UserInterface;

// Reads a setting for a step that must not stop the program (start-up, a timer): a value the
// store cannot read (not text, for instance) is reported in the standard error box with the
// store's own text and then treated as missing ("n/a").
std::string ReadOrReport(const SettingsStore& settings, UserInterface& ui, std::string_view section,
                         std::string_view name);

} // namespace cirrolux
