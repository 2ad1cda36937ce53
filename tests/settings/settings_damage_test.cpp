#include "TempProfile.h"
#include "platform/CirroluxError.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A store whose notices are counted.
struct WatchedStore
{
    explicit WatchedStore(const test::TempProfile& profile) : store(profile.store())
    {
        store.setDamagedFileHandler(
            [this](const std::string& keptAs) { notices.push_back(keptAs); });
    }
    SettingsStore store;
    std::vector<std::string> notices;
};

} // namespace

// A quoted list holding a NUL reads as a text list but is written back as a list of variants,
// so it never survives a rewrite. It used to refuse every later write.
TEST(SettingsDamage, ValueThatCannotBeWrittenAgainIsSetAsideAndTheWriteGoesThrough)
{
    test::TempProfile profile;
    const QByteArray original = "[Locations]\nloc0=\"Boston, MA\"\nloc9=\"a\\0\", \"b\"\n"
                                "[Settings]\nMetric=y\n";
    putFile(profile.settingsFile(), original);
    WatchedStore watched(profile);
    SettingsStore& store = watched.store;

    store.write_setting(names::Locations, "loc1", "Lima, Peru (O)");
    store.write_setting(names::Locations, "loc2", "Denver, CO");

    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
    EXPECT_EQ(store.read_setting(names::Locations, "loc1"), "Lima, Peru (O)");
    EXPECT_EQ(store.read_setting(names::Locations, "loc2"), "Denver, CO");
    EXPECT_EQ(store.read_setting(names::Settings, names::Metric), "y");
    EXPECT_EQ(store.read_setting(names::Locations, "loc9"), "n/a");
    const QString keptAs = profile.settingsFile() + QStringLiteral(".damaged");
    EXPECT_EQ(fileBytes(keptAs), original);
    // Told once: the second write found nothing to set aside.
    ASSERT_EQ(watched.notices.size(), 1u);
    EXPECT_EQ(watched.notices[0], keptAs.toStdString());
    EXPECT_EQ(SettingsStore::damagedFileMessage(watched.notices[0]),
              "Some settings could not be read and were left out. The old settings file was kept "
              "as " +
                  keptAs.toStdString() + ".");
}

TEST(SettingsDamage, FileThatDoesNotParseIsKeptAndReportedTheSameWay)
{
    test::TempProfile profile;
    const QByteArray original = "[Locations]\nloc0=Boston, MA\n[Settings\nMetric=y\n";
    putFile(profile.settingsFile(), original);
    WatchedStore watched(profile);
    watched.store.write_setting(names::Locations, "loc1", "Denver, CO");
    EXPECT_EQ(watched.store.read_setting(names::Locations, "loc0"), "Boston, MA");
    EXPECT_EQ(watched.store.read_setting(names::Locations, "loc1"), "Denver, CO");
    EXPECT_EQ(fileBytes(profile.settingsFile() + QStringLiteral(".damaged")), original);
    EXPECT_EQ(watched.notices.size(), 1u);
}

TEST(SettingsDamage, CleanFileGivesNoNoticeAndNoCopy)
{
    test::TempProfile profile;
    WatchedStore watched(profile);
    watched.store.write_setting(names::Settings, names::Metric, "y");
    watched.store.write_setting(names::Locations, "loc0", "Boston, MA");
    EXPECT_TRUE(watched.notices.empty());
    EXPECT_FALSE(QFileInfo::exists(profile.settingsFile() + QStringLiteral(".damaged")));
}

// Any file at all: a write goes through and a read gives the written value back.
class SettingsRandomFile : public ::testing::TestWithParam<unsigned>
{
};

namespace {

// Random bytes, with the INI file's own punctuation and value forms mixed in so the parser's
// less travelled paths are reached.
QByteArray randomFile(unsigned seed)
{
    static const char* const pieces[] = {"[",
                                         "]",
                                         "=",
                                         "\"",
                                         "\\",
                                         ",",
                                         "\n",
                                         "\r\n",
                                         ";",
                                         "@",
                                         "@Variant(",
                                         "@ByteArray(",
                                         "@String(",
                                         "@Invalid()",
                                         ")",
                                         "\\0",
                                         "\\x",
                                         "%",
                                         "[Settings]\n",
                                         "[Locations]\n",
                                         "loc0=",
                                         "Metric=",
                                         "loc9=\"a\\0\", \"b\"\n",
                                         "General",
                                         "/",
                                         " ",
                                         "\t",
                                         "\xB0",
                                         "\xff",
                                         "#"};
    std::mt19937 random(seed);
    const int count = std::uniform_int_distribution<int>(0, 120)(random);
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        if (random() % 3 == 0)
            bytes.append(char(random() % 256));
        else
            bytes.append(pieces[random() % std::size(pieces)]);
    }
    return bytes;
}

} // namespace

TEST_P(SettingsRandomFile, AWriteThenAReadGivesTheValueBack)
{
    test::TempProfile profile;
    const QByteArray bytes = randomFile(GetParam());
    putFile(profile.settingsFile(), bytes);
    SCOPED_TRACE(::testing::PrintToString(bytes.toStdString()));
    SettingsStore store = profile.store();
    ASSERT_NO_THROW(store.write_setting(names::Locations, "loc0", "Boston, MA"));
    ASSERT_NO_THROW(store.write_setting(names::Settings, names::Metric, "y"));
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
    EXPECT_EQ(store.read_setting(names::Settings, names::Metric), "y");
    // And the file is sound from then on: a second write needs no setting aside.
    int notices = 0;
    store.setDamagedFileHandler([&](const std::string&) { ++notices; });
    ASSERT_NO_THROW(store.write_setting(names::Locations, "loc1", "Denver, CO"));
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(store.read_setting(names::Locations, "loc1"), "Denver, CO");
}

INSTANTIATE_TEST_SUITE_P(Seeds, SettingsRandomFile, ::testing::Range(0u, 200u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "Seed" + std::to_string(info.param);
                         });
