// What the settings store does with the files beside the settings file: a leftover draft or an
// old copy that is a symbolic link is never written through, and no write leaves a file
// descriptor open, even when descriptor 0 is free.
#include "TempProfile.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <string>

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

bool isLink(const QString& path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

int openDescriptors()
{
    int count = 0;
    if (DIR* folder = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(folder))
            count += entry->d_name[0] != '.' ? 1 : 0;
        ::closedir(folder);
    }
    return count;
}

struct LinkedFile
{
    const char* name;
    const char* suffix;      // the file beside the settings file that is a link
    QByteArray settingsFile; // what the settings file holds first
};

void PrintTo(const LinkedFile& c, std::ostream* out)
{
    *out << c.name;
}

class LinkBesideTheSettings : public ::testing::TestWithParam<LinkedFile>
{
};

} // namespace

TEST_P(LinkBesideTheSettings, IsReplacedAndItsTargetLeftAlone)
{
    const LinkedFile& c = GetParam();
    test::TempProfile profile;
    if (c.settingsFile.isEmpty())
        QDir().mkpath(QFileInfo(profile.settingsFile()).absolutePath());
    else
        putFile(profile.settingsFile(), c.settingsFile);
    const QString target = profile.root() + QStringLiteral("/precious.txt");
    putFile(target, "precious\n");
    const QString link = profile.settingsFile() + QLatin1String(c.suffix);
    ASSERT_TRUE(QFile::link(target, link));

    SettingsStore store = profile.store();
    store.write_setting(names::Locations, "loc1", "Denver, CO");

    EXPECT_EQ(fileBytes(target), QByteArray("precious\n"));
    EXPECT_FALSE(isLink(link));
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"),
              c.settingsFile.isEmpty() ? "n/a" : "Boston, MA");
    EXPECT_EQ(store.read_setting(names::Locations, "loc1"), "Denver, CO");
}

INSTANTIATE_TEST_SUITE_P(
    Files, LinkBesideTheSettings,
    ::testing::Values(LinkedFile{"LeftoverDraft", ".new", "[Locations]\nloc0=Boston, MA\n"},
                      LinkedFile{"LeftoverDraftNoFileYet", ".new", ""},
                      LinkedFile{"OldDamagedCopy", ".damaged",
                                 "[Locations]\nloc0=Boston, MA\nx\"y\nloc9=Lima\n"}),
    [](const ::testing::TestParamInfo<LinkedFile>& info) { return std::string(info.param.name); });

TEST(SettingsFileSafety, DraftLinkToAMissingFileCreatesNothingThere)
{
    test::TempProfile profile;
    putFile(profile.settingsFile(), "[Settings]\nMetric=y\n");
    const QString target = profile.root() + QStringLiteral("/nothing-here");
    ASSERT_TRUE(QFile::link(target, profile.settingsFile() + QStringLiteral(".new")));

    profile.store().write_setting(names::Settings, names::Metric, "n");

    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(profile.store().read_setting(names::Settings, names::Metric), "n");
}

// With standard input closed, the folder opened for its sync gets descriptor 0; it must be
// synced and closed like any other.
TEST(SettingsFileSafety, WritesLeaveNoDescriptorOpenWhenStandardInputIsClosed)
{
    test::TempProfile profile;
    SettingsStore store = profile.store();
    store.write_setting(names::Settings, names::Metric, "y");
    const int savedInput = ::dup(0);
    ASSERT_GE(savedInput, 0);
    ::close(0);
    const int before = openDescriptors();
    for (int i = 0; i < 200; ++i)
        store.write_setting(names::Settings, names::AutoUpdate, std::to_string(i));
    const int after = openDescriptors();
    const bool zeroFree = ::fcntl(0, F_GETFD) == -1;
    ASSERT_EQ(::dup2(savedInput, 0), 0);
    ::close(savedInput);

    EXPECT_EQ(after, before);
    EXPECT_TRUE(zeroFree) << "descriptor 0 was left open";
    EXPECT_EQ(store.read_setting(names::Settings, names::AutoUpdate), "199");
}
