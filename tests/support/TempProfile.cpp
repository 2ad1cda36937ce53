#include "TempProfile.h"

#include "platform/AppPaths.h"

#include <QDir>

namespace cirrolux::test {

namespace {
const char* const Variables[3] = {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"};
const char* const Folders[3] = {"config", "cache", "data"};
} // namespace

TempProfile::TempProfile()
{
    for (int i = 0; i < 3; ++i) {
        m_had[i] = qEnvironmentVariableIsSet(Variables[i]);
        m_old[i] = qgetenv(Variables[i]);
        const QString folder = m_dir.path() + QLatin1Char('/') + QLatin1String(Folders[i]);
        QDir().mkpath(folder);
        qputenv(Variables[i], folder.toLocal8Bit());
    }
}

TempProfile::~TempProfile()
{
    for (int i = 0; i < 3; ++i) {
        if (m_had[i])
            qputenv(Variables[i], m_old[i]);
        else
            qunsetenv(Variables[i]);
    }
}

QString TempProfile::settingsFile() const
{
    return AppPaths::settingsFile();
}

} // namespace cirrolux::test
