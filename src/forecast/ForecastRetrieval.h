#pragma once

#include <functional>
#include <string>

namespace cirrolux {

class ForecastView;
class TNMHTTP;
class UserInterface;
struct ForecastState;
struct SharedState;

// Fetches the report of forecastMode with the shared transfer component and turns it into the
// forecast window's text, title and status texts. Transfer errors are not caught here: they end
// the fetch and reach the caller's command guard.
class ForecastRetrieval
{
public:
    struct Hooks
    {
        // Turns locationTitle into stateCode; defaults to the location catalogue's.
        std::function<void(SharedState&)> stateNameToCode;
    };

    // All references must outlive this object.
    ForecastRetrieval(SharedState& shared, ForecastState& state, UserInterface& ui,
                      ForecastView& view, TNMHTTP& http, Hooks hooks = {});

    // Fetches and shows the report for forecastMode.
    void get_xcast();
    // "Forecast - &HTML Version": fetches the conditions service's home page, drops it and opens
    // the address in the user's browser.
    void mnuForecastHTMLClick();
    // True when the last get_xcast showed a message box (the window's next activation, which
    // the box's closing causes, then does not fetch again).
    bool showedMessage() const { return m_showedMessage; }

    // The county step of the modes "f" and "n" over pageText.
    void ExtractCountySection(bool nowcast);

private:
    void status(std::string_view text);
    void message(std::string_view text);
    void useFixedFont();

    SharedState& m_shared;
    ForecastState& m_state;
    UserInterface& m_ui;
    ForecastView& m_view;
    TNMHTTP& m_http;
    Hooks m_hooks;
    bool m_showedMessage = false;
};

} // namespace cirrolux
