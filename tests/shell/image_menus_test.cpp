#include "MainWindowFixture.h"
#include "ScriptedServer.h"

#include "conditions/ConditionsRequest.h"
#include "images/ImageCatalogue.h"
#include "images/ImageDownload.h"
#include "images/MenuLayout.h"
#include "images/TfrmImage.h"
#include "net/TNMHTTP.h"
#include "platform/WindowCommands.h"
#include "shell/Startup.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>

using namespace cirrolux;
using namespace cirrolux::test;
using Strings = std::vector<std::string>;

namespace {

// Records what the other windows were asked to do.
struct RecordingCommands : ForecastCommands, WebWindowCommands, RadarChooserCommands
{
    void openForecast(const std::string& mode) override { calls.push_back("forecast " + mode); }
    void openHtmlForecast() override { calls.push_back("html forecast"); }
    void openWebWindow(const std::string& mode) override { calls.push_back("web " + mode); }
    void openRadarChooser(bool preferences) override
    {
        calls.push_back(preferences ? "radar chooser (preferences)" : "radar chooser");
    }
    Strings calls;
};

// Image downloads into a temporary working directory from a loopback server that acts as the
// proxy; the old working directory comes back at the end.
struct LoopbackDownloads
{
    explicit LoopbackDownloads(TForm1& form)
    {
        QDir::setCurrent(dir.path());
        form.NMHTTP1().Proxy = "127.0.0.1";
        form.NMHTTP1().ProxyPort = server.port();
        form.createImageWindow();
    }
    ~LoopbackDownloads() { QDir::setCurrent(oldDir); }

    const QString oldDir = QDir::currentPath();
    QTemporaryDir dir;
    ScriptedServer server;
};

class ImageMenus : public MainWindowFixture
{
protected:
    ImageMenus() { createWindow(); }

    QAction* item(std::string_view name) const
    {
        return current->findChild<QAction*>(QString::fromLatin1(name));
    }
    // The built menus as "depth objectName caption" lines, separators as "depth -".
    static void walk(const QMenu* menu, int depth, Strings& lines)
    {
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator()) {
                lines.push_back(std::to_string(depth) + " -");
                continue;
            }
            const QString name =
                action->menu() ? action->menu()->objectName() : action->objectName();
            lines.push_back(std::to_string(depth) + " " + name.toStdString() + " " +
                            action->text().toLatin1().toStdString());
            if (action->menu())
                walk(action->menu(), depth + 1, lines);
        }
    }
};

TEST_F(ImageMenus, BuiltExactlyAsTheLayout)
{
    Strings expected;
    for (const MenuEntry& entry : ImageMenuLayout()) {
        if (entry.kind == MenuEntryKind::Separator)
            expected.push_back(std::to_string(entry.depth) + " -");
        else
            expected.push_back(std::to_string(entry.depth) + " " + std::string(entry.component) +
                               " " + std::string(MenuCaption(entry)));
    }
    Strings built;
    for (const QAction* top : current->menuBarActions()) {
        const QMenu* menu = top->menu();
        if (menu->objectName() != QLatin1String("mnuImages") &&
            menu->objectName() != QLatin1String("mnuForecasts") &&
            menu->objectName() != QLatin1String("mnuWarnings"))
            continue;
        built.push_back("0 " + menu->objectName().toStdString() + " " +
                        top->text().toLatin1().toStdString());
        walk(menu, 1, built);
    }
    EXPECT_EQ(built, expected);
    EXPECT_EQ(built.size(), 133u);
}

