#include "settings/SettingsStore.h"

#include "platform/AppPaths.h"
#include "platform/CirroluxError.h"
#include "settings/IniLines.h"
#include "settings/SettingNames.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cirrolux {

namespace {

QString fromText(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string toText(const QString& text)
{
    return text.toLatin1().toStdString();
}

// The stored spelling of `name` among `names`, or an empty string when it is not there.
QString findSpelling(const QStringList& names, std::string_view name)
{
    const QString wanted = fromText(name);
    for (const QString& candidate : names) {
        if (candidate.compare(wanted, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return {};
}

using Snapshot = std::map<QString, QVariant>;

std::optional<QByteArray> fileBytes(const QString& path);
std::optional<Snapshot> parsedBytes(const QByteArray& bytes, const QString& near);

} // namespace

SettingsStore::SettingsStore(QString iniPath)
    : SettingsStore(std::move(iniPath), QSettings::IniFormat)
{
}

SettingsStore::SettingsStore(QString location, QSettings::Format format)
    : m_location(std::move(location)), m_format(format)
{
}

SettingsStore SettingsStore::native()
{
    return SettingsStore(QStringLiteral("HKEY_CURRENT_USER\\Software\\Cirrolux"),
                         QSettings::NativeFormat);
}

SettingsStore SettingsStore::forUser()
{
#ifdef Q_OS_WIN
    return native();
#else
    return SettingsStore(AppPaths::settingsFile());
#endif
}

std::string SettingsStore::damagedFileMessage(const std::string& keptAs)
{
    return "Some settings could not be read and were left out. The old settings file was kept as " +
           keptAs + ".";
}

std::string SettingsStore::read_setting(std::string_view section, std::string_view name) const
{
    const std::string missing(SettingNames::NotAvailable);
    if (m_format == QSettings::IniFormat && !QFileInfo::exists(m_location))
        return missing;

    QVariant value;
    bool found = false;
    {
        QSettings settings(m_location, m_format);
        const QString group = findSpelling(settings.childGroups(), section);
        if (!group.isEmpty()) {
            settings.beginGroup(group);
            if (const QString key = findSpelling(settings.childKeys(), name); !key.isEmpty()) {
                value = settings.value(key);
                found = true;
            }
        }
    }
    if (!found) {
        const std::optional<QVariant> recovered = valueOnAWholeLine(section, name);
        if (!recovered)
            return missing;
        value = *recovered;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        return toText(value.toString());
    case QMetaType::QStringList:
        // An INI line edited by hand with unquoted commas ("loc0=Boston, MA") reads as a list.
        return toText(value.toStringList().join(QStringLiteral(", ")));
    default:
        throw SettingsError("Invalid data type for '" + std::string(name) + "'");
    }
}

void SettingsStore::write_setting(std::string_view section, std::string_view name,
                                  std::string_view value)
{
    modify(section, name, [&](QSettings& settings) {
        QString group = findSpelling(settings.childGroups(), section);
        if (group.isEmpty())
            group = fromText(section);
        settings.beginGroup(group);
        QString key = findSpelling(settings.childKeys(), name);
        if (key.isEmpty())
            key = fromText(name);
        settings.setValue(key, fromText(value));
        settings.endGroup();
    });
}

void SettingsStore::erase_section(std::string_view section)
{
    if (m_format == QSettings::IniFormat && !QFileInfo::exists(m_location))
        return;
    {
        QSettings settings(m_location, m_format);
        if (findSpelling(settings.childGroups(), section).isEmpty() &&
            !sectionOnAWholeLine(section))
            return;
    }
    // A section only a line-by-line reading finds is brought back by the write and so erased.
    modify(section, section, [&](QSettings& settings) {
        // An empty name would remove every section.
        if (const QString group = findSpelling(settings.childGroups(), section); !group.isEmpty())
            settings.remove(group);
    });
}

// The values of the file read line by line (see IniLines), when that reading differs from
// QSettings' own; keys are "<section>/<name>".
std::optional<std::map<QString, QVariant>> SettingsStore::lineByLineValues() const
{
    if (m_format != QSettings::IniFormat)
        return std::nullopt;
    const std::optional<QByteArray> bytes = fileBytes(m_location);
    if (!bytes)
        return std::nullopt;
    const IniLines lines = IniLines::of(*bytes);
    if (!lines.differs)
        return std::nullopt;
    return parsedBytes(lines.wellFormed, m_location);
}

// A value QSettings does not see because a damaged line before it runs on over its line.
std::optional<QVariant> SettingsStore::valueOnAWholeLine(std::string_view section,
                                                         std::string_view name) const
{
    const auto values = lineByLineValues();
    if (!values)
        return std::nullopt;
    const QString wanted = fromText(section) + QLatin1Char('/') + fromText(name);
    for (const auto& [key, value] : *values) {
        if (key.compare(wanted, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

bool SettingsStore::sectionOnAWholeLine(std::string_view section) const
{
    const auto values = lineByLineValues();
    if (!values)
        return false;
    const QString wanted = fromText(section) + QLatin1Char('/');
    return std::any_of(values->begin(), values->end(), [&](const auto& entry) {
        return entry.first.startsWith(wanted, Qt::CaseInsensitive);
    });
}

namespace {

constexpr QFileDevice::Permissions OwnerRights = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                 QFileDevice::WriteUser | QFileDevice::ExeUser;

// Takes away every right of the group and of others; grants nothing.
bool tighten(const QString& path)
{
    const QFileDevice::Permissions now = QFile::permissions(path);
    return (now & ~OwnerRights) == 0 || QFile::setPermissions(path, now & OwnerRights);
}

} // namespace

// The file holds the proxy password, so it and its folder are for their owner only; a folder or
// file made with wider rights is tightened by the next write.
void SettingsStore::ensureStoreExists(std::string_view section) const
{
    const QString folder = QFileInfo(m_location).absolutePath();
    if (!QDir().mkpath(folder) || !tighten(folder))
        throw SettingsError("Failed to create key " + std::string(section));
}

void SettingsStore::modify(std::string_view section, std::string_view name,
                           const std::function<void(QSettings&)>& edit)
{
    if (m_format == QSettings::IniFormat) {
        modifyFile(section, name, edit);
        return;
    }
    QSettings settings(m_location, m_format);
    edit(settings);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw SettingsError("Failed to set data for '" + std::string(name) + "'");
}

namespace {

// A key made of slashes only (a line "/=x") names nothing that can be read or written.
bool namesNothing(const QString& key)
{
    return std::all_of(key.begin(), key.end(), [](QChar c) { return c == QLatin1Char('/'); });
}

Snapshot snapshotOf(QSettings& settings)
{
    Snapshot all;
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys) {
        if (!namesNothing(key))
            all.emplace(key, settings.value(key));
    }
    return all;
}

std::optional<QByteArray> fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// What QSettings reads from `bytes`, or nothing when they do not parse. QSettings keeps parsed
// files in a cache keyed by path, so the bytes are parsed from a fresh file (beside `near`)
// under a name it has not seen.
std::optional<Snapshot> parsedBytes(const QByteArray& bytes, const QString& near)
{
    QTemporaryFile copy(near + QStringLiteral(".check.XXXXXX"));
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return std::nullopt;
    copy.close();
    QSettings check(copy.fileName(), QSettings::IniFormat);
    if (check.status() != QSettings::NoError)
        return std::nullopt;
    return snapshotOf(check);
}

// What the file at `path` holds, parsed afresh, or nothing when it cannot be read whole.
std::optional<Snapshot> readBack(const QString& path)
{
    const std::optional<QByteArray> bytes = fileBytes(path);
    if (!bytes)
        return std::nullopt;
    return parsedBytes(*bytes, path);
}

// What QSettings' reading `parsed` of the file `bytes` missed, against a reading line by line
// (see IniLines): values on lines of their own that it does not hold at all (`lost`), and
// whether anything was missed or read differently (`damaged`).
struct LineCheck
{
    Snapshot lost;
    bool damaged = false;
};

LineCheck checkLineByLine(const QByteArray& bytes, const Snapshot& parsed, const QString& near)
{
    const IniLines lines = IniLines::of(bytes);
    LineCheck check;
    check.damaged = lines.repeatedName;
    if (!lines.differs)
        return check;
    check.damaged = check.damaged || lines.brokenValueLine;
    const std::optional<Snapshot> whole = parsedBytes(lines.wellFormed, near);
    if (!whole) {
        // Nothing can be brought back; the old file is still kept and the user told.
        check.damaged = true;
        return check;
    }
    for (const auto& [key, value] : *whole) {
        const auto found = parsed.find(key);
        if (found != parsed.end() && found->second == value)
            continue;
        check.damaged = true;
        const bool heldInAnyCase =
            std::any_of(parsed.begin(), parsed.end(), [&name = key](const auto& entry) {
                return entry.first.compare(name, Qt::CaseInsensitive) == 0;
            });
        if (!heldInAnyCase)
            check.lost.emplace(key, value);
    }
    return check;
}

bool readsBackAs(const QString& path, const Snapshot& expected)
{
    const std::optional<Snapshot> found = readBack(path);
    return found && *found == expected;
}

// Whether `value` under `key` comes back unchanged from a file that holds nothing else but a
// known value. A file cut short (a full disk: no line end at its end, or the known value
// missing) says nothing about the value, so it counts as surviving: the caller then blames the
// disk, not the value.
bool survivesAlone(const QString& draft, const QString& key, const QVariant& value)
{
    const QString canaryKey = QStringLiteral("zzzz/canary");
    const QVariant canary = QStringLiteral("1");
    QTemporaryFile lone(draft + QStringLiteral(".lone.XXXXXX"));
    if (!lone.open())
        return true;
    lone.close();
    {
        QSettings settings(lone.fileName(), QSettings::IniFormat);
        settings.setValue(key, value);
        settings.setValue(canaryKey, canary);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return true;
    }
    QFile written(lone.fileName());
    if (!written.open(QIODevice::ReadOnly) || !written.readAll().endsWith('\n'))
        return true;
    const std::optional<Snapshot> found = readBack(lone.fileName());
    if (!found || !found->contains(canaryKey) || found->at(canaryKey) != canary)
        return true;
    return *found == Snapshot{{key, value}, {canaryKey, canary}};
}

// The values of `expected` that the rewrite did not keep and that no rewrite can keep: a quoted
// list holding a NUL, for instance, reads as a text list but is written back as a list of
// variants. Empty when the loss has another cause (the disk) or touches a value the edit made.
QStringList valuesToSetAside(const QString& draft, const Snapshot& before, const Snapshot& expected)
{
    const std::optional<Snapshot> found = readBack(draft);
    if (!found)
        return {};
    QStringList lost;
    for (const auto& [key, value] : expected) {
        const auto kept = found->find(key);
        if (kept != found->end() && kept->second == value)
            continue;
        const auto old = before.find(key);
        const bool madeByTheEdit = old == before.end() || old->second != value;
        if (madeByTheEdit || survivesAlone(draft, key, value))
            return {};
        lost.push_back(key);
    }
    return lost;
}

// Writes `bytes` to a new file at `path`, for its owner only. Whatever is at `path` is removed
// first, never followed: a leftover draft that is a symbolic link would otherwise have the
// settings written into the file it points to. With `durable` the file is synced to disk.
bool writeNewFile(const QString& path, const QByteArray& bytes, bool durable)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return false;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += written;
    }
    const bool synced = !durable || ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return done == bytes.size() && synced && closed;
#else
    Q_UNUSED(durable);
    QFile::remove(path);
    QFile file(path);
    return file.open(QIODevice::NewOnly) &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
           file.write(bytes) == bytes.size() && file.flush();
#endif
}

// QSettings syncs the file it writes; the rename that puts it in place is made lasting here, so
// a power cut right after a write cannot bring the old file back or leave none.
void syncFolderToDisk(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

} // namespace

// QSettings does not notice a short write (a full disk truncates the file and still reports
// success), so the new contents go to a copy that is read back and checked before it replaces
// the settings file in one rename. A value already in the file that cannot survive a rewrite
// would fail that check for ever; it is dropped instead, and the whole old file kept beside the
// new one, as for a file that does not parse. Values that QSettings misses because a damaged
// line runs on over theirs are brought back from a reading line by line, and that file is kept
// too.
void SettingsStore::modifyFile(std::string_view section, std::string_view name,
                               const std::function<void(QSettings&)>& edit)
{
    const std::string failed = "Failed to set data for '" + std::string(name) + "'";
    ensureStoreExists(section);
    const QString draft = m_location + QStringLiteral(".new");
    const auto fail = [&] {
        QFile::remove(draft);
        throw SettingsError(failed);
    };

    // The old file's bytes, as they are parsed below and, if damaged, kept.
    QByteArray original;
    if (QFileInfo::exists(m_location)) {
        std::optional<QByteArray> bytes = fileBytes(m_location);
        if (!bytes)
            fail();
        original = std::move(*bytes);
    }
    // The draft is parsed and then written anew (and synced) by QSettings, so syncing this copy
    // would only cost time.
    if (!writeNewFile(draft, original, false))
        fail();

    bool damaged = false;
    Snapshot expected;
    Snapshot before;
    {
        QSettings settings(draft, QSettings::IniFormat);
        damaged = settings.status() == QSettings::FormatError;
        const LineCheck lines = checkLineByLine(original, snapshotOf(settings), draft);
        damaged = damaged || lines.damaged;
        for (const auto& [key, value] : lines.lost)
            settings.setValue(key, value);
        before = snapshotOf(settings);
        edit(settings);
        settings.sync();
        if (settings.status() == QSettings::AccessError)
            fail();
        expected = snapshotOf(settings);
    }
    if (!readsBackAs(draft, expected)) {
        const QStringList lost = valuesToSetAside(draft, before, expected);
        if (lost.isEmpty())
            fail();
        // Written anew from the values that survived: some damaged names cannot even be removed.
        if (!writeNewFile(draft, {}, false))
            fail();
        {
            QSettings settings(draft, QSettings::IniFormat);
            for (const auto& [key, value] : expected) {
                if (!lost.contains(key))
                    settings.setValue(key, value);
            }
            settings.sync();
            if (settings.status() != QSettings::NoError)
                fail();
            expected = snapshotOf(settings);
        }
        if (!readsBackAs(draft, expected))
            fail();
        damaged = true;
    }
    if (!tighten(draft))
        fail();

    const QString keptAs = m_location + QStringLiteral(".damaged");
    // The old file stays whole beside the new one, for the owner only like the settings file
    // (it holds the proxy password); without that copy nothing is dropped.
    if (damaged && !writeNewFile(keptAs, original, true))
        fail();
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(draft).toStdString(),
                            QFile::encodeName(m_location).toStdString(), error);
    if (error)
        fail();
    syncFolderToDisk(QFileInfo(m_location).absolutePath());
    if (damaged && m_damagedFileHandler)
        m_damagedFileHandler(toText(QDir::toNativeSeparators(keptAs)));
}

} // namespace cirrolux
