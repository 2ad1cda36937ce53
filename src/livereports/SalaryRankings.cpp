#include "livereports/SalaryRankings.h"

#include "livereports/FailurePage.h"
#include "livereports/PageText.h"
#include "livereports/StateTable.h"

#include <algorithm>

namespace cirrolux::livereports {

namespace {

bool isWholeNumber(std::string_view text)
{
    return !text.empty() && text.size() <= 12 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string SalaryRankingsPage(std::string_view qcewCsv)
{
    const auto records = CsvRecords(qcewCsv);
    const auto failed = [](std::string_view why) {
        return FailurePage({"ss", FailureKind::SourceFailed, {}, why});
    };
    if (records.empty())
        return failed("the QCEW file is empty");
    const std::vector<std::string>& header = records.front();
    const auto column = [&header](std::string_view name) {
        const auto it = std::find(header.begin(), header.end(), name);
        return it == header.end() ? std::size_t(-1) : std::size_t(it - header.begin());
    };
    const std::size_t area = column("area_fips");
    const std::size_t own = column("own_code");
    const std::size_t level = column("agglvl_code");
    const std::size_t pay = column("avg_annual_pay");
    const std::size_t yearColumn = column("year");
    if (area == std::size_t(-1) || own == std::size_t(-1) || level == std::size_t(-1) ||
        pay == std::size_t(-1))
        return failed("the QCEW file lacks the fields of its published layout");

    struct Entry
    {
        std::string_view name;
        long long pay;
    };
    std::vector<Entry> entries;
    long long national = -1;
    std::string year;
    const std::size_t needed = std::max({area, own, level, pay});
    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::vector<std::string>& row = records[r];
        if (row.size() <= needed || row[own] != "0" || !isWholeNumber(row[pay]))
            continue;
        if (year.empty() && yearColumn < row.size() && isWholeNumber(row[yearColumn]))
            year = row[yearColumn];
        if (row[level] == "10" && row[area] == "US000") {
            national = std::stoll(row[pay]);
            continue;
        }
        if (row[level] != "50" || row[area].size() != 5 || !row[area].ends_with("000"))
            continue;
        if (const StateRow* state = FindStateByFips(std::string_view(row[area]).substr(0, 2)))
            entries.push_back({state->name, std::stoll(row[pay])});
    }
    if (entries.empty())
        return failed("the QCEW file has no state rows");
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.pay != b.pay ? a.pay > b.pay : a.name < b.name;
    });

    std::string body = "Average Annual Pay by State" + (year.empty() ? "" : ", " + year) + "\n" +
                       "[In dollars; all industries, all ownerships]\n\n";
    if (national >= 0)
        body += "      " + PadRight("United States", 20) + "  " +
                PadLeft(WithCommas(std::to_string(national)), 9) + "\n\n";
    body += "Rank  State                    Amount\n"
            "----  --------------------  ---------\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        body += PadLeft(std::to_string(i + 1), 4) + "  " + PadRight(entries[i].name, 20) + "  " +
                PadLeft(WithCommas(std::to_string(entries[i].pay)), 9) + "\n";
    }
    return ForecastPage(body, "Source: U.S. Bureau of Labor Statistics, Quarterly Census of "
                              "Employment and Wages (www.bls.gov/cew/)");
}

} // namespace cirrolux::livereports
