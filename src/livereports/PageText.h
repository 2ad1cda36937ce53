#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cirrolux::livereports {

// Text helpers shared by the page builders. Page text is 8-bit Latin-1; the forecast window's
// extraction drops tags and keeps every entity's ampersand, so text it passes through is written
// as plain bytes (the degree sign as byte 176, spaces as spaces), never as entities.

// UTF-8 as Latin-1: characters beyond Latin-1, and bytes that are not UTF-8, become "?".
std::string Utf8ToLatin1(std::string_view utf8);

// Text that the forecast window's extraction shows as it is: CR dropped, tabs and other control
// bytes but LF turned into spaces, "<" dropped (it would start a tag and hide what follows up to
// the next ">"; a ">" on its own is shown as it is).
std::string ReportSafe(std::string_view text);

// For the table modes, whose extraction ends the report at the first "http://": that prefix is
// dropped, so an address reads "www.example.gov/..." and the report goes on.
std::string WithoutHttpPrefix(std::string_view text);

// HTML text as plain Latin-1: tags dropped, the common named entities (amp, lt, gt, quot, apos,
// nbsp, deg) and numeric ones decoded (beyond Latin-1: "?"), runs of white space made one space,
// trimmed.
std::string HtmlToText(std::string_view html);

// The text of preformatted HTML (<pre> content): tags dropped and entities decoded as by
// HtmlToText, but white space and line breaks kept as they are.
std::string HtmlPreText(std::string_view html);

// One table of an HTML page: its rows, each a list of cell texts (HtmlToText of each cell).
using HtmlTable = std::vector<std::vector<std::string>>;
// Every <table> of the page in order; rows of nested tables go to the innermost table.
std::vector<HtmlTable> HtmlTables(std::string_view html);

// One CSV record per line (RFC 4180 quoting; quoted fields may hold commas and doubled quotes, not
// line breaks). Empty lines are skipped.
std::vector<std::vector<std::string>> CsvRecords(std::string_view csv);

// Layout helpers for fixed-width tables.
std::string PadLeft(std::string_view text, std::size_t width);
std::string PadRight(std::string_view text, std::size_t width);
// "1234567" -> "1,234,567"; a leading "-" is kept. Text that is not a whole number is returned
// as it is.
std::string WithCommas(std::string_view digits);
// Spaces and control bytes removed at both ends.
std::string_view Trimmed(std::string_view text);
// The lines of `text` (LF separated, a CR before LF dropped).
std::vector<std::string_view> Lines(std::string_view text);

} // namespace cirrolux::livereports

namespace cirrolux::livereports {

// A page for the forecast window: the body (already report-safe text, LF line ends) in a <pre>
// block and, below it, the credit line. The extraction drops the markup and shows the body (its
// trailing line ends cut), a blank line and the credit.
std::string ForecastPage(std::string_view body, std::string_view credit);

} // namespace cirrolux::livereports
