// Pages that are cut short, padded, binary or huge: the parser must give its messages or "n/a"
// readings, take every reading from inside the page, and never read past its end.
#include "ConditionsPage.h"
#include "ParserHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <regex>

namespace cirrolux::test {
namespace {

using test::PrintTo;
using ::testing::AnyOfArray;
using Reading = ConditionsView::Reading;

const std::vector<std::vector<std::string>> AllowedMessages = {
    {}, {MessageP1, MessageP2}, {MessageP2}, {MessageP3}, {MessageP3a}};

std::string bostonPage()
{
    return testData("conditions/boston-summer.html");
}

// The fields the parse itself cuts from the cleaned page (the completions come later).
std::vector<std::string> cutReadings(const ConditionsRecord& r)
{
    return {r.temperature, r.heatIndex, r.humidity, r.wind,     r.pressure, r.sky,
            r.visibility,  r.sunrise,   r.sunset,   r.moonRise, r.moonSet};
}

bool isWholeDegrees(const std::string& text)
{
    static const std::regex pattern("-?[0-9]+\xB0 F");
    return std::regex_match(text, pattern);
}

// Everything one parse of `page` left behind must come from `page` itself.
void expectReadingsFromPage(ParserHarness& h, const std::string& page, const std::string& clean,
                            const std::string& context)
{
    SCOPED_TRACE(context);
    EXPECT_THAT(h.ui.messages(), AnyOfArray(AllowedMessages));
    EXPECT_EQ(h.view.statusTexts(),
              (std::vector<std::string>{"...parsing data...", "Thank you for using Cirrolux..."}));
    const ConditionsRecord& r = h.parser.record();
    EXPECT_NE(page.find(r.title), std::string::npos);
    for (const std::string& reading : cutReadings(r)) {
        if (reading != "n/a") {
            EXPECT_NE(clean.find(reading), std::string::npos) << visible(reading);
        }
    }
    EXPECT_GE(r.skyIcon, 0);
    EXPECT_LE(r.skyIcon, 12);
}

// --- Every length of a real page --------------------------------------------------------------

TEST(TruncatedPage, EveryLengthGivesMessagesOrReadingsFromThePage)
{
    const std::string page = bostonPage();
    ASSERT_FALSE(page.empty());
    const std::size_t updated = page.find("Updated:");
    const std::string clean = CleanPageText(page.substr(updated - 1));
    const std::size_t tableEnd = page.find("</table>", page.find("Moon&nbsp;Phase"));
    const std::size_t complete = page.find("Moon&nbsp;Phase") + 15;

    ParserHarness h;
    h.parser.ParseConditionsPage(page);
    const std::string full = describe(h.parser.record());

    int parses = 0;
    for (std::size_t length = 0; length <= page.size();
         length += (length < tableEnd + 64 ? 1 : 61)) {
        h.ui.clear();
        h.view.clearLog();
        const std::string prefix = page.substr(0, length);
        h.parser.ParseConditionsPage(prefix);
        ++parses;
        expectReadingsFromPage(h, prefix, clean, "length " + std::to_string(length));
        if (length >= complete) {
            ASSERT_EQ(describe(h.parser.record()), full) << "length " << length;
        }

        h.parser.CompleteHeatIndex();
        h.parser.CompleteWindChill();
        const ConditionsRecord& r = h.parser.record();
        EXPECT_TRUE(r.heatIndex == "n/a" || isWholeDegrees(r.heatIndex) ||
                    clean.find(r.heatIndex) != std::string::npos)
            << length << ": " << visible(r.heatIndex);
        EXPECT_TRUE(r.windChill == "n/a" || r.windChill == r.temperature ||
                    isWholeDegrees(r.windChill))
            << length << ": " << visible(r.windChill);
        if (HasFailure())
            break;
    }
    EXPECT_GT(parses, 1000);
}

// --- A page that ends right after a label -----------------------------------------------------

struct LabelEndCase
{
    std::string name;
    std::string mark; // raw page text the page is cut right after (first one after "Updated:")
    Reading which;
    std::string expected;
    std::vector<std::string> messages;
};

class PageEndingAfterLabel : public ::testing::TestWithParam<LabelEndCase>
{
};

TEST_P(PageEndingAfterLabel, ReadingIsEmptyOrNotAvailable)
{
    const LabelEndCase& c = GetParam();
    const std::string page = bostonPage();
    const std::size_t at = page.find(c.mark, page.find("Updated:") - 1);
    ASSERT_NE(at, std::string::npos);
    ParserHarness h;

    h.parser.ParseConditionsPage(page.substr(0, at + c.mark.size()));

    EXPECT_EQ(visible(h.view.reading(c.which)), visible(c.expected));
    EXPECT_THAT(h.ui.messages(), ::testing::ElementsAreArray(c.messages));
    h.parser.CompleteHeatIndex();
    h.parser.CompleteWindChill();
    EXPECT_EQ(h.view.statusText(), "Thank you for using Cirrolux...");
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, PageEndingAfterLabel,
    ::testing::Values(
        LabelEndCase{"Updated", "Updated:", Reading::Conditions, "Conditions at ", {MessageP3}},
        LabelEndCase{"Temperature", "Temperature", Reading::Temperature, "n/a", {MessageP3a}},
        LabelEndCase{"HeatIndex", "Heat<br>Index", Reading::HeatIndex, "", {}},
        LabelEndCase{"Humidity", "Humidity", Reading::Humidity, "", {}},
        LabelEndCase{"Wind", "Wind", Reading::Wind, "", {}},
        LabelEndCase{"Pressure", "Pressure", Reading::Pressure, "", {}},
        LabelEndCase{"Conditions", "Conditions", Reading::Sky, "", {}},
        LabelEndCase{"Visibility", "Visibility", Reading::Visibility, "", {}},
        LabelEndCase{"Sunrise", "Sunrise", Reading::Sunrise, "", {}},
        LabelEndCase{"Sunset", "Sunset", Reading::Sunset, "", {}},
        LabelEndCase{"MoonRise", "Moon&nbsp;Rise", Reading::MoonRise, "", {}},
        LabelEndCase{"MoonSet", "Moon&nbsp;Set", Reading::MoonSet, "", {}}),
    [](const ::testing::TestParamInfo<LabelEndCase>& info) { return info.param.name; });

TEST(PageEndingAfterLabel, UndergroundAtTheVeryEnd)
{
    ParserHarness h;
    h.parseAll("<title>Weather Underground:");
    EXPECT_THAT(h.ui.messages(), ::testing::ElementsAre(MessageP2));
    EXPECT_EQ(h.state.locationTitle, "");
}

// --- Empty, NUL and binary pages --------------------------------------------------------------

TEST(OddPage, EmptyPageEmptiesTheLabelsAndCompletesToNothing)
{
    ParserHarness h;
    const ConditionsRecord& r = h.parseAll("");
    EXPECT_THAT(h.ui.messages(), ::testing::ElementsAre(MessageP1, MessageP2));
    for (const std::string& reading : {r.temperature, r.humidity, r.wind, r.pressure, r.sky,
                                       r.visibility, r.sunrise, r.sunset, r.moonRise, r.moonSet})
        EXPECT_EQ(reading, "");
    EXPECT_EQ(r.heatIndex, "n/a");
    EXPECT_EQ(r.windChill, "");
    EXPECT_EQ(r.title, "");
}

TEST(OddPage, NulBytesCountAsSpaces)
{
    std::string page = bostonPage();
    ParserHarness plain;
    plain.parseAll(page);
    std::replace(page.begin(), page.end(), '\n', '\0');
    ParserHarness withNuls;

    withNuls.parseAll(page);

    EXPECT_EQ(describe(withNuls.parser.record()), describe(plain.parser.record()));
    EXPECT_TRUE(withNuls.ui.events().empty());
}

TEST(OddPage, NulInsideEveryLabelGivesP3)
{
    std::string page = bostonPage();
    for (const std::string label : {"Temperature", "Humidity", "Pressure", "Visibility"}) {
        for (std::size_t at = page.find(label); at != std::string::npos;
             at = page.find(label, at + 1))
            page[at + 2] = '\0';
    }
    ParserHarness h;

    const ConditionsRecord& r = h.parseAll(page);

    EXPECT_THAT(h.ui.messages(), ::testing::ElementsAre(MessageP3));
    EXPECT_EQ(r.temperature, "");
    EXPECT_EQ(r.updated, "Conditions at 3:51 PM EDT");
}

TEST(OddPage, EveryByteValue)
{
    std::string page = "<title>Weather Underground: A Weather Forecast</title>Conditions at "
                       "<b>Updated:</b> 1:00 PM on Temperature ";
    for (int round = 0; round < 3; ++round) {
        for (int byte = 0; byte < 256; ++byte)
            page += static_cast<char>(byte);
    }
    ParserHarness h;
    const ConditionsRecord& r = h.parseAll(page);
    EXPECT_THAT(h.ui.messages(), AnyOfArray(AllowedMessages));
    EXPECT_EQ(r.title, "A");
}

TEST(OddPage, RandomBinaryPagesWithLabelWords)
{
    const std::vector<std::string> words = {"Underground:",
                                            "Weather",
                                            "Forecast</title",
                                            "Conditions at",
                                            "Updated:",
                                            " on",
                                            "Temperature",
                                            "HeatIndex",
                                            "Heat<br>Index",
                                            "Humidity",
                                            "Windchill",
                                            "Wind",
                                            " mph",
                                            "Pressure",
                                            "Conditions",
                                            "Visibility",
                                            " Up",
                                            "Add",
                                            "Sunrise",
                                            "Sunset",
                                            "Moon Rise",
                                            "Moon Set",
                                            "Moon Phase",
                                            "&#176;",
                                            "&nbsp;",
                                            "#",
                                            "&",
                                            "<",
                                            ">",
                                            "F",
                                            "C",
                                            "\xB0",
                                            "-",
                                            "7",
                                            "23",
                                            std::string(1, '\0'),
                                            "\r\n",
                                            "_"};
    std::mt19937 random(20011218);
    ParserHarness h;
    for (int i = 0; i < 400; ++i) {
        std::string page;
        const int pieces = static_cast<int>(random() % 300);
        for (int p = 0; p < pieces; ++p) {
            if (random() % 2)
                page += words[random() % words.size()];
            else
                page += static_cast<char>(random() % 256);
        }
        h.ui.clear();
        h.view.clearLog();
        h.parseAll(page);
        EXPECT_THAT(h.ui.messages(), AnyOfArray(AllowedMessages)) << "page " << i;
        EXPECT_EQ(h.view.statusTexts().back(), "Thank you for using Cirrolux...");
    }
    EXPECT_EQ(h.presetCalls, 400);
}

// --- Ten-megabyte pages -----------------------------------------------------------------------

std::string repeatedTo(const std::string& piece, std::size_t size)
{
    std::string text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    return text;
}

constexpr std::size_t TenMegabytes = 10 * 1024 * 1024;

// Markup in the page's own style that holds none of the label words.
const std::string StationRow =
    "<tr><td><a href=\"/cgi-bin/findweather/getForecast?query=Quincy\">Quincy</a></td>"
    "<td>88&#176;F</td><td>61%</td><td>SW 12 mph</td><td>3:45 PM</td></tr>\n";

struct HugeCase
{
    std::string name;
    std::function<std::string()> page; // built when the case runs, not when it is listed
    std::vector<std::string> messages;
    std::string expectedTemperature;
};

class HugePage : public ::testing::TestWithParam<HugeCase>
{
};

TEST_P(HugePage, ParsesWithoutHarm)
{
    const HugeCase& c = GetParam();
    const std::string page = c.page();
    ASSERT_GE(page.size(), TenMegabytes);
    ParserHarness h;

    const ConditionsRecord& r = h.parseAll(page);

    EXPECT_THAT(h.ui.messages(), ::testing::ElementsAreArray(c.messages));
    EXPECT_EQ(visible(r.temperature), visible(c.expectedTemperature));
    EXPECT_EQ(h.presetCalls, 1);
}

const std::string Header = "<title>Weather Underground: Boston Weather Forecast</title>"
                           "Conditions at <b>Updated:</b> 3:51 PM EDT on July 18 ";

// The real page with `padding` inserted before its conditions table or before </body>.
std::string paddedPage(const std::string& padding, bool beforeTable)
{
    const std::string page = bostonPage();
    const std::size_t at =
        beforeTable ? page.find("<table", page.find("Updated:")) : page.find("</body>");
    return page.substr(0, at) + padding + page.substr(at);
}

std::vector<HugeCase> hugeCases()
{
    return {
        {"PaddedAfterTheTable",
         [] { return paddedPage(repeatedTo(StationRow, TenMegabytes), false); },
         {},
         "90 \xB0"
         "F "},
        {"PaddedBeforeTheTable",
         [] { return paddedPage(repeatedTo(StationRow, TenMegabytes), true); },
         {},
         "90 \xB0"
         "F "},
        {"LongTagBeforeTheTable",
         [] { return paddedPage("<" + repeatedTo("no closing here ", TenMegabytes), true); },
         {},
         "90 \xB0"
         "F "},
        {"UnclosedTagSwallowsTheTable",
         [] { return Header + "<" + repeatedTo("Temperature 72 F ", TenMegabytes); },
         {MessageP3},
         ""},
        {"Hashes", [] { return Header + repeatedTo("#", TenMegabytes); }, {MessageP3}, ""},
        {"LabelWords",
         [] { return Header + repeatedTo("Temperature Wind HeatIndex ", TenMegabytes); },
         {MessageP3a},
         "n/a"},
        {"OneLongValue",
         [] { return Header + "Temperature " + repeatedTo("9", TenMegabytes) + " F"; },
         {MessageP3a},
         "n/a"},
        {"NoUnderground",
         [] { return repeatedTo(StationRow, TenMegabytes); },
         {MessageP1, MessageP2},
         ""},
    };
}

INSTANTIATE_TEST_SUITE_P(Conditions, HugePage, ::testing::ValuesIn(hugeCases()),
                         [](const ::testing::TestParamInfo<HugeCase>& info) {
                             return info.param.name;
                         });

TEST(HugePage, PaddingChangesNoReading)
{
    ParserHarness plain;
    plain.parseAll(bostonPage());
    ParserHarness after;
    after.parseAll(paddedPage(repeatedTo(StationRow, TenMegabytes), false));
    ParserHarness before;
    before.parseAll(paddedPage(repeatedTo(StationRow, TenMegabytes), true));

    EXPECT_EQ(describe(after.parser.record()), describe(plain.parser.record()));
    EXPECT_EQ(describe(before.parser.record()), describe(plain.parser.record()));
}

} // namespace
} // namespace cirrolux::test
