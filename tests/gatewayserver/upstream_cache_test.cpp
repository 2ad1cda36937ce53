// The upstream cache: what is fresh for how long, what a failed refresh can still serve, and
// what is dropped over a long run, on a clock the test moves.
#include "gateway/UpstreamCache.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace cirrolux::gateway;
using namespace std::chrono_literals;

namespace {

const QDateTime Start(QDate(2026, 12, 9), QTime(18, 54), QTimeZone::utc());

struct Clock
{
    QDateTime now = Start;
    UpstreamCache::Clock function()
    {
        return [this] { return now; };
    }
};

struct AgeCase
{
    const char* name;
    qint64 ageSeconds; // how long after storing it is looked up
    std::chrono::seconds maxAge;
    bool fresh;
};

class UpstreamCacheAges : public ::testing::TestWithParam<AgeCase>
{
};

TEST_P(UpstreamCacheAges, AreFreshBelowTheirKindsAgeAndKeptBeyondIt)
{
    Clock clock;
    UpstreamCache cache(clock.function());
    cache.storeBody("obs:KBOS", "2026/12/09 18:54\nKBOS 091854Z 00000KT 10SM CLR 03/M07 A3012\n");
    clock.now = Start.addSecs(GetParam().ageSeconds);
    const UpstreamEntry* fresh = cache.fresh("obs:KBOS", GetParam().maxAge);
    EXPECT_EQ(fresh != nullptr, GetParam().fresh);
    // Whatever its age, the last file stays for a failed refresh to serve.
    ASSERT_NE(cache.any("obs:KBOS"), nullptr);
    EXPECT_EQ(cache.any("obs:KBOS")->fetchedAt, Start);
    EXPECT_TRUE(cache.any("obs:KBOS")->body.starts_with("2026/12/09 18:54\nKBOS"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UpstreamCacheAges,
    ::testing::Values(AgeCase{"ObservationJustStored", 0, ObservationMaxAge, true},
                      AgeCase{"ObservationAfterNineMinutes", 9 * 60 + 59, ObservationMaxAge, true},
                      AgeCase{"ObservationAfterTenMinutes", 10 * 60, ObservationMaxAge, false},
                      AgeCase{"ProductAfterTwentyNineMinutes", 29 * 60, ProductMaxAge, true},
                      AgeCase{"ProductAfterThirtyMinutes", 30 * 60, ProductMaxAge, false},
                      AgeCase{"ClockSetBack", -60, ObservationMaxAge, false}),
    [](const ::testing::TestParamInfo<AgeCase>& info) { return std::string(info.param.name); });

TEST(UpstreamCache, KeepsAMissingFileAsMissingSoItIsNotAskedForAgain)
{
    Clock clock;
    UpstreamCache cache(clock.function());
    cache.storeMissing("obs:KXYZ");
    const UpstreamEntry* entry = cache.fresh("obs:KXYZ", ObservationMaxAge);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->missing);
    EXPECT_EQ(entry->body, "");
    EXPECT_EQ(cache.fresh("obs:KBOS", ObservationMaxAge), nullptr);
    EXPECT_EQ(cache.any("obs:KBOS"), nullptr);
}

TEST(UpstreamCache, ANewerFileReplacesTheOldOneAndRestartsItsAge)
{
    Clock clock;
    UpstreamCache cache(clock.function());
    cache.storeMissing("zone_forecast:maz015");
    clock.now = Start.addSecs(40 * 60);
    EXPECT_EQ(cache.fresh("zone_forecast:maz015", ProductMaxAge), nullptr);
    cache.storeBody("zone_forecast:maz015", "FPUS51 KBOX 091530\n");
    const UpstreamEntry* entry = cache.fresh("zone_forecast:maz015", ProductMaxAge);
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->missing);
    EXPECT_EQ(entry->body, "FPUS51 KBOX 091530\n");
    EXPECT_EQ(entry->fetchedAt, Start.addSecs(40 * 60));
    EXPECT_EQ(cache.size(), 1u);
}

TEST(UpstreamCache, PruningDropsOnlyWhatIsOlderThanTheKeepingTime)
{
    Clock clock;
    UpstreamCache cache(clock.function(), 2h);
    cache.storeBody("obs:KBOS", "old");
    clock.now = Start.addSecs(3600);
    cache.storeBody("obs:KJFK", "newer");
    clock.now = Start.addSecs(2 * 3600);
    cache.prune();
    EXPECT_EQ(cache.any("obs:KBOS"), nullptr);
    ASSERT_NE(cache.any("obs:KJFK"), nullptr);
    EXPECT_EQ(cache.any("obs:KJFK")->body, "newer");
    EXPECT_EQ(cache.size(), 1u);
}

TEST(UpstreamCache, StaysSmallWhenManyKeysComeAndGo)
{
    Clock clock;
    UpstreamCache cache(clock.function(), 1h);
    for (int i = 0; i < 2000; ++i) {
        clock.now = Start.addSecs(i * 10);
        cache.storeBody("obs:K" + std::to_string(i), "x");
    }
    // One store in 256 prunes: at most the last hour's 360 keys and one pruning gap remain.
    EXPECT_LE(cache.size(), 360u + 256u);
    EXPECT_NE(cache.any("obs:K1999"), nullptr);
    EXPECT_EQ(cache.any("obs:K0"), nullptr);
}

} // namespace
