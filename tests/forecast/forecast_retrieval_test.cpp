// get_xcast from mode to the window's text, through the real transfer component and the
// service emulator, with the transfer's status texts routed as the main window routes them.
#include "CaseName.h"
#include "ForecastRoad.h"
#include "RecordingForecastView.h"
#include "forecast/ForecastModes.h"
#include "forecast/ForecastRetrieval.h"
#include "forecast/ForecastState.h"
#include "forecast/ReportText.h"
#include "platform/CirroluxError.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace cirrolux;
using test::RecordingUserInterface;

namespace {

struct Views
{
    test::RecordingForecastView forecast;
    test::RoutingConditionsView main{forecast};
};

class ForecastRetrievalRoad : public ::testing::Test, protected Views, protected test::ForecastRoad
{
protected:
    ForecastRetrievalRoad() : test::ForecastRoad(main), retrieval(shared, state, ui, forecast, http)
    {
        request.SendUsageCounter(); // the counter of the run is out of the way
        emulator.clearRequests();
        main.mainStatusTexts.clear();
    }

    void fetch(const std::string& mode)
    {
        shared.forecastMode = mode;
        retrieval.get_xcast();
    }

    bool sawStatus(const std::string& text) const
    {
        return std::find(forecast.statusTexts.begin(), forecast.statusTexts.end(), text) !=
               forecast.statusTexts.end();
    }

