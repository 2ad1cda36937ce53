#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace cirrolux::gateway {

class GatewayServer;

// One report the check asks the gateway for, as the program asks for it (Boston, MA; the state
// list's Massachusetts; ZIP code 02134).
struct ReportCheckTarget
{
    std::string mode; // forecast window mode, "ci" or "usfi"
    std::string name; // "Earthquake bulletin"
    std::string address;
};

struct ReportCheckRow
{
    ReportCheckTarget target;
    bool live = false;
    std::string state; // "live", "failed (HTTP status 500)", "no key", ...
};

// The forecast window's 13 modes, the country index and the fire report.
std::vector<ReportCheckTarget> ReportCheckTargets();

// Asks `server` for every target (its sources fetched as for the program) and waits for the
// answers, at most `deadline` in all; a target not answered by then is "no answer".
std::vector<ReportCheckRow> RunReportCheck(GatewayServer& server,
                                           std::chrono::milliseconds deadline);

// The rows as a table, one line each, and the summary line: "N of 13 modes live, country pages
// live, fire report live" ("not live" where a source did not answer).
std::string ReportCheckTable(const std::vector<ReportCheckRow>& rows);
std::string ReportCheckSummary(const std::vector<ReportCheckRow>& rows);

} // namespace cirrolux::gateway
