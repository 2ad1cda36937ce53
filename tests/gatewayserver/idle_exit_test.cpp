// The idle watcher of a socket-activated gateway, on a clock the test moves: it ends the gateway
// only after the idle time with no connection open, counted from the last one's end.
#include "gateway/IdleExit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cirrolux::gateway;
using std::chrono::minutes;
using std::chrono::seconds;

namespace {

// One step: move the clock, report a connection count (-1: none), then check.
struct Step
{
    seconds advance;
    int connections;
    bool idleAfter; // idle() has been emitted by the end of this step
};

struct IdleCase
{
    const char* name;
    std::vector<Step> steps;
};

void PrintTo(const IdleCase& c, std::ostream* os)
{
    *os << c.name;
}

class IdleExitTable : public ::testing::TestWithParam<IdleCase>
{
};

TEST_P(IdleExitTable, EndsOnlyAfterTheIdleTimeWithoutConnections)
{
    auto now = std::chrono::steady_clock::time_point(minutes(1000));
    IdleExit watcher(minutes(10), [&] { return now; });
    int emitted = 0;
    QObject::connect(&watcher, &IdleExit::idle, &watcher, [&] { ++emitted; });
    int row = 0;
    for (const Step& step : GetParam().steps) {
        now += step.advance;
        if (step.connections >= 0)
            watcher.setConnectionCount(step.connections);
        watcher.check();
        EXPECT_EQ(emitted, step.idleAfter ? 1 : 0) << "step " << row;
        ++row;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, IdleExitTable,
    ::testing::Values(
        IdleCase{"NeverConnectedEndsAtTenMinutes",
                 {{seconds(599), -1, false}, {seconds(1), -1, true}}},
        IdleCase{"OpenConnectionKeepsItRunning",
                 {{seconds(1), 1, false}, {minutes(60), -1, false}, {minutes(60), 2, false}}},
        IdleCase{"TimeCountsFromTheLastConnectionsEnd",
                 {{minutes(9), 1, false},
                  {minutes(5), 0, false},
                  {minutes(9), -1, false},
                  {seconds(59), -1, false},
                  {seconds(1), -1, true}}},
        IdleCase{"NewConnectionStartsTheTimeAgain",
                 {{minutes(1), 1, false},
                  {minutes(1), 0, false},
                  {minutes(8), 1, false},
                  {seconds(1), 0, false},
                  {minutes(9), -1, false},
                  {minutes(1), -1, true}}},
        IdleCase{"SignalledOnce",
                 {{minutes(10), -1, true}, {minutes(30), -1, true}, {minutes(1), 0, true}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
