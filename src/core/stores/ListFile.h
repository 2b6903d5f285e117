#pragma once

#include "stores/StoreFile.h"

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

/// The fields from index `first` on as they stood in the line, each with the TAB before it;
/// empty when the line has no more fields. Written back after the known fields, they keep a
/// line's extra fields as they were.
std::string fieldsFrom(const std::vector<std::string>& fields, std::size_t first);

/// A boolean as stored: "-1" for true, "0" for false.
std::string_view storedBool(bool value);

/// A stored boolean: any number (non-zero is true) or the usual words; anything else, the
/// empty text too, is false.
bool readStoredBool(std::string_view text);

/// Whether a stored boolean reads back as what it says: empty, a number or one of the words.
bool isStoredBool(std::string_view text);

/// Field i of a split line, empty when the line has fewer fields.
const std::string& fieldAt(const std::vector<std::string>& fields, std::size_t i);

/// The records of a list file: its non-empty lines split into fields, each field cut to
/// kMaxFieldCharacters (with a trace line). `lossy` tells what a rewrite of the file would
/// lose (empty when nothing).
struct ListRecords {
    std::vector<std::vector<std::string>> records;
    std::string lossy;
};
ListRecords parseListRecords(std::string_view bytes, const StoreFile& file);

/// The lines as the bytes of a list file (Windows-1252, CR LF).
std::string encodeListLines(const std::vector<std::string>& lines);

/// A list kept in ascending order of name in its file and rebuilt from the file after every
/// change (phonebook, MSN list). Entries have a member `extra` that keeps the fields after the
/// known ones. Format supplies the line layout:
///   static constexpr std::size_t kFields;                  // the known fields
///   static const std::string& key(const Entry&);           // empty: the slot is free
///   static std::string toLine(const Entry&);
///   static Entry fromFields(const std::vector<std::string>&);
///   static bool readsBack(const std::vector<std::string>&); // false: a rewrite changes it
template <typename Entry, typename Format> class NameOrderedList {
public:
    void setPath(std::string path) { m_file.setPath(std::move(path)); }
    const std::string& path() const { return m_file.path(); }
    StoreFile& file() { return m_file; }

    std::vector<Entry>& entries() { return m_entries; }
    const std::vector<Entry>& entries() const { return m_entries; }

    /// The entry at a 1-based index; an empty entry outside the table.
    const Entry& entryAt(int index) const {
        static const Entry empty{};
        const Entry* entry = at(index);
        return entry != nullptr ? *entry : empty;
    }
    int size() const { return static_cast<int>(m_entries.size()); }

    /// The first, or the last, entry that passes the test; nullptr when none does.
    template <typename Test> const Entry* firstWhere(Test test) const {
        const auto found = std::ranges::find_if(m_entries, test);
        return found != m_entries.end() ? &*found : nullptr;
    }
    template <typename Test> const Entry* lastWhere(Test test) const {
        const auto found = std::ranges::find_if(m_entries.rbegin(), m_entries.rend(), test);
        return found != m_entries.rend() ? &*found : nullptr;
    }

    /// The entry at a 1-based index; nullptr outside the table.
    const Entry* at(int index) const {
        if (index < 1 || static_cast<std::size_t>(index) > m_entries.size()) {
            return nullptr;
        }
        return &m_entries[static_cast<std::size_t>(index) - 1];
    }
    Entry* at(int index) { return const_cast<Entry*>(std::as_const(*this).at(index)); }

    /// Reads the file; lines with an empty key are left out, so the table never has gaps.
    /// False (and an empty table) when the file is missing or cannot be read.
    bool load() {
        m_entries.clear();
        const auto bytes = m_file.read();
        if (!bytes) {
            return false;
        }
        m_entries = parse(*bytes, true);
        return true;
    }

    /// Descending order of name, equal names keeping their order: the table as the stored
    /// bubble sort leaves it, at n log n cost.
    void sortByNameDescending() {
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const Entry& a, const Entry& b) { return b.name < a.name; });
    }

    /// Sorts and writes the file from the last entry to the first (ascending names, equal
    /// names reversed), then one empty line. A file that could not be read at load is read
    /// first and its entries taken in, so nothing it holds is lost.
    SaveResult save() {
        if (m_file.isUnreadable()) {
            if (const auto bytes = m_file.read()) {
                auto fromFile = parse(*bytes, false);
                m_entries.insert(m_entries.begin(), fromFile.begin(), fromFile.end());
            }
        }
        sortByNameDescending();
        std::vector<std::string> lines;
        lines.reserve(m_entries.size() + 1);
        for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
            if (!Format::key(*it).empty()) {
                lines.push_back(Format::toLine(*it) + it->extra);
            }
        }
        lines.emplace_back();
        // Every save follows a change of the user's, which may rewrite what was kept as is.
        m_file.allowRewrite();
        return m_file.write(encodeListLines(lines));
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
    std::vector<Entry> parse(std::string_view bytes, bool tellLoss) {
        ListRecords read = parseListRecords(bytes, m_file);
        std::vector<Entry> entries;
        entries.reserve(read.records.size());
        for (const auto& fields : read.records) {
            Entry entry = Format::fromFields(fields);
            entry.extra = fieldsFrom(fields, Format::kFields);
            if (Format::key(entry).empty()) {
                read.lossy = "a line without a number";
            } else {
                entries.push_back(std::move(entry));
            }
            if (!Format::readsBack(fields)) {
                read.lossy = "a flag that is neither a number nor a word like True or False";
            }
        }
        if (tellLoss && !read.lossy.empty()) {
            m_file.keepAsIs(read.lossy);
        }
        return entries;
    }

    StoreFile m_file;
    std::vector<Entry> m_entries;
};
