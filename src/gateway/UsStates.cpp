#include "UsStates.h"

#include <array>

namespace cirrolux::gateway {

namespace {

constexpr std::string_view NY = "America/New_York";
constexpr std::string_view CHI = "America/Chicago";
constexpr std::string_view DEN = "America/Denver";
constexpr std::string_view LA = "America/Los_Angeles";

// Split states: the meridian stands in for the county lines, close enough for the larger towns
// on either side (Pensacola and Tallahassee, Knoxville and Nashville, El Paso and Midland).
constexpr std::array<UsState, 56> kStates{{
    {"AL", "Alabama", CHI, {}, -180},
    {"AK", "Alaska", "America/Anchorage", "America/Adak", -169.5},
    {"AZ", "Arizona", "America/Phoenix", {}, -180},
    {"AR", "Arkansas", CHI, {}, -180},
    {"CA", "California", LA, {}, -180},
    {"CO", "Colorado", DEN, {}, -180},
    {"CT", "Connecticut", NY, {}, -180},
    {"DE", "Delaware", NY, {}, -180},
    {"DC", "District of Columbia", NY, {}, -180},
    {"FL", "Florida", NY, CHI, -85.0},
    {"GA", "Georgia", NY, {}, -180},
    {"HI", "Hawaii", "Pacific/Honolulu", {}, -180},
    {"ID", "Idaho", "America/Boise", {}, -180},
    {"IL", "Illinois", CHI, {}, -180},
    {"IN", "Indiana", "America/Indiana/Indianapolis", CHI, -86.9},
    {"IA", "Iowa", CHI, {}, -180},
    {"KS", "Kansas", CHI, DEN, -101.5},
    {"KY", "Kentucky", NY, CHI, -86.0},
    {"LA", "Louisiana", CHI, {}, -180},
    {"ME", "Maine", NY, {}, -180},
    {"MD", "Maryland", NY, {}, -180},
    {"MA", "Massachusetts", NY, {}, -180},
    {"MI", "Michigan", "America/Detroit", "America/Menominee", -87.5},
    {"MN", "Minnesota", CHI, {}, -180},
    {"MS", "Mississippi", CHI, {}, -180},
    {"MO", "Missouri", CHI, {}, -180},
    {"MT", "Montana", DEN, {}, -180},
    {"NE", "Nebraska", CHI, DEN, -101.3},
    {"NV", "Nevada", LA, {}, -180},
    {"NH", "New Hampshire", NY, {}, -180},
    {"NJ", "New Jersey", NY, {}, -180},
    {"NM", "New Mexico", DEN, {}, -180},
    {"NY", "New York", NY, {}, -180},
    {"NC", "North Carolina", NY, {}, -180},
    {"ND", "North Dakota", CHI, DEN, -101.5},
    {"OH", "Ohio", NY, {}, -180},
    {"OK", "Oklahoma", CHI, {}, -180},
    {"OR", "Oregon", LA, {}, -180},
    {"PA", "Pennsylvania", NY, {}, -180},
    {"RI", "Rhode Island", NY, {}, -180},
    {"SC", "South Carolina", NY, {}, -180},
    {"SD", "South Dakota", CHI, DEN, -100.6},
    {"TN", "Tennessee", NY, CHI, -85.4},
    {"TX", "Texas", CHI, DEN, -104.9},
    {"UT", "Utah", DEN, {}, -180},
    {"VT", "Vermont", NY, {}, -180},
    {"VA", "Virginia", NY, {}, -180},
    {"WA", "Washington", LA, {}, -180},
    {"WV", "West Virginia", NY, {}, -180},
    {"WI", "Wisconsin", CHI, {}, -180},
    {"WY", "Wyoming", DEN, {}, -180},
    {"PR", "Puerto Rico", "America/Puerto_Rico", {}, -180},
    {"VI", "Virgin Islands", "America/St_Thomas", {}, -180},
    {"GU", "Guam", "Pacific/Guam", {}, -180},
    {"AS", "American Samoa", "Pacific/Pago_Pago", {}, -180},
    {"MP", "Northern Mariana Islands", "Pacific/Saipan", {}, -180},
}};

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::optional<UsState> FindUsState(std::string_view code)
{
    if (code.size() != 2)
        return std::nullopt;
    for (const UsState& state : kStates) {
        if (state.code[0] == upper(code[0]) && state.code[1] == upper(code[1]))
            return state;
    }
    return std::nullopt;
}

} // namespace cirrolux::gateway
