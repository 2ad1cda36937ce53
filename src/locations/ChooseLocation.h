#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cirrolux {

class TNMHTTP;
class UserInterface;
struct SharedState;

// What the choose-location dialog does on "&Okay", without its widgets: works out the location
// parts from the tree choice and the zip box, builds the conditions address, runs the transfer on
// the main window's shared component (whose event handlers write the status texts and set
// requestSucceeded) and hands the page to the conditions parser.
//
// Transfer errors are not caught: they end the command and reach the caller's command guard, as
// for any conditions request.
class ChooseLocation
{
public:
    // The parts around the dialog. Empty hooks do nothing, except lookupStation, which defaults
    // to the location catalogue's.
    struct Hooks
    {
        std::function<void(const std::string&)> setStatus; // main window, first status panel
        std::function<void()> repaintMain;
        std::function<void(std::string_view page)> parseConditionsPage;
        std::function<void()> completeHeatIndex;
        std::function<void()> completeWindChill;
        std::function<void()> updateMoonPhase;
        std::function<void()> sendUsageCounter; // fetched once per run
        std::function<void(SharedState&, UserInterface&)> lookupStation;
        // The dialog's own window.
        std::function<void()> hideDialog;
        std::function<void()> showDialog;
        std::function<void()> closeDialog;
    };

    // All references must outlive this object.
    ChooseLocation(SharedState& state, UserInterface& ui, TNMHTTP& http, Hooks hooks);

    // Clears the location parts for a new showing (the dialog clears its zip box).
    void FormShow();

    // How a press of "&Okay" ended.
    enum class Outcome {
        Refused,    // another transfer was running; nothing done but a beep
        Incomplete, // a "please select" message; the dialog stays open
        NoLocation, // nothing to fetch; the dialog was shown again and stays open
        Closed,     // the request ran (or stopped with its message) and the dialog closed
    };

    // "&Okay". `path` holds the texts of the selected node and its ancestors, root first (empty
    // when nothing is selected); `zip` is the zip box's text.
    Outcome btnOkayClick(const std::vector<std::string>& path, const std::string& zip);

    // The node texts from the root down, each followed by "\".
    static std::string PathStr(const std::vector<std::string>& path);

    // The addresses of the three request forms.
    static std::string ZipUrl(const std::string& zip);
    static std::string UsUrl(const std::string& stateCode, const std::string& city);
    static std::string StationUrl(const std::string& station);

private:
    // Steps 8 to 11: address, transfer, parse; a message ends it early.
    void fetch();
    void missingData();
    void status(const std::string& text);
    void repaintMain();

    SharedState& m_state;
    UserInterface& m_ui;
    TNMHTTP& m_http;
    Hooks m_hooks;
    bool m_running = false;
};

} // namespace cirrolux
