// The whole live road, offline: the program, its real transfer component and parser, its proxy
// set to the gateway on 127.0.0.1, and the gateway fetching recorded NOAA files from the fake
// NOAA. The readings shown are those of the file served.
#include "FakeNoaa.h"
#include "GatewayHarness.h"
#include "MainWindowFixture.h"

#include "forecast/TfrmForecast.h"
#include "settings/SettingNames.h"
#include "shell/Startup.h"
#include "ui_TfrmForecast.h"

#include <QAction>
#include <QApplication>
#include <QTcpServer>
#include <QTcpSocket>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

class GatewayRoad : public test::MainWindowFixture
{
protected:
    void SetUp() override
    {
        index = test::InstalledStationIndex();
        if (!index)
            GTEST_SKIP() << "weather-util-data is not installed";
        live.emplace(*index, cirrolux::CatalogueStationDirectory());
        noaa.serveFolder(test::GatewayTestData());
        ASSERT_TRUE(noaa.listen());
        gateway::UpstreamSettings settings;
        settings.observationsBase = noaa.observationsBase();
        settings.productsBase = noaa.productsBase();
        server.emplace(*index, *live, settings);
        server->setClock([] { return QDateTime(QDate(2026, 1, 15), QTime(15, 10), Qt::UTC); });
        ASSERT_TRUE(server->listen(0));
        useProxy(server->port());
    }

    TForm1& start(const std::string& preset)
    {
        store.write_setting(names::Locations, "loc0", preset);
        startup = std::make_unique<Startup>(store, ui, quietOptions());
        startup->run();
        current = &startup->mainWindow();
        return startup->mainWindow();
    }

    const gateway::StationIndex* index = nullptr;
    std::optional<gateway::LiveConditions> live;
    fakenoaa::FakeNoaa noaa;
    std::optional<gateway::GatewayServer> server;
    std::unique_ptr<Startup> startup;
};

struct RoadCase
{
    const char* name;
    const char* preset;
    const char* station; // its file is what the fake NOAA serves
    const char* sky;
    const char* temperature;
    const char* humidity;
    const char* pressure;
    const char* wind;
    const char* visibility;
};

class GatewayRoadPlaces : public GatewayRoad, public ::testing::WithParamInterface<RoadCase>
{
};

