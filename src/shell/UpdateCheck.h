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

// The update check's answer for the text of the version file and the status of its reply: the
// older-version or most-current message when the text holds "Version#". The latest version is
// the 8 characters after it, compared with `current` character by character (so "1.40.0.10"
// reads as "1.40.0.1", older than "1.40.0.8").
// Without "Version#": when the reply says there is no such file (404, 410: the maker's server is
// gone, or the gateway that stands in for it has none), trying again later cannot help, so the
// answer names the installed version and where updates come from instead
// (NoVersionFileMessage); any other reply gets "Error retrieving version #.  Please try again
// later.".
std::string UpdateCheckMessage(std::string_view versionFile, const std::string& current,
                               int status = 200);

// The answer when no version file exists: what the program truly knows, never a latest version.
std::string NoVersionFileMessage(const std::string& current);

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
