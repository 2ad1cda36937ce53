#pragma once

#include <QByteArray>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cirrolux::servicesim {

// The CIA World Factbook as the web page window reads it, under /cia/publications/factbook/:
//   country.html            the country index: one link per country in the form
//                           <a href="af.html" target="_top">Afghanistan</a>
//   <code>.html             the country's page (with image tags, as the real pages had)
//   figures/<code>-t.gif    the flag, 72 by 40 at most
//   figures/<code>-150.gif  the map, 150 pixels wide
// Content is drawn from the code, so every run serves the same bytes.
class FactbookSite
{
public:
    struct Country
    {
        std::string_view code;
        std::string_view name;
    };
    static const std::vector<Country>& countries();
    static std::optional<Country> country(std::string_view code);

    static QByteArray indexPage();
    static QByteArray countryPage(const Country& country);
    static QByteArray flag(const Country& country);
    static QByteArray map(const Country& country);

    // The reply body and content type for a path under the Factbook's folder; empty type: no such
    // document.
    struct Document
    {
        QByteArray contentType;
        QByteArray body;
    };
    static Document document(const QByteArray& path);
};

// The NIFC's incident management situation report (/news/sitreprt.html) for a day.
QByteArray FireReportPage(int year, int dayOfYear);

} // namespace cirrolux::servicesim

#include "EmulatorReply.h"

#include <QDateTime>

namespace cirrolux::servicesim {

// The Factbook and NIFC sites as the router reaches them.
namespace WebWindowSites {

QByteArray factbookHost();
QByteArray fireReportHost();
// True when `host` is one of the two sites.
bool serves(const QByteArray& host);
// The reply for `path` on `host` (or on any site when `anySite`), dated `now`; empty when the
// two sites have no such document.
std::optional<EmulatorReply> reply(const QByteArray& host, const QByteArray& path, bool anySite,
                                   const QDateTime& now);

} // namespace WebWindowSites
} // namespace cirrolux::servicesim
