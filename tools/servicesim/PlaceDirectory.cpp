#include "PlaceDirectory.h"

#include "StableHash.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace cirrolux::servicesim {

namespace {

using Summer = Climate::SummerTime;

struct StateRow
{
    std::string_view code;
    std::string_view name;
    double latitude;
    double meanF;
    double seasonalF;
    double diurnalF;
    double humidity;
    int utcOffsetMinutes;
};

// Rough climate of each state's populated parts: enough for believable readings, from the
// Alaskan winter night well below zero to the Arizona summer afternoon well above 100 F.
constexpr std::array<StateRow, 53> kStates{{
    {"AL", "Alabama", 32.8, 63, 18, 10, 70, -360},
    {"AK", "Alaska", 61.2, 27, 26, 8, 72, -540},
    {"AZ", "Arizona", 33.4, 72, 20, 14, 32, -420},
    {"AR", "Arkansas", 34.7, 61, 20, 10, 70, -360},
    {"CA", "California", 36.8, 61, 11, 12, 60, -480},
    {"CO", "Colorado", 39.7, 50, 22, 14, 45, -420},
    {"CT", "Connecticut", 41.6, 50, 22, 9, 68, -300},
    {"DE", "Delaware", 39.2, 55, 21, 9, 68, -300},
    {"DC", "District of Columbia", 38.9, 57, 21, 9, 65, -300},
    {"FL", "Florida", 27.8, 72, 10, 8, 75, -300},
    {"GA", "Georgia", 33.7, 63, 18, 10, 70, -300},
    {"HI", "Hawaii", 21.3, 77, 4, 6, 70, -600},
    {"ID", "Idaho", 43.6, 51, 22, 14, 50, -420},
    {"IL", "Illinois", 40.0, 52, 25, 10, 70, -360},
    {"IN", "Indiana", 39.8, 53, 24, 10, 70, -300},
    {"IA", "Iowa", 41.6, 49, 27, 10, 70, -360},
    {"KS", "Kansas", 38.5, 55, 25, 12, 65, -360},
    {"KY", "Kentucky", 38.2, 56, 21, 10, 70, -300},
    {"LA", "Louisiana", 30.5, 67, 15, 9, 76, -360},
    {"ME", "Maine", 44.3, 44, 24, 10, 70, -300},
    {"MD", "Maryland", 39.0, 55, 21, 9, 68, -300},
    {"MA", "Massachusetts", 42.4, 50, 23, 9, 68, -300},
    {"MI", "Michigan", 42.7, 47, 24, 10, 70, -300},
    {"MN", "Minnesota", 45.0, 43, 30, 10, 68, -360},
    {"MS", "Mississippi", 32.3, 64, 17, 10, 72, -360},
    {"MO", "Missouri", 38.6, 55, 24, 10, 70, -360},
    {"MT", "Montana", 46.6, 44, 25, 14, 55, -420},
    {"NE", "Nebraska", 41.1, 50, 26, 12, 65, -360},
    {"NV", "Nevada", 36.2, 62, 22, 14, 26, -480},
    {"NH", "New Hampshire", 43.2, 46, 24, 10, 68, -300},
    {"NJ", "New Jersey", 40.2, 54, 21, 9, 68, -300},
    {"NM", "New Mexico", 35.1, 56, 20, 14, 36, -420},
    {"NY", "New York", 42.0, 48, 23, 9, 68, -300},
    {"NC", "North Carolina", 35.8, 59, 19, 10, 70, -300},
    {"ND", "North Dakota", 46.8, 41, 32, 11, 68, -360},
    {"OH", "Ohio", 40.0, 51, 23, 10, 70, -300},
    {"OK", "Oklahoma", 35.5, 60, 22, 12, 65, -360},
    {"OR", "Oregon", 44.9, 52, 14, 11, 72, -480},
    {"PA", "Pennsylvania", 40.3, 51, 22, 9, 68, -300},
    {"PR", "Puerto Rico", 18.4, 80, 3, 6, 77, -240},
    {"RI", "Rhode Island", 41.8, 51, 21, 9, 68, -300},
    {"SC", "South Carolina", 34.0, 63, 18, 10, 70, -300},
    {"SD", "South Dakota", 44.4, 46, 28, 12, 65, -360},
    {"TN", "Tennessee", 36.2, 58, 20, 10, 70, -360},
    {"TX", "Texas", 31.0, 66, 18, 11, 65, -360},
    {"UT", "Utah", 40.8, 52, 22, 14, 45, -420},
    {"VT", "Vermont", 44.3, 43, 25, 10, 70, -300},
    {"VA", "Virginia", 37.5, 56, 20, 10, 68, -300},
    {"VI", "Virgin Islands", 18.3, 80, 3, 5, 75, -240},
    {"WA", "Washington", 47.4, 50, 15, 10, 72, -480},
    {"WV", "West Virginia", 38.4, 53, 21, 10, 70, -300},
    {"WI", "Wisconsin", 44.5, 45, 27, 10, 70, -360},
    {"WY", "Wyoming", 42.8, 45, 24, 14, 50, -420},
}};

constexpr auto kStateCodes = [] {
    std::array<std::string_view, kStates.size()> codes{};
    for (std::size_t i = 0; i < kStates.size(); ++i)
        codes[i] = kStates[i].code;
    return codes;
}();

constexpr std::array<ZipEntry, 20> kZips{{
    {"02134", "Boston", "MA"},        {"62701", "Springfield", "IL"},
    {"10001", "New York", "NY"},      {"60601", "Chicago", "IL"},
    {"94103", "San Francisco", "CA"}, {"73301", "Austin", "TX"},
    {"33101", "Miami", "FL"},         {"85001", "Phoenix", "AZ"},
    {"99501", "Anchorage", "AK"},     {"96813", "Honolulu", "HI"},
    {"98101", "Seattle", "WA"},       {"80202", "Denver", "CO"},
    {"55401", "Minneapolis", "MN"},   {"30303", "Atlanta", "GA"},
    {"70112", "New Orleans", "LA"},   {"58501", "Bismarck", "ND"},
    {"89101", "Las Vegas", "NV"},     {"20001", "Washington", "DC"},
    {"04101", "Portland", "ME"},      {"63101", "St. Louis", "MO"},
}};

struct StationRegion
{
    std::string_view prefix; // leading digits of the station number; the longest match wins
    double latitude;
    double meanF;
    double seasonalF;
    double diurnalF;
    double humidity;
    int utcOffsetMinutes;
    std::string_view zone;
    Summer summerTime;
    std::string_view summerZone;
};

// Station numbers are grouped by region (the first digits name the country or area), which
// gives each station a plausible climate and time zone.
constexpr std::array<StationRegion, 60> kStationRegions{{
    {"0", 52, 48, 16, 9, 76, 60, "CET", Summer::Europe, "CEST"},
    {"01", 62, 40, 14, 7, 78, 60, "CET", Summer::Europe, "CEST"},
    {"010", 69, 34, 16, 5, 80, 60, "CET", Summer::Europe, "CEST"},
    {"02", 60, 42, 20, 8, 78, 60, "CET", Summer::Europe, "CEST"},
    {"027", 63, 38, 22, 8, 78, 120, "EET", Summer::Europe, "EEST"},
    {"028", 62, 39, 22, 8, 78, 120, "EET", Summer::Europe, "EEST"},
    {"029", 61, 41, 21, 8, 78, 120, "EET", Summer::Europe, "EEST"},
    {"03", 53, 49, 11, 8, 80, 0, "GMT", Summer::Europe, "BST"},
    {"039", 53, 50, 9, 7, 82, 0, "GMT", Summer::Europe, "IST"},
    {"06", 51, 50, 13, 9, 78, 60, "CET", Summer::Europe, "CEST"},
    {"07", 46.5, 53, 14, 11, 75, 60, "CET", Summer::Europe, "CEST"},
    {"08", 40, 60, 14, 12, 65, 60, "CET", Summer::Europe, "CEST"},
    {"085", 39, 61, 10, 10, 72, 0, "WET", Summer::Europe, "WEST"},
    {"10", 51, 48, 16, 10, 76, 60, "CET", Summer::Europe, "CEST"},
    {"11", 47.5, 48, 18, 11, 72, 60, "CET", Summer::Europe, "CEST"},
    {"12", 52, 46, 19, 10, 78, 60, "CET", Summer::Europe, "CEST"},
    {"13", 44, 53, 19, 12, 70, 60, "CET", Summer::Europe, "CEST"},
    {"15", 45, 51, 22, 12, 72, 120, "EET", Summer::Europe, "EEST"},
    {"16", 41, 60, 15, 11, 68, 60, "CET", Summer::Europe, "CEST"},
    {"166", 38, 64, 15, 11, 62, 120, "EET", Summer::Europe, "EEST"},
    {"17", 39, 56, 20, 13, 62, 120, "EET", Summer::Europe, "EEST"},
    {"2", 56, 38, 28, 10, 75, 180, "MSK", Summer::None, ""},
    {"3", 50, 40, 30, 12, 62, 360, "ALMT", Summer::None, ""},
    {"4", 30, 72, 16, 14, 50, 180, "AST", Summer::None, ""},
    {"41", 24, 80, 14, 14, 50, 240, "GST", Summer::None, ""},
    {"42", 23, 78, 12, 14, 60, 330, "IST", Summer::None, ""},
    {"43", 13, 81, 4, 10, 75, 330, "IST", Summer::None, ""},
    {"47", 36, 59, 20, 9, 70, 540, "JST", Summer::None, ""},
    {"48", 14, 82, 4, 11, 78, 420, "ICT", Summer::None, ""},
    {"486", 3, 81, 2, 10, 82, 480, "MYT", Summer::None, ""},
    {"5", 35, 57, 22, 11, 60, 480, "CST", Summer::None, ""},
    {"6", 10, 78, 6, 14, 55, 60, "WAT", Summer::None, ""},
    {"62", 28, 72, 14, 16, 42, 120, "EET", Summer::None, ""},
    {"63", -3, 70, 4, 14, 65, 180, "EAT", Summer::None, ""},
    {"68", -28, 64, 11, 16, 60, 120, "SAST", Summer::None, ""},
    {"7", 45, 45, 25, 11, 68, -300, "EST", Summer::UnitedStates, "EDT"},
    {"71", 50, 38, 30, 11, 70, -300, "EST", Summer::UnitedStates, "EDT"},
    {"713", 46, 42, 24, 9, 75, -240, "AST", Summer::UnitedStates, "ADT"},
    {"718", 50, 38, 30, 12, 65, -360, "CST", Summer::UnitedStates, "CDT"},
    {"7187", 51, 39, 26, 13, 60, -420, "MST", Summer::UnitedStates, "MDT"},
    {"7188", 50, 45, 15, 10, 76, -480, "PST", Summer::UnitedStates, "PDT"},
    {"7189", 49, 50, 13, 9, 78, -480, "PST", Summer::UnitedStates, "PDT"},
    {"76", 22, 72, 8, 14, 55, -360, "CST", Summer::None, ""},
    {"78", 16, 80, 3, 9, 75, -360, "CST", Summer::None, ""},
    {"780", 25, 77, 6, 8, 74, -300, "EST", Summer::None, ""},
    {"783", 18, 81, 3, 8, 76, -300, "EST", Summer::None, ""},
    {"784", 19, 79, 3, 10, 74, -240, "AST", Summer::None, ""},
    {"788", 15, 81, 2, 7, 75, -240, "AST", Summer::None, ""},
    {"789", 12, 81, 2, 7, 75, -240, "AST", Summer::None, ""},
    {"8", 5, 79, 2, 10, 78, -300, "COT", Summer::None, ""},
    {"83", -15, 75, 6, 12, 72, -180, "BRT", Summer::None, ""},
    {"84", -12, 66, 4, 10, 75, -300, "PET", Summer::None, ""},
    {"85", -33, 58, 10, 14, 60, -240, "CLT", Summer::None, ""},
    {"87", -34, 62, 12, 14, 65, -180, "ART", Summer::None, ""},
    {"89", -75, 0, 22, 6, 70, 0, "GMT", Summer::None, ""},
    {"9", -27, 68, 10, 14, 60, 600, "AEST", Summer::None, ""},
    {"91", -17, 78, 4, 8, 78, 720, "FJT", Summer::None, ""},
    {"93", -41, 55, 8, 10, 75, 720, "NZST", Summer::None, ""},
    {"941", -14, 82, 4, 12, 65, 570, "ACST", Summer::None, ""},
    {"946", -31, 64, 11, 14, 58, 480, "AWST", Summer::None, ""},
}};

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

const StateRow* findState(std::string_view code)
{
    if (code.size() != 2)
        return nullptr;
    const char upper[2] = {static_cast<char>(std::toupper(static_cast<unsigned char>(code[0]))),
                           static_cast<char>(std::toupper(static_cast<unsigned char>(code[1])))};
    const std::string_view wanted(upper, 2);
    for (const StateRow& row : kStates)
        if (row.code == wanted)
            return &row;
    return nullptr;
}

const StationRegion& regionOf(std::string_view number)
{
    const StationRegion* best = &kStationRegions.front();
    std::size_t bestLength = 0;
    for (const StationRegion& region : kStationRegions) {
        if (number.starts_with(region.prefix) && region.prefix.size() > bestLength) {
            best = &region;
            bestLength = region.prefix.size();
        }
    }
    return *best;
}

// Places of one region differ a little, so two cities of a state do not read the same.
void jitter(Climate& climate, std::string_view key)
{
    const std::uint64_t h = stableHash(key);
    climate.meanF += spread(mixHash(h, 1), -3.0, 3.0);
    climate.latitude += spread(mixHash(h, 2), -1.5, 1.5);
    climate.humidity = std::clamp(climate.humidity + spread(mixHash(h, 3), -6.0, 6.0), 20.0, 90.0);
    climate.solarNoonShift = spread(mixHash(h, 4), -15.0, 15.0);
}

Climate stateClimate(const StateRow& row)
{
    Climate climate;
    climate.latitude = row.latitude;
    climate.meanF = row.meanF;
    climate.seasonalF = row.seasonalF;
    climate.diurnalF = row.diurnalF;
    climate.humidity = row.humidity;
    climate.utcOffsetMinutes = row.utcOffsetMinutes;
    const bool noSummerTime =
        row.code == "AZ" || row.code == "HI" || row.code == "PR" || row.code == "VI";
    climate.summerTime = noSummerTime ? Summer::None : Summer::UnitedStates;
    switch (row.utcOffsetMinutes) {
    case -240:
        climate.zone = "AST";
        climate.summerZone = "ADT";
        break;
    case -300:
        climate.zone = "EST";
        climate.summerZone = "EDT";
        break;
    case -360:
        climate.zone = "CST";
        climate.summerZone = "CDT";
        break;
    case -420:
        climate.zone = "MST";
        climate.summerZone = "MDT";
        break;
    case -480:
        climate.zone = "PST";
        climate.summerZone = "PDT";
        break;
    case -540:
        climate.zone = "AKST";
        climate.summerZone = "AKDT";
        break;
    default:
        climate.zone = "HST";
        climate.summerZone = "HDT";
        break;
    }
    return climate;
}

std::string cityFromAddress(std::string_view city)
{
    std::string text(city);
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

Place usPlace(const StateRow& state, std::string city, std::string key, Place::Kind kind)
{
    Place place = usPlaceNamed(kind, std::move(key), city, state.name, state.code);
    place.climate = stateClimate(state);
    jitter(place.climate, place.key);
    return place;
}

} // namespace

void PlaceDirectory::setStationDirectory(StationDirectory directory)
{
    m_stations = std::move(directory);
}

std::optional<Place> PlaceDirectory::usCity(std::string_view stateCode, std::string_view city) const
{
    const StateRow* state = findState(stateCode);
    std::string name = cityFromAddress(city);
    if (state == nullptr || name.find_first_not_of(' ') == std::string::npos)
        return std::nullopt;
    std::string key = "US/" + std::string(state->code) + "/" + name;
    return usPlace(*state, std::move(name), std::move(key), Place::Kind::UsCity);
}

std::optional<Place> PlaceDirectory::zip(std::string_view zip) const
{
    if (zip.size() != 5 || !allDigits(zip))
        return std::nullopt;
    const auto known = std::find_if(kZips.begin(), kZips.end(),
                                    [zip](const ZipEntry& entry) { return entry.zip == zip; });
    const ZipEntry& entry = known != kZips.end() ? *known : kZips[stableHash(zip) % kZips.size()];
    const StateRow* state = findState(entry.stateCode);
    return usPlace(*state, std::string(entry.city), "zip/" + std::string(zip), Place::Kind::Zip);
}

std::optional<Place> PlaceDirectory::station(std::string_view number) const
{
    if (number.size() != 5 || !allDigits(number))
        return std::nullopt;
    const std::string digits(number);
    std::optional<std::pair<std::string, std::string>> name;
    if (m_stations)
        name = m_stations(digits);
    if (!name)
        name = std::make_pair("Station " + digits, std::string("Unknown"));

    const StationRegion& region = regionOf(number);
    Place place;
    place.kind = Place::Kind::Station;
    place.key = "station/" + digits;
    place.title = name->first + ", " + name->second;
    place.observed = name->first + " (" + digits + ")";
    place.breadcrumb = name->second;
    place.climate.latitude = region.latitude;
    place.climate.meanF = region.meanF;
    place.climate.seasonalF = region.seasonalF;
    place.climate.diurnalF = region.diurnalF;
    place.climate.humidity = region.humidity;
    place.climate.utcOffsetMinutes = region.utcOffsetMinutes;
    place.climate.zone = std::string(region.zone);
    place.climate.summerTime = region.summerTime;
    place.climate.summerZone = std::string(region.summerZone);
    jitter(place.climate, place.key);
    return place;
}

std::optional<std::string> PlaceDirectory::stateName(std::string_view code)
{
    if (const StateRow* state = findState(code))
        return std::string(state->name);
    return std::nullopt;
}

std::span<const ZipEntry> PlaceDirectory::zipTable()
{
    return kZips;
}

std::span<const std::string_view> PlaceDirectory::stateCodes()
{
    return kStateCodes;
}

} // namespace cirrolux::servicesim
