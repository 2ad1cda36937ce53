#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cirrolux {

// The arithmetic behind the conditions readings, kept apart from the page cutting so that each
// rule can be checked on its own.

// `value` rounded to the nearest whole number, an exact half going to the even neighbour.
double RoundHalfEven(double value);

// Decimal text of RoundHalfEven(value); never "-0".
std::string WholeNumberText(double value);

// The number formed by the decimal digits of `text`, in order, every other character ignored
// ("NW 1 2" gives 12). With `signed_`, a minus sign directly before the first digit makes it
// negative. Empty when `text` holds no digit.
std::optional<double> DigitsNumber(std::string_view text, bool signed_);

// Heat index in degrees Fahrenheit (unrounded) for a temperature `t` (degrees F) and relative
// humidity `rh` (percent), as the US National Weather Service computes it: its simple formula
// where that and the temperature average below 80 F, else the Rothfusz regression with the
// service's adjustments for low humidity (80-112 F) and high humidity (80-87 F).
double HeatIndexF(double t, double rh);

// Whether a wind chill exists: at or below 50 F with a wind of at least 3 mph. Otherwise the
// reading is the temperature itself.
bool WindChillApplies(double t, double v);

// Wind chill in degrees Fahrenheit (unrounded) by the US National Weather Service formula in
// use since 2001, for a temperature `t` (degrees F) and wind speed `v` (mph) where
// WindChillApplies.
double WindChillF(double t, double v);

} // namespace cirrolux
