#pragma once

#include <array>
#include <cstdint>

namespace cirrolux::drawing {

// The 5 x 7 pixel font of the drawn pictures: seven rows of five bits (bit 4 is the left
// column). Characters without a glyph are drawn as a blank.
const std::array<std::uint8_t, 7>& pixelGlyph(char c);

} // namespace cirrolux::drawing
