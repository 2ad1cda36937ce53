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
    const double simple = 0.5 * (t + 61.0 + (t - 68.0) * 1.2 + rh * 0.094);
    if ((simple + t) / 2.0 < 80.0)
        return simple;

    double hi = -42.379 + 2.04901523 * t + 10.14333127 * rh - 0.22475541 * t * rh -
                0.00683783 * t * t - 0.05481717 * rh * rh + 0.00122874 * t * t * rh +
                0.00085282 * t * rh * rh - 0.00000199 * t * t * rh * rh;
    if (rh < 13.0 && t >= 80.0 && t <= 112.0)
        hi -= (13.0 - rh) / 4.0 * std::sqrt((17.0 - std::fabs(t - 95.0)) / 17.0);
    else if (rh > 85.0 && t >= 80.0 && t <= 87.0)
        hi += (rh - 85.0) / 10.0 * ((87.0 - t) / 5.0);
    return hi;
}

bool WindChillApplies(double t, double v)
{
    return t <= 50.0 && v >= 3.0;
}

double WindChillF(double t, double v)
{
    const double p = std::pow(v, 0.16);
    return 35.74 + 0.6215 * t - 35.75 * p + 0.4275 * t * p;
}

} // namespace cirrolux
