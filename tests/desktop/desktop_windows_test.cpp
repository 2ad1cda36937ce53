// The real program's windows on a real desktop: the main window, the image, web page and
// forecast windows and the dialogs, under Xvfb with the openbox window manager and a system
// tray (run_desktop.sh starts them). What the window manager makes of the windows is read back
// from the X server with xprop, as a panel or a pager would see it.
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "WaitFor.h"

#include "display/TOnTray.h"
#include "images/RadarImageCommands.h"
#include "images/TSelectState_dlg.h"
#include "images/TfrmImage.h"
#include "locations/TfrmLocation.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "settings/TfrmPref.h"
#include "shell/Startup.h"
#include "shell/TfrmHelp.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TfrmWeb.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

// One property of a window as the X server holds it ("" when it has none).
std::string windowProperty(const QWidget& window, const char* property)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window.winId()),
                                          QString::fromLatin1(property)});
    if (!xprop.waitForFinished(5000))
        return {};
    const std::string out = xprop.readAllStandardOutput().toStdString();
    return out.find("not found") != std::string::npos ? std::string() : out;
}

// What the window manager made of a window: "Normal" (on the screen), "Iconic" (minimised or
// hidden with another window) or "Withdrawn" (not managed, not mapped).
std::string wmState(const QWidget& window)
{
    const std::string state = windowProperty(window, "WM_STATE");
    for (const char* name : {"Normal", "Iconic", "Withdrawn"}) {
        if (state.find(name) != std::string::npos)
            return name;
    }
    return "Withdrawn";
}

bool transientFor(const QWidget& window, const QWidget& owner)
{
    char id[32];
    std::snprintf(id, sizeof id, "0x%llx", static_cast<unsigned long long>(owner.winId()));
    return windowProperty(window, "WM_TRANSIENT_FOR").find(id) != std::string::npos;
}

class DesktopWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"))
            << "run through run_desktop.sh";
        ASSERT_TRUE(test::WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000))
            << "no system tray";
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(profile.root());
        ASSERT_TRUE(emulator.listen());
        store.write_setting(names::Settings, names::StartupLoc, "None");
        store.write_setting(names::Settings, names::ProxyUse, "y");
        store.write_setting(names::Settings, names::Proxy, "127.0.0.1");
        store.write_setting(names::Settings, names::ProxyPort, std::to_string(emulator.port()));
        TForm1::Options options;
        options.startupDelayMs = 24 * 3600 * 1000;
        options.autoUpdateFirstMs = 24 * 3600 * 1000;
        startup = std::make_unique<Startup>(store, ui, options); // the tray as the desktop has it
        startup->run();
        ASSERT_TRUE(main().tray().TrayAvailable());
        ASSERT_TRUE(settled(main(), "Normal"));
    }
    void TearDown() override
    {
        startup.reset();
        QDir::setCurrent(m_oldDir);
    }

    TForm1& main() { return startup->mainWindow(); }
    TfrmWeb& web() { return *qobject_cast<TfrmWeb*>(main().webWindow()); }

    // Waits until the window manager shows `window` in `state`, and the program agrees.
    static bool settled(const QWidget& window, const std::string& state, int ms = 8000)
    {
        return test::WaitFor(
            [&] {
                const bool shown = window.isVisible() && !window.isMinimized();
                return wmState(window) == state && shown == (state == "Normal");
            },
            ms);
    }
    // Turns the event loop for `ms`, for the window manager to do what it would do.
    static void linger(int ms)
    {
        test::WaitFor([] { return false; }, ms);
    }

    // The main window is back: on the screen, not minimised, and the tray offers to hide it.
    void expectMainWindowBack()
    {
        EXPECT_TRUE(settled(main(), "Normal")) << "WM_STATE " << wmState(main());
        EXPECT_TRUE(main().action(QStringLiteral("pithide"))->isEnabled());
        EXPECT_FALSE(main().action(QStringLiteral("pitshow"))->isEnabled());
        EXPECT_TRUE(main().tray().WindowShown());
    }

    void openImage()
    {
        main().action(QStringLiteral("mnuCurrentUSLightning1"))->trigger();
        ASSERT_TRUE(main().imageWindow()->isVisible()) << (ui.texts().empty() ? "" : ui.texts()[0]);
    }

    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    servicesim::ServiceEmulator emulator;
    std::unique_ptr<Startup> startup;
    QString m_oldDir;
};

