#include "gateway/NwsProducts.h"

#include <algorithm>
#include <array>
#include <set>

namespace cirrolux::gateway {

namespace {

// `line` without the spaces, tabs and line ends around it.
std::string_view trimmed(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

constexpr std::array<std::string_view, 1> ZoneForecastFiles{"forecasts/zone/{st}/{zone}.txt"};
constexpr std::array<std::string_view, 1> NowcastFiles{"forecasts/nowcast/{st}/{zone}.txt"};
// The warnings NOAA files by zone: urgent weather messages (winter storms, wind, heat, fog),
// severe thunderstorm and flash flood warnings. Three files per zone keep a large state (Texas
// has 296 zones) to a few hundred small transfers per half hour.
constexpr std::array<std::string_view, 3> WarningFiles{
    "watches_warnings/non_precip/{st}/{zone}.txt", "watches_warnings/thunderstorm/{st}/{zone}.txt",
    "watches_warnings/flash_flood/warning/{st}/{zone}.txt"};
constexpr std::array<std::string_view, 1> SpecialFiles{
    "watches_warnings/special_weather_stmt/{st}/{zone}.txt"};

struct PageWords
{
    const char* file;
    const char* title; // after the state name
    const char* none;  // with no product in effect
};

PageWords wordsOf(ProductPage page)
{
    switch (page) {
    case ProductPage::ZoneForecast:
        return {"zone.html", "Zone Forecasts", nullptr};
    case ProductPage::Nowcast:
        return {"shortterm.html", "Short Term Forecast", nullptr};
    case ProductPage::Warnings:
        return {"allwarnings.html", "Warnings and Advisories",
                "THERE ARE NO WARNINGS OR ADVISORIES IN EFFECT FOR "};
    case ProductPage::Special:
        return {"special.html", "Special Weather Statements",
                "THERE ARE NO SPECIAL WEATHER STATEMENTS IN EFFECT FOR "};
    }
    return {"", "", nullptr};
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isUpperLetter(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A zone or county code line that opens a section: "MAZ014-015-092100-".
bool isUgcLine(std::string_view line)
{
    return line.size() >= 7 && isUpperLetter(line[0]) && isUpperLetter(line[1]) &&
           (line[2] == 'Z' || line[2] == 'C') && isDigit(line[3]) && isDigit(line[4]) &&
           isDigit(line[5]) && (line[6] == '-' || line[6] == '>');
}

struct Split
{
    std::string heading;               // up to the first section
    std::vector<std::string> sections; // each from its code line through "$$"
};

Split splitSections(const std::string& text)
{
    Split split;
    std::string between; // after a section's "$$": blank lines, not shown
    std::string* current = &split.heading;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, end - start);
        if (isUgcLine(line)) {
            split.sections.emplace_back();
            current = &split.sections.back();
        }
        current->append(line);
        if (line.starts_with("$$"))
            current = &between;
        start = end;
    }
    return split;
}

std::string header(const ProductRequest& request, std::string_view stateName)
{
    const PageWords words = wordsOf(request.page);
    const std::string title = std::string(stateName) + " " + words.title;
    return "<html>\n<head><title>" + title + "</title></head>\n<body bgcolor=\"#FFFFFF\">\n" +
           "<center><h2>" + title + "</h2></center>\n<hr>\n";
}

std::string footer(const ProductRequest& request, std::string_view stateName)
{
    std::string state = request.state;
    std::transform(state.begin(), state.end(), state.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return "<hr>\n<p>From NOAA/NWS text products by way of the Cirrolux gateway. Back to the "
           "<a href=\"http://iwin.nws.noaa.gov/iwin/" +
           state + "/\">" + std::string(stateName) + "</a> page</p>\n</body></html>\n";
}

void endWithNewline(std::string& text)
{
    if (!text.empty() && text.back() != '\n')
        text += '\n';
}

} // namespace

std::optional<ProductRequest> ProductRequestOf(std::string_view path)
{
    constexpr std::string_view Prefix = "/iwin/";
    if (!path.starts_with(Prefix))
        return std::nullopt;
    path.remove_prefix(Prefix.size());
    if (path.size() < 3 || path[2] != '/')
        return std::nullopt;
    const char a = upper(path[0]);
    const char b = upper(path[1]);
    if (!isUpperLetter(a) || !isUpperLetter(b))
        return std::nullopt;
    const std::string_view file = path.substr(3);
    for (const ProductPage page : {ProductPage::ZoneForecast, ProductPage::Nowcast,
                                   ProductPage::Warnings, ProductPage::Special}) {
        if (file == wordsOf(page).file)
            return ProductRequest{page, std::string{a, b}};
    }
    return std::nullopt;
}

std::span<const std::string_view> ProductFiles(ProductPage page)
{
    switch (page) {
    case ProductPage::ZoneForecast:
        return ZoneForecastFiles;
    case ProductPage::Nowcast:
        return NowcastFiles;
    case ProductPage::Warnings:
        return WarningFiles;
    case ProductPage::Special:
        return SpecialFiles;
    }
    return {};
}

std::string ProductFilePath(std::string_view pattern, std::string_view zone)
{
    std::string path;
    const std::string_view state = zone.substr(0, std::min<std::size_t>(2, zone.size()));
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.substr(i).starts_with("{st}")) {
            path.append(state);
            i += 4;
        } else if (pattern.substr(i).starts_with("{zone}")) {
            path.append(zone);
            i += 6;
        } else {
            path += pattern[i++];
        }
    }
    return path;
}

std::string NormalisedProductText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool skipBlank = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(start, end - start);
        start = end;
        if (line.starts_with("Expires:") || line.starts_with("EXPIRES:"))
            continue;
        // NOAA's "&&" lines mark the end of a product's text part for its decoders; shown in the
        // window they read as stray ampersands.
        if (trimmed(line) == "&&") {
            skipBlank = true;
            continue;
        }
        if (skipBlank) {
            skipBlank = false;
            if (trimmed(line).empty())
                continue;
        }
        for (const char c : line) {
            if (c == '\r' || c == '<' || c == '>')
                continue;
            const auto byte = static_cast<unsigned char>(c);
            out += c == '\n' ? '\n' : byte < 0x20 || byte == 0x7F ? ' ' : upper(c);
        }
    }
    // Leading blank lines would push the heading down for nothing.
    const std::size_t first = out.find_first_not_of('\n');
    out.erase(0, first == std::string::npos ? out.size() : first);
    return out;
}

