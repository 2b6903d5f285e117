#pragma once

#include "stores/ListFile.h"

#include <string>

/// One of the user's own numbers with its display name and reject rules.
struct MSNEntry {
    std::string msn;
    std::string name;
    bool reject = false;          // turn away every call to this number
    bool rejectAnonymous = false; // turn away calls to it that come without a caller number
};

struct MSNLineFormat;

/// The MSN list, kept in msn.dat. MSNs match exactly; with several equal MSNs the one later in
/// the table answers. Every change is written at once and the table rebuilt from the file,
/// which leaves it in ascending order of name. Indexes count from 1.
class cMSN {
public:
    /// Loads ConfigDir + "msn.dat"; false (and an empty list) when it could not be read.
    bool Init();
    /// Loads the list from the given file, which later changes write to.
    bool Init(const std::string& path);

    /// The name of the last entry with this MSN; sMSN itself when there is none.
    std::string getName(const std::string& sMSN) const;
    bool getReject(const std::string& sMSN) const;
    bool getRejectAnonymous(const std::string& sMSN) const;

    int getSize() const;
    std::string getNameIndex(int iIndex) const;
    std::string getMSNIndex(int iIndex) const;
    bool getRejectIndex(int iIndex) const;
    bool getRejectAnonymousIndex(int iIndex) const;

    /// Removes every entry with this MSN, then saves and reloads.
    void remove(const std::string& sMSN);
    /// Appends an entry (duplicates allowed), then saves and reloads.
    void add(const std::string& sMSN, const std::string& sName, bool bReject, bool bRejectAnon);
    /// Orders the table by descending name, equal names keeping their order; saving writes it
    /// back to front, so the file is in ascending order.
    void sortNameAsc();
    /// Overwrites the entry at iIndex (1..getSize), then saves and reloads.
    void changeIndex(int iIndex, const std::string& sMSN, const std::string& sName, bool bReject,
                     bool bRejectAnon);

    const std::string& path() const { return m_list.path(); }

private:
    const MSNEntry* lastMatch(const std::string& sMSN) const;

    NameOrderedList<MSNEntry, MSNLineFormat> m_list;
};

/// The one MSN list of the process.
cMSN& MSNList();
