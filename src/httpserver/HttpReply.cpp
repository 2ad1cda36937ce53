#include "HttpReply.h"

#include <QLocale>
#include <QTimeZone>

namespace cirrolux {

namespace {

QByteArray printable(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f)
            out += c;
    }
    return out;
}

} // namespace

HttpReply HttpReply::make(int status, QByteArray contentType, QByteArray body)
{
    HttpReply reply;
    reply.status = status;
    reply.addHeader("Content-Type", std::move(contentType));
    reply.body = std::move(body);
    return reply;
}

QByteArray HttpReply::header(QByteArrayView name) const
{
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

QByteArray HttpReply::head(const QDateTime& now, QByteArrayView server) const
{
    QByteArray text = "HTTP/1.0 " + QByteArray::number(status) + ' ' +
                      printable(reason.isEmpty() ? reasonPhrase(status) : reason) + "\r\n";
    text += "Date: " + date(now) + "\r\n";
    text += "Server: " + printable(server) + "\r\n";
    for (const auto& [name, value] : headers)
        text += printable(name) + ": " + printable(value) + "\r\n";
    text += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    text += "Connection: close\r\n\r\n";
    return text;
}

QByteArray HttpReply::date(const QDateTime& when)
{
    return QLocale::c()
               .toString(when.toTimeZone(QTimeZone::utc()),
                         QStringLiteral("ddd, dd MMM yyyy hh:mm:ss"))
               .toLatin1() +
           " GMT";
}

QByteArray HttpReply::reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 202:
        return "Accepted";
    case 204:
        return "No Content";
    case 206:
        return "Partial Content";
    case 300:
        return "Multiple Choices";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Moved Temporarily";
    case 303:
        return "See Other";
    case 304:
        return "Not Modified";
    case 307:
        return "Temporary Redirect";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 407:
        return "Proxy Authentication Required";
    case 408:
        return "Request Time-out";
    case 410:
        return "Gone";
    case 413:
        return "Request Entity Too Large";
    case 421:
        return "Misdirected Request";
    case 431:
        return "Request Header Fields Too Large";
    case 414:
        return "Request-URI Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Time-out";
    default:
        return "Unknown Reason";
    }
}

} // namespace cirrolux
