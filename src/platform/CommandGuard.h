#pragma once

#include "platform/UserInterface.h"

#include <functional>

namespace cirrolux {

// Runs one user command, timer tick or event handler. Any error it raises ends the command and
// its text is shown in the standard error box; nothing escapes into Qt's event loop.
// Returns true when the command finished without an error.
bool runGuarded(UserInterface& ui, const std::function<void()>& command);

} // namespace cirrolux
