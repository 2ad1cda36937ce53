// The Help menu: the help window and its pages, the about box with its memory gauge, and the
// update check against the service emulator.
#include "CaseName.h"
#include "MainWindowFixture.h"

#include "forecast/TfrmForecast.h"
#include "images/TfrmImage.h"
#include "net/TNMHTTP.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "shell/MemoryStatus.h"
#include "shell/Startup.h"
#include "shell/TGauge.h"
#include "shell/TPieGauge.h"
#include "shell/TfrmAbout.h"
#include "shell/TfrmHelp.h"
#include "shell/UpdateCheck.h"
#include "ui_TfrmAbout.h"
#include "webwindow/TfrmWeb.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

#include <cmath>

using namespace cirrolux;
using cirrolux::test::MainWindowFixture;
using Event = cirrolux::test::RecordingUserInterface::Event;
namespace names = cirrolux::SettingNames;

namespace {

// --- update check ------------------------------------------------------------------------------

struct VersionCase
{
    std::string name;
    std::string file;
    std::string message;
};

class UpdateMessages : public ::testing::TestWithParam<VersionCase>
{
};

TEST_P(UpdateMessages, ComparesEightCharactersAsText)
{
    EXPECT_EQ(UpdateCheckMessage(GetParam().file, "1.40.0.8"), GetParam().message);
}

const std::string Older = "You are using an older version (1.40.0.8). The latest version is ";
const std::string Current = "Your version is the most current (1.40.0.8). The latest version is ";
const std::string NoVersion = "Error retrieving version #.  Please try again later.";

INSTANTIATE_TEST_SUITE_P(
    Files, UpdateMessages,
    ::testing::Values(
        VersionCase{"newer", "Version#1.40.0.9\r\n", Older + "1.40.0.9."},
        VersionCase{"same", "Version#1.40.0.8\r\n", Current + "1.40.0.8."},
        VersionCase{"ten_reads_as_one", "Version#1.40.0.10\r\n", Current + "1.40.0.1."},
        VersionCase{"older", "Version#1.39.9.9", Current + "1.39.9.9."},
        VersionCase{"major_release", "Version#2.00.0.0", Older + "2.00.0.0."},
        VersionCase{"text_around", "latest: Version#1.41.0.0 (beta)", Older + "1.41.0.0."},
        VersionCase{"short_file", "Version#1.5", Older + "1.5."},
        VersionCase{"no_marker", "<html>404 Not Found</html>", NoVersion},
        VersionCase{"wrong_case", "version#1.40.0.9", NoVersion},
        VersionCase{"empty", "", NoVersion}),
    [](const auto& info) { return test::CaseName(info.param.name); });

// Without "Version#", the reply's status decides: a file that does not exist will not appear by
// trying again, so the answer says what is known; any other reply keeps the retry message.
struct StatusCase
{
    std::string name;
    int status;
    std::string file;
    std::string message;
};

class UpdateMessagesByStatus : public ::testing::TestWithParam<StatusCase>
{
};

TEST_P(UpdateMessagesByStatus, NameTheInstalledVersionWhenNoVersionFileExists)
{
    EXPECT_EQ(UpdateCheckMessage(GetParam().file, "1.40.0.8", GetParam().status),
              GetParam().message);
}

const std::string NoFile = "No version file is published, so the latest version of Cirrolux "
                           "cannot be checked here. You are using version 1.40.0.8. Updates come "
                           "with the cirrolux package through your system's package manager.";

INSTANTIATE_TEST_SUITE_P(
    Replies, UpdateMessagesByStatus,
    ::testing::Values(
        StatusCase{"gateway_no_version_file", 404, "<html><h1>No version file</h1></html>", NoFile},
        StatusCase{"gone", 410, "", NoFile},
        StatusCase{"server_error", 500, "<html>Internal Server Error</html>", NoVersion},
        StatusCase{"unavailable", 503, "<html>No live source</html>", NoVersion},
        StatusCase{"ok_without_marker", 200, "hello", NoVersion},
        StatusCase{"marker_in_an_error_page", 404, "Version#1.40.0.9", Older + "1.40.0.9."},
        StatusCase{"marker_current", 200, "Version#1.40.0.8", Current + "1.40.0.8."}),
    [](const auto& info) { return info.param.name; });

TEST(UpdateMessages, NoVersionFileMessageNamesWhateverVersionIsInstalled)
{
    EXPECT_EQ(NoVersionFileMessage("2.0.0.1"),
              "No version file is published, so the latest version of Cirrolux cannot be "
              "checked here. You are using version 2.0.0.1. Updates come with the cirrolux "
              "package through your system's package manager.");
}

class UpdateCheckRoad : public MainWindowFixture, public ::testing::WithParamInterface<VersionCase>
{
protected:
    UpdateCheckRoad()
    {
        EXPECT_TRUE(emulator.listen());
        useProxy(emulator.port());
    }
    servicesim::ServiceEmulator emulator;
};

TEST_P(UpdateCheckRoad, MenuCommandShowsTheAnswerAndRestsTheStatusBar)
{
    emulator.setVersion(GetParam().file);
    TForm1& w = createWindow();
    w.FormShow(); // applies the proxy
    w.state().requestSucceeded = "Y";
    w.action(QStringLiteral("CheckforUpdate1"))->trigger();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{GetParam().message}));
    ASSERT_EQ(emulator.requests().size(), 1u);
    EXPECT_EQ(emulator.requests()[0].target, "http://www.cirrolux.net/assets/cirroluxvs.txt");
    EXPECT_EQ(emulator.requests()[0].header("Referer"), "Cirrolux by Tallowmere");
    EXPECT_EQ(w.statusPanel(0)->text(), QStringLiteral("Thank you for using Cirrolux..."));
    EXPECT_EQ(w.state().requestSucceeded, "");
    EXPECT_EQ(w.NMHTTP1().TimeOut, 60000);
    EXPECT_EQ(w.NMHTTP1().ReportLevel, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Served, UpdateCheckRoad,
    ::testing::Values(VersionCase{"v1_40_0_9", "1.40.0.9", Older + "1.40.0.9."},
                      VersionCase{"v1_40_0_8", "1.40.0.8", Current + "1.40.0.8."},
                      VersionCase{"v1_40_0_10", "1.40.0.10", Current + "1.40.0.1."}),
    [](const auto& info) { return info.param.name; });

