#include "shell/CommandLine.h"

#include "shell/UpdateCheck.h"

#include <algorithm>

namespace cirrolux {

std::optional<CommandLineAnswer> AnswerCommandLine(const std::vector<std::string>& arguments)
{
    const auto given = [&](const char* shortName, const char* longName) {
        return std::any_of(arguments.begin(), arguments.end(), [&](const std::string& argument) {
            return argument == shortName || argument == longName;
        });
    };
    if (given("-h", "--help")) {
        return CommandLineAnswer{
            "Usage: cirrolux [OPTION]\n"
            "Cirrolux, the desktop weather program: current conditions, forecasts, radar and\n"
            "satellite images for places in the USA and around the world.\n"
            "\n"
            "  -h, --help     show this help and exit\n"
            "  -v, --version  show the version and exit\n"
            "\n"
            "Without an option the program starts; Qt's own options (-platform, -display, ...)\n"
            "are passed to Qt.\n",
            0};
    }
    if (given("-v", "--version"))
        return CommandLineAnswer{std::string("Cirrolux ") + ProgramVersion + "\n", 0};
    return std::nullopt;
}

} // namespace cirrolux
