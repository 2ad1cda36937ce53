// A child process stores 1,000 settings one after the other and is killed (SIGKILL) at random
// moments, then started again from the first write the file does not show, until all are done.
// After every kill the settings file must be whole and hold, for each setting, its value after
// some prefix of the writes (the old or the new value of the write under way), with the presets
// untouched.
#include "TempProfile.h"
#include "WriteSequence.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <iostream>
#include <map>
#include <random>
#include <thread>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

constexpr int Writes = 1000;
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
    // Starts the child at write `first` and kills it `killAfter` after it is ready (it may have
    // finished by then). Returns whether it was still running when killed.
    bool runChild(unsigned sequence, int first, std::chrono::microseconds killAfter)
    {
        QProcess child;
        child.start(QStringLiteral(CIRROLUX_SETTINGS_WRITER),
                    {profile.settingsFile(), QString::number(sequence), QString::number(Writes),
                     QString::number(first)});
        EXPECT_TRUE(child.waitForStarted(10000));
        while (!child.canReadLine() && child.state() == QProcess::Running)
            child.waitForReadyRead(10000);
        EXPECT_EQ(child.readLine().trimmed(), QByteArray("ready"));
        std::this_thread::sleep_for(killAfter);
        const bool running = child.state() == QProcess::Running;
        child.kill();
        EXPECT_TRUE(child.waitForFinished(60000));
        return running;
    }

    test::TempProfile profile;
};

TEST_P(SettingsDurability, KilledWriterAlwaysLeavesAPrefixOfItsWritesAndThePresets)
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
    int killedMidWrite = 0;
    while (done < Writes && rounds < MaxRounds) {
        ++rounds;
        // Mostly within a few writes, now and then during the child's first one.
        const auto delay =
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 300000)(random));
        const bool killed = runChild(sequence, done, delay);
        const int shown = writesShown(valuesIn(profile.settingsFile()), initial, sequence, writes);
        ASSERT_GE(shown, done) << "round " << rounds << " started at write " << done
                               << ", killed after " << delay.count() << " us";
        killedMidWrite += killed ? 1 : 0;
        done = shown;
    }
    EXPECT_EQ(done, Writes);
    EXPECT_EQ(valuesIn(profile.settingsFile()), afterWrites(initial, writes, Writes));
    RecordProperty("Rounds", rounds);
    RecordProperty("KilledWhileWriting", killedMidWrite);
    std::cout << "[ rounds   ] " << rounds << " rounds, " << killedMidWrite
              << " killed while writing, for " << Writes << " writes\n";
    EXPECT_GT(killedMidWrite, 10);
}

INSTANTIATE_TEST_SUITE_P(Sequences, SettingsDurability, ::testing::Values(1u, 2u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "Sequence" + std::to_string(info.param);
                         });

} // namespace
