#pragma once

#include "net/TNMHTTP.h"

#include <string>

namespace cirrolux {

// The bytes of one GET request. `target` goes on the request line: the whole URL through a
// proxy, else the path. Every line ends in CR LF, the last one empty.
std::string BuildHttpRequest(const std::string& target, const std::string& host, bool viaProxy,
                             const THeaderInfo& info);

} // namespace cirrolux
