#include "StationIndex.h"

#include "GzipLines.h"
#include "MainStations.h"
#include "UsStates.h"
#include "WmoStations.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <span>

namespace cirrolux::gateway {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
// How far a place's nearest station may lie and still stand for it: 75 km, in radians of the
// Earth's surface. Beyond, the place has no live station of its own (the census's "Honolulu CCD"
// has its nearest station on Midway Atoll).
constexpr double kReachRadians = 75.0 / 6371.0;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerCase(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowered);
    return out;
}

// A place or city name reduced for comparison: ASCII lower case, '_' '-' and '/' as spaces, no
// periods or apostrophes, single spaces, and "saint" written "st" as the census writes it.
std::string nameKey(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '.' || c == '\'')
            continue;
        const char mapped = (c == '_' || c == '-' || c == '/' || c == ',') ? ' ' : lowered(c);
        if (mapped == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += mapped;
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    if (out.starts_with("saint "))
        out.replace(0, 5, "st");
    return out;
}

// Request addresses are 8-bit Latin-1, the tables UTF-8.
std::string utf8FromLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

bool containsWords(std::string_view text, std::string_view words)
{
    if (words.empty())
        return false;
    for (std::size_t at = text.find(words); at != std::string_view::npos;
         at = text.find(words, at + 1)) {
        const bool startOk = at == 0 || text[at - 1] == ' ';
        const std::size_t end = at + words.size();
        const bool endOk = end == text.size() || text[end] == ' ';
        if (startOk && endOk)
            return true;
    }
    return false;
}

bool containsAny(std::string_view text, std::span<const std::string_view> words)
{
    return std::any_of(words.begin(), words.end(),
                       [text](std::string_view word) { return containsWords(text, word); });
}

// "(0.7394378, -1.2394747)" in radians.
std::optional<std::pair<double, double>> readLocation(std::string_view value)
{
    value = trimmed(value);
    if (value.size() < 5 || value.front() != '(' || value.back() != ')')
        return std::nullopt;
    value = value.substr(1, value.size() - 2);
    const std::size_t comma = value.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::string_view first = trimmed(value.substr(0, comma));
    const std::string_view second = trimmed(value.substr(comma + 1));
    double latitude = 0;
    double longitude = 0;
    const auto a = std::from_chars(first.data(), first.data() + first.size(), latitude);
    const auto b = std::from_chars(second.data(), second.data() + second.size(), longitude);
    if (a.ec != std::errc() || b.ec != std::errc() || !std::isfinite(latitude) ||
        !std::isfinite(longitude) || std::abs(latitude) > 1.6 || std::abs(longitude) > 3.2)
        return std::nullopt;
    return std::make_pair(latitude * kDegreesPerRadian, longitude * kDegreesPerRadian);
}

// "('kbos', 0.0004911)" -> "kbos".
std::string readNearest(std::string_view value)
{
    const std::size_t open = value.find('\'');
    if (open == std::string_view::npos)
        return {};
    const std::size_t close = value.find('\'', open + 1);
    if (close == std::string_view::npos)
        return {};
    return lowerCase(value.substr(open + 1, close - open - 1));
}

// "('kbos', 0.0004911)" -> 0.0004911, the distance in radians; negative when not given.
double readNearestDistance(std::string_view value)
{
    const std::size_t comma = value.rfind(',');
    const std::size_t close = value.rfind(')');
    if (comma == std::string_view::npos || close == std::string_view::npos || close < comma)
        return -1;
    const std::string_view number = trimmed(value.substr(comma + 1, close - comma - 1));
    double distance = -1;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), distance);
    return result.ec == std::errc() && std::isfinite(distance) ? distance : -1;
}

// One "[name]" section of a table with the fields the index reads.
struct Section
{
    std::string name;
    std::string description;
    std::string location; // "location" or "centroid"
    std::string station;
    double stationDistance = -1; // radians
    std::string zone;
};

