// Feeds arbitrary bytes to the HTTP reply reader the way the transfer component does: in blocks
// of varying size (the sizes come from the first eight bytes), taking whole lines after each
// block and reading the body directly once the header is over. The same bytes read in one block
// must give the same reply, nothing may be lost or invented, and what the reader hands on
// (status, length, cookie, redirect address) must be safe to use for the next request.
#include "net/HttpReplyReader.h"
#include "net/HttpRequest.h"
#include "net/UrlParts.h"
#include "platform/CirroluxError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct Reply
{
    std::string lines; // every header line as taken, line ends included
    std::string body;  // the reader's leftover and everything after it
    HttpReplyReader::State state;
    int status = 0;
    std::int64_t contentLength = 0;
    std::string cookie;
    std::optional<std::string> location;
};

// `sizes` empty: the whole reply in one block.
Reply read(std::string_view bytes, std::string_view sizes)
{
    HttpReplyReader reader;
    Reply reply;
    std::size_t at = 0;
    std::size_t block = 0;
    bool header = true;
    const auto takeLines = [&] {
        while (const std::optional<std::string> line = reader.takeLine()) {
            require(!line->empty());
            require(line->find('\n') == std::string::npos || line->find('\n') == line->size() - 1);
            reply.lines += *line;
        }
        if (reader.state() == HttpReplyReader::State::Body) {
            reply.body = reader.takeLeftover();
            header = false;
        }
        if (reader.state() == HttpReplyReader::State::TooLarge)
            header = false;
    };
    while (header && at < bytes.size()) {
        std::size_t n = bytes.size() - at;
        if (!sizes.empty())
            n = std::min(n, std::size_t(static_cast<unsigned char>(sizes[block++ % sizes.size()])) +
                                1);
        reader.append(bytes.substr(at, n));
        at += n;
        takeLines();
    }
    if (header) {
        reader.endOfInput();
        takeLines();
    }
    if (reader.state() == HttpReplyReader::State::Body)
        reply.body += bytes.substr(at);
    // Once the header is over the reader takes nothing more.
    reader.append("HTTP/1.0 200 OK\r\n");
    require(!reader.takeLine());
    require(reader.takeLeftover().empty());

    reply.state = reader.state();
    reply.status = reader.status();
    reply.contentLength = reader.contentLength();
    reply.cookie = reader.cookie();
    reply.location = reader.location();
    return reply;
}

// Every line of a request ends in CR LF and holds no other CR or LF.
bool wellFormedRequest(std::string_view request)
{
    for (std::size_t i = 0; i < request.size(); ++i) {
        if (request[i] == '\r' && (i + 1 == request.size() || request[i + 1] != '\n'))
            return false;
        if (request[i] == '\n' && (i == 0 || request[i - 1] != '\r'))
            return false;
    }
    return request.ends_with("\r\n\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view sizes = input.substr(0, std::min<std::size_t>(size, 8));
    const std::string_view bytes = input.substr(sizes.size());

    const Reply whole = read(bytes, {});
    const Reply blocks = read(bytes, sizes);

    // The header ends where the reply says, however it arrives.
    require(whole.state == HttpReplyReader::State::Body);
    require(blocks.state == whole.state);
    require(blocks.lines == whole.lines && blocks.body == whole.body);
    require(whole.lines + whole.body == bytes);
    require(blocks.status == whole.status && blocks.contentLength == whole.contentLength);
    require(blocks.cookie == whole.cookie && blocks.location == whole.location);

    require(whole.status >= 0 && whole.status <= 32767);
    require(whole.contentLength >= 0);

    // A redirect asks again with the reply's cookie at the address it names.
    THeaderInfo info;
    info.Cookie = whole.cookie;
    info.Referer = "http://localhost/";
    const std::string target = whole.location.value_or("http://localhost/");
    try {
        const UrlParts parts = SplitUrl(target, 80);
        require(!parts.path.empty());
        require(parts.port >= 1 && parts.port <= 65535);
        require(wellFormedRequest(BuildHttpRequest(parts.url, parts.host, true, info)));
        require(wellFormedRequest(BuildHttpRequest(parts.path, parts.host, false, info)));
    } catch (const TransferError&) {
        // "Empty URL" or "Invalid Port Number": the transfer stops with that text.
    }
    return 0;
}
