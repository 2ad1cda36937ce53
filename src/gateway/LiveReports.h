#pragma once

#include "gateway/BoundedCache.h"
#include "gateway/UpstreamFetcher.h"
#include "httpserver/HttpReply.h"
#include "httpserver/HttpRequestHead.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cirrolux::gateway {

// Where the live reports come from and what they need.
struct ReportSettings
{
    // Every live address "https://host/path?query" is fetched as upstream + "/" + host +
    // path + query instead (a fake upstream for tests and --check); empty: the live sources.
    QString upstream;
    // The Census Data API key (free); empty: the census modes show how to get one. Never
    // logged, never written into a page or an error text.
    QString censusKey;

    // CIRROLUX_GATEWAY_REPORTS and CIRROLUX_CENSUS_KEY from the environment.
    static ReportSettings fromEnvironment();
    // The address actually fetched for a live address.
    QUrl fetched(const QString& liveAddress) const;
    // The base addresses transfers may be redirected within (UpstreamSettings::reportBases).
    QStringList bases() const;
};

// A request for one of the reports served from sources beyond NOAA's zone files.
struct ReportRequest
{
    std::string mode;    // forecast window mode ("eb", "p", ...), "ci" or "usfi"
    std::string subject; // state code "MA", ZIP code "02134", Factbook code "gm" or "" (index)
};

// The report a request head asks for (host lower case, path with query); nothing for any other
// address (the Factbook's pictures included: they have no live source).
std::optional<ReportRequest> ReportRequestOf(std::string_view host, std::string_view path);

// The reply header saying how a report page came about, for --check and whoever looks (the
// program ignores it): "live", "cached (why)", "failed (why)", "no key", "out of season",
// "nothing chosen".
inline constexpr const char* kReportStateHeader = "X-Cirrolux-Report";
HttpReply ReportReply(const std::string& page, const QByteArray& state);

// How long a mode's page stays fresh.
std::chrono::seconds ReportMaxAge(std::string_view mode);

// The live addresses a request's page is built from. `alternatives`: tried in order until one
// answers (the newest year first); otherwise every address is a part of the page.
struct ReportSources
{
    std::vector<QString> addresses;
    bool alternatives = false;
};
ReportSources SourcesOf(const ReportRequest& request, const QDate& today,
                        const ReportSettings& settings);

// The forecast offices whose products make up a state's "p" and "h" pages.
std::span<const std::string_view> OfficesOfState(std::string_view stateCode);

// Answers the report requests: fetches the live source files through the gateway's reports
// lane, builds the page with src/livereports and keeps it for its mode's lifetime (bounded by
// entries and bytes). Stale pages are refreshed with a conditional request; when a source
// fails, the last page built is served, and with none the honest failure page.
class LiveReports : public QObject
{
    Q_OBJECT
public:
    using Send = std::function<void(const HttpReply&)>;
    using Clock = std::function<QDateTime()>;

    LiveReports(UpstreamFetcher& fetcher, Clock clock, ReportSettings settings,
                QObject* parent = nullptr);

    // Takes the request when it is one of the reports (true), and sends its page now or once
    // the sources are in.
    bool answer(const HttpRequestHead& request, const Send& send);

    const ReportSettings& settings() const { return m_settings; }
    std::size_t pages() const { return m_pages.size(); }
    void setLimits(std::size_t maxEntries, std::size_t maxBytes)
    {
        m_pages.setLimits(maxEntries, maxBytes);
    }

    // The page for `request` from the fetched files, in the order of SourcesOf (an empty file:
    // not fetched); empty text when nothing could be built.
    static std::string buildPage(const ReportRequest& request,
                                 const std::vector<std::string>& files, const QDateTime& now);

private:
    struct Page
    {
        std::string body;
        QDateTime builtAt;
        Validators validators; // single-source pages only
        QString address;       // the address it came from (alternatives: the one that answered)
    };
    struct Fetch; // one page being fetched

    void start(const ReportRequest& request, const std::string& key);
    void fetchAlternative(std::shared_ptr<Fetch> fetch, std::size_t next);
    void finish(const std::shared_ptr<Fetch>& fetch, std::string page, const QString& error);
    std::string failurePage(const ReportRequest& request, const QString& error) const;
    std::string withoutKey(QString text) const;

    UpstreamFetcher& m_fetcher;
    Clock m_clock;
    ReportSettings m_settings;
    BoundedCache<Page> m_pages;
    // Pages being fetched, with everyone waiting for them.
    std::unordered_map<std::string, std::vector<Send>> m_waiting;
};

} // namespace cirrolux::gateway
