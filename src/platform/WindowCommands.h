#pragma once

#include <string>

namespace cirrolux {

// The main window's "&Images", "&Forecasts" and "&Reports" menus are built from a table; the
// entries that do not download an image open another window. Each window's folder implements
// the interface for its own entries, and the main window dispatches to it. An entry whose
// window is not installed is shown disabled.

// The forecast window (report modes "f", "n", "p", "w", "sw", "h", "ap", "cw", "s1", "s2",
// "ss", "si", "eb") and the one command that opens the conditions service in the browser.
class ForecastCommands
{
public:
    virtual ~ForecastCommands() = default;
    // Sets the report mode and shows the forecast window.
    virtual void openForecast(const std::string& mode) = 0;
    // "Forecast - &HTML Version".
    virtual void openHtmlForecast() = 0;
};

// The web page window: "ci" country information, "usfi" fire incident report.
class WebWindowCommands
{
public:
    virtual ~WebWindowCommands() = default;
    virtual void openWebWindow(const std::string& mode) = 0;
};

// The state and regional radar chooser.
class RadarChooserCommands
{
public:
    virtual ~RadarChooserCommands() = default;
    // `preferencesMode`: the choice is stored as the wallpaper image instead of being shown.
    virtual void openRadarChooser(bool preferencesMode) = 0;
};

} // namespace cirrolux
