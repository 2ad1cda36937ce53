#pragma once

#include "RecordingConditionsView.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"

#include "conditions/ConditionsParser.h"
#include "platform/SharedState.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QFile>

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace cirrolux::test {

inline const std::string MessageP1 =
    "Error (P1) occurred parsing data.  Please try again in a few minutes.";
inline const std::string MessageP2 =
    "Error (P2) occurred parsing data.  Please try again in a few minutes.";
inline const std::string MessageP3 =
    "Error (P3) occurred parsing data.  Please try again in a few minutes.";
inline const std::string MessageP3a = "Error - P3a parsing data.  Please try again later.";

// A parser wired to recorders and a throwaway settings profile, with the preset callback counted.
struct ParserHarness
{
    TempProfile profile;
    SettingsStore settings{profile.settingsFile()};
    SharedState state;
    RecordingUserInterface ui;
    RecordingConditionsView view;
    int presetCalls = 0;
    std::function<void()> onPreset;
    ConditionsParser parser{state, settings, ui, view, [this] {
                                ++presetCalls;
                                if (onPreset)
                                    onPreset();
                            }};

    void setMetric(bool on)
    {
        settings.write_setting(SettingNames::Settings, SettingNames::Metric, on ? "y" : "n");
    }

    // The three operations as every caller runs them.
    const ConditionsRecord& parseAll(std::string_view page)
    {
        parser.ParseConditionsPage(page);
        parser.CompleteHeatIndex();
        parser.CompleteWindChill();
        return parser.record();
    }
};

// Table rows print as their case name, so test names stay readable in CTest. Test files bring it
// into their unnamed namespace with `using test::PrintTo;`.
template <typename Case>
requires requires(const Case& c)
{
    std::string(c.name);
}
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

// Text with its spaces visible: quoted, bytes outside printable ASCII as \xHH.
inline std::string visible(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The record in the form of the .ref files next to the fixture pages.
inline std::string describe(const ConditionsRecord& r)
{
    std::string out;
    const auto line = [&](const char* name, const std::string& value) {
        out += std::string(name) + ": " + value + "\n";
    };
    line("title", visible(r.title));
    line("updated", visible(r.updated));
    line("temperature", visible(r.temperature));
    line("temperatureF", std::to_string(r.temperatureF));
    line("heatIndex", visible(r.heatIndex));
    line("humidity", visible(r.humidity));
    line("wind", visible(r.wind));
    line("pressure", visible(r.pressure));
    line("sky", visible(r.sky));
    line("skyIcon", std::to_string(r.skyIcon));
    line("visibility", visible(r.visibility));
    line("sunrise", visible(r.sunrise));
    line("sunset", visible(r.sunset));
    line("moonRise", visible(r.moonRise));
    line("moonSet", visible(r.moonSet));
    line("windChill", visible(r.windChill));
    line("trayTip", visible(r.trayTip));
    return out;
}

// A file of the test data folder, as bytes; empty when it cannot be read.
inline std::string testData(const std::string& name)
{
    QFile file(QString::fromStdString(std::string(CIRROLUX_TEST_DATA) + "/" + name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

// A .ref file without its comment lines.
inline std::string referenceData(const std::string& name)
{
    std::string out;
    const std::string text = testData(name);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.front() != '#')
            out.append(line).append("\n");
        start = end + 1;
    }
    return out;
}

} // namespace cirrolux::test
