#pragma once

#include <QString>

namespace cirrolux {

// Where the program keeps its files. On Linux these follow the XDG variables, so tests and the
// run script point them at throwaway folders.
namespace AppPaths {

// The settings file: Cirrolux/Cirrolux.ini under the user's config directory.
QString settingsFile();
// Folder for the fixed-name download files: Cirrolux/ under the user's cache directory.
QString workingDirectory();
// Stand-in for the Windows directory (wallpaper bitmap): Cirrolux/ under the user's data directory.
QString windowsDirectory();

} // namespace AppPaths
} // namespace cirrolux
