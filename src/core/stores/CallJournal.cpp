#include "stores/CallJournal.h"

#include "stores/ListFile.h"
#include "support/TextFile.h"

#include <algorithm>

namespace {

constexpr std::size_t kCurrentLayoutFields = 6;
constexpr std::size_t kKnownFields = 7;
// A change whose line starts this close to the file's end rewrites only the lines from there
// on; one further back replaces the whole file. A call-monitor peer with a thousand calls open
// stays well within it.
constexpr std::uint64_t kMaxTailBytes = std::uint64_t{1024} * 1024;

// Calls back with each line of the bytes and the offset it starts at; lines end at CR LF, LF
// or a bare CR. Tells whether the last line has a line end.
template <typename OnLine> bool forEachLine(std::string_view bytes, OnLine onLine) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            onLine(start, bytes.substr(start));
            return false;
        }
        onLine(start, bytes.substr(start, end - start));
        start = bytes.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
    }
    return true;
}

} // namespace

JournalRecord parseJournalLine(const std::vector<std::string>& f) {
    if (f.size() >= kCurrentLayoutFields) {
        return {f[0], f[1], f[2], f[3], f[4], f[5], fieldAt(f, 6), fieldsFrom(f, kKnownFields)};
    }
    return {fieldAt(f, 0),
            fieldAt(f, 0),
            fieldAt(f, 1),
            fieldAt(f, 2),
            fieldAt(f, 3),
            fieldAt(f, 4),
            {},
            {}};
}

std::string journalLine(const JournalRecord& r) {
    return joinFields({r.number, r.name, r.msn, r.date, r.time, r.endReason, r.callType}) + r.extra;
}

bool CallJournal::load(const std::string& path) {
    m_file.setPath(path);
    return reload();
}

const JournalRecord& CallJournal::recordAt(int index) const {
    static const JournalRecord empty;
    if (index < 1 || static_cast<std::size_t>(index) > m_records.size()) {
        return empty;
    }
    return m_records[static_cast<std::size_t>(index) - 1];
}

bool CallJournal::readFile(std::deque<JournalRecord>& records) {
    m_savedCount = 0;
    m_lineStart.clear();
    m_fileSize = 0;
    m_endsWithLineBreak = true;
    m_rewriteNeeded = false;
    const auto bytes = m_file.read();
    if (!bytes) {
        return false;
    }
    std::string lossy;
    if (bytes->find('\0') != std::string::npos) {
        lossy = "NUL bytes";
    }
    int lineNumber = 0;
    m_endsWithLineBreak = forEachLine(*bytes, [&](std::size_t offset, std::string_view raw) {
        ++lineNumber;
        if (raw.empty()) {
            return;
        }
        std::string line(raw);
        std::erase(line, '\0');
        auto fields = splitFields(cp1252ToUtf8(line));
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (capFieldLength(fields[i])) {
                m_file.note(path() + " line " + std::to_string(lineNumber) + ": field " +
                            std::to_string(i + 1) + " cut to " +
                            std::to_string(kMaxFieldCharacters) + " characters");
                lossy = "fields longer than " + std::to_string(kMaxFieldCharacters) + " characters";
            }
        }
        records.push_back(parseJournalLine(fields));
        m_lineStart.push_back(offset);
    });
    m_savedCount = records.size();
    m_fileSize = bytes->size();
    if (!lossy.empty()) {
        m_file.keepAsIs(lossy);
    }
    return true;
}

bool CallJournal::reload() {
    announce(Change::Replaced, 0);
    const bool read = readAll();
    report(Change::Replaced, 0);
    return read;
}

bool CallJournal::readAll() {
    m_records.clear();
    const bool read = readFile(m_records);
    m_loadedCount = m_records.size();
    return read;
}

void CallJournal::addObserver(JournalObserver* observer) {
    m_observers.push_back(observer);
}

void CallJournal::removeObserver(JournalObserver* observer) {
    std::erase(m_observers, observer);
}

void CallJournal::announce(Change change, int index) const {
    for (JournalObserver* observer : m_observers) {
        observer->journalChanging(change, index);
    }
}

void CallJournal::report(Change change, int index) const {
    for (JournalObserver* observer : m_observers) {
        observer->journalChanged(change, index);
    }
}

bool CallJournal::hasUnsavedChanges() const {
    return m_rewriteNeeded || m_savedCount < m_records.size();
}

int CallJournal::add(const std::string& number, const std::string& name, const std::string& msn,
                     const std::string& date, const std::string& time,
                     const std::string& callType) {
    if (number.empty()) {
        return 0;
    }
    announce(Change::Added, size() + 1);
    m_records.push_back({number, name, msn, date, time, {}, callType, {}});
    report(Change::Added, size());
    return size();
}