void forEachSection(const QString& path, const std::function<void(const Section&)>& take)
{
    Section section;
    bool open = false;
    forEachGzipLine(path, [&](std::string_view line) {
        if (line.empty() || line.front() == '#')
            return;
        if (line.front() == '[') {
            if (open)
                take(section);
            // Cleared, not replaced, so the strings keep their buffers from section to section.
            section.description.clear();
            section.location.clear();
            section.station.clear();
            section.stationDistance = -1;
            section.zone.clear();
            const std::size_t close = line.find(']');
            section.name = lowerCase(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            open = true;
            return;
        }
        const std::size_t equals = line.find(" = ");
        if (!open || equals == std::string_view::npos)
            return;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 3);
        if (key == "description")
            section.description = value;
        else if (key == "location" || key == "centroid")
            section.location = value;
        else if (key == "station") {
            section.station = readNearest(value);
            section.stationDistance = readNearestDistance(value);
        } else if (key == "zone")
            section.zone = value.starts_with("('") ? readNearest(value) : std::string(value);
    });
    if (open)
        take(section);
}

QString tablePath(const QString& dir, const char* name)
{
    return dir + QLatin1Char('/') + QLatin1String(name);
}

// The kinds of census place, most wanted first; the word ends the place's name.
struct PlaceKind
{
    std::string_view suffix;
    std::uint8_t rank;
};
constexpr std::array<PlaceKind, 17> kPlaceKinds{{
    {" city and borough", 0},
    {" city", 0},
    {" town", 1},
    {" village", 2},
    {" borough", 3},
    {" municipality", 4},
    {" CDP", 5},
    {" township", 6},
    {" plantation", 6},
    {" CCD", 7},
    {" County", 8},
    {" Parish", 8},
    {" Borough", 8},
    {" barrio", 9},
    {" comunidad", 9},
    {" zona urbana", 9},
    {" urbana", 9},
}};
constexpr std::uint8_t kUnknownKindRank = 12;
constexpr std::uint8_t kPartOfNameRank = 14; // "Nashville" of "Nashville-Davidson"
// Ranks up to this one name a settlement a zip code area can be called after.
constexpr std::uint8_t kSettlementRank = 5;

// Canadian provinces and territories, which the catalogue names in place of the country.
constexpr std::array<std::string_view, 15> kCanadianRegions{"alberta",
                                                            "british columbia",
                                                            "manitoba",
                                                            "new brunswick",
                                                            "newfoundland",
                                                            "nova scotia",
                                                            "ontario",
                                                            "prince edward island",
                                                            "quebec",
                                                            "saskatchewan",
                                                            "yukon",
                                                            "northwest territories",
                                                            "nunavut",
                                                            "yukon territory",
                                                            "northwest territory"};

// Australian states and territories, which the catalogue names in place of the country.
constexpr std::array<std::string_view, 8> kAustralianRegions{
    "capital territory", "new south wales", "northern territory", "queensland",
    "south australia",   "tasmania",        "victoria",           "western australia"};

// Trailing words that belong to the name before them ("Korea, South").
constexpr std::array<std::string_view, 7> kCountryTails{"south",
                                                        "north",
                                                        "the",
                                                        "republic of the",
                                                        "the republic of",
                                                        "federated states of",
                                                        "democratic republic of the"};

// The country a station description ends with, reduced by nameKey: ISO codes are written out.
std::string countryKey(std::string_view description)
{
    std::size_t comma = description.rfind(',');
    if (comma == std::string_view::npos)
        return {};
    std::string last(trimmed(description.substr(comma + 1)));
    if (last.size() == 2 && std::isupper(static_cast<unsigned char>(last[0])) &&
        std::isupper(static_cast<unsigned char>(last[1]))) {
        const QLocale::Territory territory = QLocale::codeToTerritory(QString::fromLatin1(last));
        if (territory != QLocale::AnyTerritory)
            return nameKey(QLocale::territoryToString(territory).toStdString());
        return {};
    }
    std::string key = nameKey(last);
    if (std::find(kCountryTails.begin(), kCountryTails.end(), key) != kCountryTails.end() &&
        comma > 0) {
        const std::size_t before = description.rfind(',', comma - 1);
        const std::string_view previous =
            description.substr(before == std::string_view::npos ? 0 : before + 1,
                               comma - (before == std::string_view::npos ? 0 : before + 1));
        key = nameKey(previous) + " " + key;
    }
    return key;
}

