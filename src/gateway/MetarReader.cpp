#include "MetarReader.h"

#include <QDate>
#include <QTime>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>

namespace cirrolux::gateway {

namespace {

using Token = std::string_view;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool allDigits(Token text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

bool allSlashes(Token text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c != '/')
            return false;
    }
    return true;
}

// The number of `text`, all digits and at most 6 of them; -1 otherwise.
int number(Token text)
{
    if (!allDigits(text) || text.size() > 6)
        return -1;
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

std::vector<Token> tokens(std::string_view text)
{
    std::vector<Token> out;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' ||
                                    text[at] == '\n' || text[at] == '='))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && text[at] != ' ' && text[at] != '\t' && text[at] != '\r' &&
               text[at] != '\n' && text[at] != '=')
            ++at;
        if (at > start)
            out.push_back(text.substr(start, at - start));
    }
    return out;
}

// "ddhhmmZ".
bool readTime(Token token, Metar& metar)
{
    if (token.size() != 7 || token[6] != 'Z' || !allDigits(token.substr(0, 6)))
        return false;
    const int day = number(token.substr(0, 2));
    const int hour = number(token.substr(2, 2));
    const int minute = number(token.substr(4, 2));
    if (day < 1 || day > 31 || hour > 24 || minute > 59)
        return false;
    metar.day = day;
    metar.hour = hour;
    metar.minute = minute;
    return true;
}

// "28012G25KT", "VRB03KT", "00000KT", "/////KT", "27005MPS", "09015KMH".
bool readWind(Token token, Metar& metar)
{
    double toKnots = 1.0;
    if (token.ends_with("KT")) {
        token.remove_suffix(2);
    } else if (token.ends_with("MPS")) {
        token.remove_suffix(3);
        toKnots = 1.943844;
    } else if (token.ends_with("KMH")) {
        token.remove_suffix(3);
        toKnots = 1.0 / 1.852;
    } else {
        return false;
    }
    if (token.size() < 5)
        return false;
    if (allSlashes(token))
        return true; // the group is there but its values are missing
    const Token direction = token.substr(0, 3);
    Token rest = token.substr(3);
    const std::size_t gustAt = rest.find('G');
    const Token speed = rest.substr(0, gustAt);
    const Token gust = gustAt == Token::npos ? Token() : rest.substr(gustAt + 1);
    // P99: a speed of 100 units or more, written "P99" in place of the digits.
    auto speedValue = [](Token text) {
        if (text.starts_with('P'))
            text.remove_prefix(1);
        return (text.size() == 2 || text.size() == 3) ? number(text) : -1;
    };
    const int speedUnits = speedValue(speed);
    if (speedUnits < 0)
        return false;
    Metar::Wind wind;
    if (direction != "VRB") {
        const int degrees = number(direction);
        if (degrees < 0 || degrees > 360)
            return false;
        if (speedUnits > 0)
            wind.directionDeg = degrees;
    }
    wind.speedKt = speedUnits * toKnots;
    // "32020G//KT": the gust is missing, the wind itself is not.
    if (gustAt != Token::npos && !allSlashes(gust)) {
        const int gustUnits = speedValue(gust);
        if (gustUnits < 0)
            return false;
        wind.gustKt = gustUnits * toKnots;
    }
    if (wind.speedKt > 250)
        return false;
    metar.wind = wind;
    return true;
}

// "280V350".
bool readVariation(Token token, Metar& metar)
{
    if (token.size() != 7 || token[3] != 'V')
        return false;
    const int from = number(token.substr(0, 3));
    const int to = number(token.substr(4, 3));
    if (from < 0 || to < 0 || from > 360 || to > 360)
        return false;
    if (metar.wind) {
        metar.wind->variableFromDeg = from;
        metar.wind->variableToDeg = to;
    }
    return true;
}

constexpr double kMetresPerMile = 1609.344;
constexpr double kHpaPerInHg = 33.8639;

// "1/2", "3/16": a fraction, kept exact; nothing when `text` is none ("1/0" included).
std::optional<Metar::Miles> fraction(Token text)
{
    const std::size_t slash = text.find('/');
    if (slash == Token::npos)
        return std::nullopt;
    const int top = number(text.substr(0, slash));
    const int bottom = number(text.substr(slash + 1));
    if (top < 0 || bottom <= 0 || top > 99 || bottom > 99)
        return std::nullopt;
    return Metar::Miles{top, bottom};
}

