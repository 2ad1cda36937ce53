#include "livereports/JsonTree.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace cirrolux::livereports {

namespace {

constexpr int MaxDepth = 64;

class Parser
{
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<JsonValue> document()
    {
        JsonValue value;
        if (!parse(value, 0))
            return std::nullopt;
        skipSpace();
        if (m_at != m_text.size())
            return std::nullopt;
        return value;
    }

private:
    void skipSpace()
    {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t' ||
                                        m_text[m_at] == '\n' || m_text[m_at] == '\r'))
            ++m_at;
    }

    bool literal(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t cp)
    {
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }

    bool hex4(std::uint32_t& value)
    {
        if (m_text.size() - m_at < 4)
            return false;
        value = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = m_text[m_at++];
            int v = -1;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            if (v < 0)
                return false;
            value = value * 16 + std::uint32_t(v);
        }
        return true;
    }

    bool string(std::string& out)
    {
        ++m_at; // opening quote
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_text.size())
                return false;
            const char e = m_text[m_at++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::uint32_t cp = 0;
                if (!hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp < 0xDC00 && m_text.substr(m_at, 2) == "\\u") {
                    m_at += 2;
                    std::uint32_t low = 0;
                    if (!hex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return false;
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xD800 && cp < 0xE000) {
                    cp = '?';
                }
                appendUtf8(out, cp);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    bool number(std::string& out)
    {
        const std::size_t start = m_at;
        if (m_at < m_text.size() && m_text[m_at] == '-')
            ++m_at;
        bool digits = false;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c >= '0' && c <= '9')
                digits = true;
            else if (c != '.' && c != 'e' && c != 'E' && c != '+' && c != '-')
                break;
            ++m_at;
        }
        out.assign(m_text.substr(start, m_at - start));
        return digits;
    }

    bool parse(JsonValue& value, int depth)
    {
        if (depth > MaxDepth)
            return false;
        skipSpace();
        if (m_at >= m_text.size())
            return false;
        const char c = m_text[m_at];
        if (c == '{') {
            value.kind = JsonValue::Kind::Object;
            ++m_at;
            skipSpace();
            if (m_at < m_text.size() && m_text[m_at] == '}') {
                ++m_at;
                return true;
            }
            for (;;) {
                skipSpace();
                if (m_at >= m_text.size() || m_text[m_at] != '"')
                    return false;
                std::string name;
                if (!string(name))
                    return false;
                skipSpace();
                if (m_at >= m_text.size() || m_text[m_at] != ':')
                    return false;
                ++m_at;
                JsonValue member;
                if (!parse(member, depth + 1))
                    return false;
                value.members.push_back({std::move(name), std::move(member)});
                skipSpace();
                if (m_at < m_text.size() && m_text[m_at] == ',') {
                    ++m_at;
                    continue;
                }
                if (m_at < m_text.size() && m_text[m_at] == '}') {
                    ++m_at;
                    return true;
                }
                return false;
            }
        }
        if (c == '[') {
            value.kind = JsonValue::Kind::Array;
            ++m_at;
            skipSpace();
            if (m_at < m_text.size() && m_text[m_at] == ']') {
                ++m_at;
                return true;
            }
            for (;;) {
                JsonValue item;
                if (!parse(item, depth + 1))
                    return false;
                value.items.push_back(std::move(item));
                skipSpace();
                if (m_at < m_text.size() && m_text[m_at] == ',') {
                    ++m_at;
                    continue;
                }
                if (m_at < m_text.size() && m_text[m_at] == ']') {
                    ++m_at;
                    return true;
                }
                return false;
            }
        }
        if (c == '"') {
            value.kind = JsonValue::Kind::String;
            return string(value.text);
        }
        if (literal("true") || literal("false")) {
            value.kind = JsonValue::Kind::Boolean;
            value.text = m_text[m_at - 1] == 'e' && m_text[m_at - 2] == 'u' ? "true" : "false";
            return true;
        }
        if (literal("null")) {
            value.kind = JsonValue::Kind::Null;
            return true;
        }
        value.kind = JsonValue::Kind::Number;
        return number(value.text);
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

} // namespace

std::optional<double> JsonNumber(const JsonValue* value, bool orNumericText)
{
    if (!value || (value->kind != JsonValue::Kind::Number && !(orNumericText && value->isString())))
        return std::nullopt;
    const std::string& text = value->text;
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number))
        return std::nullopt;
    return number;
}

const JsonValue* JsonValue::member(std::string_view name) const
{
    for (const auto& [key, value] : members) {
        if (key == name)
            return &value;
    }
    return nullptr;
}

std::optional<JsonValue> ParseJson(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return Parser(text).document();
}

} // namespace cirrolux::livereports
