#pragma once

#include "EmulatorReply.h"
#include "ImageContent.h"
#include "PlaceDirectory.h"
#include "httpserver/HttpRequestHead.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>
#include <string>
#include <utility>

namespace cirrolux::servicesim {

// Decides the reply to one request, without any socket: the sites of the outside services the
// program calls (one per host of net/ServiceAddresses.h) and the fault paths tests use.
//
// Sites, chosen by the host named on the request line (proxy form) or in the Host header:
//   conditions service  /US/<ST>/<City>.html, /global/stations/<number>.html,
//                       /cgi-bin/findweather/getForecast?query=<zip>
//   maker's server      /assets/CirroluxCount.txt, /assets/cirroluxvs.txt
//   pictures            every image of the program's catalogues, on any host (ImageContent)
//   Factbook, NIFC      /cia/publications/factbook/..., /news/sitreprt.html (FactbookSite.h)
// A loopback address, "localhost" or no host at all reaches both sites (by path); any other host
// gets "502 Bad Gateway", as from a proxy that cannot reach it. Unknown paths get a 404 page.
//
// Fault paths, on any host:
//   /sim/status/<code>[?location=<address>]   that status, with Location when given
//   /sim/redirect-bare[/<name>]               302 with "Location: <name>" (no "/" in it)
//   /sim/redirect-loop                        302 back to itself
//   /sim/redirect-chain/<n>                   n redirects, then /sim/landing
//   /sim/landing, /sim-landing.html           a small page (where redirects end)
//   /sim/no-length                            no Content-Length; the close ends the body
//   /sim/short                                Content-Length larger than the body sent
//   /sim/stall                                header, then silence until the client closes
//   /sim/silent                               no answer at all until the client closes
//   /sim/trickle[/<bytes>]                    the body a few bytes at a time
//   /sim/big/<bytes>                          a body of that size, streamed
//   /sim/cookie                               Set-Cookie and a redirect to /sim/cookie-landing,
//                                             which shows the Cookie header it was sent
//   /sim/echo                                 the request's own bytes as the body
//   /sim/bad-status                           a status line without a number
//   /sim/no-header                            a body with no status line or header at all
class ServiceRouter
{
public:
    void setStationDirectory(StationDirectory directory);
    void setVersion(std::string version) { m_version = std::move(version); }
    const std::string& version() const { return m_version; }
    // When set, every request must carry "Authorization: Basic <user:password>" (as a client
    // sends its proxy credentials); others get 407 (proxy form) or 401.
    void setRequiredAuthorization(std::optional<std::pair<std::string, std::string>> credentials);
    // How many times the usage counter file was fetched.
    int usageCounterFetches() const { return m_counterFetches; }

    EmulatorReply route(const HttpRequestHead& request, const QDateTime& now);
    // The pictures of the image menus, on any host (see ImageContent).
    ImageContent& images() { return m_images; }

    // The host names the emulator has sites for, lower case.
    static QByteArray conditionsHost();
    static QByteArray makerHost();

private:
    EmulatorReply conditionsSite(const QByteArray& path, const QByteArray& query,
                                 const HttpRequestHead& request, const QDateTime& now) const;
    EmulatorReply makerSite(const QByteArray& path, const HttpRequestHead& request);
    EmulatorReply faultPath(const QByteArray& path, const QByteArray& query,
                            const HttpRequestHead& request) const;

    PlaceDirectory m_places;
    ImageContent m_images;
    std::string m_version = "1.40.0.8";
    std::optional<QByteArray> m_authorization;
    int m_counterFetches = 0;
};

} // namespace cirrolux::servicesim
