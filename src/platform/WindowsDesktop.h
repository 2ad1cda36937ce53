#pragma once

#include "platform/DesktopValues.h"

namespace cirrolux {

// Windows: writes the five values under HKEY_CURRENT_USER\Control Panel\Desktop in their order
// and asks the system to take up the wallpaper, broadcasting the change. Only built on Windows.
// Throws DesktopError when the system refuses.
void setWindowsWallpaper(const DesktopValues& values);

} // namespace cirrolux
