#pragma once

#include "webwindow/WebPageView.h"

#include <chrono>
#include <functional>
#include <string>

namespace cirrolux {

class TNMHTTP;
class UserInterface;
struct SharedState;

// The transfers of the web page window: the country list, the country page with its flag and
// map, and the fire report, over the program's shared transfer component. Transfer errors are not
// caught here; they end the command in the caller's command guard.
class WebPageRetrieval
{
public:
    // The page file in the working directory.
    static constexpr const char* PageFile = "temp.html";
    // Shown when a page transfer left no page file to show.
    static constexpr const char* NoPageText = "Error retrieving document.  Please try again later.";

    // All references must outlive this object; `map` may be null (no image window).
    WebPageRetrieval(SharedState& state, TNMHTTP& http, WebPageView& view, CountryMapWindow* map);

    void setMapWindow(CountryMapWindow* map) { m_map = map; }
    CountryMapWindow* mapWindow() const { return m_map; }
    // How long "&Stop" waits after the abort; the window stays responsive meanwhile.
    void setStopWait(std::chrono::milliseconds wait) { m_stopWait = wait; }

    // Fetches the country index and fills the list.
    void load_countries();
    // "&Go" (and "&Reload", and "usfi" at once): fetches and shows the page of the mode.
    // In "ci" mode a choice that is not a country of the list does nothing and returns false.
    bool btnGoClick();
    void download_images();
    void show_images();
    // "&Stop": aborts the transfer under way and waits.
    void btnStopClick();

    // Addresses of the two sites.
    static std::string CountryIndexUrl();
    static std::string CountryPageUrl(const std::string& code);
    static std::string FlagUrl(const std::string& code);
    static std::string MapUrl(const std::string& code);
    static std::string FireReportUrl();

private:
    // One transfer with the body written to `fileName`.
    void fetchToFile(const std::string& url, const std::string& fileName);

    SharedState& m_state;
    TNMHTTP& m_http;
    WebPageView& m_view;
    CountryMapWindow* m_map;
    std::chrono::milliseconds m_stopWait{1000};
};

} // namespace cirrolux
