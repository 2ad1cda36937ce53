#pragma once

#include "conditions/ConditionsView.h"
#include "forecast/ForecastView.h"

#include <string>
#include <vector>

namespace cirrolux::test {

// Records what the report retrieval shows in the forecast window, in order, and holds the input
// controls' texts a test sets.
class RecordingForecastView final : public ForecastView
{
public:
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void setWindowTitle(const std::string& title) override { titles.push_back(title); }
    void setReportText(const std::string& text) override { report = text; }
    std::string reportText() const override { return report; }
    std::string fontName() const override { return font; }
    void setFontName(const std::string& name) override { font = name; }
    bool zipVisible() const override { return zipShown; }
    std::string zipText() const override { return zip; }
    std::string stateListText() const override { return stateList; }
    std::string countyText() const override { return county; }
    void repaint() override { ++repaints; }

    std::vector<std::string> statusTexts;
    std::vector<std::string> titles;
    std::string report;
    std::string font = "Sans Serif";
    bool zipShown = false;
    std::string zip;
    std::string stateList;
    std::string county;
    int repaints = 0;
};

// The main window's side of the status routing: texts meant for the forecast window go to
// `forecast`, the others are kept here.
class RoutingConditionsView final : public ConditionsView
{
public:
    explicit RoutingConditionsView(ForecastView& forecast) : m_forecast(forecast) {}
    void setStatusText(const std::string& text) override { mainStatusTexts.push_back(text); }
    void setForecastStatusText(const std::string& text) override { m_forecast.setStatusText(text); }
    void showReading(Reading, const std::string&) override {}
    std::string reading(Reading) const override { return {}; }
    void setTrayTip(const std::string&) override {}
    void setTrayPicture(int) override {}
    void setWindowTitle(const std::string&) override {}
    std::string windowTitle() const override { return {}; }

    std::vector<std::string> mainStatusTexts;

private:
    ForecastView& m_forecast;
};

} // namespace cirrolux::test
