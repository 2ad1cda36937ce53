#include "net/HttpRequest.h"

#include <QByteArray>

namespace cirrolux {

namespace {

void addLine(std::string& request, std::string_view line)
{
    request += line;
    request += "\r\n";
}

void addField(std::string& request, std::string_view name, std::string_view value)
{
    request += name;
    request += ": ";
    addLine(request, value);
}

std::string basicCredentials(const THeaderInfo& info)
{
    const std::string pair = info.UserId + ':' + info.Password;
    const QByteArray encoded =
        QByteArray(pair.data(), static_cast<qsizetype>(pair.size())).toBase64();
    return "Basic " + encoded.toStdString();
}

} // namespace

std::string BuildHttpRequest(const std::string& target, const std::string& host, bool viaProxy,
                             const THeaderInfo& info)
{
    std::string request;
    addLine(request, "GET " + target + " HTTP/1.0");
    if (viaProxy)
        addField(request, "Proxy-Connection", "Keep-Alive");
    addField(request, "Host", host);
    addLine(request, "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
    addLine(request, "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
    if (!info.Cookie.empty())
        addField(request, "Cookie", info.Cookie);
    if (!info.Referer.empty())
        addField(request, "Referer", info.Referer);
    if (!info.UserId.empty() && !info.Password.empty())
        addField(request, "Authorization", basicCredentials(info));
    addField(request, "Content-type", "application/x-www-form-urlencoded");
    addLine(request, "");
    return request;
}

} // namespace cirrolux
