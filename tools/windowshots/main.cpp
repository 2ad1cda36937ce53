// cirrolux-windowshots: pictures of the web page window (country information and fire report),
// the help window and the about box, opened from the main window's menus against the service
// emulator in this process. With --proxy PORT, pictures of the image window instead, showing
// the North Texas radar loop and the monthly precipitation map through the proxy on that port
// (the gateway). The run script calls it under Xvfb.
#include "display/TGIFImage.h"
#include "images/RadarImageCommands.h"
#include "images/TSelectState_dlg.h"
#include "images/TfrmImage.h"
#include "platform/UserInterface.h"
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

// Answers like SilentUserInterface, but says what the program would have shown, so a run that
// goes wrong leaves the program's own words in its output.
class PrintingUserInterface final : public UserInterface
{
public:
    void showMessage(const std::string& text) override { say("message", text); }
    void showInformation(const std::string& text) override { say("information", text); }
    bool confirm(const std::string& text) override
    {
        say("question (answered No)", text);
        return false;
    }
    void showError(const std::string& text) override { say("error", text); }
    void beep() override {}
    std::optional<QColor> chooseColor() override { return std::nullopt; }
    bool runPrintDialog(QPrinter&, bool = true) override { return false; }
    void openHelp(const std::string&) override {}
    void openUrl(const std::string&) override {}

private:
    static void say(const char* kind, const std::string& text)
    {
        std::fprintf(stderr, "cirrolux-windowshots: the program's %s: %s\n", kind, text.c_str());
    }
};

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

// The radar chooser's road: "State & Regional Radar", North Texas, OK; then the monthly
// precipitation map from the Images menus. Both go through the proxy the settings name.
bool imageShots(TForm1& main, const QString& folder, quint16 proxyPort)
{
    bool ok = true;
    main.action(QStringLiteral("StateLevelRadarNEW1"))->trigger();
    TSelectState_dlg* chooser = main.radarChooser() ? &main.radarChooser()->dialog() : nullptr;
    const QString northTexas = QStringLiteral("NT-Texas - North");
    QComboBox* list = chooser ? &chooser->cboState() : nullptr;
    if (list && list->findText(northTexas) < 0)
        list = &chooser->cboRegion();
    if (!list || list->findText(northTexas) < 0) {
        std::fprintf(stderr, "cirrolux-windowshots: the radar chooser has no North Texas\n");
        return false;
    }
    list->setCurrentIndex(list->findText(northTexas));
    chooser->OKBtnClick();
    TfrmImage* image = main.imageWindow();
    const auto describe = [&](const char* what) {
        const TGIFImage& gif = image->GIFImage1();
        std::printf("%s through 127.0.0.1:%u: \"%s\", %d frame(s) of %d x %d\n", what,
                    static_cast<unsigned>(proxyPort), qPrintable(image->windowTitle()),
                    gif.FrameCount(), gif.size().width(), gif.size().height());
    };
    if (!image || !image->isVisible()) {
        std::fprintf(stderr, "cirrolux-windowshots: no radar picture came through the proxy\n");
        return false;
    }
    describe("North Texas radar");
    ok &= save(*image, folder, "radar-window.png");
    image->close();

    main.action(QStringLiteral("mnuUSMonthlyPrecipitation1"))->trigger();
    if (!image->isVisible()) {
        std::fprintf(stderr, "cirrolux-windowshots: no precipitation map came through the proxy\n");
        return false;
    }
    describe("Monthly precipitation");
    // The window opens at its standard size; enlarged, as a user would, it shows the whole map.
    image->resize(image->GIFImage1().width() + 10, image->GIFImage1().height() + 60);
    ok &= save(*image, folder, "precipitation-window.png");
    image->close();
    return ok;
}

bool emulatorShots(TForm1& main, const QString& folder)
{
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
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cirrolux"));
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    quint16 proxyPort = 0;
    if (arguments.size() == 3 && arguments.at(0) == QStringLiteral("--proxy")) {
        bool isNumber = false;
        proxyPort = arguments.at(1).toUShort(&isNumber);
        if (!isNumber || proxyPort == 0) {
            std::fprintf(stderr, "cirrolux-windowshots: --proxy needs a port from 1 to 65535\n");
            return 2;
        }
        arguments = arguments.mid(2);
    }
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: cirrolux-windowshots [--proxy PORT] OUT-FOLDER\n");
        return 2;
    }
    const QString folder = QDir().absoluteFilePath(arguments.at(0));
    QDir().mkpath(folder);
    QTemporaryDir work;
    QDir::setCurrent(work.path());

    servicesim::ServiceEmulator emulator;
    if (proxyPort == 0 && !emulator.listen()) {
        std::fprintf(stderr, "cirrolux-windowshots: the emulator cannot listen\n");
        return 1;
    }
    namespace names = SettingNames;
    SettingsStore settings(QDir(work.path()).filePath(QStringLiteral("Cirrolux.ini")));
    settings.write_setting(names::Settings, names::StartupLoc, "None");
    settings.write_setting(names::Settings, names::ProxyUse, "y");
    settings.write_setting(names::Settings, names::Proxy, "127.0.0.1");
    settings.write_setting(names::Settings, names::ProxyPort,
                           std::to_string(proxyPort != 0 ? proxyPort : emulator.port()));
    PrintingUserInterface ui;
    TForm1::Options options;
    options.startupDelayMs = 24 * 3600 * 1000;
    options.autoUpdateFirstMs = 24 * 3600 * 1000;
    Startup startup(settings, ui, options);
    startup.run();
    TForm1& main = startup.mainWindow();
    const bool ok =
        proxyPort != 0 ? imageShots(main, folder, proxyPort) : emulatorShots(main, folder);
    return ok ? 0 : 1;
}
