#pragma once

#include "servicesim/PlaceDirectory.h"

#include <QDateTime>
#include <QTimeZone>

#include <ostream>
#include <string>
#include <vector>

namespace cirrolux::servicesim {

// Readable test names and failure messages for places.
inline void PrintTo(const Place& place, std::ostream* os)
{
    *os << place.key << " (" << place.title << ")";
}

} // namespace cirrolux::servicesim

namespace cirrolux::test {

// A spread of places of all three kinds, from the Arctic to the tropics.
inline std::vector<cirrolux::Place> samplePlaces()
{
    servicesim::PlaceDirectory directory;
    directory.setStationDirectory(
        [](const std::string& number) -> std::optional<std::pair<std::string, std::string>> {
            if (number == "83780")
                return std::make_pair(std::string("Sao Paulo"), std::string("Brazil"));
            if (number == "47662")
                return std::make_pair(std::string("Tokyo"), std::string("Japan"));
            return std::nullopt;
        });
    std::vector<cirrolux::Place> places;
    for (const auto& [state, city] :
         std::vector<std::pair<std::string, std::string>>{{"MA", "Boston"},
                                                          {"NY", "New_York"},
                                                          {"AK", "Fairbanks"},
                                                          {"AZ", "Phoenix"},
                                                          {"MN", "International_Falls"},
                                                          {"FL", "Miami"},
                                                          {"TX", "Houston"},
                                                          {"WA", "Seattle"},
                                                          {"ND", "Fargo"},
                                                          {"NV", "Las_Vegas"},
                                                          {"HI", "Honolulu"},
                                                          {"LA", "New_Orleans"}})
        places.push_back(*directory.usCity(state, city));
    for (const char* zip : {"02134", "62701", "10001", "73301", "99501", "85001", "12345"})
        places.push_back(*directory.zip(zip));
    for (const char* station : {"83780", "47662", "03772", "27612", "94767", "01025", "62366"})
        places.push_back(*directory.station(station));
    return places;
}

inline QDateTime utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
}

} // namespace cirrolux::test
