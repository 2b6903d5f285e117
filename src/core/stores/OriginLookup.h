#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// One origin table: prefix codes (the numeric value of the prefix digits, 0..999999, so 0351
/// and 351 are the same code) mapped to a text. Kept as a sorted array: a few thousand entries
/// rather than a million-slot table per country.
class PrefixTable {
public:
    enum class LoadResult { Ok, Missing, BadLines };

    /// Fills the table from a prefix file ("code;text" lines, Windows-1252). Bad lines are
    /// skipped and reported by the result; a later line with the same code wins. With wanted,
    /// only those codes are kept (a single lookup need not decode the whole file).
    LoadResult load(const std::string& path, std::span<const std::uint32_t> wanted = {});
    void clear() { m_entries.clear(); }

    /// The text of a code; nullptr when the table has none.
    const std::string* find(std::uint32_t code) const;

    std::size_t size() const { return m_entries.size(); }
    /// Heap and object bytes the table holds.
    std::size_t memoryBytes() const;

    static constexpr std::uint32_t kMaxCode = 999999;

private:
    std::vector<std::pair<std::uint32_t, std::string>> m_entries;
};

/// Parses one line of a prefix file: the code before the first ";" (digits, leading zeros and
/// surrounding blanks allowed, at most 999999) and the text after it, as it stands.
bool parsePrefixLine(std::string_view line, std::uint32_t& code, std::string_view& text);

/// Tells where a telephone number comes from: the country of an international number
/// ("00" + country code), the place of an area code, or both. The longest matching code wins.
class OriginLookup {
public:
    /// The same with the tables in prefixDir (ending in a separator).
    /// Loads prefixDir + "int.dat" and the own country's table prefixDir + <countryPrefix>.dat
    /// (prefixDir ends in a separator). False when int.dat is missing or has a bad line; a
    /// missing own table is no failure.
    bool load(const std::string& countryPrefix, const std::string& prefixDir);

    /// "Country, place", "Country", "place" or empty text. Numbers that are not numeric give
    /// empty text. An international number rereads that country's table from disk.
    std::string originOf(const std::string& number) const;

    /// Bytes held by the loaded tables.
    std::size_t memoryBytes() const;

private:
    std::string m_prefixDir;
    PrefixTable m_international;
    PrefixTable m_national;
};
