#include "stores/ListIndex.h"

#include <algorithm>

void ListIndex::restart(bool wildcards) {
    m_wildcards = wildcards;
    for (auto& [key, positions] : m_keys) {
        positions = {kUnset, kUnset};
    }
    for (auto& [prefix, first] : m_prefixes) {
        first = kUnset;
    }
    m_prefixLengths.clear();
}

void ListIndex::add(std::string_view key, std::size_t position) {
    auto found = m_keys.find(key);
    if (found == m_keys.end()) {
        found = m_keys.emplace(key, Positions{kUnset, kUnset}).first;
    }
    if (found->second.first == kUnset) {
        found->second.first = position;
    }
    found->second.last = position;
    if (!m_wildcards || !key.ends_with('*')) {
        return;
    }
    const std::string_view prefix = key.substr(0, key.size() - 1);
    auto first = m_prefixes.find(prefix);
    if (first == m_prefixes.end()) {
        first = m_prefixes.emplace(prefix, kUnset).first;
    }
    if (first->second != kUnset) {
        return;
    }
    first->second = position;
    const auto length = std::ranges::lower_bound(m_prefixLengths, prefix.size());
    if (length == m_prefixLengths.end() || *length != prefix.size()) {
        m_prefixLengths.insert(length, prefix.size());
    }
}

void ListIndex::dropUnused() {
    std::erase_if(m_keys, [](const auto& key) { return key.second.first == kUnset; });
    std::erase_if(m_prefixes, [](const auto& prefix) { return prefix.second == kUnset; });
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
