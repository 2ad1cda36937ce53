#include "settings/SettingsStore.h"

#include "platform/AppPaths.h"
#include "platform/CirroluxError.h"
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
#include <fcntl.h>
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

    QSettings settings(m_location, m_format);
    const QString group = findSpelling(settings.childGroups(), section);
    if (group.isEmpty())
        return missing;
    settings.beginGroup(group);
    const QString key = findSpelling(settings.childKeys(), name);
    if (key.isEmpty())
        return missing;

    const QVariant value = settings.value(key);
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
        if (findSpelling(settings.childGroups(), section).isEmpty())
            return;
    }
    modify(section, section, [&](QSettings& settings) {
        settings.remove(findSpelling(settings.childGroups(), section));
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

using Snapshot = std::map<QString, QVariant>;

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

// What the file at `path` holds, parsed afresh, or nothing when it cannot be read whole.
// QSettings keeps parsed files in a cache keyed by path, so the bytes are parsed from a fresh
// copy under a name it has not seen.
std::optional<Snapshot> readBack(const QString& path)
{
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = written.readAll();
    QTemporaryFile copy(path + QStringLiteral(".check.XXXXXX"));
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return std::nullopt;
    copy.close();
    QSettings check(copy.fileName(), QSettings::IniFormat);
    if (check.status() != QSettings::NoError)
        return std::nullopt;
    return snapshotOf(check);
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

// A plain copy: the draft is parsed and then written anew (and synced) by QSettings, so syncing
// the copy itself would only cost time.
bool copyBytes(const QString& from, const QString& to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = source.readAll();
    return source.error() == QFileDevice::NoError && target.write(bytes) == bytes.size() &&
           target.flush();
}

// QSettings syncs the file it writes; the rename that puts it in place is made lasting here, so
// a power cut right after a write cannot bring the old file back or leave none.
void syncFolderToDisk(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
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
// new one, as for a file that does not parse.
void SettingsStore::modifyFile(std::string_view section, std::string_view name,
                               const std::function<void(QSettings&)>& edit)
{
    const std::string failed = "Failed to set data for '" + std::string(name) + "'";
    ensureStoreExists(section);
    const QString draft = m_location + QStringLiteral(".new");
    QFile::remove(draft);
    const auto discardDraft = [&] { QFile::remove(draft); };
    const auto fail = [&] {
        discardDraft();
        throw SettingsError(failed);
    };

    if (QFileInfo::exists(m_location)) {
        if (!copyBytes(m_location, draft))
            fail();
    } else if (QFile created(draft);
               !created.open(QIODevice::WriteOnly) ||
               !created.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        fail();
    }
    // Before anything new is written into it.
    if (!tighten(draft))
        fail();

    bool damaged = false;
    Snapshot expected;
    Snapshot before;
    {
        QSettings settings(draft, QSettings::IniFormat);
        damaged = settings.status() == QSettings::FormatError;
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
        QFile::remove(draft);
        if (QFile created(draft);
            !created.open(QIODevice::WriteOnly) ||
            !created.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
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
    if (damaged) {
        // The old file stays whole beside the new one; without that copy nothing is dropped.
        QFile::remove(keptAs);
        if (!QFile::copy(m_location, keptAs))
            fail();
    }
    std::error_code error;
    std::filesystem::rename(draft.toStdString(), m_location.toStdString(), error);
    if (error)
        fail();
    syncFolderToDisk(QFileInfo(m_location).absolutePath());
    if (damaged && m_damagedFileHandler)
        m_damagedFileHandler(toText(QDir::toNativeSeparators(keptAs)));
}

} // namespace cirrolux
