#include "conditions/ReadingMath.h"

#include <cmath>
#include <cstdio>

namespace cirrolux {

double RoundHalfEven(double value)
{
    // Spelled out rather than left to the floating-point environment's rounding mode.
    const double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return rounded;
}

std::string WholeNumberText(double value)
{
    // Adding +0.0 turns a negative zero into a plain one, so -0.3 reads "0".
    const double whole = RoundHalfEven(value) + 0.0;
    char buffer[400]; // room for any finite double in fixed notation
    std::snprintf(buffer, sizeof buffer, "%.0f", whole);
    return buffer;
}

std::optional<double> DigitsNumber(std::string_view text, bool signed_)
{
    std::optional<double> number;
    bool negative = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            continue;
        if (!number) {
            negative = signed_ && i > 0 && text[i - 1] == '-';
            number = 0.0;
        }
        *number = *number * 10.0 + (c - '0');
    }
    if (number && negative)
        *number = -*number;
    return number;
}

double HeatIndexF(double t, double rh)
{
    return -42.379 + 2.04901523 * t + 10.14333127 * rh - 0.22475541 * t * rh - 0.00683783 * t * t -
           0.05481717 * rh * rh + 0.00122874 * t * t * rh + 0.00085282 * t * rh * rh -
           0.00000199 * t * t * rh * rh;
}

double WindChillF(double t, double v)
{
    const double s = std::round(std::sqrt(v));
    const double a = 0.0817 * (3.71 * s + 5.81 - 0.25 * v);
    return a * (t - 91.4) + 91.4;
}

} // namespace cirrolux
