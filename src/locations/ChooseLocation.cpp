#include "locations/ChooseLocation.h"

#include "locations/LocationCatalogue.h"
#include "net/ServiceAddresses.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/ScopeExit.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"

namespace cirrolux {

namespace {

constexpr const char* Referer = "Cirrolux by Tallowmere";

void run(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// The elements of a path text, without the empty one after the last "\".
std::vector<std::string> splitPath(const std::string& pathStr)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin < pathStr.size()) {
        const std::size_t end = pathStr.find('\\', begin);
        if (end == std::string::npos) {
            parts.push_back(pathStr.substr(begin));
            break;
        }
        parts.push_back(pathStr.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

} // namespace

ChooseLocation::ChooseLocation(SharedState& state, UserInterface& ui, TNMHTTP& http, Hooks hooks)
    : m_state(state), m_ui(ui), m_http(http), m_hooks(std::move(hooks))
{
    if (!m_hooks.lookupStation)
        m_hooks.lookupStation = &LookupStation;
}

void ChooseLocation::FormShow()
{
    m_state.locationGroup.clear();
    m_state.locationState.clear();
    m_state.locationCity.clear();
    m_state.locationZip.clear();
}

std::string ChooseLocation::PathStr(const std::vector<std::string>& path)
{
    std::string text;
    for (const std::string& node : path)
        text += node + "\\";
    return text;
}

std::string ChooseLocation::ZipUrl(const std::string& zip)
{
    return std::string(ServiceAddresses::ConditionsBase) +
           "cgi-bin/findweather/getForecast?query=" + zip;
}

std::string ChooseLocation::UsUrl(const std::string& stateCode, const std::string& city)
{
    return std::string(ServiceAddresses::ConditionsBase) + "US/" + stateCode + "/" + city + ".html";
}

std::string ChooseLocation::StationUrl(const std::string& station)
{
    return std::string(ServiceAddresses::ConditionsBase) + "global/stations/" + station + ".html";
}

ChooseLocation::Outcome ChooseLocation::btnOkayClick(const std::vector<std::string>& path,
                                                     const std::string& zip)
{
    // One transfer at a time on the shared component, as for a preset click.
    if (m_running || m_http.Busy()) {
        m_ui.beep();
        return Outcome::Refused;
    }
    m_running = true;
    const ScopeExit notRunning([this] { m_running = false; });

    const std::string pathStr = PathStr(path);
    if (pathStr.find('\\', 1) == std::string::npos) {
        if (zip.size() < 5)
            m_ui.showMessage("Error - parsing pathStr.");
    } else {
        std::vector<std::string> parts = splitPath(pathStr);
        parts.erase(parts.begin()); // the root "Continent"
        const auto part = [&](std::size_t i) {
            return i < parts.size() ? parts[i] : std::string();
        };
        const struct
        {
            std::string* target;
            const char* missing;
        } levels[] = {
            {&m_state.locationContinent, "Error - please select a Continent."},
            {&m_state.locationGroup, "Error - please select a Country."},
            {&m_state.locationState, "Error - please select a State."},
        };
        for (std::size_t i = 0; i < std::size(levels); ++i) {
            *levels[i].target = part(i);
            if (levels[i].target->empty()) {
                m_ui.showMessage(levels[i].missing);
                m_ui.beep();
                return Outcome::Incomplete;
            }
        }
        if (parts.size() > 3) {
            m_state.locationCity = parts[3];
        } else {
            // A city directly under its country, as everywhere outside North America.
            m_state.locationCity = m_state.locationState;
            m_state.locationState = m_state.locationGroup;
            m_state.locationGroup = m_state.locationContinent;
        }
    }

    ConvertStateName(m_state);

    if (zip.size() >= 2) {
        m_state.locationZip = zip;
        m_state.locationCity = zip;
        m_state.locationState = ".";
        m_state.locationGroup.clear();
    } else {
        m_state.locationZip.clear();
    }

    run(m_hooks.hideDialog);

    if (m_state.locationState.empty() || m_state.locationCity.empty()) {
        m_ui.beep();
        m_ui.showMessage("Please select your location for weather conditions.");
        run(m_hooks.showDialog);
        run(m_hooks.sendUsageCounter);
        return Outcome::NoLocation;
    }

    fetch();
    run(m_hooks.sendUsageCounter);
    run(m_hooks.closeDialog);
    return Outcome::Closed;
}

void ChooseLocation::fetch()
{
    repaintMain();
    m_http.TimeOut = 60000;
    m_http.InputFileMode = false;
    m_http.OutputFileMode = false;
    m_http.ReportLevel = 2;

    std::string url;
    if (!m_state.locationZip.empty()) {
        url = ZipUrl(m_state.locationZip);
    } else if (m_state.locationGroup == "United States") {
        url = UsUrl(m_state.locationState, m_state.locationCity);
    } else {
        m_state.locationState += " (O)";
        // The tree writes a few foreign names with "_" for spaces; the station table has spaces.
        for (char& c : m_state.locationCity) {
            if (c == '_')
                c = ' ';
        }
        m_hooks.lookupStation(m_state, m_ui);
        m_state.locationCity = m_state.stationNumber;
        if (m_state.locationCity == "n/a") {
            m_ui.showMessage("Error - Invalid station:" + m_state.locationCity);
            return;
        }
        // No station number (the lookup has said why): there is no page to ask for.
        if (m_state.locationCity.empty()) {
            missingData();
            return;
        }
        url = StationUrl(m_state.locationCity);
    }
    m_state.requestUrl = url;

    status("Attempting connection...");
    m_http.HeaderInfo.Referer = Referer;
    // Other transfers leave their success behind; only this one's may count.
    m_state.requestSucceeded.clear();
    m_http.Get(url);
    const std::string page = m_http.Body;
    // Half a page would blank the readings it no longer holds: end as a transfer error does.
    if (m_state.requestSucceeded == "Y" && m_http.BodyCutShort())
        throw TransferError(TNMHTTP::CutShortText);
    status("Connection process complete...");
    repaintMain();

    if ((m_state.locationState.empty() || m_state.locationCity.empty()) &&
        m_state.locationZip.empty()) {
        missingData();
        return;
    }

    if (m_state.requestSucceeded == "Y") {
        if (m_hooks.parseConditionsPage)
            m_hooks.parseConditionsPage(page);
    } else {
        m_ui.showMessage("Error retrieving data...(Unit_Location)");
    }
    m_state.requestSucceeded.clear();
    repaintMain();
    run(m_hooks.completeHeatIndex);
    run(m_hooks.completeWindChill);
    status("Processing moon phase image...");
    run(m_hooks.updateMoonPhase);
    status("");
    repaintMain();
}

void ChooseLocation::missingData()
{
    m_ui.showMessage("Error - missing data found. (Unit_location). State=" + m_state.locationState +
                     "/ City = " + m_state.locationCity + "/ Country = " + m_state.locationGroup);
}

void ChooseLocation::status(const std::string& text)
{
    if (m_hooks.setStatus)
        m_hooks.setStatus(text);
}

void ChooseLocation::repaintMain()
{
    run(m_hooks.repaintMain);
}

} // namespace cirrolux