// Names the data and the catalogue spell differently, in nameKey form.
std::string canonicalCountry(std::string key)
{
    static const std::array<std::pair<std::string_view, std::string_view>, 19> aliases{{
        {"united states of america", "united states"},
        {"us", "united states"},
        {"russian federation", "russia"},
        {"korea south", "south korea"},
        {"republic of korea", "south korea"},
        {"korea north", "north korea"},
        {"great britain", "united kingdom"},
        {"england", "united kingdom"},
        {"scotland", "united kingdom"},
        {"wales", "united kingdom"},
        {"czechia", "czech republic"},
        {"turkiye", "turkey"},
        {"viet nam", "vietnam"},
        {"bosnia and herzegowina", "bosnia and herzegovina"},
        {"congo democratic republic of the", "democratic republic of the congo"},
        {"holland", "netherlands"},
        {"bahamas the", "bahamas"},
        {"cayman island", "cayman islands"},
        {"antigua", "antigua and barbuda"},
    }};
    for (const auto& [from, to] : aliases) {
        if (key == from)
            return std::string(to);
    }
    return key;
}

// Accented letters ("Liège", "Mayagüez") as their plain letter.
std::string plainLetters(std::string key)
{
    if (std::none_of(key.begin(), key.end(), [](char c) { return (c & 0x80) != 0; }))
        return key;
    const QString decomposed = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()))
                                   .normalized(QString::NormalizationForm_D);
    QString plain;
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c.toLower();
    }
    return plain.toStdString();
}

// Umlauts written out ("Muenster", "Koeln") read as the plain vowel, as the catalogue writes
// them ("Munster"); applied to both sides of a comparison.
std::string foreignKey(std::string key)
{
    key = plainLetters(std::move(key));
    for (const std::string_view pair : {"ue", "oe", "ae"}) {
        for (std::size_t at = key.find(pair); at != std::string::npos; at = key.find(pair, at))
            key.erase(at + 1, 1);
    }
    return key;
}

// English names of cities whose stations go by the local name, in foreignKey form.
constexpr std::array<std::pair<std::string_view, std::string_view>, 26> kLocalNames{{
    {"munich", "munchen"},     {"cologne", "koln"},        {"vienna", "wien"},
    {"brussels", "bruxelles"}, {"geneva", "geneve"},       {"milan", "milano"},
    {"turin", "torino"},       {"venice", "venezia"},      {"naples", "napoli"},
    {"florence", "firenze"},   {"rome", "roma"},           {"genoa", "genova"},
    {"nuremberg", "nurnberg"}, {"bucharest", "bucuresti"}, {"lisbon", "lisboa"},
    {"prague", "praha"},       {"warsaw", "warszawa"},     {"copenhagen", "kobenhavn"},
    {"athens", "athinai"},     {"moscow", "moskva"},       {"belgrade", "beograd"},
    {"antwerp", "antwerpen"},  {"ostend", "oostende"},     {"gothenburg", "goteborg"},
    {"seville", "sevilla"},    {"kiev", "kyiv"},
}};

// Words that begin many place names and name no place alone.
constexpr std::array<std::string_view, 16> kGenericFirstWords{
    "saint", "santa", "santo", "port", "porto", "puerto", "cape",  "capo",
    "fort",  "mount", "lake",  "isla", "ilha",  "point",  "north", "south"};

// The provinces and states the catalogue lists places under, with the abbreviations station
// descriptions write them with ("Terrace, B. C., Canada", "Perth Jandakot Airport, Perth, WA,
// AU"), in nameKey form without spaces. A station marked with another province is no match.
struct SubRegion
{
    std::string_view country;
    std::string_view region;
    std::array<std::string_view, 4> codes;
};
constexpr std::array<SubRegion, 21> kSubRegions{{
    {"canada", "alberta", {"alta", "ab", "alberta"}},
    {"canada", "british columbia", {"bc", "britishcolumbia"}},
    {"canada", "manitoba", {"man", "mb", "manitoba"}},
    {"canada", "new brunswick", {"nb", "newbrunswick"}},
    {"canada", "newfoundland", {"nfld", "nl", "newfoundland"}},
    {"canada", "nova scotia", {"ns", "novascotia"}},
    {"canada", "ontario", {"ont", "on", "ontario"}},
    {"canada", "prince edward island", {"pei", "pe", "princeedwardisland"}},
    {"canada", "quebec", {"que", "qc", "quebec"}},
    {"canada", "saskatchewan", {"sask", "sk", "saskatchewan"}},
    {"canada", "yukon territory", {"yt", "yukon"}},
    {"canada", "northwest territory", {"nwt", "nt"}},
    {"canada", "nunavut", {"nu", "nunavut"}},
    {"australia", "new south wales", {"nsw"}},
    {"australia", "queensland", {"qld"}},
    {"australia", "victoria", {"vic"}},
    {"australia", "south australia", {"sa"}},
    {"australia", "western australia", {"wa"}},
    {"australia", "tasmania", {"tas"}},
    {"australia", "northern territory", {"nt"}},
    {"australia", "capital territory", {"act"}},
}};

