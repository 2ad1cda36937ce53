#include "conditions/ConditionsParser.h"

#include "conditions/ReadingMath.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <array>

namespace cirrolux {

namespace {

using Reading = ConditionsView::Reading;

constexpr int UnknownTemperature = 999;
constexpr char Degree = '\xB0';
constexpr std::size_t npos = std::string_view::npos;

constexpr std::string_view NotAvailable = "n/a";
constexpr std::string_view ParsingStatus = "...parsing data...";
constexpr std::string_view RestingStatus = "Thank you for using Cirrolux...";
constexpr std::string_view MessageP1 =
    "Error (P1) occurred parsing data.  Please try again in a few minutes.";
constexpr std::string_view MessageP2 =
    "Error (P2) occurred parsing data.  Please try again in a few minutes.";
constexpr std::string_view MessageP3 =
    "Error (P3) occurred parsing data.  Please try again in a few minutes.";
constexpr std::string_view MessageP3a = "Error - P3a parsing data.  Please try again later.";

// Every cut below goes through these two, so a page of any length, ending anywhere, stays in
// bounds: a start past the end gives the empty text, a count past the end stops at the end.

// Up to `count` characters from the 0-based `start`.
std::string_view cut(std::string_view text, std::size_t start, std::size_t count = npos)
{
    if (start >= text.size())
        return {};
    return text.substr(start, count);
}

// From `start` up to, not including, the 0-based `end` (npos when the end mark is missing);
// empty when the end lies before the start.
std::string_view cutUpTo(std::string_view text, std::size_t start, std::size_t end)
{
    if (end == npos || end < start)
        return {};
    return cut(text, start, end - start);
}

// From `start` up to the first `endLabel` of the whole text.
std::string_view cutUpToFirst(std::string_view text, std::size_t start, std::string_view endLabel)
{
    return cutUpTo(text, start, text.find(endLabel));
}

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Trimmed of spaces and control characters at both ends.
std::string_view trimmed(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool isNotAvailable(std::string_view text)
{
    return text == NotAvailable;
}

std::string pageTitle(std::string_view working)
{
    const std::size_t weather = working.find("Weather");
    const std::size_t forecast = working.find("Forecast</title");
    if (weather == npos || forecast == npos)
        return {};
    return std::string(trimmed(working.substr(0, std::min(weather, forecast))));
}

struct SkyWord
{
    std::string_view word;
    int icon;
};

// Order matters: "mostly cloud" and "partly cloud" must be tried before "cloud".
constexpr std::array<SkyWord, 14> SkyWords{{
    {"sun", 11},
    {"clear", 11},
    {"mostly cloud", 3},
    {"scattered clouds", 4},
    {"partly cloud", 4},
    {"cloud", 12},
    {"overcast", 3},
    {"haze", 1},
    {"fog", 1},
    {"snow", 10},
    {"thunderstorm", 2},
    {"rain", 9},
    {"mist", 5},
    {"drizzle", 5},
}};

std::string degreesText(double value, std::string_view unit)
{
    std::string text = WholeNumberText(value);
    text += Degree;
    text += unit;
    return text;
}

} // namespace

std::string ReplaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement)
{
    if (pattern.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(pattern); at != npos; at = text.find(pattern, from)) {
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + pattern.size();
    }
    result.append(text.substr(from));
    return result;
}

std::string CleanPageText(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '<') {
            // Markup goes with its contents; an unclosed tag swallows the rest of the page.
            const std::size_t close = text.find('>', i + 1);
            if (close == npos)
                break;
            i = close + 1;
            continue;
        }
        const std::string_view here = text.substr(i, 5);
        if (here == "#176;") {
            clean += Degree;
            i += 5;
            continue;
        }
        if (here == "nbsp;") {
            clean += ' ';
            i += 5;
            continue;
        }
        switch (c) {
        case '#':
            // Any other numeric entity: a degree sign that covers the next four characters.
            clean += Degree;
            i += 5;
            continue;
        case '&':
            break;
        case '_':
        case '\0':
        case '\r':
        case '\n':
        case '\b':
        case '\t':
        case '\v':
        case '\f':
            clean += ' ';
            break;
        default:
            clean += c;
            break;
        }
        ++i;
    }
    const std::string_view kept = trimmed(clean);
    if (kept.size() == clean.size())
        return clean;
    return std::string(kept);
}

