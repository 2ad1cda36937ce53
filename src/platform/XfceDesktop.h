#pragma once

#include "platform/DesktopBackend.h"

#include <QDBusConnection>
#include <QStringList>

namespace cirrolux {

// Xfce: the desktop's settings in the xfconf service (channel "xfce4-desktop") on the session
// bus. Every monitor and workspace backdrop that xfconf knows gets the picture ("last-image")
// and its layout ("image-style"), and each value is read back from xfconf afterwards.
class XfceDesktop final : public DesktopBackend
{
public:
    static constexpr const char* Service = "org.xfce.Xfconf";
    static constexpr const char* Path = "/org/xfce/Xfconf";
    static constexpr const char* Interface = "org.xfce.Xfconf";
    static constexpr const char* Channel = "xfce4-desktop";
    // The name xfdesktop, which draws the backdrop, owns on the session bus.
    static constexpr const char* DesktopService = "org.xfce.xfdesktop";

    // `monitors` names the backdrops to set when xfconf knows none yet (a desktop that was
    // never configured): each becomes "/backdrop/screen0/monitor<name>/workspace0".
    XfceDesktop(QDBusConnection bus, QStringList monitors);

    std::string name() const override { return "Xfce"; }
    // True when xfdesktop runs and xfconf answers on the bus or can be started by it: xfconf
    // alone also runs under other window managers, where nothing shows its values.
    bool available() override;
    void apply(const QString& picture, WallpaperFill fill) override;

    // xfdesktop's image-style for a fill: centred 1, tiled 2, stretched 3.
    static int imageStyle(WallpaperFill fill);
    // The backdrop property bases ("/backdrop/screen0/monitorX/workspaceN") among `properties`.
    static QStringList backdrops(const QStringList& properties);

private:
    QDBusMessage call(const QString& method, const QVariantList& arguments);
    bool registered(const QString& service) const;

    QDBusConnection m_bus;
    QStringList m_monitors;
};

} // namespace cirrolux
