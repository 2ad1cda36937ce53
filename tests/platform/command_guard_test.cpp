#include "RecordingUserInterface.h"
#include "platform/CirroluxError.h"
#include "platform/CommandGuard.h"

#include <gtest/gtest.h>

using namespace cirrolux;

TEST(CommandGuard, ErrorTextReachesTheStandardErrorBoxAndTheProgramGoesOn)
{
    test::RecordingUserInterface ui;
    EXPECT_FALSE(runGuarded(ui, [] { throw TransferError("Connection Timed Out"); }));
    EXPECT_FALSE(runGuarded(ui, [] { throw std::runtime_error("Failed to set data for 'loc0'"); }));
    EXPECT_TRUE(runGuarded(ui, [] {}));
    EXPECT_EQ(ui.errors(),
              (std::vector<std::string>{"Connection Timed Out", "Failed to set data for 'loc0'"}));
}
