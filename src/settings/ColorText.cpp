#include "settings/ColorText.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <charconv>
#include <cstdio>

namespace cirrolux {

namespace {

struct NamedColor
{
    std::string_view name;
    TColor value;
};

constexpr std::array<NamedColor, 16> BasicColors{{
    {"clBlack", 0x00000000},
    {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},
    {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},
    {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},
    {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},
    {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},
}};

// Index = colour - SystemColorBase.
constexpr std::array<std::string_view, 25> SystemColors{
    "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
    "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
    "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
    "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
    "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
    "clInfoBk",
};

// The desktop palette role that stands for each system colour.
constexpr std::array<QPalette::ColorRole, 25> SystemRoles{
    QPalette::Mid,
    QPalette::Window,
    QPalette::Highlight,
    QPalette::Mid,
    QPalette::Window,
    QPalette::Base,
    QPalette::Shadow,
    QPalette::WindowText,
    QPalette::Text,
    QPalette::HighlightedText,
    QPalette::Window,
    QPalette::Window,
    QPalette::Dark,
    QPalette::Highlight,
    QPalette::HighlightedText,
    QPalette::Button,
    QPalette::Dark,
    QPalette::PlaceholderText,
    QPalette::ButtonText,
    QPalette::WindowText,
    QPalette::Light,
    QPalette::Shadow,
    QPalette::Midlight,
    QPalette::ToolTipText,
    QPalette::ToolTipBase,
};

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<TColor> parseNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (text.front() == '$') {
        std::uint32_t value = 0;
        ++first;
        if (first == last)
            return std::nullopt;
        const auto [end, error] = std::from_chars(first, last, value, 16);
        if (error != std::errc() || end != last)
            return std::nullopt;
        return value;
    }
    // Decimal numbers are 32-bit signed, as the stored colour is; negative ones are the
    // system colours written in decimal.
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, 10);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return static_cast<TColor>(value);
}

} // namespace

std::string ColorToText(TColor color)
{
    for (const NamedColor& named : BasicColors) {
        if (named.value == color)
            return std::string(named.name);
    }
    if (color >= SystemColorBase && color - SystemColorBase < SystemColors.size())
        return std::string(SystemColors[color - SystemColorBase]);
    if (color == clNone)
        return "clNone";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(color));
    return buffer;
}

std::optional<TColor> TextToColor(std::string_view text)
{
    for (const NamedColor& named : BasicColors) {
        if (equalsIgnoringCase(text, named.name))
            return named.value;
    }
    for (std::size_t i = 0; i < SystemColors.size(); ++i) {
        if (equalsIgnoringCase(text, SystemColors[i]))
            return SystemColorBase + TColor(i);
    }
    if (equalsIgnoringCase(text, "clNone"))
        return clNone;
    return parseNumber(text);
}

QColor ToQColor(TColor color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color >= SystemColorBase) {
        const TColor index = color - SystemColorBase;
        if (index < SystemRoles.size())
            return QGuiApplication::palette().color(SystemRoles[index]);
        return QColor(Qt::black);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return TColor(rgb.red()) | (TColor(rgb.green()) << 8) | (TColor(rgb.blue()) << 16);
}

} // namespace cirrolux
