#pragma once

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The journal, the phonebook and the MSN list keep one record per line of a text file, the
// fields joined by TAB, without quoting.

/// The fields of one stored line, split at every TAB.
std::vector<std::string> splitFields(std::string_view line);

/// The fields joined by TAB. A TAB or line break inside a field would tear the record apart on
/// the next load, so each becomes a blank.
std::string joinFields(std::initializer_list<std::string_view> fields);

/// A boolean as stored: "-1" for true, "0" for false.
std::string_view storedBool(bool value);

/// A stored boolean: any number (non-zero is true) or the words True and False; anything else,
/// the empty text too, is false.
bool readStoredBool(std::string_view text);

/// Field i of a split line, empty when the line has fewer fields.
const std::string& fieldAt(const std::vector<std::string>& fields, std::size_t i);

/// The non-empty lines of a list file, each split into fields. A missing file is created with
/// one empty line and gives nothing, as does a file that exists but cannot be read (which is
/// left alone, so a locked file never loses its content).
std::optional<std::vector<std::vector<std::string>>> readRecords(const std::string& path);

/// Replaces a list file with the lines (through the safe-save helper).
bool writeListFile(const std::string& path, const std::vector<std::string>& lines);

/// Replaces a list file with a single empty line.
bool writeEmptyListFile(const std::string& path);

/// A list kept in ascending order of name in its file and rebuilt from the file after every
/// change (phonebook, MSN list). Format supplies the line layout:
///   static const std::string& key(const Entry&);           // empty: the slot is free
///   static std::string toLine(const Entry&);
///   static Entry fromFields(const std::vector<std::string>&);
template <typename Entry, typename Format> class NameOrderedList {
public:
    void setPath(std::string path) { m_path = std::move(path); }
    const std::string& path() const { return m_path; }

    std::vector<Entry>& entries() { return m_entries; }
    const std::vector<Entry>& entries() const { return m_entries; }

    /// The entry at a 1-based index; nullptr outside the table.
    const Entry* at(int index) const {
        if (index < 1 || static_cast<std::size_t>(index) > m_entries.size()) {
            return nullptr;
        }
        return &m_entries[static_cast<std::size_t>(index) - 1];
    }
    Entry* at(int index) { return const_cast<Entry*>(std::as_const(*this).at(index)); }

    /// Reads the file; lines with an empty key are dropped, so the table never has gaps.
    bool load() {
        m_entries.clear();
        auto records = readRecords(m_path);
        if (!records) {
            return false;
        }
        m_entries.reserve(records->size());
        for (const auto& fields : *records) {
            Entry entry = Format::fromFields(fields);
            if (!Format::key(entry).empty()) {
                m_entries.push_back(std::move(entry));
            }
        }
        return true;
    }

    /// Descending order of name, equal names keeping their order: the table as the stored
    /// bubble sort leaves it, at n log n cost.
    void sortByNameDescending() {
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const Entry& a, const Entry& b) { return b.name < a.name; });
    }

    /// Sorts and writes the file from the last entry to the first (ascending names, equal
    /// names reversed), then one empty line. True when the file was written.
    bool save() {
        sortByNameDescending();
        std::vector<std::string> lines;
        lines.reserve(m_entries.size() + 1);
        for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
            if (!Format::key(*it).empty()) {
                lines.push_back(Format::toLine(*it));
            }
        }
        lines.emplace_back();
        return writeListFile(m_path, lines);
    }

    /// Saves and rebuilds the table from the file. When the file cannot be written the table
    /// is put into the order a reload would give, so the change is kept in memory.
    void saveAndReload() {
        if (save()) {
            load();
            return;
        }
        std::erase_if(m_entries, [](const Entry& e) { return Format::key(e).empty(); });
        std::reverse(m_entries.begin(), m_entries.end());
    }

private:
    std::string m_path;
    std::vector<Entry> m_entries;
};
