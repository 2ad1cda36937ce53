#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace cirrolux {

// The program's settings: sections of text values, names compared without regard to case.
// Nothing is cached: every call opens the store, does its work and releases it, so a value
// written anywhere is seen by the next read everywhere.
//
// On Linux the store is an INI file (section = group, value = key); on Windows it is the
// registry key HKEY_CURRENT_USER\Software\Cirrolux. Texts are 8-bit (Latin-1).
class SettingsStore
{
public:
    // A store over the INI file at `iniPath` (the program passes AppPaths::settingsFile()).
    explicit SettingsStore(QString iniPath);
    // A store in the platform's native place (the registry on Windows).
    static SettingsStore native();
    // The user's own store: the registry key on Windows, the INI file in the user's config
    // directory elsewhere.
    static SettingsStore forUser();

    // The stored text, or "n/a" when the section or the value does not exist. Never creates a
    // section. A value on a whole line of its own is found even when a damaged line before it
    // hides it from QSettings (the next write keeps it and the old file). Throws
    // SettingsError("Invalid data type for '<name>'") for a value that is not text.
    std::string read_setting(std::string_view section, std::string_view name) const;

    // Stores `value`, replacing a value of the same name in any letter case. Throws
    // SettingsError("Failed to create key <section>") when the store cannot be created and
    // SettingsError("Failed to set data for '<name>'") when it cannot be written; the stored
    // settings then stay as they were. A value already stored that cannot be written again is
    // left out rather than blocking the write (see setDamagedFileHandler).
    void write_setting(std::string_view section, std::string_view name, std::string_view value);

    // Erases a whole section (any letter case). Same errors as write_setting.
    void erase_section(std::string_view section);

    const QString& location() const { return m_location; }

    // Called after a write that had to leave out stored values it could not keep (a file that
    // does not parse, or a value that does not survive being written again), with the path of
    // the copy of the whole old file ("<file>.damaged"). The write itself went through.
    void setDamagedFileHandler(std::function<void(const std::string& keptAs)> handler)
    {
        m_damagedFileHandler = std::move(handler);
    }
    // What the user is told once such a write went through.
    static std::string damagedFileMessage(const std::string& keptAs);

private:
    SettingsStore(QString location, QSettings::Format format);
    // Runs `edit` on the store and writes the result so that a failed write leaves the stored
    // settings as they were.
    void modify(std::string_view section, std::string_view name,
                const std::function<void(QSettings&)>& edit);
    void modifyFile(std::string_view section, std::string_view name,
                    const std::function<void(QSettings&)>& edit);
    void ensureStoreExists(std::string_view section) const;
    // Reading the file line by line, for values QSettings misses behind a damaged line.
    std::optional<std::map<QString, QVariant>> lineByLineValues() const;
    std::optional<QVariant> valueOnAWholeLine(std::string_view section,
                                              std::string_view name) const;
    bool sectionOnAWholeLine(std::string_view section) const;

    QString m_location;
    QSettings::Format m_format;
    std::function<void(const std::string&)> m_damagedFileHandler;
};

} // namespace cirrolux
