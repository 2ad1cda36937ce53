#pragma once

#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace cirrolux::test {

// A throwaway user profile: the three XDG folders point into a temporary directory for the life
// of the object (the old values come back afterwards), so no test touches a real profile.
class TempProfile
{
public:
    TempProfile();
    ~TempProfile();
    TempProfile(const TempProfile&) = delete;
    TempProfile& operator=(const TempProfile&) = delete;

    QString root() const { return m_dir.path(); }
    QString settingsFile() const;
    // A settings store over this profile's settings file.
    SettingsStore store() const { return SettingsStore(settingsFile()); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old[3];
    bool m_had[3] = {};
};

} // namespace cirrolux::test
