// Saves pictures of the choose-location and preferences dialogs, each shown on its own at its
// designed size over a throwaway settings file, so their layout can be checked without starting
// the program. Run under a display (Xvfb for a headless check):
//
//     cirrolux-dialoggrab OUTDIR     writes OUTDIR/frmLocation.png and OUTDIR/frmPref.png
#include "locations/TfrmLocation.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "settings/TfrmPref.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace cirrolux;

void settle(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The window as the screen shows it (with the window manager's frame if there is one), or the
// widget's own rendering where the platform cannot grab the screen.
bool save(QWidget& window, const QString& path)
{
    window.show();
    window.raise();
    settle(600);
    QPixmap picture;
    if (QScreen* screen = window.screen())
        picture = screen->grabWindow(window.winId());
    if (picture.isNull())
        picture = window.grab();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        std::fprintf(stderr, "cirrolux-dialoggrab: could not save %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cirrolux-dialoggrab OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    QTemporaryDir profile;
    SettingsStore store(profile.path() + QStringLiteral("/Cirrolux/Cirrolux.ini"));
    namespace names = SettingNames;
    store.write_setting(names::Locations, "loc0", "Paris, France (O)");
    store.write_setting(names::Locations, "loc1", "Austin, TX");
    store.write_setting(names::Settings, names::StartupLoc, "Paris, France (O)");
    store.write_setting(names::Settings, names::AutoWallpaper,
                        "GMS Infrared - Australia, east Asia, west Pacific Ocean");
    store.write_setting(names::Settings, names::WallpaperLoc, "120,45");
    store.write_setting(names::Settings, names::ProxyUse, "y");
    store.write_setting(names::Settings, names::Proxy, "proxy.example.net");
    store.write_setting(names::Settings, names::ProxyPort, "3128");
    store.write_setting(names::Settings, names::ProxyUserid, "weather");
    store.write_setting(names::Settings, names::ProxyPass, "s3cret");

    SilentUserInterface ui;
    SharedState state;
    TNMHTTP http;

    TfrmLocation location(state, ui, http, {}, nullptr);
    location.releaseTreeLock();
    location.show();
    location.selectPath({"Continent", "Europe", "France", "Paris"});
    bool ok = save(location, out + QStringLiteral("/frmLocation.png"));
    location.hide();

    TfrmPref preferences(store, ui, http, nullptr, nullptr);
    ok = save(preferences, out + QStringLiteral("/frmPref.png")) && ok;
    return ok ? 0 : 1;
}
