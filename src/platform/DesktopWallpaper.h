#pragma once

#include "platform/DesktopBackend.h"
#include "platform/UserInterface.h"

#include <QDBusConnection>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace cirrolux {

class SettingsStore;

// Puts the wallpaper bitmap on the user's desktop. On Windows through the desktop values and the
// system call; elsewhere through the desktop found from XDG_CURRENT_DESKTOP and, when that names
// none the program knows, from the desktop services that answer on the session bus.
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

        static Environment forSession();
    };

    // The desktop kinds the program knows.
    enum class Kind { Gnome, Unity, Budgie, Cinnamon, Mate, Plasma, Xfce };

    // `store` keeps the program's own record (section "Desktop"); `ui` shows the message when no
    // desktop can take the wallpaper. Both must outlive this object.
    DesktopWallpaper(SettingsStore& store, UserInterface& ui,
                     Environment environment = Environment::forSession());
    ~DesktopWallpaper();
    DesktopWallpaper(const DesktopWallpaper&) = delete;
    DesktopWallpaper& operator=(const DesktopWallpaper&) = delete;

    // Records the five desktop values of `bitmapPath`, `style` (0 tile, 1 centre, 2 stretch,
    // 3 explicit origin `x`, `y`) in section "Desktop" of the settings store, then shows the
    // bitmap on the desktop. Desktops cannot place a picture at a point, so for style 3 a
    // screen-sized picture (black, the bitmap at x, y) is made next to the bitmap
    // (PlacedPictureName) and shown centred. When no desktop can take it, shows one message
    // naming the bitmap and the desktops the program knows.
    // Throws SettingsError when the record cannot be written, DesktopError when the desktop or
    // the placed picture fails.
    void SetDesktopWallpaper(const QString& bitmapPath, int style, int x, int y);

    // The desktop that takes the wallpaper; null when none. Looked up once per object.
    DesktopBackend* backend();

    // The desktops named by an XDG_CURRENT_DESKTOP value, in its order (case ignored).
    static std::vector<Kind> kindsNamed(const QString& currentDesktop);
    // The layout that a desktop gives to a style code.
    static WallpaperFill fillFor(int style);
    // A `screen`-sized black picture with `picture` drawn at `x`, `y` (clipped at the edges).
    static QImage composePlaced(const QImage& picture, QSize screen, int x, int y);
    // The message shown when no desktop can take the wallpaper.
    static std::string noDesktopMessage(const QString& bitmapPath);

    static constexpr const char* PlacedPictureName = "cirrolux-placed.bmp";

private:
    std::unique_ptr<DesktopBackend> make(Kind kind) const;
    std::unique_ptr<DesktopBackend> lookUp() const;
    QString placedPicture(const QString& bitmapPath, int x, int y) const;

    SettingsStore& m_store;
    UserInterface& m_ui;
    Environment m_environment;
    bool m_lookedUp = false;
    std::unique_ptr<DesktopBackend> m_backend;
};

} // namespace cirrolux
