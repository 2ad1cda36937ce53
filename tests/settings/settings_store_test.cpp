#include "TempProfile.h"
#include "platform/CirroluxError.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(SettingsStore, MissingStoreSectionOrValueReadsNotAvailableAndCreatesNothing)
{
    test::TempProfile profile;
    const SettingsStore store = profile.store();
    EXPECT_EQ(store.read_setting(names::Settings, names::Metric), "n/a");
    EXPECT_FALSE(QFileInfo::exists(profile.settingsFile()));

    SettingsStore writable = profile.store();
    writable.write_setting(names::Settings, names::Metric, "y");
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "n/a");
    EXPECT_EQ(store.read_setting(names::Settings, names::AutoUpdate), "n/a");
    EXPECT_FALSE(fileBytes(profile.settingsFile()).contains("Locations"));
}

TEST(SettingsStore, EmptyTextReadsBackEmpty)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    store.write_setting(names::Settings, names::FormBackground, "");
    EXPECT_EQ(store.read_setting(names::Settings, names::FormBackground), "");
}

struct SpellingCase
{
    const char* writtenSection;
    const char* writtenName;
    const char* readSection;
    const char* readName;
};

class SettingsSpelling : public ::testing::TestWithParam<SpellingCase>
{
};

TEST_P(SettingsSpelling, NamesAreComparedWithoutRegardToCase)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    const SpellingCase& c = GetParam();
    store.write_setting(c.writtenSection, c.writtenName, "first");
    store.write_setting(c.readSection, c.readName, "second");
    EXPECT_EQ(store.read_setting(c.writtenSection, c.writtenName), "second");
    EXPECT_EQ(store.read_setting(c.readSection, c.readName), "second");
    // One key only: the second spelling replaced the first.
    const QByteArray text = fileBytes(profile.settingsFile()).toLower();
    EXPECT_EQ(text.count(QByteArray(c.readName).toLower() + '='), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, SettingsSpelling,
    ::testing::Values(SpellingCase{"Settings", "Labelfcolor", "Settings", "labelfcolor"},
                      SpellingCase{"Settings", "Ffontsiz", "SETTINGS", "FfontSiz"},
                      SpellingCase{"locations", "LOC0", "Locations", "loc0"}));

TEST(SettingsStore, TextKeepsCommasSpacesAndDegreeSigns)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    const std::string key = "Boston, MA";
    const std::string degrees = "72\xB0 F; \"quoted\" = \\ [x]";
    store.write_setting(names::Locations, "loc0", key);
    store.write_setting(names::Settings, "odd", degrees);
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), key);
    EXPECT_EQ(store.read_setting(names::Settings, "odd"), degrees);
}

TEST(SettingsStore, HandEditedListValueReadsAsText)
{
    test::TempProfile profile;
    QDir().mkpath(QFileInfo(profile.settingsFile()).absolutePath());
    QFile file(profile.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Locations]\nloc0=Boston, MA\nloc1=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n");
    file.close();
    const SettingsStore store = profile.store();
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
    try {
        store.read_setting(names::Locations, "loc1");
        FAIL() << "a non-text value must not read as text";
    } catch (const SettingsError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'loc1'");
    }
}

TEST(SettingsStore, EraseSectionRemovesOnlyThatSection)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    store.write_setting(names::Locations, "loc0", "Boston, MA");
    store.write_setting(names::Settings, names::Metric, "y");
    store.erase_section("LOCATIONS");
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "n/a");
    EXPECT_EQ(store.read_setting(names::Settings, names::Metric), "y");
    store.erase_section(names::Locations); // erasing a missing section is no error
}

