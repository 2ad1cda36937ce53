#include "RecordingConditionsView.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsRequest.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"

#include <gtest/gtest.h>

using namespace cirrolux;

struct SplitCase
{
    const char* name;
    const char* key;
    const char* zip;
    const char* city;
    const char* state;
    const char* group;
};

class KeySplitting : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(KeySplitting, GivesTheLocationParts)
{
    const SplitCase& c = GetParam();
    SharedState state;
    state.currentLocationKey = c.key;
    state.locationCity = "unchanged";
    ConditionsRequest::SplitLocationKey(state, [](SharedState& s) {
        // Stand-in for the catalogue's state table.
        s.titleCity = s.locationTitle.substr(0, s.locationTitle.find(','));
        s.stateCode = s.locationTitle.ends_with(",Massachusetts") ? "MA" : "";
    });
    EXPECT_EQ(state.locationZip, c.zip);
    if (*c.zip == 0) {
        EXPECT_EQ(state.locationCity, c.city);
    }
    EXPECT_EQ(state.locationState, c.state);
    EXPECT_EQ(state.locationGroup, c.group);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeySplitting,
    ::testing::Values(
        SplitCase{"UsCity", "New York, NY", "", "New_York", "NY", "US"},
        SplitCase{"UsCityWithUnderscores", "San_Antonio, TX", "", "San_Antonio", "TX", "US"},
        SplitCase{"FullStateName", "Boston, Massachusetts", "", "Boston", "MA", "US"},
        SplitCase{"UnknownStateName", "Boston, Atlantis", "", "Boston", "", "US"},
        SplitCase{"Zip", "02134 - Boston, MA", "02134", "", "MA", ""},
        SplitCase{"ZipWithoutComma", "9021", "9021", "", "", ""},
        SplitCase{"Foreign", "Sao_Paulo, Brazil (O)", "", "Sao Paulo", "Brazil (O)", ""},
        SplitCase{"ForeignProvince", "Parc_Des_Laurentid, Quebec (O)", "", "Parc Des Laurentid",
                  "Quebec (O)", ""},
        SplitCase{"ParenthesisAtStartIsNotForeign", "(Odd, XX", "", "(Odd", "XX", "US"},
        SplitCase{"NoComma", "Nowhere", "", "Nowhere", "", "US"},
        SplitCase{"Empty", "", "", "", "", "US"}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(KeySplitting, FullStateNameSetsTheTitleForTheLookup)
{
    SharedState state;
    state.currentLocationKey = "New Bedford, Massachusetts";
    std::string seen;
    ConditionsRequest::SplitLocationKey(state, [&](SharedState& s) {
        seen = s.locationTitle;
        s.stateCode = "MA";
    });
    EXPECT_EQ(seen, "New_Bedford,Massachusetts");
    EXPECT_EQ(state.locationState, "MA");
}

// The request with a transfer component that is never started: only the address logic runs.
class RequestAddress : public ::testing::Test
{
protected:
    RequestAddress()
        : parser(state, store, ui, view, [] {}), request(state, ui, view, http, parser, hooks())
    {
    }

    ConditionsRequest::Hooks hooks()
    {
        ConditionsRequest::Hooks h;
        h.lookupStation = [this](SharedState& s, UserInterface&) {
            lookedUp.push_back(s.locationCity + "|" + s.locationState);
            s.stationNumber = station;
        };
        return h;
    }

    std::string urlFor(const char* key)
    {
        state.currentLocationKey = key;
        ConditionsRequest::SplitLocationKey(state, {});
        return request.BuildRequestUrl();
    }

    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    test::RecordingConditionsView view;
    SharedState state;
    TNMHTTP http;
    ConditionsParser parser;
    ConditionsRequest request;
    std::string station = "83780";
    std::vector<std::string> lookedUp;
};

TEST_F(RequestAddress, UsCityZipAndStationAddresses)
{
    EXPECT_EQ(urlFor("New York, NY"), "http://www.wunderground.com/US/NY/New_York.html");
    EXPECT_EQ(urlFor("02134 - Boston, MA"),
              "http://www.wunderground.com/cgi-bin/findweather/getForecast?query=02134");
    EXPECT_EQ(urlFor("Sao_Paulo, Brazil (O)"),
              "http://www.wunderground.com/global/stations/83780.html");
    EXPECT_EQ(lookedUp, (std::vector<std::string>{"Sao Paulo|Brazil (O)"}));
    EXPECT_EQ(state.locationCity, "83780");
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(RequestAddress, FailedLookupsShowTheirMessagesAndFetchNothing)
{
    station = "n/a";
    EXPECT_EQ(urlFor("Atlantis, Peru (O)"), "");
    station = "";
    EXPECT_EQ(urlFor("Bella Coola Arpt, British Columbia (O)"), "");
    station = "7";
    EXPECT_EQ(urlFor("Tiny, Peru (O)"), "");
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Error - Invalid city:n/a",
                                                       "Error in Unit1 - Invalid city:",
                                                       "Error in Unit1 - Invalid city:7"}));
    EXPECT_TRUE(view.statusTexts().empty());
}

