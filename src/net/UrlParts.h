#pragma once

#include <string>
#include <string_view>

namespace cirrolux {

// What one round of a transfer takes from its URL.
struct UrlParts
{
    std::string url;  // the URL as the round uses it ("/" appended when it named no path)
    std::string path; // what a direct request asks for; never empty
    std::string host; // empty: the URL names no host, the last one stays
    int port = 80;
};

// Splits `url` the way the transfer component always has: "//" marks a host after the scheme,
// a scheme of gopher or ftp chooses its port, "host:port" overrides it, and a URL without ":"
// keeps `currentPort` (0 meaning 80). Throws TransferError "Empty URL" for an empty URL and
// "Invalid Port Number" when the host carries a port that is not a number from 1 to 65535.
UrlParts SplitUrl(std::string_view url, int currentPort);

} // namespace cirrolux
