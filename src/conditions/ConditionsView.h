#pragma once

#include <string>

namespace cirrolux {

// What the conditions request and the parser show, implemented by the main window (and by a
// recorder in tests). Texts are 8-bit (Latin-1).
class ConditionsView
{
public:
    // The value labels of the stats panel, plus the title line.
    enum class Reading {
        Conditions,  // lblConditions
        Sky,         // lblsky2
        Temperature, // lblTemp2
        Humidity,    // lblHumid2
        Pressure,    // lblPress2
        Wind,        // lblWind2
        Visibility,  // lblVisible2
        Sunrise,     // lblSunrise2
        Sunset,      // lblSunset2
        MoonRise,    // lblMoonRise2
        MoonSet,     // lblMoonSet2
        HeatIndex,   // lblHeatIndex2
        WindChill,   // lblWindChill2
    };

    virtual ~ConditionsView() = default;

    // First status-bar panel of the main window; shown at once (the window repaints).
    virtual void setStatusText(const std::string& text) = 0;
    // Status text of the forecast window while it owns the transfer.
    virtual void setForecastStatusText(const std::string& text) = 0;
    virtual void showReading(Reading which, const std::string& text) = 0;
    virtual std::string reading(Reading which) const = 0;
    // Tray icon: tip text (then made active) and picture index of the tray picture list.
    virtual void setTrayTip(const std::string& tip) = 0;
    virtual void setTrayPicture(int index) = 0;
    virtual void setWindowTitle(const std::string& title) = 0;
    virtual std::string windowTitle() const = 0;
};

// The objectName of the label that shows a reading ("lblTemp2", ...).
constexpr const char* ReadingLabelName(ConditionsView::Reading which)
{
    using R = ConditionsView::Reading;
    switch (which) {
    case R::Conditions:
        return "lblConditions";
    case R::Sky:
        return "lblsky2";
    case R::Temperature:
        return "lblTemp2";
    case R::Humidity:
        return "lblHumid2";
    case R::Pressure:
        return "lblPress2";
    case R::Wind:
        return "lblWind2";
    case R::Visibility:
        return "lblVisible2";
    case R::Sunrise:
        return "lblSunrise2";
    case R::Sunset:
        return "lblSunset2";
    case R::MoonRise:
        return "lblMoonRise2";
    case R::MoonSet:
        return "lblMoonSet2";
    case R::HeatIndex:
        return "lblHeatIndex2";
    case R::WindChill:
        return "lblWindChill2";
    }
    return "";
}

} // namespace cirrolux
