#include "settings/SettingsStore.h"

#include "platform/AppPaths.h"
#include "platform/CirroluxError.h"
#include "settings/SettingNames.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <filesystem>
#include <map>

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

Snapshot snapshotOf(QSettings& settings)
{
    Snapshot all;
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys)
        all.emplace(key, settings.value(key));
    return all;
}

// Whether the file at `path` holds exactly `expected`. QSettings keeps parsed files in a cache
// keyed by path, so the bytes are parsed from a fresh copy under a name it has not seen.
bool readsBackAs(const QString& path, const Snapshot& expected)
{
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = written.readAll();
    QTemporaryFile copy(path + QStringLiteral(".check.XXXXXX"));
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return false;
    copy.close();
    QSettings check(copy.fileName(), QSettings::IniFormat);
    return check.status() == QSettings::NoError && snapshotOf(check) == expected;
}

} // namespace

// QSettings does not notice a short write (a full disk truncates the file and still reports
// success), so the new contents go to a copy that is read back and checked before it replaces
// the settings file in one rename.
void SettingsStore::modifyFile(std::string_view section, std::string_view name,
                               const std::function<void(QSettings&)>& edit)
{
    const std::string failed = "Failed to set data for '" + std::string(name) + "'";
    ensureStoreExists(section);
    const QString draft = m_location + QStringLiteral(".new");
    QFile::remove(draft);
    const auto discardDraft = [&] { QFile::remove(draft); };

    if (QFileInfo::exists(m_location)) {
        if (!QFile::copy(m_location, draft) ||
            QFileInfo(draft).size() != QFileInfo(m_location).size()) {
            discardDraft();
            throw SettingsError(failed);
        }
    } else if (QFile created(draft);
               !created.open(QIODevice::WriteOnly) ||
               !created.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        discardDraft();
        throw SettingsError(failed);
    }
    // Before anything new is written into it.
    if (!tighten(draft)) {
        discardDraft();
        throw SettingsError(failed);
    }

    Snapshot expected;
    {
        QSettings settings(draft, QSettings::IniFormat);
        if (settings.status() == QSettings::FormatError) {
            // Keep the unreadable file beside the new one rather than dropping its lines.
            QFile::remove(m_location + QStringLiteral(".damaged"));
            QFile::copy(m_location, m_location + QStringLiteral(".damaged"));
        }
        edit(settings);
        settings.sync();
        if (settings.status() == QSettings::AccessError) {
            discardDraft();
            throw SettingsError(failed);
        }
        expected = snapshotOf(settings);
    }
    if (!readsBackAs(draft, expected) || !tighten(draft)) {
        discardDraft();
        throw SettingsError(failed);
    }
    std::error_code error;
    std::filesystem::rename(draft.toStdString(), m_location.toStdString(), error);
    if (error) {
        discardDraft();
        throw SettingsError(failed);
    }
}

} // namespace cirrolux
