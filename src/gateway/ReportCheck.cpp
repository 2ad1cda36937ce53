#include "gateway/ReportCheck.h"

#include "gateway/GatewayServer.h"
#include "gateway/LiveReports.h"
#include "net/ServiceAddresses.h"

#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace cirrolux::gateway {

namespace sa = cirrolux::ServiceAddresses;

namespace {

// The census lookups' fixed parts, as the forecast window writes them.
constexpr std::string_view kCensusTail =
    "/T=P1/T=P5/T=P6/T=P7/T=P13/T=P49/T=P50/T=P53/T=P54/T=P57/T=P78/T=P80/T=P80A/T=P114A/T=H5/"
    "T=H25/T=H43A/T=H61/T=H61A";

std::string nws(std::string_view page)
{
    return std::string(sa::NwsBase) + "iwin/MA/" + std::string(page);
}

} // namespace

std::vector<ReportCheckTarget> ReportCheckTargets()
{
    const std::string lookup(sa::CensusLookupBase);
    return {
        {"n", "Nowcast", nws("shortterm.html")},
        {"f", "Zone forecast", nws("zone.html")},
        {"h", "Hydrological data", nws("hydro.html")},
        {"p", "Public information", nws("public.html")},
        {"sw", "Special weather statements", nws("special.html")},
        {"w", "Warnings and advisories", nws("allwarnings.html")},
        {"ap", "Air pollution by state", std::string(sa::EpaBase) + "oar/oaqps/greenbk/aycl.html"},
        {"cw", "Crop weather by state",
         std::string(sa::UsdaNassBase) + "weather/cpcurr/ma-crop-weather"},
        {"s1", "Census detail by state",
         lookup +
             "cdrom/lookup/906005492=/906005506=/906005514=/906005522=/CMD=RET/"
             "DB=C90STF3C1/F0=FIPS.STATE/F1=STUB.GEO/FMT=HTML/LEV=STATE/SEL=25,Massachusetts" +
             std::string(kCensusTail)},
        {"s2", "Census detail by ZIP code",
         lookup +
             "cdrom/lookup/906003812=/906003889=/906003903=/906005246=/CMD=RET/"
             "DB=C90STF3B/F0=ZIP/FMT=HTML/LEV=ZIP/SEL=02134" +
             std::string(kCensusTail)},
        {"si", "Median household income by state",
         std::string(sa::CensusRanksBase) + "statab/ranks/pg20.txt"},
        {"ss", "State salary rankings", std::string(sa::CensusRanksBase) + "statab/ranks/pg18.txt"},
        {"eb", "Earthquake bulletin",
         std::string(sa::UsgsNeicBase) + "neis/bulletin/bulletin.html"},
        {"ci", "Country pages (Germany)",
         std::string(sa::FactbookSite) + std::string(sa::FactbookPath) + "gm.html"},
        {"usfi", "Fire report", std::string(sa::FireReportSite) + std::string(sa::FireReportPath)},
    };
}

std::vector<ReportCheckRow> RunReportCheck(GatewayServer& server,
                                           std::chrono::milliseconds deadline)
{
    const std::vector<ReportCheckTarget> targets = ReportCheckTargets();
    auto rows = std::make_shared<std::vector<ReportCheckRow>>();
    for (const ReportCheckTarget& target : targets)
        rows->push_back(ReportCheckRow{target, false, "no answer"});
    auto remaining = std::make_shared<std::size_t>(targets.size());
    QEventLoop loop;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const QByteArray head =
            QByteArray::fromStdString("GET " + targets[i].address + " HTTP/1.0\r\n\r\n");
        server.answer(head, [rows, remaining, i, &loop](const HttpReply& reply) {
            ReportCheckRow& row = (*rows)[i];
            const QByteArray state = reply.header(kReportStateHeader);
            if (!state.isEmpty()) {
                row.state = state.toStdString();
                row.live = state == "live";
            } else {
                // The NOAA zone pages and the honest "no live source" answers.
                row.live = reply.status == 200;
                row.state = row.live
                                ? std::string("live")
                                : "not live (" + std::to_string(reply.status) + " " +
                                      HttpReply::reasonPhrase(reply.status).toStdString() +
                                      (reply.reason.isEmpty() ? std::string()
                                                              : ": " + reply.reason.toStdString()) +
                                      ")";
            }
            if (--*remaining == 0)
                loop.quit();
        });
    }
    if (*remaining > 0) {
        QTimer::singleShot(deadline, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return *rows;
}

std::string ReportCheckTable(const std::vector<ReportCheckRow>& rows)
{
    std::string table;
    for (const ReportCheckRow& row : rows) {
        std::string line = row.target.mode;
        line.resize(6, ' ');
        std::string name = row.target.name;
        if (name.size() < 36)
            name.resize(36, ' ');
        table += line + name + "  " + row.state + "\n";
    }
    return table;
}

std::string ReportCheckSummary(const std::vector<ReportCheckRow>& rows)
{
    int modes = 0;
    int live = 0;
    bool countries = false;
    bool fire = false;
    for (const ReportCheckRow& row : rows) {
        if (row.target.mode == "ci")
            countries = row.live;
        else if (row.target.mode == "usfi")
            fire = row.live;
        else {
            ++modes;
            live += row.live ? 1 : 0;
        }
    }
    return std::to_string(live) + " of " + std::to_string(modes) + " modes live, country pages " +
           (countries ? "live" : "not live") + ", fire report " + (fire ? "live" : "not live");
}

} // namespace cirrolux::gateway
