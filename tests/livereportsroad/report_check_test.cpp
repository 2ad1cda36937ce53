// `cirrolux-gateway --check` against a fake upstream on 127.0.0.1: a row for each of the 13
// modes, the country index and the fire report, and the summary line; without a Census key the
// census rows say so, and the key given never appears in the output.
#include "FakeNoaa.h"
#include "ProgramExtraction.h"
#include "SmallPdf.h"
#include "WaitFor.h"

#include "forecast/ForecastModes.h"
#include "gateway/ReportCheck.h"
#include "livereports/CensusReport.h"
#include "livereports/CropWeatherReport.h"
#include "webwindow/WebPageRetrieval.h"

#include <QDate>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace cirrolux;
using cirrolux::testing::ReadTestFile;

namespace {

constexpr const char* kKey = "k3y5ecret0123456789";

class ReportCheckRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFile::exists(QStringLiteral("/usr/share/weather-util/stations.gz")))
            GTEST_SKIP() << "weather-util-data is not installed";
        upstream.serveFolder(QStringLiteral(CIRROLUX_TEST_DATA "/gatewayserver"));
        ASSERT_TRUE(upstream.listen());
        const auto serve = [this](const std::string& path, const std::string& body) {
            upstream.setFile(QByteArray::fromStdString(path), QByteArray::fromStdString(body));
        };
        serve("/live/earthquake.usgs.gov/earthquakes/feed/v1.0/summary/2.5_week.csv",
              ReadTestFile("usgs_2.5_week.csv"));
        serve("/live/www3.epa.gov/airquality/greenbook/ancl.html",
              ReadTestFile("greenbook_ancl.html"));
        serve("/live/forecast.weather.gov/product.php?site=NWS&issuedby=BOX&product=PNS&format=txt"
              "&version=1&glossary=0",
              ReadTestFile("pns_box.txt"));
        serve("/live/forecast.weather.gov/product.php?site=NWS&issuedby=BOX&product=RVS&format=txt"
              "&version=1&glossary=0",
              ReadTestFile("rvs_box.txt"));
        serve("/live/usda.library.cornell.edu/api/v1/release/findByIdentifier/CropProg?latest=true",
              ReadTestFile("esmis_cropprog_latest.json"));
        serve("/live/downloads.usda.library.cornell.edu/usda-esmis/files/8336h188j/cropprog0526/"
              "prog1926.txt",
              ReadTestFile("cropprog_2026-05-04.txt"));
        serve("/live/raw.githubusercontent.com/factbook/factbook.json/master/europe/gm.json",
              ReadTestFile("factbook_gm.json"));
        serve("/live/www.nifc.gov/nicc-files/sitreprt.pdf",
              cirrolux::testing::SmallPdf({{"Incident Management Situation Report"}}));
        // Whatever year the check runs in, the newest editions it asks for are there.
        const std::string census = "/live/api.census.gov/data/";
        const int year = QDate::currentDate().year();
        for (int y = year - 2; y < year; ++y) {
            const std::string acs = census + std::to_string(y) + "/acs/acs5?get=";
            const std::string key = std::string("&key=") + kKey;
            serve(acs + "NAME,B19013_001E&for=state:*" + key,
                  ReadTestFile("census_acs5_income_states.json"));
            serve(acs + livereports::CensusDetailGetList() + "&for=state:25" + key,
                  ReadTestFile("census_acs5_state25.json"));
            serve(acs + livereports::CensusDetailGetList() +
                      "&for=zip%20code%20tabulation%20area:02134" + key,
                  ReadTestFile("census_acs5_zcta02134.json"));
            serve("/live/data.bls.gov/cew/data/api/" + std::to_string(y) + "/a/industry/10.csv",
                  ReadTestFile("qcew_2025_a_industry_10.csv"));
        }
    }

    // The check's output and exit status.
    std::pair<std::string, int> check(const QString& key)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("CIRROLUX_CENSUS_KEY"));
        environment.remove(QStringLiteral("CIRROLUX_GATEWAY_REPORTS"));
        if (!key.isEmpty())
            environment.insert(QStringLiteral("CIRROLUX_CENSUS_KEY"), key);
        process.setProcessEnvironment(environment);
        const QString base = QStringLiteral("http://127.0.0.1:%1").arg(upstream.port());
        process.start(QStringLiteral(CIRROLUX_GATEWAY_EXE),
                      {QStringLiteral("--check"), QStringLiteral("--check-only"), QStringLiteral("reports"),
                       QStringLiteral("--report-upstream"),
                       base + QStringLiteral("/live"), QStringLiteral("--observations"),
                       base + QStringLiteral("/data/observations/metar/stations/"),
                       QStringLiteral("--products"), base + QStringLiteral("/data/"),
                       QStringLiteral("--timeout"), QStringLiteral("3000")});
        EXPECT_TRUE(process.waitForStarted(5000));
        // The fake upstream answers in this thread: the loop runs while the check does.
        EXPECT_TRUE(test::WaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000));
        const QByteArray out = process.readAllStandardOutput() + process.readAllStandardError();
        return {out.toStdString(), process.exitCode()};
    }

    fakenoaa::FakeNoaa upstream;
};