TEST_F(MainWindowFixture, UpdateCheckWithoutAServerEndsInTheErrorBoxAndKeepsTheStatus)
{
    TForm1& w = createWindow();
    w.NMHTTP1().Proxy = "127.0.0.1";
    w.NMHTTP1().ProxyPort = 1; // nothing listens there
    w.action(QStringLiteral("CheckforUpdate1"))->trigger();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"Connection Failed"}));
    EXPECT_NE(w.statusPanel(0)->text(), QStringLiteral("Thank you for using Cirrolux..."));
}

// --- memory figures and the about box -----------------------------------------------------------

struct MeminfoCase
{
    std::string name;
    std::string text;
    std::uint64_t total;
    std::uint64_t free;
    int percent;
};

class Meminfo : public ::testing::TestWithParam<MeminfoCase>
{
};

TEST_P(Meminfo, ReadsTotalAndAvailableMemory)
{
    const MemoryStatus status = MemoryStatusFromMeminfo(GetParam().text);
    EXPECT_EQ(status.totalBytes, GetParam().total);
    EXPECT_EQ(status.freeBytes, GetParam().free);
    EXPECT_EQ(status.freePercent(), GetParam().percent);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Meminfo,
    ::testing::Values(
        MeminfoCase{"available_counts_as_free",
                    "MemTotal:       16000000 kB\nMemFree:          800000 kB\n"
                    "MemAvailable:    4000000 kB\n",
                    16384000000, 4096000000, 25},
        MeminfoCase{"free_without_available", "MemTotal: 1000 kB\nMemFree: 50 kB\n", 1024000, 51200,
                    5},
        MeminfoCase{"names_only_at_line_start", "XMemTotal: 9 kB\nMemTotal: 200 kB\n", 204800, 0,
                    0},
        MeminfoCase{"no_total", "MemFree: 50 kB\n", 0, 51200, 0},
        MeminfoCase{"unreadable_number", "MemTotal: lots\nMemAvailable: 10 kB\n", 0, 10240, 0},
        MeminfoCase{"overflowing_number", "MemTotal: 99999999999999999999999 kB\n", 0, 0, 0},
        MeminfoCase{"empty", "", 0, 0, 0}),
    [](const auto& info) { return test::CaseName(info.param.name); });

