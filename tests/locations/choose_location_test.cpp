// "&Okay" of the choose-location dialog without its widgets: from a tree path or zip to the
// request it makes, through the real transfer component and the service emulator on 127.0.0.1,
// with the real catalogue, parser and preset list.
#include "../conditions/RecordingConditionsView.h"
#include "CaseName.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsRequest.h"
#include "locations/CatalogueStations.h"
#include "locations/ChooseLocation.h"
#include "locations/PresetList.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/SharedState.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"

#include <gtest/gtest.h>

using namespace cirrolux;
using Event = test::RecordingUserInterface::Event;
using Outcome = ChooseLocation::Outcome;
namespace names = cirrolux::SettingNames;

namespace {

class NoMenu final : public PresetMenu
{
public:
    void showEntry(int, const std::string&) override {}
    void hideEntry(int) override {}
    void repaint() override {}
};

std::vector<std::string> split(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= path.size() && !path.empty()) {
        const std::size_t end = path.find('>', begin);
        parts.push_back(path.substr(begin, end - begin));
        if (end == std::string::npos)
            break;
        begin = end + 1;
    }
    return parts;
}

} // namespace

class ChooseLocationOkay : public ::testing::Test
{
protected:
    ChooseLocationOkay()
        : presets(state, store, ui, menu),
          parser(state, store, ui, view, [this] { presets.AddPreset(); }),
          request(state, ui, view, http, parser, {}), choice(state, ui, http, hooks())
    {
        emulator.setNow(QDateTime(QDate(2026, 1, 15), QTime(14, 0), Qt::UTC));
        emulator.setStationDirectory(cirrolux::CatalogueStationDirectory());
        EXPECT_TRUE(emulator.listen());
        http.Proxy = "127.0.0.1";
        http.ProxyPort = emulator.port();
    }

    ChooseLocation::Hooks hooks()
    {
        ChooseLocation::Hooks h;
        h.setStatus = [this](const std::string& text) { view.setStatusText(text); };
        h.parseConditionsPage = [this](std::string_view page) { parser.ParseConditionsPage(page); };
        h.completeHeatIndex = [this] { parser.CompleteHeatIndex(); };
        h.completeWindChill = [this] { parser.CompleteWindChill(); };
        h.updateMoonPhase = [this] { dialog.push_back("moon"); };
        h.sendUsageCounter = [this] { request.SendUsageCounter(); };
        h.hideDialog = [this] { dialog.push_back("hide"); };
        h.showDialog = [this] { dialog.push_back("show"); };
        h.closeDialog = [this] { dialog.push_back("close"); };
        return h;
    }

    // Okay with the tree path written "Continent>Europe>France>Paris" (empty: nothing chosen).
    Outcome okay(const std::string& path, const std::string& zip = {})
    {
        choice.FormShow();
        return choice.btnOkayClick(split(path), zip);
    }

    // The request lines for pages of the conditions service (the usage counter left out).
    std::vector<std::string> pageRequests() const
    {
        std::vector<std::string> lines;
        for (const auto& head : emulator.requests()) {
            const std::string line = head.raw.left(head.raw.indexOf("\r\n")).toStdString();
            if (line.find("CirroluxCount") == std::string::npos)
                lines.push_back(line);
        }
        return lines;
    }

    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    test::RecordingConditionsView view;
    NoMenu menu;
    SharedState state;
    servicesim::ServiceEmulator emulator;
    TNMHTTP http;
    PresetList presets;
    ConditionsParser parser;
    ConditionsRequest request;
    ChooseLocation choice;
    std::vector<std::string> dialog; // hide, show, close and moon, in order
};

// Choices that end before anything is fetched.
struct StopCase
{
    const char* name;
    const char* path;
    const char* zip;
    Outcome outcome;
    std::vector<Event> events;
    std::vector<std::string> dialog;
};

