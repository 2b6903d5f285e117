#pragma once

#include "stores/ListIndex.h"
#include "stores/StoreFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The journal, the phonebook and the MSN list keep one record per line of a text file, the
// fields joined by TAB, without quoting.

/// The fields of one stored line, split at every TAB.
std::vector<std::string> splitFields(std::string_view line);
/// The same fields as views into the line (which must outlive them).
std::vector<std::string_view> splitFieldViews(std::string_view line);

/// The fields joined by TAB. A TAB or line break inside a field would tear the record apart on
/// the next load, so each becomes a blank.
std::string joinFields(std::initializer_list<std::string_view> fields);

/// Appends the line of a list file to bytes: the fields joined as joinFields() joins them, then
/// extra as it stands, in Windows-1252 and ended by CR LF.
void appendListLine(std::string& bytes, std::span<const std::string_view> fields,
                    std::string_view extra);

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

/// A list kept in ascending order of name in its file (phonebook, MSN list). Every change is
/// written at once and leaves the table as a reload of the written file would: in ascending
/// order of name, each run of equal names in the reverse of its order before the change. An
/// index finds entries by key. Entries have a member `extra` that keeps the fields after the
/// known ones. Format supplies the line layout:
///   static constexpr std::size_t kFields;                  // the known fields
///   static constexpr bool kWildcards;                      // keys ending in "*" are prefixes
///   static const std::string& key(const Entry&);           // empty: the slot is free
///   static std::array<std::string_view, kFields> fields(const Entry&); // as written
///   static Entry fromFields(const std::vector<std::string>&);
///   static bool readsBack(const std::vector<std::string>&); // false: a rewrite changes it
template <typename Entry, typename Format> class NameOrderedList {
public:
    void setPath(std::string path) { m_file.setPath(std::move(path)); }
    const std::string& path() const { return m_file.path(); }
    StoreFile& file() { return m_file; }

    const std::vector<Entry>& entries() const { return m_entries; }
    const ListIndex& index() const { return m_index; }
    /// Changes with every load and change of the table: who keeps what it found can tell
    /// whether it is still current.
    std::uint64_t revision() const { return m_revision; }

    /// The entry at a 1-based index; an empty entry outside the table.
    const Entry& entryAt(int index) const {
        static const Entry empty{};
        const Entry* entry = at(index);
        return entry != nullptr ? *entry : empty;
    }
    int size() const { return static_cast<int>(m_entries.size()); }

    /// The entry at a 0-based position the index gave; nullptr for none.
    const Entry* atPosition(std::optional<std::size_t> position) const {
        return position ? &m_entries[*position] : nullptr;
    }

    /// The entry at a 1-based index; nullptr outside the table.
    const Entry* at(int index) const {
        if (index < 1 || static_cast<std::size_t>(index) > m_entries.size()) {
            return nullptr;
        }
        return &m_entries[static_cast<std::size_t>(index) - 1];
    }

    /// Reads the file; lines with an empty key are left out, so the table never has gaps.
    /// False (and an empty table) when the file is missing or cannot be read.
    bool load() {
        m_entries.clear();
        const auto bytes = m_file.read();
        if (bytes) {
            m_entries = parse(*bytes, true);
        }
        rebuildIndex();
        return bytes.has_value();
    }

    /// Descending order of name, equal names keeping their order: the table as the stored
    /// bubble sort leaves it, at n log n cost.
    void sortByNameDescending() {
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const Entry& a, const Entry& b) { return b.name < a.name; });
        rebuildIndex();
    }

    /// Appends an entry, then saves.
    void add(Entry entry) {
        m_entries.push_back(std::move(entry));
        commit(m_entries.size() - 1);
    }
    /// Overwrites the entry at a 1-based index (its extra fields stay), then saves; an entry
    /// whose key becomes empty leaves the table.
    void replace(int index, Entry entry) {
        if (at(index) == nullptr) {
            return;
        }
        Entry& old = m_entries[static_cast<std::size_t>(index) - 1];
        entry.extra = std::move(old.extra);
        old = std::move(entry);
        commit(static_cast<std::size_t>(index) - 1);
    }
    /// Removes the entry at a 0-based position, or every entry with the key; then saves, also
    /// when nothing was removed.
    void removeAt(std::optional<std::size_t> position) {
        if (position) {
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*position));
        }
        commit(std::nullopt);
    }
    void removeAll(const std::string& key) {
        std::erase_if(m_entries, [&key](const Entry& e) { return Format::key(e) == key; });
        commit(std::nullopt);
    }

