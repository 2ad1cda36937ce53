#pragma once

#include "EmulatorReply.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>

namespace cirrolux::servicesim {

// The report providers' sites the forecast window reads (hosts from net/ServiceAddresses.h):
//   NWS        /iwin/<ST>/zone.html, shortterm.html, public.html, allwarnings.html,
//              special.html, hydro.html   (zone and nowcast pages: one section per county,
//              each ended by "$$"; a few states have no special or hydrological product)
//   EPA        /oar/oaqps/greenbk/aycl.html            air pollution levels by state
//   USDA NASS  /weather/cpcurr/<st>-crop-weather       crop weather of one state
//   Census     /statab/ranks/pg18.txt, pg20.txt        salary and household income ranks
//   Census     /cdrom/lookup/.../SEL=<NN>,<Name>/T=... 1990 census detail by state
//              /cdrom/lookup/.../SEL=<zip>/T=...       and by zip code
//   USGS NEIC  /neis/bulletin/bulletin.html            the world earthquake bulletin
// Pages carry the markup, entities and links real ones did; the same path and day always give
// the same page.
class ReportContent
{
public:
    // The reply when `host` is a report site (404 for a path it does not have), or when
    // `anySite` is set and the path is one of theirs; nothing otherwise.
    static std::optional<EmulatorReply> route(const QByteArray& host, const QByteArray& path,
                                              bool anySite, const QDateTime& now);
    // The body of a report page, or nothing for a path no site has.
    static std::optional<QByteArray> page(const QByteArray& host, const QByteArray& path,
                                          const QDateTime& now);
    // The states whose special and hydrological pages say "not currently available".
    static bool productMissing(std::string_view stateCode, std::string_view product);
};

} // namespace cirrolux::servicesim
