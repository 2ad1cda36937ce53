// The live reports through the gateway: the program's own report addresses, the gateway fetching
// the recorded source files (tests/livereports/data) from a fake upstream on 127.0.0.1, and the
// page read back by the program's own extraction.
#include "GatewayHarness.h"
#include "ProgramExtraction.h"
#include "SmallPdf.h"

#include "forecast/ForecastModes.h"
#include "gateway/LiveReports.h"
#include "livereports/CensusReport.h"
#include "webwindow/CountryIndex.h"

#include "webwindow/WebPageRetrieval.h"
#include <QTcpServer>
#include <QTcpSocket>

using namespace cirrolux;
using cirrolux::testing::ForecastWindowText;
using cirrolux::testing::ReadTestFile;
using cirrolux::testing::WebWindowText;
using cirrolux::testing::WithLf;

namespace {

constexpr const char* kKey = "k3y5ecret0123456789";
const std::string kCensus = "/live/api.census.gov/data/";
const std::string kProduct = "/live/forecast.weather.gov/product.php?site=NWS&issuedby=";

std::string productPath(const std::string& office, const std::string& product)
{
    return kProduct + office + "&product=" + product + "&format=txt&version=1&glossary=0";
}

std::string censusDetail(int year, const std::string& geography)
{
    return kCensus + std::to_string(year) + "/acs/acs5?get=" + livereports::CensusDetailGetList() +
           "&for=" + geography + "&key=" + kKey;
}

// The program's address for a mode: Boston, MA; the state list's Massachusetts; ZIP 02134.
std::string programAddress(const std::string& mode, const std::string& cropState = "")
{
    if (mode == "usfi")
        return WebPageRetrieval::FireReportUrl();
    if (mode == "ci")
        return WebPageRetrieval::CountryPageUrl("gm");
    const ReportInputs inputs{"Boston", "MA", cropState, "25,Massachusetts", "02134"};
    return ReportAddress(*FindForecastMode(mode), inputs);
}

class ReportGateway : public test::GatewayHarness
{
protected:
    void SetUp() override
    {
        GatewayHarness::SetUp();
        if (IsSkipped())
            return;
        now = QDateTime(QDate(2026, 12, 10), QTime(1, 5, 9), Qt::UTC);
        setKey(QString::fromLatin1(kKey));
        const auto serve = [this](const std::string& path, const std::string& file) {
            noaa.setFile(QByteArray::fromStdString(path),
                         QByteArray::fromStdString(ReadTestFile(file)));
        };
        serve("/live/earthquake.usgs.gov/earthquakes/feed/v1.0/summary/2.5_week.csv",
              "usgs_2.5_week.csv");
        serve("/live/data.bls.gov/cew/data/api/2025/a/industry/10.csv",
              "qcew_2025_a_industry_10.csv");
        serve("/live/www3.epa.gov/airquality/greenbook/ancl.html", "greenbook_ancl.html");
        // The 2025 estimates are not out yet (404): the gateway takes the year before.
        serve(kCensus + "2024/acs/acs5?get=NAME,B19013_001E&for=state:*&key=" + kKey,
              "census_acs5_income_states.json");
        serve(censusDetail(2024, "state:25"), "census_acs5_state25.json");
        serve(censusDetail(2024, "zip%20code%20tabulation%20area:02134"),
              "census_acs5_zcta02134.json");
        serve(productPath("BOX", "PNS"), "pns_box.txt");
        serve(productPath("ALY", "PNS"), "pns_aly.html");
        serve(productPath("BOX", "RVS"), "rvs_box.txt");
        serve(productPath("BOX", "FLS"), "fls_box.txt");
        serve("/live/usda.library.cornell.edu/api/v1/release/findByIdentifier/"
              "CropProg?latest=true",
              "esmis_cropprog_latest.json");
        serve("/live/downloads.usda.library.cornell.edu/usda-esmis/files/8336h188j/"
              "cropprog0526/prog1926.txt",
              "cropprog_2026-05-04.txt");
        serve("/live/raw.githubusercontent.com/factbook/factbook.json/master/europe/gm.json",
              "factbook_gm.json");
        noaa.setFile("/live/www.nifc.gov/nicc-files/sitreprt.pdf",
                     QByteArray::fromStdString(cirrolux::testing::SmallPdf(
                         {{"Incident Management Situation Report", "National Preparedness Level 3"},
                          {"Bear Gulch   MT-BDF   12,450 acres"}})));
    }

    void setKey(const QString& key)
    {
        gateway::ReportSettings reports;
        reports.upstream = QStringLiteral("http://127.0.0.1:%1/live").arg(noaa.port());
        reports.censusKey = key;
        server->setReportSettings(reports);
    }