std::string ConvertReading(std::string_view text, ConvertMode mode, int& temperatureF)
{
    // Four characters hold at most four digits, so the number always fits an int.
    const std::optional<double> number = DigitsNumber(cut(text, 0, 4), true);
    if (!number) {
        temperatureF = UnknownTemperature;
        return std::string(NotAvailable);
    }
    const int fahrenheit = static_cast<int>(*number);
    if (mode == ConvertMode::FX) {
        temperatureF = fahrenheit;
        return std::string(text);
    }
    if (mode == ConvertMode::FC)
        temperatureF = fahrenheit;
    return degreesText((fahrenheit - 32) * 5.0 / 9.0, " C  ");
}

int SkyIconFor(std::string_view sky)
{
    std::string lower(sky);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    for (const SkyWord& entry : SkyWords) {
        if (lower.find(entry.word) != npos)
            return entry.icon;
    }
    return 0;
}

ConditionsParser::ConditionsParser(SharedState& state, const SettingsStore& settings,
                                   UserInterface& ui, ConditionsView& view,
                                   std::function<void()> addPreset)
    : m_state(state), m_settings(settings), m_ui(ui), m_view(view),
      m_addPreset(std::move(addPreset))
{
}

bool ConditionsParser::metric() const
{
    return m_settings.read_setting(SettingNames::Settings, SettingNames::Metric) == "y";
}

void ConditionsParser::show(Reading which, std::string& field, std::string text)
{
    field = std::move(text);
    m_view.showReading(which, field);
}

void ConditionsParser::ParseConditionsPage(std::string_view page)
{
    m_view.setStatusText(std::string(ParsingStatus));
    m_state.temperatureF = UnknownTemperature;
    m_record.temperatureF = UnknownTemperature;
    m_record.trayTip.clear();
    m_record.skyIcon = 0;
    clearReadings();
    readPage(page);
    m_record.temperatureF = m_state.temperatureF;
    finishParse();
}

void ConditionsParser::clearReadings()
{
    show(Reading::Sky, m_record.sky, {});
    show(Reading::Temperature, m_record.temperature, {});
    show(Reading::Humidity, m_record.humidity, {});
    show(Reading::Pressure, m_record.pressure, {});
    show(Reading::Wind, m_record.wind, {});
    show(Reading::Visibility, m_record.visibility, {});
    show(Reading::Sunrise, m_record.sunrise, {});
    show(Reading::Sunset, m_record.sunset, {});
    show(Reading::MoonRise, m_record.moonRise, {});
    show(Reading::MoonSet, m_record.moonSet, {});
    show(Reading::HeatIndex, m_record.heatIndex, {});
    show(Reading::WindChill, m_record.windChill, {});
}

void ConditionsParser::restoreReadings(const ConditionsRecord& previous)
{
    // No page has given readings yet: the window keeps the labels the parse cleared rather
    // than showing the record's "n/a" placeholders.
    if (previous.updated.empty())
        return;
    m_record = previous;
    m_state.temperatureF = previous.temperatureF;
    m_view.showReading(Reading::Sky, m_record.sky);
    m_view.showReading(Reading::Temperature, m_record.temperature);
    m_view.showReading(Reading::Humidity, m_record.humidity);
    m_view.showReading(Reading::Pressure, m_record.pressure);
    m_view.showReading(Reading::Wind, m_record.wind);
    m_view.showReading(Reading::Visibility, m_record.visibility);
    m_view.showReading(Reading::Sunrise, m_record.sunrise);
    m_view.showReading(Reading::Sunset, m_record.sunset);
    m_view.showReading(Reading::MoonRise, m_record.moonRise);
    m_view.showReading(Reading::MoonSet, m_record.moonSet);
    m_view.showReading(Reading::HeatIndex, m_record.heatIndex);
    m_view.showReading(Reading::WindChill, m_record.windChill);
}

