#pragma once

#include <string>
#include <string_view>

namespace cirrolux::livereports {

// Why a mode has no live content to show.
enum class FailureKind {
    SourceFailed,  // the source could not be fetched or read
    NothingIssued, // the source answered but has nothing for the subject
    NoKey,         // the source needs a key the gateway was not given
    OutOfSeason,   // the report is not published at this time of year
};

struct ReportFailure
{
    std::string_view mode; // the forecast window's mode ("p", "cw", ...), or "ci" / "usfi"
    FailureKind kind = FailureKind::SourceFailed;
    std::string_view subject; // what was asked for: "Massachusetts", "ZIP code 02134"; may be empty
    std::string_view detail;  // why, in plain words (never a key); may be empty
};

// The honest page for a failure, in the page form the mode's window reads:
//  - "p", "h", "ap" (warning text): a page saying the report "is not currently available", so the
//    window shows its own one-sentence notice;
//  - the table modes: a "Sorry, ..." text that the window shows as the report;
//  - "ci", "usfi": a small HTML page for the web page window.
// "NoKey" pages say how to get a free Census key and how to give it to the gateway.
std::string FailurePage(const ReportFailure& failure);

// Whether `page`, built for `mode`, is the honest page of a source that failed or could not be
// read, rather than a report or a page saying nothing was issued. The gateway keeps the last
// good page over such a page and does not keep the failure itself. The public and hydrologic
// statements ("p", "h") are built from several offices and never say so: false.
bool IsSourceFailurePage(std::string_view mode, std::string_view page);

// The report's name and source as the honest pages name them ("crop weather report", "USDA NASS").
std::string_view ReportName(std::string_view mode);
std::string_view SourceName(std::string_view mode);

} // namespace cirrolux::livereports