private:
    static bool nameBefore(const Entry& a, const Entry& b) { return a.name < b.name; }
    struct NameOrder {
        bool operator()(const Entry& e, const std::string& name) const { return e.name < name; }
        bool operator()(const std::string& name, const Entry& e) const { return name < e.name; }
    };

    // Orders the table after a change as a reload of the saved file would, writes the file
    // and rebuilds the index. changed is the position of the one entry that was added or
    // overwritten.
    void commit(std::optional<std::size_t> changed) {
        if (m_file.isUnreadable()) {
            commitAfterReadFailure();
            return;
        }
        std::optional<Entry> moved;
        std::string sortName; // the name as given: it is sorted before it is written
        if (changed) {
            // The entry as its line reads back: blanks for TABs, the file's character set.
            if (!Format::key(m_entries[*changed]).empty()) {
                moved = readBack(m_entries[*changed]);
                sortName = m_entries[*changed].name;
            }
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*changed));
        }
        std::erase_if(m_entries, [](const Entry& e) { return Format::key(e).empty(); });
        if (std::ranges::is_sorted(m_entries, nameBefore)) {
            reverseEqualNames();
            if (moved && !Format::key(*moved).empty()) {
                insertInOrder(std::move(*moved), sortName, *changed);
            }
        } else {
            // A file written elsewhere, in its own order: sorted once, as a whole.
            if (moved && !Format::key(*moved).empty()) {
                m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(
                                                         std::min(*changed, m_entries.size())),
                                 std::move(*moved));
            }
            sortByNameDescending();
            std::reverse(m_entries.begin(), m_entries.end());
        }
        rebuildIndex();
        // Every save follows a change of the user's, which may rewrite what was kept as is.
        m_file.allowRewrite();
        m_file.writeLater(fileBytes());
    }

    // Each run of equal names turns round: the file lists equal names in the reverse of
    // their order in the table.
    void reverseEqualNames() {
        auto run = m_entries.begin();
        while (run != m_entries.end()) {
            auto end = std::find_if(run + 1, m_entries.end(),
                                    [&run](const Entry& e) { return e.name != run->name; });
            std::reverse(run, end);
            run = end;
        }
    }

    // Puts the changed entry where the sorted and turned table wants it: among the entries of
    // its name, those that stood after it in the table now come before it.
    void insertInOrder(Entry entry, const std::string& sortName, std::size_t oldPosition) {
        const auto [first, last] =
            std::equal_range(m_entries.begin(), m_entries.end(), sortName, NameOrder{});
        const auto begin = static_cast<std::size_t>(first - m_entries.begin());
        const auto end = static_cast<std::size_t>(last - m_entries.begin());
        const std::size_t before = std::clamp(oldPosition, begin, end);
        const auto position = static_cast<std::ptrdiff_t>(begin + (end - before));
        m_entries.insert(m_entries.begin() + position, std::move(entry));
    }

    Entry readBack(const Entry& entry) {
        std::string line;
        appendLine(line, entry);
        std::vector<Entry> read = parse(line, false);
        return read.empty() ? Entry{} : std::move(read.front());
    }

    static void appendLine(std::string& bytes, const Entry& entry) {
        appendListLine(bytes, Format::fields(entry), entry.extra);
    }

    // The file could not be read at load: what it holds now comes first, then the table,
    // sorted as a whole and rebuilt from the file when that could be written.
    void commitAfterReadFailure() {
        if (const auto bytes = m_file.read()) {
            auto fromFile = parse(*bytes, false);
            m_entries.insert(m_entries.begin(), fromFile.begin(), fromFile.end());
        }
        sortByNameDescending();
        m_file.allowRewrite();
        if (!m_file.write(fileBytes(true))) {
            std::erase_if(m_entries, [](const Entry& e) { return Format::key(e).empty(); });
            std::reverse(m_entries.begin(), m_entries.end());
            rebuildIndex();
            return;
        }
        load();
    }

    // The file's bytes: the table, or with reversed set, the table from its last entry to its
    // first, then one empty line.
    std::string fileBytes(bool reversed = false) const {
        // A change rewrites the whole file: each entry goes straight into the one buffer.
        constexpr std::size_t kTypicalLineBytes = 40;
        std::string bytes;
        bytes.reserve(m_entries.size() * kTypicalLineBytes);
        const auto add = [&bytes](const Entry& e) {
            if (!Format::key(e).empty()) {
                appendLine(bytes, e);
            }
        };
        if (reversed) {
            std::for_each(m_entries.rbegin(), m_entries.rend(), add);
        } else {
            std::ranges::for_each(m_entries, add);
        }
        bytes += "\r\n";
        return bytes;
    }

    void rebuildIndex() {
        ++m_revision;
        m_index.restart(Format::kWildcards);
        m_index.reserve(m_entries.size());
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            m_index.add(Format::key(m_entries[i]), i);
        }
        m_index.dropUnused();
    }

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
    ListIndex m_index;
    std::uint64_t m_revision = 0;
};
