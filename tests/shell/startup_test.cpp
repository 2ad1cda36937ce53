// Program start and the timers: splash and gauge, the start-up request, start minimised, auto
// update, and a whole start against the service emulator on 127.0.0.1.
#include "MainWindowFixture.h"

#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsRequest.h"
#include "display/TOnTray.h"
#include "locations/CatalogueStations.h"
#include "net/TNMHTTP.h"
#include "resources/BuiltinPictures.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "shell/Startup.h"
#include "shell/TGauge.h"
#include "shell/TfrmPleaseWait.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

using namespace cirrolux;
using cirrolux::test::MainWindowFixture;
namespace names = cirrolux::SettingNames;

class StartupFixture : public MainWindowFixture
{
protected:
    StartupFixture()
    {
        emulator.setNow(QDateTime(QDate(2026, 7, 1), QTime(18, 0), Qt::UTC));
        emulator.setStationDirectory(cirrolux::CatalogueStationDirectory());
        EXPECT_TRUE(emulator.listen());
        useProxy(emulator.port());
    }

    static TForm1::Options fastOptions()
    {
        TForm1::Options options = quietOptions();
        options.startupDelayMs = 50;
        return options;
    }

    std::unique_ptr<Startup> start(TForm1::Options options = fastOptions())
    {
        auto startup = std::make_unique<Startup>(store, ui, std::move(options));
        startup->run();
        current = &startup->mainWindow();
        return startup;
    }

    int conditionsRequests() const
    {
        int count = 0;
        for (const auto& head : emulator.requests())
            count += head.host == "www.wunderground.com" ? 1 : 0;
        return count;
    }

    servicesim::ServiceEmulator emulator;
};

TEST_F(StartupFixture, GaugeFollowsTheWindowsAndTheSplashGoesAtTheFirstPaint)
{
    store.write_setting(names::Settings, names::StartupLoc, "None");
    auto startup = start(quietOptions());
    EXPECT_EQ(startup->gaugeSteps(), (std::vector<int>{10, 25, 40, 55, 70, 100}));
    EXPECT_EQ(startup->splash().Gauge1().Progress(), 100);
    EXPECT_EQ(startup->splash().size(), QSize(298, 253));
    EXPECT_TRUE(startup->splash().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(waitFor([&] { return !startup->splash().isVisible(); }));
    EXPECT_TRUE(startup->mainWindow().isVisible());
}

// Once start-up has made every window, no entry of the menus is left disabled.
TEST_F(StartupFixture, EveryMenuEntryLeadsSomewhere)
{
    store.write_setting(names::Settings, names::StartupLoc, "None");
    auto startup = start(quietOptions());
    std::vector<std::string> disabled;
    int entries = 0;
    const std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
        for (const QAction* action : menu->actions()) {
            // Hidden ones are the empty preset slots.
            if (action->isSeparator() || !action->isVisible())
                continue;
            if (action->menu()) {
                walk(action->menu());
                continue;
            }
            ++entries;
            if (!action->isEnabled())
                disabled.push_back(action->objectName().toStdString());
        }
    };
    for (const QAction* top : startup->mainWindow().menuBarActions())
        walk(top->menu());
    EXPECT_GT(entries, 99 + 16);
    EXPECT_EQ(disabled, std::vector<std::string>{});
}

TEST_F(StartupFixture, StartupLocationIsFetchedAfterTheDelayWithoutAddingAPreset)
{
    store.write_setting(names::Settings, names::StartupLoc, "Boston, MA");
    auto startup = start();
    TForm1& w = startup->mainWindow();
    ASSERT_TRUE(waitFor(
        [&] { return w.QMainWindow::windowTitle().startsWith(QStringLiteral("Cirrolux - ")); }));
    EXPECT_EQ(w.QMainWindow::windowTitle(), QStringLiteral("Cirrolux - Boston, MA"));
    EXPECT_FALSE(text("lblTemp2").empty());
    EXPECT_TRUE(text("lblConditions").starts_with("Conditions at "));
    EXPECT_EQ(w.statusPanel(0)->text(), QStringLiteral("Thank you for using Cirrolux..."));
    EXPECT_EQ(w.tray().Tip(), text("lblsky2") + " && " + text("lblTemp2"));
    // The tray now shows the weather picture instead of the program's icon.
    EXPECT_EQ(w.tray().Icon().pixmap(16, 16).toImage(),
              BuiltinIcon("IconList" + std::to_string(SkyIconFor(text("lblsky2"))))
                  .pixmap(16, 16)
                  .toImage());
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "n/a");
    EXPECT_TRUE(ui.texts().empty()) << ui.texts().front();
    EXPECT_FALSE(w.timerStartup().isActive()); // fires once
    EXPECT_EQ(w.state().automaticRequest, "");
}

TEST_F(StartupFixture, ClickOnAPresetFetchesThatPlace)
{
    store.write_setting(names::Locations, "loc0", "Denver, CO");
    store.write_setting(names::Locations, "loc1", "Nairobi, Kenya (O)");
    auto startup = start(quietOptions());
    TForm1& w = startup->mainWindow();
    w.action(QStringLiteral("mnuViewstats1"))->trigger();
    EXPECT_EQ(w.QMainWindow::windowTitle(), QStringLiteral("Cirrolux - Nairobi, Kenya (O)"));
    EXPECT_EQ(emulator.requests().back().path, "/global/stations/63741.html");
    EXPECT_TRUE(ui.texts().empty()); // already a preset: nothing added
    const int pictureBefore = w.tray().RefreshCount();
    w.action(QStringLiteral("mnuViewstats0"))->trigger();
    EXPECT_EQ(w.QMainWindow::windowTitle(), QStringLiteral("Cirrolux - Denver, CO"));
    EXPECT_GT(w.tray().RefreshCount(), pictureBefore);
}