TEST_F(DesktopWindows, ClosingTheImageWindowBringsTheMainWindowBackFromTheTray)
{
    openImage();
    TfrmImage& image = *main().imageWindow();
    // Minimised by the image window, the main window went to the tray.
    ASSERT_TRUE(settled(image, "Normal"));
    ASSERT_TRUE(settled(main(), "Withdrawn")); // in the tray, as the window manager sees it
    EXPECT_TRUE(main().action(QStringLiteral("pitshow"))->isEnabled());

    image.close();
    expectMainWindowBack();
}

TEST_F(DesktopWindows, ClosingTheWebPageWindowBringsTheMainWindowBackFromTheTray)
{
    main().action(QStringLiteral("mnuWorldFactsCIA1"))->trigger();
    QComboBox* countries = web().form().cboChoose;
    ASSERT_GT(countries->count(), 250);
    countries->setCurrentIndex(countries->findText(QStringLiteral("af,Afghanistan")));
    web().btnGoClick();
    // The country map in the image window minimised the main window; the web page window,
    // a window of its own, stays on the screen with the map.
    ASSERT_TRUE(settled(*main().imageWindow(), "Normal"));
    ASSERT_TRUE(settled(main(), "Withdrawn")); // in the tray, as the window manager sees it
    linger(500);
    EXPECT_EQ(wmState(web()), "Normal");
    EXPECT_FALSE(transientFor(web(), main()));

    web().close();
    EXPECT_TRUE(settled(*main().imageWindow(), "Withdrawn"));
    expectMainWindowBack();
}

TEST_F(DesktopWindows, ClosingTheForecastWindowBringsTheMainWindowBack)
{
    main().action(QStringLiteral("mnuDetailbyUSZip1"))->trigger();
    QWidget* forecast = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmForecast"))
            forecast = window;
    }
    ASSERT_NE(forecast, nullptr);
    ASSERT_TRUE(settled(*forecast, "Normal"));
    ASSERT_TRUE(settled(main(), "Withdrawn")); // in the tray, as the window manager sees it
    forecast->close();
    expectMainWindowBack();
}

TEST_F(DesktopWindows, DialogsStayWhenAnImageMinimisesTheMainWindow)
{
    main().mnuChooseLocationClick();
    main().mnuGeneralPreferences1Click();
    main().action(QStringLiteral("StateLevelRadarNEW1"))->trigger();
    TSelectState_dlg& chooser = main().radarChooser()->dialog();
    const QWidget* dialogs[] = {main().frmLocation(), main().frmPref(), &chooser};
    for (const QWidget* dialog : dialogs) {
        ASSERT_TRUE(settled(*dialog, "Normal")) << dialog->objectName().toStdString();
        EXPECT_FALSE(transientFor(*dialog, main())) << dialog->objectName().toStdString();
    }
    const int north = chooser.cboState().findText(QStringLiteral("NT-Texas - North"));
    chooser.cboState().setCurrentIndex(north);

    openImage();
    ASSERT_TRUE(settled(main(), "Withdrawn")); // in the tray, as the window manager sees it
    linger(500);
    for (const QWidget* dialog : dialogs) {
        EXPECT_EQ(wmState(*dialog), "Normal") << dialog->objectName().toStdString();
        EXPECT_TRUE(dialog->isVisible()) << dialog->objectName().toStdString();
    }
    EXPECT_EQ(chooser.cboState().currentIndex(), north);

    main().imageWindow()->close();
    expectMainWindowBack();
    for (const QWidget* dialog : dialogs)
        EXPECT_EQ(wmState(*dialog), "Normal") << dialog->objectName().toStdString();
}

// Opened from the main window, or from the image window while the main window sits in the
// tray, the help window is wholly on the screen and stays there.
class HelpWindowPlace : public DesktopWindows, public ::testing::WithParamInterface<bool>
{
};

TEST_P(HelpWindowPlace, IsWhollyOnTheScreen)
{
    if (GetParam()) {
        openImage();
        ASSERT_TRUE(settled(main(), "Withdrawn")); // in the tray, as the window manager sees it
    }
    TfrmHelp& help = TfrmHelp::open(main(), "main");
    ASSERT_TRUE(settled(help, "Normal"));
    linger(300);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = help.frameGeometry();
    EXPECT_TRUE(screen.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
}

INSTANTIATE_TEST_SUITE_P(From, HelpWindowPlace, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "MainInTray" : "MainShown");
                         });

} // namespace
