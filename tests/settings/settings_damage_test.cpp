#include "TempProfile.h"
#include "platform/CirroluxError.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <ostream>
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

// The file's rights, as in "chmod 600".
int modeOf(const QString& path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777)
                                                                      : -1;
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

// --- Damaged lines ----------------------------------------------------------------------------

namespace {

struct Reading
{
    const char* section;
    const char* name;
    const char* value;
};

struct DamagedFileCase
{
    const char* name;
    QByteArray file;
    // Whether the first write keeps the old file and tells the user.
    bool damaged;
    // Values read the same before and after the first write.
    std::vector<Reading> readings;
};

void PrintTo(const DamagedFileCase& c, std::ostream* out)
{
    *out << c.name;
}

class DamagedLines : public ::testing::TestWithParam<DamagedFileCase>
{
};

} // namespace

TEST_P(DamagedLines, NoValueOnAWholeLineIsLostAndADamagedFileIsKept)
{
    const DamagedFileCase& c = GetParam();
    test::TempProfile profile;
    putFile(profile.settingsFile(), c.file);
    WatchedStore watched(profile);
    for (const Reading& r : c.readings)
        EXPECT_EQ(watched.store.read_setting(r.section, r.name), r.value) << "before: " << r.name;

    watched.store.write_setting(names::Settings, names::AutoUpdate, "n");

    for (const Reading& r : c.readings)
        EXPECT_EQ(watched.store.read_setting(r.section, r.name), r.value) << "after: " << r.name;
    EXPECT_EQ(watched.store.read_setting(names::Settings, names::AutoUpdate), "n");
    const QString keptAs = profile.settingsFile() + QStringLiteral(".damaged");
    if (c.damaged) {
        EXPECT_EQ(fileBytes(keptAs), c.file);
        EXPECT_EQ(modeOf(keptAs), 0600);
        EXPECT_EQ(watched.notices, std::vector<std::string>{keptAs.toStdString()});
    } else {
        EXPECT_FALSE(QFileInfo::exists(keptAs));
        EXPECT_TRUE(watched.notices.empty());
    }
    // The file written is sound: the next write keeps nothing aside.
    watched.notices.clear();
    watched.store.write_setting(names::Settings, names::AutoUpdate, "y");
    EXPECT_TRUE(watched.notices.empty());
    for (const Reading& r : c.readings)
        EXPECT_EQ(watched.store.read_setting(r.section, r.name), r.value) << "again: " << r.name;
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedLines,
    ::testing::Values(
        DamagedFileCase{
            "UnclosedQuoteOnALineOfItsOwn",
            "[Locations]\nloc0=Boston, MA\nx\"y\nloc1=Chicago, IL\n",
            true,
            {{"Locations", "loc0", "Boston, MA"}, {"Locations", "loc1", "Chicago, IL"}}},
        DamagedFileCase{"UnclosedQuoteInAValue",
                        "[Locations]\nloc0=\"Boston, MA\nloc1=\"Chicago, IL\"\nloc2=Denver, CO\n"
                        "[Settings]\nMetric=y\n",
                        true,
                        {{"Locations", "loc1", "Chicago, IL"},
                         {"Locations", "loc2", "Denver, CO"},
                         {"Settings", "Metric", "y"}}},
        DamagedFileCase{"QuoteRunsOverTheNextHeader",
                        "[Locations]\nloc0=Bos\"ton\n[Settings]\nMetric=y\nStartupLoc=Lima\n",
                        true,
                        {{"Settings", "Metric", "y"}, {"Settings", "StartupLoc", "Lima"}}},
        DamagedFileCase{
            "CarriageReturnLines",
            "[Locations]\r\nloc0=Boston, MA\r\nx\"y\r\nloc1=Chicago, IL\r\n",
            true,
            {{"Locations", "loc0", "Boston, MA"}, {"Locations", "loc1", "Chicago, IL"}}},
        DamagedFileCase{
            "BracketWithoutItsClose",
            "[Locations]\nloc0=Boston, MA\n[x\nloc1=Chicago, IL\n",
            true,
            {{"Locations", "loc0", "Boston, MA"}, {"Locations", "loc1", "Chicago, IL"}}},
        DamagedFileCase{
            "BracketWithTextAfterItsClose",
            "[Locations]\nloc0=Boston, MA\n[x]y\nloc1=Chicago, IL\n",
            true,
            {{"Locations", "loc0", "Boston, MA"}, {"Locations", "loc1", "Chicago, IL"}}},
        DamagedFileCase{"BracketStartsAValueLine",
                        "[Locations]\nloc0=Boston, MA\n[loc1=Chicago, IL\nloc2=Denver, CO\n",
                        true,
                        {{"Locations", "loc0", "Boston, MA"}, {"Locations", "loc2", "Denver, CO"}}},
        DamagedFileCase{
            "QuoteInAHeader",
            "[Loc\"ations]\nloc0=Boston, MA\nloc1=\"Chicago, IL\"\n[Settings]\nMetric=y\n",
            true,
            {{"Locations", "loc0", "Boston, MA"},
             {"Locations", "loc1", "Chicago, IL"},
             {"Settings", "Metric", "y"}}},
        DamagedFileCase{
            "BackslashAtALinesEnd",
            "[Locations]\nloc0=Boston, MA\\\nloc1=Chicago, IL\nloc2=Denver, CO\n",
            true,
            {{"Locations", "loc1", "Chicago, IL"}, {"Locations", "loc2", "Denver, CO"}}},
        DamagedFileCase{"BrokenValueAtTheEndLosesNoOtherLine",
                        "[Locations]\nloc0=Boston, MA\nloc1=Chi\"cago\n",
                        true,
                        {{"Locations", "loc0", "Boston, MA"}}},
        DamagedFileCase{"NameGivenTwice",
                        "[Settings]\nProxy=proxy.example.net\nProxyPort=8080\nProxy=x\n",
                        true,
                        {{"Settings", "Proxy", "x"}, {"Settings", "ProxyPort", "8080"}}},
        DamagedFileCase{"SameLineTwice",
                        "[Settings]\nProxy=x\nProxyPort=8080\nProxy=x\n",
                        false,
                        {{"Settings", "Proxy", "x"}, {"Settings", "ProxyPort", "8080"}}},
        DamagedFileCase{"GarbageWithoutValueAtTheEndLosesNothing",
                        "[Locations]\nloc0=Boston, MA\nx\"y\n",
                        false,
                        {{"Locations", "loc0", "Boston, MA"}}},
        DamagedFileCase{
            "HandEditedButWhole",
            "\xEF\xBB\xBF[Locations]\nloc0=Boston, MA\n; a note \"\n\n  [Settings] ; mine\n"
            "Metric=y ; metric\nnote without value\n",
            false,
            {{"Locations", "loc0", "Boston, MA"}, {"Settings", "Metric", "y"}}}),
    [](const ::testing::TestParamInfo<DamagedFileCase>& info) {
        return std::string(info.param.name);
    });

