// The Reports menu's two web page entries through start-up's wiring: the web page window over
// the main window's transfer component, and the country map in the image window.
#include "MainWindowFixture.h"

#include "display/TGIFImage.h"
#include "images/TfrmImage.h"
#include "net/TNMHTTP.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "shell/Startup.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TfrmWeb.h"

#include <QAction>
#include <QComboBox>
#include <QDir>

using namespace cirrolux;
using cirrolux::test::MainWindowFixture;
namespace names = cirrolux::SettingNames;

namespace {

class WebWindowWiring : public MainWindowFixture
{
protected:
    WebWindowWiring()
    {
        QDir::setCurrent(profile.root());
        EXPECT_TRUE(emulator.listen());
        store.write_setting(names::Settings, names::StartupLoc, "None");
        useProxy(emulator.port());
        startup = std::make_unique<Startup>(store, ui, quietOptions());
        startup->run();
    }
    ~WebWindowWiring() override { QDir::setCurrent(m_old); }

    TForm1& main() { return startup->mainWindow(); }
    TfrmWeb& web() { return *qobject_cast<TfrmWeb*>(main().webWindow()); }

    QString m_old = QDir::currentPath();
    servicesim::ServiceEmulator emulator;
    std::unique_ptr<Startup> startup;
};

TEST_F(WebWindowWiring, WorldFactsShowsTheCountryWithItsMapInTheImageWindow)
{
    QAction* entry = main().action(QStringLiteral("mnuWorldFactsCIA1"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_EQ(entry->text(), QStringLiteral("World Facts - by Country  (CIA)"));
    entry->trigger();
    ASSERT_TRUE(web().isVisible());
    EXPECT_EQ(main().state().webMode, "ci");
    QComboBox* list = web().form().cboChoose;
    ASSERT_GT(list->count(), 250) << (ui.texts().empty() ? "" : ui.texts().front());
    list->setCurrentIndex(list->findText(QStringLiteral("af,Afghanistan")));
    web().btnGoClick();
    EXPECT_TRUE(ui.events().empty()) << ui.texts().front();

    TfrmImage* image = main().imageWindow();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->isVisible());
    EXPECT_EQ(image->windowTitle(), QStringLiteral("Cirrolux - Country Map for Afghanistan"));
    EXPECT_EQ(image->gifWidth(), 150);
    // 150 + 10 wide, unless the window's menu bar needs more.
    EXPECT_EQ(image->height(), 350);
    EXPECT_EQ(image->width(), std::max(160, image->minimumSizeHint().width()));
    EXPECT_EQ(image->pos(), QPoint(0, 0));
    EXPECT_FALSE(web().GIFImage1().Empty());
    EXPECT_FALSE(QFile::exists(QStringLiteral("af-150.gif")));

    // Closing the web page window closes the map too and clears the mode.
    web().close();
    EXPECT_FALSE(image->isVisible());
    EXPECT_EQ(main().state().webMode, "");
    EXPECT_FALSE(main().windowState() & Qt::WindowMinimized);
}

TEST_F(WebWindowWiring, FireReportEntryOpensTheReport)
{
    QAction* entry = main().action(QStringLiteral("mnuUSFireIncidentMgtReport1"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("US Fire/Acreage Incident Report"));
    entry->trigger();
    ASSERT_TRUE(web().isVisible());
    EXPECT_EQ(web().windowTitle(),
              QStringLiteral("Cirrolux - Current US Fire/Acreage Incident Mgt. Report"));
    EXPECT_EQ(web().statusText(), "Document Done...");
    EXPECT_EQ(emulator.requests().back().target, "http://www.nifc.gov/news/sitreprt.html");
}

} // namespace