    ForecastState state;
    ForecastRetrieval retrieval;
};

// What the window must show for a page, by the mode's kind of extraction.
std::string expectedText(const ForecastMode& mode, const std::string& page,
                         const std::string& state)
{
    const std::string stripped = StripReportHtml(page);
    switch (mode.extraction) {
    case ReportExtraction::Table:
        return parse_text(stripped) + "\r\n\r\n--- End of File --\r\nThanks for using Cirrolux...";
    case ReportExtraction::Earthquake:
        return EarthquakeCut(parse_text(stripped)) +
               "\r\n\r\n--- End of File --\r\nThanks for using Cirrolux...";
    case ReportExtraction::Warning:
    case ReportExtraction::FixedWarning:
        return parse_warning_html(stripped, state);
    case ReportExtraction::CountyForecast:
    case ReportExtraction::CountyNowcast:
        return stripped;
    }
    return {};
}

struct ModeCase
{
    std::string mode;
    std::string address;
    std::string title;
    std::string firstLine; // the window's text starts with it
    bool fixedFont;
};

class EveryMode : public ForecastRetrievalRoad, public ::testing::WithParamInterface<ModeCase>
{
};

TEST_P(EveryMode, FetchesItsPageAndShowsItsText)
{
    const ModeCase& c = GetParam();
    forecast.stateList = "25,Massachusetts";
    forecast.zip = "02134";
    fetch(c.mode);

    EXPECT_EQ(requestLines(), std::vector<std::string>{"GET " + c.address + " HTTP/1.0"});
    ASSERT_FALSE(forecast.titles.empty());
    EXPECT_EQ(forecast.titles.back(), c.title);
    const ForecastMode& row = *FindForecastMode(c.mode);
    EXPECT_EQ(forecast.report, expectedText(row, page(c.address), "MA"));
    EXPECT_TRUE(forecast.report.starts_with(c.firstLine)) << forecast.report.substr(0, 200);
    EXPECT_EQ(forecast.font, c.fixedFont ? "Fixedsys" : "Sans Serif");
    EXPECT_EQ(forecast.statusTexts.front(), std::string(StartingStatusText(c.mode)));
    EXPECT_EQ(forecast.statusTexts.back(), " Thank you for using Cirrolux...");
    EXPECT_TRUE(sawStatus("Get Succeeded"));
    EXPECT_EQ(ui.events(), std::vector<RecordingUserInterface::Event>{});
}

const std::string Tail = "/T=P1/T=P5/T=P6/T=P7/T=P13/T=P49/T=P50/T=P53/T=P54/T=P57/T=P78/T=P80/"
                         "T=P80A/T=P114A/T=H5/T=H25/T=H43A/T=H61/T=H61A";

INSTANTIATE_TEST_SUITE_P(
    Modes, EveryMode,
    ::testing::Values(
        ModeCase{"f", "http://iwin.nws.noaa.gov/iwin/MA/zone.html",
                 "Cirrolux - Text Forecast for MA", "Massachusetts Zone Forecasts", false},
        ModeCase{"n", "http://iwin.nws.noaa.gov/iwin/MA/shortterm.html",
                 "Cirrolux - Text Nowcast for MA", "Massachusetts Short Term Forecast", false},
        ModeCase{"p", "http://iwin.nws.noaa.gov/iwin/MA/public.html",
                 "Cirrolux - Public Information for MA", "Massachusetts Public Information", false},
        ModeCase{"w", "http://iwin.nws.noaa.gov/iwin/MA/allwarnings.html",
                 "Cirrolux - Warnings && Advisories for MA",
                 "Massachusetts Warnings and Advisories", false},
        ModeCase{"sw", "http://iwin.nws.noaa.gov/iwin/MA/special.html",
                 "Cirrolux - Special Weather Statements for MA",
                 "Massachusetts Special Weather Statements", false},
        ModeCase{"h", "http://iwin.nws.noaa.gov/iwin/MA/hydro.html",
                 "Cirrolux - Hydrological data for MA", "Massachusetts Hydrological Data", true},
        ModeCase{"ap", "http://www.epa.gov/oar/oaqps/greenbk/aycl.html",
                 "Cirrolux - US Air Pollution levels by State", "Green Book - Currently Designated",
                 true},
        ModeCase{"cw", "http://www.nass.usda.gov/weather/cpcurr/ma-crop-weather",
                 "Cirrolux - Crop Weather for MA", "Massachusetts Crop Weather", true},
        ModeCase{"s1",
                 "http://venus.census.gov/cdrom/lookup/906005492=/906005506=/906005514=/"
                 "906005522=/CMD=RET/DB=C90STF3C1/F0=FIPS.STATE/F1=STUB.GEO/FMT=HTML/LEV=STATE/"
                 "SEL=25,Massachusetts" +
                     Tail,
                 "Cirrolux - Census Detail by State",
                 "1990 US Census Lookup: Massachusetts (FIPS.STATE=25)", true},
        ModeCase{"s2",
                 "http://venus.census.gov/cdrom/lookup/906003812=/906003889=/906003903=/"
                 "906005246=/CMD=RET/DB=C90STF3B/F0=ZIP/FMT=HTML/LEV=ZIP/SEL=02134" +
                     Tail,
                 "Cirrolux - Census Detail by Zip", "1990 US Census Lookup: ZIP Code 02134", true},
        ModeCase{"ss", "http://www.census.gov/statab/ranks/pg18.txt",
                 "Cirrolux - US Census State Rankings", "No. 18.  Average Annual Pay", true},
        ModeCase{"si", "http://www.census.gov/statab/ranks/pg20.txt",
                 "Cirrolux - US/State Census Median HH Income", "No. 20.  Median Household Income",
                 true},
        ModeCase{"eb", "http://neic.usgs.gov/neis/bulletin/bulletin.html",
                 "Cirrolux - Near-Real Time Earthquake Bulletin (World)",
                 "Current Time: Thu Jan 15 14:00:00 UTC 2026", true}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return test::CaseName(info.param.mode); });

TEST_F(ForecastRetrievalRoad, StatusTextsOfAWarningReportInOrder)
{
    fetch("p");
    std::vector<std::string> texts = forecast.statusTexts;
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [](const std::string& t) {
                                   return t.ends_with("bytes retrieved") ||
                                          t.ends_with("bytes retrieved...") ||
                                          t.starts_with("Status = ");
                               }),
                texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Starting retrieval of Public Information...",
                         "Attempting connection...",
                         "Sending request...", // the proxy is a dotted address: no look-up
                         "Connected...",
                         "Get Succeeded",
                         "Disconnected...",
                         "Connection process complete...",
                         "Parsing logic started...",
                         "level 2 parsing started...",
                         "level 2 parsing completed...",
                         "Cirrolux - parsing data...please wait...",
                         " Thank you for using Cirrolux...",
                         " Thank you for using Cirrolux...",
                     }));
    // The texts the forecast window does not take stay on the main window.
    EXPECT_TRUE(std::all_of(main.mainStatusTexts.begin(), main.mainStatusTexts.end(),
                            [](const std::string& t) { return t == "Packet sent..."; }));
    EXPECT_FALSE(main.mainStatusTexts.empty());
}

