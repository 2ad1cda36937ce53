#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

namespace cirrolux {

// One request as the emulator received it: the exact bytes, and what they say. Reading is
// lenient (bare "\n" line ends, header lines without a colon are kept but never match), and a
// head that cannot be read is kept with valid == false so it can still be inspected.
struct HttpRequestHead
{
    QByteArray raw;     // request line and header lines through the empty line, as received
    QByteArray method;  // "GET"
    QByteArray target;  // as on the request line: "http://host/path" or "/path"
    QByteArray version; // "HTTP/1.0"
    QList<QPair<QByteArray, QByteArray>> headers; // in order, value trimmed
    QByteArray authority;   // host and port as addressed: "www.wunderground.com", "127.0.0.1:8080"
    QByteArray host;        // lower case, without the port
    QByteArray path;        // path and query, at least "/"
    bool proxyForm = false; // the whole address was on the request line
    bool valid = false;

    // The first header of that name (any letter case); empty when there is none.
    QByteArray header(QByteArrayView name) const;
    bool hasHeader(QByteArrayView name) const;

    static HttpRequestHead parse(const QByteArray& raw);
};

} // namespace cirrolux
