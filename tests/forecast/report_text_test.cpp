// The text reductions of the forecast window on the cases that decide their rules.
#include "CaseName.h"
#include "forecast/ReportText.h"

#include <gtest/gtest.h>

#include <string>

using namespace cirrolux;

namespace {

struct TextCase
{
    const char* name;
    std::string input;
    std::string expected;
};

std::string caseName(const ::testing::TestParamInfo<TextCase>& info)
{
    return test::CaseName(info.param.name);
}

class StripReportHtmlCase : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(StripReportHtmlCase, GivesTheExpectedText)
{
    EXPECT_EQ(StripReportHtml(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StripReportHtmlCase,
    ::testing::Values(
        TextCase{"tag dropped with its brackets", "Highs<b>near</b> 40", "Highsnear 40"},
        TextCase{"link tag dropped, its text kept", "see <a href=\"x.html\">here</a>.",
                 "see here."},
        TextCase{"ampersand and 176 gives ampersand and degree", "40&#176;F",
                 "40&\xB0"
                 "F"},
        TextCase{"ampersand and nbsp gives ampersand and space", "a&nbsp;b", "a& b"},
        TextCase{"bare nbsp is a space", "Xnbsp;Y", "X Y"},
        TextCase{"line break bar line break", "one\r\n|\r\ntwo", "one |  two"},
        TextCase{"bar between LF only stays", "one\n|\ntwo", "one\n|\ntwo"},
        TextCase{"trims spaces and control bytes", " \t\r\n\x01Text\x7F\r\n ", "Text\x7F"},
        TextCase{"Latin-1 no-break space is not trimmed", "\xA0x\xA0", "\xA0x\xA0"},
        TextCase{"unclosed tag ends the text", "kept <a href=\"never closed", "kept"},
        TextCase{"greater-than without tag stays", "5 > 4", "5 > 4"},
        TextCase{"short mark at the end is copied", "ends #176", "ends #176"},
        TextCase{"marks next to each other", "&#176;&#176;nbsp;x", "&\xB0&\xB0 x"},
        TextCase{"empty page", "", ""}, TextCase{"only a tag", "<html>", ""}),
    caseName);

class ParseTextCase : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(ParseTextCase, GivesTheExpectedText)
{
    EXPECT_EQ(parse_text(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ParseTextCase,
    ::testing::Values(TextCase{"no link copies all and LF becomes CR LF", "a\nb\n", "a\r\nb\r\n"},
                      TextCase{"CR LF becomes CR CR LF", "a\r\nb", "a\r\r\nb"},
                      TextCase{"cut before the first link",
                               "Rank\nSource: http://www.census.gov/ x", "Rank\r\nSource: "},
                      TextCase{"link at the start leaves nothing", "http://x\ny", ""},
                      TextCase{"https is not the cut", "https://x", "https://x"},
                      TextCase{"empty", "", ""}),
    caseName);

class EarthquakeCutCase : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(EarthquakeCutCase, GivesTheExpectedText)
{
    EXPECT_EQ(EarthquakeCut(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, EarthquakeCutCase,
    ::testing::Values(
        TextCase{"all three marks",
                 "Menu\r\nCurrent Time: 12:00\r\nList\r\nClick on an earthquake below "
                 "map\r\nExplanation of earthquake parameters\r\nEnd",
                 "Current Time: 12:00\r\nList\r\nExplanation of earthquake parameters\r\nEnd"},
        TextCase{"without Current Time the text stays", "x Click on an earthquake below y",
                 "x Click on an earthquake below y"},
        TextCase{"Current Time as first character leaves the text",
                 "Current Time: 1 x Click on an earthquake below",
                 "Current Time: 1 x Click on an earthquake below"},
        TextCase{"without explanation only the middle",
                 "x Current Time: 1 Click on an earthquake below", "Current Time: 1 "},
        TextCase{"click before the time keeps only the explanation",
                 "x Click on an earthquake below Current Time: 1 Explanation of earthquake z",
                 "Explanation of earthquake z"}),
    caseName);

TEST(ParseWarningHtml, PageThenFooter)
{
    EXPECT_EQ(parse_warning_html("NO WARNINGS", "MA"), "NO WARNINGS\r\n\r\n--- End of File --");
    EXPECT_EQ(parse_warning_html("", "MA"), "\r\n\r\n--- End of File --");
}

TEST(ParseWarningHtml, NotAvailableNoticeNamesTheState)
{
    EXPECT_EQ(parse_warning_html("Hydro data is not currently available here", "AZ"),
              " Sorry, this AZ information is not currently available.\r\n--- End of File --");
}

struct CountyCase
{
    const char* name;
    std::string page;
    std::string county;
    CountyKind kind;
    bool countyUsed;
    bool found;
    std::string section;
    std::string title;
};

class CountySectionCase : public ::testing::TestWithParam<CountyCase>
{
};

const std::string ZonePage = "ZONE FORECAST\nMAZ014-\nSUFFOLK-\n.TODAY...SUNNY.\n$$\nMAZ015-\n"
                             "NORFOLK-\n.TODAY...CLOUDY.\n$$\nMAZ016-\nPLYMOUTH-\n.TODAY...RAIN.";

TEST_P(CountySectionCase, CutsAndTitles)
{
    const CountyCase& c = GetParam();
    const CountySection cut = ExtractCountySection(c.page, c.county, c.kind, "MA");
    EXPECT_EQ(cut.countyUsed, c.countyUsed);
    EXPECT_EQ(cut.found, c.found);
    EXPECT_EQ(cut.section, c.section);
    EXPECT_EQ(cut.title, c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CountySectionCase,
    ::testing::Values(
        CountyCase{"lower case county found in upper case page", ZonePage, "norfolk",
                   CountyKind::Forecast, true, true, "\nNORFOLK-\n.TODAY...CLOUDY.\n",
                   "Cirrolux - Text Forecast for NORFOLK county, MA"},
        CountyCase{"section starts one character before the name", "xSUFFOLK-A$$B", "Suffolk",
                   CountyKind::Nowcast, true, true, "xSUFFOLK-A",
                   "Cirrolux - Text Nowcast for SUFFOLK county, MA"},
        CountyCase{"name at the very start", "SUFFOLK-A$$B", "SUFFOLK", CountyKind::Forecast, true,
                   true, "SUFFOLK-A", "Cirrolux - Text Forecast for SUFFOLK county, MA"},
        CountyCase{"no dollars after it runs to the end", ZonePage, "plymouth",
                   CountyKind::Forecast, true, true, "\nPLYMOUTH-\n.TODAY...RAIN.",
                   "Cirrolux - Text Forecast for PLYMOUTH county, MA"},
        CountyCase{"one letter county is ignored", ZonePage, "s", CountyKind::Forecast, false,
                   false, ZonePage, "Cirrolux - Text Forecast for MA"},
        CountyCase{"no county shows the whole page", ZonePage, "", CountyKind::Nowcast, false,
                   false, ZonePage, "Cirrolux - Text Nowcast for MA"},
        CountyCase{"county not on the page", ZonePage, "Essex", CountyKind::Forecast, true, false,
                   ZonePage, "Cirrolux - Text Forecast for MA"},
        CountyCase{"plain substring match", ZonePage, "folk", CountyKind::Forecast, true, true,
                   "FFOLK-\n.TODAY...SUNNY.\n", "Cirrolux - Text Forecast for FOLK county, MA"},
        CountyCase{"Latin-1 letters are not upper-cased", "CA\xD1ON-x$$", "ca\xF1on",
                   CountyKind::Forecast, true, false, "CA\xD1ON-x$$",
                   "Cirrolux - Text Forecast for MA"}),
    [](const ::testing::TestParamInfo<CountyCase>& info) {
        return test::CaseName(info.param.name);
    });

} // namespace
