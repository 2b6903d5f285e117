#pragma once

#include <string>
#include <vector>

/// One call of the journal, in the order of the fields of a line of calls.txt.
struct JournalRecord {
    std::string number;
    std::string name;
    std::string msn;
    std::string date;
    std::string time;
    std::string endReason;
    std::string callType;
};

/// The call journal, kept in memory and in calls.txt, oldest call first. The table in memory is
/// the master copy: add and addReason change only memory, saveJournal writes the whole file.
/// Indexes count from 1; a record with an empty number is a free slot.
class cJournal {
public:
    /// Loads ConfigDir + "calls.txt"; false (and an empty journal) when it could not be read.
    bool Init();
    /// Loads the journal from the given file, which later saves write to.
    bool Init(const std::string& path);

    /// The number of records with a number.
    int getSize() const;
    // The fields of the record at iIndex; empty text for a free slot or an index outside.
    std::string getName(int iIndex) const;
    std::string getNumber(int iIndex) const;
    std::string getMSN(int iIndex) const;
    std::string getDate(int iIndex) const;
    std::string getTime(int iIndex) const;
    std::string getEndReason(int iIndex) const;
    std::string getCallType(int iIndex) const;

    /// Writes every record with a number to the file (safe save). True when written.
    bool saveJournal();
    /// Writes a record into slot getSize() + 1, keeping that slot's end reason, and returns
    /// the slot's index.
    int add(const std::string& sNumber, const std::string& sName, const std::string& sMSN,
            const std::string& sDate, const std::string& sTime, const std::string& sCallType);
    /// Sets the end reason of the record the latest add wrote; without an add since the last
    /// load, of the last record.
    void addReason(const std::string& sEndReason);
    /// Sets the end reason of the record at iIndex (as returned by add).
    void addReason(int iIndex, const std::string& sEndReason);
    /// Reads the file; a missing file is created with one empty line and gives false.
    bool loadJournal();
    /// Empties the record at iIndex. This leaves a gap, which saveJournal and loadJournal close.
    void del(int iIndex);
    /// Empties the file (one empty line) and the table.
    void ClearJournal();

    const std::string& path() const { return m_path; }

private:
    const JournalRecord* at(int iIndex) const;

    std::string m_path;
    std::vector<JournalRecord> m_records;
    int m_lastAdded = 0; // slot of the latest add since the last load; 0 for none
};

/// The one journal of the process.
cJournal& Journal();

/// A line of calls.txt as a record: six or more fields are the current layout; fewer are the
/// older one without a name (number, MSN, date, time, end reason), the name being the number.
JournalRecord parseJournalLine(const std::vector<std::string>& fields);
