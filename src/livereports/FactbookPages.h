#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cirrolux::livereports {

// Mode "ci": the web page window's country index and country pages from factbook.json, the
// public-domain (CC0) frozen copy of the CIA World Factbook, which was discontinued in February
// 2026. A country file ({region}/{gec}.json, GEC codes as the Factbook used them) is an object of
// categories ("Introduction", "Geography", ...), each an object of fields; a field is
// {"text": "..."} or an object of sub-fields that are themselves {"text": ...} (or a plain
// "note" string). Texts are UTF-8 and may hold a little HTML (<br>, <strong>, <p>).

// One country of the index.
struct FactbookCountry
{
    std::string code; // GEC, two letters, lower case: "gm"
    std::string name; // Latin-1: "Germany"
};

// The country's short name from its file: Government > Country name > conventional short form,
// or the long form when the short one is "none"; empty when the file has neither.
std::string FactbookCountryName(std::string_view countryJson);

// The index page the window's country list is read from: one link per country,
// <a href="gm.html" target="_top">Germany</a>, sorted by name, after a heading long enough that
// the list's scan (which skips the page's first 98 characters) sees every link. Entries whose
// code is not two letters or digits, or whose name is empty, are left out.
std::string FactbookIndexPage(std::span<const FactbookCountry> countries);

// The country's page: the name, the label that this is the final edition of the discontinued
// Factbook, then every category as a heading and every field with its sub-fields, in the file's
// order; no images. Text that is not a country file gives the honest page.
std::string FactbookCountryPage(std::string_view countryJson);

} // namespace cirrolux::livereports
