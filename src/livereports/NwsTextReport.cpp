#include "livereports/NwsTextReport.h"

#include "livereports/FailurePage.h"
#include "livereports/PageText.h"

#include <algorithm>
#include <set>

namespace cirrolux::livereports {

namespace {

// The first <pre ...> block of a page, or nothing when the text is no page.
std::string_view preBlock(std::string_view fetched)
{
    std::size_t open = fetched.find("<pre");
    if (open == std::string_view::npos)
        open = fetched.find("<PRE");
    if (open == std::string_view::npos)
        return {};
    const std::size_t start = fetched.find('>', open);
    if (start == std::string_view::npos)
        return {};
    std::size_t end = fetched.find("</pre>", start);
    if (end == std::string_view::npos)
        end = fetched.find("</PRE>", start);
    return fetched.substr(start + 1,
                          end == std::string_view::npos ? std::string_view::npos : end - start - 1);
}

bool isSequenceNumber(std::string_view line)
{
    const std::string_view t = Trimmed(line);
    return t.size() == 3 &&
           std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string NwsProductText(std::string_view fetched)
{
    const std::string_view pre = preBlock(fetched);
    const std::string text = pre.data() != nullptr ? HtmlPreText(pre) : std::string(fetched);

    std::string out;
    bool first = true;
    bool afterMark = false; // a blank line after a dropped "&&" goes with it
    for (std::string_view line : Lines(text)) {
        std::string cleaned;
        for (const char c : line) {
            if (c == '\x01' || c == '\x03' || c == '\r')
                continue;
            cleaned += c;
        }
        cleaned = ReportSafe(cleaned);
        while (!cleaned.empty() && cleaned.back() == ' ')
            cleaned.pop_back();
        if (first && Trimmed(cleaned).empty())
            continue;
        if (first && isSequenceNumber(cleaned)) {
            first = false;
            continue;
        }
        first = false;
        if (Trimmed(cleaned) == "&&") {
            afterMark = out.ends_with("\n\n");
            continue;
        }
        if (afterMark && Trimmed(cleaned).empty()) {
            afterMark = false;
            continue;
        }
        afterMark = false;
        out += cleaned;
        out += '\n';
    }
    while (out.size() >= 2 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n')
        out.pop_back();
    if (out == "\n")
        out.clear();
    return out;
}

std::string NwsStatePage(std::string_view mode, const StateRow& state,
                         std::span<const NwsProduct> products)
{
    std::vector<std::string> texts;
    std::vector<std::string> offices;
    std::set<std::string> seen;
    for (const NwsProduct& product : products) {
        std::string text = NwsProductText(product.fetched);
        if (Trimmed(text).empty())
            continue;
        const std::string office = ReportSafe(product.office);
        if (std::find(offices.begin(), offices.end(), office) == offices.end())
            offices.push_back(office);
        if (seen.insert(text).second)
            texts.push_back(std::move(text));
    }
    if (texts.empty()) {
        return FailurePage({mode, FailureKind::NothingIssued, state.name,
                            "no office serving the state has issued one lately"});
    }
    const bool hydro = mode == "h";
    std::string body = std::string(hydro ? "Hydrological Data for " : "Public Information for ") +
                       std::string(state.name) + "\n";
    body += "National Weather Service product";
    body += texts.size() == 1 ? "" : "s";
    body += " from the office";
    body += offices.size() == 1 ? " " : "s ";
    for (std::size_t i = 0; i < offices.size(); ++i) {
        if (i > 0)
            body += i + 1 == offices.size() ? " and " : ", ";
        body += offices[i];
    }
    body += "\n\n";
    for (const std::string& text : texts)
        body += text + "\n";
    return ForecastPage(body,
                        "Source: NOAA National Weather Service text products (tgftp.nws.noaa.gov)");
}

} // namespace cirrolux::livereports
