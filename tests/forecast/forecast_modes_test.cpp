// The mode table: every mode's address, title, status text and what it asks for.
#include "CaseName.h"
#include "forecast/ForecastModes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace cirrolux;

namespace {

struct ModeCase
{
    std::string mode;
    std::string title;
    std::string address;
    std::string status;
};

class ModeRow : public ::testing::TestWithParam<ModeCase>
{
};

const std::string Tail = "/T=P1/T=P5/T=P6/T=P7/T=P13/T=P49/T=P50/T=P53/T=P54/T=P57/T=P78/T=P80/"
                         "T=P80A/T=P114A/T=H5/T=H25/T=H43A/T=H61/T=H61A";

TEST_P(ModeRow, TitleAddressAndStatus)
{
    const ModeCase& c = GetParam();
    const ForecastMode* row = FindForecastMode(c.mode);
    ASSERT_NE(row, nullptr);
    const ReportInputs inputs{"Boston", "MA", "", "25,Massachusetts", "02134"};
    EXPECT_EQ(ReportTitle(*row, inputs), c.title);
    EXPECT_EQ(ReportAddress(*row, inputs), c.address);
    EXPECT_EQ(StartingStatusText(c.mode), c.status);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, ModeRow,
    ::testing::Values(
        ModeCase{"f", "Cirrolux - Text Forecast for Boston, MA",
                 "http://iwin.nws.noaa.gov/iwin/MA/zone.html", "Starting retrieval of Forecast..."},
        ModeCase{"n", "Cirrolux - Text Nowcast for Boston, MA",
                 "http://iwin.nws.noaa.gov/iwin/MA/shortterm.html",
                 "Starting retrieval of Nowcast..."},
        ModeCase{"p", "Cirrolux - Public Information for MA",
                 "http://iwin.nws.noaa.gov/iwin/MA/public.html",
                 "Starting retrieval of Public Information..."},
        ModeCase{"w", "Cirrolux - Warnings && Advisories for MA",
                 "http://iwin.nws.noaa.gov/iwin/MA/allwarnings.html",
                 "Starting retrieval of Warning Information..."},
        ModeCase{"sw", "Cirrolux - Special Weather Statements for MA",
                 "http://iwin.nws.noaa.gov/iwin/MA/special.html",
                 "Starting retrieval of Special Weather Statements..."},
        ModeCase{"h", "Cirrolux - Hydrological data for MA",
                 "http://iwin.nws.noaa.gov/iwin/MA/hydro.html",
                 "Starting retrieval of Hydrological Data..."},
        ModeCase{"ap", "Cirrolux - US Air Pollution levels by State",
                 "http://www.epa.gov/oar/oaqps/greenbk/aycl.html",
                 "Starting retrieval of Air Pollution Level by US State..."},
        ModeCase{"cw", "Cirrolux - Crop Weather for MA",
                 "http://www.nass.usda.gov/weather/cpcurr/ma-crop-weather",
                 "Starting retrieval of Crop weather by US State..."},
        ModeCase{"s1", "Cirrolux - Census Detail by State",
                 "http://venus.census.gov/cdrom/lookup/906005492=/906005506=/906005514=/"
                 "906005522=/CMD=RET/DB=C90STF3C1/F0=FIPS.STATE/F1=STUB.GEO/FMT=HTML/LEV=STATE/"
                 "SEL=25,Massachusetts" +
                     Tail,
                 "Starting retrieval of Census Detail by US State..."},
        ModeCase{"s2", "Cirrolux - Census Detail by Zip",
                 "http://venus.census.gov/cdrom/lookup/906003812=/906003889=/906003903=/"
                 "906005246=/CMD=RET/DB=C90STF3B/F0=ZIP/FMT=HTML/LEV=ZIP/SEL=02134" +
                     Tail,
                 "Starting retrieval of Census Detail by US Zip..."},
        ModeCase{"ss", "Cirrolux - US Census State Rankings",
                 "http://www.census.gov/statab/ranks/pg18.txt",
                 "Starting retrieval of US State Salary Rankings..."},
        ModeCase{"si", "Cirrolux - US/State Census Median HH Income",
                 "http://www.census.gov/statab/ranks/pg20.txt",
                 "Starting retrieval of US/State Median HH Incomes..."},
        ModeCase{"eb", "Cirrolux - Near-Real Time Earthquake Bulletin (World)",
                 "http://neic.usgs.gov/neis/bulletin/bulletin.html",
                 "Starting retrieval of Current Earthquake Bulletin..."}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return test::CaseName(info.param.mode); });

TEST(ForecastModes, ThirteenModesWithTheirCommands)
{
    std::set<std::string> modes;
    std::set<std::string> commands;
    for (const ForecastMode& row : ForecastModes()) {
        modes.emplace(row.mode);
        commands.emplace(row.commandName);
    }
    EXPECT_EQ(modes, (std::set<std::string>{"f", "n", "p", "w", "sw", "h", "ap", "cw", "s1", "s2",
                                            "ss", "si", "eb"}));
    EXPECT_EQ(commands.size(), 13u);
    EXPECT_EQ(FindForecastMode("f")->commandName, "ForecastTEXTversion1");
    EXPECT_EQ(FindForecastMode("eb")->commandName, "mnuViewWETextlisting1");
    EXPECT_EQ(FindForecastMode("x"), nullptr);
    for (const ForecastMode& row : ForecastModes())
        EXPECT_EQ(FindForecastModeByCommand(row.commandName), &row);
    EXPECT_EQ(FindForecastModeByCommand("mnuForecastHTML"), nullptr);
    EXPECT_EQ(StartingStatusText("x"), "Starting retrieval of Forecast...");
}

TEST(ForecastModes, TheStateReportsAndTheBulletinAskForALocation)
{
    std::set<std::string> asking;
    for (const ForecastMode& row : ForecastModes()) {
        if (row.needsLocation)
            asking.emplace(row.mode);
    }
    // The world earthquake bulletin is one of them, although it uses no location.
    EXPECT_EQ(asking, (std::set<std::string>{"f", "n", "p", "w", "sw", "h", "eb"}));
}

TEST(ForecastModes, CropWeatherNamesThePickedStateInAddressAndTitle)
{
    const ForecastMode& cw = *FindForecastMode("cw");
    const ReportInputs picked{"Boston", "MA", "VT", "", ""};
    EXPECT_EQ(ReportAddress(cw, picked), "http://www.nass.usda.gov/weather/cpcurr/vt-crop-weather");
    EXPECT_EQ(ReportTitle(cw, picked), "Cirrolux - Crop Weather for VT");
    const ReportInputs tooShort{"Boston", "MA", "V", "", ""};
    EXPECT_EQ(ReportAddress(cw, tooShort),
              "http://www.nass.usda.gov/weather/cpcurr/ma-crop-weather");
    EXPECT_EQ(ReportTitle(cw, tooShort), "Cirrolux - Crop Weather for MA");
}

TEST(StateList, NoneThenFiftyOneStatesInCodeOrder)
{
    const auto entries = StateListEntries();
    ASSERT_EQ(entries.size(), 52u);
    EXPECT_EQ(entries[0], "None");
    EXPECT_EQ(entries[1], "01-Alabama");
    EXPECT_EQ(entries[9], "11-District of Columbia");
    EXPECT_EQ(entries[19], "22-Lousiana");
    EXPECT_EQ(entries[51], "56-Wyoming");
    int previous = 0;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        ASSERT_EQ(entries[i][2], '-') << entries[i];
        const int code = std::stoi(std::string(entries[i].substr(0, 2)));
        EXPECT_GT(code, previous) << entries[i];
        previous = code;
    }
}

} // namespace
