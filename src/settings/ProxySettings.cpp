#include "settings/ProxySettings.h"

#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <charconv>

namespace cirrolux {

namespace {

std::optional<std::string> stored(const SettingsStore& settings, std::string_view name)
{
    std::string value = settings.read_setting(SettingNames::Settings, name);
    if (value == SettingNames::NotAvailable)
        return std::nullopt;
    return value;
}

} // namespace

int ToInteger(const std::string& text)
{
    // Surrounding spaces are accepted, as a typed number often has them.
    std::size_t begin = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    int value = 0;
    bool ok = begin != std::string::npos;
    if (ok) {
        const char* first = text.data() + begin;
        const char* last = text.data() + end + 1;
        if (*first == '+')
            ++first;
        const auto [stop, error] = std::from_chars(first, last, value);
        ok = first != last && error == std::errc() && stop == last;
    }
    if (!ok)
        throw CirroluxError("'" + text + "' is not a valid integer value");
    return value;
}

ProxySettings ReadProxySettings(const SettingsStore& settings)
{
    using namespace SettingNames;
    ProxySettings proxy;
    if (settings.read_setting(Settings, ProxyUse) != "y")
        return proxy;
    proxy.use = true;
    proxy.host = stored(settings, Proxy);
    if (const auto port = stored(settings, ProxyPort))
        proxy.port = ToInteger(*port);
    proxy.userId = stored(settings, ProxyUserid);
    proxy.password = stored(settings, ProxyPass);
    return proxy;
}

void process_proxy_info(const SettingsStore& settings, TNMHTTP& http)
{
    process_proxy_info(
        [&settings](std::string_view name) {
            return settings.read_setting(SettingNames::Settings, name);
        },
        http);
}

// Step by step, so that a step that fails leaves the earlier ones in place: a port that is not a
// number keeps the proxy host just set (and the port the component had), rather than sending
// the next request direct.
void process_proxy_info(const ProxySettingReader& read, TNMHTTP& http)
{
    using namespace SettingNames;
    const auto stored = [&read](std::string_view name) -> std::optional<std::string> {
        std::string value = read(name);
        if (value == NotAvailable)
            return std::nullopt;
        return value;
    };
    if (read(ProxyUse) != "y") {
        http.Proxy.clear();
        http.HeaderInfo.UserId.clear();
        http.HeaderInfo.Password.clear();
        return;
    }
    if (const auto host = stored(Proxy))
        http.Proxy = *host;
    if (const auto port = stored(ProxyPort))
        http.ProxyPort = ToInteger(*port);
    if (const auto userId = stored(ProxyUserid))
        http.HeaderInfo.UserId = *userId;
    if (const auto password = stored(ProxyPass))
        http.HeaderInfo.Password = *password;
}

} // namespace cirrolux