struct GaugeCase
{
    int percent;
    QColor color;
};

class AboutGauge : public MainWindowFixture, public ::testing::WithParamInterface<GaugeCase>
{
};

TEST_P(AboutGauge, GreenAboveFourPercentRedOtherwise)
{
    const std::uint64_t total = 100'000'000;
    TfrmAbout about(ui, nullptr,
                    MemoryStatus{total, total / 100 * std::uint64_t(GetParam().percent)});
    Ui::TfrmAbout& f = about.form();
    EXPECT_EQ(f.Ramguage->Progress(), GetParam().percent);
    EXPECT_EQ(f.Ramguage->ForeColor(), GetParam().color);
    EXPECT_EQ(f.lblFreeRAM->text(),
              QStringLiteral("Free RAM: %1 K bytes").arg(GetParam().percent * 1000));
    EXPECT_EQ(f.lbltotalRAM->text(), QStringLiteral("Total RAM: 100000 K bytes"));
}

INSTANTIATE_TEST_SUITE_P(Percents, AboutGauge,
                         ::testing::Values(GaugeCase{0, Qt::red}, GaugeCase{4, Qt::red},
                                           GaugeCase{5, Qt::green}, GaugeCase{100, Qt::green}),
                         [](const auto& info) { return "p" + std::to_string(info.param.percent); });

// WCAG's contrast between the darkest and the lightest pixel of a picture.
double contrastWithin(const QImage& picture)
{
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    double darkest = 1, lightest = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            const double l = 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                             0.0722 * channel(c.blueF());
            darkest = std::min(darkest, l);
            lightest = std::max(lightest, l);
        }
    }
    return (lightest + 0.05) / (darkest + 0.05);
}

// The version stands on the blue gradient: its navy text needs a light ground to be read.
TEST_F(MainWindowFixture, AboutBoxVersionIsReadable)
{
    TForm1& w = createWindow();
    auto* about = new TfrmAbout(ui, &w, MemoryStatus{8'000'000'000, 2'000'000'000});
    about->mnuAboutClick();
    ASSERT_TRUE(about->isVisible());
    Ui::TfrmAbout& f = about->form();
    for (QLabel* label : {f.lblVersion, f.lblCurrVs}) {
        const QImage shot = about->grab(label->geometry()).toImage();
        EXPECT_GE(contrastWithin(shot), 4.5) << label->objectName().toStdString();
    }
}

// Start-up sets the gauge between steps that give the event loop no turn: each value is
// painted when it is set, or only the last would ever show.
TEST(SplashGauge, PaintsEachValueWhenItIsSet)
{
    TGauge gauge;
    gauge.resize(200, 110);
    gauge.show();
    QCoreApplication::processEvents();
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    gauge.installEventFilter(&counter);
    for (const int value : {10, 25, 40})
        gauge.SetProgress(value);
    EXPECT_EQ(counter.paints, 3);
    EXPECT_EQ(gauge.Progress(), 40);
}

TEST_F(MainWindowFixture, AboutBoxShowsVersionLinksAndCredits)
{
    TForm1& w = createWindow();
    auto* about = new TfrmAbout(ui, &w, MemoryStatus{8'000'000'000, 2'000'000'000});
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Cirrolux"));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        EXPECT_EQ(about->pos(), QPoint((area.width() - about->width()) / 2,
                                       (area.height() - about->height()) / 2 - 60));
    }
    w.action(QStringLiteral("mnuAbout"))->trigger();
    ASSERT_TRUE(about->isVisible());
    Ui::TfrmAbout& f = about->form();
    EXPECT_EQ(f.lblVersion->text(), QStringLiteral("Version "));
    EXPECT_EQ(f.lblCurrVs->text(), QStringLiteral("1.40.0.8"));
    EXPECT_EQ(f.Label1->text(), QStringLiteral("Your System Resources:"));
    EXPECT_EQ(f.lblRAM->text(), QStringLiteral("% Free RAM:"));
    EXPECT_EQ(f.lblEmail->text(), QStringLiteral("Send me E-mail"));
    EXPECT_EQ(f.lblEmail->toolTip(), QStringLiteral("Send me an E-mail"));
    EXPECT_TRUE(f.Memo1->isReadOnly());
    EXPECT_TRUE(f.Memo1->toPlainText().contains(QStringLiteral("National Weather Service")));
    EXPECT_TRUE(f.Memo1->toPlainText().contains(QStringLiteral("Weather Underground")));

    QTest::mouseClick(f.lblURL, Qt::LeftButton);
    QTest::mouseClick(f.lblEmail, Qt::LeftButton);
    EXPECT_EQ(ui.events(),
              (std::vector<Event>{{Event::Kind::OpenUrl, "http://www.cirrolux.net/"},
                                  {Event::Kind::OpenUrl, "mailto:support@cirrolux.net"}}));
}

