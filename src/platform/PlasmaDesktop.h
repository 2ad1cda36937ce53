#pragma once

#include "platform/DesktopBackend.h"

#include <QDBusConnection>

namespace cirrolux {

// KDE Plasma: a script for the Plasma shell (org.kde.PlasmaShell.evaluateScript on the session
// bus) that gives every desktop the image wallpaper plug-in with the picture and its fill mode.
class PlasmaDesktop final : public DesktopBackend
{
public:
    static constexpr const char* Service = "org.kde.plasmashell";
    static constexpr const char* Path = "/PlasmaShell";
    static constexpr const char* Interface = "org.kde.PlasmaShell";

    explicit PlasmaDesktop(QDBusConnection bus);

    std::string name() const override { return "KDE Plasma"; }
    // True when the Plasma shell answers on the bus.
    bool available() override;
    void apply(const QString& picture, WallpaperFill fill) override;

    // The image plug-in's FillMode for a fill: tile 3, centre 6 (pad), stretch 0.
    static int fillMode(WallpaperFill fill);
    // The script sent to the shell.
    static QString script(const QString& picture, WallpaperFill fill);
    // What is wrong with the lines the script printed (plug-in, image URL and fill mode of each
    // desktop, separated by tabs); empty when every desktop shows `picture` laid out as `fill`.
    static QString misreadDesktop(const QString& printed, const QString& picture,
                                  WallpaperFill fill);

private:
    QDBusConnection m_bus;
};

} // namespace cirrolux