TEST_F(ReportCheckRun, EveryRowAndTheSummaryAgainstTheFakeUpstream)
{
    const auto [output, status] = check(QString::fromLatin1(kKey));
    const bool cropInSeason = livereports::CropProgressInSeason(QDate::currentDate());
    for (const char* row : {"eb    Earthquake bulletin                   live\n",
                            "ss    State salary rankings                 live\n",
                            "si    Median household income by state      live\n",
                            "s1    Census detail by state                live\n",
                            "s2    Census detail by ZIP code             live\n",
                            "ap    Air pollution by state                live\n",
                            "p     Public information                    live\n",
                            "h     Hydrological data                     live\n",
                            "f     Zone forecast                         live\n",
                            "ci    Country pages (Germany)               live\n",
                            "usfi  Fire report                           live\n"})
        EXPECT_NE(output.find(row), std::string::npos) << row << output;
    EXPECT_NE(output.find(cropInSeason ? "cw    Crop weather by state                 live\n"
                                       : "cw    Crop weather by state                 out of "
                                         "season\n"),
              std::string::npos)
        << output;
    const std::string summary = std::string(cropInSeason ? "13" : "12") +
                                " of 13 modes live, country pages live, fire report live\n";
    EXPECT_TRUE(output.ends_with(summary)) << output;
    EXPECT_EQ(status, cropInSeason ? 0 : 1) << "crop weather is live only in season";
    EXPECT_EQ(output.find(kKey), std::string::npos);
}

TEST_F(ReportCheckRun, WithoutACensusKeyTheCensusRowsSaySo)
{
    const auto [output, status] = check({});
    for (const char* mode : {"si    ", "s1    ", "s2    "}) {
        const std::size_t row = output.find(std::string("\n") + mode);
        ASSERT_NE(row, std::string::npos) << output;
        EXPECT_EQ(output.substr(output.find("  no key", row) - 0, 8), "  no key") << output;
    }
    EXPECT_NE(output.find("modes live"), std::string::npos);
    EXPECT_EQ(status, 1);
}

// The check asks for the reports at the program's own addresses.
TEST(ReportCheckTargets, AreTheProgramsAddresses)
{
    const ReportInputs inputs{"Boston", "MA", "", "25,Massachusetts", "02134"};
    const std::vector<gateway::ReportCheckTarget> targets = gateway::ReportCheckTargets();
    ASSERT_EQ(targets.size(), 15u);
    for (const gateway::ReportCheckTarget& target : targets) {
        if (target.mode == "ci")
            EXPECT_EQ(target.address, WebPageRetrieval::CountryPageUrl("gm"));
        else if (target.mode == "usfi")
            EXPECT_EQ(target.address, WebPageRetrieval::FireReportUrl());
        else
            EXPECT_EQ(target.address, ReportAddress(*FindForecastMode(target.mode), inputs))
                << target.mode;
    }
}

} // namespace