// --- help: menu, F1 in each window, the help window
// -----------------------------------------------

TEST_F(MainWindowFixture, HelpMenuHoldsItsEntriesInOrderAsTheLastMenu)
{
    TForm1& w = createWindow();
    const QList<QAction*> menus = w.menuBarActions();
    ASSERT_FALSE(menus.isEmpty());
    QMenu* help = menus.back()->menu();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->objectName(), QStringLiteral("mnuHelp"));
    EXPECT_EQ(help->title(), QStringLiteral("&Help"));
    std::vector<std::string> entries;
    for (QAction* entry : help->actions())
        entries.push_back(entry->isSeparator() ? "-"
                                               : entry->objectName().toStdString() + " " +
                                                     entry->text().toStdString());
    EXPECT_EQ(entries, (std::vector<std::string>{"mnuHelpContents Help &Contents (F1)", "-",
                                                 "mnuAbout &About Cirrolux...",
                                                 "CheckforUpdate1 Check for &Update"}));
    w.action(QStringLiteral("mnuHelpContents"))->trigger();
    EXPECT_EQ(ui.events(), (std::vector<Event>{{Event::Kind::Help, "main"}}));
}

// F1 pressed in a window opens that window's page.
class F1Help : public MainWindowFixture, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(F1Help, OpensTheWindowsPage)
{
    TForm1& w = createWindow();
    QWidget* target = &w;
    if (GetParam() == "about") {
        auto* about = new TfrmAbout(ui, &w);
        about->mnuAboutClick();
        target = about;
    } else if (GetParam() == "web") {
        auto* web = new TfrmWeb(w.state(), w.NMHTTP1(), ui, &w);
        web->form();
        web->show();
        target = web;
    } else if (GetParam() == "image") {
        w.createImageWindow();
        target = w.imageWindow();
        target->show();
    } else if (GetParam() == "forecast") {
        auto* forecast = new TfrmForecast(
            TfrmForecast::Environment{w.state(), w.settings(), ui, w.NMHTTP1(), {}, {}, {}, {}},
            &w);
        forecast->show();
        target = forecast;
        ui.clear();
    } else {
        w.show();
    }
    QApplication::setActiveWindow(target);
    QTest::keyClick(target, Qt::Key_F1);
    EXPECT_EQ(ui.events(), (std::vector<Event>{{Event::Kind::Help, GetParam()}}));
}

INSTANTIATE_TEST_SUITE_P(Windows, F1Help,
                         ::testing::Values("main", "web", "about", "image", "forecast"),
                         [](const auto& info) { return test::CaseName(info.param); });

// "Help &Contents (F1)" names its key in its caption; a shortcut on the entry would make the menu
// show "F1" a second time. The key works through the window instead (F1Help).
TEST_F(MainWindowFixture, HelpEntriesShowTheirKeyOnce)
{
    TForm1& w = createWindow();
    w.createImageWindow();
    auto* web = new TfrmWeb(w.state(), w.NMHTTP1(), ui, &w);
    web->form();
    const std::pair<QWidget*, const char*> entries[] = {{&w, "mnuHelpContents"},
                                                        {w.imageWindow(), "mnuHelpContentsF11"},
                                                        {web, "mnuHelpContentsF11"}};
    for (const auto& [window, name] : entries) {
        auto* entry = window->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->text(), QStringLiteral("Help &Contents (F1)"));
        EXPECT_TRUE(entry->shortcut().isEmpty()) << window->objectName().toStdString();
    }
}

// Every topic other windows name has its own page; anything else opens the contents.
class HelpPages : public ::testing::TestWithParam<std::string>
{
};

