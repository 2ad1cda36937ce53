#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cirrolux {

// Reads the status line and header lines of an HTTP/1.0 reply from bytes as they arrive. It takes
// only complete lines; whatever follows the empty line that ends the header is kept for the body.
// Pure: no socket, no file.
class HttpReplyReader
{
public:
    enum class State {
        StatusLine,  // nothing read yet
        HeaderLines, // status line read
        Body,        // header over; leftover() holds the first body bytes
        TooLarge     // more than MaxHeaderBytes without the end of the header
    };
    static constexpr std::size_t MaxHeaderBytes = 1024 * 1024;

    // Adds received bytes; ignored once the header is over.
    void append(std::string_view bytes);
    // The connection closed: a last line without line end is taken as it stands, then the
    // header is over.
    void endOfInput();
    // The next whole header line with its line end, after noting what it says; nothing when no
    // whole line is buffered or the header is over.
    std::optional<std::string> takeLine();

    State state() const { return m_state; }
    // Second word of the status line as a decimal number; 0 when it is not one.
    int status() const { return m_status; }
    // From "Content-Length:"; 0 when none or not a number.
    std::int64_t contentLength() const { return m_contentLength; }
    // From "Set-Cookie:" (the last one); empty when none.
    const std::string& cookie() const { return m_cookie; }
    // From "Location:"; nothing when the reply has none.
    const std::optional<std::string>& location() const { return m_location; }
    // Bytes that arrived after the header; moves them out.
    std::string takeLeftover();

private:
    void note(std::string_view line);

    State m_state = State::StatusLine;
    std::string m_buffer;
    std::size_t m_consumed = 0; // bytes of m_buffer already taken as lines
    std::size_t m_headerBytes = 0;
    bool m_inputEnded = false;
    int m_status = 0;
    std::int64_t m_contentLength = 0;
    std::string m_cookie;
    std::optional<std::string> m_location;
};

} // namespace cirrolux