TEST_P(GatewayRoadPlaces, ShowTheReadingsOfTheStationsFile)
{
    const RoadCase& c = GetParam();
    TForm1& main = start(c.preset);
    main.action(QStringLiteral("mnuViewstats0"))->trigger();
    ASSERT_EQ(noaa.requests().size(), 1u);
    EXPECT_EQ(noaa.requests()[0].path.toStdString(),
              "/data/observations/metar/stations/" + std::string(c.station) + ".TXT");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(text("lblsky2"), c.sky);
    EXPECT_EQ(text("lblTemp2"), c.temperature);
    EXPECT_EQ(text("lblHumid2"), c.humidity);
    EXPECT_EQ(text("lblPress2"), c.pressure);
    EXPECT_EQ(text("lblWind2"), c.wind);
    EXPECT_EQ(text("lblVisible2"), c.visibility);
    EXPECT_NE(text("lblSunrise2"), "");
    EXPECT_NE(text("lblMoonRise2"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Places, GatewayRoadPlaces,
    ::testing::Values(
        // 12 kt is 14 mph, gusts 22 kt 25 mph; -1/-9 C gives 55 %; BKN is "Mostly Cloudy".
        RoadCase{"UsCity", "Boston, MA", "KBOS", "Mostly Cloudy",
                 "30\xB0"
                 "F ",
                 "55% ", "30.12 in / 1020 hPa ", "NW at 14mph, gusting to 25mph ", "10.0 mi "},
        // The zip's nearest station is Boston's too.
        RoadCase{"Zip", "02134 - Boston, MA", "KBOS", "Mostly Cloudy",
                 "30\xB0"
                 "F ",
                 "55% ", "30.12 in / 1020 hPa ", "NW at 14mph, gusting to 25mph ", "10.0 mi "},
        // QNH 1017 hPa, 9999 (10 km or more) is 6.2 miles, 050V120 leaves the mean direction.
        RoadCase{"ForeignStation", "Nairobi, Kenya (O)", "HKJK", "Partly Cloudy",
                 "81\xB0"
                 "F ",
                 "45% ", "30.03 in / 1017 hPa ", "E at 14 mph ", " 6.2 mi "},
        // CAVOK: 10 km or more and no cloud below 5000 ft; AUTO changes nothing.
        RoadCase{"ForeignCavok", "Heathrow, United Kingdom (O)", "EGLL", "Clear",
                 "48\xB0"
                 "F ",
                 "71% ", "29.91 in / 1013 hPa ", "WSW at 9 mph ", " 6.2 mi "},
        // COR, calm 00000KT, "1 1/2SM", -SN BR, M05/M12.
        RoadCase{"SnowBelowZero", "Nome, AK", "PAOM", "Light Snow",
                 "23\xB0"
                 "F ",
                 "58% ", "29.88 in / 1012 hPa ", "Calm ", " 1.5 mi "},
        // VRB03KT, "M1/4SM" (less than a quarter mile), runway visual range skipped, FZFG
        // under VV002, M12/M13.
        RoadCase{"FreezingFogVariableWind", "80011 - Aurora, CO", "KBKF", "Freezing Fog",
                 "10\xB0"
                 "F ",
                 "92% ", "30.31 in / 1026 hPa ", "Variable at 3 mph ",
                 "under \xBC"
                 " "},
        // 18 kt gusting 31 kt, 280V350, -TSRA with a CB layer. The city itself is O'Hare's; a
        // zip code beside Midway airport is Midway's.
        RoadCase{"ThunderstormGusts", "60638 - Chicago, IL", "KMDW", "Light Thunderstorms and Rain",
                 "72\xB0"
                 "F ",
                 "83% ", "29.76 in / 1008 hPa ", "W at 21mph, gusting to 36mph ", " 3.0 mi "}),
    [](const ::testing::TestParamInfo<RoadCase>& info) { return std::string(info.param.name); });

struct SilentCase
{
    const char* name;
    const char* preset;
    const char* station;
};

class GatewayRoadWithoutReadings : public GatewayRoad,
                                   public ::testing::WithParamInterface<SilentCase>
{
};

TEST_P(GatewayRoadWithoutReadings, GiveTheParsersMessageAndShowNothingMadeUp)
{
    TForm1& main = start(GetParam().preset);
    main.action(QStringLiteral("mnuViewstats0"))->trigger();
    ASSERT_EQ(noaa.requests().size(), 1u);
    EXPECT_EQ(noaa.requests()[0].path.toStdString(),
              "/data/observations/metar/stations/" + std::string(GetParam().station) + ".TXT");
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{
                  "Error (P2) occurred parsing data.  Please try again in a few minutes."});
    EXPECT_EQ(text("lblTemp2"), "");
    EXPECT_EQ(text("lblHumid2"), "");
    EXPECT_EQ(text("lblWind2"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Stations, GatewayRoadWithoutReadings,
    ::testing::Values(
        // Zip codes whose nearest station is the recorded one. Its last file is from 2019.
        SilentCase{"StoppedReporting", "98108 - Seattle, WA", "KBFI"},
        // Wind, visibility, weather and temperatures all missing ("/////", "////", "M").
        SilentCase{"OnlyPressureReported", "99577 - Eagle River, AK", "PABV"},
        // No file at all (404) for this one.
        SilentCase{"NoFile", "Miami, FL", "KMIA"}),
    [](const ::testing::TestParamInfo<SilentCase>& info) { return std::string(info.param.name); });

TEST_F(GatewayRoad, TheForecastWindowShowsTheCountysZoneForecast)
{
    TForm1& main = start("Boston, MA");
    main.action(QStringLiteral("mnuViewstats0"))->trigger();
    ASSERT_EQ(main.state().locationState, "MA");
    TfrmForecast* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* w = qobject_cast<TfrmForecast*>(top))
            window = w;
    }
    ASSERT_NE(window, nullptr);
    main.forecastCommands()->openForecast("f");
    window->form().editCounty->setText(QStringLiteral("Suffolk"));
    window->form().btnGetit->click();
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Cirrolux - Text Forecast for SUFFOLK county, MA"));
    EXPECT_EQ(window->form().RichEdit1->toPlainText().toStdString(),
              "\nSUFFOLK-\nINCLUDING THE CITY OF BOSTON\n1030 AM EST THU JAN 15 2026\n\n"
              ".TODAY...MOSTLY CLOUDY. HIGHS IN THE MID 30S. NORTHWEST WINDS\n10 TO 15 MPH.\n"
              ".TONIGHT...PARTLY CLOUDY. LOWS AROUND 20. SEE WEATHER.GOV/BOX.\n"
              ".FRIDAY...SUNNY. HIGHS AROUND 32.\n\n");
    EXPECT_EQ(noaa.hits("/data/forecasts/zone/ma/maz015.txt"), 1);
}

} // namespace

