#include "net/UrlParts.h"

#include "platform/CirroluxError.h"

#include <algorithm>
#include <cctype>

namespace cirrolux {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Position of the n-th (1-based) '/' in `text`, or npos.
std::size_t nthSlash(std::string_view text, int n)
{
    std::size_t pos = std::string_view::npos;
    for (int i = 0; i < n; ++i) {
        pos = text.find('/', pos == std::string_view::npos ? 0 : pos + 1);
        if (pos == std::string_view::npos)
            break;
    }
    return pos;
}

int schemePort(std::string_view url)
{
    const std::string_view scheme = url.substr(0, url.find(':'));
    if (equalsNoCase(scheme, "gopher"))
        return 70;
    if (equalsNoCase(scheme, "ftp"))
        return 21;
    return 80;
}

std::string_view hostField(std::string_view url)
{
    if (url.find("//") != std::string_view::npos) {
        // Third "/"-separated field: scheme, the empty one between the slashes, then the host.
        const std::size_t second = nthSlash(url, 2);
        if (second == std::string_view::npos)
            return {};
        const std::string_view rest = url.substr(second + 1);
        return rest.substr(0, rest.find('/'));
    }
    if (url.front() == '/')
        return {};
    return url.substr(0, url.find('/'));
}

int parsePort(std::string_view text)
{
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        throw TransferError("Invalid Port Number");
    int port = 0;
    for (char c : text)
        port = port * 10 + (c - '0');
    if (port < 1 || port > 65535)
        throw TransferError("Invalid Port Number");
    return port;
}

} // namespace

UrlParts SplitUrl(std::string_view url, int currentPort)
{
    if (url.empty())
        throw TransferError("Empty URL");

    UrlParts parts;
    parts.url = std::string(url);
    parts.port = currentPort == 0 ? 80 : currentPort;

    if (url.find("//") != std::string_view::npos) {
        const std::size_t third = nthSlash(url, 3);
        if (third != std::string_view::npos)
            parts.path = std::string(url.substr(third));
    } else if (const std::size_t first = url.find('/'); first != std::string_view::npos) {
        parts.path = std::string(url.substr(first));
    }

    if (url.find(':') != std::string_view::npos)
        parts.port = schemePort(url);

    std::string_view host = hostField(url);
    if (const std::size_t colon = host.find(':'); colon != std::string_view::npos) {
        // "host:" with nothing after the colon keeps the scheme's port.
        if (colon + 1 < host.size())
            parts.port = parsePort(host.substr(colon + 1));
        host = host.substr(0, colon);
    }
    parts.host = std::string(host);

    if (parts.path.empty()) {
        parts.path = "/";
        parts.url.reserve(url.size() + 1);
        parts.url.assign(url.data(), url.size());
        parts.url.push_back('/');
    }
    return parts;
}

} // namespace cirrolux
