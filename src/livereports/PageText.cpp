#include "livereports/PageText.h"

#include <algorithm>
#include <cstdint>

namespace cirrolux::livereports {

namespace {

bool isSpace(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view what)
{
    if (text.size() - at < what.size())
        return false;
    for (std::size_t i = 0; i < what.size(); ++i) {
        if (lowerAscii(text[at + i]) != what[i])
            return false;
    }
    return true;
}

void appendCodePoint(std::string& out, std::uint32_t cp)
{
    if (cp <= 0xFF) {
        out += char(cp);
        return;
    }
    // Typographic punctuation that sources use has plain Latin-1 stand-ins.
    switch (cp) {
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2212:
        out += '-';
        break;
    case 0x2018:
    case 0x2019:
        out += '\'';
        break;
    case 0x201C:
    case 0x201D:
        out += '"';
        break;
    case 0x2022:
        out += '*';
        break;
    case 0x2026:
        out += "...";
        break;
    default:
        out += '?';
    }
}

// The entity at `at` ("&...;"): its length and its Latin-1 text; length 0 when it is none.
std::size_t decodeEntity(std::string_view text, std::size_t at, std::string& out)
{
    const std::size_t semi = text.find(';', at + 1);
    if (semi == std::string_view::npos || semi - at > 10)
        return 0;
    const std::string_view name = text.substr(at + 1, semi - at - 1);
    static constexpr struct
    {
        std::string_view name;
        char byte;
    } Named[] = {{"amp", '&'},   {"lt", '<'},   {"gt", '>'},     {"quot", '"'},
                 {"apos", '\''}, {"nbsp", ' '}, {"deg", '\xB0'}, {"#39", '\''}};
    for (const auto& entity : Named) {
        if (name == entity.name) {
            out += entity.byte;
            return semi - at + 1;
        }
    }
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        std::uint32_t cp = 0;
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty())
            return 0;
        for (const char c : digits) {
            int v = -1;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (hex && lowerAscii(c) >= 'a' && lowerAscii(c) <= 'f')
                v = lowerAscii(c) - 'a' + 10;
            if (v < 0)
                return 0;
            cp = std::min<std::uint32_t>(cp * (hex ? 16 : 10) + std::uint32_t(v), 0x110000);
        }
        appendCodePoint(out, cp);
        return semi - at + 1;
    }
    return 0;
}

} // namespace

std::string Utf8ToLatin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += char(b);
            ++i;
            continue;
        }
        std::size_t length = b >= 0xF0 && b < 0xF8 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (b >= 0xF8)
            length = 0;
        std::uint32_t cp = length == 4 ? b & 0x07u : length == 3 ? b & 0x0Fu : b & 0x1Fu;
        bool ok = length != 0 && i + length <= utf8.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        appendCodePoint(out, cp);
        i += length;
    }
    return out;
}

std::string ReportSafe(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\r' || c == '<')
            continue;
        out += c == '\n' ? '\n' : b < 0x20 || b == 0x7F ? ' ' : c;
    }
    return out;
}

std::string WithoutHttpPrefix(std::string_view text)
{
    std::string out(text);
    // Dropping one can join its neighbours into another ("hthttp://tp://"), hence the loop.
    for (std::size_t at = out.find("http://"); at != std::string::npos; at = out.find("http://"))
        out.erase(at, 7);
    return out;
}

std::string HtmlToText(std::string_view html)
{
    std::string out;
    out.reserve(html.size());
    bool pendingSpace = false;
    const auto put = [&](char c) {
        if (pendingSpace && !out.empty())
            out += ' ';
        pendingSpace = false;
        out += c;
    };
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t close = html.find('>', i + 1);
            // Line and block tags part words; inline ones (<b>, <a>, <sup>) do not.
            std::size_t name = i + 1 < html.size() && html[i + 1] == '/' ? i + 2 : i + 1;
            for (const std::string_view block : {"br", "p", "div", "td", "th", "tr", "li", "h1",
                                                 "h2", "h3", "h4", "table", "hr"}) {
                if (startsWithNoCase(html, name, block) && name + block.size() < html.size()) {
                    const char after = html[name + block.size()];
                    if (after == '>' || after == ' ' || after == '/')
                        pendingSpace = true;
                }
            }
            i = close == std::string_view::npos ? html.size() : close + 1;
            continue;
        }
        if (c == '&') {
            std::string decoded;
            if (const std::size_t length = decodeEntity(html, i, decoded); length > 0) {
                i += length;
                if (decoded == " ")
                    pendingSpace = true;
                else
                    put(decoded[0]);
                continue;
            }
        }
        if (isSpace(c))
            pendingSpace = true;
        else
            put(c);
        ++i;
    }
    return out;
}

