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
/// the master copy: add and setEndReason change only memory, save writes the whole file.
/// Indexes count from 1; a record with an empty number is a free slot.
class CallJournal {
public:
    /// Loads the journal from the file, which later saves write to; false (and an empty
    /// journal) when it could not be read.
    bool load(const std::string& path);

    /// The number of records with a number.
    int size() const;
    /// The record at index; an empty record for a free slot or an index outside.
    const JournalRecord& recordAt(int index) const;

    /// Writes every record with a number to the file (safe save). True when written.
    bool save();
    /// Writes a record into slot size() + 1, keeping that slot's end reason, and returns the
    /// slot's index.
    int add(const std::string& number, const std::string& name, const std::string& msn,
            const std::string& date, const std::string& time, const std::string& callType);
    /// Sets the end reason of the record at index (as returned by add).
    void setEndReason(int index, const std::string& endReason);
    /// Reads the file again; a missing file is created with one empty line and gives false.
    bool reload();
    /// Empties the record at index. This leaves a gap, which save and reload close.
    void remove(int index);
    /// Empties the file (one empty line) and the table.
    void clear();

    const std::string& path() const { return m_path; }

private:
    const JournalRecord* at(int index) const;

    std::string m_path;
    std::vector<JournalRecord> m_records;
};

/// A line of calls.txt as a record: six or more fields are the current layout; fewer are the
/// older one without a name (number, MSN, date, time, end reason), the name being the number.
JournalRecord parseJournalLine(const std::vector<std::string>& fields);
