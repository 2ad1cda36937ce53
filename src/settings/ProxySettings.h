#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cirrolux {

class SettingsStore;
class TNMHTTP;

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

// Hands the stored proxy settings to the transfer component, so that the next request uses
// them. With "ProxyUse" off the proxy host is cleared, and so are the user id and password, which
// the component would otherwise send as "Authorization" to every server. Same error as
// ReadProxySettings; the steps before the failing one stay applied (a port that is not a number
// keeps the host just set and the port the component had).
void process_proxy_info(const SettingsStore& settings, TNMHTTP& http);

// The same over any way of reading a value of section "Settings" ("n/a" when missing); start-up
// uses it to treat a value the store cannot read as missing.
using ProxySettingReader = std::function<std::string(std::string_view name)>;
void process_proxy_info(const ProxySettingReader& read, TNMHTTP& http);

// Converts a whole number the way the program's edits do; throws the same error otherwise.
int ToInteger(const std::string& text);

} // namespace cirrolux
