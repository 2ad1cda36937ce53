#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cirrolux {

// What the command line asks for before any window exists, so that it is answered without a
// display.
struct CommandLineAnswer
{
    std::string text; // for standard output
    int exitCode = 0;
};

// "--help" / "-h" give a short usage and "--version" / "-v" the version (help first when both
// are given); anything else, Qt's own options included, leaves the start to go on (nothing).
std::optional<CommandLineAnswer> AnswerCommandLine(const std::vector<std::string>& arguments);

} // namespace cirrolux