void ConditionsParser::readPage(std::string_view page)
{
    constexpr std::string_view titleMark = "Underground:";
    m_observationFound = false;
    std::string_view working;
    if (const std::size_t at = page.find(titleMark); at != npos)
        working = page.substr(at + titleMark.size());
    else
        m_ui.showMessage(std::string(MessageP1));
    m_record.title = pageTitle(working);
    m_state.locationTitle = m_record.title;

    // The observation block: from "Conditions at", else from the 9th character.
    const std::size_t conditionsAt = working.find("Conditions at");
    working = conditionsAt != npos ? working.substr(conditionsAt) : cut(working, 8);
    const std::size_t updated = working.find("Updated:");
    if (updated == npos || updated == 0) {
        m_ui.showMessage(std::string(MessageP2));
        return;
    }
    working = working.substr(updated - 1);
    m_observationFound = true;

    // The time starts at the 14th character, past "Updated:" and a short tag behind it.
    constexpr std::size_t timeStart = 13;
    const std::size_t on = working.find(" on");
    const std::string_view time =
        on != npos ? cutUpTo(working, timeStart, on) : cut(working, timeStart, 13);
    show(Reading::Conditions, m_record.updated, "Conditions at " + std::string(trimmed(time)));

    const std::string text = CleanPageText(working);
    if (!readTemperature(text))
        return;
    readTable(text);
}

bool ConditionsParser::readTemperature(const std::string& text)
{
    const std::size_t label = text.find("Temperature");
    if (label == npos) {
        m_ui.showMessage(std::string(MessageP3));
        return false;
    }
    // The label and the one character after it are passed over.
    const std::size_t start = label + 12;
    const std::string_view window = cut(text, start, 12);
    std::size_t unit = window.find('F');
    if (unit == npos)
        unit = window.find('C');
    if (unit == npos)
        unit = window.find(Degree);

    std::string reading;
    if (unit == npos) {
        m_ui.showMessage(std::string(MessageP3a));
        reading = NotAvailable;
    } else {
        // Through the unit letter and one character more.
        reading = cut(text, start, unit + 2);
    }
    const ConvertMode mode = metric() ? ConvertMode::FC : ConvertMode::FX;
    show(Reading::Temperature, m_record.temperature,
         ConvertReading(reading, mode, m_state.temperatureF));
    return true;
}

void ConditionsParser::readTable(const std::string& text)
{
    std::string heatIndex(NotAvailable);
    if (const std::size_t at = text.find("HeatIndex"); at != npos) {
        heatIndex = cutUpToFirst(text, at + 10, "Humidity");
        if (metric())
            heatIndex = ConvertReading(heatIndex, ConvertMode::None, m_state.temperatureF);
    }
    show(Reading::HeatIndex, m_record.heatIndex, std::move(heatIndex));

    std::string humidity(NotAvailable);
    if (const std::size_t at = text.find("Humidity"); at != npos)
        humidity = cut(text, at + 9, 4);
    show(Reading::Humidity, m_record.humidity, std::move(humidity));

    // With a wind chill row on the page, the wind row is looked for shortly after it, so that
    // "Windchill" itself is not taken for the wind label.
    std::size_t windAt = npos;
    if (const std::size_t chill = text.find("Windchill"); chill != npos) {
        const std::size_t inWindow = cut(text, chill + 12, 70).find("Wind");
        windAt = chill + 11 + (inWindow == npos ? 0 : inWindow + 1);
    } else {
        windAt = text.find("Wind");
    }
    std::string wind(NotAvailable);
    if (windAt != npos) {
        wind = cutUpToFirst(text, windAt + 5, "Pressure");
        if (wind.size() > 22)
            wind = ReplaceAll(wind, " mph", "mph");
        wind = ReplaceAll(wind, "Wind", "~");
    }
    show(Reading::Wind, m_record.wind, std::move(wind));

    std::string pressure(NotAvailable);
    if (const std::size_t at = text.find("Pressure"); at != npos)
        pressure = cutUpToFirst(text, at + 9, "Conditions");
    show(Reading::Pressure, m_record.pressure, std::move(pressure));

    readSky(text);

    std::string visibility(NotAvailable);
    if (const std::size_t at = text.find("Visibility"); at != npos)
        visibility = cut(text, at + 11, 8);
    show(Reading::Visibility, m_record.visibility, std::move(visibility));

    struct Span
    {
        std::string_view label;
        std::size_t offset;
        std::string_view endLabel;
        Reading which;
        std::string ConditionsRecord::*field;
    };
    static constexpr std::array<Span, 4> Spans{{
        {"Sunrise", 7, "Sunset", Reading::Sunrise, &ConditionsRecord::sunrise},
        {"Sunset", 6, "Moon Rise", Reading::Sunset, &ConditionsRecord::sunset},
        {"Moon Rise", 9, "Moon Set", Reading::MoonRise, &ConditionsRecord::moonRise},
        {"Moon Set", 8, "Moon Phase", Reading::MoonSet, &ConditionsRecord::moonSet},
    }};
    for (const Span& span : Spans) {
        std::string value(NotAvailable);
        if (const std::size_t at = text.find(span.label); at != npos)
            value = cutUpToFirst(text, at + span.offset, span.endLabel);
        show(span.which, m_record.*span.field, std::move(value));
    }
}