// --- Random bytes inserted into a sound file --------------------------------------------------

namespace {

// A file as the program writes it, with its value lines: where each starts and ends (the
// index of its line end), its section and name, and the text it reads as.
struct SoundFile
{
    struct Line
    {
        qsizetype start, end;
        std::string section, name, value;
    };
    QByteArray bytes;
    std::vector<Line> values;
    std::map<std::string, qsizetype> headers; // section -> start of its header line
};

const SoundFile& soundFile()
{
    static const SoundFile file = [] {
        const std::vector<Reading> written = {
            {"Locations", "loc0", "Boston, MA"},
            {"Locations", "loc1", "Chicago, IL"},
            {"Locations", "loc2", "Lima, Peru (O)"},
            {"Locations", "loc3", "90210 - Beverly Hills, CA"},
            {"Locations", "loc4", "Nairobi, Kenya (O)"},
            {"Locations", "loc5", "St. John's, NL (O)"},
            {"Locations", "loc6", "Denver, CO"},
            {"Locations", "loc7", "KBOS"},
            {"Settings", "Metric", "y"},
            {"Settings", "StartupLoc", "Boston, MA"},
            {"Settings", "Proxy", "proxy.example.net"},
            {"Settings", "ProxyPort", "8080"},
            {"Settings", "ProxyPass", "p;a\"s=s"},
            {"Settings", "formbkgd", "$00FF8040"},
        };
        test::TempProfile profile;
        SettingsStore store = profile.store();
        for (const Reading& r : written)
            store.write_setting(r.section, r.name, r.value);
        SoundFile sound;
        sound.bytes = fileBytes(profile.settingsFile());
        std::string section;
        for (qsizetype start = 0; start < sound.bytes.size();) {
            qsizetype end = sound.bytes.indexOf('\n', start);
            if (end < 0)
                end = sound.bytes.size();
            const QByteArray line = sound.bytes.mid(start, end - start);
            if (line.startsWith('[')) {
                section = line.mid(1, line.size() - 2).toStdString();
                sound.headers[section] = start;
            } else if (const qsizetype equals = line.indexOf('='); equals > 0) {
                const std::string name = line.left(equals).toStdString();
                sound.values.push_back(
                    {start, end, section, name, store.read_setting(section, name)});
            }
            start = end + 1;
        }
        return sound;
    }();
    return file;
}

// Random bytes, half of them the INI file's own punctuation.
QByteArray randomInsertion(std::mt19937& random)
{
    static const char punctuation[] = "\"[]\\\n\r;=,% \t@";
    const int length = std::uniform_int_distribution<int>(1, 6)(random);
    QByteArray bytes;
    for (int i = 0; i < length; ++i) {
        if (random() % 2 == 0)
            bytes.append(punctuation[random() % (sizeof punctuation - 1)]);
        else
            bytes.append(char(random() % 256));
    }
    return bytes;
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Whether the line [start, end] is still a whole line of its own after `inserted` went in at
// `at`.
bool untouched(qsizetype start, qsizetype end, qsizetype at, const QByteArray& inserted)
{
    return at < start || at > end || (at == start && isLineEnd(inserted.back())) ||
           (at == end && isLineEnd(inserted.front()));
}

class RandomInsertion : public ::testing::TestWithParam<unsigned>
{
};

} // namespace

// Any bytes put anywhere: every value whose line, and whose section's header, the bytes left
// whole reads as before after a write, or the whole damaged file is kept (owner only) and the
// user told. The bytes may start a section header of their own; values they put under it are not
// counted.
TEST_P(RandomInsertion, EveryValueOnAWholeLineSurvivesOrTheFileIsKeptAndTheUserTold)
{
    const SoundFile& sound = soundFile();
    std::mt19937 random(GetParam());
    const qsizetype at = std::uniform_int_distribution<qsizetype>(0, sound.bytes.size())(random);
    const QByteArray inserted = randomInsertion(random);
    const QByteArray damagedFile = sound.bytes.left(at) + inserted + sound.bytes.mid(at);
    SCOPED_TRACE(::testing::PrintToString(damagedFile.toStdString()));

    test::TempProfile profile;
    putFile(profile.settingsFile(), damagedFile);
    WatchedStore watched(profile);
    ASSERT_NO_THROW(watched.store.write_setting(names::Settings, names::AutoUpdate, "y"));

    const QString keptAs = profile.settingsFile() + QStringLiteral(".damaged");
    const bool kept = QFileInfo::exists(keptAs);
    if (kept) {
        EXPECT_EQ(fileBytes(keptAs), damagedFile);
        EXPECT_EQ(modeOf(keptAs), 0600);
        EXPECT_EQ(watched.notices, std::vector<std::string>{keptAs.toStdString()});
    } else {
        EXPECT_TRUE(watched.notices.empty());
    }
    for (const SoundFile::Line& line : sound.values) {
        const qsizetype header = sound.headers.at(line.section);
        const qsizetype headerEnd = sound.bytes.indexOf('\n', header);
        const bool newHeaderBetween = at > header && at <= line.start && inserted.contains('[');
        if (!untouched(line.start, line.end, at, inserted) ||
            !untouched(header, headerEnd, at, inserted) || newHeaderBetween)
            continue;
        const std::string read = watched.store.read_setting(line.section, line.name);
        EXPECT_TRUE(read == line.value || kept) << line.name << " reads " << read;
    }
    EXPECT_EQ(watched.store.read_setting(names::Settings, names::AutoUpdate), "y");
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInsertion, ::testing::Range(0u, 400u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "Seed" + std::to_string(info.param);
                         });

// Found by QSettings but not text: still an error, not a value looked for line by line.
TEST(DamagedLines, StoredInvalidValueStillGivesInvalidDataType)
{
    test::TempProfile profile;
    putFile(profile.settingsFile(), "[Locations]\nloc1=@Invalid()\n");
    const SettingsStore store = profile.store();
    try {
        store.read_setting(names::Locations, "loc1");
        ADD_FAILURE() << "no error";
    } catch (const SettingsError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'loc1'");
    }
}
