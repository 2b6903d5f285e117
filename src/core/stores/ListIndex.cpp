#include "stores/ListIndex.h"

#include <algorithm>

void ListIndex::clear() {
    m_keys.clear();
    m_prefixes.clear();
    m_prefixLengths.clear();
}

void ListIndex::add(std::string_view key, std::size_t position) {
    if (const auto found = m_keys.find(key); found != m_keys.end()) {
        found->second.last = position;
    } else {
        m_keys.emplace(key, Positions{position, position});
    }
    if (!m_wildcards || !key.ends_with('*')) {
        return;
    }
    const std::string_view prefix = key.substr(0, key.size() - 1);
    if (m_prefixes.try_emplace(std::string(prefix), position).second) {
        const auto length =
            std::ranges::lower_bound(m_prefixLengths, prefix.size()) - m_prefixLengths.begin();
        if (static_cast<std::size_t>(length) == m_prefixLengths.size() ||
            m_prefixLengths[static_cast<std::size_t>(length)] != prefix.size()) {
            m_prefixLengths.insert(m_prefixLengths.begin() + length, prefix.size());
        }
    }
}

std::optional<std::size_t> ListIndex::firstOf(std::string_view key) const {
    const auto found = m_keys.find(key);
    return found != m_keys.end() ? std::optional(found->second.first) : std::nullopt;
}

std::optional<std::size_t> ListIndex::lastOf(std::string_view key) const {
    const auto found = m_keys.find(key);
    return found != m_keys.end() ? std::optional(found->second.last) : std::nullopt;
}

std::optional<std::size_t> ListIndex::firstMatch(std::string_view number) const {
    // A key equal to the number that ends in "*" matches as a prefix too, so the exact
    // lookup needs no test of its own.
    std::optional<std::size_t> first = firstOf(number);
    for (const std::size_t length : m_prefixLengths) {
        if (length > number.size()) {
            break;
        }
        if (const auto found = m_prefixes.find(number.substr(0, length));
            found != m_prefixes.end() && (!first || found->second < *first)) {
            first = found->second;
        }
    }
    return first;
}
