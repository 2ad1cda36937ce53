#include "forecast/ReportText.h"

#include <array>
#include <cstring>

namespace cirrolux {

namespace {

// Bytes at which the strip has to look closer; every other byte is copied as it is.
constexpr std::array<bool, 256> stripMarks()
{
    std::array<bool, 256> marks{};
    marks[static_cast<unsigned char>('<')] = true;
    marks[static_cast<unsigned char>('#')] = true;
    marks[static_cast<unsigned char>('n')] = true;
    marks[static_cast<unsigned char>('\r')] = true;
    return marks;
}

constexpr std::array<bool, 256> StripMarks = stripMarks();

bool startsWith(std::string_view text, std::size_t at, std::string_view what)
{
    return text.size() - at >= what.size() &&
           std::memcmp(text.data() + at, what.data(), what.size()) == 0;
}

bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view trimmed(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

std::string StripReportHtml(std::string_view page)
{
    std::string out;
    out.reserve(page.size());
    const std::size_t n = page.size();
    std::size_t i = 0;
    while (i < n) {
        // Copy the run of ordinary bytes in one go.
        std::size_t run = i;
        while (run < n && !StripMarks[static_cast<unsigned char>(page[run])])
            ++run;
        out.append(page.data() + i, run - i);
        i = run;
        if (i >= n)
            break;

        const char c = page[i];
        if (c == '<') {
            const std::size_t close = page.find('>', i + 1);
            if (close == std::string_view::npos)
                break;
            i = close + 1;
        } else if (c == '#' && startsWith(page, i, "#176;")) {
            out += '\xB0';
            i += 5;
        } else if (c == 'n' && startsWith(page, i, "nbsp;")) {
            out += ' ';
            i += 5;
        } else if (c == '\r' && startsWith(page, i, "\r\n|\r\n")) {
            out += " |  ";
            i += 5;
        } else {
            out += c;
            ++i;
        }
    }
    // Trimmed in place: a copy of a large report would cost another allocation.
    const std::string_view kept = trimmed(out);
    const std::size_t begin = std::size_t(kept.data() - out.data());
    out.resize(begin + kept.size());
    out.erase(0, begin);
    return out;
}

std::string parse_text(std::string_view page)
{
    const std::string_view text = page.substr(0, page.find("http://"));
    std::string out;
    out.reserve(text.size() + text.size() / 32 + 16);
    std::size_t i = 0;
    while (i < text.size()) {
        const void* lf = std::memchr(text.data() + i, '\n', text.size() - i);
        if (lf == nullptr) {
            out.append(text.data() + i, text.size() - i);
            break;
        }
        const std::size_t at = std::size_t(static_cast<const char*>(lf) - text.data());
        out.append(text.data() + i, at - i);
        out += "\r\n";
        i = at + 1;
    }
    return out;
}

std::string EarthquakeCut(std::string_view report)
{
    const std::size_t a = report.find("Current Time:");
    const std::size_t b = report.find("Click on an earthquake below");
    if (a == std::string_view::npos || b == std::string_view::npos || a < 1 || b < 1)
        return std::string(report);
    std::string out;
    if (b > a)
        out.assign(report.substr(a, b - a));
    if (const std::size_t explanation = report.find("Explanation of earthquake");
        explanation != std::string_view::npos)
        out.append(report.substr(explanation));
    return out;
}

std::string parse_warning_html(std::string_view page, std::string_view locationState)
{
    std::string out;
    if (page.find("not currently available") != std::string_view::npos) {
        out = " Sorry, this ";
        out.append(locationState);
        out += " information is not currently available.";
    } else {
        out.reserve(page.size() + 24);
        out.assign(page);
        out += "\r\n";
    }
    out += "\r\n--- End of File --";
    return out;
}

CountySection ExtractCountySection(std::string_view page, std::string_view county, CountyKind kind,
                                   std::string_view locationState)
{
    CountySection result;
    result.countyName = AsciiUpper(county);
    result.countyUsed = result.countyName.size() >= 2;
    std::string_view section = page;
    if (result.countyUsed) {
        const std::size_t p = page.find(result.countyName);
        if (p != std::string_view::npos) {
            result.found = true;
            const std::size_t start = p == 0 ? 0 : p - 1;
            const std::size_t end = page.find("$$", start);
            section = page.substr(start, end == std::string_view::npos ? std::string_view::npos
                                                                       : end - start);
        }
    }
    result.section.assign(section);

    result.title = kind == CountyKind::Nowcast ? "Cirrolux - Text Nowcast for "
                                               : "Cirrolux - Text Forecast for ";
    if (result.found)
        result.title += result.countyName + " county, ";
    result.title.append(locationState);
    return result;
}

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return out;
}

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

} // namespace cirrolux
