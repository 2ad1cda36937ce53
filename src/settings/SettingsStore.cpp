#include "settings/SettingsStore.h"

#include "platform/CirroluxError.h"
#include "settings/SettingNames.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

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
    ensureStoreExists();
    QSettings settings(m_location, m_format);
    if (settings.status() != QSettings::NoError)
        throw SettingsError("Failed to create key " + std::string(section));

    QString group = findSpelling(settings.childGroups(), section);
    if (group.isEmpty())
        group = fromText(section);
    settings.beginGroup(group);
    QString key = findSpelling(settings.childKeys(), name);
    if (key.isEmpty())
        key = fromText(name);
    settings.setValue(key, fromText(value));
    settings.endGroup();
    commit(settings, name);
}

void SettingsStore::erase_section(std::string_view section)
{
    if (m_format == QSettings::IniFormat && !QFileInfo::exists(m_location))
        return;
    QSettings settings(m_location, m_format);
    if (settings.status() != QSettings::NoError)
        throw SettingsError("Failed to create key " + std::string(section));
    const QString group = findSpelling(settings.childGroups(), section);
    if (group.isEmpty())
        return;
    settings.remove(group);
    commit(settings, section);
}

void SettingsStore::ensureStoreExists() const
{
    if (m_format != QSettings::IniFormat)
        return;
    const QString folder = QFileInfo(m_location).absolutePath();
    if (!QDir().mkpath(folder))
        throw SettingsError("Failed to create key " + toText(folder));
}

void SettingsStore::commit(QSettings& settings, std::string_view name) const
{
    // QSettings replaces the file atomically, so a write that fails leaves the old file whole.
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw SettingsError("Failed to set data for '" + std::string(name) + "'");
}

} // namespace cirrolux
