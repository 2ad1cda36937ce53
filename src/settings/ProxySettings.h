#pragma once

#include <optional>
#include <string>

namespace cirrolux {

class SettingsStore;

// The stored proxy settings as the transfer component takes them. With "ProxyUse" off, `use` is
// false and the proxy host is to be cleared; otherwise each value that is stored is present.
struct ProxySettings
{
    bool use = false;
    std::optional<std::string> host;
    std::optional<int> port;
    std::optional<std::string> userId;
    std::optional<std::string> password;
};

// Reads the proxy settings. Throws CirroluxError("'<text>' is not a valid integer value") for a
// stored port that is not a whole number.
ProxySettings ReadProxySettings(const SettingsStore& settings);

// Converts a whole number the way the program's edits do; throws the same error otherwise.
int ToInteger(const std::string& text);

} // namespace cirrolux