// The province or state a description of a station in `country` marks, by the field before the
// country; empty when it marks none.
std::string_view subRegionOf(std::string_view country, std::string_view description)
{
    const std::size_t last = description.rfind(", ");
    if (last == std::string_view::npos || last == 0)
        return {};
    const std::size_t before = description.rfind(", ", last - 1);
    const std::size_t start = before == std::string_view::npos ? 0 : before + 2;
    std::string code = nameKey(description.substr(start, last - start));
    code.erase(std::remove(code.begin(), code.end(), ' '), code.end());
    for (const SubRegion& sub : kSubRegions) {
        if (sub.country == country &&
            std::find(sub.codes.begin(), sub.codes.end(), code) != sub.codes.end())
            return sub.region;
    }
    return {};
}

// `key` with each word that has a local name replaced by it.
std::string localNames(const std::string& key)
{
    std::string out;
    std::size_t start = 0;
    while (start <= key.size()) {
        const std::size_t end = std::min(key.find(' ', start), key.size());
        const std::string_view word = std::string_view(key).substr(start, end - start);
        std::string_view replaced = word;
        for (const auto& [english, local] : kLocalNames) {
            if (word == english)
                replaced = local;
        }
        if (!out.empty())
            out += ' ';
        out += replaced;
        start = end + 1;
    }
    return out;
}

double squaredDistance(double lat1, double lon1, double lat2, double lon2)
{
    const double dLat = lat1 - lat2;
    const double dLon = (lon1 - lon2) * std::cos((lat1 + lat2) * 0.5 / kDegreesPerRadian);
    return dLat * dLat + dLon * dLon;
}

std::optional<std::uint32_t> zipNumber(std::string_view zip)
{
    if (zip.size() != 5)
        return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : zip) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return number;
}

// The country of a catalogue region, in nameKey form: a Canadian province or an Australian state
// stands for its country.
std::string regionCountry(std::string_view region)
{
    const std::string key = canonicalCountry(nameKey(region));
    if (std::find(kCanadianRegions.begin(), kCanadianRegions.end(), key) != kCanadianRegions.end())
        return "canada";
    if (std::find(kAustralianRegions.begin(), kAustralianRegions.end(), key) !=
        kAustralianRegions.end())
        return "australia";
    return key;
}

// A US place or station name reduced for comparison: nameKey, with the short forms the
// catalogue and the station descriptions use written one way ("Mc_Allen" and "McAllen" as
// "mcallen", "Mt_Vernon" as "mount vernon", "Ft. Worth" as "fort worth", "Saint" as "st").
std::string usKey(std::string_view text)
{
    const std::string key = plainLetters(nameKey(text));
    std::string out;
    std::size_t start = 0;
    bool joinNext = false;
    while (start < key.size()) {
        const std::size_t end = std::min(key.find(' ', start), key.size());
        std::string_view word = std::string_view(key).substr(start, end - start);
        start = end + 1;
        if (word == "mt")
            word = "mount";
        else if (word == "ft")
            word = "fort";
        else if (word == "saint")
            word = "st";
        if (!out.empty() && !joinNext)
            out += ' ';
        out += word;
        joinNext = word == "mc" && start < key.size();
    }
    return out;
}