TEST(SettingsStore, FailedWriteRaisesAndLeavesTheStoredFileWhole)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores directory permissions";
    test::TempProfile profile;
    SettingsStore store = profile.store();
    store.write_setting(names::Settings, names::Metric, "y");
    store.write_setting(names::Locations, "loc0", "Boston, MA");
    const QByteArray before = fileBytes(profile.settingsFile());
    const QString folder = QFileInfo(profile.settingsFile()).absolutePath();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    try {
        store.write_setting(names::Settings, names::Metric, "n");
        ADD_FAILURE() << "the write should have failed";
    } catch (const SettingsError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Metric'");
    }
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(fileBytes(profile.settingsFile()), before);
    EXPECT_EQ(store.read_setting(names::Settings, names::Metric), "y");
}

// Works as root too: a file-size limit makes the write fail the way a full disk does.
TEST(SettingsStore, WriteOnAFullDiskRaisesAndLeavesTheStoredFileWhole)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    store.write_setting(names::Locations, "loc0", "Boston, MA");
    store.write_setting(names::Settings, names::Metric, "y");
    const QByteArray before = fileBytes(profile.settingsFile());

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    try {
        store.write_setting(names::Settings, "big", std::string(8192, 'x'));
    } catch (const SettingsError& e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(error, "Failed to set data for 'big'");
    EXPECT_EQ(fileBytes(profile.settingsFile()), before);
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
    EXPECT_EQ(store.read_setting(names::Settings, "big"), "n/a");
}

TEST(SettingsStore, CorruptFileStillReadsWhatItCanAndIsNotLostByAWrite)
{
    test::TempProfile profile;
    QDir().mkpath(QFileInfo(profile.settingsFile()).absolutePath());
    QFile file(profile.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Locations]\nloc0=Boston, MA\n\x01\xff garbage line without equals\n[Settings\n"
               "Metric=y\n");
    file.close();
    SettingsStore store = profile.store();
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
    std::string error;
    try {
        store.write_setting(names::Locations, "loc1", "Lima, Peru (O)");
    } catch (const SettingsError& e) {
        error = e.what();
    }
    // Either the write succeeds and keeps the old preset, or it is refused with the store's text.
    if (error.empty()) {
        EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
        EXPECT_EQ(store.read_setting(names::Locations, "loc1"), "Lima, Peru (O)");
    } else {
        EXPECT_EQ(error, "Failed to create key Locations");
        EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
    }
}

// The file holds the proxy password: it and its folder are for their owner only, and wider
// rights left from before are taken away by the next write.
struct RightsCase
{
    const char* name;
    QFileDevice::Permissions fileBefore; // empty: no file yet
    QFileDevice::Permissions folderBefore;
};

class SettingsRights : public ::testing::TestWithParam<RightsCase>
{
};

TEST_P(SettingsRights, AreTheOwnersOnlyAfterAWrite)
{
    using P = QFileDevice;
    test::TempProfile profile;
    const QString file = profile.settingsFile();
    const QString folder = QFileInfo(file).absolutePath();
    const RightsCase& c = GetParam();
    if (c.fileBefore) {
        SettingsStore(file).write_setting(names::Settings, names::Metric, "y");
        ASSERT_TRUE(QFile::setPermissions(file, c.fileBefore));
        ASSERT_TRUE(QFile::setPermissions(folder, c.folderBefore));
    }
    SettingsStore store(file);
    store.write_setting(names::Settings, names::ProxyPass, "s3cret");
    const auto owner = P::ReadOwner | P::WriteOwner | P::ExeOwner;
    const auto others = P::ReadGroup | P::WriteGroup | P::ExeGroup | P::ReadOther |
                        P::WriteOther | P::ExeOther;
    EXPECT_EQ(QFile::permissions(file) & (owner | others), P::ReadOwner | P::WriteOwner);
    EXPECT_EQ(QFile::permissions(folder) & (owner | others), owner);
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyPass), "s3cret");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsRights,
    ::testing::Values(
        RightsCase{"NewFile", {}, {}},
        RightsCase{"ReadableByAll",
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::ReadOther,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                       QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                       QFileDevice::ExeOther},
        RightsCase{"WritableByGroup",
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::WriteGroup,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                       QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup}),
    [](const ::testing::TestParamInfo<RightsCase>& info) { return info.param.name; });
