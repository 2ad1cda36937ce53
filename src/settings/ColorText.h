#pragma once

#include <QColor>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cirrolux {

// A colour as the settings store keeps it: 0x00BBGGRR for plain colours, 0x80000000 + index for
// the system colours, 0x1FFFFFFF for "clNone".
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor SystemColorBase = 0x80000000;

// The colour's name when it has one, else "$" and 8 upper-case hex digits ("$004080FF").
std::string ColorToText(TColor color);

// A colour name (any letter case) or a number, decimal or "$" hexadecimal; empty for any other
// text (a conversion error the caller ignores).
std::optional<TColor> TextToColor(std::string_view text);

// Between the stored form and the screen. System colours map to the palette of the running
// desktop; "clNone" is transparent.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

} // namespace cirrolux
