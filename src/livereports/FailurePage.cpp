#include "livereports/FailurePage.h"

#include "livereports/PageText.h"
#include "pagelayout/HtmlText.h"

namespace cirrolux::livereports {

namespace {

struct ModeWords
{
    std::string_view mode;
    std::string_view report;
    std::string_view source;
};

constexpr ModeWords Words[] = {
    {"p", "public information statements", "the National Weather Service"},
    {"h", "hydrological data", "the National Weather Service"},
    {"ap", "air pollution levels", "the EPA Green Book"},
    {"cw", "crop weather report", "USDA NASS"},
    {"s1", "census detail by state", "the U.S. Census Bureau"},
    {"s2", "census detail by zip", "the U.S. Census Bureau"},
    {"si", "median household income by state", "the U.S. Census Bureau"},
    {"ss", "state salary rankings", "the Bureau of Labor Statistics"},
    {"eb", "earthquake bulletin", "the U.S. Geological Survey"},
    {"ci", "country information", "the World Factbook archive"},
    {"usfi", "fire/acreage incident report", "the National Interagency Fire Center"},
};

const ModeWords* wordsOf(std::string_view mode)
{
    for (const ModeWords& w : Words) {
        if (w.mode == mode)
            return &w;
    }
    return nullptr;
}

bool isWarningMode(std::string_view mode)
{
    return mode == "p" || mode == "h" || mode == "ap";
}

// Plain words for any page: no markup, no ampersand, no "http://" that would end a table report.
std::string plain(std::string_view text)
{
    std::string out = WithoutHttpPrefix(ReportSafe(text));
    std::erase_if(out, [](char c) { return c == '&' || c == '>'; });
    for (char& c : out) {
        if (c == '\n')
            c = ' ';
    }
    return out;
}

std::string forSubject(std::string_view subject)
{
    return subject.empty() ? std::string() : " for " + plain(subject);
}

constexpr std::string_view CensusKeyHelp =
    "Census information comes from the U.S. Census Bureau's Data API, which since May 2026\n"
    "answers only requests that carry a key. The key is free:\n"
    "\n"
    "  1. Ask for one at api.census.gov/data/key_signup.html (one key per e-mail\n"
    "     address); it comes by e-mail within minutes.\n"
    "  2. Give it to the Cirrolux gateway, either with the option\n"
    "         cirrolux-gateway --census-key YOUR-KEY\n"
    "     or in the gateway's environment as\n"
    "         CIRROLUX_CENSUS_KEY=YOUR-KEY\n"
    "  3. Restart the gateway and open this report again.\n"
    "\n"
    "The gateway keeps the key to itself: it is never written into a page or a log.";

} // namespace

std::string_view ReportName(std::string_view mode)
{
    const ModeWords* w = wordsOf(mode);
    return w ? w->report : std::string_view("report");
}

std::string_view SourceName(std::string_view mode)
{
    const ModeWords* w = wordsOf(mode);
    return w ? w->source : std::string_view("its source");
}

bool IsSourceFailurePage(std::string_view mode, std::string_view page)
{
    if (mode == "p" || mode == "h")
        return false;
    // The air quality table has one honest page, for a source it could not read.
    const std::string_view words =
        isWarningMode(mode) ? " not currently available" : " could not be fetched from ";
    return page.find(words) != std::string_view::npos;
}

std::string FailurePage(const ReportFailure& failure)
{
    const std::string report(ReportName(failure.mode));
    const std::string source(SourceName(failure.mode));
    const std::string detail = plain(failure.detail);
    const std::string why = detail.empty() ? std::string() : " (" + detail + ")";

    if (failure.mode == "ci" || failure.mode == "usfi") {
        const std::string title =
            failure.mode == "ci" ? "Country Information" : "US Fire/Acreage Incident Report";
        std::string sentence =
            failure.kind == FailureKind::NothingIssued
                ? "Sorry, " + source + " has no " + report + forSubject(failure.subject) + why + "."
                : "Sorry, the " + report + forSubject(failure.subject) +
                      " could not be fetched from " + source + why + ". Please try again later.";
        return "<html><head><title>" + escapeHtml(title) + "</title></head>\n<body>\n<h2>" +
               escapeHtml(title) + "</h2>\n<p>" + escapeHtml(sentence) + "</p>\n</body></html>\n";
    }

    if (isWarningMode(failure.mode)) {
        // The window turns a page with these words into its own notice.
        std::string body = "The " + report + forSubject(failure.subject) +
                           " are not currently available" + why + ".";
        return ForecastPage(body, "Source: " + source);
    }

    std::string body;
    switch (failure.kind) {
    case FailureKind::NoKey:
        body = "Sorry, the " + report + forSubject(failure.subject) +
               " needs a free key from the U.S. Census Bureau" + why + ".\n\n" +
               std::string(CensusKeyHelp);
        break;
    case FailureKind::OutOfSeason:
        body = "Sorry, there is no " + report + forSubject(failure.subject) +
               " at this time of year.\n\n"
               "USDA NASS publishes its weekly Crop Progress report from April to November;\n"
               "from December to March there is no weekly report. The first one of the new\n"
               "season comes out in early April.";
        break;
    case FailureKind::NothingIssued:
        body = "Sorry, " + source + " has no " + report + forSubject(failure.subject) + why + ".";
        break;
    case FailureKind::SourceFailed:
        body = "Sorry, the " + report + forSubject(failure.subject) +
               " could not be fetched from " + source + why + ".\nPlease try again later.";
        break;
    }
    return ForecastPage(body, "Cirrolux gateway");
}

} // namespace cirrolux::livereports