// The names a US catalogue city is looked for by, best first: the whole name, then each city of
// a name that joins two sharing one airport ("Dallas-Ft_Worth", "Raleigh-Durham", "Kailua-Kona").
std::vector<std::string> usNames(std::string_view city)
{
    std::vector<std::string> names;
    const auto add = [&names](std::string_view text) {
        std::string key = usKey(text);
        if (!key.empty() && std::find(names.begin(), names.end(), key) == names.end())
            names.push_back(std::move(key));
    };
    add(city);
    std::size_t start = 0;
    while (start < city.size()) {
        const std::size_t end = std::min(city.find_first_of("-/", start), city.size());
        if (start > 0 || end < city.size())
            add(city.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string placeKey(std::string_view state, std::string_view name)
{
    return lowerCase(state) + "|" + usKey(name);
}

// Words of a station description (its key) that mark the main field of a place, and those that
// mark a lesser one: a heliport, a military base, a downtown or executive field, an automatic
// or climate site beside the airport.
constexpr std::array<std::string_view, 3> kInternationalWords{"international", "intl",
                                                              "inter national"};
constexpr std::array<std::string_view, 9> kAirportWords{"airport",   "arpt",         "aeropuerto",
                                                        "aeroporto", "aeroport",     "flughafen",
                                                        "jetport",   "air terminal", "airfield"};
constexpr std::array<std::string_view, 17> kMinorFieldWords{
    "heliport", "air force base", "afb",       "ab",        "air base", "naval",
    "nas",      "mcas",           "army",      "aaf",       "downtown", "executive",
    "airpark",  "campus",         "automatic", "automated", "climate"};

// How much a station whose description (key) names the place looks like its main station.
int stationScore(std::string_view description, std::string_view name, std::string_view icao)
{
    int score = 0;
    if (description.starts_with(name))
        score += 4;
    // An international airport outranks a field whose description merely starts with the name
    // ("Anchorage, Merrill Field" beside "Ted Stevens Anchorage International").
    if (containsAny(description, kInternationalWords))
        score += 5;
    if (containsAny(description, kAirportWords))
        score += 1;
    if (containsAny(description, kMinorFieldWords))
        score -= 4;
    // A letters-only identifier is an airport's, which reports round the clock; US identifiers
    // with digits ("K1V4") are small automatic sites.
    if (std::all_of(icao.begin(), icao.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        score += 2;
    return score;
}

} // namespace

StationIndex StationIndex::load(const QString& dataDir)
{
    StationIndex index;
    // About the sizes of the 2023 tables, so the maps do not grow step by step.
    index.m_stations.reserve(24000);
    index.m_places.reserve(72000);
    index.m_placeByKey.reserve(90000);
    index.m_zips.reserve(34000);

    forEachSection(tablePath(dataDir, "stations.gz"), [&index](const Section& s) {
        const auto location = readLocation(s.location);
        if (s.name.size() != 4 || !location)
            return;
        Station station;
        station.icao = s.name;
        std::transform(station.icao.begin(), station.icao.end(), station.icao.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
        station.description = s.description;
        station.latitudeDeg = location->first;
        station.longitudeDeg = location->second;
        station.zone = s.zone;
        index.m_stations.push_back(std::move(station));
    });
    std::sort(index.m_stations.begin(), index.m_stations.end(),
              [](const Station& a, const Station& b) { return a.icao < b.icao; });
    for (std::size_t i = 0; i < index.m_stations.size(); ++i) {
        const std::string& description = index.m_stations[i].description;
        const std::string country = canonicalCountry(countryKey(description));
        const auto number = static_cast<std::int32_t>(i);
        if (country == "united states") {
            // "Boston Logan International, MA, United States": by state, the name before it.
            const std::size_t last = description.rfind(", ");
            const std::size_t before = last == std::string::npos || last == 0
                                           ? std::string::npos
                                           : description.rfind(", ", last - 1);
            if (before != std::string::npos && last - before == 4)
                index.m_usStationsByState[lowerCase(description.substr(before + 2, 2))].push_back(
                    {number, usKey(std::string_view(description).substr(0, before)), {}, {}});
        } else if (!country.empty()) {
            // "Berlin-Schoenefeld", "Milano / Malpensa": the place the description starts with.
            const std::string_view lead =
                std::string_view(description).substr(0, description.find_first_of("/-,("));
            index.m_stationsByCountry[country].push_back(
                {number, foreignKey(nameKey(description)), foreignKey(nameKey(lead)),
                 std::string(subRegionOf(country, description))});
        }
    }
    for (const MainStation& main : MainStations()) {
        const std::int32_t number = index.stationNumber(main.icao);
        if (number < 0)
            continue; // tables without it choose by the general rule
        const std::string key =
            main.region.size() == 2
                ? "us|" + lowerCase(main.region) + "|" + usKey(main.city)
                : regionCountry(main.region) + "|" + foreignKey(nameKey(main.city));
        index.m_mainStations.emplace(key, number);
    }

    for (const WmoStation& row : ReadWmoStations(WmoStationsText())) {
        const std::int32_t number = index.stationNumber(row.icao);
        if (number >= 0) // tables without the station fall back to the names
            index.m_wmoStations.emplace(row.number, WmoEntry{number, row.sameSite});
    }

    forEachSection(tablePath(dataDir, "places.gz"), [&index](const Section& s) {
        // "Boston city, MA": the name, its kind and the state.
        const std::string_view description = s.description;
        const std::size_t comma = description.rfind(", ");
        const std::int32_t station = index.stationNumber(s.station);
        if (comma == std::string_view::npos || description.size() != comma + 4 || station < 0)
            return;
        std::string_view name = description.substr(0, comma);
        const std::string_view state = description.substr(comma + 2);
        constexpr std::string_view balance = " (balance)";
        if (name.ends_with(balance))
            name.remove_suffix(balance.size());
        std::uint8_t rank = kUnknownKindRank;
        for (const PlaceKind& kind : kPlaceKinds) {
            if (name.size() > kind.suffix.size() && name.ends_with(kind.suffix)) {
                name.remove_suffix(kind.suffix.size());
                rank = kind.rank;
                break;
            }
        }
        const auto location = readLocation(s.location);
        PlaceEntry entry;
        entry.name = name;
        entry.state[0] = state[0];
        entry.state[1] = state[1];
        entry.rank = rank;
        entry.latitudeDeg = location ? static_cast<float>(location->first) : 0.0f;
        entry.longitudeDeg = location ? static_cast<float>(location->second) : 0.0f;
        entry.station = station;
        entry.zone = s.zone;
        const auto number = static_cast<std::uint32_t>(index.m_places.size());
        // A place whose nearest station is out of reach still names zip code areas.
        const bool inReach = s.stationDistance <= kReachRadians;
        auto offer = [&index, number, inReach](const std::string& key, std::uint8_t offeredRank) {
            if (!inReach)
                return;
            const auto [at, added] = index.m_placeByKey.try_emplace(key, number);
            if (!added && index.m_places[at->second].rank > offeredRank)
                at->second = number;
        };
        const std::string stateCode(state);
        if (rank <= kSettlementRank)
            index.m_settlementsByState[lowerCase(stateCode)].push_back(number);
        index.m_places.push_back(std::move(entry));
        offer(placeKey(stateCode, name), rank);
        // "Nashville-Davidson", "Louisville/Jefferson County": also by the first part.
        const std::size_t join = name.find_first_of("-/");
        if (join != std::string_view::npos && join > 0)
            offer(placeKey(stateCode, name.substr(0, join)), kPartOfNameRank);
    });

    forEachSection(tablePath(dataDir, "zctas.gz"), [&index](const Section& s) {
        const auto number = zipNumber(s.name);
        const std::int32_t station = index.stationNumber(s.station);
        if (!number || station < 0)
            return;
        const auto location = readLocation(s.location);
        ZipEntry entry;
        entry.latitudeDeg = location ? static_cast<float>(location->first) : 0.0f;
        entry.longitudeDeg = location ? static_cast<float>(location->second) : 0.0f;
        entry.station = station;
        entry.zone = s.zone;
        index.m_zips.emplace(*number, std::move(entry));
    });

    forEachSection(tablePath(dataDir, "zones.gz"), [&index](const Section& s) {
        // Public forecast zones only: two letters, 'z', three digits.
        const std::string& id = s.name;
        if (id.size() != 6 || id[2] != 'z' ||
            !std::all_of(id.begin() + 3, id.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return;
        // Marine zones share the form ("anz230"); their prefixes are no state's code.
        if (FindUsState(id.substr(0, 2))) {
            index.m_zonesByState[id.substr(0, 2)].push_back(id);
            index.m_zoneDescriptions.emplace(id, s.description);
        }
    });
    for (auto& [state, zones] : index.m_zonesByState)
        std::sort(zones.begin(), zones.end());
    return index;
}

std::int32_t StationIndex::stationNumber(std::string_view icao) const
{
    if (icao.size() != 4)
        return -1;
    std::string key(icao);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    const auto found = std::lower_bound(
        m_stations.begin(), m_stations.end(), key,
        [](const Station& station, const std::string& wanted) { return station.icao < wanted; });
    if (found == m_stations.end() || found->icao != key)
        return -1;
    return static_cast<std::int32_t>(found - m_stations.begin());
}

std::optional<Station> StationIndex::stationWithZone(std::int32_t station,
                                                     const std::string& zone) const
{
    if (station < 0 || static_cast<std::size_t>(station) >= m_stations.size())
        return std::nullopt;
    Station found = m_stations[static_cast<std::size_t>(station)];
    if (!zone.empty())
        found.zone = zone;
    return found;
}

std::optional<Station> StationIndex::forUsCity(std::string_view state, std::string_view city) const
{
    if (state.size() != 2)
        return std::nullopt;
    const std::string stateKey = lowerCase(state);
    const std::vector<std::string> names = usNames(utf8FromLatin1(city));
    if (names.empty())
        return std::nullopt;

    // The census place gives the forecast zone, and the station when nothing better names one.
    const PlaceEntry* place = nullptr;
    for (const std::string& name : names) {
        const auto found = m_placeByKey.find(stateKey + "|" + name);
        if (found != m_placeByKey.end()) {
            place = &m_places[found->second];
            break;
        }
    }
    std::int32_t station = -1;
    // First the hand-checked table, then a station of the state whose description names the
    // city (most catalogue cities are named after their airport), then the place's nearest.
    const auto main = m_mainStations.find("us|" + stateKey + "|" + names.front());
    if (main != m_mainStations.end())
        station = main->second;
    const auto stations = m_usStationsByState.find(stateKey);
    if (station < 0 && stations != m_usStationsByState.end()) {
        for (const std::string& name : names) {
            int bestScore = 0;
            for (const NamedStation& candidate : stations->second) {
                if (!containsWords(candidate.key, name))
                    continue;
                const int score =
                    stationScore(candidate.key, name,
                                 m_stations[static_cast<std::size_t>(candidate.station)].icao);
                if (station < 0 || score > bestScore) {
                    station = candidate.station;
                    bestScore = score;
                }
            }
            if (station >= 0)
                break;
        }
    }
    if (station < 0 && place != nullptr)
        station = place->station;
    return stationWithZone(station, place != nullptr ? place->zone : std::string());
}

const StationIndex::ZipEntry* StationIndex::zipArea(std::string_view zip) const
{
    const auto number = zipNumber(zip);
    if (!number)
        return nullptr;
    const auto found = m_zips.find(*number);
    return found == m_zips.end() ? nullptr : &found->second;
}

std::optional<Station> StationIndex::forZip(std::string_view zip) const
{
    const ZipEntry* area = zipArea(zip);
    if (!area)
        return std::nullopt;
    return stationWithZone(area->station, area->zone);
}

std::optional<std::pair<std::string, std::string>>
StationIndex::placeOfZip(std::string_view zip) const
{
    const ZipEntry* found = zipArea(zip);
    if (!found)
        return std::nullopt;
    const ZipEntry& area = *found;
    // The area's zone names its state ("maz015"); without one, its station's description does.
    std::string state;
    if (area.zone.size() >= 2) {
        state = area.zone.substr(0, 2);
    } else {
        const std::string& description =
            m_stations[static_cast<std::size_t>(area.station)].description;
        const std::size_t last = description.rfind(", ");
        const std::size_t before = last == std::string::npos || last == 0
                                       ? std::string::npos
                                       : description.rfind(", ", last - 1);
        if (before != std::string::npos && last - before == 4)
            state = lowerCase(description.substr(before + 2, 2));
    }
    if (state.size() != 2)
        return std::nullopt;
    const auto settlements = m_settlementsByState.find(state);
    if (settlements == m_settlementsByState.end())
        return std::nullopt;
    const PlaceEntry* nearest = nullptr;
    double best = 0;
    for (const std::uint32_t number : settlements->second) {
        const PlaceEntry& place = m_places[number];
        const double d = squaredDistance(place.latitudeDeg, place.longitudeDeg, area.latitudeDeg,
                                         area.longitudeDeg);
        if (nearest == nullptr || d < best) {
            nearest = &place;
            best = d;
        }
    }
    if (nearest == nullptr)
        return std::nullopt;
    return std::make_pair(nearest->name, std::string(nearest->state, 2));
}

std::optional<Station> StationIndex::forForeignPlace(std::string_view city,
                                                     std::string_view country,
                                                     std::string_view wmoNumber) const
{
    const std::string countryName = regionCountry(utf8FromLatin1(country));
    const auto stations = m_stationsByCountry.find(countryName);
    const std::string cityName = foreignKey(nameKey(utf8FromLatin1(city)));
    if (cityName.empty())
        return std::nullopt;
    const auto main = m_mainStations.find(countryName + "|" + cityName);
    if (main != m_mainStations.end())
        return stationWithZone(main->second, {});
    // The catalogue's own station, where it sends METAR reports under an ICAO code. Its
    // nearest METAR station is only the last resort: where a description names the city, that
    // is mostly its main airport, the nearest often a small field beside the synoptic site.
    const auto wmo =
        wmoNumber.empty() ? m_wmoStations.end() : m_wmoStations.find(std::string(wmoNumber));
    if (wmo != m_wmoStations.end() && wmo->second.sameSite)
        return stationWithZone(wmo->second.station, {});
    const auto nearest = [&]() -> std::optional<Station> {
        if (wmo == m_wmoStations.end())
            return std::nullopt;
        return stationWithZone(wmo->second.station, {});
    };
    if (stations == m_stationsByCountry.end())
        return nearest();

    // A province or state the catalogue lists the place under rules out stations marked with
    // another ("Estevan, Saskatchewan" is not "Estevan Point, B. C.").
    const std::string region = nameKey(utf8FromLatin1(country));
    const bool regionKnown =
        std::any_of(kSubRegions.begin(), kSubRegions.end(),
                    [&](const SubRegion& sub) { return sub.region == region; });

    // The names to look for, best first: the catalogue's, the local one ("Munich" as
    // "Munchen"), the name without an added "Int. Arpt" or "Ab", and the first word of a name that
    // adds an airport ("Berlin Tegel"), which must then be the place the description starts with
    // ("Berlin-Schoenefeld", not "Grand Rapids" for "Grand Manan").
    struct Wanted
    {
        std::string name;
        int bonus;
        bool leadOnly;
    };
    std::vector<Wanted> wanted{{cityName, 20, false}};
    const std::string local = localNames(cityName);
    if (local != cityName)
        wanted.push_back({local, 20, false});
    for (const std::string_view tail : {" int arpt", " arpt", " int", " ab"}) {
        if (local.size() > tail.size() && local.ends_with(tail)) {
            wanted.push_back({local.substr(0, local.size() - tail.size()), 20, false});
            break;
        }
    }
    const std::size_t space = local.find(' ');
    if (space != std::string::npos && space >= 4 &&
        std::find(kGenericFirstWords.begin(), kGenericFirstWords.end(),
                  std::string_view(local).substr(0, space)) == kGenericFirstWords.end())
        wanted.push_back({local.substr(0, space), 0, true});

    std::int32_t best = -1;
    int bestScore = 0;
    for (const NamedStation& candidate : stations->second) {
        if (regionKnown && !candidate.region.empty() && candidate.region != region)
            continue;
        for (const Wanted& w : wanted) {
            if (w.leadOnly ? candidate.lead != w.name : !containsWords(candidate.key, w.name))
                continue;
            // The whole name before its first word, then the signs of the main station.
            const int score =
                100 + w.bonus +
                stationScore(candidate.key, w.name,
                             m_stations[static_cast<std::size_t>(candidate.station)].icao);
            if (score > bestScore) {
                best = candidate.station;
                bestScore = score;
            }
            break;
        }
    }
    if (best < 0)
        return nearest();
    return stationWithZone(best, {});
}

std::optional<Station> StationIndex::byIcao(std::string_view icao) const
{
    return stationWithZone(stationNumber(icao), {});
}

std::vector<std::string> StationIndex::zonesOfState(std::string_view state) const
{
    const auto found = m_zonesByState.find(lowerCase(state));
    return found == m_zonesByState.end() ? std::vector<std::string>{} : found->second;
}

std::optional<std::string> StationIndex::zoneDescription(std::string_view zone) const
{
    const auto found = m_zoneDescriptions.find(lowerCase(zone));
    if (found == m_zoneDescriptions.end())
        return std::nullopt;
    return found->second;
}

} // namespace cirrolux::gateway