TEST_F(ImageMenus, EntriesWaitForTheirWindows)
{
    EXPECT_FALSE(item("mnuEuropeSat1")->isEnabled());
    EXPECT_EQ(item("mnuEuropeSat1")->statusTip(),
              QStringLiteral("The image window is not available"));
    EXPECT_EQ(item("mnuNowcast")->statusTip(),
              QStringLiteral("The forecast window is not available"));
    EXPECT_EQ(item("mnuForecastHTML")->statusTip(),
              QStringLiteral("The forecast window is not available"));
    EXPECT_EQ(item("mnuWorldFactsCIA1")->statusTip(),
              QStringLiteral("The web page window is not available"));
    EXPECT_EQ(item("StateLevelRadarNEW1")->statusTip(),
              QStringLiteral("The radar chooser is not available"));

    // The start-up step of the image window brings it.
    for (const Startup::WindowStep& step : Startup::windowSteps())
        if (step.name == "TfrmImage") {
            ASSERT_TRUE(step.create);
            EXPECT_EQ(step.gauge, 55);
            step.create(*current);
        }
    ASSERT_NE(current->imageWindow(), nullptr);
    EXPECT_EQ(current->imageWindow()->objectName(), QStringLiteral("frmImage"));
    for (const ImageSource& row : ImageCatalogue()) {
        EXPECT_TRUE(item(row.component)->isEnabled()) << row.component;
        EXPECT_TRUE(item(row.component)->statusTip().isEmpty());
    }
    EXPECT_FALSE(item("mnuNowcast")->isEnabled());
}

struct DispatchCase
{
    const char* component;
    const char* call;
    friend void PrintTo(const DispatchCase& c, std::ostream* os) { *os << c.component; }
};

class ImageMenuDispatch : public ImageMenus, public ::testing::WithParamInterface<DispatchCase>
{
};

TEST_P(ImageMenuDispatch, ToTheWindowOfTheEntry)
{
    RecordingCommands commands;
    current->setForecastCommands(&commands);
    current->setWebWindowCommands(&commands);
    current->setRadarChooserCommands(&commands);
    QAction* entry = item(GetParam().component);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled());
    entry->trigger();
    EXPECT_EQ(commands.calls, Strings{GetParam().call});
    current->setForecastCommands(nullptr);
    EXPECT_FALSE(item("mnuNowcast")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ImageMenuDispatch,
    ::testing::Values(DispatchCase{"StateLevelRadarNEW1", "radar chooser"},
                      DispatchCase{"mnuViewWETextlisting1", "forecast eb"},
                      DispatchCase{"mnuNowcast", "forecast n"},
                      DispatchCase{"mnuForecastHTML", "html forecast"},
                      DispatchCase{"ForecastTEXTversion1", "forecast f"},
                      DispatchCase{"mnuHydrologicalDataNWS1", "forecast h"},
                      DispatchCase{"PublicInformation1", "forecast p"},
                      DispatchCase{"mnuSpecialWeatherStatementsNWS1", "forecast sw"},
                      DispatchCase{"mnuWarningsAdvisories", "forecast w"},
                      DispatchCase{"mnuUSAirPollutionLevels1", "forecast ap"},
                      DispatchCase{"mnuCropWeatherReportbyState1", "forecast cw"},
                      DispatchCase{"mnuUSFireIncidentMgtReport1", "web usfi"},
                      DispatchCase{"mnuDetailbyUSState1", "forecast s1"},
                      DispatchCase{"mnuDetailbyUSZip1", "forecast s2"},
                      DispatchCase{"mnuUSMHHIncomebyState1", "forecast si"},
                      DispatchCase{"mnuCensusStateSal", "forecast ss"},
                      DispatchCase{"mnuWorldFactsCIA1", "web ci"}),
    [](const auto& info) { return std::string(info.param.component); });

