#pragma once

#include <QString>

#include <array>

namespace cirrolux::artgen {

// The sizes the freedesktop hicolor theme is asked for by panels, menus and software centres.
inline constexpr std::array<int, 8> IconThemeSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// Writes the application icon as <dir>/<N>x<N>/apps/<name>.png for every size above. Prints the
// reason and returns false when a folder or file cannot be written.
bool WriteIconTheme(const QString& dir, const QString& name);

} // namespace cirrolux::artgen
