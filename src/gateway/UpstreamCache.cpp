#include "gateway/UpstreamCache.h"

namespace cirrolux::gateway {

namespace {

// Prune once in this many stores, so storing stays cheap.
constexpr int kPruneEvery = 256;

// What an entry costs beyond its text: the key twice (map and order) and the bookkeeping.
constexpr std::size_t kEntryOverhead = 128;

} // namespace

UpstreamCache::UpstreamCache(Clock clock, std::chrono::seconds keepFor, std::size_t maxEntries,
                             std::size_t maxBytes)
    : m_clock(std::move(clock)), m_keepFor(keepFor), m_entries(maxEntries, maxBytes)
{
}

void UpstreamCache::store(const std::string& key, UpstreamEntry entry)
{
    const std::size_t bytes = 2 * key.size() + entry.body.size() + kEntryOverhead;
    m_entries.put(key, std::move(entry), bytes);
    if (++m_stores % kPruneEvery == 0)
        prune();
}

void UpstreamCache::storeBody(const std::string& key, std::string body)
{
    store(key, UpstreamEntry{std::move(body), false, m_clock()});
}

void UpstreamCache::storeMissing(const std::string& key)
{
    store(key, UpstreamEntry{{}, true, m_clock()});
}

const UpstreamEntry* UpstreamCache::fresh(const std::string& key, std::chrono::seconds maxAge) const
{
    const UpstreamEntry* entry = any(key);
    if (!entry)
        return nullptr;
    const qint64 age = entry->fetchedAt.secsTo(m_clock());
    // A clock set back (age below zero) does not make an entry fresh for ever.
    if (age < 0 || age >= maxAge.count())
        return nullptr;
    return entry;
}

const UpstreamEntry* UpstreamCache::any(const std::string& key) const
{
    return m_entries.peek(key);
}

void UpstreamCache::prune()
{
    const QDateTime now = m_clock();
    m_entries.eraseIf([&](const UpstreamEntry& entry) {
        const qint64 age = entry.fetchedAt.secsTo(now);
        return age < 0 || age >= m_keepFor.count();
    });
}

} // namespace cirrolux::gateway
