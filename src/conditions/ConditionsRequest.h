#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QTimer;

namespace cirrolux {

class ConditionsParser;
class ConditionsView;
class TNMHTTP;
class UserInterface;
struct SharedState;

// Turns currentLocationKey into the address of its conditions page, fetches it with the shared
// transfer component, reports the transfer's progress as status texts and hands the page to the
// parser. Transfer errors are not caught here: they end the request and reach the caller's
// command guard, leaving the previous readings on the window.
class ConditionsRequest : public QObject
{
    Q_OBJECT

public:
    // What the request needs from the parts around it. Empty hooks do nothing, except the two
    // catalogue lookups, which default to the location catalogue's.
    struct Hooks
    {
        std::function<void()> rebuildPresets;  // pending removal of a preset
        std::function<void()> updateMoonPhase; // after every completed fetch
        std::function<void()> repaint;         // repaint the main window at once
        std::function<void(SharedState&, UserInterface&)> lookupStation;
        std::function<void(SharedState&)> stateNameToCode;
    };

    // Connects the transfer component's events to the status texts. All references must outlive
    // this object.
    ConditionsRequest(SharedState& state, UserInterface& ui, ConditionsView& view, TNMHTTP& http,
                      ConditionsParser& parser, Hooks hooks, QObject* parent = nullptr);

    // Fetches and shows the conditions for currentLocationKey. Returns false without doing
    // anything when a request is already running (a timer tick or click during the transfer).
    bool Get_the_Stats();
    // Fetches the maker's usage counter once per run.
    void SendUsageCounter();
    // "Abort GetStats connection".
    void mnuAbortconnectionClick();
    bool running() const { return m_running; }
    // The wait before "Abort GetStats connection" removes the half-written image file.
    static constexpr int PendingDeleteMs = 1200;

    // Clears the group and state, then splits currentLocationKey into the location parts of
    // `state` (zip, city, state, group).
    static void SplitLocationKey(SharedState& state,
                                 const std::function<void(SharedState&)>& stateNameToCode);
    // The page address for the split key, or empty after a lookup failure (message shown).
    std::string BuildRequestUrl();

    // Transfer event handlers.
    void NMHTTP1Connect();
    void NMHTTP1AboutToSend();
    void NMHTTP1AuthenticationNeeded();
    void NMHTTP1ConnectionFailed();
    void NMHTTP1Disconnect();
    void NMHTTP1Failure(int command);
    void NMHTTP1HostResolved();
    void NMHTTP1InvalidHost(bool& handled);
    void NMHTTP1PacketRecvd();
    void NMHTTP1PacketSent();
    void NMHTTP1Redirect(bool& handled);
    void NMHTTP1Status(const std::string& status);
    void NMHTTP1Success(int command);

private:
    // Texts marked for the forecast window go there while it owns the transfer.
    void report(const std::string& text, bool forecastMayOwn);
    void setStatus(const std::string& text);

    SharedState& m_state;
    UserInterface& m_ui;
    ConditionsView& m_view;
    TNMHTTP& m_http;
    ConditionsParser& m_parser;
    Hooks m_hooks;
    bool m_running = false;
    QTimer* m_pendingDelete = nullptr; // child
    QString m_pendingDeleteFile;
};

// Success and failure texts of a transfer by command number ("Get Succeeded", ...); empty for a
// number outside 0..12.
std::string CommandSuccessText(int command);
std::string CommandFailureText(int command);

} // namespace cirrolux
