#include "gateway/UpstreamCache.h"

namespace cirrolux::gateway {

namespace {

// Prune once in this many stores, so storing stays cheap.
constexpr int kPruneEvery = 256;

} // namespace

UpstreamCache::UpstreamCache(Clock clock, std::chrono::seconds keepFor)
    : m_clock(std::move(clock)), m_keepFor(keepFor)
{
}

void UpstreamCache::store(const std::string& key, UpstreamEntry entry)
{
    m_entries[key] = std::move(entry);
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
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? nullptr : &it->second;
}

void UpstreamCache::prune()
{
    const QDateTime now = m_clock();
    std::erase_if(m_entries, [&](const auto& item) {
        const qint64 age = item.second.fetchedAt.secsTo(now);
        return age < 0 || age >= m_keepFor.count();
    });
}

} // namespace cirrolux::gateway