std::string BuildProductPage(const ProductRequest& request, std::string_view stateName,
                             std::span<const ZoneProduct> products, std::string_view note)
{
    std::string page = header(request, stateName) + "<pre>\n";
    if (!note.empty())
        page.append(NormalisedProductText(note)).append("\n\n");
    std::set<std::string> seen;
    bool any = false;
    const bool bySection =
        request.page == ProductPage::ZoneForecast || request.page == ProductPage::Nowcast;
    for (const ZoneProduct& product : products) {
        std::string text = NormalisedProductText(product.text);
        if (text.find_first_not_of(" \n") == std::string::npos)
            continue;
        endWithNewline(text);
        if (!bySection) {
            if (seen.insert(text).second) {
                page.append(text).append("\n");
                any = true;
            }
            continue;
        }
        Split split = splitSections(text);
        if (split.sections.empty()) {
            if (seen.insert(text).second) {
                page.append(text).append("\n");
                any = true;
            }
            continue;
        }
        if (!any)
            page.append(split.heading);
        for (std::string& section : split.sections) {
            endWithNewline(section);
            if (!section.starts_with("$$") && section.find("\n$$") == std::string::npos)
                section += "\n$$\n";
            if (seen.insert(section).second) {
                page.append(section).append("\n");
                any = true;
            }
        }
    }
    const PageWords words = wordsOf(request.page);
    if (!any) {
        if (!words.none) {
            return ProductUnavailablePage(request, stateName,
                                          "NOAA publishes none for its zones at the moment");
        }
        page.append(words.none).append(request.state).append(" AT THIS TIME.\n\n$$\n");
    }
    return page + "</pre>\n" + footer(request, stateName);
}

std::string ProductUnavailablePage(const ProductRequest& request, std::string_view stateName,
                                   std::string_view reason)
{
    const PageWords words = wordsOf(request.page);
    std::string why(reason);
    std::erase_if(why, [](char c) { return c == '<' || c == '>' || c == '&'; });
    return header(request, stateName) + "<p>The " + words.title + " product for " +
           std::string(stateName) + " is not currently available (" + why + ").</p>\n" +
           footer(request, stateName);
}

} // namespace cirrolux::gateway
