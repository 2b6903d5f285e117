#pragma once

#include "stores/ListFile.h"

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
/// picture. Every change is written at once and the table rebuilt from the file, which leaves
/// it in ascending order of name. Indexes count from 1.
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

    /// Removes the first entry whose number equals number, then saves and reloads.
    void remove(const std::string& number);
    /// Appends an entry (duplicates allowed), then saves and reloads.
    void add(const std::string& number, const std::string& name, bool reject,
             const std::string& sound, const std::string& picture);
    /// Orders the table by descending name, equal names keeping their order; saving writes it
    /// back to front, so the file is in ascending order.
    void sortByNameDescending();
    /// Overwrites the entry at index (1..size), then saves and reloads.
    void replaceAt(int index, const std::string& number, const std::string& name, bool reject,
                   const std::string& sound, const std::string& picture);

    const std::string& path() const { return m_list.path(); }
    /// Where trouble with the file is reported.
    void reportTo(FileProblems* problems) { m_list.file().reportTo(problems); }

private:
    const PhonebookEntry* firstMatch(const std::string& number) const;

    NameOrderedList<PhonebookEntry, PhonebookLineFormat> m_list;
};
