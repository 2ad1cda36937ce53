#pragma once

#include "PageText.h"

#include "pagelayout/ConditionsPageBuilder.h"
#include "pagelayout/Observation.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace cirrolux::test {

// The text between the end of `from` (k + skip) and the first `until` of the whole text, or
// nothing when `until` is missing or lies before.
inline std::string between(const std::string& text, std::size_t from, std::string_view until)
{
    const std::size_t end = text.find(until);
    if (end == std::string::npos || end < from)
        return {};
    return text.substr(from, end - from);
}

// Checks that every reading of `obs` sits on `page` where a reader counting fixed offsets from
// the label words finds it. Reports each misplaced reading.
inline void expectReadingsInPlace(const std::string& page, const cirrolux::Observation& obs)
{
    using cirrolux::ConditionsPageBuilder;
    using HeatIndexRow = cirrolux::Observation::HeatIndexRow;

    // The raw update line: the label, a 4-character gap, the time, " on" and the date.
    const std::size_t updated = page.find("Updated:");
    ASSERT_NE(updated, std::string::npos);
    EXPECT_LT(page.find("Conditions at"), updated);
    EXPECT_EQ(page.substr(updated + 12, obs.time.size() + 4), obs.time + " on ");
    EXPECT_EQ(page.find(" on", updated - 1), updated + 12 + obs.time.size());

    const std::string text = observationText(page);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('#'), std::string::npos) << "a '#' would swallow the characters after it";

    const std::size_t temperature = text.find("Temperature");
    ASSERT_NE(temperature, std::string::npos);
    EXPECT_EQ(text[temperature + 11], ' ');
    const std::string degrees = std::to_string(obs.temperatureF);
    EXPECT_EQ(text.substr(temperature + 12, degrees.size() + 3), degrees + "\xB0"
                                                                           "F ");

    const std::size_t heatIndex = text.find("HeatIndex");
    switch (obs.heatIndexRow) {
    case HeatIndexRow::Value:
        ASSERT_NE(heatIndex, std::string::npos);
        EXPECT_EQ(
            between(text, heatIndex + 10, "Humidity"),
            ConditionsPageBuilder::temperatureText(
                obs.heatIndexF, static_cast<int>(std::lround((obs.heatIndexF - 32) * 5.0 / 9.0))) +
                " ");
        break;
    case HeatIndexRow::Empty:
        ASSERT_NE(heatIndex, std::string::npos);
        EXPECT_LE(between(text, heatIndex + 10, "Humidity").size(), 1u)
            << "an empty heat index must read as at most one character";
        break;
    case HeatIndexRow::Missing:
        EXPECT_EQ(heatIndex, std::string::npos);
        break;
    }

    const std::size_t humidity = text.find("Humidity");
    ASSERT_NE(humidity, std::string::npos);
    std::string percent = std::to_string(obs.humidity) + "%";
    percent.resize(4, ' ');
    EXPECT_EQ(text.substr(humidity + 9, 4), percent);

    // Wind: behind a wind chill row, the reader looks for "Wind" in the 70 characters that begin
    // 12 after "Windchill".
    std::size_t wind = text.find("Wind");
    const std::size_t windChill = text.find("Windchill");
    EXPECT_EQ(windChill != std::string::npos, obs.windChillF.has_value());
    if (windChill != std::string::npos) {
        const std::size_t inWindow = text.substr(windChill + 12, 70).find("Wind");
        ASSERT_NE(inWindow, std::string::npos) << "the wind row is too far from the wind chill row";
        wind = windChill + 12 + inWindow;
    }
    ASSERT_NE(wind, std::string::npos);
    EXPECT_EQ(between(text, wind + 5, "Pressure"), obs.wind + " ");

    const std::size_t pressure = text.find("Pressure");
    ASSERT_NE(pressure, std::string::npos);
    EXPECT_EQ(between(text, pressure + 9, "Conditions"),
              ConditionsPageBuilder::pressureText(obs.pressureIn) + " ");

    const std::size_t conditions = text.find("Conditions");
    ASSERT_NE(conditions, std::string::npos);
    EXPECT_EQ(between(text, conditions + 11, "Visibility"), obs.sky + " ");

    const std::size_t visibility = text.find("Visibility");
    ASSERT_NE(visibility, std::string::npos);
    EXPECT_EQ(text.substr(visibility + 11, 8),
              ConditionsPageBuilder::visibilityText(obs.visibilityMiles) + " ");

    const std::size_t sunrise = text.find("Sunrise");
    const std::size_t sunset = text.find("Sunset");
    const std::size_t moonRise = text.find("Moon Rise");
    const std::size_t moonSet = text.find("Moon Set");
    ASSERT_NE(sunrise, std::string::npos);
    ASSERT_NE(sunset, std::string::npos);
    ASSERT_NE(moonRise, std::string::npos);
    ASSERT_NE(moonSet, std::string::npos);
    EXPECT_EQ(between(text, sunrise + 7, "Sunset"), " " + obs.sunrise + " ");
    EXPECT_EQ(between(text, sunset + 6, "Moon Rise"), " " + obs.sunset + " ");
    EXPECT_EQ(between(text, moonRise + 9, "Moon Set"), " " + obs.moonRise + " ");
    EXPECT_EQ(between(text, moonSet + 8, "Moon Phase"), " " + obs.moonSet + " ");
}

} // namespace cirrolux::test