TEST_F(ImageMenus, AnImageEntryDownloadsThroughTheSharedComponent)
{
    LoopbackDownloads downloads(*current);
    ScriptedServer& server = downloads.server;
    server.setScript(
        ScriptedServer::reply("HTTP/1.0 200 OK", {"Content-Length: 800"}, QByteArray(800, 'x')));
    item("mnuCurrentUSLightning1")->trigger();
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(server.requests()[0].startsWith(
        "GET http://www.accuweather.com/accuweather/ltus4p.gif HTTP/1.0\r\n"));
    EXPECT_EQ(text("StatusBar1Panel0"), "Thank you for using Cirrolux...");
    EXPECT_TRUE(current->imageWindow()->isVisible());
    EXPECT_EQ(current->imageWindow()->windowTitle(),
              QStringLiteral("Cirrolux - Current U.S. Lightning Strikes - by Accuweather"));
    // Not a GIF after all: the GIF control stays empty, silently.
    EXPECT_TRUE(ui.events().empty());
    current->imageWindow()->close();
    EXPECT_FALSE(QFile::exists(QStringLiteral("ltus4p.gif")));
}

TEST_F(ImageMenus, ATransferErrorGoesToTheErrorBox)
{
    current->NMHTTP1().Proxy = "127.0.0.1";
    current->NMHTTP1().ProxyPort = 1;
    current->createImageWindow();
    item("mnuCurrentUSSnowCover1")->trigger();
    EXPECT_EQ(ui.errors().size(), 1u);
    EXPECT_FALSE(current->imageWindow()->isVisible());
}

// "Abort GetStats connection" during an image removes the half-written file a little later,
// unless another transfer starts first (a retry of the same picture writes it again).
struct AbortCase
{
    const char* name;
    bool retry;
    friend void PrintTo(const AbortCase& c, std::ostream* os) { *os << c.name; }
};

class ImageAbort : public ImageMenus, public ::testing::WithParamInterface<AbortCase>
{
};

TEST_P(ImageAbort, PendingRemovalGivesWayToANewTransfer)
{
    LoopbackDownloads downloads(*current);
    ScriptedServer& server = downloads.server;
    const QByteArray head = "HTTP/1.0 200 OK\r\nContent-Length: 2000\r\n\r\n";
    server.setScripts(
        {{ScriptedServer::send(head + QByteArray(100, 'a')), ScriptedServer::waitRelease()},
         ScriptedServer::reply("HTTP/1.0 200 OK", {"Content-Length: 2000"},
                               QByteArray(2000, 'b'))});
    bool aborted = false;
    // The reply stalls after its first bytes; the user gives up on it.
    QTimer::singleShot(200, &server, [&] {
        if (!aborted) {
            aborted = true;
            item("mnuAbortconnection")->trigger();
        }
    });
    item("mnuCurrentUSLightning1")->trigger();
    EXPECT_EQ(ui.errors(), Strings{"Socket capture aborted"});
    if (GetParam().retry)
        item("mnuCurrentUSLightning1")->trigger();
    const bool removed = waitFor([] { return !QFile::exists(QStringLiteral("ltus4p.gif")); },
                                 ConditionsRequest::PendingDeleteMs + 600);
    EXPECT_EQ(removed, !GetParam().retry);
    current->imageWindow()->hide();
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageAbort,
                         ::testing::Values(AbortCase{"alone", false}, AbortCase{"retried", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImageMenus, UsageCounterWaitsWhileAnImageTransfers)
{
    LoopbackDownloads downloads(*current);
    ScriptedServer& server = downloads.server;
    server.setScript(
        ScriptedServer::reply("HTTP/1.0 200 OK", {"Content-Length: 800"}, QByteArray(800, 'x')));
    bool inputModeKept = false;
    QObject::connect(&current->NMHTTP1(), &TNMHTTP::OnConnect, current, [&] {
        current->request().SendUsageCounter();
        inputModeKept = current->NMHTTP1().InputFileMode && current->NMHTTP1().ReportLevel == 16;
    });
    item("mnuCurrentUSLightning1")->trigger();
    EXPECT_TRUE(inputModeKept);
    EXPECT_TRUE(ui.errors().empty());
    EXPECT_EQ(current->state().counterSent, "");
    EXPECT_EQ(server.requests().size(), 1u);
    QFile written(QStringLiteral("ltus4p.gif"));
    EXPECT_EQ(written.size(), 800);
    current->imageWindow()->hide();
}

} // namespace