std::string HtmlPreText(std::string_view html)
{
    std::string out;
    out.reserve(html.size());
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t close = html.find('>', i + 1);
            i = close == std::string_view::npos ? html.size() : close + 1;
            continue;
        }
        if (c == '&') {
            if (const std::size_t length = decodeEntity(html, i, out); length > 0) {
                i += length;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

std::vector<HtmlTable> HtmlTables(std::string_view html)
{
    std::vector<HtmlTable> tables;
    std::vector<std::size_t> open; // indexes into `tables`, innermost last
    std::size_t cellStart = std::string_view::npos;
    const auto closeCell = [&](std::size_t end) {
        if (cellStart != std::string_view::npos && !open.empty() && !tables[open.back()].empty()) {
            tables[open.back()].back().push_back(
                HtmlToText(html.substr(cellStart, end - cellStart)));
        }
        cellStart = std::string_view::npos;
    };
    std::size_t i = 0;
    while (i < html.size()) {
        const std::size_t lt = html.find('<', i);
        if (lt == std::string_view::npos)
            break;
        const std::size_t gt = html.find('>', lt + 1);
        if (gt == std::string_view::npos)
            break;
        const bool closing = lt + 1 < html.size() && html[lt + 1] == '/';
        const std::size_t nameAt = lt + (closing ? 2 : 1);
        if (startsWithNoCase(html, nameAt, "table") && !closing) {
            closeCell(lt);
            tables.emplace_back();
            open.push_back(tables.size() - 1);
        } else if (startsWithNoCase(html, nameAt, "table") && closing) {
            closeCell(lt);
            if (!open.empty())
                open.pop_back();
        } else if (startsWithNoCase(html, nameAt, "tr") && !open.empty()) {
            closeCell(lt);
            if (!closing)
                tables[open.back()].emplace_back();
        } else if ((startsWithNoCase(html, nameAt, "td") || startsWithNoCase(html, nameAt, "th")) &&
                   !open.empty()) {
            closeCell(lt);
            if (!closing) {
                if (tables[open.back()].empty())
                    tables[open.back()].emplace_back();
                cellStart = gt + 1;
            }
        }
        i = gt + 1;
    }
    std::erase_if(tables, [](const HtmlTable& t) { return t.empty(); });
    for (HtmlTable& table : tables)
        std::erase_if(table, [](const std::vector<std::string>& row) { return row.empty(); });
    return tables;
}

std::vector<std::vector<std::string>> CsvRecords(std::string_view csv)
{
    std::vector<std::vector<std::string>> records;
    for (const std::string_view line : Lines(csv)) {
        if (Trimmed(line).empty())
            continue;
        std::vector<std::string> fields(1);
        bool quoted = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (quoted) {
                if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    fields.back() += '"';
                    ++i;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    fields.back() += c;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == ',') {
                fields.emplace_back();
            } else {
                fields.back() += c;
            }
        }
        records.push_back(std::move(fields));
    }
    return records;
}

std::string PadLeft(std::string_view text, std::size_t width)
{
    std::string out(width > text.size() ? width - text.size() : 0, ' ');
    out.append(text);
    return out;
}

std::string PadRight(std::string_view text, std::size_t width)
{
    std::string out(text);
    if (width > out.size())
        out.append(width - out.size(), ' ');
    return out;
}

std::string WithCommas(std::string_view digits)
{
    const bool negative = !digits.empty() && digits[0] == '-';
    const std::string_view body = digits.substr(negative ? 1 : 0);
    if (body.empty() ||
        !std::all_of(body.begin(), body.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::string(digits);
    std::string out = negative ? "-" : "";
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (i > 0 && (body.size() - i) % 3 == 0)
            out += ',';
        out += body[i];
    }
    return out;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

} // namespace cirrolux::livereports

namespace cirrolux::livereports {

std::string ForecastPage(std::string_view body, std::string_view credit)
{
    std::string page = "<html><body><pre>\n";
    while (body.ends_with('\n'))
        body.remove_suffix(1);
    page.append(body);
    page += '\n';
    page += "</pre>\n<p>";
    page.append(credit);
    page += "</p>\n</body></html>\n";
    return page;
}

} // namespace cirrolux::livereports
