#pragma once

#include <QDate>
#include <QTimeZone>

#include <string_view>

namespace cirrolux::gateway {

// The civil time zone of a station. The correlation tables carry none, so it is chosen:
// - a US state by a table of states to IANA zones, the states two zones share split at one
//   meridian (see UsStates.cpp);
// - a foreign country by the time zone database's zone.tab: of the country's zones, the one
//   whose named place is nearest the station, so Moscow and Vladivostok, Perth and Sydney,
//   Madrid and Las Palmas get their own;
// - anything else by its longitude alone, as a whole-hour offset from UTC.
class LocalZone
{
public:
    // Nothing is returned invalid: an unknown state falls back to the longitude.
    static QTimeZone forUsState(std::string_view stateCode, double longitudeDeg);
    // `country` as the catalogue names it ("Kenya", "United Kingdom"); a Canadian province is
    // taken for Canada.
    static QTimeZone forCountry(std::string_view country, double latitudeDeg, double longitudeDeg);
    static QTimeZone byLongitude(double longitudeDeg);

    // "EST", "CEST", "EAT"; where the zone data has no letters, the offset ("+03").
    static QString abbreviation(const QTimeZone& zone, const QDateTime& at);
};

} // namespace cirrolux::gateway
