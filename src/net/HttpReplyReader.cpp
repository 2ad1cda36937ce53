#include "net/HttpReplyReader.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace cirrolux {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view withoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

std::string_view skipBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// Splits off the first blank-separated word; `rest` gets what follows it, blanks skipped.
std::string_view firstWord(std::string_view text, std::string_view& rest)
{
    text = skipBlanks(text);
    std::size_t end = 0;
    while (end < text.size() && !isBlank(text[end]))
        ++end;
    rest = skipBlanks(text.substr(end));
    return text.substr(0, end);
}

// A value the next request sends back (the cookie, the redirect address) with every CR made a
// space: a bare CR inside a reply's line would otherwise end a line of that request and let the
// server add header lines of its own to it.
std::string withoutCarriageReturns(std::string_view text)
{
    std::string result(text);
    std::replace(result.begin(), result.end(), '\r', ' ');
    return result;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

// Leading decimal digits as a number; nullopt when there are none or it overflows `limit`.
std::optional<std::int64_t> leadingNumber(std::string_view text, std::int64_t limit)
{
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        const int digit = c - '0';
        if (value > (limit - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

} // namespace

void HttpReplyReader::append(std::string_view bytes)
{
    if (m_state == State::Body || m_state == State::TooLarge)
        return;
    m_buffer.append(bytes);
    // A whole header that large is no reply of ours; stop before a hostile server fills memory.
    if (m_buffer.size() - m_consumed + m_headerBytes > MaxHeaderBytes &&
        m_buffer.find('\n', m_consumed) == std::string::npos)
        m_state = State::TooLarge;
}

void HttpReplyReader::endOfInput()
{
    m_inputEnded = true;
}

std::optional<std::string> HttpReplyReader::takeLine()
{
    if (m_state == State::Body || m_state == State::TooLarge)
        return std::nullopt;
    std::size_t end = m_buffer.find('\n', m_consumed);
    if (end == std::string::npos) {
        if (!m_inputEnded)
            return std::nullopt;
        if (m_consumed == m_buffer.size()) {
            m_state = State::Body;
            return std::nullopt;
        }
        end = m_buffer.size() - 1;
    }
    std::string line = m_buffer.substr(m_consumed, end + 1 - m_consumed);
    m_consumed = end + 1;
    m_headerBytes += line.size();
    if (m_headerBytes > MaxHeaderBytes) {
        m_state = State::TooLarge;
        return std::nullopt;
    }
    // Drop taken lines now and then so a long header does not keep copying its front.
    if (m_consumed > 64 * 1024) {
        m_buffer.erase(0, m_consumed);
        m_consumed = 0;
    }
    note(line);
    return line;
}

void HttpReplyReader::note(std::string_view line)
{
    const std::string_view text = withoutLineEnd(line);
    if (text.empty()) {
        m_state = State::Body;
        return;
    }
    std::string_view rest;
    const std::string_view word = firstWord(text, rest);
    if (m_state == State::StatusLine) {
        m_state = State::HeaderLines;
        std::string_view after;
        const std::string_view code = firstWord(rest, after);
        const bool allDigits = std::all_of(code.begin(), code.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        });
        // The status is a 16-bit number; anything else reads as 0.
        const auto number = leadingNumber(code, std::numeric_limits<std::int16_t>::max());
        m_status = allDigits && number ? static_cast<int>(*number) : 0;
        return;
    }
    const std::string name = upper(word);
    if (name == "SET-COOKIE:") {
        m_cookie = withoutCarriageReturns(rest);
    } else if (name == "LOCATION:") {
        m_location = withoutCarriageReturns(rest);
    } else if (name == "CONTENT-LENGTH:") {
        m_contentLength = leadingNumber(rest, std::numeric_limits<std::int64_t>::max()).value_or(0);
    }
}

std::string HttpReplyReader::takeLeftover()
{
    if (m_state != State::Body)
        return {};
    std::string rest = m_buffer.substr(m_consumed);
    m_buffer.clear();
    m_consumed = 0;
    return rest;
}

} // namespace cirrolux
