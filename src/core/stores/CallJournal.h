#pragma once

#include "stores/StoreFile.h"

#include <cstdint>
#include <deque>
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
    std::string extra{}; // fields after the seventh, as read (each with its TAB before it)
};

/// Follows the records in memory, e.g. a table that shows them: every change is announced just
/// before it is made and reported just after. index is the record's (for Replaced: 0).
class JournalObserver {
public:
    enum class Change { Added, Updated, Removed, Replaced };
    virtual ~JournalObserver() = default;
    virtual void journalChanging(Change change, int index) = 0;
    virtual void journalChanged(Change change, int index) = 0;
    /// A save has brought the file up to date: every record is on disk.
    virtual void journalSaved() {}
};

/// The call journal, kept in memory and in calls.txt, oldest call first. The table in memory is
/// the master copy; save brings the file up to date at the cost of what changed: a new call is
/// appended, a change to the newer calls rewrites only the lines from there on (new bytes first,
/// so a crash never loses a line), and only other changes (deletions, the end of a call far
/// back) replace the whole file. Indexes count from 1.
class CallJournal {
public:
    /// Loads the journal from the file, which later saves write to; false (and an empty
    /// journal) when it could not be read.
    bool load(const std::string& path);
    /// Where trouble with the file is reported.
    void reportTo(FileProblems* problems) { m_file.reportTo(problems); }

    /// The number of records.
    int size() const { return static_cast<int>(m_records.size()); }
    /// The record at index; an empty record for an index outside.
    const JournalRecord& recordAt(int index) const;

    /// Brings the file up to date (see the class comment). A file that could not be read is
    /// read again first and what it holds comes before the calls taken meanwhile; while it
    /// still cannot be read, nothing is written.
    SaveResult save();
    /// Whether memory holds what the file does not.
    bool hasUnsavedChanges() const;

    /// Appends a record and returns its index; a call without a number is not journaled (0).
    int add(const std::string& number, const std::string& name, const std::string& msn,
            const std::string& date, const std::string& time, const std::string& callType);
    /// Sets the end reason of the record at index (as returned by add).
    void setEndReason(int index, const std::string& endReason);
    /// Reads the file again; a missing file is created with one empty line and gives false.
    bool reload();
    /// Deletes the record at index; the records after it move up at once.
    void remove(int index);
    /// Empties the file (one empty line) and the table.
    void clear();

    const std::string& path() const { return m_file.path(); }

    /// Who is told of every change of the records; an observer stays until it is removed.
    void addObserver(JournalObserver* observer);
    void removeObserver(JournalObserver* observer);

private:
    using Change = JournalObserver::Change;
    void announce(Change change, int index) const;
    void report(Change change, int index) const;
    bool readAll();
    bool readFile(std::deque<JournalRecord>& records);
    SaveResult saveChanges();
    SaveResult rewriteAll();
    SaveResult writeFrom(std::size_t first);
    void markChanged(std::size_t position);

    StoreFile m_file;
    // Deques: a record added costs its own bytes, never a copy of the table into a twice as
    // large one.
    std::deque<JournalRecord> m_records;
    // What the file holds: the first m_savedCount records, record i's line starting at byte
    // m_lineStart[i]; the file is m_fileSize bytes long.
    std::size_t m_savedCount = 0;
    std::deque<std::uint64_t> m_lineStart;
    std::uint64_t m_fileSize = 0;
    bool m_endsWithLineBreak = true;
    bool m_rewriteNeeded = false;  // a record far back changed
    std::size_t m_loadedCount = 0; // records that came from the file at the last load
    std::vector<JournalObserver*> m_observers;
};

/// A line of calls.txt as a record: six or more fields are the current layout; fewer are the
/// older one without a name (number, MSN, date, time, end reason), the name being the number.
/// Fields after the seventh are kept in extra.
JournalRecord parseJournalLine(const std::vector<std::string>& fields);

/// The record as a line of calls.txt (UTF-8, without line end).
std::string journalLine(const JournalRecord& record);