TEST_F(StartupFixture, NoneMeansNoRequestAndAutoUpdateWaitsForALocation)
{
    store.write_setting(names::Settings, names::StartupLoc, "None");
    store.write_setting(names::Settings, names::AutoUpdate, "y");
    TForm1::Options options = fastOptions();
    options.autoUpdateFirstMs = 30;
    options.autoUpdateIntervalMs = 60000;
    auto startup = start(options);
    TForm1& w = startup->mainWindow();
    waitFor([] { return false; }, 400);
    EXPECT_EQ(conditionsRequests(), 0);
    EXPECT_EQ(w.QMainWindow::windowTitle(), QStringLiteral("Cirrolux"));
    EXPECT_EQ(w.timer1().interval(), 60000); // switched to the long interval at its first tick
}

TEST_F(StartupFixture, AutoUpdateRefreshesThePlaceNamedInTheTitle)
{
    store.write_setting(names::Settings, names::AutoUpdate, "y");
    auto startup = start(quietOptions());
    TForm1& w = startup->mainWindow();
    w.QMainWindow::setWindowTitle(QStringLiteral("Cirrolux - Boston, MA"));
    w.Timer1Timer();
    ASSERT_EQ(conditionsRequests(), 1);
    EXPECT_EQ(emulator.requests().back().path, "/US/MA/Boston.html");
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "n/a"); // automatic: no preset
    EXPECT_EQ(w.state().automaticRequest, "");

    store.write_setting(names::Settings, names::AutoUpdate, "n");
    w.Timer1Timer();
    EXPECT_EQ(conditionsRequests(), 1);
}

TEST_F(StartupFixture, TickDuringARequestIsSkipped)
{
    store.write_setting(names::Settings, names::AutoUpdate, "y");
    store.write_setting(names::Locations, "loc0", "Denver, CO");
    auto startup = start(quietOptions());
    TForm1& w = startup->mainWindow();
    w.QMainWindow::setWindowTitle(QStringLiteral("Cirrolux - Boston, MA"));
    QObject::connect(&w.NMHTTP1(), &TNMHTTP::OnConnect, &w, [&] { w.Timer1Timer(); });
    w.action(QStringLiteral("mnuViewstats0"))->trigger();
    EXPECT_EQ(conditionsRequests(), 1);
    EXPECT_EQ(w.QMainWindow::windowTitle(), QStringLiteral("Cirrolux - Denver, CO"));
}

TEST_F(StartupFixture, StartMinimisedShowsNoWindowYetStillFetches)
{
    store.write_setting(names::Settings, names::StartMinimized, "y");
    store.write_setting(names::Settings, names::StartupLoc, "Boston, MA");
    auto startup = start();
    TForm1& w = startup->mainWindow();
    EXPECT_FALSE(startup->splash().isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.tray().WindowShown());
    EXPECT_TRUE(w.tray().InTray());
    ASSERT_TRUE(waitFor([&] {
        return conditionsRequests() == 1 &&
               w.QMainWindow::windowTitle().startsWith(QStringLiteral("Cirrolux - "));
    }));
    EXPECT_FALSE(w.isVisible());
    w.action(QStringLiteral("pitshow"))->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
}

TEST_F(StartupFixture, TransferErrorGoesToTheErrorBoxAndTheProgramGoesOn)
{
    store.write_setting(names::Locations, "loc0", "Denver, CO");
    auto startup = start(quietOptions());
    TForm1& w = startup->mainWindow();
    w.action(QStringLiteral("mnuViewstats0"))->trigger();
    const QString temperature = label("lblTemp2")->text();
    emulator.close();
    w.action(QStringLiteral("mnuViewstats0"))->trigger();
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"Connection Failed"}));
    EXPECT_EQ(label("lblTemp2")->text(), temperature);
    EXPECT_FALSE(w.request().running());
}

TEST_F(StartupFixture, ClosingTheWindowDuringAFetchEndsWithoutHanging)
{
    store.write_setting(names::Locations, "loc0", "Denver, CO");
    auto startup = start(quietOptions());
    TForm1& w = startup->mainWindow();
    w.action(QStringLiteral("mnuViewstats0"))->trigger(); // the usage counter out of the way
    servicesim::EmulatorReply stall =
        servicesim::EmulatorReply::make(200, "text/html", QByteArray(4000, 'x'));
    stall.delivery = servicesim::EmulatorReply::Delivery::Stall;
    emulator.queueReply(stall);
    QTimer::singleShot(200, &w, [&] { w.close(); });
    w.action(QStringLiteral("mnuViewstats0"))->trigger();
    EXPECT_FALSE(w.request().running());
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"Socket capture aborted"}));
    // Let the application's quit run its course so later tests have a working event loop.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST_F(StartupFixture, QuittingDuringAFetchDoesNotSpin)
{
    store.write_setting(names::Locations, "loc0", "Denver, CO");
    auto startup = start(quietOptions());
    TForm1& w = startup->mainWindow();
    w.action(QStringLiteral("mnuViewstats0"))->trigger();
    servicesim::EmulatorReply stall =
        servicesim::EmulatorReply::make(200, "text/html", QByteArray(4000, 'x'));
    stall.delivery = servicesim::EmulatorReply::Delivery::Stall;
    emulator.queueReply(stall);
    QTimer::singleShot(200, qApp, [] { QCoreApplication::exit(0); });
    w.action(QStringLiteral("mnuViewstats0"))->trigger();
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"Transfer Canceled"}));
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}
