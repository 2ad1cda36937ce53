// cirrolux-windowshots: pictures of the web page window (country information and fire report),
// the help window and the about box, opened from the main window's menus against the service
// emulator in this process. The run script calls it under Xvfb; tests never need it.
#include "images/TfrmImage.h"
#include "platform/SilentUserInterface.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "shell/Startup.h"
#include "shell/TfrmAbout.h"
#include "shell/TfrmHelp.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TfrmWeb.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

using namespace cirrolux;

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget& window, const QString& folder, const char* name)
{
    settle(300);
    const QString file = QDir(folder).filePath(QString::fromLatin1(name));
    const bool ok = window.grab().save(file, "PNG");
    std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cirrolux"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cirrolux-windowshots OUT-FOLDER\n");
        return 2;
    }
    const QString folder = QDir().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder);
    QTemporaryDir work;
    QDir::setCurrent(work.path());

    servicesim::ServiceEmulator emulator;
    if (!emulator.listen()) {
        std::fprintf(stderr, "cirrolux-windowshots: the emulator cannot listen\n");
        return 1;
    }
    namespace names = SettingNames;
    SettingsStore settings(QDir(work.path()).filePath(QStringLiteral("Cirrolux.ini")));
    settings.write_setting(names::Settings, names::StartupLoc, "None");
    settings.write_setting(names::Settings, names::ProxyUse, "y");
    settings.write_setting(names::Settings, names::Proxy, "127.0.0.1");
    settings.write_setting(names::Settings, names::ProxyPort, std::to_string(emulator.port()));
    SilentUserInterface ui;
    TForm1::Options options;
    options.startupDelayMs = 24 * 3600 * 1000;
    options.autoUpdateFirstMs = 24 * 3600 * 1000;
    Startup startup(settings, ui, options);
    startup.run();
    TForm1& main = startup.mainWindow();

    // The whole road: the Reports menu, the web page window, the map in the image window.
    bool ok = true;
    main.action(QStringLiteral("mnuWorldFactsCIA1"))->trigger();
    auto* web = qobject_cast<TfrmWeb*>(main.webWindow());
    QComboBox* countries = web->form().cboChoose;
    countries->setCurrentIndex(countries->findText(QStringLiteral("af,Afghanistan")));
    web->btnGoClick();
    ok &= save(*web, folder, "web-country.png");
    if (TfrmImage* map = main.imageWindow(); map && map->isVisible())
        ok &= save(*map, folder, "web-country-map.png");
    web->close();
    main.action(QStringLiteral("mnuUSFireIncidentMgtReport1"))->trigger();
    ok &= save(*web, folder, "web-fire-report.png");
    web->close();

    TfrmHelp& help = TfrmHelp::open(main, "web");
    ok &= save(help, folder, "help.png");
    help.close();

    main.action(QStringLiteral("mnuAbout"))->trigger();
    if (auto* about = main.findChild<TfrmAbout*>())
        ok &= save(*about, folder, "about.png");
    return ok ? 0 : 1;
}
