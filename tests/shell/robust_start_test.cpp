// Start-up and the main window against damaged or unreadable settings, the tray entries, the
// window's outer size, the splash's animation and the order of the start-up steps.
#include "MainWindowFixture.h"

#include "display/TOnTray.h"
#include "locations/CatalogueStations.h"
#include "net/TNMHTTP.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "shell/Startup.h"
#include "shell/TGauge.h"
#include "shell/TfrmPleaseWait.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>

#include <unistd.h>

using namespace cirrolux;
using cirrolux::test::MainWindowFixture;
namespace names = cirrolux::SettingNames;

namespace {

// Stores a value the way another program (or a hand edit) might: not as text.
void storeNonText(const QString& file, const char* section, const char* name)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(QStringLiteral("%1/%2").arg(QLatin1String(section), QLatin1String(name)),
                      QByteArray("y"));
}

} // namespace

class RobustStart : public MainWindowFixture
{
protected:
    RobustStart()
    {
        emulator.setNow(QDateTime(QDate(2026, 7, 1), QTime(18, 0), Qt::UTC));
        emulator.setStationDirectory(cirrolux::CatalogueStationDirectory());
        EXPECT_TRUE(emulator.listen());
    }

    static TForm1::Options fastOptions()
    {
        TForm1::Options options = quietOptions();
        options.startupDelayMs = 50;
        return options;
    }

    std::unique_ptr<Startup> start(TForm1::Options options = quietOptions(),
                                   const std::function<void(TForm1&)>& beforeRun = {})
    {
        auto startup = std::make_unique<Startup>(store, ui, std::move(options));
        current = &startup->mainWindow();
        if (beforeRun)
            beforeRun(startup->mainWindow());
        startup->run();
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

// A quoted list holding a NUL used to make every later write fail.
TEST_F(RobustStart, DamagedSettingsFileIsSetAsideOnceAndWritesGoOn)
{
    QDir().mkpath(QFileInfo(profile.settingsFile()).absolutePath());
    {
        QFile file(profile.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Locations]\nloc0=\"Denver, CO\"\nloc9=\"a\\0\", \"b\"\n");
    }
    TForm1& w = createWindow();
    w.show();
    w.action(QStringLiteral("mnulblTOn1"))->trigger();
    w.action(QStringLiteral("mnulblTOff1"))->trigger();
    const std::string keptAs =
        QDir::toNativeSeparators(profile.settingsFile() + QStringLiteral(".damaged")).toStdString();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{SettingsStore::damagedFileMessage(keptAs)});
    EXPECT_TRUE(ui.errors().empty());
    EXPECT_EQ(store.read_setting(names::Settings, names::LabelTransparent), "n");
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Denver, CO");
    EXPECT_EQ(w.action(QStringLiteral("mnuViewstats0"))->text(), QStringLiteral("Denver, CO"));
}

// The host is set before the port fails, so the start-up fetch still goes through the proxy.
TEST_F(RobustStart, NonNumericProxyPortKeepsTheProxyForTheStartupFetch)
{
    store.write_setting(names::Settings, names::ProxyUse, "y");
    store.write_setting(names::Settings, names::Proxy, "127.0.0.1");
    store.write_setting(names::Settings, names::ProxyPort, "80a");
    store.write_setting(names::Settings, names::StartupLoc, "Boston, MA");
    auto startup =
        start(fastOptions(), [&](TForm1& w) { w.NMHTTP1().ProxyPort = emulator.port(); });
    TForm1& w = startup->mainWindow();
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"'80a' is not a valid integer value"});
    EXPECT_EQ(w.NMHTTP1().Proxy, "127.0.0.1");
    ASSERT_TRUE(waitFor(
        [&] { return w.QMainWindow::windowTitle() == QStringLiteral("Cirrolux - Boston, MA"); }));
    EXPECT_EQ(conditionsRequests(), 1);
    EXPECT_EQ(ui.errors().size(), 1u);
}

// Each setting read while the program starts, stored as something other than text.
struct UnreadableCase
{
    const char* section;
    const char* name;
};

class UnreadableAtStart : public RobustStart, public ::testing::WithParamInterface<UnreadableCase>
{
};

TEST_P(UnreadableAtStart, IsReportedOnceAndTreatedAsMissing)
{
    const UnreadableCase& c = GetParam();
    if (std::string_view(c.name) != names::StartupLoc)
        store.write_setting(names::Settings, names::StartupLoc, "None");
    storeNonText(profile.settingsFile(), c.section, c.name);
    auto startup = start(fastOptions());
    TForm1& w = startup->mainWindow();
    waitFor([] { return false; }, 200); // the start-up timer has fired
    EXPECT_EQ(ui.errors(),
              std::vector<std::string>{"Invalid data type for '" + std::string(c.name) + "'"});
    // Started as if the value were missing: shown, design look, no fetch.
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.action(QStringLiteral("mnulblTOff1"))->isChecked());
    EXPECT_EQ(conditionsRequests(), 0);
    EXPECT_EQ(startup->gaugeSteps().back(), 100);
    // And it goes on working.
    w.action(QStringLiteral("mnulblTOn1"))->trigger();
    EXPECT_EQ(store.read_setting(names::Settings, names::LabelTransparent), "y");
}