void ConditionsParser::readSky(const std::string& text)
{
    const std::size_t label = text.find("Conditions");
    if (label == npos) {
        show(Reading::Sky, m_record.sky, std::string(NotAvailable));
        return;
    }
    const std::size_t start = label + 11;
    std::string_view sky;
    if (const std::size_t visibility = text.find("Visibility"); visibility != npos) {
        sky = cutUpTo(text, start, visibility);
    } else {
        // Without a visibility row the sky ends before the page's " Up" or "Add" links.
        std::size_t length = 19;
        for (std::size_t offset = 11; offset <= 30; ++offset) {
            const std::string_view piece = cut(text, label + offset, 3);
            if (piece == " Up" || piece == "Add") {
                length = offset - 11;
                break;
            }
        }
        sky = cut(text, start, length);
    }
    show(Reading::Sky, m_record.sky, std::string(trimmed(sky)));

    m_record.trayTip = m_record.sky + " && " + m_record.temperature;
    m_view.setTrayTip(m_record.trayTip);
    m_record.skyIcon = SkyIconFor(m_record.sky);
    m_view.setTrayPicture(m_record.skyIcon);
}

void ConditionsParser::finishParse()
{
    m_view.setStatusText(std::string(RestingStatus));
    if (m_addPreset)
        m_addPreset();
    const std::string& key = m_state.currentLocationKey;
    m_view.setWindowTitle("Cirrolux - " + (key.size() >= 2 ? key : m_state.lastPresetName));
}

void ConditionsParser::CompleteHeatIndex()
{
    const std::string& given = m_record.heatIndex;
    if (given.size() > 1 && !isNotAvailable(given))
        return;

    const int t = m_state.temperatureF;
    std::string text(NotAvailable);
    if (t != UnknownTemperature && t >= 60) {
        // Leading digits of the first three characters: "65%" gives 65.
        const std::string_view start = cut(trimmed(m_record.humidity), 0, 3);
        int rh = 0;
        for (std::size_t i = 0; i < start.size() && start[i] >= '0' && start[i] <= '9'; ++i)
            rh = rh * 10 + (start[i] - '0');
        rh = std::clamp(rh, 0, 100);
        const double hi = std::max(0.0, HeatIndexF(t, rh));
        text = degreesText(hi, " F");
        if (metric())
            text = ConvertReading(text, ConvertMode::None, m_state.temperatureF);
    }
    show(Reading::HeatIndex, m_record.heatIndex, std::move(text));
    m_record.temperatureF = m_state.temperatureF;
}

void ConditionsParser::CompleteWindChill()
{
    const int t = m_state.temperatureF;
    std::string text;
    if (t == UnknownTemperature) {
        text = m_record.temperature;
    } else {
        const std::string_view wind = m_record.wind;
        const std::size_t n = wind.size() > 20 ? 16 : wind.size();
        std::optional<double> speed = DigitsNumber(cut(wind, 0, n), false);
        if (!speed && n != 14)
            speed = DigitsNumber(cut(wind, 0, 14), false);
        if (!speed) {
            text = NotAvailable;
        } else if (!WindChillApplies(t, *speed)) {
            text = m_record.temperature;
        } else {
            text = degreesText(WindChillF(t, *speed), " F");
            if (metric())
                text = ConvertReading(text, ConvertMode::None, m_state.temperatureF);
        }
    }
    show(Reading::WindChill, m_record.windChill, std::move(text));
    m_record.temperatureF = m_state.temperatureF;
}

} // namespace cirrolux
