// A child process stores 400 settings one after the other and is stopped mid-write by the
// end of a random CPU-time budget (see settings_writer.cpp), then started again from the first
// write the file does not show, until all are done. After every stop the settings file must be
// whole and hold, for each setting, its value after some prefix of the writes (the old or the
// new value of the write under way), with the presets untouched. The budget counts the child's
// own CPU time, so a slow or loaded machine changes how many rounds it takes, never whether the
// test passes.
#include "TempProfile.h"
#include "WriteSequence.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <map>
#include <random>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

constexpr int Writes = 400;
constexpr int MaxRounds = 2000;
const std::array<const char*, 5> Presets = {"Boston, MA", "Denver, CO", "Lima, Peru (O)",
                                            "Nairobi, Kenya (O)", "90210 - Beverly Hills, CA"};

using Values = std::map<std::string, std::string>;

// Reads the file through a copy under a new name, so no parse is served from a cache.
Values valuesIn(const QString& file)
{
    QFile original(file);
    EXPECT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    EXPECT_FALSE(bytes.isEmpty()) << "the settings file is empty";
    QTemporaryFile copy;
    EXPECT_TRUE(copy.open());
    copy.write(bytes);
    copy.close();
    const SettingsStore store(copy.fileName());
    Values values;
    for (const char* name : test::WrittenNames())
        values[name] = store.read_setting(names::Settings, name);
    for (std::size_t i = 0; i < Presets.size(); ++i)
        EXPECT_EQ(store.read_setting(names::Locations, "loc" + std::to_string(i)), Presets[i]);
    return values;
}

// The values after the first `done` writes.
Values afterWrites(Values values, const std::vector<test::SettingWrite>& writes, int done)
{
    for (int i = 0; i < done; ++i)
        values[writes[std::size_t(i)].name] = writes[std::size_t(i)].value;
    return values;
}

// How many writes the file shows, or -1 when it holds a mixture that no prefix gives.
int writesShown(const Values& found, const Values& initial, unsigned sequence,
                const std::vector<test::SettingWrite>& writes)
{
    const std::string prefix = std::to_string(sequence) + "-";
    int last = -1;
    for (const auto& [name, value] : found) {
        if (value.starts_with(prefix))
            last = std::max(last, std::stoi(value.substr(prefix.size())));
    }
    return afterWrites(initial, writes, last + 1) == found ? last + 1 : -1;
}

class SettingsDurability : public ::testing::TestWithParam<unsigned>
{
protected:
    // Runs the child from write `first` with `budget` microseconds of CPU time. Returns whether
    // the budget stopped it before it was done.
    bool runChild(unsigned sequence, int first, long budget)
    {
        QProcess child;
        child.start(QStringLiteral(CIRROLUX_SETTINGS_WRITER),
                    {profile.settingsFile(), QString::number(sequence), QString::number(Writes),
                     QString::number(first), QString::number(budget)});
        EXPECT_TRUE(child.waitForStarted(60000));
        EXPECT_TRUE(child.waitForFinished(600000));
        const QByteArray output = child.readAllStandardOutput();
        if (child.exitStatus() == QProcess::CrashExit) {
            EXPECT_EQ(output, QByteArray("ready\n"));
            return true;
        }
        EXPECT_EQ(child.exitCode(), 0);
        EXPECT_EQ(output, QByteArray("ready\ndone\n"));
        return false;
    }

    test::TempProfile profile;
};

TEST_P(SettingsDurability, StoppedWriterAlwaysLeavesAPrefixOfItsWritesAndThePresets)
{
    SettingsStore store = profile.store();
    for (std::size_t i = 0; i < Presets.size(); ++i)
        store.write_setting(names::Locations, "loc" + std::to_string(i), Presets[i]);
    for (const char* name : test::WrittenNames())
        store.write_setting(names::Settings, name, "old");
    const Values initial = valuesIn(profile.settingsFile());

    const unsigned sequence = GetParam();
    const auto writes = test::WriteSequence(sequence, Writes);
    std::mt19937 random(sequence);
    int done = 0;
    int rounds = 0;
    int stopped = 0;
    int stalled = 0;
    while (done < Writes && rounds < MaxRounds) {
        ++rounds;
        // Up to 4 ms of CPU time, a few writes' worth; doubled after each round that got no
        // write through, so a machine of any speed moves on.
        const long budget = std::uniform_int_distribution<long>(1, 4000)(random)
                            << std::min(stalled, 10);
        const bool budgetRanOut = runChild(sequence, done, budget);
        const int shown = writesShown(valuesIn(profile.settingsFile()), initial, sequence, writes);
        ASSERT_GE(shown, done) << "round " << rounds << " started at write " << done << " with "
                               << budget << " us of CPU time";
        if (!budgetRanOut) {
            ASSERT_EQ(shown, Writes) << "the child said it was done";
        }
        stopped += budgetRanOut ? 1 : 0;
        stalled = shown == done ? stalled + 1 : 0;
        done = shown;
    }
    EXPECT_EQ(done, Writes);
    EXPECT_EQ(valuesIn(profile.settingsFile()), afterWrites(initial, writes, Writes));
    RecordProperty("Rounds", rounds);
    RecordProperty("StoppedWhileWriting", stopped);
    std::cout << "[ rounds   ] " << rounds << " rounds, " << stopped
              << " stopped while writing, for " << Writes << " writes\n";
    // Every round but the last was stopped mid-way: 400 writes take far more CPU time than
    // one budget, on any machine.
    EXPECT_GE(stopped, rounds - 1);
    EXPECT_GE(stopped, 1);
}

INSTANTIATE_TEST_SUITE_P(Sequences, SettingsDurability, ::testing::Values(1u, 2u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "Sequence" + std::to_string(info.param);
                         });

} // namespace