class ChooseLocationStops : public ChooseLocationOkay,
                            public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(ChooseLocationStops, ShowTheirMessagesAndFetchNoPage)
{
    const StopCase& c = GetParam();
    EXPECT_EQ(okay(c.path, c.zip), c.outcome);
    EXPECT_EQ(ui.events(), c.events);
    EXPECT_EQ(dialog, c.dialog);
    EXPECT_EQ(pageRequests(), std::vector<std::string>{});
}

const Event Beep{Event::Kind::Beep, {}};
Event Message(const char* text)
{
    return {Event::Kind::Message, text};
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ChooseLocationStops,
    ::testing::Values(
        StopCase{"RootOnly",
                 "Continent",
                 "",
                 Outcome::Incomplete,
                 {Message("Error - please select a Continent."), Beep},
                 {}},
        StopCase{"ContinentOnly",
                 "Continent>Europe",
                 "",
                 Outcome::Incomplete,
                 {Message("Error - please select a Country."), Beep},
                 {}},
        StopCase{"CountryWithProvinces",
                 "Continent>North America>Canada",
                 "",
                 Outcome::Incomplete,
                 {Message("Error - please select a State."), Beep},
                 {}},
        StopCase{"NothingAtAll",
                 "",
                 "",
                 Outcome::NoLocation,
                 {Message("Error - parsing pathStr."), Beep,
                  Message("Please select your location for weather conditions.")},
                 {"hide", "show"}},
        StopCase{"OneCharacterZip",
                 "",
                 "0",
                 Outcome::NoLocation,
                 {Message("Error - parsing pathStr."), Beep,
                  Message("Please select your location for weather conditions.")},
                 {"hide", "show"}},
        // The lookup has no list for a group of that name; there is no station to fetch.
        StopCase{"UsStateAlone",
                 "Continent>North America>United States>Texas",
                 "",
                 Outcome::Closed,
                 {Message("Sorry, this foreign country info is not added yet...North America"),
                  Message("Error - missing data found. (Unit_location). State=United States (O)/ "
                          "City = / Country = North America")},
                 {"hide", "close"}},
        // A province without cities shifts like a country's city.
        StopCase{"ProvinceWithoutCities",
                 "Continent>North America>Canada>Yukon Territory",
                 "",
                 Outcome::Closed,
                 {Message("Sorry, this foreign country info is not added yet...North America"),
                  Message("Error - missing data found. (Unit_location). State=Canada (O)/ "
                          "City = / Country = North America")},
                 {"hide", "close"}},
        StopCase{"CityTheListLacks",
                 "Continent>Europe>France>Atlantis",
                 "",
                 Outcome::Closed,
                 {Message("Sorry, invalid City found for France:Atlantis"),
                  Message("Error - Invalid station:n/a")},
                 {"hide", "close"}}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return info.param.name; });

// Choices that fetch a page.
struct FetchCase
{
    const char* name;
    const char* path;
    const char* zip;
    const char* requestLine;
    const char* group;
    const char* state;
    std::vector<std::string> messages;
    const char* preset;
};

class ChooseLocationFetches : public ChooseLocationOkay,
                              public ::testing::WithParamInterface<FetchCase>
{
};