TEST_F(ForecastRetrievalRoad, CountyFoundShowsItsSectionAndNamesIt)
{
    forecast.county = "norfolk";
    fetch("f");
    EXPECT_EQ(forecast.titles, (std::vector<std::string>{"Cirrolux - Text Forecast for Boston, MA",
                                                         "Cirrolux - Text Forecast for NORFOLK "
                                                         "county, MA"}));
    EXPECT_TRUE(forecast.report.starts_with("\nNORFOLK-\n")) << forecast.report.substr(0, 80);
    EXPECT_EQ(forecast.report.find("$$"), std::string::npos);
    EXPECT_EQ(forecast.report.find("SUFFOLK"), std::string::npos);
    EXPECT_NE(forecast.report.find(".TODAY..."), std::string::npos);
    EXPECT_TRUE(sawStatus("parsing - looking for NORFOLK county..."));
    EXPECT_TRUE(sawStatus("parsing - found NORFOLK county..."));
    EXPECT_TRUE(sawStatus("parsing complete..."));
    EXPECT_EQ(state.countyName, "NORFOLK");
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(ForecastRetrievalRoad, NowcastCountyInAPairedSection)
{
    forecast.county = "Norfolk";
    fetch("n");
    EXPECT_EQ(forecast.titles.back(), "Cirrolux - Text Nowcast for NORFOLK county, MA");
    EXPECT_TRUE(forecast.report.starts_with("-NORFOLK-\n")) << forecast.report.substr(0, 80);
    EXPECT_NE(forecast.report.find(".NOW..."), std::string::npos);
}

TEST_F(ForecastRetrievalRoad, CountyNotOnThePageShowsTheWholeStatePage)
{
    forecast.county = "Cook";
    fetch("f");
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{
                  "Sorry, COOK county was not found.  Displaying state zone info..."});
    EXPECT_EQ(forecast.titles.back(), "Cirrolux - Text Forecast for MA");
    EXPECT_EQ(forecast.report, StripReportHtml(page("http://iwin.nws.noaa.gov/iwin/MA/zone.html")));
}

TEST_F(ForecastRetrievalRoad, OneLetterCountyIsIgnored)
{
    forecast.county = "s";
    fetch("f");
    EXPECT_TRUE(ui.events().empty());
    EXPECT_EQ(forecast.titles.back(), "Cirrolux - Text Forecast for MA");
    EXPECT_FALSE(sawStatus("parsing - looking for S county..."));
}

class WithoutLocation : public ForecastRetrievalRoad,
                        public ::testing::WithParamInterface<std::string>
{
};

TEST_P(WithoutLocation, StateReportsAskForALocationAndFetchNothing)
{
    shared.locationState.clear();
    fetch(GetParam());
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"A stats location has not been selected. You will need to "
                                       "select a location (under Options) or view current stats "
                                       "before viewing forecasts."});
    EXPECT_TRUE(emulator.requests().empty());
    EXPECT_TRUE(retrieval.showedMessage());
    EXPECT_EQ(forecast.statusTexts.back(), " Thank you for using Cirrolux...");
}

