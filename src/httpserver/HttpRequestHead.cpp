#include "httpserver/HttpRequestHead.h"

namespace cirrolux {

namespace {

QByteArray hostOf(const QByteArray& authority)
{
    QByteArray host = authority;
    if (const qsizetype at = host.lastIndexOf('@'); at >= 0)
        host = host.mid(at + 1);
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        host = close > 0 ? host.mid(1, close - 1) : host.mid(1);
    } else if (const qsizetype colon = host.indexOf(':'); colon >= 0) {
        host.truncate(colon);
    }
    if (host.endsWith('.'))
        host.chop(1);
    return host.toLower();
}

bool isToken(QByteArrayView word)
{
    if (word.isEmpty())
        return false;
    for (const char c : word)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

} // namespace

QByteArray HttpRequestHead::header(QByteArrayView name) const
{
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool HttpRequestHead::hasHeader(QByteArrayView name) const
{
    for (const auto& entry : headers)
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

HttpRequestHead HttpRequestHead::parse(const QByteArray& raw)
{
    HttpRequestHead head;
    head.raw = raw;

    QList<QByteArray> lines = raw.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    if (lines.isEmpty())
        return head;

    const QByteArray& requestLine = lines.front();
    const qsizetype firstSpace = requestLine.indexOf(' ');
    const qsizetype lastSpace = requestLine.lastIndexOf(' ');
    if (firstSpace <= 0 || lastSpace <= firstSpace)
        return head;
    head.method = requestLine.left(firstSpace);
    head.target = requestLine.mid(firstSpace + 1, lastSpace - firstSpace - 1).trimmed();
    head.version = requestLine.mid(lastSpace + 1);

    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.isEmpty())
            break;
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            head.headers.append({line, QByteArray()});
        else
            head.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }

    if (!isToken(head.method) || head.target.isEmpty() || !head.version.startsWith("HTTP/"))
        return head;

    if (head.target.startsWith('/')) {
        head.path = head.target;
        head.authority = head.header("Host");
    } else if (head.target.size() > 7 &&
               head.target.left(7).compare("http://", Qt::CaseInsensitive) == 0) {
        head.proxyForm = true;
        const QByteArray rest = head.target.mid(7);
        qsizetype end = rest.size();
        for (const char stop : {'/', '?', '#'})
            if (const qsizetype at = rest.indexOf(stop); at >= 0 && at < end)
                end = at;
        head.authority = rest.left(end);
        head.path = rest.mid(end);
        if (!head.path.startsWith('/'))
            head.path.prepend('/');
    } else {
        return head;
    }
    if (const qsizetype hash = head.path.indexOf('#'); hash >= 0)
        head.path.truncate(hash);
    head.host = hostOf(head.authority);
    head.valid = true;
    return head;
}

} // namespace cirrolux