void CallJournal::markChanged(std::size_t position) {
    if (position >= m_savedCount) {
        return;
    }
    // The lines of the newer calls may be rewritten alone, unless the file is kept as it is
    // and the line is one that came from it.
    const bool nearTheEnd = m_fileSize - m_lineStart[position] <= kMaxTailBytes;
    if (nearTheEnd && (!m_file.isKeptAsIs() || position >= m_loadedCount)) {
        m_savedCount = position;
    } else {
        m_rewriteNeeded = true;
    }
}

void CallJournal::setEndReason(int index, const std::string& endReason) {
    if (index < 1 || static_cast<std::size_t>(index) > m_records.size()) {
        return;
    }
    const auto position = static_cast<std::size_t>(index) - 1;
    announce(Change::Updated, index);
    m_records[position].endReason = endReason;
    report(Change::Updated, index);
    markChanged(position);
}

void CallJournal::remove(int index) {
    if (index < 1 || static_cast<std::size_t>(index) > m_records.size()) {
        return;
    }
    announce(Change::Removed, index);
    m_records.erase(m_records.begin() + (index - 1));
    report(Change::Removed, index);
    m_file.allowRewrite();
    m_rewriteNeeded = true;
}

void CallJournal::clear() {
    announce(Change::Replaced, 0);
    m_records.clear();
    m_file.allowRewrite();
    m_file.write("\r\n");
    readAll();
    report(Change::Replaced, 0);
}

SaveResult CallJournal::save() {
    if (!hasUnsavedChanges() && !m_file.isUnreadable()) {
        return {};
    }
    SaveResult result = saveChanges();
    if (result && !hasUnsavedChanges()) {
        for (JournalObserver* observer : m_observers) {
            observer->journalSaved();
        }
    }
    return result;
}

SaveResult CallJournal::saveChanges() {
    if (m_file.isUnreadable()) {
        // What the file holds comes first; the calls taken meanwhile are appended to it.
        std::deque<JournalRecord> merged;
        if (!readFile(merged) && m_file.isUnreadable()) {
            return m_file.write({}); // refused and reported: the file stays as it is
        }
        m_loadedCount = merged.size();
        merged.insert(merged.end(), m_records.begin(), m_records.end());
        announce(Change::Replaced, 0);
        m_records = std::move(merged);
        report(Change::Replaced, 0);
    }
    if (m_rewriteNeeded && !m_file.isKeptAsIs()) {
        return rewriteAll();
    }
    if (m_savedCount == m_records.size()) {
        return {};
    }
    // A file without records gets its first one by a whole (small) write, so no empty line
    // stays in front of it.
    if (m_savedCount == 0 && !m_file.isKeptAsIs()) {
        return rewriteAll();
    }
    return writeFrom(m_savedCount);
}

SaveResult CallJournal::rewriteAll() {
    std::string bytes;
    std::deque<std::uint64_t> lineStart;
    for (const auto& record : m_records) {
        lineStart.push_back(bytes.size());
        bytes += utf8ToCp1252(journalLine(record));
        bytes += "\r\n";
    }
    // An empty journal is one empty line, as a new one is.
    if (bytes.empty()) {
        bytes = "\r\n";
    }
    SaveResult result = m_file.write(bytes);
    if (result) {
        m_lineStart = std::move(lineStart);
        m_savedCount = m_records.size();
        m_fileSize = bytes.size();
        m_endsWithLineBreak = true;
        m_rewriteNeeded = false;
        m_loadedCount = 0;
    }
    return result;
}

SaveResult CallJournal::writeFrom(std::size_t first) {
    const bool replacesLines = first < m_lineStart.size();
    const std::uint64_t from = replacesLines ? m_lineStart[first] : m_fileSize;
    std::string bytes;
    // A last line cut off by a crash keeps its own line; the new ones start after it.
    if (!replacesLines && !m_endsWithLineBreak) {
        bytes = "\r\n";
    }
    std::vector<std::uint64_t> lineStart;
    for (std::size_t i = first; i < m_records.size(); ++i) {
        lineStart.push_back(from + bytes.size());
        bytes += utf8ToCp1252(journalLine(m_records[i]));
        bytes += "\r\n";
    }
    // New bytes are written over the old before anything is cut; a tail that would get
    // shorter would leave a piece of an old line behind if the cut never came.
    if (from + bytes.size() < m_fileSize && !m_file.isKeptAsIs()) {
        return rewriteAll();
    }
    SaveResult result = m_file.writeTail(m_fileSize, from, bytes);
    if (!result) {
        // Changed behind our back (or the tail write failed): the whole file from memory.
        return m_file.isKeptAsIs() ? result : rewriteAll();
    }
    m_lineStart.resize(first);
    m_lineStart.insert(m_lineStart.end(), lineStart.begin(), lineStart.end());
    m_savedCount = m_records.size();
    m_fileSize = from + bytes.size();
    m_endsWithLineBreak = true;
    return result;
}
