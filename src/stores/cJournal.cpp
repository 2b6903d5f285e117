#include "stores/cJournal.h"

#include "stores/ListFile.h"
#include "support/AppPaths.h"

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

bool cJournal::Init() {
    return Init(ConfigDir + "calls.txt");
}

bool cJournal::Init(const std::string& path) {
    m_path = path;
    return loadJournal();
}

int cJournal::getSize() const {
    return static_cast<int>(
        std::count_if(m_records.begin(), m_records.end(),
                      [](const JournalRecord& r) { return !r.number.empty(); }));
}

const JournalRecord* cJournal::at(int iIndex) const {
    if (iIndex < 1 || static_cast<std::size_t>(iIndex) > m_records.size()) {
        return nullptr;
    }
    return &m_records[static_cast<std::size_t>(iIndex) - 1];
}

std::string cJournal::getName(int iIndex) const {
    const auto* r = at(iIndex);
    return r ? r->name : std::string();
}

std::string cJournal::getNumber(int iIndex) const {
    const auto* r = at(iIndex);
    return r ? r->number : std::string();
}

std::string cJournal::getMSN(int iIndex) const {
    const auto* r = at(iIndex);
    return r ? r->msn : std::string();
}

std::string cJournal::getDate(int iIndex) const {
    const auto* r = at(iIndex);
    return r ? r->date : std::string();
}

std::string cJournal::getTime(int iIndex) const {
    const auto* r = at(iIndex);
    return r ? r->time : std::string();
}

std::string cJournal::getEndReason(int iIndex) const {
    const auto* r = at(iIndex);
    return r ? r->endReason : std::string();
}

std::string cJournal::getCallType(int iIndex) const {
    const auto* r = at(iIndex);
    return r ? r->callType : std::string();
}

bool cJournal::saveJournal() {
    std::vector<std::string> lines;
    lines.reserve(m_records.size());
    for (const auto& record : m_records) {
        if (!record.number.empty()) {
            lines.push_back(journalLine(record));
        }
    }
    return writeListFile(m_path, lines);
}

int cJournal::add(const std::string& sNumber, const std::string& sName, const std::string& sMSN,
                  const std::string& sDate, const std::string& sTime,
                  const std::string& sCallType) {
    const int index = getSize() + 1;
    if (static_cast<std::size_t>(index) > m_records.size()) {
        m_records.resize(static_cast<std::size_t>(index));
    }
    auto& r = m_records[static_cast<std::size_t>(index) - 1];
    r.number = sNumber;
    r.name = sName;
    r.msn = sMSN;
    r.date = sDate;
    r.time = sTime;
    r.callType = sCallType;
    m_lastAdded = index;
    return index;
}

void cJournal::addReason(const std::string& sEndReason) {
    addReason(m_lastAdded != 0 ? m_lastAdded : getSize(), sEndReason);
}

void cJournal::addReason(int iIndex, const std::string& sEndReason) {
    if (at(iIndex)) {
        m_records[static_cast<std::size_t>(iIndex) - 1].endReason = sEndReason;
    }
}

bool cJournal::loadJournal() {
    m_records.clear();
    m_lastAdded = 0;
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

void cJournal::del(int iIndex) {
    if (at(iIndex)) {
        m_records[static_cast<std::size_t>(iIndex) - 1] = JournalRecord{};
    }
}

void cJournal::ClearJournal() {
    writeEmptyListFile(m_path);
    loadJournal();
}

cJournal& Journal() {
    static cJournal journal;
    return journal;
}
