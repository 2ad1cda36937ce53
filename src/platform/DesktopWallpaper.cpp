#include "platform/DesktopWallpaper.h"

#include "platform/DesktopValues.h"
#include "platform/GSettingsDesktop.h"
#include "platform/PlasmaDesktop.h"
#include "platform/WindowsDesktop.h"
#include "platform/XfceDesktop.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>

#include <algorithm>
#include <cstring>
#include <utility>

namespace cirrolux {

namespace {

constexpr int MaxPlacedSide = 8192;

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// The desktops whose own process owns a name on the session bus, which gives them away when
// neither XDG_CURRENT_DESKTOP nor DESKTOP_SESSION names one the program knows. Xfce counts by
// xfdesktop, which draws its backdrop, not by the xfconf settings service: that one also runs
// under other window managers when an Xfce program started it, and nothing shows its values.
struct BusMark
{
    const char* service;
    DesktopWallpaper::Kind kind;
};
constexpr BusMark BusMarks[] = {
    {PlasmaDesktop::Service, DesktopWallpaper::Kind::Plasma},
    {XfceDesktop::DesktopService, DesktopWallpaper::Kind::Xfce},
    {"org.gnome.Shell", DesktopWallpaper::Kind::Gnome},
    {"org.Cinnamon", DesktopWallpaper::Kind::Cinnamon},
};

constexpr const char* ConnectionName = "cirrolux-desktop";

// A D-Bus address value: bytes other than letters, digits and the few marks left plain as %XX.
QString addressValue(const QString& text)
{
    QString out;
    for (const char c : QFile::encodeName(text)) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
            (c != '\0' && std::strchr("-_/.\\*", c) != nullptr))
            out += QLatin1Char(c);
        else
            out += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace

DesktopWallpaper::Environment DesktopWallpaper::Environment::forSession()
{
    // Not connected yet: the first wallpaper connects (Qt's own session bus connection would
    // stay unconnected for the whole run when the bus was not there at its first use).
    Environment environment{QDBusConnection(QLatin1String(ConnectionName)),
                            qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                            QSize(),
                            QStringList(),
                            qEnvironmentVariable("DESKTOP_SESSION"),
                            &DesktopWallpaper::connectSessionBus};
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            environment.screenSize = primary->geometry().size() * primary->devicePixelRatio();
        for (const QScreen* screen : QGuiApplication::screens())
            environment.monitors << screen->name();
    }
    return environment;
}

DesktopWallpaper::DesktopWallpaper(SettingsStore& store, Environment environment)
    : m_store(store), m_environment(std::move(environment))
{
}

DesktopWallpaper::~DesktopWallpaper() = default;

std::vector<DesktopWallpaper::Kind> DesktopWallpaper::kindsNamed(const QString& currentDesktop)
{
    static const std::pair<const char*, Kind> Names[] = {
        {"GNOME", Kind::Gnome},
        {"GNOME-Classic", Kind::Gnome},
        {"GNOME-Flashback", Kind::Gnome},
        {"ubuntu", Kind::Gnome},
        {"Unity", Kind::Unity},
        {"Budgie", Kind::Budgie},
        {"X-Cinnamon", Kind::Cinnamon},
        {"Cinnamon", Kind::Cinnamon},
        {"MATE", Kind::Mate},
        {"KDE", Kind::Plasma},
        {"XFCE", Kind::Xfce},
    };
    std::vector<Kind> kinds;
    for (const QString& token : currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        for (const auto& [name, kind] : Names) {
            if (token.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0 &&
                std::find(kinds.begin(), kinds.end(), kind) == kinds.end())
                kinds.push_back(kind);
        }
    }
    return kinds;
}

std::vector<DesktopWallpaper::Kind> DesktopWallpaper::kindsOfSession(const QString& desktopSession)
{
    // Display managers name the session by its file, sometimes with the whole path.
    const QString session = desktopSession.section(QLatin1Char('/'), -1).trimmed().toLower();
    static const std::pair<const char*, Kind> Prefixes[] = {
        {"gnome", Kind::Gnome},   {"ubuntu", Kind::Gnome},      {"unity", Kind::Unity},
        {"budgie", Kind::Budgie}, {"cinnamon", Kind::Cinnamon}, {"mate", Kind::Mate},
        {"plasma", Kind::Plasma}, {"kde", Kind::Plasma},        {"xfce", Kind::Xfce},
        {"xubuntu", Kind::Xfce},
    };
    for (const auto& [prefix, kind] : Prefixes) {
        if (session.startsWith(QLatin1String(prefix)))
            return {kind};
    }
    return {};
}

QString DesktopWallpaper::sessionBusAddress()
{
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString socket = runtime + QStringLiteral("/bus");
    if (runtime.isEmpty() || !QFileInfo::exists(socket))
        return {};
    return QStringLiteral("unix:path=") + addressValue(socket);
}

QDBusConnection DesktopWallpaper::connectSessionBus()
{
    const QString name = QLatin1String(ConnectionName);
    {
        QDBusConnection kept(name);
        if (kept.isConnected())
            return kept;
    }
    // A connection that failed or was lost is dropped, so the name can connect again.
    QDBusConnection::disconnectFromBus(name);
    const QString address = sessionBusAddress();
    if (address.isEmpty())
        return QDBusConnection(name);
    return QDBusConnection::connectToBus(address, name);
}

WallpaperFill DesktopWallpaper::fillFor(int style)
{
    switch (style) {
    case 0:
        return WallpaperFill::Tile;
    case 2:
        return WallpaperFill::Stretch;
    default:
        return WallpaperFill::Centre;
    }
}

QImage DesktopWallpaper::composePlaced(const QImage& picture, QSize screen, int x, int y)
{
    QImage canvas(screen, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.drawImage(QPoint(x, y), picture);
    return canvas;
}

std::string DesktopWallpaper::noDesktopMessage(const QString& bitmapPath)
{
    return "The wallpaper picture was saved as " + latin1(QDir::toNativeSeparators(bitmapPath)) +
           ", but Cirrolux cannot put it on this desktop. Cirrolux sets the wallpaper on GNOME, "
           "Unity, Budgie, Cinnamon, MATE, KDE Plasma, Xfce and Windows; on other desktops "
           "choose that picture as the wallpaper in the desktop's own settings.";
}

std::unique_ptr<DesktopBackend> DesktopWallpaper::make(Kind kind, const QDBusConnection& bus) const
{
    switch (kind) {
    case Kind::Gnome:
        return std::make_unique<GSettingsDesktop>(GSettingsDesktop::gnomeLayout());
    case Kind::Unity:
        return std::make_unique<GSettingsDesktop>(GSettingsDesktop::gnomeLayout(), "Unity");
    case Kind::Budgie:
        return std::make_unique<GSettingsDesktop>(GSettingsDesktop::gnomeLayout(), "Budgie");
    case Kind::Cinnamon:
        return std::make_unique<GSettingsDesktop>(GSettingsDesktop::cinnamonLayout());
    case Kind::Mate:
        return std::make_unique<GSettingsDesktop>(GSettingsDesktop::mateLayout());
    case Kind::Plasma:
        return std::make_unique<PlasmaDesktop>(bus);
    case Kind::Xfce:
        return std::make_unique<XfceDesktop>(bus, m_environment.monitors);
    }
    return {};
}

QDBusConnection DesktopWallpaper::bus()
{
    if (!m_environment.bus.isConnected() && m_environment.connectBus)
        m_environment.bus = m_environment.connectBus();
    return m_environment.bus;
}

std::unique_ptr<DesktopBackend> DesktopWallpaper::lookUp()
{
    const QDBusConnection sessionBus = bus();
    std::vector<Kind> kinds = kindsNamed(m_environment.currentDesktop);
    if (kinds.empty())
        kinds = kindsOfSession(m_environment.desktopSession);
    if (kinds.empty() && sessionBus.isConnected() && sessionBus.interface() != nullptr) {
        for (const BusMark& mark : BusMarks) {
            const QDBusReply<bool> registered =
                sessionBus.interface()->isServiceRegistered(QLatin1String(mark.service));
            if (registered.isValid() && registered.value())
                kinds.push_back(mark.kind);
        }
    }
    for (const Kind kind : kinds) {
        std::unique_ptr<DesktopBackend> backend = make(kind, sessionBus);
        if (backend && backend->available())
            return backend;
    }
    return {};
}

DesktopBackend* DesktopWallpaper::backend()
{
#ifndef Q_OS_WIN
    // A few name checks on the bus, once per wallpaper: cheap next to the picture itself.
    if (!m_backend || !m_backend->available())
        m_backend = lookUp();
#endif
    return m_backend.get();
}

QString DesktopWallpaper::placedPicture(const QString& bitmapPath, int x, int y) const
{
    QImage picture(bitmapPath);
    if (picture.isNull())
        throw DesktopError("Error - the wallpaper picture " + latin1(bitmapPath) +
                           " cannot be read.");
    QSize screen = m_environment.screenSize;
    if (screen.isEmpty()) {
        // No screen to measure: just large enough for the picture at its origin, within reason.
        const auto side = [](int length, int offset) {
            const qint64 wanted = std::max<qint64>(qint64(length) + offset, length);
            return int(std::min<qint64>(wanted, std::max(length, MaxPlacedSide)));
        };
        screen = QSize(side(picture.width(), x), side(picture.height(), y));
    }
    const QString path =
        QFileInfo(bitmapPath).absolutePath() + QLatin1Char('/') + QLatin1String(PlacedPictureName);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !composePlaced(picture, screen, x, y).save(&file, "BMP") || !file.commit())
        throw DesktopError("Error - the wallpaper picture " + latin1(path) + " cannot be written.");
    return path;
}

bool DesktopWallpaper::SetDesktopWallpaper(const QString& bitmapPath, int style, int x, int y)
{
    const DesktopValues values = desktopValues(bitmapPath, style, x, y);
    for (const DesktopValue& value : values)
        m_store.write_setting(SettingNames::Desktop, value.name, latin1(value.value));

#ifdef Q_OS_WIN
    setWindowsWallpaper(values);
    return true;
#else
    DesktopBackend* desktop = backend();
    if (desktop == nullptr)
        return false;
    const QString shown = style == 3 ? placedPicture(bitmapPath, x, y) : bitmapPath;
    desktop->apply(shown, fillFor(style));
    return true;
#endif
}

} // namespace cirrolux
