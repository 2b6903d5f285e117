#include "stores/CallJournal.h"

#include "stores/ListFile.h"

#include <algorithm>

namespace {

constexpr std::size_t kCurrentLayoutFields = 6;

std::string journalLine(const JournalRecord& r) {
    return joinFields({r.number, r.name, r.msn, r.date, r.time, r.endReason, r.callType});
}

} // namespace

JournalRecord parseJournalLine(const std::vector<std::string>& f) {
    if (f.size() >= kCurrentLayoutFields) {
        return {f[0], f[1], f[2], f[3], f[4], f[5], fieldAt(f, 6)};
    }
    return {fieldAt(f, 0),
            fieldAt(f, 0),
            fieldAt(f, 1),
            fieldAt(f, 2),
            fieldAt(f, 3),
            fieldAt(f, 4),
            {}};
}

bool CallJournal::load(const std::string& path) {
    m_path = path;
    return reload();
}

int CallJournal::size() const {
    return static_cast<int>(
        std::count_if(m_records.begin(), m_records.end(),
                      [](const JournalRecord& r) { return !r.number.empty(); }));
}

const JournalRecord* CallJournal::at(int index) const {
    if (index < 1 || static_cast<std::size_t>(index) > m_records.size()) {
        return nullptr;
    }
    return &m_records[static_cast<std::size_t>(index) - 1];
}

const JournalRecord& CallJournal::recordAt(int index) const {
    static const JournalRecord empty;
    const auto* r = at(index);
    return r ? *r : empty;
}

bool CallJournal::save() {
    std::vector<std::string> lines;
    lines.reserve(m_records.size());
    for (const auto& record : m_records) {
        if (!record.number.empty()) {
            lines.push_back(journalLine(record));
        }
    }
    return writeListFile(m_path, lines);
}

int CallJournal::add(const std::string& number, const std::string& name, const std::string& msn,
                     const std::string& date, const std::string& time,
                     const std::string& callType) {
    const int index = size() + 1;
    if (static_cast<std::size_t>(index) > m_records.size()) {
        m_records.resize(static_cast<std::size_t>(index));
    }
    auto& r = m_records[static_cast<std::size_t>(index) - 1];
    r.number = number;
    r.name = name;
    r.msn = msn;
    r.date = date;
    r.time = time;
    r.callType = callType;
    return index;
}

void CallJournal::setEndReason(int index, const std::string& endReason) {
    if (at(index)) {
        m_records[static_cast<std::size_t>(index) - 1].endReason = endReason;
    }
}

bool CallJournal::reload() {
    m_records.clear();
    const auto records = readRecords(m_path);
    if (!records) {
        return false;
    }
    m_records.reserve(records->size());
    for (const auto& fields : *records) {
        auto record = parseJournalLine(fields);
        // A line without a number would be a gap that hides the records after it.
        if (!record.number.empty()) {
            m_records.push_back(std::move(record));
        }
    }
    return true;
}

void CallJournal::remove(int index) {
    if (at(index)) {
        m_records[static_cast<std::size_t>(index) - 1] = JournalRecord{};
    }
}

void CallJournal::clear() {
    writeEmptyListFile(m_path);
    reload();
}
