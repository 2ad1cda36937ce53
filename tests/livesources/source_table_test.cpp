// The source table reader: a well-formed table read into rows, and each malformed line refused
// with its line number and what is wrong.
#include "livesources/SourceTable.h"

#include <gtest/gtest.h>

#include <string>

using namespace cirrolux;

namespace {

const std::string Header = "request\tlive\tconversion\tmax_age\tcredit\tconfidence\treason\n";

TEST(SourceTable, ReadsRowsAndFindsThemByHostAndPath)
{
    const SourceTable table = SourceTable::parse(
        "# comment\n\n" + Header +
            "wxp.eas.purdue.edu/radar/rad_comp.gif\thttps://a.example/x.gif https://b.example/y.gif\t"
            "pass-through\t300\tNOAA\thigh\t-\r\n"
            "www.census.gov/cgi-bin/pcugifd.pl?1\thttps://c.example/us\tdrawn:popclock-us\t60\t"
            "Census\tmedium\tdrawn\n"
            "# a comment between rows\n"
            "www.thv11.com/weather/wxcam.jpg\t-\tnone\t-\t-\tnone\tterms forbid it\n"
            "snow.example/s.gif\thttps://d.example/{YYYYMM}/s_{YYYYMMDD}{HHMM}.jpg\tto-gif+caption"
            "\t21600\tNOHRSC\tlow\t-\n");
    ASSERT_EQ(table.rows().size(), 4u);
    EXPECT_TRUE(table.find("snow.example/s.gif")->caption);
    EXPECT_EQ(table.find("snow.example/s.gif")->conversion, SourceConversion::ToGif);

    const SourceRow* radar = table.findUrl("http://WXP.eas.purdue.edu/radar/rad_comp.gif");
    ASSERT_NE(radar, nullptr);
    EXPECT_EQ(radar->live, (std::vector<std::string>{"https://a.example/x.gif", "https://b.example/y.gif"}));
    EXPECT_EQ(radar->conversion, SourceConversion::PassThrough);
    EXPECT_EQ(radar->maxAgeSeconds, 300);
    EXPECT_EQ(radar->credit, "NOAA");
    EXPECT_EQ(radar->confidence, Confidence::High);
    EXPECT_EQ(radar->reason, "");
    EXPECT_EQ(radar->line, 4);
    EXPECT_FALSE(radar->caption);

    const SourceRow* census = table.find("www.census.gov/cgi-bin/pcugifd.pl?1");
    ASSERT_NE(census, nullptr);
    EXPECT_EQ(census->conversion, SourceConversion::Drawn);
    EXPECT_EQ(census->drawnKind, "popclock-us");

    const SourceRow* camera = table.find("www.thv11.com/weather/wxcam.jpg");
    ASSERT_NE(camera, nullptr);
    EXPECT_TRUE(camera->live.empty());
    EXPECT_EQ(camera->reason, "terms forbid it");

    EXPECT_EQ(table.find("wxp.eas.purdue.edu/radar/RAD_COMP.gif"), nullptr); // paths keep case
    const SourceTable::Counts counts = table.counts();
    EXPECT_EQ(counts.high, 1);
    EXPECT_EQ(counts.medium, 1);
    EXPECT_EQ(counts.low, 1);
    EXPECT_EQ(counts.none, 1);
}

struct KeyCase
{
    const char* url;
    const char* key;
};

class RequestKeyTable : public testing::TestWithParam<KeyCase>
{
};

TEST_P(RequestKeyTable, DropsTheSchemeAndLowersTheHost)
{
    EXPECT_EQ(SourceTable::requestKey(GetParam().url), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RequestKeyTable,
    testing::Values(KeyCase{"http://www.cirrolux.net/assets/images/wbank/AL_radar.GIF",
                            "www.cirrolux.net/assets/images/wbank/AL_radar.GIF"},
                    KeyCase{"HTTP://Weather.IS.Kochi-u.ac.jp/FE/00Latest.jpg",
                            "weather.is.kochi-u.ac.jp/FE/00Latest.jpg"},
                    KeyCase{"https://host.example/a?B=1", "host.example/a?B=1"},
                    KeyCase{"host.example/Path", "host.example/Path"}));

struct BadCase
{
    const char* name;
    std::string text;
    const char* error;
};

class BadTable : public testing::TestWithParam<BadCase>
{
};

TEST_P(BadTable, IsRefusedNamingTheLine)
{
    try {
        SourceTable::parse(GetParam().text, "sources.tsv");
        FAIL() << "accepted";
    } catch (const SourceTableError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().error);
    }
}

const std::string Good = "h.example/a.gif\thttps://x.example/a.gif\tpass-through\t300\tNOAA\thigh\t-\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, BadTable,
    testing::Values(
        BadCase{"empty", "# nothing\n", "sources.tsv: the table is empty"},
        BadCase{"no_header", Good,
                "sources.tsv line 1: the first line that is not a comment must be the column "
                "names \"request, live, conversion, max_age, credit, confidence, reason\" "
                "separated by tabs"},
        BadCase{"few_fields", Header + Good + "h.example/b.gif\thttps://x.example/b.gif\tto-gif\n",
                "sources.tsv line 3: expected 7 tab-separated fields, found 3"},
        BadCase{"empty_field", Header + "h.example/b.gif\thttps://x.example/b.gif\tto-gif\t60\tN\thigh\t\n",
                "sources.tsv line 2: an empty field; write \"-\" for nothing"},
        BadCase{"scheme_in_request",
                Header + "http://h.example/b.gif\thttps://x.example/b\tto-gif\t60\tN\thigh\t-\n",
                "sources.tsv line 2: the request \"http://h.example/b.gif\" must be host + path "
                "without \"http://\""},
        BadCase{"no_path", Header + "h.example\thttps://x.example/b\tto-gif\t60\tN\thigh\t-\n",
                "sources.tsv line 2: the request \"h.example\" must be a host followed by a path"},
        BadCase{"upper_host", Header + "H.example/b\thttps://x.example/b\tto-gif\t60\tN\thigh\t-\n",
                "sources.tsv line 2: the request's host \"H.example\" may hold only lower-case "
                "letters, digits, \".\" and \"-\""},
        BadCase{"duplicate", Header + Good + "# again\n" + Good,
                "sources.tsv line 4: the request \"h.example/a.gif\" is already on line 2"},
        BadCase{"ftp", Header + "h.example/b\tftp://x.example/b\tto-gif\t60\tN\thigh\t-\n",
                "sources.tsv line 2: the live address \"ftp://x.example/b\" must begin with "
                "http:// or https://"},
        BadCase{"double_space",
                Header + "h.example/b\thttps://x.example/b  https://y.example/b\tto-gif\t60\tN\thigh\t-\n",
                "sources.tsv line 2: the live addresses are separated by single spaces"},
        BadCase{"fill_in", Header + "h.example/b\thttps://x.example/{id}.jpg\tto-gif\t60\tN\thigh\t-\n",
                "sources.tsv line 2: the live address \"https://x.example/{id}.jpg\" has the "
                "unknown fill-in \"{id}\" (known: {YYYY}, {YYYYMM}, {YYYYMMDD}, {HHMM})"},
        BadCase{"conversion", Header + "h.example/b\thttps://x.example/b\tto-png\t60\tN\thigh\t-\n",
                "sources.tsv line 2: unknown conversion \"to-png\" (known: pass-through, to-gif, "
                "to-jpeg, last-frame, animate-gif, drawn:<kind>, none)"},
        BadCase{"caption_on_a_loop",
                Header + "h.example/b\thttps://x.example/b\tanimate-gif+caption\t60\tN\thigh\t-\n",
                "sources.tsv line 2: \"+caption\" goes with a still picture's conversion "
                "(pass-through, to-gif, to-jpeg, last-frame)"},
        BadCase{"caption_alone", Header + "h.example/b\thttps://x.example/b\t+caption\t60\tN\thigh\t-\n",
                "sources.tsv line 2: unknown conversion \"\" (known: pass-through, to-gif, "
                "to-jpeg, last-frame, animate-gif, drawn:<kind>, none)"},
        BadCase{"drawn_kind", Header + "h.example/b\thttps://x.example/b\tdrawn:\t60\tN\thigh\t-\n",
                "sources.tsv line 2: the drawing \"drawn:\" must name its kind in lower-case "
                "letters, digits and \"-\""},
        BadCase{"max_age", Header + "h.example/b\thttps://x.example/b\tto-gif\t5m\tN\thigh\t-\n",
                "sources.tsv line 2: the cache lifetime \"5m\" must be a number of seconds from 1 "
                "to 31622400"},
        BadCase{"confidence", Header + "h.example/b\thttps://x.example/b\tto-gif\t60\tN\tsure\t-\n",
                "sources.tsv line 2: unknown confidence \"sure\" (known: high, medium, low, none)"},
        BadCase{"none_with_address",
                Header + "h.example/b\thttps://x.example/b\tnone\t-\t-\tnone\twhy\n",
                "sources.tsv line 2: a row with confidence none has no live address (\"-\") and "
                "the conversion none"},
        BadCase{"none_without_reason", Header + "h.example/b\t-\tnone\t-\t-\tnone\t-\n",
                "sources.tsv line 2: a row with confidence none must give the reason"},
        BadCase{"live_without_address", Header + "h.example/b\t-\tto-gif\t60\tN\tlow\t-\n",
                "sources.tsv line 2: a row with confidence low needs a live address"},
        BadCase{"live_without_age", Header + "h.example/b\thttps://x.example/b\tto-gif\t-\tN\thigh\t-\n",
                "sources.tsv line 2: a row with a live address needs a cache lifetime in seconds"},
        BadCase{"live_without_credit",
                Header + "h.example/b\thttps://x.example/b\tto-gif\t60\t-\thigh\t-\n",
                "sources.tsv line 2: a row with a live address needs a credit line"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST(SourceTable, LoadNamesAFileItCannotRead)
{
    try {
        SourceTable::load("/nonexistent/image-sources.tsv");
        FAIL() << "accepted";
    } catch (const SourceTableError& error) {
        EXPECT_TRUE(std::string(error.what()).starts_with(
            "Cannot read the image source table /nonexistent/image-sources.tsv: "));
    }
}

} // namespace