// "10SM", "1/2SM", "M1/4SM", "P6SM"; `whole` is the preceding "1" of "1 1/2SM", or empty.
bool readMiles(Token token, Token whole, Metar& metar)
{
    if (!token.ends_with("SM"))
        return false;
    token.remove_suffix(2);
    bool below = false;
    if (token.starts_with('M')) {
        below = true;
        token.remove_prefix(1);
    } else if (token.starts_with('P')) {
        token.remove_prefix(1);
    }
    std::optional<Metar::Miles> miles = fraction(token);
    if (!miles) {
        const int integer = token.size() <= 3 ? number(token) : -1;
        if (integer < 0)
            return false;
        miles = Metar::Miles{integer, 1};
    } else if (!whole.empty()) {
        miles->numerator += number(whole) * miles->denominator;
    }
    metar.visibilityMiles = miles;
    metar.visibilityMetres = miles->numerator * kMetresPerMile / miles->denominator;
    metar.visibilityBelow = below;
    return true;
}

// "9999", "0800", "4000NE", "1500NDV".
bool readMetres(Token token, Metar& metar)
{
    if (token.size() < 4 || !allDigits(token.substr(0, 4)))
        return false;
    const Token rest = token.substr(4);
    static constexpr std::array<Token, 10> suffixes{"",  "N",  "NE", "E",  "SE",
                                                    "S", "SW", "W",  "NW", "NDV"};
    bool known = false;
    for (const Token suffix : suffixes)
        known = known || rest == suffix;
    if (!known)
        return false;
    // A direction names the lowest of several visibilities; the first group is the prevailing.
    if (!metar.visibilityMetres)
        metar.visibilityMetres = number(token.substr(0, 4));
    return true;
}

struct Code
{
    Token code;
    Token words;
};

constexpr std::array<Code, 8> kDescriptors{{
    {"MI", "Shallow"},
    {"PR", "Partial"},
    {"BC", "Patches of"},
    {"DR", "Low Drifting"},
    {"BL", "Blowing"},
    {"SH", "Showers"},
    {"TS", "Thunderstorm"},
    {"FZ", "Freezing"},
}};

constexpr std::array<Code, 22> kPhenomena{{
    {"DZ", "Drizzle"},
    {"RA", "Rain"},
    {"SN", "Snow"},
    {"SG", "Snow Grains"},
    {"IC", "Ice Crystals"},
    {"PL", "Ice Pellets"},
    {"GR", "Hail"},
    {"GS", "Small Hail"},
    {"UP", "Unknown Precipitation"},
    {"BR", "Mist"},
    {"FG", "Fog"},
    {"FU", "Smoke"},
    {"VA", "Volcanic Ash"},
    {"DU", "Widespread Dust"},
    {"SA", "Sand"},
    {"HZ", "Haze"},
    {"PY", "Spray"},
    {"PO", "Dust Whirls"},
    {"SQ", "Squalls"},
    {"FC", "Funnel Cloud"},
    {"SS", "Sandstorm"},
    {"DS", "Duststorm"},
}};

Token wordsOf(Token code, const auto& table)
{
    for (const Code& entry : table) {
        if (entry.code == code)
            return entry.words;
    }
    return {};
}

