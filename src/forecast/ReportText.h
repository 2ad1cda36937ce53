#pragma once

#include <string>
#include <string_view>

namespace cirrolux {

// The text reductions that turn a fetched report page into what the forecast window shows.
// Pure functions over 8-bit (Latin-1) text: bytes in, text out; any input is safe.

// Drops every tag ("<" up to and including the next ">"), turns "#176;" into the degree sign,
// "nbsp;" into a space and CR LF "|" CR LF into " |  ", then trims spaces and control characters
// (bytes up to 0x20) at both ends. An ampersand in front of "#176;" or "nbsp;" stays. A "<" that
// no ">" closes ends the text: it and everything after it are dropped.
std::string StripReportHtml(std::string_view page);

// The text up to, not including, the first "http://" (all of it when there is none), with every
// LF written as CR LF (so a CR LF pair becomes CR CR LF).
std::string parse_text(std::string_view page);

// The earthquake bulletin's cut: from "Current Time:" up to just before "Click on an earthquake
// below", followed by the text from the first "Explanation of earthquake" on (nothing when it is
// missing). The report is returned unchanged unless both of the first two are found past its
// first character.
std::string EarthquakeCut(std::string_view report);

// What a warning-type report shows: the one-sentence notice when the page says "not currently
// available", else the page and a line end; then a line end and "--- End of File --".
std::string parse_warning_html(std::string_view page, std::string_view locationState);

// The kinds of county section: zone forecast ("t") and nowcast ("n").
enum class CountyKind { Forecast, Nowcast };

// The result of cutting a county's section out of a state's zone page.
struct CountySection
{
    std::string countyName;  // the typed county, upper-cased (ASCII letters)
    bool countyUsed = false; // the county has 2 or more characters, so it was looked for
    bool found = false;
    std::string section; // the text to show: the county's section or the whole page
    std::string title;   // the window title afterwards
};

// Finds the first occurrence of the upper-cased `county` in `page` (case-sensitive, a plain
// substring) and cuts from one character before it up to, not including, the next "$$" (or to
// the end of the page: the section is not limited in length). A county shorter than 2
// characters is ignored and the whole page is the section.
CountySection ExtractCountySection(std::string_view page, std::string_view county, CountyKind kind,
                                   std::string_view locationState);

// `text` with ASCII letters in upper case; other bytes unchanged.
std::string AsciiUpper(std::string_view text);
// `text` with ASCII letters in lower case; other bytes unchanged.
std::string AsciiLower(std::string_view text);

} // namespace cirrolux
