#include "wallpaper/WallpaperPlacement.h"

#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <charconv>
#include <optional>

namespace cirrolux {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::optional<int> wholeNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string conversionMessage(std::string_view text)
{
    return "'" + std::string(text) + "' is not a valid integer value";
}

} // namespace

WallpaperlocReading readWallpaperloc(std::string_view value)
{
    WallpaperlocReading reading;
    const std::size_t comma = value.find(',');
    if (comma != std::string_view::npos) {
        const std::string_view xText = value.substr(0, comma);
        const std::string_view yText = value.substr(comma + 1);
        const std::optional<int> x = wholeNumber(xText);
        const std::optional<int> y = wholeNumber(yText);
        if (x && y)
            reading.placement = {3, *x, *y};
        else
            reading.conversionError = conversionMessage(x ? yText : xText);
        return reading;
    }
    if (value == "0")
        reading.placement.style = 0;
    else if (value == "2")
        reading.placement.style = 2;
    return reading;
}

WallpaperPlacement WallpaperPlacementReader::read(const SettingsStore& store, UserInterface& ui)
{
    return placementFor(store.read_setting(SettingNames::Settings, SettingNames::WallpaperLoc), ui);
}

WallpaperPlacement WallpaperPlacementReader::placementFor(std::string_view value, UserInterface& ui)
{
    const WallpaperlocReading reading = readWallpaperloc(value);
    if (!reading.conversionError.empty() && m_reported.find(value) == m_reported.end()) {
        m_reported.emplace(value);
        ui.showError(reading.conversionError);
    }
    return reading.placement;
}

} // namespace cirrolux
