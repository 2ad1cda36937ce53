// The forecast window as start-up makes it: opened through the main window's forecast
// commands, fed by the shared transfer component's status texts, restoring the main window.
#include "MainWindowFixture.h"

#include "display/TOnTray.h"
#include "forecast/TfrmForecast.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "shell/Startup.h"
#include "ui_TfrmForecast.h"

#include <QAction>
#include <QApplication>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

class ForecastWiring : public test::MainWindowFixture
{
protected:
    ForecastWiring()
    {
        emulator.setNow(QDateTime(QDate(2026, 1, 15), QTime(14, 0), Qt::UTC));
        EXPECT_TRUE(emulator.listen());
        useProxy(emulator.port());
        store.write_setting(names::Locations, "loc0", "Boston, MA");
        startup = std::make_unique<Startup>(store, ui, quietOptions());
        startup->run();
        current = &startup->mainWindow();
    }

    static TfrmForecast* forecastWindow()
    {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<TfrmForecast*>(top))
                return window;
        }
        return nullptr;
    }

    servicesim::ServiceEmulator emulator;
    std::unique_ptr<Startup> startup;
};

TEST_F(ForecastWiring, StartupMakesTheWindowAndTheMainWindowOpensIt)
{
    TForm1& main = startup->mainWindow();
    ASSERT_NE(main.forecastCommands(), nullptr);
    TfrmForecast* window = forecastWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible());

    main.action(QStringLiteral("mnuViewstats0"))->trigger(); // Boston, MA
    ASSERT_EQ(main.state().locationState, "MA");

    main.forecastCommands()->openForecast("f");
    ASSERT_TRUE(waitFor([&] { return window->isActiveWindow(); }, 3000));
    // With a tray the main window went there: hidden, "Restore window..." offered.
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(main.action(QStringLiteral("pitshow"))->isEnabled());
    window->form().editCounty->setText(QStringLiteral("Essex"));
    window->form().btnGetit->click();
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Cirrolux - Text Forecast for ESSEX county, MA"));
    EXPECT_EQ(window->statusLabel()->text(), QStringLiteral(" Thank you for using Cirrolux..."));
    // Of the transfer's texts the main window kept only those the forecast window does not take.
    EXPECT_EQ(main.statusPanel(0)->text(), QStringLiteral("Packet sent..."));

    window->form().mnuCloseWindow->trigger();
    EXPECT_FALSE(main.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.state().forecastMode, "");
}

TEST_F(ForecastWiring, TransferTextsGoToTheForecastWindowWhileItOwnsTheTransfer)
{
    TForm1& main = startup->mainWindow();
    TfrmForecast* window = forecastWindow();
    ASSERT_NE(window, nullptr);
    main.setForecastStatusText("Connected...");
    EXPECT_EQ(window->statusLabel()->text(), QStringLiteral("Connected..."));
}

} // namespace