TEST_P(HelpPages, TopicOpensItsPage)
{
    QWidget owner;
    TfrmHelp& help = TfrmHelp::open(owner, GetParam());
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.currentTopic(), GetParam());
    EXPECT_GT(help.viewer().toPlainText().size(), 200) << GetParam();
    EXPECT_EQ(&TfrmHelp::open(owner, "index"), &help); // one help window
}

// Wherever its owner stands, the help window opens wholly on the screen, frame included.
class HelpPlace : public ::testing::TestWithParam<QPoint>
{
};

TEST_P(HelpPlace, HelpWindowOpensWhollyOnTheScreen)
{
    QWidget owner;
    owner.setGeometry(QRect(GetParam(), QSize(317, 328)));
    owner.show();
    TfrmHelp& help = TfrmHelp::open(owner, "main");
    QCoreApplication::processEvents();
    const QRect screen = owner.screen()->availableGeometry();
    const QRect outer(help.pos(), help.size() + QSize(8, 27));
    EXPECT_TRUE(screen.contains(outer))
        << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height();
}

INSTANTIATE_TEST_SUITE_P(Owners, HelpPlace,
                         ::testing::Values(QPoint(0, 0), QPoint(240, 130), QPoint(470, 260)),
                         [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(Topics, HelpPages,
                         ::testing::Values("main", "choose-location", "preferences", "image",
                                           "forecast", "web", "about", "files", "proxy",
                                           "settings"),
                         [](const auto& info) { return test::CaseName(info.param); });

TEST(HelpWindow, UnknownOrEmptyTopicShowsTheContents)
{
    QWidget owner;
    EXPECT_EQ(TfrmHelp::open(owner, "").currentTopic(), "index");
    EXPECT_EQ(TfrmHelp::open(owner, "../etc").currentTopic(), "index");
    EXPECT_TRUE(TfrmHelp::open(owner, "").viewer().toPlainText().contains(
        QStringLiteral("Where Cirrolux keeps its files")));
}

TEST(HelpWindow, SearchFindsPagesHoldingEveryWord)
{
    QWidget owner;
    TfrmHelp& help = TfrmHelp::open(owner, "");
    EXPECT_EQ(help.search(QStringLiteral("PROXY password")),
              (std::vector<std::string>{"preferences", "proxy"}));
    const std::vector<std::string> cache = help.search(QStringLiteral("XDG_CACHE_HOME"));
    EXPECT_EQ(cache, (std::vector<std::string>{"files"}));
    EXPECT_TRUE(help.search(QStringLiteral("zzzqqq")).empty());
    EXPECT_TRUE(help.search(QStringLiteral("  ")).empty());
}

TEST(HelpWindow, LinksBetweenPagesStayInTheHelp)
{
    QWidget owner;
    TfrmHelp& help = TfrmHelp::open(owner, "");
    help.viewer().setSource(QUrl(QStringLiteral("proxy.html")));
    EXPECT_EQ(help.currentTopic(), "proxy");
    EXPECT_TRUE(help.viewer().toPlainText().contains(QStringLiteral("Proxy Port:")));
}

// --- start-up
// ---------------------------------------------------------------------------------------

TEST_F(MainWindowFixture, StartupCreatesWebWindowAndAboutBoxHiddenAndUnbuilt)
{
    store.write_setting(names::Settings, names::StartupLoc, "None");
    Startup startup(store, ui, quietOptions());
    startup.run();
    TForm1& w = startup.mainWindow();
    auto* web = qobject_cast<TfrmWeb*>(w.webWindow());
    auto* about = w.findChild<TfrmAbout*>();
    ASSERT_NE(web, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(web->isVisible());
    EXPECT_FALSE(about->isVisible());
    // Their controls wait for the first show.
    EXPECT_EQ(web->findChild<QTextBrowser*>(), nullptr);
    EXPECT_EQ(about->findChild<QPlainTextEdit*>(), nullptr);
    EXPECT_EQ(startup.gaugeSteps(), (std::vector<int>{10, 25, 40, 55, 70, 100}));

    web->openWebWindow("ci");
    EXPECT_TRUE(web->isVisible());
    web->close();
    EXPECT_EQ(w.state().webMode, "");
}

} // namespace