// "-SN", "+TSRA", "VCSH", "FZFG", "-SHRASN", "BLSN".
bool readWeather(Token token, Metar& metar)
{
    const Token code = token;
    Token intensity;
    if (token.starts_with('-') || token.starts_with('+')) {
        intensity = token.substr(0, 1);
        token.remove_prefix(1);
    } else if (token.starts_with("VC")) {
        intensity = "VC";
        token.remove_prefix(2);
    }
    Token descriptor;
    if (token.size() >= 2 && !wordsOf(token.substr(0, 2), kDescriptors).empty()) {
        descriptor = token.substr(0, 2);
        token.remove_prefix(2);
    }
    if (token.size() % 2 != 0 || token.size() > 8 || (token.empty() && descriptor.empty()))
        return false;
    std::vector<Token> phenomena;
    for (std::size_t at = 0; at < token.size(); at += 2) {
        const Token words = wordsOf(token.substr(at, 2), kPhenomena);
        if (words.empty())
            return false;
        phenomena.push_back(token.substr(at, 2));
    }

    std::string names;
    for (std::size_t i = 0; i < phenomena.size(); ++i) {
        if (i > 0)
            names += " and ";
        names += wordsOf(phenomena[i], kPhenomena);
    }
    std::string text;
    if (descriptor == "TS") {
        text = names.empty() ? "Thunderstorm" : "Thunderstorms and " + names;
    } else if (descriptor == "SH") {
        text = names.empty() ? "Showers" : names + " Showers";
    } else if (!descriptor.empty()) {
        text = std::string(wordsOf(descriptor, kDescriptors)) + (names.empty() ? "" : " ") + names;
    } else if (intensity == "+" && phenomena.size() == 1 && phenomena[0] == "FC") {
        text = "Tornado";
        intensity = {};
    } else {
        text = names;
    }
    if (intensity == "-")
        text = "Light " + text;
    else if (intensity == "+")
        text = "Heavy " + text;
    else if (intensity == "VC")
        text += " in the Vicinity";
    metar.weather.push_back({std::string(code), std::move(text)});
    return true;
}

// The cloud genera a layer may name: "CB" and "TCU" in the WMO code, the others from stations
// that report every layer's genus ("FEW005SC", "BKN070AC").
bool isCloudType(Token type)
{
    static constexpr std::array<Token, 11> types{"CB", "TCU", "CU", "SC", "ST", "NS",
                                                 "AS", "AC",  "CI", "CC", "CS"};
    return std::find(types.begin(), types.end(), type) != types.end();
}

// "FEW015", "SCT035CB", "FEW005SC", "BKN250///", "OVC///", "VV002", "CLR", "SKC", "NSC", "NCD".
bool readSky(Token token, Metar& metar)
{
    if (token == "CLR" || token == "SKC" || token == "NSC" || token == "NCD") {
        metar.skyClear = true;
        return true;
    }
    static constexpr std::array<std::pair<Token, Metar::Cover>, 5> covers{{
        {"FEW", Metar::Cover::Few},
        {"SCT", Metar::Cover::Scattered},
        {"BKN", Metar::Cover::Broken},
        {"OVC", Metar::Cover::Overcast},
        {"VV", Metar::Cover::VerticalVisibility},
    }};
    for (const auto& [prefix, cover] : covers) {
        if (!token.starts_with(prefix))
            continue;
        Token rest = token.substr(prefix.size());
        if (rest.size() < 3)
            return false;
        Metar::SkyLayer layer;
        layer.cover = cover;
        const Token height = rest.substr(0, 3);
        if (allDigits(height))
            layer.heightFt = number(height) * 100;
        else if (!allSlashes(height))
            return false;
        rest.remove_prefix(3);
        // The cloud genus, "///" when the station cannot tell it, or both ("SCT///CB").
        const Token type = rest.substr(0, rest.find('/'));
        if (!type.empty()) {
            if (!isCloudType(type))
                return false;
            rest.remove_prefix(type.size());
            layer.cloudType = type;
        }
        if (!rest.empty() && !allSlashes(rest))
            return false;
        metar.sky.push_back(std::move(layer));
        return true;
    }
    return false;
}

// "M05", "12"; nothing for anything else.
std::optional<double> celsius(Token text)
{
    bool minus = false;
    if (text.starts_with('M')) {
        minus = true;
        text.remove_prefix(1);
    }
    if (text.size() != 2 || !allDigits(text))
        return std::nullopt;
    const int value = number(text);
    return minus ? -value : value;
}

// "12/08", "M05/M12", "12/", "12///", "/////", "/".
bool readTemperatures(Token token, Metar& metar)
{
    const std::size_t slash = token.find('/');
    if (slash == Token::npos || token.size() > 7)
        return false;
    const Token first = token.substr(0, slash);
    const Token second = token.substr(slash + 1);
    const auto temperature = celsius(first);
    const auto dewPoint = celsius(second);
    if ((!temperature && !first.empty() && !allSlashes(first)) ||
        (!dewPoint && !second.empty() && !allSlashes(second) && second != "M"))
        return false;
    if (!temperature && !dewPoint && !allSlashes(token))
        return false;
    // Automatic stations send all-slash groups for what they cannot tell ("//////" for the sky,
    // "///" for the trend), which read like a missing temperature group: a value once read is
    // kept.
    if (temperature && !metar.temperatureC)
        metar.temperatureC = temperature;
    if (dewPoint && !metar.dewPointC)
        metar.dewPointC = dewPoint;
    return true;
}