INSTANTIATE_TEST_SUITE_P(StateModes, WithoutLocation,
                         ::testing::Values("f", "n", "p", "w", "sw", "h", "eb"));

TEST_F(ForecastRetrievalRoad, EarthquakeBulletinWithALocationFetches)
{
    shared.locationState = "MA";
    fetch("eb");
    EXPECT_TRUE(ui.events().empty());
    EXPECT_EQ(requestLines(), std::vector<std::string>{
                                  "GET http://neic.usgs.gov/neis/bulletin/bulletin.html HTTP/1.0"});
}

TEST_F(ForecastRetrievalRoad, ShortZipIsRefusedWithoutFetching)
{
    forecast.zip = "0213";
    fetch("s2");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Sorry, you entered an invalid zip."});
    EXPECT_TRUE(emulator.requests().empty());
}

TEST_F(ForecastRetrievalRoad, ProductNotAvailableGivesTheNotice)
{
    shared.locationState = "AZ";
    fetch("h");
    EXPECT_EQ(forecast.report,
              " Sorry, this AZ information is not currently available.\r\n--- End of File --");
}

TEST_F(ForecastRetrievalRoad, CropWeatherOfThePickedState)
{
    state.cropStateCode = "VT";
    fetch("cw");
    EXPECT_EQ(requestLines(),
              std::vector<std::string>{
                  "GET http://www.nass.usda.gov/weather/cpcurr/vt-crop-weather HTTP/1.0"});
    EXPECT_EQ(forecast.titles.back(), "Cirrolux - Crop Weather for VT");
    EXPECT_TRUE(forecast.report.starts_with("Vermont Crop Weather"));
}

TEST_F(ForecastRetrievalRoad, SecondFixedFontFetchKeepsTheUsersFont)
{
    forecast.font = "DejaVu Serif";
    fetch("ap");
    fetch("ap");
    EXPECT_EQ(forecast.font, "Fixedsys");
    EXPECT_EQ(state.savedFontName, "DejaVu Serif");
}

TEST_F(ForecastRetrievalRoad, ErrorReplyIsShownWithTheFooter)
{
    emulator.queueReply(servicesim::EmulatorReply::make(404, "text/html",
                                                        "<html><body><h1>Not Found</h1></body>"
                                                        "</html>"));
    fetch("w");
    EXPECT_EQ(forecast.report, "Not Found\r\n\r\n--- End of File --");
    // The failure text is one the main window keeps.
    EXPECT_FALSE(sawStatus("Get Failed"));
    EXPECT_EQ(std::count(main.mainStatusTexts.begin(), main.mainStatusTexts.end(), "Get Failed"),
              1);
}

TEST_F(ForecastRetrievalRoad, TransferErrorEndsTheFetchWithItsText)
{
    http.ProxyPort = 1; // nothing listens there
    shared.forecastMode = "p";
    EXPECT_THROW(retrieval.get_xcast(), TransferError);
    EXPECT_TRUE(forecast.report.empty());
}

TEST_F(ForecastRetrievalRoad, HtmlForecastOpensTheConditionsServiceInTheBrowser)
{
    http.Body = "left over";
    retrieval.mnuForecastHTMLClick();
    ASSERT_EQ(emulator.requests().size(), 1u);
    EXPECT_EQ(requestLines().front(), "GET http://www.wunderground.com/ HTTP/1.0");
    EXPECT_EQ(emulator.requests().front().header("Referer"),
              "Cirrolux by Tallowmere - html forecast link");
    EXPECT_EQ(http.TimeOut, 60000);
    EXPECT_EQ(http.Body, "");
    EXPECT_EQ(ui.events(),
              (std::vector<RecordingUserInterface::Event>{
                  {RecordingUserInterface::Event::Kind::OpenUrl, "http://www.wunderground.com/"}}));
}

} // namespace
