#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace cirrolux {

class TNMHTTP;
class UserInterface;
struct SharedState;

// The program's version, as the about box shows it and the update check compares it.
inline constexpr const char* ProgramVersion = "1.40.0.8";

// The update check's answer for the text of the version file: the older-version or most-current
// message, or "Error retrieving version #.  Please try again later." when the text holds no
// "Version#". The latest version is the 8 characters after "Version#", compared with `current`
// character by character (so "1.40.0.10" reads as "1.40.0.1", older than "1.40.0.8").
std::string UpdateCheckMessage(std::string_view versionFile, const std::string& current);

// "Check for &Update": fetches the maker's version file over the shared transfer component and
// shows the answer. Transfer errors are not caught; they end the check in the caller's guard.
struct UpdateCheck
{
    SharedState& state;
    TNMHTTP& http;
    UserInterface& ui;
    std::function<void(const std::string&)> setStatus; // first panel of the main window
    std::function<void()> repaint;                     // the main window, at once

    void run(const std::string& current);
};

} // namespace cirrolux
