// The text helpers the page builders share, on the awkward inputs live files bring.
#include "livereports/JsonTree.h"
#include "livereports/PageText.h"

#include <gtest/gtest.h>

namespace cirrolux::livereports {
namespace {

struct TextCase
{
    const char* name;
    std::string (*convert)(std::string_view);
    std::string input;
    std::string expected;
};

class PageTextCases : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(PageTextCases, ConvertsAsDocumented)
{
    EXPECT_EQ(GetParam().convert(GetParam().input), GetParam().expected);
}

std::string htmlToText(std::string_view s)
{
    return HtmlToText(s);
}
std::string utf8ToLatin1(std::string_view s)
{
    return Utf8ToLatin1(s);
}
std::string reportSafe(std::string_view s)
{
    return ReportSafe(s);
}
std::string withoutHttpPrefix(std::string_view s)
{
    return WithoutHttpPrefix(s);
}
std::string withCommas(std::string_view s)
{
    return WithCommas(s);
}
std::string csvJoined(std::string_view s)
{
    std::string out;
    for (const auto& record : CsvRecords(s)) {
        for (const auto& field : record)
            out += "[" + field + "]";
        out += "|";
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    LiveReports, PageTextCases,
    ::testing::Values(
        TextCase{"entities_decoded", htmlToText,
                 "51&#176;F&nbsp;and&amp;<b>more</b>&deg;&#x41;<br>x<td>y",
                 "51\xB0"
                 "F and&more\xB0"
                 "A x y"},
        TextCase{"unknown_entity_kept", htmlToText, "AT&T &bogus; x", "AT&T &bogus; x"},
        TextCase{"unclosed_tag_ends_text", htmlToText, "Ozone <td class=", "Ozone"},
        TextCase{"utf8_beyond_latin1", utf8ToLatin1,
                 "Valpara\xC3\xADso \xE2\x80\x93 \xF0\x9F\x8C\x8B", "Valpara\xEDso - ?"},
        TextCase{"broken_utf8", utf8ToLatin1, "a\xC3 b\xFF\xE2\x80", "a? b???"},
        TextCase{"report_safe", reportSafe, "18\xB0 <2 in>\r\n\x01x\ty", "18\xB0 2 in>\n x y"},
        TextCase{"http_prefix_joined_again", withoutHttpPrefix, "see hthttp://tp://www.x.gov/",
                 "see www.x.gov/"},
        TextCase{"commas", withCommas, "-1234567", "-1,234,567"},
        TextCase{"commas_not_a_number", withCommas, "12.5", "12.5"},
        TextCase{"csv_quotes", csvJoined, "\"a,b\",\"c\"\"d\",e\r\n\n1,,\"\"\n",
                 "[a,b][c\"d][e]|[1][][]|"}),
    [](const auto& info) { return std::string(info.param.name); });

struct JsonCase
{
    const char* name;
    std::string input;
    bool parses;
};

class JsonCases : public ::testing::TestWithParam<JsonCase>
{
};

TEST_P(JsonCases, ParsesOnlyJson)
{
    EXPECT_EQ(ParseJson(GetParam().input).has_value(), GetParam().parses);
}

INSTANTIATE_TEST_SUITE_P(
    LiveReports, JsonCases,
    ::testing::Values(
        JsonCase{"census_rows", "[[\"NAME\",\"state\"],[\"Ohio\",\"39\"]]", true},
        JsonCase{"escapes", "{\"a\":\"\\u00f6\\ud83c\\udf0b\\n\",\"b\":[1.5e3,true,null]}", true},
        JsonCase{"trailing_garbage", "[1] x", false},
        JsonCase{"lone_low_surrogate_pair", "\"\\ud83c\\u0041\"", false},
        JsonCase{"control_in_string", "\"a\nb\"", false},
        JsonCase{"too_deep", std::string(70, '[') + std::string(70, ']'), false},
        JsonCase{"unterminated", "{\"a\":", false}, JsonCase{"empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonTree, KeepsMemberOrderAndDecodesText)
{
    const auto doc = ParseJson("{\"z\":{\"text\":\"f\\u00f6hn \\\"wind\\\"\"},\"a\":[\"x\"]}");
    ASSERT_TRUE(doc.has_value());
    ASSERT_EQ(doc->members.size(), 2u);
    EXPECT_EQ(doc->members[0].name, "z");
    EXPECT_EQ(doc->members[1].name, "a");
    EXPECT_EQ(doc->member("z")->member("text")->text, "f\xC3\xB6hn \"wind\"");
}

} // namespace
} // namespace cirrolux::livereports
