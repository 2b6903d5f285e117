#pragma once

#include "stores/ListFile.h"

#include <cstdint>
#include <string>

/// One of the user's own numbers with its display name and reject rules.
struct MsnEntry {
    std::string msn;
    std::string name;
    bool reject = false;         // turn away every call to this number
    bool rejectWithheld = false; // turn away calls to it that come without a caller number
    std::string extra{};         // fields after the fourth, as read (each with its TAB before it)
};

struct MsnLineFormat;

/// The MSN list, kept in msn.dat. MSNs match exactly; with several equal MSNs the one later in
/// the table answers. Every change is written at once and leaves
/// the table in ascending order of name, as a reload of the file would. Indexes count from 1.
class MsnList {
public:
    /// Loads the list from the given file, which later changes write to.
    bool load(const std::string& path);

    /// The name of the last entry with this MSN; msn itself when there is none.
    std::string nameOf(const std::string& msn) const;
    bool rejects(const std::string& msn) const;
    bool rejectsWithheld(const std::string& msn) const;

    int size() const { return m_list.size(); }
    /// The entry at index (1..size()); an empty entry outside.
    const MsnEntry& entryAt(int index) const { return m_list.entryAt(index); }

    /// Removes every entry with this MSN, then saves.
    void remove(const std::string& msn);
    /// Appends an entry (duplicates allowed), then saves.
    void add(const std::string& msn, const std::string& name, bool reject, bool rejectWithheld);
    /// Orders the table by descending name, equal names keeping their order; saving writes it
    /// back to front, so the file is in ascending order.
    void sortByNameDescending();
    /// Overwrites the entry at index (1..size), then saves.
    void replaceAt(int index, const std::string& msn, const std::string& name, bool reject,
                   bool rejectWithheld);

    /// Changes with every load and change: names found earlier may be out of date.
    std::uint64_t revision() const { return m_list.revision(); }

    const std::string& path() const { return m_list.path(); }
    /// Where trouble with the file is reported.
    void reportTo(FileProblems* problems) { m_list.file().reportTo(problems); }
    /// Saves go through writer (see StoreWriter) instead of waiting for the disk.
    void writeThrough(StoreWriter* writer) { m_list.file().writeThrough(writer); }

private:
    const MsnEntry* lastMatch(const std::string& msn) const;

    NameOrderedList<MsnEntry, MsnLineFormat> m_list;
};