TEST_P(ChooseLocationFetches, RequestTheirPageAndAddTheirPreset)
{
    const FetchCase& c = GetParam();
    EXPECT_EQ(okay(c.path, c.zip), Outcome::Closed);
    EXPECT_EQ(pageRequests(), std::vector<std::string>{c.requestLine});
    EXPECT_EQ(state.locationGroup, c.group);
    EXPECT_EQ(state.locationState, c.state);
    std::vector<std::string> messages = c.messages;
    messages.push_back(std::string("Location added to Get_Stats presets: ") + c.preset);
    EXPECT_EQ(ui.texts(), messages);
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), c.preset);
    EXPECT_NE(parser.record().temperature, "n/a");
    EXPECT_EQ(dialog, (std::vector<std::string>{"hide", "moon", "close"}));
    EXPECT_EQ(state.requestSucceeded, "");
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ChooseLocationFetches,
    ::testing::Values(
        FetchCase{"FranceCity",
                  "Continent>Europe>France>Paris",
                  "",
                  "GET http://www.wunderground.com/global/stations/07149.html HTTP/1.0",
                  "Europe",
                  "France (O)",
                  {},
                  "Paris, France (O)"},
        FetchCase{"TexasCity",
                  "Continent>North America>United States>Texas>Austin",
                  "",
                  "GET http://www.wunderground.com/US/TX/Austin.html HTTP/1.0",
                  "United States",
                  "TX",
                  {},
                  "Austin, TX"},
        FetchCase{"AlbertaCity",
                  "Continent>North America>Canada>Alberta>Calgary Int. Arpt",
                  "",
                  "GET http://www.wunderground.com/global/stations/71877.html HTTP/1.0",
                  "Canada",
                  "Alberta (O)",
                  {},
                  "Calgary Int. Arpt, Alberta (O)"},
        // Written with "_" in the tree, with a space in the station table.
        FetchCase{"UnitedKingdomUnderscore",
                  "Continent>Europe>United Kingdom>Boscombe_Down",
                  "",
                  "GET http://www.wunderground.com/global/stations/03746.html HTTP/1.0",
                  "Europe",
                  "United Kingdom (O)",
                  {},
                  "Boscombe Down, United Kingdom (O)"},
        FetchCase{"ZipWinsOverTheTree",
                  "Continent>Europe>France>Paris",
                  "02134",
                  "GET http://www.wunderground.com/cgi-bin/findweather/getForecast?query=02134 "
                  "HTTP/1.0",
                  "",
                  "MA", // the preset step writes the page's state code
                  {},
                  "02134 - Boston, MA"}),
    [](const ::testing::TestParamInfo<FetchCase>& info) { return info.param.name; });

// Fewer than 5 characters and nothing chosen: the message, and the zip is still asked for.
TEST_F(ChooseLocationOkay, ShortZipAloneIsStillRequested)
{
    EXPECT_EQ(okay("", "0213"), Outcome::Closed);
    EXPECT_EQ(pageRequests(),
              std::vector<std::string>{
                  "GET http://www.wunderground.com/cgi-bin/findweather/getForecast?query=0213 "
                  "HTTP/1.0"});
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().front(), "Error - parsing pathStr.");
    EXPECT_EQ(state.locationZip, "0213");
}

TEST_F(ChooseLocationOkay, StatusTextsFollowTheTransferAndEndEmpty)
{
    okay("Continent>Europe>France>Paris");
    const auto& texts = view.statusTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "Attempting connection...");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Get Succeeded"), texts.end());
    // The parse, then the moon phase; then the usage counter's own transfer texts.
    const auto complete = std::find(texts.begin(), texts.end(), "Connection process complete...");
    ASSERT_NE(complete, texts.end());
    const auto moon = std::find(complete, texts.end(), "Processing moon phase image...");
    ASSERT_NE(moon, texts.end());
    ASSERT_NE(moon + 1, texts.end());
    EXPECT_EQ(*(moon + 1), "");
    EXPECT_EQ(state.counterSent, "Y");
}

// The usage counter runs after the page, once per run.
TEST_F(ChooseLocationOkay, UsageCounterFollowsTheFirstRequestOnly)
{
    okay("Continent>Europe>France>Paris");
    okay("Continent>Africa>Kenya>Nairobi");
    std::vector<std::string> lines;
    for (const auto& head : emulator.requests())
        lines.push_back(head.raw.left(head.raw.indexOf("\r\n")).toStdString());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "GET http://www.wunderground.com/global/stations/07149.html HTTP/1.0",
                         "GET http://www.cirrolux.net/assets/CirroluxCount.txt HTTP/1.0",
                         "GET http://www.wunderground.com/global/stations/63741.html HTTP/1.0"}));
}

