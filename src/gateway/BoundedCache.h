#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>

namespace cirrolux::gateway {

// A map from text keys to values that holds at most `maxEntries` entries and `maxBytes` bytes
// (as the caller counts them); storing past either limit drops the entries used least recently.
// Lookups through find() count as use.
template <typename Value> class BoundedCache
{
public:
    BoundedCache(std::size_t maxEntries, std::size_t maxBytes)
        : m_maxEntries(maxEntries), m_maxBytes(maxBytes)
    {
    }

    BoundedCache(const BoundedCache&) = delete;
    BoundedCache& operator=(const BoundedCache&) = delete;

    // New limits; entries beyond them are dropped at once.
    void setLimits(std::size_t maxEntries, std::size_t maxBytes)
    {
        m_maxEntries = maxEntries;
        m_maxBytes = maxBytes;
        trim();
    }

    // Stores `value` under `key` (replacing what was there); a value larger than the whole
    // budget is not kept.
    void put(const std::string& key, Value value, std::size_t bytes)
    {
        erase(key);
        if (bytes > m_maxBytes || m_maxEntries == 0)
            return;
        m_order.push_front(key);
        m_items.emplace(key, Item{std::move(value), bytes, m_order.begin()});
        m_bytes += bytes;
        trim();
    }

    // The value, marked as just used; null when there is none.
    Value* find(const std::string& key)
    {
        const auto it = m_items.find(key);
        if (it == m_items.end())
            return nullptr;
        m_order.splice(m_order.begin(), m_order, it->second.position);
        return &it->second.value;
    }
    // The value without marking it.
    const Value* peek(const std::string& key) const
    {
        const auto it = m_items.find(key);
        return it == m_items.end() ? nullptr : &it->second.value;
    }

    void erase(const std::string& key)
    {
        const auto it = m_items.find(key);
        if (it == m_items.end())
            return;
        m_bytes -= it->second.bytes;
        m_order.erase(it->second.position);
        m_items.erase(it);
    }

    // Drops every entry `drop(value)` is true for.
    template <typename Predicate> void eraseIf(Predicate drop)
    {
        for (auto it = m_items.begin(); it != m_items.end();) {
            if (drop(it->second.value)) {
                m_bytes -= it->second.bytes;
                m_order.erase(it->second.position);
                it = m_items.erase(it);
            } else {
                ++it;
            }
        }
    }

    std::size_t size() const { return m_items.size(); }
    std::size_t bytes() const { return m_bytes; }
    std::size_t maxEntries() const { return m_maxEntries; }
    std::size_t maxBytes() const { return m_maxBytes; }

private:
    void trim()
    {
        while (!m_order.empty() && (m_items.size() > m_maxEntries || m_bytes > m_maxBytes)) {
            const std::string oldest = m_order.back();
            erase(oldest);
        }
    }

    struct Item
    {
        Value value;
        std::size_t bytes;
        std::list<std::string>::iterator position;
    };

    std::size_t m_maxEntries;
    std::size_t m_maxBytes;
    std::size_t m_bytes = 0;
    std::list<std::string> m_order; // most recently used first
    std::unordered_map<std::string, Item> m_items;
};

} // namespace cirrolux::gateway