INSTANTIATE_TEST_SUITE_P(Settings, UnreadableAtStart,
                         ::testing::Values(UnreadableCase{"Settings", "StartMinimized"},
                                           UnreadableCase{"Settings", "labelcolor"},
                                           UnreadableCase{"Settings", "labelfcolor"},
                                           UnreadableCase{"Settings", "statsfcolor"},
                                           UnreadableCase{"Settings", "lbltrans"},
                                           UnreadableCase{"Settings", "formbkgd"},
                                           UnreadableCase{"Locations", "loc0"},
                                           UnreadableCase{"Settings", "ProxyUse"},
                                           UnreadableCase{"Settings", "StartupLoc"}),
                         [](const ::testing::TestParamInfo<UnreadableCase>& info) {
                             return info.param.name;
                         });

// With the proxy in use, each of its values: the ones before it stay applied.
TEST_F(RobustStart, UnreadableProxyValuesAreSkippedOneByOne)
{
    store.write_setting(names::Settings, names::ProxyUse, "y");
    store.write_setting(names::Settings, names::ProxyPort, "3128");
    store.write_setting(names::Settings, names::ProxyUserid, "weather");
    store.write_setting(names::Settings, names::StartupLoc, "None");
    storeNonText(profile.settingsFile(), "Settings", "Proxy");
    storeNonText(profile.settingsFile(), "Settings", "ProxyPass");
    auto startup = start();
    TForm1& w = startup->mainWindow();
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"Invalid data type for 'Proxy'",
                                                     "Invalid data type for 'ProxyPass'"}));
    EXPECT_EQ(w.NMHTTP1().ProxyPort, 3128);
    EXPECT_EQ(w.NMHTTP1().HeaderInfo.UserId, "weather");
}

// The tick changes to the long interval before it reads the setting, so an unreadable value
// costs one message per refresh interval instead of one a second.
TEST_F(RobustStart, UnreadableAutoUpdateGivesOneMessagePerRefreshInterval)
{
    storeNonText(profile.settingsFile(), "Settings", "AutoUpdate");
    TForm1::Options options = quietOptions();
    options.autoUpdateFirstMs = 20;
    options.autoUpdateIntervalMs = 1500000;
    TForm1& w = createWindow(options);
    w.show();
    waitFor([] { return false; }, 300);
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"Invalid data type for 'AutoUpdate'"});
    EXPECT_EQ(w.timer1().interval(), 1500000);
    EXPECT_TRUE(w.timer1().isActive());
}

// Off, the timer keeps ticking every second, so switching auto update on takes effect at once.
TEST_F(RobustStart, AutoUpdateOffKeepsTheShortInterval)
{
    store.write_setting(names::Settings, names::AutoUpdate, "n");
    TForm1::Options options = quietOptions();
    options.autoUpdateFirstMs = 20;
    TForm1& w = createWindow(options);
    w.show();
    waitFor([] { return false; }, 200);
    EXPECT_EQ(w.timer1().interval(), 20);
    EXPECT_TRUE(ui.errors().empty());
}

// Once the splash has gone, nothing of it wakes the program.
TEST_F(RobustStart, SplashAnimationStopsWhenTheSplashHides)
{
    store.write_setting(names::Settings, names::StartupLoc, "None");
    auto startup = start();
    TfrmPleaseWait& splash = startup->splash();
    ASSERT_TRUE(waitFor([&] { return !splash.isVisible(); }));
    EXPECT_FALSE(splash.Animate1().Active());
    for (const QTimer* timer : splash.findChildren<QTimer*>())
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    // The choose-location dialog's busy sign starts and stops it again.
    startup->mainWindow().mnuChooseLocationClick();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Animate1().Active());
}

// The main window is centred (its first show) before the splash is placed beside it.
TEST_F(RobustStart, MainWindowIsShownAndCentredBeforeTheSplashIsMade)
{
    store.write_setting(names::Locations, "loc0", "Denver, CO");
    store.write_setting(names::Settings, names::StartupLoc, "None");
    QPoint mainAtSplash;
    bool presetsAtSplash = false;
    auto startup = start();
    TForm1& w = startup->mainWindow();
    TfrmPleaseWait& splash = startup->splash();
    mainAtSplash = w.pos();
    presetsAtSplash = w.action(QStringLiteral("mnuViewstats0"))->isVisible();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w.pos(),
              QPoint(screen.width() / 2 - w.width() / 2, screen.height() / 2 - w.height() / 2));
    EXPECT_EQ(splash.pos(), mainAtSplash + QPoint(12, 70));
    EXPECT_TRUE(presetsAtSplash);
}

