#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QPair>

namespace cirrolux {

// One whole HTTP/1.0 reply: status, header fields and body, sent with its Content-Length and
// then closed.
struct HttpReply
{
    int status = 200;
    QByteArray reason;                            // empty: the usual phrase for `status`
    QList<QPair<QByteArray, QByteArray>> headers; // sent after Date and Server, in order
    QByteArray body;

    // A reply with a body of the given type ("text/html", "image/gif", ...).
    static HttpReply make(int status, QByteArray contentType, QByteArray body);

    void addHeader(QByteArray name, QByteArray value) { headers.append({name, value}); }
    // The first header of that name (any letter case); empty when there is none.
    QByteArray header(QByteArrayView name) const;

    // Status line and header lines through the empty line, dated `now`. Line ends and other
    // control characters in the reason and the header values are left out, so no value can
    // start a header line of its own.
    QByteArray head(const QDateTime& now, QByteArrayView server) const;

    static QByteArray reasonPhrase(int status);
    // A time as HTTP dates are written: "Thu, 15 Jan 2026 15:00:00 GMT".
    static QByteArray date(const QDateTime& when);
};

} // namespace cirrolux
