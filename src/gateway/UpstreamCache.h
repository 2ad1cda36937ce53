#pragma once

#include "gateway/BoundedCache.h"

#include <QDateTime>

#include <chrono>
#include <functional>
#include <string>
#include <unordered_map>

namespace cirrolux::gateway {

// What the upstream said about one file: its text, or that it does not exist (a station that
// stopped reporting, a zone without such a product). Both are kept so that neither is asked for
// again before it is due.
struct UpstreamEntry
{
    std::string body;
    bool missing = false;
    QDateTime fetchedAt;
};

// Upstream files by key ("obs:KBOS", "zone_forecast:maz015"), each fresh for the age its kind
// allows. A stale entry is kept: it is what a failed or timed-out refresh serves. Entries older
// than `keepFor` are dropped, and the cache holds at most `maxEntries` files and `maxBytes` of
// text (the least recently used go first), so it stays small over a long run.
class UpstreamCache
{
public:
    using Clock = std::function<QDateTime()>;

    explicit UpstreamCache(Clock clock, std::chrono::seconds keepFor = std::chrono::hours(24),
                           std::size_t maxEntries = 8192, std::size_t maxBytes = 16u << 20);

    void store(const std::string& key, UpstreamEntry entry);
    void storeBody(const std::string& key, std::string body);
    void storeMissing(const std::string& key);

    // The entry when it is younger than `maxAge`; null otherwise (also when there is none).
    const UpstreamEntry* fresh(const std::string& key, std::chrono::seconds maxAge) const;
    // The entry whatever its age; null when there is none.
    const UpstreamEntry* any(const std::string& key) const;

    // New limits; the least recently used entries beyond them are dropped.
    void setLimits(std::size_t maxEntries, std::size_t maxBytes)
    {
        m_entries.setLimits(maxEntries, maxBytes);
    }

    // Drops the entries older than `keepFor`.
    void prune();
    std::size_t size() const { return m_entries.size(); }
    // The bytes held: keys and texts.
    std::size_t bytes() const { return m_entries.bytes(); }
    QDateTime now() const { return m_clock(); }

private:
    Clock m_clock;
    std::chrono::seconds m_keepFor;
    BoundedCache<UpstreamEntry> m_entries;
    int m_stores = 0;
};

// How long each kind of file stays fresh.
inline constexpr std::chrono::seconds ObservationMaxAge = std::chrono::minutes(10);
inline constexpr std::chrono::seconds ProductMaxAge = std::chrono::minutes(30);

} // namespace cirrolux::gateway