TEST_F(RequestAddress, PendingRemovalRebuildsThePresetsInsteadOfFetching)
{
    int rebuilds = 0;
    ConditionsRequest::Hooks h;
    h.rebuildPresets = [&] { ++rebuilds; };
    ConditionsRequest removal(state, ui, view, http, parser, h);
    state.counterSent = "Y"; // no usage counter fetch
    state.removeLocationMode = "Y";
    state.currentLocationKey = "Boston, MA";
    EXPECT_TRUE(removal.Get_the_Stats());
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(state.removeLocationMode, "");
    EXPECT_EQ(state.requestUrl, "");
    EXPECT_TRUE(view.statusTexts().empty());
}

struct CommandCase
{
    int command;
    const char* success;
    const char* failure;
};

class CommandTexts : public ::testing::TestWithParam<CommandCase>
{
};

TEST_P(CommandTexts, ByCommandNumber)
{
    EXPECT_EQ(CommandSuccessText(GetParam().command), GetParam().success);
    EXPECT_EQ(CommandFailureText(GetParam().command), GetParam().failure);
}

INSTANTIATE_TEST_SUITE_P(Numbers, CommandTexts,
                         ::testing::Values(CommandCase{0, "Get Succeeded", "Get Failed"},
                                           CommandCase{1, "Options Succeeded", "Options Failed"},
                                           CommandCase{2, "Head Succeeded", "Head Failed"},
                                           CommandCase{3, "Post Succeeded", "Post Failed"},
                                           CommandCase{4, "Put Succeeded", "Put Failed"},
                                           CommandCase{5, "Patch Succeeded", "Patch Failed"},
                                           CommandCase{6, "Copy Succeeded", "Copy Failed"},
                                           CommandCase{7, "Move Succeeded", "Move Failed"},
                                           CommandCase{8, "Delete Succeeded", "Delete Failed"},
                                           CommandCase{9, "Link Succeeded", "Link Failed"},
                                           CommandCase{10, "UnLink Succeeded", "UnLink Failed"},
                                           CommandCase{11, "Trace Succeeded", "Trace Failed"},
                                           CommandCase{12, "Wrapped Succeeded", "Wrapped Failed"},
                                           CommandCase{13, "", ""}, CommandCase{-1, "", ""}),
                         [](const ::testing::TestParamInfo<CommandCase>& info) {
                             return "command" + std::to_string(info.param.command + 1);
                         });

TEST_F(RequestAddress, SuccessMarksTheRequestAndOtherNumbersLeaveNoFailureText)
{
    request.NMHTTP1Success(13);
    EXPECT_EQ(state.requestSucceeded, "Y");
    request.NMHTTP1Failure(13);
    EXPECT_EQ(view.statusTexts(), (std::vector<std::string>{""}));
}

TEST_F(RequestAddress, ForecastWindowTakesTheMarkedTexts)
{
    state.forecastMode = "f";
    bool handled = false;
    request.NMHTTP1Connect();
    request.NMHTTP1PacketSent();
    request.NMHTTP1Redirect(handled);
    request.NMHTTP1Failure(0);
    request.NMHTTP1Success(0);
    EXPECT_EQ(view.forecastStatusTexts(),
              (std::vector<std::string>{"Connected...", "Redirected...", "Get Succeeded"}));
    EXPECT_EQ(view.statusTexts(), (std::vector<std::string>{"Packet sent...", "Get Failed"}));
}
