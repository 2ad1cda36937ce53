#include "platform/AppPaths.h"

#include <QStandardPaths>

namespace cirrolux::AppPaths {

namespace {
QString under(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location) + QStringLiteral("/Cirrolux");
}
} // namespace

QString settingsFile()
{
    return under(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Cirrolux.ini");
}

QString workingDirectory()
{
    return under(QStandardPaths::GenericCacheLocation);
}

QString windowsDirectory()
{
    return under(QStandardPaths::GenericDataLocation);
}

} // namespace cirrolux::AppPaths