// "A3012", "Q1013", "Q0998".
bool readPressure(Token token, Metar& metar)
{
    if (token.size() != 5 || (token[0] != 'A' && token[0] != 'Q'))
        return false;
    if (allSlashes(token.substr(1)))
        return true;
    const int value = number(token.substr(1));
    if (value < 0)
        return false;
    if (token[0] == 'A') {
        if (value < 2500 || value > 3300)
            return true; // a garbled group: passed over, not believed
        metar.altimeterInHg = value / 100.0;
    } else {
        if (value < 850 || value > 1100)
            return true;
        metar.qnhHpa = value;
    }
    return true;
}

// Runway visual range "R04R/2000FT", "R24/P1500N", "R09L/0600V1000U": recognised and skipped.
bool isRunwayRange(Token token)
{
    return token.size() >= 5 && token[0] == 'R' && isDigit(token[1]) && isDigit(token[2]) &&
           token.find('/') != Token::npos;
}

bool startsWithDigits(Token token, std::string_view prefix, std::size_t digits)
{
    return token.size() == prefix.size() + digits && token.starts_with(prefix) &&
           allDigits(token.substr(prefix.size()));
}

// Where the observation ends: remarks, the trend forecast (its change groups and time marks)
// and the military colour states that some stations put before it ("Q1018 WHT 27010G20KT").
bool endsObservation(Token token)
{
    static constexpr std::array<Token, 15> words{"RMK",    "NOSIG",  "BECMG", "TEMPO", "INTER",
                                                 "PROB30", "PROB40", "BLU",   "WHT",   "GRN",
                                                 "YLO",    "YLO1",   "YLO2",  "AMB",   "RED"};
    if (token.ends_with('+'))
        token.remove_suffix(1); // "BLU+"
    if (std::find(words.begin(), words.end(), token) != words.end() || token.starts_with("BLACK"))
        return true;
    return startsWithDigits(token, "FM", 4) || startsWithDigits(token, "FM", 6) ||
           startsWithDigits(token, "TL", 4) || startsWithDigits(token, "TL", 6) ||
           startsWithDigits(token, "AT", 4);
}

bool isStation(Token token)
{
    if (token.size() != 4 || !isUpper(token[0]))
        return false;
    for (const char c : token) {
        if (!isUpper(c) && !isDigit(c))
            return false;
    }
    return true;
}

double saturationPressure(double celsius)
{
    return 6.112 * std::exp(17.62 * celsius / (243.12 + celsius));
}

} // namespace

std::optional<int> Metar::relativeHumidity() const
{
    if (!temperatureC || !dewPointC)
        return std::nullopt;
    const double rh = 100.0 * saturationPressure(*dewPointC) / saturationPressure(*temperatureC);
    return std::clamp(static_cast<int>(std::lround(rh)), 1, 100);
}

std::optional<double> Metar::pressureInHg() const
{
    if (altimeterInHg)
        return altimeterInHg;
    if (qnhHpa)
        return *qnhHpa / kHpaPerInHg;
    return std::nullopt;
}

std::optional<int> Metar::pressureHpa() const
{
    if (qnhHpa)
        return static_cast<int>(std::lround(*qnhHpa));
    if (altimeterInHg)
        return static_cast<int>(std::lround(*altimeterInHg * kHpaPerInHg));
    return std::nullopt;
}

