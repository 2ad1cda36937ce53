// Feeds arbitrary bytes to the colour texts of the settings store: as a stored text, and its
// first four bytes as a colour. Whatever a text reads as must be written back as a text that
// reads as the same colour, and the screen colour of a plain colour must come back unchanged.
#include "settings/ColorText.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkColor(TColor color)
{
    const std::string text = ColorToText(color);
    require(!text.empty());
    const std::optional<TColor> back = TextToColor(text);
    require(back && *back == color);
    // Names are matched in any letter case.
    std::string lower = text;
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    require(TextToColor(lower) == color);

    const QColor screen = ToQColor(color);
    require(screen.isValid());
    if (color <= 0x00FFFFFF)
        require(FromQColor(screen) == color);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // System colours come from the desktop palette.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<TColor> color = TextToColor(text))
        checkColor(*color);
    if (size >= 4) {
        TColor color = 0;
        std::memcpy(&color, data, 4);
        checkColor(color);
    }
    return 0;
}
