#pragma once

#include "Station.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cirrolux::gateway {

// The correlation tables of Debian's weather-util-data (stations.gz, places.gz, zctas.gz,
// zones.gz): US places and zip code areas to their nearest reporting station, stations with
// coordinates, and the forecast zones of each state. Only what the lookups need is kept.
class StationIndex
{
public:
    // Reads the four files from `dataDir`. Throws std::runtime_error naming the file that is
    // missing or does not decompress.
    static StationIndex load(const QString& dataDir = QStringLiteral("/usr/share/weather-util"));

    // The main reporting station of a US place: `state` a two-letter code in any case, `city`
    // as in the request address ("Boston", "Salt_Lake_City", "Mc_Allen", "Dallas-Ft_Worth").
    // In order: the hand-checked table of MainStations.h; a station of the state whose
    // description names the city, the likeliest main field first (international, airport,
    // letters-only identifier; no heliport, base or downtown field); the station nearest the
    // census place of that name (cities before towns, villages and other kinds of place) when it
    // lies within 75 km. Nothing when none of these gives a station with a known position. The
    // zone is the census place's own zone, else the station's.
    std::optional<Station> forUsCity(std::string_view state, std::string_view city) const;
    // The station nearest a five-digit zip code area, with the area's zone.
    std::optional<Station> forZip(std::string_view zip) const;
    // The name of the place a zip code area lies in, "Boston, MA": the nearest city, town,
    // village or census-designated place of the area's state. Nothing for an unknown zip.
    std::optional<std::pair<std::string, std::string>> placeOfZip(std::string_view zip) const;
    // The main station of a place abroad, `city` in `country` ("Nairobi", "Kenya") with the
    // catalogue's WMO station number ("63741", may be empty). In order: the hand-checked table;
    // the METAR station NOAA's lists give the WMO station itself (WmoStations.h); the station
    // whose description names the city, the likeliest main field first; the METAR station
    // nearest the WMO station's position. A Canadian province stands for Canada, an Australian
    // state for Australia. Nothing when none of these gives a station.
    std::optional<Station> forForeignPlace(std::string_view city, std::string_view country,
                                           std::string_view wmoNumber = {}) const;
    // A station by its ICAO code, any letter case.
    std::optional<Station> byIcao(std::string_view icao) const;
    // The public forecast zones of a state, sorted: "ma" -> {"maz001", ..., "maz024"}.
    std::vector<std::string> zonesOfState(std::string_view state) const;
    // The area a public forecast zone covers, "Suffolk County, MA, US"; nothing for an unknown
    // zone.
    std::optional<std::string> zoneDescription(std::string_view zone) const;

    std::size_t stationCount() const { return m_stations.size(); }
    std::size_t placeCount() const { return m_places.size(); }
    std::size_t zipCount() const { return m_zips.size(); }

private:
    struct PlaceEntry
    {
        std::string name;      // "Boston"
        char state[2] = {};    // "MA"
        std::uint8_t rank = 0; // city first, then town, village, ...
        float latitudeDeg = 0;
        float longitudeDeg = 0;
        std::int32_t station = -1; // into m_stations
        std::string zone;
    };
    struct ZipEntry
    {
        float latitudeDeg = 0;
        float longitudeDeg = 0;
        std::int32_t station = -1;
        std::string zone;
    };

    std::optional<Station> stationWithZone(std::int32_t station, const std::string& zone) const;
    // The zip code area of `zip`, or null when the text is no zip or the tables lack it.
    const ZipEntry* zipArea(std::string_view zip) const;
    std::int32_t stationNumber(std::string_view icao) const;

    std::vector<Station> m_stations; // sorted by icao
    std::vector<PlaceEntry> m_places;
    std::unordered_map<std::string, std::uint32_t> m_placeByKey; // "ma|boston" -> best place
    // Cities, towns, villages and census-designated places of each state ("ma"), for naming
    // zip code areas.
    std::unordered_map<std::string, std::vector<std::uint32_t>> m_settlementsByState;
    std::unordered_map<std::uint32_t, ZipEntry> m_zips;
    struct NamedStation
    {
        std::int32_t station;
        std::string key;    // the description as compared with city names
        std::string lead;   // abroad: the place the description starts with, "berlin"
        std::string region; // abroad: the province or state it marks, "ontario", or ""
    };
    std::unordered_map<std::string, std::vector<NamedStation>> m_stationsByCountry; // "kenya"
    std::unordered_map<std::string, std::vector<NamedStation>> m_usStationsByState; // "ma"
    // The hand-checked main stations: "us|ny|new york", "united kingdom|london".
    std::unordered_map<std::string, std::int32_t> m_mainStations;
    // The compiled-in WMO station table: "62366" -> HECA, and whether NOAA lists that code for
    // the WMO station itself rather than as its nearest METAR station.
    struct WmoEntry
    {
        std::int32_t station;
        bool sameSite;
    };
    std::unordered_map<std::string, WmoEntry> m_wmoStations;
    std::unordered_map<std::string, std::vector<std::string>> m_zonesByState; // "ma"
    std::unordered_map<std::string, std::string> m_zoneDescriptions;          // "maz015"
};

} // namespace cirrolux::gateway
