#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>

namespace cirrolux::servicesim {

// What the emulator sends back for one request, including the ways a server can misbehave.
struct EmulatorReply
{
    enum class Delivery {
        Whole,    // header with Content-Length, body, close
        NoLength, // header without Content-Length, body, close
        Short,    // Content-Length of announcedLength, but only the body, then close
        Stall,    // header with Content-Length, then nothing until the client closes
        Trickle,  // header, then the body a few bytes at a time with short pauses, close
        Silent,   // nothing at all until the client closes
        Raw,      // the bytes of `raw` exactly (no header is made), close
        Reset, // header, the first `resetAfter` bytes of the body, then a reset (no orderly close)
    };

    int status = 200;
    QByteArray reason;                            // empty: the usual phrase for `status`
    QList<QPair<QByteArray, QByteArray>> headers; // sent after Date and Server, in order
    QByteArray body;
    Delivery delivery = Delivery::Whole;
    qint64 announcedLength = 0;  // Short only
    qint64 generatedLength = -1; // >= 0: the body is this many bytes of generatedBytes(), streamed
    QByteArray raw;              // Raw only
    qint64 resetAfter = 0;       // Reset only
    // Trickle: bytes per piece and the pause between pieces; with trickleHead the status line and
    // header come that way too.
    qsizetype tricklePiece = 6;
    int tricklePauseMs = 15;
    bool trickleHead = false;

    // A reply with a body of the given type ("text/html", "text/plain", ...).
    static EmulatorReply make(int status, QByteArray contentType, QByteArray body);
    static EmulatorReply rawBytes(QByteArray bytes);

    void addHeader(QByteArray name, QByteArray value) { headers.append({name, value}); }

    // Status line and header lines through the empty line, dated `now`.
    QByteArray head(const QDateTime& now) const;
    // The body length the header announces; -1 when it announces none.
    qint64 contentLength() const;

    static QByteArray reasonPhrase(int status);
    // Bytes [offset, offset + length) of the endless pattern that generated bodies are made of:
    // byte i is "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-\n"[i % 64].
    static QByteArray generatedBytes(qint64 offset, qint64 length);
};

} // namespace cirrolux::servicesim