// Hide and restore entries, decided from the window's state however it got there.
struct TrayCase
{
    const char* name;
    std::function<void(TForm1&)> act;
    bool hideEnabled;
};

class TrayEntries : public MainWindowFixture, public ::testing::WithParamInterface<TrayCase>
{
};

TEST_P(TrayEntries, FollowTheWindow)
{
    TForm1& w = createWindow();
    w.show();
    GetParam().act(w);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.action(QStringLiteral("pithide"))->isEnabled(), GetParam().hideEnabled);
    EXPECT_EQ(w.action(QStringLiteral("pitshow"))->isEnabled(), !GetParam().hideEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    States, TrayEntries,
    ::testing::Values(
        TrayCase{"Shown", [](TForm1&) {}, true},
        TrayCase{"HiddenFromTheTrayMenu",
                 [](TForm1& w) { w.action(QStringLiteral("pithide"))->trigger(); }, false},
        TrayCase{"TitleBarMinimise",
                 [](TForm1& w) { w.setWindowState(w.windowState() | Qt::WindowMinimized); }, false},
        TrayCase{"TitleBarMinimiseThenRestoreFromTheTray",
                 [](TForm1& w) {
                     w.setWindowState(w.windowState() | Qt::WindowMinimized);
                     QCoreApplication::processEvents();
                     w.action(QStringLiteral("pitshow"))->trigger();
                 },
                 true},
        TrayCase{"TitleBarMinimiseThenRestoreFromTheLeftMenu",
                 [](TForm1& w) {
                     w.setWindowState(w.windowState() | Qt::WindowMinimized);
                     QCoreApplication::processEvents();
                     w.action(QStringLiteral("pmnLeft_show"))->trigger();
                 },
                 true},
        TrayCase{"MinimiseButton",
                 [](TForm1& w) { w.action(QStringLiteral("mnuMinimize"))->trigger(); }, false}),
    [](const ::testing::TestParamInfo<TrayCase>& info) { return info.param.name; });

// A start in the tray offers only "Restore window...".
TEST_F(MainWindowFixture, TrayEntriesAfterAStartInTheTray)
{
    store.write_setting(names::Settings, names::StartMinimized, "y");
    TForm1& w = createWindow();
    EXPECT_FALSE(w.action(QStringLiteral("pithide"))->isEnabled());
    EXPECT_TRUE(w.action(QStringLiteral("pitshow"))->isEnabled());
}

// A settings folder that cannot be made (a file is in its place; works as root too): every write
// gives the store's message and the program goes on.
TEST_F(MainWindowFixture, SettingsFolderThatCannotBeMadeGivesTheStoreErrorsAndTheProgramRuns)
{
    const QString folder = QFileInfo(profile.settingsFile()).absolutePath();
    QDir(folder).removeRecursively();
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    TForm1& w = createWindow();
    w.show();
    w.action(QStringLiteral("mnulblTOn1"))->trigger();
    w.action(QStringLiteral("mnuBkgdMahogany1"))->trigger();
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"Failed to create key Settings",
                                                     "Failed to create key Settings"}));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(store.read_setting(names::Settings, names::LabelTransparent), "n/a");
}

// A settings folder the program may not write in: the write's own message. Root writes anyway.
TEST_F(MainWindowFixture, ReadOnlySettingsFolderGivesTheStoreErrorsAndTheProgramRuns)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores directory permissions";
    store.write_setting(names::Locations, "loc0", "Denver, CO");
    const QString folder = QFileInfo(profile.settingsFile()).absolutePath();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    TForm1& w = createWindow();
    w.show();
    w.action(QStringLiteral("mnulblTOn1"))->trigger();
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"Failed to set data for 'lbltrans'"});
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Denver, CO");
}

// An unclosed quote on a line of its own used to hide every preset after it: the program started
// without them and its first write dropped them, silently.
TEST_F(MainWindowFixture, PresetsAfterAnUnclosedQuoteAreShownKeptAndTheOldFileReported)
{
    QDir().mkpath(QFileInfo(profile.settingsFile()).absolutePath());
    {
        QFile file(profile.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Locations]\nloc0=Boston, MA\nx\"y\nloc1=Chicago, IL\n");
    }
    TForm1& w = createWindow();
    w.show();
    EXPECT_EQ(w.action(QStringLiteral("mnuViewstats1"))->text(), QStringLiteral("Chicago, IL"));
    w.action(QStringLiteral("mnulblTOn1"))->trigger();
    const std::string keptAs =
        QDir::toNativeSeparators(profile.settingsFile() + QStringLiteral(".damaged")).toStdString();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{SettingsStore::damagedFileMessage(keptAs)});
    EXPECT_EQ(store.read_setting(names::Locations, "loc1"), "Chicago, IL");
    EXPECT_EQ(store.read_setting(names::Settings, names::LabelTransparent), "y");
    w.action(QStringLiteral("mnulblTOff1"))->trigger();
    EXPECT_EQ(ui.messages().size(), 1u) << "told once";
}
