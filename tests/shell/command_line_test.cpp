#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cirrolux {
namespace {

struct CommandLineCase
{
    const char* name;
    std::vector<std::string> arguments;
    const char* startsWith; // nullptr: the program starts
};

void PrintTo(const CommandLineCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommandLine : public ::testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLine, AnswersHelpAndVersionAndLetsAnythingElseStart)
{
    const CommandLineCase& c = GetParam();
    const std::optional<CommandLineAnswer> answer = AnswerCommandLine(c.arguments);
    if (!c.startsWith) {
        EXPECT_FALSE(answer) << answer->text;
        return;
    }
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->exitCode, 0);
    EXPECT_EQ(answer->text.rfind(c.startsWith, 0), 0u) << answer->text;
    EXPECT_TRUE(answer->text.ends_with("\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    ::testing::Values(CommandLineCase{"None", {}, nullptr},
                      CommandLineCase{"QtOptions", {"-platform", "offscreen"}, nullptr},
                      CommandLineCase{"Unknown", {"--helpme", "-V", "help"}, nullptr},
                      CommandLineCase{"Help", {"--help"}, "Usage: cirrolux [OPTION]\n"},
                      CommandLineCase{"ShortHelp", {"-h"}, "Usage: cirrolux [OPTION]\n"},
                      CommandLineCase{"Version", {"--version"}, "Cirrolux 1.40.0.8\n"},
                      CommandLineCase{"ShortVersion", {"-v"}, "Cirrolux 1.40.0.8\n"},
                      CommandLineCase{"HelpAfterQtOptions",
                                      {"-platform", "xcb", "--help"},
                                      "Usage: cirrolux [OPTION]\n"},
                      CommandLineCase{"HelpBeforeVersion",
                                      {"--version", "--help"},
                                      "Usage: cirrolux [OPTION]\n"}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) {
        return std::string(info.param.name);
    });

TEST(CommandLine, VersionIsTheProjectsVersion)
{
    EXPECT_EQ(AnswerCommandLine({"--version"})->text,
              std::string("Cirrolux ") + CIRROLUX_PROJECT_VERSION + "\n");
}

} // namespace
} // namespace cirrolux