std::optional<int> Metar::visibilityTenthsOfMile() const
{
    // Whole numbers only: a double makes 1.75 miles 17.4999... tenths.
    if (visibilityMiles) {
        const long long top = visibilityMiles->numerator;
        const long long bottom = visibilityMiles->denominator;
        return static_cast<int>((20 * top + bottom) / (2 * bottom));
    }
    if (visibilityMetres) {
        // A mile is 1,609.344 m exactly.
        const long long metres = std::llround(*visibilityMetres);
        return static_cast<int>((20'000 * metres + 1'609'344) / (2 * 1'609'344));
    }
    return std::nullopt;
}

std::string Metar::skyText() const
{
    if (!weather.empty())
        return weather.front().text;
    if (cavok || skyClear)
        return "Clear";
    if (sky.empty())
        return "Unknown";
    Cover most = Cover::Few;
    for (const SkyLayer& layer : sky)
        most = std::max(most, layer.cover);
    switch (most) {
    case Cover::Few:
        return "Partly Cloudy";
    case Cover::Scattered:
        return "Scattered Clouds";
    case Cover::Broken:
        return "Mostly Cloudy";
    case Cover::Overcast:
    case Cover::VerticalVisibility:
        return "Overcast";
    }
    return "Unknown";
}

std::optional<Metar> MetarReader::read(std::string_view report)
{
    const std::vector<Token> words = tokens(report);
    std::size_t at = 0;
    bool corrected = false;
    // "COR" stands before the station ("METAR COR KATL ..."), or between station and time
    // ("MRLB COR 262100Z ..."), or after the time.
    auto skipCorrection = [&] {
        if (at < words.size() && words[at] == "COR") {
            corrected = true;
            ++at;
        }
    };
    if (at < words.size() && (words[at] == "METAR" || words[at] == "SPECI"))
        ++at;
    skipCorrection();
    if (at >= words.size() || !isStation(words[at]))
        return std::nullopt;
    Metar metar;
    metar.station = words[at++];
    skipCorrection();
    metar.corrected = corrected;
    if (at < words.size() && readTime(words[at], metar))
        ++at;

    for (; at < words.size(); ++at) {
        const Token token = words[at];
        // Remarks and the trend forecast are not part of the observation.
        if (endsObservation(token))
            break;
        if (token == "NIL") {
            metar.missing = true;
            break;
        }
        if (token == "AUTO") {
            metar.automatic = true;
            continue;
        }
        if (token == "COR") {
            metar.corrected = true;
            continue;
        }
        if (token == "CAVOK") {
            metar.cavok = true;
            metar.visibilityMetres = 10000;
            metar.skyClear = true;
            continue;
        }
        // "1 1/2SM": the whole miles stand in a token of their own.
        if (token.size() <= 2 && allDigits(token) && at + 1 < words.size() &&
            words[at + 1].ends_with("SM") &&
            fraction(words[at + 1].substr(0, words[at + 1].size() - 2))) {
            readMiles(words[at + 1], token, metar);
            ++at;
            continue;
        }
        if (readWind(token, metar) || readVariation(token, metar) || readMiles(token, {}, metar) ||
            isRunwayRange(token) || readMetres(token, metar) || readSky(token, metar) ||
            readTemperatures(token, metar) || readPressure(token, metar) ||
            readWeather(token, metar))
            continue;
        // Anything else (wind shear, recent weather, sea state, "$") is passed over.
    }
    return metar;
}

std::optional<StationReport> MetarReader::readStationFile(std::string_view file)
{
    // Skip blank lines before the time line.
    std::size_t at = 0;
    while (at < file.size() && (file[at] == '\n' || file[at] == '\r' || file[at] == ' '))
        ++at;
    const std::size_t end = file.find('\n', at);
    std::string_view timeLine =
        file.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    while (!timeLine.empty() && (timeLine.back() == '\r' || timeLine.back() == ' '))
        timeLine.remove_suffix(1);
    // "2026/12/09 18:54"
    if (timeLine.size() != 16 || timeLine[4] != '/' || timeLine[7] != '/' || timeLine[10] != ' ' ||
        timeLine[13] != ':')
        return std::nullopt;
    const QDate date(number(timeLine.substr(0, 4)), number(timeLine.substr(5, 2)),
                     number(timeLine.substr(8, 2)));
    const QTime time(number(timeLine.substr(11, 2)), number(timeLine.substr(14, 2)));
    if (!date.isValid() || !time.isValid() || end == std::string_view::npos)
        return std::nullopt;
    auto metar = read(file.substr(end + 1));
    if (!metar)
        return std::nullopt;
    return StationReport{QDateTime(date, time, Qt::UTC), std::move(*metar)};
}

} // namespace cirrolux::gateway
