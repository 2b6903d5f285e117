#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

/// Finds the entries of a list by key without walking the table: for every key the first and
/// the last position it stands at, and, when keys ending in "*" are wildcards, the first
/// position of each such prefix. Rebuilt whenever the table changes: restart(), add() for
/// every entry, dropUnused(). Keys that are added again keep their place, so a rebuild after a
/// small change allocates next to nothing.
class ListIndex {
public:
    /// Forgets every position; the keys stay until dropUnused(). With wildcards, keys ending in
    /// "*" match as prefixes.
    void restart(bool wildcards);
    void reserve(std::size_t keys) { m_keys.reserve(keys); }
    /// Adds the key of the entry at position; positions come in rising order.
    void add(std::string_view key, std::size_t position);
    /// Removes the keys that were not added since restart().
    void dropUnused();

    /// The first and the last position of an entry whose key equals key.
    std::optional<std::size_t> firstOf(std::string_view key) const;
    std::optional<std::size_t> lastOf(std::string_view key) const;
    /// The first position of an entry that matches number: its key equals number, or its key
    /// ends in "*" and number begins with the rest of it ("*" alone matches every number).
    std::optional<std::size_t> firstMatch(std::string_view number) const;

private:
    struct Positions {
        std::size_t first;
        std::size_t last;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    template <typename Value>
    using Map = std::unordered_map<std::string, Value, Hash, std::equal_to<>>;

    static constexpr std::size_t kUnset = static_cast<std::size_t>(-1);

    bool m_wildcards = false;
    Map<Positions> m_keys;
    Map<std::size_t> m_prefixes;              // the first position of each wildcard's prefix
    std::vector<std::size_t> m_prefixLengths; // the lengths of those prefixes, ascending
};
