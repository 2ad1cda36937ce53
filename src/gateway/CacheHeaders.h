#pragma once

#include "httpserver/HttpReply.h"

#include <QDateTime>

#include <chrono>

namespace cirrolux::gateway {

// What a shared HTTP cache in front of the gateway (one Squid for an office, say) may do with an
// answer. An answer written from an upstream file is fresh for what is left of that file's own
// lifetime in the gateway's cache, so a cache never serves it longer than the gateway itself
// would; everything else (failures, stale copies served while NOAA is unreachable, refusals,
// the usage counter) is not kept at all.

// The seconds left of `lifetime` for a file fetched at `fetchedAt`, at `now`: never below zero,
// never above `lifetime` (a fetch time ahead of `now` counts as fetched now).
std::chrono::seconds RemainingLifetime(const QDateTime& fetchedAt, std::chrono::seconds lifetime,
                                       const QDateTime& now);

// Marks `reply` as written from a file fetched at `fetchedAt`: "Cache-Control: max-age=N" with
// the remaining lifetime, and "Last-Modified": `lastChanged` (for a page of several files, the
// newest fetch), by default the fetch time, never later than `now`.
void MarkFresh(HttpReply& reply, const QDateTime& fetchedAt, std::chrono::seconds lifetime,
               const QDateTime& now, const QDateTime& lastChanged = {});

// "Cache-Control: no-store" unless the reply already has a Cache-Control.
void MarkNotStored(HttpReply& reply);

} // namespace cirrolux::gateway
