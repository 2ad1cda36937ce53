#include <QtGlobal>

#ifdef Q_OS_WIN

#include "platform/DesktopBackend.h"
#include "platform/WindowsDesktop.h"

#include <QDir>
#include <QSettings>

#include <windows.h>

#include <string>

namespace cirrolux {

void setWindowsWallpaper(const DesktopValues& values)
{
    {
        QSettings desktop(QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Desktop"),
                          QSettings::NativeFormat);
        for (const DesktopValue& v : values)
            desktop.setValue(QString::fromLatin1(v.name.data(), qsizetype(v.name.size())), v.value);
        desktop.sync();
        if (desktop.status() != QSettings::NoError)
            throw DesktopError("Error - the desktop values could not be written.");
    }
    // The path is passed as well: with no path, current Windows versions restore the default
    // wallpaper instead of reading the values just written.
    std::wstring path = QDir::toNativeSeparators(values[0].value).toStdWString();
    if (SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_SENDCHANGE) == FALSE)
        throw DesktopError("Error - Windows did not take the wallpaper " +
                           values[0].value.toLatin1().toStdString() + ".");
}

} // namespace cirrolux

#endif
