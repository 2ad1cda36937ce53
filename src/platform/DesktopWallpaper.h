#pragma once

#include "platform/DesktopBackend.h"

#include <QDBusConnection>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cirrolux {

class SettingsStore;

// Puts the wallpaper bitmap on the user's desktop. On Windows through the desktop values and the
// system call; elsewhere through the desktop named by XDG_CURRENT_DESKTOP or DESKTOP_SESSION or,
// when they name none the program knows, the desktop whose own process owns its name on the
// session bus. The desktop is looked up at each wallpaper until one is found, and again when the
// one found is gone, so a session bus or desktop that starts after the program is still found.
class DesktopWallpaper
{
public:
    // What the desktop is looked up from. The program uses forSession(); tests hand in a
    // private bus and a desktop name.
    struct Environment
    {
        QDBusConnection bus;
        QString currentDesktop; // the XDG_CURRENT_DESKTOP value, ":"-separated names
        QSize screenSize;       // for a placed picture; empty: the primary screen's
        QStringList monitors;   // screen names, for an Xfce desktop that knows no backdrop yet
        QString desktopSession; // the DESKTOP_SESSION value, asked when currentDesktop names none
        // Asked for the bus again at a lookup while `bus` is not connected; may be empty.
        std::function<QDBusConnection()> connectBus;

        static Environment forSession();
    };

    // The desktop kinds the program knows.
    enum class Kind { Gnome, Unity, Budgie, Cinnamon, Mate, Plasma, Xfce };

    // `store` keeps the program's own record (section "Desktop"); it must outlive this object.
    explicit DesktopWallpaper(SettingsStore& store,
                              Environment environment = Environment::forSession());
    ~DesktopWallpaper();
    DesktopWallpaper(const DesktopWallpaper&) = delete;
    DesktopWallpaper& operator=(const DesktopWallpaper&) = delete;

    // Records the five desktop values of `bitmapPath`, `style` (0 tile, 1 centre, 2 stretch,
    // 3 explicit origin `x`, `y`) in section "Desktop" of the settings store, then shows the
    // bitmap on the desktop. Desktops cannot place a picture at a point, so for style 3 a
    // screen-sized picture (black, the bitmap at x, y) is made next to the bitmap
    // (PlacedPictureName) and shown centred. The desktop's settings are read back afterwards.
    // Returns false, showing nothing, when no desktop can take it (noDesktopMessage says why).
    // Throws SettingsError when the record cannot be written, DesktopError when the desktop
    // refuses the wallpaper, reads back other values, or the placed picture fails.
    bool SetDesktopWallpaper(const QString& bitmapPath, int style, int x, int y);

    // The desktop that takes the wallpaper; null when none. Looked up again while none was
    // found and whenever the one found before is no longer there.
    DesktopBackend* backend();

    // The desktops named by an XDG_CURRENT_DESKTOP value, in its order (case ignored).
    static std::vector<Kind> kindsNamed(const QString& currentDesktop);
    // The desktop named by a DESKTOP_SESSION value ("xfce", "plasmawayland", a session file's
    // path); none for a window manager's own session ("i3", "openbox", "LXDE").
    static std::vector<Kind> kindsOfSession(const QString& desktopSession);
    // The session bus address: DBUS_SESSION_BUS_ADDRESS, else the user's bus socket
    // $XDG_RUNTIME_DIR/bus when it is there; empty when neither (no bus is started here).
    static QString sessionBusAddress();
    // A connection of the program's own to the session bus as it is now; not connected when the
    // bus is not there (yet). A connection that works is kept and handed out again.
    static QDBusConnection connectSessionBus();
    // The layout that a desktop gives to a style code.
    static WallpaperFill fillFor(int style);
    // A `screen`-sized black picture with `picture` drawn at `x`, `y` (clipped at the edges).
    static QImage composePlaced(const QImage& picture, QSize screen, int x, int y);
    // The message shown when no desktop can take the wallpaper.
    static std::string noDesktopMessage(const QString& bitmapPath);

    static constexpr const char* PlacedPictureName = "cirrolux-placed.bmp";

private:
    std::unique_ptr<DesktopBackend> make(Kind kind, const QDBusConnection& bus) const;
    std::unique_ptr<DesktopBackend> lookUp();
    QDBusConnection bus();
    QString placedPicture(const QString& bitmapPath, int x, int y) const;

    SettingsStore& m_store;
    Environment m_environment;
    std::unique_ptr<DesktopBackend> m_backend;
};

} // namespace cirrolux
