// The country index scan: entries, where it stops, and codes that may not reach a file name.
#include "CaseName.h"
#include "webwindow/CountryIndex.h"

#include <gtest/gtest.h>

using namespace cirrolux;

namespace {

// The 98 characters the scan skips: never taken for a link, even when they hold one.
std::string lead()
{
    std::string text = "<html><head><title>Factbook</title></head><body><a href=\"xx.html\">X</a>";
    text.resize(98, ' ');
    return text;
}

// A link in the index's form: the code, then enough of the address that its `">` comes 30 or
// more characters after the link's start.
std::string link(const std::string& code, const std::string& name)
{
    return "<a href=\"" + code + ".html\" target=\"_top\">" + name + "</a>\n";
}

struct ScanCase
{
    std::string name;
    std::string page;
    std::vector<std::string> entries;
};

class CountryIndexScan : public ::testing::TestWithParam<ScanCase>
{
};

TEST_P(CountryIndexScan, GivesTheEntries)
{
    EXPECT_EQ(ParseCountryIndex(GetParam().page), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CountryIndexScan,
    ::testing::Values(
        ScanCase{"three_links",
                 lead() + "\n" + link("af", "Afghanistan") + link("al", "Albania") +
                     link("ag", "Algeria") + "</body></html>",
                 {"af,Afghanistan", "al,Albania", "ag,Algeria"}},
        ScanCase{"empty_page", "", {}},
        ScanCase{"page_shorter_than_the_lead", "<a href=\"af.html\" target=\"_top\">A</a>", {}},
        ScanCase{"link_only_in_the_lead", lead(), {}},
        // The scan starts at the 99th character; a link there is "at the first character".
        ScanCase{"first_link_at_the_first_character", lead() + link("af", "Afghanistan"), {}},
        ScanCase{"stops_when_no_further_link",
                 lead() + " " + link("af", "Afghanistan") + "tail",
                 {"af,Afghanistan"}},
        // The name search starts 30 characters into the link and may run into the next one.
        ScanCase{"name_search_runs_past_a_short_link",
                 lead() + " " + link("af", "Afghanistan") + "<a href=\"al.html' target='_top'>" +
                     "Albania</a>" + link("ag", "Algeria"),
                 {"af,Afghanistan", "al,", "ag,Algeria"}},
        ScanCase{"stops_when_no_quote_bracket_left",
                 lead() + " " + link("af", "Afghanistan") +
                     "<a href=\"al.html' target='_top'>Albania</a> end",
                 {"af,Afghanistan"}},
        ScanCase{"stops_when_no_closing_tag_left",
                 lead() + " " + link("af", "Afghanistan") + "<a href=\"al.html\" target=\"_top\">A",
                 {"af,Afghanistan"}},
        // The text after a link starts with the next one: that entry is the last.
        // The text left after a 30-character link starts with the next link: that entry is the
        // last, and the first takes its name from it.
        ScanCase{"link_right_after_the_cut_ends_after_it",
                 lead() + " " + "<a href=\"af.html\" target=\"_\">x" + link("al", "Albania") +
                     link("ag", "Algeria"),
                 {"af,Albania", "al,Albania"}},
        ScanCase{"closing_tag_before_quote_bracket_gives_empty_name",
                 lead() + " <a href=\"af.html\" target=\"_top\"</a> x\">" + link("al", "Albania"),
                 {"af,", "al,Albania"}},
        ScanCase{"link_cut_short_at_the_end", lead() + " <a href=\"a", {}},
        ScanCase{"latin1_name_kept",
                 lead() + " " + link("cd", "C\xF4te d'Ivoire"),
                 {"cd,C\xF4te d'Ivoire"}}),
    [](const auto& info) { return test::CaseName(info.param.name); });

// A code reaches file names ("af-t.gif") and addresses; anything but two letters or digits is
// left out, and the scan goes on with the next link.
struct CodeCase
{
    std::string label;
    std::string code;
    bool kept;
};

class CountryCodes : public ::testing::TestWithParam<CodeCase>
{
};

TEST_P(CountryCodes, OnlyTwoLettersOrDigitsAreKept)
{
    const std::string page =
        lead() + " " + link(GetParam().code, "Somewhere") + link("zi", "Zimbabwe");
    const std::vector<std::string> expected =
        GetParam().kept ? std::vector<std::string>{GetParam().code + ",Somewhere", "zi,Zimbabwe"}
                        : std::vector<std::string>{"zi,Zimbabwe"};
    EXPECT_EQ(ParseCountryIndex(page), expected);
    EXPECT_EQ(IsCountryCode(GetParam().code), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CountryCodes,
    ::testing::Values(CodeCase{"letters", "af", true}, CodeCase{"capitals", "US", true},
                      CodeCase{"letter_digit", "a1", true}, CodeCase{"parent_folder", "..", false},
                      CodeCase{"dot_slash", "./", false}, CodeCase{"slash", "a/", false},
                      CodeCase{"space", "a ", false}, CodeCase{"latin1_letter", "\xE9t", false},
                      CodeCase{"percent", "a%", false}, CodeCase{"backslash", "\\a", false}),
    [](const auto& info) { return info.param.label + (info.param.kept ? "_kept" : "_skipped"); });

TEST(CountryCodes, ShortAndLongTextsAreNoCodes)
{
    EXPECT_FALSE(IsCountryCode(""));
    EXPECT_FALSE(IsCountryCode("a"));
    EXPECT_FALSE(IsCountryCode("abc"));
}

} // namespace
