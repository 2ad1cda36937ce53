#include "EmulatorReply.h"

#include "httpserver/HttpReply.h"

#include <QLocale>
#include <QTimeZone>

namespace cirrolux::servicesim {

namespace {

constexpr char kPattern[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-\n";
constexpr qint64 kPatternLength = sizeof kPattern - 1;
static_assert(kPatternLength == 64);

} // namespace

EmulatorReply EmulatorReply::make(int status, QByteArray contentType, QByteArray body)
{
    EmulatorReply reply;
    reply.status = status;
    reply.addHeader("Content-Type", std::move(contentType));
    reply.body = std::move(body);
    return reply;
}

EmulatorReply EmulatorReply::rawBytes(QByteArray bytes)
{
    EmulatorReply reply;
    reply.delivery = Delivery::Raw;
    reply.raw = std::move(bytes);
    return reply;
}

qint64 EmulatorReply::contentLength() const
{
    switch (delivery) {
    case Delivery::NoLength:
    case Delivery::Silent:
    case Delivery::Raw:
        return -1;
    case Delivery::Short:
        return announcedLength;
    default:
        return generatedLength >= 0 ? generatedLength : body.size();
    }
}

QByteArray EmulatorReply::head(const QDateTime& now) const
{
    QByteArray text = "HTTP/1.0 " + QByteArray::number(status) + ' ' +
                      (reason.isEmpty() ? reasonPhrase(status) : reason) + "\r\n";
    const QString date = QLocale::c().toString(now.toTimeZone(QTimeZone::utc()),
                                               QStringLiteral("ddd, dd MMM yyyy hh:mm:ss"));
    text += "Date: " + date.toLatin1() + " GMT\r\n";
    text += "Server: Apache/1.3.33 (Unix)\r\n";
    for (const auto& [name, value] : headers)
        text += name + ": " + value + "\r\n";
    if (const qint64 length = contentLength(); length >= 0)
        text += "Content-Length: " + QByteArray::number(length) + "\r\n";
    text += "Connection: close\r\n\r\n";
    return text;
}

QByteArray EmulatorReply::reasonPhrase(int status)
{
    return HttpReply::reasonPhrase(status);
}

QByteArray EmulatorReply::generatedBytes(qint64 offset, qint64 length)
{
    QByteArray bytes;
    if (length <= 0)
        return bytes;
    bytes.resize(length);
    char* out = bytes.data();
    qint64 at = offset % kPatternLength;
    for (qint64 i = 0; i < length; ++i) {
        out[i] = kPattern[at];
        if (++at == kPatternLength)
            at = 0;
    }
    return bytes;
}

} // namespace cirrolux::servicesim
