#include "webwindow/WebPageRetrieval.h"

#include "net/ServiceAddresses.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/SharedState.h"
#include "webwindow/CountryIndex.h"
#include "webwindow/ImageTags.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

namespace cirrolux {

namespace {

std::string factbook(const std::string& rest)
{
    return std::string(ServiceAddresses::FactbookSite) +
           std::string(ServiceAddresses::FactbookPath) + rest;
}

void removeIfThere(const std::string& fileName)
{
    const QString name = QString::fromLocal8Bit(fileName.data(), qsizetype(fileName.size()));
    if (QFile::exists(name))
        QFile::remove(name);
}

} // namespace

WebPageRetrieval::WebPageRetrieval(SharedState& state, TNMHTTP& http, WebPageView& view,
                                   CountryMapWindow* map)
    : m_state(state), m_http(http), m_view(view), m_map(map)
{
}

std::string WebPageRetrieval::CountryIndexUrl()
{
    return factbook("country.html");
}

std::string WebPageRetrieval::CountryPageUrl(const std::string& code)
{
    return factbook(code + ".html");
}

std::string WebPageRetrieval::FlagUrl(const std::string& code)
{
    return factbook("figures/" + code + "-t.gif");
}

std::string WebPageRetrieval::MapUrl(const std::string& code)
{
    return factbook("figures/" + code + "-150.gif");
}

std::string WebPageRetrieval::FireReportUrl()
{
    return std::string(ServiceAddresses::FireReportSite) +
           std::string(ServiceAddresses::FireReportPath);
}

void WebPageRetrieval::load_countries()
{
    m_state.webUrl = CountryIndexUrl();
    m_view.setStatusText("Retrieving information...");
    m_http.TimeOut = 60000;
    m_http.InputFileMode = false;
    m_http.OutputFileMode = false;
    m_http.HeaderInfo.Referer.clear();
    m_http.Get(m_state.webUrl);
    const std::string page = m_http.Body;
    m_view.setStatusText("Information Retrieval complete...");
    m_view.setStatusText("Parsing logic started...");
    m_view.setCountries({});
    m_view.setCountries(ParseCountryIndex(page));
}

bool WebPageRetrieval::btnGoClick()
{
    const bool countryMode = m_state.webMode == "ci";
    if (countryMode) {
        const std::string chosen = m_view.chosenCountry();
        const std::string code = chosen.substr(0, 2);
        // Only a code of the list reaches a file name or an address.
        if (!IsCountryCode(code))
            return false;
        m_state.countryCode = code;
        m_state.countryName = chosen.size() > 3 ? chosen.substr(3) : std::string();
        m_view.setTitle("Cirrolux - Country Information for " + m_state.countryName);
        download_images();
        m_state.webUrl = CountryPageUrl(m_state.countryCode);
    } else {
        m_state.webUrl = FireReportUrl();
    }
    m_view.setStatusText("Processing request...");

    m_state.imageFile = PageFile;
    // A page left by an earlier transfer must not pass for this one's.
    removeIfThere(PageFile);
    fetchToFile(m_state.webUrl, PageFile);
    if (!parse_imgsrcs(PageFile))
        throw CirroluxError(NoPageText);
    m_view.loadPage(PageFile);

    if (countryMode)
        show_images();
    m_view.setStatusText("Document Done...");
    removeIfThere(PageFile);
    if (countryMode) {
        removeIfThere(m_state.countryCode + "-t.gif");
        removeIfThere(m_state.countryCode + "-150.gif");
    }
    return true;
}

void WebPageRetrieval::fetchToFile(const std::string& url, const std::string& fileName)
{
    m_http.Body = fileName;
    m_http.TimeOut = 90000;
    m_http.InputFileMode = true;
    m_http.OutputFileMode = false;
    m_http.HeaderInfo.Referer.clear();
    m_http.Get(url);
}

void WebPageRetrieval::download_images()
{
    m_state.webUrl = FlagUrl(m_state.countryCode);
    m_view.setStatusText("Retrieving flag image...");
    m_state.imageFile = m_state.countryCode + "-t.gif";
    fetchToFile(m_state.webUrl, m_state.imageFile);
    m_view.setStatusText("Flag Image retrieval complete...");

    m_state.webUrl = MapUrl(m_state.countryCode);
    m_view.setStatusText("Retrieving Map image...");
    m_state.imageFile = m_state.countryCode + "-150.gif";
    fetchToFile(m_state.webUrl, m_state.imageFile);
    m_view.setStatusText("Map Image retrieval complete...");
}

void WebPageRetrieval::show_images()
{
    m_view.showFlag(m_state.countryCode + "-t.gif");
    m_state.imageFile = m_state.countryCode + "-150.gif";
    if (m_map)
        m_map->showCountryMap("Cirrolux - Country Map for " + m_state.countryName,
                              m_state.imageFile);
    m_view.bringToFront();
}

void WebPageRetrieval::btnStopClick()
{
    m_http.AbortTransfer();
    m_view.setStatusText("Retrieval Aborted...");
    QEventLoop wait;
    QTimer::singleShot(m_stopWait, &wait, &QEventLoop::quit);
    wait.exec();
}

} // namespace cirrolux