    // What the window shows for the gateway's answer to the mode's address.
    std::string shown(const std::string& mode, const std::string& cropState = "")
    {
        const HttpReply reply = get(programAddress(mode, cropState));
        EXPECT_EQ(reply.status, 200) << mode;
        const std::string page = reply.body.toStdString();
        if (mode == "usfi" || mode == "ci")
            return WebWindowText(page);
        return WithLf(ForecastWindowText(mode, page, "MA"));
    }
};

struct ModeCase
{
    const char* mode;
    const char* ref; // tests/livereports/data/expected/<ref>.ref
};

class ReportGatewayModes : public ReportGateway, public ::testing::WithParamInterface<ModeCase>
{
};

// Every wired mode shows what the page builder makes of the recorded file, byte for byte.
TEST_P(ReportGatewayModes, ShowTheRecordedSourceAsTheWindowReadsIt)
{
    const ModeCase& c = GetParam();
    EXPECT_EQ(shown(c.mode), ReadTestFile(std::string("expected/") + c.ref + ".ref"));
}

INSTANTIATE_TEST_SUITE_P(
    LiveReportsRoad, ReportGatewayModes,
    ::testing::Values(ModeCase{"eb", "eb_world_bulletin"}, ModeCase{"ss", "ss_salary_ranks"},
                      ModeCase{"si", "si_income_ranks"}, ModeCase{"s1", "s1_massachusetts"},
                      ModeCase{"s2", "s2_zip_02134"}, ModeCase{"ap", "ap_green_book"},
                      ModeCase{"p", "p_massachusetts"}, ModeCase{"h", "h_massachusetts"}),
    [](const auto& info) { return std::string(info.param.mode); });

TEST_F(ReportGateway, CropWeatherInSeasonFollowsTheLatestReleaseToItsText)
{
    now = QDateTime(QDate(2026, 5, 5), QTime(12, 0), Qt::UTC);
    const std::string text = shown("cw", "IL");
    EXPECT_EQ(text, ReadTestFile("expected/cw_illinois.ref"));
}

// A release list naming its text anywhere but ESMIS's file store is not followed.
TEST_F(ReportGateway, CropWeatherFollowsOnlyEsmisFileAddresses)
{
    now = QDateTime(QDate(2026, 5, 5), QTime(12, 0), Qt::UTC);
    noaa.setFile("/live/usda.library.cornell.edu/api/v1/release/findByIdentifier/"
                 "CropProg?latest=true",
                 R"([{"files":["https://example.org/prog1926.txt"]}])");
    const std::string text = shown("cw", "IL");
    EXPECT_NE(text.find("names no text file"), std::string::npos) << text;
    EXPECT_EQ(noaa.requests().size(), 1u);
}

TEST_F(ReportGateway, FireReportPdfBecomesTheWebWindowsPage)
{
    const std::string text = shown("usfi");
    EXPECT_NE(text.find("National Preparedness Level 3\n\nBear Gulch   MT-BDF   12,450 acres"),
              std::string::npos)
        << text;
}

// A page is fetched once and kept for its lifetime; after it, a conditional request is made.
// An office without a recent product answers product.php with a page of its own: none of it is
// shown, the other office's product is.
TEST_F(ReportGateway, AnOfficePageWithoutAProductIsLeftOut)
{
    noaa.setFile(QByteArray::fromStdString(productPath("ALY", "PNS")),
                 "<!DOCTYPE html>\n<html><head><title>NWS</title></head><body><div>None issued "
                 "by this office recently.</div></body></html>\n");
    const std::string text = shown("p");
    EXPECT_EQ(text.find("None issued"), std::string::npos) << text;
    EXPECT_EQ(text.find("NWS"), std::string::npos) << text;
    EXPECT_NE(text.find("National Weather Service Boston/Norton MA"), std::string::npos) << text;
}

// An upstream that names its file's version (ETag) and answers "304 Not Modified" when asked
// for that version again; it keeps the request heads it got.
class VersionedUpstream
{
public:
    explicit VersionedUpstream(QByteArray body) : m_body(std::move(body))
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(&m_server);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray head = socket->readAll();
                    heads.push_back(head);
                    const bool same = head.contains("If-None-Match: \"v1\"");
                    socket->write(same ? QByteArray("HTTP/1.1 304 Not Modified\r\nETag: \"v1\"\r\n"
                                                    "Connection: close\r\n\r\n")
                                       : "HTTP/1.1 200 OK\r\nETag: \"v1\"\r\nContent-Length: " +
                                             QByteArray::number(m_body.size()) +
                                             "\r\nConnection: close\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    quint16 port() const { return m_server.serverPort(); }
    std::vector<QByteArray> heads;

private:
    QTcpServer m_server;
    QByteArray m_body;
};

// A stale page is asked for again with its version; "304 Not Modified" keeps the page built.
TEST_F(ReportGateway, AStalePageIsRefreshedWithAConditionalRequest)
{
    VersionedUpstream versioned(QByteArray::fromStdString(ReadTestFile("usgs_2.5_week.csv")));
    gateway::ReportSettings reports;
    reports.upstream = QStringLiteral("http://127.0.0.1:%1").arg(versioned.port());
    server->setReportSettings(reports);
    const std::string first = shown("eb");
    EXPECT_EQ(first, ReadTestFile("expected/eb_world_bulletin.ref"));
    now = now.addSecs(20 * 60); // past the bulletin's 15 minutes
    const HttpReply again = get(programAddress("eb"));
    EXPECT_EQ(again.header(gateway::kReportStateHeader), "live");
    EXPECT_EQ(WithLf(ForecastWindowText("eb", again.body.toStdString(), "MA")), first);
    ASSERT_EQ(versioned.heads.size(), 2u);
    EXPECT_FALSE(versioned.heads[0].contains("If-None-Match"));
    EXPECT_TRUE(versioned.heads[1].contains("If-None-Match: \"v1\""))
        << versioned.heads[1].constData();
}

// The index lists the final edition's countries, read back by the web page window's list scan.
TEST_F(ReportGateway, CountryIndexListsTheFinalEdition)
{
    const HttpReply reply = get(WebPageRetrieval::CountryIndexUrl());
    const std::vector<std::string> list = ParseCountryIndex(reply.body.toStdString());
    EXPECT_GT(list.size(), 250u);
    for (const char* entry : {"gm,Germany", "od,South Sudan", "ri,Serbia", "us,United States"})
        EXPECT_NE(std::find(list.begin(), list.end(), entry), list.end()) << entry;
    // The file is looked for region by region until one has it (Germany: africa, then europe).
    EXPECT_EQ(shown("ci").substr(0, 7), "Germany");
    EXPECT_EQ(
        noaa.hits("/live/raw.githubusercontent.com/factbook/factbook.json/master/africa/gm.json"),
        1);
}

TEST_F(ReportGateway, PagesAreKeptForTheirModesLifetime)
{
    const std::string path = "/live/data.bls.gov/cew/data/api/2025/a/industry/10.csv";
    const std::string first = shown("ss");
    EXPECT_EQ(shown("ss"), first);
    EXPECT_EQ(noaa.hits(QByteArray::fromStdString(path)), 1);
    now = now.addDays(100); // months: stale now
    EXPECT_EQ(shown("ss"), first);
    EXPECT_EQ(noaa.hits(QByteArray::fromStdString(path)), 2);
}

// An answer its builder cannot read (a maintenance page sent with status 200) is a failure: the
// last good page stays, and without one the honest page is given but not kept, so the next
// request asks the source again and shows it as soon as it is readable.
TEST_F(ReportGateway, AnUnreadableAnswerNeitherReplacesTheLastPageNorStays)
{
    const QByteArray path = "/live/data.bls.gov/cew/data/api/2025/a/industry/10.csv";
    const std::string first = shown("ss");
    noaa.setFile(path, "<html><body>Down for maintenance</body></html>");
    now = now.addDays(100); // months: stale now
    const HttpReply held = get(programAddress("ss"));
    EXPECT_EQ(held.header(gateway::kReportStateHeader), "cached (the answer could not be read)");
    EXPECT_EQ(WithLf(ForecastWindowText("ss", held.body.toStdString(), "MA")), first);

    const QByteArray green = "/live/www3.epa.gov/airquality/greenbook/ancl.html";
    noaa.setFile(green, "<html><body>Down for maintenance</body></html>");
    const HttpReply failed = get(programAddress("ap"));
    EXPECT_EQ(failed.header(gateway::kReportStateHeader), "failed (the answer could not be read)");
    EXPECT_NE(failed.body.indexOf("not currently available"), -1);
    noaa.setFile(green, QByteArray::fromStdString(ReadTestFile("greenbook_ancl.html")));
    EXPECT_EQ(get(programAddress("ap")).header(gateway::kReportStateHeader), "live");
    EXPECT_EQ(noaa.hits(green), 2);
}

struct HonestCase
{
    const char* name;
    const char* mode;
    const char* expected; // part of the text the window shows
};

class ReportGatewayHonest : public ReportGateway, public ::testing::WithParamInterface<HonestCase>
{
};

// Without a Census key, a failed source and out of season: the honest page, never made up.
TEST_P(ReportGatewayHonest, ShowTheHonestPage)
{
    const HonestCase& c = GetParam();
    if (std::string_view(c.name).starts_with("NoKey"))
        setKey({});
    if (std::string_view(c.name).starts_with("Failed"))
        noaa.setFailing(500);
    const std::string text = shown(c.mode);
    EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    EXPECT_EQ(text.find(kKey), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    LiveReportsRoad, ReportGatewayHonest,
    ::testing::Values(HonestCase{"NoKeyIncome", "si", "CIRROLUX_CENSUS_KEY"},
                      HonestCase{"NoKeyState", "s1", "--census-key"},
                      HonestCase{"FailedEarthquakes", "eb", "could not be fetched"},
                      HonestCase{"FailedCensus", "s1", "HTTP status 500"},
                      HonestCase{"FailedPublic", "p", "not currently available"},
                      HonestCase{"FailedFire", "usfi", "could not be fetched"},
                      HonestCase{"OutOfSeasonCrop", "cw", "April to November"},
                      HonestCase{"FailedCountry", "ci", "could not be fetched"}),
    [](const auto& info) { return std::string(info.param.name); });

// The program's report addresses, each to its mode and subject; every other address is left to
// the gateway's other answers.
TEST(ReportRequests, ProgramAddressesMapToTheirReports)
{
    struct Row
    {
        std::string address;
        const char* mode; // "" : not a report
        const char* subject;
    };
    const std::vector<Row> rows{
        {programAddress("p"), "p", "MA"},
        {programAddress("h"), "h", "MA"},
        {programAddress("f"), "", ""},
        {programAddress("ap"), "ap", ""},
        {programAddress("cw", "IL"), "cw", "IL"},
        {programAddress("s1"), "s1", "MA"},
        {programAddress("s2"), "s2", "02134"},
        {programAddress("si"), "si", ""},
        {programAddress("ss"), "ss", ""},
        {programAddress("eb"), "eb", ""},
        {programAddress("usfi"), "usfi", ""},
        {"http://iwin.nws.noaa.gov/iwin/XX/public.html", "", ""},
        {"http://www.nass.usda.gov/weather/cpcurr/zz-crop-weather", "", ""},
        {WebPageRetrieval::FlagUrl("gm"), "", ""},
        // Addresses a hostile page or a typo could send: no report, nothing read out of bounds.
        {"http://iwin.nws.noaa.gov/iwin/M", "", ""},
        {"http://iwin.nws.noaa.gov/iwin/MA/public.htmlx", "", ""},
        {"http://iwin.nws.noaa.gov/iwin/MAA/public.html", "", ""},
        {"http://venus.census.gov/cdrom/lookup/DB=C90STF3C1/SEL=", "s1", ""},
        {"http://venus.census.gov/cdrom/lookup/DB=C90STF3C1/SEL=9", "s1", ""},
        {"http://venus.census.gov/cdrom/lookup/DB=C90STF3B/SEL=0213/T=P1", "s2", ""},
        {"http://venus.census.gov/cdrom/lookup/DB=C90STF3B/SEL=02134x", "s2", ""},
        {"http://www.odci.gov/cia/publications/factbook/../gm.html", "", ""},
        {"http://www.odci.gov/cia/publications/factbook/GM.html", "", ""},
        {"http://www.odci.gov/cia/publications/factbook/geos/ke.html", "", ""},
        {"http://www.nass.usda.gov/weather/cpcurr/-crop-weather", "", ""},
        {WebPageRetrieval::CountryIndexUrl(), "ci", ""},
        {programAddress("ci"), "ci", "gm"},
    };
    for (const Row& row : rows) {
        const QUrl url(QString::fromStdString(row.address));
        const std::string path = url.path(QUrl::FullyEncoded).toStdString() +
                                 (url.hasQuery() ? "?" + url.query().toStdString() : "");
        const auto request = gateway::ReportRequestOf(url.host().toStdString(), path);
        EXPECT_EQ(request ? request->mode : "", row.mode) << row.address;
        EXPECT_EQ(request ? request->subject : "", row.subject) << row.address;
    }
}

TEST(ReportRequests, TestUpstreamTakesHostPathAndQuery)
{
    gateway::ReportSettings settings;
    settings.upstream = QStringLiteral("http://127.0.0.1:9/live/");
    EXPECT_EQ(settings
                  .fetched(QStringLiteral("https://api.census.gov/data/2024/acs/acs5?"
                                          "get=NAME&for=zip%20code%20tabulation%20area:02134"))
                  .toString(QUrl::FullyEncoded),
              QStringLiteral("http://127.0.0.1:9/live/api.census.gov/data/2024/acs/acs5?"
                             "get=NAME&for=zip%20code%20tabulation%20area:02134"));
    EXPECT_EQ(settings.bases(), QStringList{QStringLiteral("http://127.0.0.1:9/live/")});
    EXPECT_EQ(gateway::OfficesOfState("MA").size(), 2u);
    EXPECT_TRUE(gateway::OfficesOfState("XX").empty());
}

} // namespace
