#pragma once

#include "httpserver/HttpReply.h"
#include "httpserver/HttpRequestHead.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace cirrolux::gateway {

// Which requests the gateway takes: those the program sends through its proxy setting, a GET
// for one of the outside services it calls (net/ServiceAddresses.h), in proxy form
// ("GET http://www.wunderground.com/US/MA/Boston.html") or in origin form with the service's name
// in the Host header. Everything else is refused before any work is done:
//   - a head that cannot be read (400) or another method (501);
//   - a request a web browser marks as coming from a page (an Origin or Sec-Fetch-* header), 403:
//     a page may post to 127.0.0.1 but has no business with the user's gateway;
//   - origin form naming any other host, 127.0.0.1 and localhost included (403): that is what a
//     browser sends when a page fetches from the gateway directly, or through a name that was
//     rebound to 127.0.0.1;
//   - proxy form for any other host (502): the gateway is no open proxy.
std::optional<HttpReply> RefusalOf(const HttpRequestHead& request);

// Whether `host` (lower case, no port) is one of the outside services the program calls.
bool IsServiceHost(QByteArrayView host);

// The host of an address ("http://www.wunderground.com/" gives "www.wunderground.com").
QByteArray HostOf(std::string_view address);

// The page of a reply the gateway writes itself: a title, a heading and an explanation
// (`text` is inserted as it is, so it must be HTML already).
HttpReply GatewayPage(int status, QByteArray reason, const QByteArray& title,
                      const QByteArray& text);

// The honest answer for whatever has no live source yet (pictures, a flag or map of a code
// outside the country index, report addresses LiveReports does not take, the maker's home page and pictures, a
// conditions address the live resolver turns down): "503 No Live Source" (404 for a conditions
// address) with a page naming what is missing, and never made-up content.
HttpReply NoLiveSource(const HttpRequestHead& request);

// The gateway's own answers for the maker's files, which it never fetches (the maker's server
// is gone, and the gateway tells nobody who runs the program):
//   - the usage counter: "204 Not Counted", an empty answer, nothing sent anywhere;
//   - the version file: "404 No Version File" with a page saying no source knows the latest
//     version and that updates come with the package; never a version number.
// Null for the maker's other addresses (they get NoLiveSource).
std::optional<HttpReply> MakerFileAnswer(const HttpRequestHead& request);

} // namespace cirrolux::gateway
