// Report pages in tests/data/forecast reduced as the window reduces them, compared with their
// expected text (<page>.<reduction>.ref, the exact bytes the window shows).
#include "CaseName.h"
#include "forecast/ReportText.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace cirrolux;

namespace {

std::string readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(cannot read " + path.toStdString() + ")";
    return file.readAll().toStdString();
}

struct FixtureCase
{
    const char* page;
    const char* reduction;
    std::function<std::string(const std::string&)> reduce;
};

class ReportFixture : public ::testing::TestWithParam<FixtureCase>
{
};

TEST_P(ReportFixture, MatchesItsExpectedText)
{
    const FixtureCase& c = GetParam();
    const QString dir = QStringLiteral(CIRROLUX_TEST_DATA "/forecast/");
    const std::string page = readFile(dir + QString::fromLatin1(c.page) + QStringLiteral(".html"));
    const std::string shown = c.reduce(page);
    const QString refPath = dir + QString::fromLatin1(c.page) + QLatin1Char('.') +
                            QString::fromLatin1(c.reduction) + QStringLiteral(".ref");
    if (qEnvironmentVariableIsSet("CIRROLUX_WRITE_REFS")) {
        QFile out(refPath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(shown.data(), qint64(shown.size()));
    }
    EXPECT_EQ(shown, readFile(refPath));
}

std::string tableText(const std::string& page)
{
    return parse_text(StripReportHtml(page));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ReportFixture,
    ::testing::Values(FixtureCase{"zone-ma", "suffolk",
                                  [](const std::string& page) {
                                      return ExtractCountySection(StripReportHtml(page), "Suffolk",
                                                                  CountyKind::Forecast, "MA")
                                          .section;
                                  }},
                      FixtureCase{"zone-ma", "warning",
                                  [](const std::string& page) {
                                      return parse_warning_html(StripReportHtml(page), "MA");
                                  }},
                      FixtureCase{"bulletin", "table", tableText},
                      FixtureCase{
                          "bulletin", "earthquake",
                          [](const std::string& page) { return EarthquakeCut(tableText(page)); }}),
    [](const ::testing::TestParamInfo<FixtureCase>& info) {
        return test::CaseName(std::string(info.param.page) + "_" + info.param.reduction);
    });

} // namespace