namespace {

// NOAA cannot be reached and the gateway (restarted) has nothing cached: the program takes the
// gateway's "502 NOAA Not Reachable" as a failed transfer, gives no parser message and keeps
// the readings it showed; the reason is on the gateway's page.
TEST_F(GatewayRoad, WhenNoaaCannotBeReachedTheProgramKeepsItsLastReadings)
{
    TForm1& main = start("Boston, MA");
    main.action(QStringLiteral("mnuViewstats0"))->trigger();
    ASSERT_EQ(text("lblTemp2"), "30\xB0"
                                "F ");
    const std::string humidity = text("lblHumid2");
    const std::string wind = text("lblWind2");

    // A port nobody listens on: the connection is refused.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 deadPort = closed.serverPort();
    closed.close();
    const quint16 port = server->port();
    server.reset();
    gateway::UpstreamSettings settings;
    settings.observationsBase =
        QStringLiteral("http://127.0.0.1:%1/data/observations/metar/stations/").arg(deadPort);
    settings.productsBase = QStringLiteral("http://127.0.0.1:%1/data/").arg(deadPort);
    server.emplace(*index, *live, settings);
    ASSERT_TRUE(server->listen(port));

    main.action(QStringLiteral("mnuViewstats0"))->trigger();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(text("lblTemp2"), "30\xB0"
                                "F ");
    EXPECT_EQ(text("lblHumid2"), humidity);
    EXPECT_EQ(text("lblWind2"), wind);

    // What the program was sent.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(socket.waitForConnected(3000));
    socket.write("GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n\r\n");
    QByteArray reply;
    test::WaitFor(
        [&] {
            reply += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        },
        5000);
    reply += socket.readAll();
    EXPECT_TRUE(reply.startsWith("HTTP/1.0 502 NOAA Not Reachable\r\n"))
        << reply.left(60).constData();
    EXPECT_TRUE(reply.contains("Connection refused")) << reply.constData();
}

// The maker's files through the gateway: the usage counter, fetched before the first conditions,
// is answered by the gateway alone, and the update check says what the program truly knows (its
// version and where updates come from), with no latest version made up.
TEST_F(GatewayRoad, TheUpdateCheckNamesTheInstalledVersionAndWhereUpdatesComeFrom)
{
    TForm1& main = start("Boston, MA");
    main.action(QStringLiteral("mnuViewstats0"))->trigger();
    EXPECT_EQ(main.state().counterSent, "Y");
    EXPECT_EQ(text("lblTemp2"), "30\xB0"
                                "F ");
    main.action(QStringLiteral("CheckforUpdate1"))->trigger();
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{
                  "No version file is published, so the latest version of Cirrolux cannot be "
                  "checked here. You are using version 1.40.0.8. Updates come with the cirrolux "
                  "package through your system's package manager."});
    EXPECT_EQ(ui.errors(), std::vector<std::string>{});
    EXPECT_EQ(main.statusPanel(0)->text(), QStringLiteral("Thank you for using Cirrolux..."));
    EXPECT_EQ(main.state().requestSucceeded, "");
    // Only the station's file was fetched: neither the counter nor the version file went anywhere.
    ASSERT_EQ(noaa.requests().size(), 1u);
    EXPECT_EQ(noaa.requests()[0].path, "/data/observations/metar/stations/KBOS.TXT");
    EXPECT_EQ(server->upstream().transfersStarted(), 1);
}

} // namespace
