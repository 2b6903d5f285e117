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
};

struct PhonebookLineFormat;

/// The phonebook, kept in nn.dat: caller numbers with a name, a reject flag, a sound and a
/// picture. Every change is written at once and the table rebuilt from the file, which leaves
/// it in ascending order of name. Indexes count from 1.
class cPhonebook {
public:
    /// Loads ConfigDir + "nn.dat"; false (and an empty phonebook) when it could not be read.
    bool Init();
    /// Loads the phonebook from the given file, which later changes write to.
    bool Init(const std::string& path);

    /// The name of the first matching entry ("*" entries included); sNumber when none matches.
    std::string getName(const std::string& sNumber) const;
    /// The reject flag of the first matching entry ("*" entries included); false when none.
    bool getReject(const std::string& sNumber) const;
    /// The sound of the last entry whose number equals sNumber; empty when none.
    std::string getSound(const std::string& sNumber) const;
    /// The picture of the first entry whose number equals sNumber; empty when none.
    std::string getPicture(const std::string& sNumber) const;

    int getSize() const;
    std::string getNameIndex(int iIndex) const;
    std::string getNumberIndex(int iIndex) const;
    bool getRejectIndex(int iIndex) const;
    std::string getSoundIndex(int iIndex) const;
    std::string getPictureIndex(int iIndex) const;

    /// Removes the first entry whose number equals sNumber, then saves and reloads.
    void remove(const std::string& sNumber);
    /// Appends an entry (duplicates allowed), then saves and reloads.
    void add(const std::string& sNumber, const std::string& sName, bool bReject,
             const std::string& sSound, const std::string& sPicture);
    /// Orders the table by descending name, equal names keeping their order; saving writes it
    /// back to front, so the file is in ascending order.
    void sortNameAsc();
    /// Overwrites the entry at iIndex (1..getSize), then saves and reloads.
    void changeIndex(int iIndex, const std::string& sNumber, const std::string& sName, bool bReject,
                     const std::string& sSound, const std::string& sPicture);

    const std::string& path() const { return m_list.path(); }

private:
    const PhonebookEntry* firstMatch(const std::string& sNumber) const;

    NameOrderedList<PhonebookEntry, PhonebookLineFormat> m_list;
};

/// The one phonebook of the process.
cPhonebook& Phonebook();
