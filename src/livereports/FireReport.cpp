#include "livereports/FireReport.h"

#include "livereports/FailurePage.h"
#include "livereports/PageText.h"
#include "pagelayout/HtmlText.h"

namespace cirrolux::livereports {

std::string FireReportPage(std::string_view reportText)
{
    const std::string latin = Utf8ToLatin1(reportText);
    if (Trimmed(latin).empty()) {
        return FailurePage(
            {"usfi", FailureKind::NothingIssued, {}, "the report it published holds no text"});
    }
    std::string body;
    bool pageBreak = false;
    for (const std::string_view line : Lines(latin)) {
        std::string text;
        for (const char c : line) {
            if (c == '\f') {
                pageBreak = true;
                continue;
            }
            const auto b = static_cast<unsigned char>(c);
            text += b < 0x20 || b == 0x7F ? ' ' : c;
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        if (pageBreak && !Trimmed(text).empty()) {
            while (body.ends_with("\n\n"))
                body.pop_back();
            body += "</pre>\n<hr>\n<pre>\n";
            pageBreak = false;
        }
        body += escapeHtml(text) + "\n";
    }
    while (body.ends_with("\n\n"))
        body.pop_back();
    return "<html>\n<head>\n<title>National Interagency Coordination Center - Incident Management "
           "Situation Report</title>\n</head>\n<body bgcolor=\"#FFFFFF\">\n"
           "<center><h2>Incident Management Situation Report</h2></center>\n<hr>\n<pre>\n" +
           body +
           "</pre>\n<hr>\n<p>Source: National Interagency Coordination Center, National "
           "Interagency Fire Center, Boise, Idaho (www.nifc.gov); text taken from the published "
           "PDF.</p>\n</body>\n</html>\n";
}

} // namespace cirrolux::livereports
