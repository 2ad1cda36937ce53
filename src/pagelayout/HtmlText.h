#pragma once

#include <string>
#include <string_view>

namespace cirrolux {

// `text` with &, <, > and " written as entities, safe inside an element or an attribute.
std::string escapeHtml(std::string_view text);

} // namespace cirrolux
