#include "conditions/ConditionsRequest.h"

#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsView.h"
#include "locations/LocationCatalogue.h"
#include "net/ServiceAddresses.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/ScopeExit.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"

#include <QFile>
#include <QTimer>

#include <array>

namespace cirrolux {

namespace {

constexpr const char* Referer = "Cirrolux by Tallowmere";
constexpr const char* RestingText = "Thank you for using Cirrolux...";

constexpr std::array<const char*, 13> CommandNames{"Get",    "Options", "Head",   "Post",   "Put",
                                                   "Patch",  "Copy",    "Move",   "Delete", "Link",
                                                   "UnLink", "Trace",   "Wrapped"};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string CommandSuccessText(int command)
{
    if (command < 0 || command >= int(CommandNames.size()))
        return {};
    return std::string(CommandNames[std::size_t(command)]) + " Succeeded";
}

std::string CommandFailureText(int command)
{
    if (command < 0 || command >= int(CommandNames.size()))
        return {};
    return std::string(CommandNames[std::size_t(command)]) + " Failed";
}

ConditionsRequest::ConditionsRequest(SharedState& state, UserInterface& ui, ConditionsView& view,
                                     TNMHTTP& http, ConditionsParser& parser, Hooks hooks,
                                     QObject* parent)
    : QObject(parent), m_state(state), m_ui(ui), m_view(view), m_http(http), m_parser(parser),
      m_hooks(std::move(hooks))
{
    if (!m_hooks.lookupStation)
        m_hooks.lookupStation = &LookupStation;
    if (!m_hooks.stateNameToCode)
        m_hooks.stateNameToCode = &StateNameToCode;

    connect(&m_http, &TNMHTTP::OnConnect, this, &ConditionsRequest::NMHTTP1Connect);
    connect(&m_http, &TNMHTTP::OnAboutToSend, this, &ConditionsRequest::NMHTTP1AboutToSend);
    connect(&m_http, &TNMHTTP::OnAuthenticationNeeded, this,
            &ConditionsRequest::NMHTTP1AuthenticationNeeded);
    connect(&m_http, &TNMHTTP::OnConnectionFailed, this,
            &ConditionsRequest::NMHTTP1ConnectionFailed);
    connect(&m_http, &TNMHTTP::OnDisconnect, this, &ConditionsRequest::NMHTTP1Disconnect);
    connect(&m_http, &TNMHTTP::OnFailure, this, &ConditionsRequest::NMHTTP1Failure);
    connect(&m_http, &TNMHTTP::OnHostResolved, this, &ConditionsRequest::NMHTTP1HostResolved);
    connect(&m_http, &TNMHTTP::OnInvalidHost, this, &ConditionsRequest::NMHTTP1InvalidHost);
    connect(&m_http, &TNMHTTP::OnPacketRecvd, this, &ConditionsRequest::NMHTTP1PacketRecvd);
    connect(&m_http, &TNMHTTP::OnPacketSent, this, &ConditionsRequest::NMHTTP1PacketSent);
    connect(&m_http, &TNMHTTP::OnRedirect, this, &ConditionsRequest::NMHTTP1Redirect);
    connect(&m_http, &TNMHTTP::OnStatus, this, &ConditionsRequest::NMHTTP1Status);
    connect(&m_http, &TNMHTTP::OnSuccess, this, &ConditionsRequest::NMHTTP1Success);
    m_pendingDelete = new QTimer(this);
    m_pendingDelete->setSingleShot(true);
    connect(m_pendingDelete, &QTimer::timeout, this, [this] {
        if (!m_http.Busy() && QFile::exists(m_pendingDeleteFile))
            QFile::remove(m_pendingDeleteFile);
    });
    connect(&m_http, &TNMHTTP::OnConnect, m_pendingDelete, &QTimer::stop);
}

bool ConditionsRequest::Get_the_Stats()
{
    if (m_running || m_http.Busy())
        return false;
    m_running = true;
    const ScopeExit notRunning([this] { m_running = false; });

    SendUsageCounter();

    if (m_state.removeLocationMode == "Y") {
        if (m_hooks.rebuildPresets)
            m_hooks.rebuildPresets();
        m_state.removeLocationMode.clear();
        return true;
    }

    SplitLocationKey(m_state, m_hooks.stateNameToCode);

    m_http.TimeOut = 60000;
    m_http.InputFileMode = false;
    m_http.OutputFileMode = false;
    m_http.ReportLevel = 4;

    const std::string url = BuildRequestUrl();
    if (url.empty())
        return true;
    m_state.requestUrl = url;

    m_http.HeaderInfo.Referer = Referer;
    m_http.Get(m_state.requestUrl);
    const std::string page = m_http.Body;
    // A reply that ended before the length it announced was cut off on the way (a reset, a
    // dropped line); parsing half a page would blank the readings the page no longer holds.
    if (m_state.requestSucceeded == "Y" && m_http.BodyCutShort())
        throw TransferError(TNMHTTP::CutShortText);

    setStatus("Connection process complete...");
    if (m_hooks.repaint)
        m_hooks.repaint();

    if (m_state.requestSucceeded == "Y") {
        const ConditionsRecord previous = m_parser.record();
        m_parser.ParseConditionsPage(page);
        if (m_parser.observationFound()) {
            m_parser.CompleteHeatIndex();
            m_parser.CompleteWindChill();
        } else {
            // Not a conditions page at all (an error page, a binary file): the parser has said
            // so; the last good readings stay on the window.
            m_parser.restoreReadings(previous);
        }
    } else {
        setStatus("Error retrieving data...");
    }

    m_state.requestSucceeded.clear();
    m_state.currentLocationKey.clear();

    setStatus("Processing moon phase image...");
    if (m_hooks.updateMoonPhase)
        m_hooks.updateMoonPhase();
    setStatus(RestingText);
    return true;
}

void ConditionsRequest::SendUsageCounter()
{
    // Another transfer (an image, say) owns the component: leave its settings alone and count
    // this run next time.
    if (m_http.Busy())
        return;
    if (m_state.counterSent != "Y") {
        m_state.counterSent = "Y";
        m_http.TimeOut = 12000;
        m_http.InputFileMode = false;
        m_http.OutputFileMode = false;
        m_http.ReportLevel = 0;
        m_http.HeaderInfo.Referer = Referer;
        m_http.Get(std::string(ServiceAddresses::MakerSite) +
                   std::string(ServiceAddresses::UsageCounterPath));
    }
    m_state.requestSucceeded.clear();
    m_http.TimeOut = 90000;
    m_http.ReportLevel = 2;
}

void ConditionsRequest::SplitLocationKey(SharedState& state,
                                         const std::function<void(SharedState&)>& stateNameToCode)
{
    state.locationGroup.clear();
    state.locationState.clear();
    const std::string& key = state.currentLocationKey;
    const std::size_t comma = key.find(',');
    // Text from the second character after the comma; empty when there is no comma.
    const std::string afterComma = comma == std::string::npos || comma + 2 > key.size()
                                       ? std::string()
                                       : key.substr(comma + 2);

    if (!key.empty() && isDigit(key.front())) {
        state.locationZip = key.substr(0, 5);
        state.locationState = afterComma;
        return;
    }

    state.locationZip.clear();
    state.locationCity = comma == std::string::npos ? key : key.substr(0, comma);
    state.locationState = afterComma;

    const std::size_t paren = key.find('(');
    const bool foreign = paren != std::string::npos && paren >= 1;
    if (foreign) {
        for (char& c : state.locationCity) {
            if (c == '_')
                c = ' ';
        }
        const std::size_t stateParen = state.locationState.find('(');
        state.locationState = state.locationState.substr(0, stateParen) + "(O)";
        return;
    }

    state.locationGroup = "US";
    for (char& c : state.locationCity) {
        if (c == ' ')
            c = '_';
    }
    if (state.locationState.size() > 2) {
        state.locationTitle = state.locationCity + "," + state.locationState;
        if (stateNameToCode)
            stateNameToCode(state);
        state.locationState = state.stateCode;
    }
}

std::string ConditionsRequest::BuildRequestUrl()
{
    const std::string base(ServiceAddresses::ConditionsBase);
    if (m_state.locationZip.size() >= 2)
        return base + "cgi-bin/findweather/getForecast?query=" + m_state.locationZip;
    if (m_state.locationGroup == "US")
        return base + "US/" + m_state.locationState + "/" + m_state.locationCity + ".html";

    m_hooks.lookupStation(m_state, m_ui);
    m_state.locationCity = m_state.stationNumber;
    if (m_state.locationCity.size() < 2) {
        m_ui.showMessage("Error in Unit1 - Invalid city:" + m_state.locationCity);
        return {};
    }
    if (m_state.locationCity == "n/a") {
        m_ui.showMessage("Error - Invalid city:" + m_state.locationCity);
        return {};
    }
    return base + "global/stations/" + m_state.locationCity + ".html";
}

void ConditionsRequest::mnuAbortconnectionClick()
{
    m_http.AbortTransfer();
    setStatus("Connection Aborted...");
    if (m_hooks.repaint)
        m_hooks.repaint();
    // The waiting transfer ends by itself with its cancel error; a half-written image file is
    // removed once it has had time to close.
    // A transfer started before then (a retry of the same image) owns the file again, and the
    // pending removal is dropped.
    m_pendingDeleteFile = QString::fromLocal8Bit(m_state.imageFile);
    if (!m_pendingDeleteFile.isEmpty())
        m_pendingDelete->start(PendingDeleteMs);
}

void ConditionsRequest::setStatus(const std::string& text)
{
    m_view.setStatusText(text);
}

void ConditionsRequest::report(const std::string& text, bool forecastMayOwn)
{
    if (forecastMayOwn && !m_state.forecastMode.empty())
        m_view.setForecastStatusText(text);
    else
        m_view.setStatusText(text);
}

void ConditionsRequest::NMHTTP1Connect()
{
    report("Connected...", true);
}

void ConditionsRequest::NMHTTP1AboutToSend()
{
    report("Sending request...", true);
}

void ConditionsRequest::NMHTTP1AuthenticationNeeded()
{
    report("Authentication needed...", true);
}

void ConditionsRequest::NMHTTP1ConnectionFailed()
{
    report("Connection Failed...", true);
}

void ConditionsRequest::NMHTTP1Disconnect()
{
    report("Disconnected...", true);
}

void ConditionsRequest::NMHTTP1Failure(int command)
{
    const std::string text = CommandFailureText(command);
    if (!text.empty())
        report(text, false);
}

void ConditionsRequest::NMHTTP1HostResolved()
{
    report("Host resolved...", true);
}

void ConditionsRequest::NMHTTP1InvalidHost(bool& /*handled*/)
{
    report("Invalid host...", true);
}

void ConditionsRequest::NMHTTP1PacketRecvd()
{
    const std::string received = std::to_string(m_http.ReceivedCount());
    if (m_http.ExpectedLength() > 0)
        report(received + " of " + std::to_string(m_http.ExpectedLength()) + " bytes retrieved",
               true);
    else
        report(received + " bytes retrieved...", true);
}

void ConditionsRequest::NMHTTP1PacketSent()
{
    report("Packet sent...", false);
}

void ConditionsRequest::NMHTTP1Redirect(bool& /*handled*/)
{
    report("Redirected...", true);
}

void ConditionsRequest::NMHTTP1Status(const std::string& status)
{
    report("Status = " + status, true);
    if (m_http.ReplyStatus() == 404)
        m_view.setStatusText("Error 404 - Object Not Found");
}

void ConditionsRequest::NMHTTP1Success(int command)
{
    report(CommandSuccessText(command), true);
    m_state.requestSucceeded = "Y";
}

} // namespace cirrolux
