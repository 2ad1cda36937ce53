#pragma once

#include <QDateTime>

#include <string>
#include <string_view>

namespace cirrolux::livereports {

// Mode "eb": the world earthquake bulletin from a USGS real-time feed in CSV
// (earthquake.usgs.gov/earthquakes/feed/v1.0/summary/2.5_week.csv and the like): a header row of
// field names (time, latitude, longitude, depth, mag, magType, ..., place, type, ...), one event
// a row, newest first, times as ISO 8601 UTC ("2026-12-09T18:54:12.340Z").
//
// The page keeps the bulletin's markers that the window cuts on: a heading, "Current Time:"
// (`now`, UTC), the table, "Click on an earthquake below" (cut away) and the "Explanation of
// earthquake parameters" that follows the table in the window. Events whose type is not
// "earthquake" (quarry blasts, explosions) are left out; at most `maxEvents` rows are shown.
// `feedTitle` says which feed it is ("Magnitude 2.5 and greater, past 7 days").
std::string EarthquakeBulletinPage(std::string_view usgsCsv, const QDateTime& now,
                                   std::string_view feedTitle, std::size_t maxEvents = 300);

} // namespace cirrolux::livereports
