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
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace cirrolux {

namespace {

constexpr int MaxPlacedSide = 8192;

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// The desktops whose own service on the session bus gives them away when XDG_CURRENT_DESKTOP
// names none the program knows.
struct BusMark
{
    const char* service;
    DesktopWallpaper::Kind kind;
};
constexpr BusMark BusMarks[] = {
    {PlasmaDesktop::Service, DesktopWallpaper::Kind::Plasma},
    {XfceDesktop::Service, DesktopWallpaper::Kind::Xfce},
    {"org.gnome.Shell", DesktopWallpaper::Kind::Gnome},
    {"org.Cinnamon", DesktopWallpaper::Kind::Cinnamon},
};

} // namespace

DesktopWallpaper::Environment DesktopWallpaper::Environment::forSession()
{
    Environment environment{QDBusConnection::sessionBus(),
                            qEnvironmentVariable("XDG_CURRENT_DESKTOP"), QSize(), QStringList()};
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            environment.screenSize = primary->geometry().size() * primary->devicePixelRatio();
        for (const QScreen* screen : QGuiApplication::screens())
            environment.monitors << screen->name();
    }
    return environment;
}

DesktopWallpaper::DesktopWallpaper(SettingsStore& store, UserInterface& ui, Environment environment)
    : m_store(store), m_ui(ui), m_environment(std::move(environment))
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

std::unique_ptr<DesktopBackend> DesktopWallpaper::make(Kind kind) const
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
        return std::make_unique<PlasmaDesktop>(m_environment.bus);
    case Kind::Xfce:
        return std::make_unique<XfceDesktop>(m_environment.bus, m_environment.monitors);
    }
    return {};
}

std::unique_ptr<DesktopBackend> DesktopWallpaper::lookUp() const
{
    std::vector<Kind> kinds = kindsNamed(m_environment.currentDesktop);
    if (kinds.empty() && m_environment.bus.isConnected() &&
        m_environment.bus.interface() != nullptr) {
        for (const BusMark& mark : BusMarks) {
            const QDBusReply<bool> registered =
                m_environment.bus.interface()->isServiceRegistered(QLatin1String(mark.service));
            if (registered.isValid() && registered.value())
                kinds.push_back(mark.kind);
        }
    }
    for (const Kind kind : kinds) {
        std::unique_ptr<DesktopBackend> backend = make(kind);
        if (backend && backend->available())
            return backend;
    }
    return {};
}

DesktopBackend* DesktopWallpaper::backend()
{
#ifndef Q_OS_WIN
    if (!m_lookedUp) {
        m_backend = lookUp();
        m_lookedUp = true;
    }
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

void DesktopWallpaper::SetDesktopWallpaper(const QString& bitmapPath, int style, int x, int y)
{
    const DesktopValues values = desktopValues(bitmapPath, style, x, y);
    for (const DesktopValue& value : values)
        m_store.write_setting(SettingNames::Desktop, value.name, latin1(value.value));

#ifdef Q_OS_WIN
    setWindowsWallpaper(values);
#else
    DesktopBackend* desktop = backend();
    if (desktop == nullptr) {
        m_ui.showMessage(noDesktopMessage(bitmapPath));
        return;
    }
    const QString shown = style == 3 ? placedPicture(bitmapPath, x, y) : bitmapPath;
    desktop->apply(shown, fillFor(style));
#endif
}

} // namespace cirrolux