// Another transfer leaves its success behind; an error reply here must not be parsed as a page.
TEST_F(ChooseLocationOkay, StaleSuccessOfAnotherTransferIsNotTakenForThisOne)
{
    state.requestSucceeded = "Y";
    emulator.queueReply(servicesim::EmulatorReply::make(404, "text/html", "<html>gone</html>"));
    okay("Continent>Europe>France>Paris");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Error retrieving data...(Unit_Location)"});
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "n/a");
    const auto& texts = view.statusTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Get Failed"), texts.end());
}

TEST_F(ChooseLocationOkay, RefusedWhileAnotherTransferRuns)
{
    emulator.queueReply(servicesim::EmulatorReply::make(200, "text/html", QByteArray(200, 'x')));
    Outcome nested = Outcome::Closed;
    bool tried = false;
    QObject::connect(&http, &TNMHTTP::OnConnect, &http, [&] {
        if (!std::exchange(tried, true))
            nested = choice.btnOkayClick(split("Continent>Africa>Kenya>Nairobi"), {});
    });
    okay("Continent>Europe>France>Paris");
    EXPECT_TRUE(tried);
    EXPECT_EQ(nested, Outcome::Refused);
    EXPECT_EQ(pageRequests().size(), 1u);
    EXPECT_EQ(ui.events().front(), Beep);
}

// A transfer error ends the command for the caller's guard; the next "&Okay" is not refused.
TEST_F(ChooseLocationOkay, TransferErrorEndsTheCommandAndLeavesNoTransferRunning)
{
    emulator.close();
    EXPECT_THROW(okay("Continent>Europe>France>Paris"), TransferError);
    EXPECT_EQ(dialog, std::vector<std::string>{"hide"});
    EXPECT_TRUE(ui.messages().empty());
    ASSERT_TRUE(emulator.listen());
    http.ProxyPort = emulator.port();
    EXPECT_EQ(okay("Continent>Europe>France>Paris"), Outcome::Closed);
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Paris, France (O)");
}

// A page cut off on the way ends the command as a transfer error does: no parse, no preset, and
// the readings on the window stay.
TEST_F(ChooseLocationOkay, PageCutShortEndsTheCommandWithItsError)
{
    view.showReading(ConditionsView::Reading::Temperature, "35\xB0"
                                                           "F ");
    servicesim::EmulatorReply cut =
        servicesim::EmulatorReply::make(200, "text/html", QByteArray(400, 'x'));
    cut.delivery = servicesim::EmulatorReply::Delivery::Short;
    cut.announcedLength = 4000;
    emulator.queueReply(cut);
    try {
        okay("Continent>Europe>France>Paris");
        FAIL() << "a cut page must end the command";
    } catch (const TransferError& error) {
        EXPECT_STREQ(error.what(), "Reply cut short");
    }
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(view.reading(ConditionsView::Reading::Temperature), "35\xB0"
                                                                  "F ");
    EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "n/a");
    EXPECT_FALSE(http.Busy());
}

TEST(ChooseLocationAddresses, PathAndAddressForms)
{
    EXPECT_EQ(ChooseLocation::PathStr({"Continent", "Europe", "France", "Paris"}),
              "Continent\\Europe\\France\\Paris\\");
    EXPECT_EQ(ChooseLocation::PathStr({}), "");
    EXPECT_EQ(ChooseLocation::UsUrl("TX", "San_Antonio"),
              "http://www.wunderground.com/US/TX/San_Antonio.html");
    EXPECT_EQ(ChooseLocation::StationUrl("08181"),
              "http://www.wunderground.com/global/stations/08181.html");
    EXPECT_EQ(ChooseLocation::ZipUrl("02134"),
              "http://www.wunderground.com/cgi-bin/findweather/getForecast?query=02134");
}
