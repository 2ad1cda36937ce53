#pragma once

#include <QString>

#include <functional>
#include <string_view>

namespace cirrolux::gateway {

// Calls `line` for every line of the gzip-compressed text file at `path`, without its "\n" (or
// "\r\n"), decompressing in pieces so the whole text is never held at once. Throws
// std::runtime_error naming the file when it cannot be opened or is not valid gzip data.
void forEachGzipLine(const QString& path, const std::function<void(std::string_view)>& line);

} // namespace cirrolux::gateway
