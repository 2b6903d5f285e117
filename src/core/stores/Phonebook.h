#pragma once

#include "stores/ListFile.h"

#include <cstdint>
#include <string>

/// One phonebook entry. A number ending in "*" matches every number that begins with the
/// characters before the "*" (for the name and the reject flag only).
struct PhonebookEntry {
    std::string number;
    std::string name;
    bool reject = false;
    std::string sound;   // wave file to play for this caller; empty for none
    std::string picture; // picture to show for this caller; empty for none
    std::string extra{}; // fields after the fifth, as read (each with its TAB before it)
};

struct PhonebookLineFormat;

/// The phonebook, kept in nn.dat: caller numbers with a name, a reject flag, a sound and a
/// picture. Every change is written at once and leaves the table in ascending order of name,
/// as a reload of the file would; an index finds the entries for a number. Indexes count from 1.
class Phonebook {
public:
    /// Loads the phonebook from the given file, which later changes write to.
    bool load(const std::string& path);

    /// The name of the first matching entry ("*" entries included); number when none matches.
    std::string nameOf(const std::string& number) const;
    /// The reject flag of the first matching entry ("*" entries included); false when none.
    bool rejects(const std::string& number) const;
    /// The sound of the last entry whose number equals number; empty when none.
    std::string soundOf(const std::string& number) const;
    /// The picture of the first entry whose number equals number; empty when none.
    std::string pictureOf(const std::string& number) const;

    int size() const { return m_list.size(); }
    /// The entry at index (1..size()); an empty entry outside.
    const PhonebookEntry& entryAt(int index) const { return m_list.entryAt(index); }

    /// Removes the first entry whose number equals number, then saves.
    void remove(const std::string& number);
    /// Appends an entry (duplicates allowed), then saves.
    void add(const std::string& number, const std::string& name, bool reject,
             const std::string& sound, const std::string& picture);
    /// Orders the table by descending name, equal names keeping their order; saving writes it
    /// back to front, so the file is in ascending order.
    void sortByNameDescending();
    /// Overwrites the entry at index (1..size), then saves.
    void replaceAt(int index, const std::string& number, const std::string& name, bool reject,
                   const std::string& sound, const std::string& picture);

    /// Changes with every load and change: names found earlier may be out of date.
    std::uint64_t revision() const { return m_list.revision(); }

    const std::string& path() const { return m_list.path(); }
    /// Where trouble with the file is reported.
    void reportTo(FileProblems* problems) { m_list.file().reportTo(problems); }
    /// Saves go through writer (see StoreWriter) instead of waiting for the disk.
    void writeThrough(StoreWriter* writer) { m_list.file().writeThrough(writer); }

private:
    const PhonebookEntry* firstMatch(const std::string& number) const;

    NameOrderedList<PhonebookEntry, PhonebookLineFormat> m_list;
};
